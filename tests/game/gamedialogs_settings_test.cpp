// Settings in the registry: the seven keys and their defaults, short, long
// and hostile stored values, and the sample cache muted with sound off.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <vector>

#include "GameDialogsRegistry.h"
#include "GameSettings.h"
#include "HAudioSampleCache.h"
#include "message_hook.h"

namespace {

const char *const kKeys[7] = { "Start Level", "Keyboard Moves Space", "Alarm Enabled", "Sound Enabled",
                               "Music Enabled", "Fullscreen", "Did Tutorial" };

std::vector<uint8_t> word(uint32_t value)
{
    std::vector<uint8_t> bytes(4, 0);
    putWord(bytes, 0, value);
    return bytes;
}

int32_t stored(const char *key)
{
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(readValue(key, &bytes)) << key;
    EXPECT_EQ(bytes.size(), 4u) << key;
    return bytes.size() == 4 ? (int32_t)getWord(bytes, 0) : -999;
}

class SettingsTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(home.ok()); }
    ScratchHome home;
    ScopedMessageHook boxes;
};

TEST_F(SettingsTest, FirstRunWritesAllSevenKeysWithDefaults)
{
    GameSettings settings;
    HAudioSampleCache cache;
    settings.load(&cache);
    EXPECT_FALSE(cache.isMuted());
    const int32_t expected[7] = { 1, 1, 1, 1, 1, 0, 0 };
    for (int i = 0; i < 7; i++) {
        EXPECT_EQ(stored(kKeys[i]), expected[i]) << kKeys[i];
    }
    EXPECT_EQ(GameSettings::sm_keyName(7), nullptr);
}

TEST_F(SettingsTest, StoredValuesAreReadAndSoundOffMutes)
{
    ASSERT_TRUE(storeValue("Start Level", word(14)));
    ASSERT_TRUE(storeValue("Sound Enabled", word(0)));
    ASSERT_TRUE(storeValue("Fullscreen", word(1)));
    ASSERT_TRUE(storeValue("Did Tutorial", word(1)));
    ASSERT_TRUE(storeValue("Keyboard Moves Space", word(0)));

    GameSettings settings;
    HAudioSampleCache cache;
    settings.load(&cache);
    EXPECT_EQ(settings.m_iStartLevel, 14);
    EXPECT_EQ(settings.m_iSoundEnabled, 0);
    EXPECT_EQ(settings.m_iFullscreen, 1);
    EXPECT_EQ(settings.m_iDidTutorial, 1);
    EXPECT_EQ(settings.m_iKeyboardMovesSpace, 0);
    EXPECT_EQ(settings.m_iAlarmEnabled, 1);  // missing: default
    EXPECT_TRUE(cache.isMuted());
    EXPECT_EQ(stored("Alarm Enabled"), 1);

    // A null cache is allowed.
    settings.load(nullptr);
    EXPECT_EQ(settings.m_iStartLevel, 14);
}

TEST_F(SettingsTest, ChangesAreWrittenBackAndReadAgain)
{
    GameSettings settings;
    settings.load(nullptr);
    settings.m_iStartLevel = 22;
    settings.m_iAlarmEnabled = 0;
    settings.m_iMusicEnabled = 0;
    settings.save();
    EXPECT_EQ(stored("Start Level"), 22);
    EXPECT_EQ(stored("Alarm Enabled"), 0);
    EXPECT_EQ(stored("Music Enabled"), 0);

    GameSettings again;
    again.load(nullptr);
    EXPECT_EQ(again.m_iStartLevel, 22);
    EXPECT_EQ(again.m_iAlarmEnabled, 0);
    EXPECT_EQ(again.m_iMusicEnabled, 0);
    EXPECT_EQ(again.m_iSoundEnabled, 1);
}

TEST_F(SettingsTest, ShortValuesFillOnlyTheirBytesLongOnesOnlyFour)
{
    ASSERT_TRUE(storeValue("Fullscreen", std::vector<uint8_t>{ 0x01 }));
    ASSERT_TRUE(storeValue("Alarm Enabled", std::vector<uint8_t>{ 0x00, 0x00, 0x00, 0x00, 0x55, 0x66, 0x77, 0x88 }));
    ASSERT_TRUE(storeValue("Music Enabled", std::vector<uint8_t>()));

    GameSettings settings;
    settings.m_iFullscreen = 0x7F00;
    settings.m_iMusicEnabled = 5;
    settings.load(nullptr);
    EXPECT_EQ(settings.m_iFullscreen, 0x7F01);
    EXPECT_EQ(settings.m_iAlarmEnabled, 0);
    EXPECT_EQ(settings.m_iMusicEnabled, 5);
    // Written back whole.
    EXPECT_EQ(stored("Fullscreen"), 0x7F01);
    EXPECT_EQ(stored("Alarm Enabled"), 0);
}

TEST_F(SettingsTest, StartLevelOutsideTheTableFallsBackToOne)
{
    for (uint32_t bad : { 0u, 0xFFFFFFFDu, 39u, 0x7FFFFFFFu, 0x80000000u }) {
        ASSERT_TRUE(storeValue("Start Level", word(bad)));
        GameSettings settings;
        settings.load(nullptr);
        EXPECT_EQ(settings.m_iStartLevel, 1) << bad;
        EXPECT_EQ(stored("Start Level"), 1) << bad;
    }
    // A level the options don't offer but the table has is kept.
    for (uint32_t good : { 3u, 38u }) {
        ASSERT_TRUE(storeValue("Start Level", word(good)));
        GameSettings settings;
        settings.load(nullptr);
        EXPECT_EQ(settings.m_iStartLevel, (int32_t)good);
    }
}

TEST_F(SettingsTest, UnreadableRegistryKeepsValuesAndSaysNothing)
{
    mkdir((home.path() + "/.quorvex").c_str(), 0700);
    ASSERT_EQ(mkdir(home.registryFile().c_str(), 0700), 0);
    GameSettings settings;
    settings.m_iStartLevel = 10;
    settings.m_iSoundEnabled = 0;
    HAudioSampleCache cache;
    boxes.clear();
    settings.load(&cache);
    EXPECT_EQ(settings.m_iStartLevel, 10);
    EXPECT_EQ(settings.m_iSoundEnabled, 0);
    EXPECT_TRUE(cache.isMuted());
    for (const RecordedMessageBox &box : boxes.boxes()) {
        EXPECT_NE(box.title, "Warning") << box.text;
    }
}

} // namespace
