#include "HInputEventSource.h"

#include "HInputDevice.h"

bool HInputEventSource::poll(HEventQueue *queue)
{
    if (!m_pDevice) {
        return false;
    }
    return m_pDevice->pollEvents(queue);
}

bool HInputEventSource::pollQuit()
{
    return m_pDevice && m_pDevice->pollQuit();
}
