#ifndef APPLICATION_SUPPORT_H
#define APPLICATION_SUPPORT_H

// A small application for the framework tests: it records what the main
// loop hands it and in which order the framework tears things down, and it
// runs in a scratch working folder so trace, journal and demo files never
// land in the source tree.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <unistd.h>

#include "HAudioDevice.h"
#include "HEventQueue.h"
#include "HFile.h"
#include "HInputDevice.h"
#include "H2DDisplayDevice.h"
#include "HSDLInputDevice.h"
#include "QVApplication.h"

class TestApp : public QVApplication {
public:
    // How far initialize goes: 0 base only, 1 also mounts resources,
    // 2 also creates the devices.
    int                         stage = 2;
    std::string                 resourcePath;
    // Ends the loop at this many idle ticks (negative: never); ET_QUIT ends it too.
    int                         ticksToRun = 3;
    bool                        endOnQuit = true;
    QVSprite *                  cursor = nullptr;
    bool                        initResult = false;
    bool                        devicesResult = false;

    std::vector<HEvent>         events;
    std::vector<HRect>          backgrounds;
    std::vector<bool>           backgroundFlags;
    std::vector<std::string>    calls;
    std::vector<bool>           systemCursor;
    int                         ticks = 0;
    int                         afterDraws = 0;

    const char *getApplicationName() override { return "AppTest"; }

    bool initialize(const char *commandString, const char *resourceDirectory) override
    {
        initResult = false;
        if (!QVApplication::initialize(commandString, resourceDirectory)) {
            return false;
        }
        const bool mounted = stage < 1 || openResourceFile(resourcePath.c_str());
        calls.clear();      // mounting unmounts first; only tear-down is recorded
        if (!mounted) {
            return false;
        }
        if (stage >= 2) {
            devicesResult = createDevices("AppTest", true, false, 1, 640, 480, 2, 16, 22050);
            if (!devicesResult) {
                return false;
            }
        }
        initResult = true;
        return true;
    }

    bool handleEvent(const HEvent &event) override
    {
        events.push_back(event);
        if (event.m_iType == ET_QUIT) {
            return endOnQuit;
        }
        if (event.m_iType == ET_TIMESTAMP) {
            ticks++;
            return ticksToRun >= 0 && ticks >= ticksToRun;
        }
        return false;
    }

    void drawBackground(const HRect &rect, bool underDialog) override
    {
        backgrounds.push_back(rect);
        backgroundFlags.push_back(underDialog);
    }

    QVSprite *getCursorSprite() override { return cursor; }
    void afterDraw() override { afterDraws++; }
    void setSystemCursorVisible(bool visible) override
    {
        systemCursor.push_back(visible);
        QVApplication::setSystemCursorVisible(visible);
    }

    // Tear-down order, with what each step can still see.
    void destroyAudio() override
    {
        calls.push_back("audio");
        QVApplication::destroyAudio();
    }
    void destroyInputDevice() override
    {
        calls.push_back(getAudioDevice() ? "input(audio left!)" : "input");
        QVApplication::destroyInputDevice();
    }
    void destroyDisplayDevice() override
    {
        // Journal, demo and input are gone before the display goes.
        calls.push_back(getInputDevice() || getJournalFile() || getDemoFile()
                            ? "display(early!)" : "display");
        logPrintfMarker("...test display going\n");
        QVApplication::destroyDisplayDevice();
    }
    void closeResourceFile() override
    {
        calls.push_back(getControls() ? "resources(controls left!)" : "resources");
        QVApplication::closeResourceFile();
    }
    void shutdown() override
    {
        calls.push_back(getDisplayDevice() ? "shutdown(display left!)" : "shutdown");
        QVApplication::shutdown();
    }

    HAudioMixerStreamingAudioSource &mixer() { return m_mixer; }
    HAudioMixingStream *mixingStream() const { return m_pMixingStream; }
    HOVAudioStream *musicStream() const { return m_pMusicStream; }
    HMutex *musicMutex() const { return m_pMusicMutex; }
    const uint8_t *musicData() const { return m_pMusicData; }
    int pauseCount() const { return m_iPauseCount; }

private:
    static void logPrintfMarker(const char *text);
};

#include "HLog.h"
inline void TestApp::logPrintfMarker(const char *text)
{
    logPrintf("%s", text);
}

// Builds a journal record as the queue would store it.
inline HEvent makeEvent(int type, uint64_t time, int x = 0, int y = 0, int key = 0, int flag = 0)
{
    HEvent event;
    memset(&event, 0, sizeof(event));
    event.m_iType = type;
    event.setTime(time);
    event.m_iX = x;
    event.m_iY = y;
    event.m_iKey = key;
    event.m_iFlag = flag;
    return event;
}

// A fresh working folder for one test; the previous one comes back after.
class ScratchFolder {
public:
    ScratchFolder()
    {
        char path[] = "/tmp/gobstrel-app-XXXXXX";
        if (mkdtemp(path)) {
            m_path = path;
        }
        if (!getcwd(m_previous, sizeof(m_previous))) {
            m_previous[0] = '\0';
        }
        if (m_path.empty() || chdir(m_path.c_str()) != 0) {
            m_path.clear();
        }
    }
    ~ScratchFolder()
    {
        if (m_previous[0] && chdir(m_previous) != 0) {
            fprintf(stderr, "could not return to %s\n", m_previous);
        }
        if (!m_path.empty()) {
            std::string cmd = "rm -rf '" + m_path + "'";
            if (system(cmd.c_str()) != 0) {
                fprintf(stderr, "could not remove %s\n", m_path.c_str());
            }
        }
    }
    bool ok() const { return !m_path.empty(); }
    const std::string &path() const { return m_path; }
    std::string file(const std::string &name) const { return m_path + "/" + name; }

    bool write(const std::string &name, const void *data, size_t size) const
    {
        FILE *f = fopen(file(name).c_str(), "wb");
        if (!f) return false;
        const bool ok = size == 0 || fwrite(data, 1, size, f) == size;
        return fclose(f) == 0 && ok;
    }
    bool writeEvents(const std::string &name, const std::vector<HEvent> &events) const
    {
        return write(name, events.data(), events.size() * sizeof(HEvent));
    }
    std::string read(const std::string &name) const
    {
        std::string bytes;
        FILE *f = fopen(file(name).c_str(), "rb");
        if (!f) return bytes;
        char buffer[4096];
        size_t got;
        while ((got = fread(buffer, 1, sizeof(buffer), f)) > 0) bytes.append(buffer, got);
        fclose(f);
        return bytes;
    }
    bool exists(const std::string &name) const { return access(file(name).c_str(), F_OK) == 0; }

private:
    std::string m_path;
    char m_previous[4096];
};

// Every test starts with the queue's shared clock state and the input
// device's chord state forgotten, and with the platform's clock.
inline void resetEngineState()
{
    HEventQueue::resetSharedState();
    HEventQueue::setTimeFunctions(nullptr, nullptr);
    HSDLInputDevice::resetSharedState();
}

#endif
