#include "GameApp.h"

#include "HLog.h"

enum {
    THEME_LOOP_POINT    = 66016,
    EFFECT_BITS         = 16,
    EFFECT_FREQUENCY    = 22050
};

// Loaded ahead so that the first play does not stall a tick; the rest load
// on first use.
static const char *const s_preloadedSounds[] = {
    "onemoretogo.ogg", "blocked.ogg", "bjbcrunch.ogg", "klaxon.ogg", "candycane.ogg"
};

void playClickSound(QVApplication *app)
{
    if (app) {
        app->getSampleCache()->playSample(nullptr, "guiclick.wav", EFFECT_BITS, EFFECT_FREQUENCY, 0,
                                          128, 0, true);
    }
}

bool GameApp::loadSounds(bool withProgress)
{
    logPrintf("...loading sounds\n");
    if (withProgress) {
        advanceLoadingBar(0.95f);
    }
    const bool music = loadThemeMusic("theme.ogg", m_pResourceFileSystem, THEME_LOOP_POINT);
    if (music) {
        for (const char *name : s_preloadedSounds) {
            HAudioSample sample;
            sample.clear();
            getSampleCache()->loadAudioSample(name, &sample, EFFECT_BITS, EFFECT_FREQUENCY);
        }
    }
    if (withProgress) {
        advanceLoadingBar(1.0f);
    }
    return music;
}

void GameApp::playSound(const char *name, int volume, int pan, bool overlap)
{
    getSampleCache()->playSample(nullptr, name, EFFECT_BITS, EFFECT_FREQUENCY, 0, volume, pan, overlap);
}

void GameApp::setAlarmVolume(uint8_t volume)
{
    if (m_settings.m_iSoundEnabled == 0 || m_settings.m_iAlarmEnabled == 0) {
        return;
    }
    if (m_alarmVoice < 0) {
        int32_t voice = -1;
        getSampleCache()->playSample(&voice, "klaxon.ogg", EFFECT_BITS, EFFECT_FREQUENCY, -1, volume,
                                     0, true);
        m_alarmVoice = voice;
    }
    if (!m_alarmPlaying) {
        getSampleCache()->pauseVoice(m_alarmVoice, false);
    }
    getSampleCache()->setVoiceVolume(m_alarmVoice, volume);
    m_alarmPlaying = true;
}

void GameApp::stopAlarm()
{
    m_alarmPlaying = false;
    if (m_alarmVoice >= 0) {
        // Kept allocated: the next alarm resumes the same voice from its start.
        getSampleCache()->pauseVoice(m_alarmVoice, true);
        getSampleCache()->rewindVoice(m_alarmVoice);
    }
}

void GameApp::toggleSound()
{
    m_settings.m_iSoundEnabled = !m_settings.m_iSoundEnabled;
    getSampleCache()->setMuted(m_settings.m_iSoundEnabled == 0);
    if (m_settings.m_iSoundEnabled == 0) {
        stopAlarm();
    }
}

void GameApp::toggleMusic()
{
    logPrintf("...entered toggleMusic()\n");
    m_settings.m_iMusicEnabled = !m_settings.m_iMusicEnabled;
    setMusicPlaying(m_settings.m_iMusicEnabled != 0);
}

void GameApp::setMusicPlaying(bool on)
{
    QVApplication::setMusicPlaying(on && m_settings.m_iMusicEnabled != 0);
}
