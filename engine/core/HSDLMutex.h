#ifndef HSDLMUTEX_H
#define HSDLMUTEX_H

#include "HMutex.h"

struct SDL_mutex;

// HMutex over SDL's mutex. Lock and unlock without a mutex (never created,
// or destroyed) do nothing, so a user that got no mutex simply runs unguarded.
class HSDLMutex : public HMutex {
public:
                        HSDLMutex();
    virtual             ~HSDLMutex();

    virtual bool        create() override;
    virtual void        destroy() override;
    virtual void        lock() override;
    virtual void        unlock() override;

private:
                        HSDLMutex(const HSDLMutex &) = delete;
    HSDLMutex &         operator=(const HSDLMutex &) = delete;

    SDL_mutex *         m_pMutex;
};

#endif // HSDLMUTEX_H
