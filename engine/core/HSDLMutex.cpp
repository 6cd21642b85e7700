#include "HSDLMutex.h"

#include "SDL.h"

HMutex *createMutex()
{
    HSDLMutex *pMutex = new HSDLMutex();
    if (!pMutex->create()) {
        delete pMutex;
        return nullptr;
    }
    return pMutex;
}

HSDLMutex::HSDLMutex() : m_pMutex(nullptr)
{
}

// The owner calls destroy() first; a mutex still held here is left alone.
HSDLMutex::~HSDLMutex()
{
}

bool HSDLMutex::create()
{
    m_pMutex = SDL_CreateMutex();
    return m_pMutex != nullptr;
}

void HSDLMutex::destroy()
{
    if (m_pMutex) {
        SDL_DestroyMutex(m_pMutex);
        m_pMutex = nullptr;
    }
}

void HSDLMutex::lock()
{
    if (m_pMutex) {
        SDL_mutexP(m_pMutex);
    }
}

void HSDLMutex::unlock()
{
    if (m_pMutex) {
        SDL_mutexV(m_pMutex);
    }
}
