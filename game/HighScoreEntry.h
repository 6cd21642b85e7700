#ifndef HIGHSCOREENTRY_H
#define HIGHSCOREENTRY_H

#include <cstddef>
#include <cstdint>

// One line of the high-score table. The same 44 bytes are the registry value
// "HS:<slot>", so the layout is a file format: little-endian tag, a 32-byte
// NUL-terminated name, the score and the level number reached.
struct HighScoreEntry {
    enum {
        kuTag           = 257,
        kiNameSize      = 32,
        kiRecordSize    = 44
    };

    uint32_t    m_uTag;
    char        m_szName[kiNameSize];
    uint32_t    m_uScore;
    int32_t     m_iLevel;

    // Tag 257, "nobody", score 0, level 1.
    void        reset();
    // Cut to 31 characters; null is the empty name.
    void        setName(const char *pszName);

    // The registry bytes of this entry.
    void        toBytes(uint8_t pBytes[kiRecordSize]) const;
    // Takes a stored value when it is a whole record with our tag, a score
    // the table can show and a level of at least 1; the name is terminated
    // within its field whatever the bytes hold. False leaves the entry as is.
    bool        fromBytes(const uint8_t *pBytes, int32_t iLength);
};

static_assert(sizeof(HighScoreEntry) == HighScoreEntry::kiRecordSize, "the 44-byte registry record");
static_assert(offsetof(HighScoreEntry, m_szName) == 4, "record layout");
static_assert(offsetof(HighScoreEntry, m_uScore) == 36, "record layout");
static_assert(offsetof(HighScoreEntry, m_iLevel) == 40, "record layout");

#endif // HIGHSCOREENTRY_H
