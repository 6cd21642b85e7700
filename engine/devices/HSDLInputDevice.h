#ifndef HSDLINPUTDEVICE_H
#define HSDLINPUTDEVICE_H

#include <cstdint>

#include "HInputDevice.h"

union SDL_Event;
struct HEvent;

// The input device over SDL 1.2's event queue. One per process: get it with
// getInputDevice. A poll drains SDL's queue, consumes the grab (Ctrl+G),
// quit (Meta+Q) and full-screen (Alt/Meta+Enter) chords, and coalesces
// pointer motion into at most one ET_MOUSEMOVE, posted last.
class HSDLInputDevice : public HInputDevice {
public:
    static const int        kiKeyTableSize = 323;

    explicit                HSDLInputDevice(void *pOwner);
    ~HSDLInputDevice() override;

    bool                    create() override;
    bool                    pollEvents(HEventQueue *queue) override;
    bool                    pollQuit() override;
    void                    shutdown() override;
    void                    deactivate() override {}
    void                    activate() override {}
    void                    centerPointer() override;

    // KC_ code of an SDL key symbol; 0 when unmapped or out of range.
    int                     keyCodeForSym(int sym) const;
    // Clears the modifier bits and chord flags (tests start from scratch).
    static void             resetSharedState();

private:
    // Translates one SDL event; false when it gives no engine event.
    bool                    m_translate(const SDL_Event &sdlEvent, HEvent &out,
                                        int *pendingX, int *pendingY);

    int32_t                 m_sdlKeyToKeyCode[kiKeyTableSize];
};

// The single SDL input device, made on the first call with that owner.
HSDLInputDevice *           getInputDevice(void *pOwner);
// Forgets the device pointer; the object itself lives until exit.
void                        releaseInputDevice();

#endif
