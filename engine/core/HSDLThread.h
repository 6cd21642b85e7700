#ifndef HSDLTHREAD_H
#define HSDLTHREAD_H

#include "HThread.h"

struct SDL_Thread;

class HSDLThread : public HThread {
public:
                        HSDLThread();
    virtual             ~HSDLThread();

    // True when SDL started the thread (there must be a function set).
    virtual bool        start(void *pData) override;

    // SDL's handle of the last start, for a caller that must wait for it
    // (SDL_WaitThread); null when none was started.
    SDL_Thread *        getHandle() const { return m_pThread; }

private:
    void *              m_pData;
    SDL_Thread *        m_pThread;
};

#endif // HSDLTHREAD_H
