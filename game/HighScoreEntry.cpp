#include "HighScoreEntry.h"

#include <cstring>

#include "HString.h"

// Scores are shown with "%d": anything past this would show as negative and
// can only come from a damaged or hand-made value.
static const uint32_t s_uMaxScore = 0x7FFFFFFFu;

static void s_putWord(uint8_t *pBytes, uint32_t uValue)
{
    pBytes[0] = (uint8_t)(uValue & 0xFF);
    pBytes[1] = (uint8_t)((uValue >> 8) & 0xFF);
    pBytes[2] = (uint8_t)((uValue >> 16) & 0xFF);
    pBytes[3] = (uint8_t)((uValue >> 24) & 0xFF);
}

static uint32_t s_getWord(const uint8_t *pBytes)
{
    return (uint32_t)pBytes[0] | ((uint32_t)pBytes[1] << 8) | ((uint32_t)pBytes[2] << 16) |
           ((uint32_t)pBytes[3] << 24);
}

void HighScoreEntry::reset()
{
    m_uTag = kuTag;
    memset(m_szName, 0, sizeof(m_szName));
    stringCopyBounded(m_szName, "nobody", sizeof(m_szName));
    m_uScore = 0;
    m_iLevel = 1;
}

void HighScoreEntry::setName(const char *pszName)
{
    // Cleared first so the stored record carries no stale bytes after the NUL.
    memset(m_szName, 0, sizeof(m_szName));
    stringCopyBounded(m_szName, pszName ? pszName : "", sizeof(m_szName));
}

void HighScoreEntry::toBytes(uint8_t pBytes[kiRecordSize]) const
{
    s_putWord(pBytes, m_uTag);
    memcpy(pBytes + 4, m_szName, kiNameSize);
    s_putWord(pBytes + 36, m_uScore);
    s_putWord(pBytes + 40, (uint32_t)m_iLevel);
}

bool HighScoreEntry::fromBytes(const uint8_t *pBytes, int32_t iLength)
{
    if (!pBytes || iLength != kiRecordSize) {
        return false;
    }
    const uint32_t uTag = s_getWord(pBytes);
    const uint32_t uScore = s_getWord(pBytes + 36);
    const int32_t iLevel = (int32_t)s_getWord(pBytes + 40);
    if (uTag != kuTag || uScore > s_uMaxScore || iLevel < 1) {
        return false;
    }
    m_uTag = uTag;
    memcpy(m_szName, pBytes + 4, kiNameSize);
    // A name that fills its field has no NUL of its own.
    m_szName[kiNameSize - 1] = '\0';
    m_uScore = uScore;
    m_iLevel = iLevel;
    return true;
}
