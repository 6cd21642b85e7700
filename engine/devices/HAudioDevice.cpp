#include "HAudioDevice.h"

#include "HCvarManager.h"
#include "HNullAudioDevice.h"
#include "HSDLAudioDevice.h"
#include "HString.h"

HAudioDevice::HAudioDevice(void *pOwner)
    : HDevice(pOwner), m_iChannels(0), m_iBits(0), m_iFrequency(0)
{
}

HAudioDevice::~HAudioDevice()
{
}

HAudioDevice *createAudioDeviceForDriver(HCvarManager *pCvars, int32_t iChannels, int32_t iBits,
                                         int32_t iFrequency)
{
    const char *pszDriver = pCvars ? pCvars->getVariableString("c_soundDriver") : nullptr;
    HAudioDevice *pDevice;
    if (pszDriver && stringCompareNoCase(pszDriver, "null") == 0) {
        pDevice = new HNullAudioDevice(pCvars);
    } else {
        pDevice = new HSDLAudioDevice(pCvars);
    }
    if (!pDevice->create(iChannels, iBits, iFrequency)) {
        delete pDevice;
        return nullptr;
    }
    return pDevice;
}

void destroyAudioDevice(HAudioDevice *pDevice)
{
    if (!pDevice) {
        return;
    }
    pDevice->close();
    delete pDevice;
}
