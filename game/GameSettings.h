#ifndef GAMESETTINGS_H
#define GAMESETTINGS_H

#include <cstdint>

class HAudioSampleCache;

// The player's seven settings, kept in the per-user registry as 4-byte
// little-endian values under their own keys. Read once at start-up, written
// back after every change.
class GameSettings {
public:
    enum { kiFieldCount = 7 };

                GameSettings();

    // Back to the first-run values.
    void        setDefaults();
    // Reads every key (a missing one takes its default), writes them all back
    // so they exist from the first run on, and mutes the sample cache (may be
    // null) while sound is off. An unreadable registry keeps the fields.
    void        load(HAudioSampleCache *pSampleCache);
    // Writes the seven keys; a registry that won't open writes nothing.
    void        save() const;

    // Registry key of field i (0..6, in member order), null outside.
    static const char *sm_keyName(int iField);

    int32_t     m_iDidTutorial;         // "Did Tutorial": 0 until the tutorial was played
    int32_t     m_iStartLevel;          // "Start Level": 1..LEVEL_COUNT
    int32_t     m_iKeyboardMovesSpace;  // "Keyboard Moves Space": arrows move the blank
    int32_t     m_iAlarmEnabled;        // "Alarm Enabled"
    int32_t     m_iSoundEnabled;        // "Sound Enabled"
    int32_t     m_iMusicEnabled;        // "Music Enabled"
    int32_t     m_iFullscreen;          // "Fullscreen"

private:
    int32_t *   m_field(int iField);
    int32_t     m_fieldValue(int iField) const;
};

#endif // GAMESETTINGS_H
