#include "QVApplication.h"

#include <cstring>

#include "H2DDisplayDevice.h"
#include "HLog.h"
#include "HStandardFileSystem.h"
#include "HZIPFileSystem.h"

// The part of the loading bar already on screen. One loading screen is drawn
// at a time, so one rectangle serves every application.
static HRect s_drawnBar = { 0, 0, 0, 0 };

bool QVApplication::openResourceFile(const char *path)
{
    if (!path) {
        return false;
    }
    // Mounting a second archive over the first would lose the first.
    closeResourceFile();
    if (strstr(path, ".qvz")) {
        m_pResourceFileSystem = new HZIPFileSystem;
    } else {
        m_pResourceFileSystem = new HStandardFileSystem;
    }
    if (m_pResourceFileSystem->init(path)) {
        return true;
    }
    messageBox(49, "Missing Resource File", "Could not load the resource file '%s'", path);
    return false;
}

void QVApplication::closeResourceFile()
{
    if (m_pResourceFileSystem) {
        m_pResourceFileSystem->shutdown();
        delete m_pResourceFileSystem;
        m_pResourceFileSystem = nullptr;
    }
}

bool QVApplication::loadLoadingScreen(const char *background, const char *bottomLeft,
                                      const char *bottomRight, const char *bar,
                                      int barX, int barY)
{
    if (bottomLeft && !m_loadingLeftImage.load(m_pDisplayDevice, m_pResourceFileSystem, bottomLeft)) {
        return false;
    }
    if (bottomRight) {
        // Optional decoration: the screen works without it.
        m_loadingRightImage.load(m_pDisplayDevice, m_pResourceFileSystem, bottomRight);
    }
    if (!m_loadingBackground.load(m_pDisplayDevice, m_pResourceFileSystem, background)) {
        return false;
    }
    if (!m_loadingBar.load(m_pDisplayDevice, m_pResourceFileSystem, bar)) {
        return false;
    }
    m_iBarX = barX;
    m_iBarY = barY;
    return true;
}

void QVApplication::drawLoadingScreen(float progress, const char *text, const H2DFont *font)
{
    if (!m_pDisplayDevice) {
        return;
    }
    // NaN compares false both ways; it draws as 0.
    if (!(progress > 0.0f)) {
        progress = 0.0f;
    } else if (progress > 1.0f) {
        progress = 1.0f;
    }
    const int32_t screenWidth = m_pDisplayDevice->getScreenWidth();
    const int32_t screenHeight = m_pDisplayDevice->getScreenHeight();

    if (progress == 0.0f) {
        m_loadingBackground.drawAt(HPoint{ 0, 0 });
        if (m_loadingLeftImage.isLoaded()) {
            m_loadingLeftImage.drawAt(
                HPoint{ 0, screenHeight - m_loadingLeftImage.getHeight() - 1 });
        }
        if (m_loadingRightImage.isLoaded()) {
            m_loadingRightImage.drawAt(
                HPoint{ screenWidth - m_loadingRightImage.getWidth() - 1,
                        screenHeight - m_loadingRightImage.getHeight() - 1 });
        }
        if (text && font) {
            const HRect clip = { 0, 0, screenWidth, screenHeight };
            m_pDisplayDevice->drawText(text, 10, 100, clip, 0, font);
        }
        s_drawnBar.left = m_iBarX;
        s_drawnBar.top = m_iBarY;
        s_drawnBar.right = m_iBarX;
        s_drawnBar.bottom = m_iBarY + m_loadingBar.getHeight();
    }

    // Only the newly uncovered slice of the bar is drawn.
    const int32_t w = (int32_t)((float)m_loadingBar.getWidth() * progress);
    const HRect dst = { s_drawnBar.right, s_drawnBar.top, m_iBarX + w, s_drawnBar.bottom };
    const HRect src = { s_drawnBar.right - m_iBarX, 0, w, m_loadingBar.getHeight() };
    if (dst.right > dst.left && dst.bottom > dst.top &&
        src.right > src.left && src.bottom > src.top) {
        m_loadingBar.drawBlended(dst, src, 2, 1, 0, 255, 3, 1, 0, 255, 0);
        s_drawnBar = dst;
    }
    m_pDisplayDevice->present();
}

void QVApplication::releaseLoadingScreen()
{
    m_loadingLeftImage.release();
    m_loadingBackground.release();
    m_loadingBar.release();
    m_loadingRightImage.release();
}

bool QVApplication::loadSpriteTable(const QVSpriteTableEntry *table, int count, float share,
                                    const char *text, const H2DFont *font)
{
    if (!table || count <= 0) {
        return true;
    }
    const float step = share / (float)count;
    float progress = 0.0f;
    for (int i = 0; i < count; i++) {
        const char *name = table[i].m_szName;
        if (name) {
            drawLoadingScreen(progress, text, font);
            if (!table[i].m_pSprite ||
                !table[i].m_pSprite->load(m_pDisplayDevice, m_pResourceFileSystem, name)) {
                errorPrintf("Could not load sprite '%s'", name);
                return false;
            }
        }
        progress += step;
    }
    return true;
}

bool QVApplication::loadSounds(const char *musicName, int loopPoint,
                               const char *const *soundNames, int bits, int frequency,
                               float startProgress, float endProgress)
{
    logPrintf("...loading sounds\n");
    drawLoadingScreen(startProgress);
    if (musicName) {
        loadThemeMusic(musicName, m_pResourceFileSystem, loopPoint);
    }
    int count = 0;
    while (soundNames && soundNames[count]) {
        count++;
    }
    if (count == 0) {
        return false;
    }
    const float step = (endProgress - startProgress) / (float)count;
    float progress = startProgress;
    for (int i = 0; i < count; i++) {
        progress += step;
        drawLoadingScreen(progress);
        HAudioSample sample;
        memset(&sample, 0, sizeof(sample));
        // A sound that can't be loaded is skipped: it then plays nothing.
        m_sampleCache.loadAudioSample(soundNames[i], &sample, bits, frequency);
    }
    return true;
}

bool QVApplication::loadResources(const QVSpriteTableEntry *table, int count,
                                  const char *musicName, int loopPoint,
                                  const char *const *soundNames, int bits, int frequency,
                                  const char *background, const char *bottomLeft,
                                  const char *bottomRight, const char *bar,
                                  int barX, int barY, float totalProgress,
                                  const char *text, const H2DFont *font)
{
    loadLoadingScreen(background, bottomLeft, bottomRight, bar, barX, barY);
    const float spriteShare = totalProgress * 0.75f;
    if (!loadSpriteTable(table, count, spriteShare, text, font)) {
        messageBox(49, "Error", "Failed to load bitmaps");
        return false;
    }
    loadSounds(musicName, loopPoint, soundNames, bits, frequency, spriteShare, totalProgress);
    releaseLoadingScreen();
    return true;
}
