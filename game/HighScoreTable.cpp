#include "HighScoreTable.h"

#include "HLog.h"
#include "HMessageBox.h"
#include "HRegistry.h"
#include "HString.h"

static const char s_szCompany[] = "Quorvex";
static const char s_szProduct[] = "Gobstrel";
static const char s_szContact[] = "support@quorvex.example";

static const char *const s_defaultNames[HighScoreTable::kiSlotCount] = {
    "Tamsel", "Orrik", "Vinna", "Brede", "Lusk"
};

static void s_slotKey(char *pszKey, size_t iSize, int iSlot)
{
    stringPrintf(pszKey, iSize, "HS:%d", iSlot);
}

HighScoreTable::HighScoreTable()
    : m_pGame(nullptr)
{
    resetEntries();
}

const char *HighScoreTable::sm_defaultName(int iSlot)
{
    return (iSlot >= 0 && iSlot < kiSlotCount) ? s_defaultNames[iSlot] : "";
}

void HighScoreTable::resetEntries()
{
    for (HighScoreEntry &entry : m_entries) {
        entry.reset();
    }
}

const HighScoreEntry &HighScoreTable::getEntry(int iSlot) const
{
    if (iSlot < 0) {
        iSlot = 0;
    } else if (iSlot >= kiSlotCount) {
        iSlot = kiSlotCount - 1;
    }
    return m_entries[iSlot];
}

bool HighScoreTable::loadRecord(int iSlot, const uint8_t *pBytes, int32_t iLength)
{
    if (iSlot < 0 || iSlot >= kiSlotCount) {
        return false;
    }
    HighScoreEntry &entry = m_entries[iSlot];
    if (entry.fromBytes(pBytes, iLength)) {
        return true;
    }
    entry.m_uTag = HighScoreEntry::kuTag;
    entry.m_uScore = 0;
    entry.m_iLevel = 1;
    return false;
}

void HighScoreTable::sortSlots()
{
    // Insertion sort: stable, so equal scores keep their slot order.
    for (int i = 1; i < kiSlotCount; i++) {
        const HighScoreEntry moving = m_entries[i];
        int j = i;
        while (j > 0 && m_entries[j - 1].m_uScore < moving.m_uScore) {
            m_entries[j] = m_entries[j - 1];
            j--;
        }
        m_entries[j] = moving;
    }
}

void HighScoreTable::load(bool bReset)
{
    for (HighScoreEntry &entry : m_entries) {
        entry.m_uScore = 0;
        entry.m_iLevel = 1;
    }

    HRegistry *pRegistry = getRegistry();
    if (!pRegistry || !pRegistry->open(nullptr, s_szCompany, s_szProduct)) {
        messageBox(MB_TYPE_ERROR, "Warning", "Gobstrel could not load high scores.  Please contact %s",
                   s_szContact);
        return;
    }

    for (int i = 0; i < kiSlotCount; i++) {
        char szKey[16];
        s_slotKey(szKey, sizeof(szKey), i);
        // One byte more than a record: a longer value must not pass as one.
        uint8_t bytes[HighScoreEntry::kiRecordSize + 1];
        int32_t iLength = 0;
        if (bReset || !pRegistry->getBinary(szKey, bytes, (int32_t)sizeof(bytes), &iLength)) {
            m_entries[i].setName(s_defaultNames[i]);
            m_entries[i].m_uTag = HighScoreEntry::kuTag;
            continue;
        }
        if (!loadRecord(i, bytes, iLength)) {
            tracePrintf("HighScoreTable::load - ignored the value of %s (%d bytes)\n", szKey, (int)iLength);
        }
    }
    pRegistry->close();
    sortSlots();
}

void HighScoreTable::save() const
{
    HRegistry *pRegistry = getRegistry();
    if (!pRegistry || !pRegistry->open(nullptr, s_szCompany, s_szProduct)) {
        messageBox(MB_TYPE_ERROR, "Warning", "Gobstrel could not open registry.  Please contact %s", s_szContact);
        return;
    }
    for (int i = 0; i < kiSlotCount; i++) {
        char szKey[16];
        s_slotKey(szKey, sizeof(szKey), i);
        uint8_t bytes[HighScoreEntry::kiRecordSize];
        m_entries[i].toBytes(bytes);
        pRegistry->setBinary(szKey, bytes, (int32_t)sizeof(bytes));
    }
    pRegistry->close();
}

int HighScoreTable::rankScore(uint32_t uScore) const
{
    for (int i = 0; i < kiSlotCount; i++) {
        if (m_entries[i].m_uScore < uScore) {
            return i;
        }
    }
    return -1;
}

int HighScoreTable::insertScore(const char *pszName, uint32_t uScore, int32_t iLevel)
{
    const int iRank = rankScore(uScore);
    if (iRank < 0) {
        return -1;
    }
    for (int i = kiSlotCount - 1; i > iRank; i--) {
        m_entries[i] = m_entries[i - 1];
    }
    HighScoreEntry &entry = m_entries[iRank];
    entry.m_uTag = HighScoreEntry::kuTag;
    entry.setName(pszName);
    entry.m_uScore = uScore;
    entry.m_iLevel = iLevel;
    return iRank;
}

