// Which sounds the game loads and plays, the sound switch and the music gate.
#include "GameAppTestSupport.h"

#include <memory>

namespace {

struct GameSoundTest : public ::testing::Test {
    void SetUp() override
    {
        app.reset(new TestGameApp);
        app->enableSound();
    }
    std::unique_ptr<TestGameApp> app;
};

TEST_F(GameSoundTest, LoadSoundsPreloadsTheFiveEffectsOnly)
{
    // No music stream without an audio device: the theme counts as loaded.
    EXPECT_TRUE(app->loadSounds(false));
    const char *preloaded[] = { "onemoretogo.ogg", "blocked.ogg", "bjbcrunch.ogg", "klaxon.ogg",
                                "candycane.ogg" };
    for (const char *name : preloaded) {
        HAudioSample *s = app->m_sampleCache.findSample(name);
        ASSERT_NE(nullptr, s) << name;
        EXPECT_NE(nullptr, s->m_pBuffer) << name;
    }
    EXPECT_EQ(nullptr, app->m_sampleCache.findSample("click.wav")) << "loaded on first use";
    EXPECT_TRUE(app->takeSounds().empty()) << "loading plays nothing";
}

TEST_F(GameSoundTest, EffectsOverlapAndClickSoundIsTheGuiClick)
{
    app->playSound("click.wav", 128, 0, true);
    app->playSound("click.wav", 128, 0, true);
    playClickSound(app.get());
    EXPECT_EQ((std::vector<std::string>{ "click.wav@128", "click.wav@128", "guiclick.wav@128" }),
              app->takeSounds());
}

TEST_F(GameSoundTest, SoundSwitchMutesTheCacheAndStopsTheAlarm)
{
    app->setAlarmVolume(200);
    ASSERT_TRUE(app->m_alarmPlaying);
    const int voice = app->m_alarmVoice;
    app->toggleSound();
    EXPECT_EQ(0, app->m_settings.m_iSoundEnabled);
    EXPECT_TRUE(app->m_sampleCache.isMuted());
    EXPECT_FALSE(app->m_alarmPlaying);
    EXPECT_FALSE(app->voiceRunning(voice));
    app->playSound("crunch.wav", 128, 0, true);
    EXPECT_TRUE(app->takeSounds().empty());
    app->setAlarmVolume(200);
    EXPECT_FALSE(app->m_alarmPlaying) << "no alarm with sound off";

    app->toggleSound();
    EXPECT_EQ(1, app->m_settings.m_iSoundEnabled);
    EXPECT_FALSE(app->m_sampleCache.isMuted());
    app->playSound("crunch.wav", 128, 0, true);
    EXPECT_EQ(std::vector<std::string>{ "crunch.wav@128" }, app->takeSounds());
}

TEST_F(GameSoundTest, StopAlarmKeepsTheVoiceForTheNextAlarm)
{
    app->stopAlarm();   // no voice yet: harmless
    EXPECT_EQ(-1, app->m_alarmVoice);
    app->setAlarmVolume(150);
    const int voice = app->m_alarmVoice;
    ASSERT_GE(voice, 0);
    EXPECT_EQ(150, app->voiceVolume(voice));
    app->setAlarmVolume(220);
    EXPECT_EQ(voice, app->m_alarmVoice);
    EXPECT_EQ(220, app->voiceVolume(voice));
    app->stopAlarm();
    EXPECT_FALSE(app->voiceRunning(voice));
    app->setAlarmVolume(130);
    EXPECT_EQ(voice, app->m_alarmVoice);
    EXPECT_TRUE(app->voiceRunning(voice));
}

TEST_F(GameSoundTest, MusicSwitchFlipsTheSetting)
{
    EXPECT_EQ(1, app->m_settings.m_iMusicEnabled);
    app->toggleMusic();
    EXPECT_EQ(0, app->m_settings.m_iMusicEnabled);
    app->setMusicPlaying(true);
    EXPECT_FALSE(app->isMusicPlaying()) << "music off stays off";
    app->toggleMusic();
    EXPECT_EQ(1, app->m_settings.m_iMusicEnabled);
}

} // namespace
