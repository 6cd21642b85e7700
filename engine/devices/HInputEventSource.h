#ifndef HINPUTEVENTSOURCE_H
#define HINPUTEVENTSOURCE_H

#include "HEventSource.h"

class HInputDevice;

// What the event queue polls on behalf of an input device.
class HInputEventSource : public HEventSource {
public:
    explicit            HInputEventSource(HInputDevice *device) : m_pDevice(device) {}
    ~HInputEventSource() override {}

    bool                poll(HEventQueue *queue) override;
    bool                pollQuit() override;

private:
    HInputDevice *      m_pDevice;
};

#endif
