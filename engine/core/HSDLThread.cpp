#include "HSDLThread.h"

#include "SDL.h"

HThread *createThread()
{
    return new HSDLThread();
}

HSDLThread::HSDLThread() : m_pData(nullptr), m_pThread(nullptr)
{
}

HSDLThread::~HSDLThread()
{
}

bool HSDLThread::start(void *pData)
{
    m_pData = pData;
    if (!m_pfnFunction) {
        m_pThread = nullptr;
        return false;
    }
    m_pThread = SDL_CreateThread(m_pfnFunction, m_pData);
    return m_pThread != nullptr;
}
