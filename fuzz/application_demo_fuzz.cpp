// Replays arbitrary bytes as a demo file through the application's main loop,
// with a display and a software cursor, so every field of a hostile journal
// reaches the framework's event handling and frame drawing.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include "HEventQueue.h"
#include "HFile.h"
#include "HMessageBox.h"
#include "HStandardFileSystem.h"
#include "QVApplication.h"

namespace {

class FuzzApp : public QVApplication {
public:
    QVSprite cursor;
    bool cursorLoaded = false;
    const char *getApplicationName() override { return "FuzzApp"; }
    bool handleEvent(const HEvent &event) override
    {
        // Pauses opened and closed as the game does around its screens.
        if (event.m_iType == ET_KEYDOWN) {
            m_beginPause();
        } else if (event.m_iType == ET_KEYUP) {
            m_endPause();
        }
        getPausedTime();
        return false;
    }
    void drawBackground(const HRect &, bool) override {}
    QVSprite *getCursorSprite() override { return cursorLoaded ? &cursor : nullptr; }
};

FuzzApp *s_app = nullptr;
HStandardFileSystem *s_folder = nullptr;
std::string s_path;

bool s_setUp()
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setMessageBoxHook([](uint32_t, const char *, const char *) { return (int)MB_RESULT_OK; });
    char path[] = "/tmp/gobstrel-demo-fuzz-XXXXXX";
    if (!mkdtemp(path)) {
        return false;
    }
    s_path = path;
    s_folder = new HStandardFileSystem;
    s_folder->init(s_path.c_str());

    // An 8x8 opaque cursor in a TGA of our own.
    FILE *f = fopen((s_path + "/cursor.tga").c_str(), "wb");
    if (!f) {
        return false;
    }
    const uint8_t header[18] = { 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 8, 0, 8, 0, 32, 0x28 };
    fwrite(header, 1, sizeof(header), f);
    for (int i = 0; i < 64; i++) {
        const uint8_t px[4] = { 200, 100, 50, 255 };
        fwrite(px, 1, 4, f);
    }
    fclose(f);

    s_app = new FuzzApp;
    s_app->getCvarManager()->initCvarManager();
    s_app->initialize("+set c_soundDriver null", "");
    s_app->openResourceFile(s_path.c_str());
    if (!s_app->createDevices("fuzz", false, false, 1, 640, 480, 2, 16, 22050)) {
        return false;
    }
    s_app->cursorLoaded = s_app->cursor.load(s_app->getDisplayDevice(),
                                             s_app->getResourceFileSystem(), "cursor.tga");
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool ready = s_setUp();
    if (!ready) {
        return 0;
    }
    FILE *f = fopen((s_path + "/demo.bin").c_str(), "wb");
    if (!f) {
        return 0;
    }
    if (size) {
        fwrite(data, 1, size, f);
    }
    fclose(f);

    HFile *demo = s_folder->openFileForRead("demo.bin");
    if (!demo) {
        return 0;
    }
    HEventQueue *queue = s_app->getEventQueue();
    queue->setJournalReader(demo);
    s_app->mainLoop();
    queue->clearJournalReader();
    demo->close();
    while (s_app->isPaused()) {
        s_app->m_endPause();
    }
    s_app->presentFrame();
    return 0;
}
