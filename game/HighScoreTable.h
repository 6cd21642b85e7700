#ifndef HIGHSCORETABLE_H
#define HIGHSCORETABLE_H

#include <cstdint>

#include "HighScoreEntry.h"

class GameApp;

// The five best results, slot 0 the best, kept in the per-user registry as
// the values "HS:0" to "HS:4". Scores never rise from one slot to the next.
class HighScoreTable {
public:
    enum { kiSlotCount = 5 };

                HighScoreTable();

    // The game whose present score rank and insert use; not owned.
    void        setOwner(GameApp *pGame) { m_pGame = pGame; }

    // Fills the table from the registry; with bReset the stored values are
    // ignored and the default names come back. Warns when the registry
    // can't be opened (scores 0, levels 1, names kept).
    void        load(bool bReset);
    // Writes the five records; warns when the registry can't be opened.
    void        save() const;
    // Slot where the game's present score would enter, or -1.
    int         rank() const;
    // Enters the present score under the name, saves and shows the table.
    void        insert(const char *pszName);

    // Slot where a score would enter: the first one holding less. A tie
    // stays below the older entry, and 0 never enters. -1 when none.
    int         rankScore(uint32_t uScore) const;
    // Moves the lower slots down and enters the result at its rank; the
    // result of the last slot falls off. The slot, or -1 (nothing changed).
    int         insertScore(const char *pszName, uint32_t uScore, int32_t iLevel);

    // One stored value for a slot: a valid record replaces the slot,
    // anything else leaves the slot's name with score 0 and level 1.
    // False when the value was refused.
    bool        loadRecord(int iSlot, const uint8_t *pBytes, int32_t iLength);
    // Restores the order after loading: higher scores first, ties in slot
    // order, so a hand-edited registry can't break the ranking.
    void        sortSlots();

    const HighScoreEntry &getEntry(int iSlot) const;
    // Every slot back to tag 257, "nobody", score 0, level 1.
    void        resetEntries();

    static const char *sm_defaultName(int iSlot);

private:
    HighScoreEntry  m_entries[kiSlotCount];
    GameApp *       m_pGame;
};

#endif // HIGHSCORETABLE_H
