#include "GameApp.h"

#include <cstring>

#include "H2DDisplayDevice.h"
#include "HCommandLine.h"
#include "HLog.h"
#include "HPlatform.h"
#include "HRegistry.h"
#include "HString.h"

const char gameMakerAddress[] = "http://www.quorvex.example/";
const char gameWindowCaption[] = "Gobstrel(Ver 1.50.11)";

// The part of the loading bar drawn so far.
static HRect s_loadingBarRect = { 63, 350, 63, 350 };

enum {
    LOADING_BAR_LEFT    = 63,
    LOADING_BAR_TOP     = 350,
    BENCHMARK_FRAMES    = 100
};

GameApp::GameApp()
    : m_levelIndex(0), m_crunchesNeeded(0),
      m_timeLeft(0.0f), m_levelTime(0.0f), m_secondsPerCrunch(0.0f),
      m_startBonus(0),
      m_typedCount(0), m_buttonHeld(false),
      m_levelBonus(0), m_startBonusShown(0),
      m_bitesFrame(0), m_devMode(false), m_linksDisabled(false),
      m_tutorialStep(0), m_score(0),
      m_state(GS_PLAYING), m_countdown(0), m_countdownTotal(0),
      m_gameTime(0), m_lastTickTime(0), m_lastClockReading(0), m_clockRead(false),
      m_alarmVoice(-1), m_alarmPlaying(false),
      m_textFont(nullptr), m_lastBonusClickTime(0),
      m_infoScreensFailed(0), m_infoScreensReported(0)
{
    m_slideFrom[0] = m_slideFrom[1] = 0;
    m_lastClick[0] = m_lastClick[1] = 0;
    memset(m_typedLevel, 0, sizeof(m_typedLevel));
    m_timeBarRect.left = TIME_BAR_LEFT;
    m_timeBarRect.top = TIME_BAR_TOP;
    m_timeBarRect.right = TIME_BAR_LEFT;
    m_timeBarRect.bottom = TIME_BAR_TOP;
    memset(m_floatingScores, 0, sizeof(m_floatingScores));
    memset(m_levels, 0, sizeof(m_levels));
    memset(&m_playAreaRect, 0, sizeof(m_playAreaRect));
    // Every deal and refill draws from the application's generator, so a
    // replayed journal deals the same boards.
    m_board.setRandom(getRandom());
    m_highScores.setOwner(this);
}

GameApp::~GameApp()
{
    // The sprites are members and go with the object; they were released
    // with the devices.
}

const char *GameApp::getApplicationName()
{
    return "Gobstrel";
}

QVSprite *GameApp::getCursorSprite()
{
    return &m_sprites[SPR_CURSOR];
}

bool GameApp::canDraw()
{
    return QVApplication::canDraw();
}

void GameApp::shutdown()
{
    QVApplication::shutdown();
}

// Marks the whole screen dirty and presents it a hundred times.
static void s_runBenchmark(H2DDisplayDevice *display)
{
    if (!display) {
        return;
    }
    const HRect screen = { 0, 0, 640, 480 };
    const uint64_t start = getMilliseconds();
    for (int i = 0; i < BENCHMARK_FRAMES; i++) {
        display->invalidateRect(screen);
        display->present();
    }
    const int t = (int)(getMilliseconds() - start);
    const double ms = t > 0 ? (double)t : 1.0;
    alertBox("Benchmark = %d iterations in %d ms = %.2f FPS or %.2f ms/blit", BENCHMARK_FRAMES, t,
             BENCHMARK_FRAMES / (ms / 1000.0), t / (double)BENCHMARK_FRAMES);
}

bool GameApp::initialize(const char *commandString, const char *resourceDirectory)
{
    if (!QVApplication::initialize(commandString, resourceDirectory)) {
        return false;
    }

    char resourceName[256];
    stringCopyBounded(resourceName, "gobstrel.qvz", sizeof(resourceName));

    HRegistry *registry = getRegistry();
    if (registry && registry->open(getCvarManager(), "Quorvex", "Gobstrel")) {
        if (!registry->getString("resourceFile", resourceName, sizeof(resourceName))) {
            stringCopyBounded(resourceName, "gobstrel.qvz", sizeof(resourceName));
        }
        char flag[8];
        int32_t length = 0;
        if (registry->getBinary("disableLinks", flag, sizeof(flag), &length)) {
            m_linksDisabled = true;
        }
        registry->close();
    }

    char path[1024];
    stringPrintf(path, sizeof(path), "%s%s", resourceDirectory ? resourceDirectory : "", resourceName);
    if (!openResourceFile(path)) {
        return false;
    }

    initLevelTable();
    m_settings.load(getSampleCache());

    const char *driver = getCvarManager()->getVariableString("c_soundDriver");
    const bool sound = !(driver && stringCompareNoCase(driver, "null") == 0);
    if (!createDevices(gameWindowCaption, sound, m_settings.m_iFullscreen != 0, 1, 640, 480, 2, 16,
                       22050)) {
        return false;
    }
    logPrintf("...done initializing subsystems\n");

    // The parser only writes "+set" commands, so this is reached only from
    // a hand-made command string; a demo file's name never counts.
    if (HCvarManager::hasSwitch(getCommandLine(), "-benchmark")) {
        s_runBenchmark(m_pDisplayDevice);
    }

    int32_t splashVoice = -1;
    const bool splash = getSampleCache()->playSample(&splashVoice, "splash.ogg", 16, 22050, 0, 192,
                                                     0, true);
    logPrintf("...loading assets\n");
    const bool ok = loadAssets();
    if (splash) {
        if (splashVoice >= 0) {
            getSampleCache()->stopVoice(splashVoice);
        }
        getSampleCache()->unloadSample("splash.ogg");
    }
    if (!ok) {
        return false;
    }

    createButtonBar();
    m_highScores.load(false);

    m_countdown = m_countdownTotal = 0;
    m_state = GS_INFO_START;
    setMusicPlaying(true);
    return true;
}

// --- loading screen ---

void GameApp::showLoadingScreen()
{
    // Nothing to report: the bar simply does not show.
    m_sprites[SPR_PROGRESS].load(m_pDisplayDevice, m_pResourceFileSystem, "progress.tga");
    m_sprites[SPR_LOADING].load(m_pDisplayDevice, m_pResourceFileSystem, "loading.jpg");
}

void GameApp::releaseLoadingScreen()
{
    m_sprites[SPR_PROGRESS].release();
    m_sprites[SPR_LOADING].release();
}

void GameApp::advanceLoadingBar(float fraction)
{
    if (!m_pDisplayDevice) {
        return;
    }
    if (!(fraction > 0.0f)) {
        fraction = 0.0f;    // NaN too
    } else if (fraction > 1.0f) {
        fraction = 1.0f;
    }
    QVSprite &bar = m_sprites[SPR_PROGRESS];
    if (fraction == 0.0f) {
        if (m_sprites[SPR_LOADING].isLoaded()) {
            const HPoint origin = { 0, 0 };
            m_sprites[SPR_LOADING].drawAt(origin);
        }
        s_loadingBarRect.left = s_loadingBarRect.right = LOADING_BAR_LEFT;
        s_loadingBarRect.top = LOADING_BAR_TOP;
        s_loadingBarRect.bottom = LOADING_BAR_TOP + (bar.isLoaded() ? bar.getHeight() : 0);
    }
    if (bar.isLoaded()) {
        const int width = (int)((float)bar.getWidth() * fraction);
        const int oldRight = s_loadingBarRect.right;
        const int srcLeft = oldRight - LOADING_BAR_LEFT;
        const int newRight = LOADING_BAR_LEFT + width;
        if (width - srcLeft >= 1 && newRight - oldRight >= 1) {
            const HRect src = { srcLeft, 0, width, bar.getHeight() };
            const HRect dst = { oldRight, LOADING_BAR_TOP, newRight, LOADING_BAR_TOP + bar.getHeight() };
            bar.drawBlended(dst, src, 2, 1, 0, 255, 3, 1, 0, 255, 0);
            s_loadingBarRect.left = oldRight;
            s_loadingBarRect.right = newRight;
        }
    }
    // Drawn outside the main loop: show it now.
    m_pDisplayDevice->present();
}

bool GameApp::loadAssets()
{
    showLoadingScreen();

    QVSprite &font = m_sprites[SPR_FONT];
    if (font.load(m_pDisplayDevice, m_pResourceFileSystem, "font.tga") && m_pDisplayDevice &&
        !m_textFont) {
        m_textFont = m_pDisplayDevice->createFont(&font, 8, 12);
    }

    if (!loadImages()) {
        messageBox(49, "Error", "Gobstrel could not load its bitmaps");
        return false;
    }
    loadSounds(true);
    releaseLoadingScreen();

    const QVSprite &arena = m_sprites[SPR_ARENA];
    m_playAreaRect.left = PLAY_AREA_LEFT;
    m_playAreaRect.top = PLAY_AREA_TOP;
    m_playAreaRect.right = PLAY_AREA_LEFT + arena.getWidth();
    m_playAreaRect.bottom = PLAY_AREA_TOP + arena.getHeight();
    return true;
}

// --- leaving ---

bool GameApp::exitGame()
{
    m_state = GS_EXITING;
    setMusicPlaying(false);
    stopAlarm();
    m_countdown = m_countdownTotal = 0;
    return true;
}

void GameApp::openPartnerLink()
{
    char address[128];
    stringCopyBounded(address, gameMakerAddress, sizeof(address));
    HRegistry *registry = getRegistry();
    if (registry && registry->open(getCvarManager(), "Quorvex", "Gobstrel")) {
        char stored[128];
        if (registry->getString("partnerURL", stored, sizeof(stored)) && stored[0]) {
            stringCopyBounded(address, stored, sizeof(address));
        }
        registry->close();
    }
    launchBrowser(address);
}
