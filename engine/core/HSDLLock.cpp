#include "HSDLLock.h"

#include "SDL.h"

HSDLLock::HSDLLock() : m_pMutex(nullptr)
{
}

HSDLLock::~HSDLLock()
{
}

bool HSDLLock::create()
{
    if (m_pMutex) {
        return true;
    }
    m_pMutex = SDL_CreateMutex();
    return m_pMutex != nullptr;
}

void HSDLLock::destroy()
{
    if (m_pMutex) {
        SDL_DestroyMutex(m_pMutex);
        m_pMutex = nullptr;
    }
}

bool HSDLLock::lock()
{
    if (!m_pMutex) {
        return false;
    }
    return SDL_mutexP(m_pMutex) != -1;
}

bool HSDLLock::tryLock()
{
    return false;
}

bool HSDLLock::unlock()
{
    if (!m_pMutex) {
        return false;
    }
    return SDL_mutexV(m_pMutex) == 0;
}
