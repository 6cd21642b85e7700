#ifndef HINPUTDEVICE_H
#define HINPUTDEVICE_H

#include <cstdint>

#include "HDevice.h"

class HEventQueue;
class HInputEventSource;

// Input-device interface: turns a platform's input into HEvents posted on
// the application's queue. The queue reaches it through its event source.
class HInputDevice : public HDevice {
public:
    explicit                HInputDevice(void *pOwner);
    ~HInputDevice() override;

    virtual bool            create() = 0;
    virtual bool            pollEvents(HEventQueue *queue) = 0;
    virtual void            shutdown() = 0;
    virtual void            deactivate() = 0;
    virtual void            activate() = 0;
    virtual uint8_t *       getStateA() { return m_stateA; }
    virtual uint8_t *       getStateB() { return m_stateB; }
    virtual void            centerPointer() = 0;
    // Drops the live input waiting, posting nothing; true when it held a
    // request to end the program (a window close or a signal).
    virtual bool            pollQuit() { return false; }

    HInputEventSource *     getEventSource() const { return m_pEventSource; }
    bool *                  getFlag() { return &m_bFlag; }

private:
    HInputEventSource *     m_pEventSource;
    uint8_t                 m_stateA[8];
    uint8_t                 m_stateB[8];
    bool                    m_bFlag;
};

#endif
