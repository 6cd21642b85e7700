#ifndef HSDLLOCK_H
#define HSDLLOCK_H

#include "HLock.h"

struct SDL_mutex;

class HSDLLock : public HLock {
public:
                        HSDLLock();
    virtual             ~HSDLLock();

    // Creating twice keeps the first mutex.
    virtual bool        create() override;
    virtual void        destroy() override;
    // False without a mutex or when SDL fails.
    virtual bool        lock() override;
    // SDL 1.2 has no try-lock: never takes the lock.
    virtual bool        tryLock() override;
    virtual bool        unlock() override;

private:
                        HSDLLock(const HSDLLock &) = delete;
    HSDLLock &          operator=(const HSDLLock &) = delete;

    SDL_mutex *         m_pMutex;
};

#endif // HSDLLOCK_H
