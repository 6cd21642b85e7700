// Shared helpers of the game-application tests: a GameApp without a display
// whose sample cache plays into the real mixer, so the tests can see which
// sounds started and how loud, and shortcuts for ticks, clicks and keys.
#ifndef GAMEAPPTESTSUPPORT_H
#define GAMEAPPTESTSUPPORT_H

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "GameApp.h"
#include "HAudioMixerStreamingAudioSource.h"
#include "HStandardFileSystem.h"
#include "audio_files.h"
#include "test_events.h"

// Every sound the game plays, made here as short tones.
static const char *const kGameSoundNames[] = {
    "splash.ogg", "click.wav", "guiclick.wav", "blocked.ogg", "crunch.wav", "bjbcrunch.ogg",
    "onemoretogo.ogg", "levelup.ogg", "gameover.ogg", "candycane.ogg", "klaxon.ogg"
};

class TestGameApp : public GameApp {
public:
    TestGameApp()
    {
        // The main loop seeds from the first event; these tests have none.
        getRandom()->setSeed(12345);
        initLevelTable();
        m_settings.setDefaults();
        m_settings.m_iDidTutorial = 1;
    }

    ~TestGameApp() override
    {
        m_sampleCache.setFileSystem(nullptr);
        m_sampleCache.setMixer(nullptr);
        m_mixer.resetVoices();
        if (m_pSoundFiles) {
            m_pSoundFiles->shutdown();
            delete m_pSoundFiles;
        }
    }

    // Writes the sounds into a temp folder and wires cache and mixer.
    void enableSound()
    {
        const std::vector<int16_t> tone = audioSine(2, 22050, 2205, 440.0, 8000);
        std::vector<uint8_t> pcm(tone.size() * 2);
        memcpy(pcm.data(), tone.data(), pcm.size());
        for (const char *name : kGameSoundNames) {
            const std::string n(name);
            if (n.size() > 4 && n.compare(n.size() - 4, 4, ".wav") == 0) {
                ASSERT_TRUE(m_dir.write(n, audioMakeWav(2, 22050, 16, pcm)));
            } else {
                const std::vector<uint8_t> ogg = audioEncodeOgg(2, 22050, tone);
                ASSERT_FALSE(ogg.empty());
                ASSERT_TRUE(m_dir.write(n, ogg));
            }
        }
        m_pSoundFiles = new HStandardFileSystem;
        ASSERT_TRUE(m_pSoundFiles->init(m_dir.path().c_str()));
        m_mixer.setFormat(2, 16, 22050);
        m_sampleCache.init();
        m_sampleCache.setFileSystem(m_pSoundFiles);
        m_sampleCache.setMixer(&m_mixer);
    }

    // Name of the cached sound a voice holds, or "".
    std::string voiceName(int voice)
    {
        HAudioVoice v;
        if (!m_mixer.getVoice(voice, &v) || !v.m_sample.m_pBuffer) {
            return "";
        }
        for (const char *name : kGameSoundNames) {
            HAudioSample *s = m_sampleCache.findSample(name);
            if (s && s->m_pBuffer == v.m_sample.m_pBuffer) {
                return name;
            }
        }
        return "?";
    }

    // Sounds started since the last call, in voice order, each with its
    // volume ("click.wav@128"); the voices are then freed. The alarm's voice
    // is kept.
    std::vector<std::string> takeSounds()
    {
        std::vector<std::string> out;
        for (int i = 0; i < 8; i++) {
            if (i == m_alarmVoice) {
                continue;
            }
            const std::string name = voiceName(i);
            if (!name.empty()) {
                HAudioVoice v;
                m_mixer.getVoice(i, &v);
                out.push_back(name + "@" + std::to_string(v.m_uVolume));
                m_mixer.stopVoice(i);
            }
        }
        return out;
    }

    bool voiceRunning(int voice)
    {
        HAudioVoice v;
        return m_mixer.getVoice(voice, &v) && v.m_sample.m_pBuffer && !v.m_bStopped;
    }
    int voiceVolume(int voice)
    {
        HAudioVoice v;
        return m_mixer.getVoice(voice, &v) ? v.m_uVolume : -1;
    }
    int voicePosition(int voice)
    {
        HAudioVoice v;
        return m_mixer.getVoice(voice, &v) ? v.m_iPosition : -1;
    }
    // Mixes a little so that voices move on.
    void mixSome()
    {
        uint8_t buffer[4096];
        m_mixer.readNextChunk(buffer, sizeof(buffer));
    }

    // --- events ---
    bool send(HEvent event, int64_t time)
    {
        event.setTime((uint64_t)time);
        setCurrentTime((uint64_t)time);
        return handleEvent(event);
    }
    bool tick(int64_t time)
    {
        return send(testEvent(ET_TIMESTAMP), time);
    }
    // Ticks every step ms from the clock's present value up to and including
    // until; returns the time reached.
    int64_t tickUntil(int64_t from, int64_t until, int step = 16)
    {
        int64_t t = from;
        while (t < until) {
            t += step;
            if (t > until) {
                t = until;
            }
            tick(t);
        }
        return t;
    }
    // Ticks every step ms while the state stays; returns the time reached.
    int64_t tickWhile(int64_t from, int state, int step = 16, int maxTicks = 2000)
    {
        int64_t t = from;
        for (int i = 0; i < maxTicks && m_state == state; i++) {
            t += step;
            tick(t);
        }
        return t;
    }
    bool click(int x, int y, int64_t time)
    {
        return send(testEvent(ET_KEYDOWN, x, y, KC_LBUTTON), time);
    }
    bool key(int type, int code, char c, int64_t time)
    {
        return send(testEvent(type, 0, 0, code, (uint8_t)c), time);
    }
    void typeChar(char c, int64_t time) { key(ET_KEYDOWN, 0, c, time); }

    // --- layout ---
    // Play area as loadAssets sets it for a 594 x 446 arena.
    void setPlayArea()
    {
        m_playAreaRect.left = 23;
        m_playAreaRect.top = 17;
        m_playAreaRect.right = 23 + 594;
        m_playAreaRect.bottom = 17 + 446;
    }
    static int cellX(int column) { return BOARD_LEFT + CELL_PITCH * column + 10; }
    static int cellY(int row) { return BOARD_TOP + CELL_PITCH * row + 10; }

    // A board without complete lines: blank at (0, 0), row 0 oranges, the
    // rest yellow and purple in a checker, and an orange at (0, 1) whose
    // move up completes row 0.
    void layRowCompletion()
    {
        for (int r = 0; r < BOARD_SIZE; r++) {
            for (int c = 0; c < BOARD_SIZE; c++) {
                int type = TILE_YELLOW + ((c + r) & 1);
                if (r == 0) {
                    type = TILE_ORANGE;
                }
                m_board.setCellType(c, r, type);
            }
        }
        m_board.setCellType(0, 1, TILE_ORANGE);
        m_board.setCellType(0, 0, TILE_BLANK);
    }

    using QVApplication::m_paused;
    using QVApplication::m_sampleCache;
    using QVApplication::m_mixer;
    using QVApplication::m_eventQueue;

private:
    AudioTempDir            m_dir;
    HStandardFileSystem *   m_pSoundFiles = nullptr;
};

#endif // GAMEAPPTESTSUPPORT_H
