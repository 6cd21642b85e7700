#include "HInputDevice.h"

#include <cstring>

#include "HInputEventSource.h"

HInputDevice::HInputDevice(void *pOwner)
    : HDevice(pOwner), m_pEventSource(nullptr), m_bFlag(false)
{
    memset(m_stateA, 0, sizeof(m_stateA));
    memset(m_stateB, 0, sizeof(m_stateB));
    m_pEventSource = new HInputEventSource(this);
}

HInputDevice::~HInputDevice()
{
    delete m_pEventSource;
    m_pEventSource = nullptr;
}
