#include "GameSettings.h"

#include <cstring>

#include "HAudioSampleCache.h"
#include "HRegistry.h"
#include "LevelInfo.h"

static const char s_szCompany[] = "Quorvex";
static const char s_szProduct[] = "Gobstrel";

// Member order, each with its key and first-run value.
struct GameSettingKey {
    const char *    m_pszKey;
    int32_t         m_iDefault;
};

static const GameSettingKey s_keys[GameSettings::kiFieldCount] = {
    { "Did Tutorial",           0 },
    { "Start Level",            1 },
    { "Keyboard Moves Space",   1 },
    { "Alarm Enabled",          1 },
    { "Sound Enabled",          1 },
    { "Music Enabled",          1 },
    { "Fullscreen",             0 },
};

// The order the keys are read and written in.
static const int s_keyOrder[GameSettings::kiFieldCount] = { 1, 2, 3, 4, 5, 6, 0 };

GameSettings::GameSettings()
{
    setDefaults();
}

void GameSettings::setDefaults()
{
    for (int i = 0; i < kiFieldCount; i++) {
        *m_field(i) = s_keys[i].m_iDefault;
    }
}

const char *GameSettings::sm_keyName(int iField)
{
    return (iField >= 0 && iField < kiFieldCount) ? s_keys[iField].m_pszKey : nullptr;
}

int32_t *GameSettings::m_field(int iField)
{
    int32_t *const fields[kiFieldCount] = { &m_iDidTutorial, &m_iStartLevel, &m_iKeyboardMovesSpace,
                                            &m_iAlarmEnabled, &m_iSoundEnabled, &m_iMusicEnabled,
                                            &m_iFullscreen };
    return fields[iField];
}

int32_t GameSettings::m_fieldValue(int iField) const
{
    return *const_cast<GameSettings *>(this)->m_field(iField);
}

void GameSettings::load(HAudioSampleCache *pSampleCache)
{
    HRegistry *pRegistry = getRegistry();
    if (pRegistry && pRegistry->open(nullptr, s_szCompany, s_szProduct)) {
        for (int i = 0; i < kiFieldCount; i++) {
            const int iField = s_keyOrder[i];
            int32_t *pField = m_field(iField);
            // A short value replaces only the low bytes it has.
            uint8_t bytes[4];
            const uint32_t uOld = (uint32_t)*pField;
            for (int b = 0; b < 4; b++) {
                bytes[b] = (uint8_t)((uOld >> (8 * b)) & 0xFF);
            }
            int32_t iLength = 0;
            if (!pRegistry->getBinary(s_keys[iField].m_pszKey, bytes, (int32_t)sizeof(bytes), &iLength)) {
                *pField = s_keys[iField].m_iDefault;
                continue;
            }
            *pField = (int32_t)((uint32_t)bytes[0] | ((uint32_t)bytes[1] << 8) |
                                ((uint32_t)bytes[2] << 16) | ((uint32_t)bytes[3] << 24));
        }
        pRegistry->close();
    }

    // A level outside the table cannot be started; a hand-written value in
    // range (one the options don't offer) is kept.
    if (m_iStartLevel < 1 || m_iStartLevel > LEVEL_COUNT) {
        m_iStartLevel = s_keys[1].m_iDefault;
    }

    save();

    if (pSampleCache) {
        pSampleCache->setMuted(m_iSoundEnabled == 0);
    }
}

void GameSettings::save() const
{
    HRegistry *pRegistry = getRegistry();
    if (!pRegistry || !pRegistry->open(nullptr, s_szCompany, s_szProduct)) {
        return;
    }
    for (int i = 0; i < kiFieldCount; i++) {
        const int iField = s_keyOrder[i];
        const uint32_t uValue = (uint32_t)m_fieldValue(iField);
        uint8_t bytes[4];
        for (int b = 0; b < 4; b++) {
            bytes[b] = (uint8_t)((uValue >> (8 * b)) & 0xFF);
        }
        pRegistry->setBinary(s_keys[iField].m_pszKey, bytes, (int32_t)sizeof(bytes));
    }
    pRegistry->close();
}
