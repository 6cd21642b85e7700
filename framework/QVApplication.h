#ifndef QVAPPLICATION_H
#define QVAPPLICATION_H

#include <cstdint>

#include "HRect.h"
#include "HEvent.h"
#include "HDirtyRectList.h"
#include "HCvarManager.h"
#include "HEventQueue.h"
#include "HAudioSampleCache.h"
#include "HAudioMixerStreamingAudioSource.h"
#include "HMersenneTwister.h"
#include "QVSprite.h"

class H2DDisplayDevice;
class HAudioDevice;
class HAudioMixingStream;
class HInputDevice;
class HFileSystem;
class HFile;
class HMutex;
class HObjectList;
class HOVAudioStream;
class QVControl;
struct H2DFont;

// Idle ticks of a screen that waits for the player come at most this often.
enum { QV_IDLE_STEP_MS = 5 };

// One row of a sprite table for the loading screen: the sprite to load and
// its file name; a null name only advances the bar.
struct QVSpriteTableEntry {
    QVSprite *          m_pSprite;
    const char *        m_szName;
};

// The base of the program's one application object. It owns the engine's
// services and the devices for the whole run and drives it: run() starts the
// console variables, initialises, runs the main loop and tears everything
// down in a fixed order. The subclass supplies the name, the event handler
// and the background drawing.
//
// Every release step checks that its member is present and clears it, so
// destroyDevices() and shutdown() are safe after a start-up that stopped
// half-way, and safe to call twice.
class QVApplication {
public:
                        QVApplication();
    virtual             ~QVApplication();

    // --- virtual operations, in slot order ---
    virtual void        setCursorShown(bool show);
    virtual void        drawCursorInDirtyRects();
    virtual const char *getApplicationName() = 0;
    virtual bool        isContinuous();
    virtual void        invalidateCursor();
    virtual void        registerVariables();
    virtual bool        initialize(const char *commandString, const char *resourceDirectory);
    virtual void        destroyDevices();
    virtual void        shutdown();

    // Standard dialogs; their bodies live with the dialog classes.
    virtual void        messageDialog(const char *background, int x, int y,
                                      const char *button, const char *buttonHighlight,
                                      int buttonX, int buttonY,
                                      const char *bar, int barX, int barY, int durationMs);
    // 1 OK, 2 the dialog was quit, 0 otherwise.
    virtual int         confirmDialog(int x, int y, int timeoutMs, const char *background,
                                      const char *ok, const char *okHighlight,
                                      const char *cancel, const char *cancelHighlight);
    virtual bool        pictureDialog(int x, int y, const char *close, const char *closeHighlight,
                                      const char *next, const char *nextHighlight,
                                      const char *previous, const char *previousHighlight,
                                      const char *const *pages, int pageCount);

    virtual bool        useSpriteCursor();
    // Null is ignored; the newest control is offered events and drawn first.
    virtual void        addControl(QVControl *control);
    // Unregisters without deleting; an unknown control changes nothing.
    virtual void        removeControl(QVControl *control);
    // True ends the main loop.
    virtual bool        handleEvent(const HEvent &event) = 0;
    // Draws the scene inside one dirty rectangle.
    virtual void        drawBackground(const HRect &rect, bool underDialog) = 0;
    virtual QVSprite *  getCursorSprite();
    virtual void        drawCursor(const HRect &rect);
    virtual bool        canDraw();
    virtual void        afterDraw();
    virtual void        setActive(bool active);
    virtual bool        createAudioDevice(HFileSystem *fileSystem, int channels, int bits,
                                          int frequency);
    virtual bool        m_createDisplayDevice(const char *caption, bool fullscreen,
                                              int displayFlag, int width, int height);
    virtual bool        createInputDevice();
    virtual bool        m_createAudioStream(int channels, int bits, int frequency);
    virtual void        destroyAudioStream();
    // A missing audio device never fails; display or input does.
    virtual bool        createDevices(const char *caption, bool sound, bool fullscreen,
                                      int displayFlag, int width, int height,
                                      int channels, int bits, int frequency);
    virtual bool        loadThemeMusic(const char *name, HFileSystem *fileSystem, int loopPoint);
    virtual void        unloadThemeMusic();
    virtual void        rewindThemeMusic();
    virtual void        setMusicPlaying(bool on);
    virtual void        destroyAudio();
    virtual void        destroyDisplayDevice();
    virtual void        destroyInputDevice();
    virtual bool        toggleFullscreen();
    virtual void        setSystemCursorVisible(bool visible);
    // Starts a browser and ends the process; a null address is ignored.
    virtual void        openURL(const char *address);
    // A path containing ".qvz" mounts a ZIP archive, anything else a directory.
    virtual bool        openResourceFile(const char *path);
    virtual void        closeResourceFile();
    virtual void        m_beginPause();
    virtual void        m_endPause();
    // Closed pauses plus the one open now.
    virtual uint64_t    getPausedTime();
    virtual void        resetPausedTime();
    virtual bool        isPaused();

    // --- run and accessors ---
    void                run(const char *commandString, const char *resourceDirectory);
    static QVApplication *currentApplication();

    HEventQueue *       getEventQueue() { return &m_eventQueue; }
    HCvarManager *      getCvarManager() { return &m_cvarManager; }
    HAudioSampleCache * getSampleCache() { return &m_sampleCache; }
    HMersenneTwister *  getRandom() { return &m_random; }
    HDirtyRectList *    getDirtyRects() { return &m_dirtyRects; }
    H2DDisplayDevice *  getDisplayDevice() const { return m_pDisplayDevice; }
    HAudioDevice *      getAudioDevice() const { return m_pAudioDevice; }
    HInputDevice *      getInputDevice() const { return m_pInputDevice; }
    HFileSystem *       getResourceFileSystem() const { return m_pResourceFileSystem; }
    uint64_t            getCurrentTime() const { return m_uCurrentTime; }
    void                setCurrentTime(uint64_t time) { m_uCurrentTime = time; }
    bool                getPausedFlag() const { return m_paused; }
    void                setPausedFlag(bool paused) { m_paused = paused; }
    float               getMusicVolume() const { return m_fMusicVolume; }
    bool                isMusicPlaying() const { return m_bMusicPlaying; }
    bool                isActive() const { return m_bActive; }
    bool                isMinimized() const { return m_bMinimized; }
    bool                isCursorShown() const { return m_bCursorShown; }
    HObjectList *       getControls() const { return m_pControls; }
    HFile *             getTraceFile() const { return m_pTraceFile; }
    HFile *             getJournalFile() const { return m_pJournalFile; }
    HFile *             getDemoFile() const { return m_pDemoFile; }

    // Deletes every registered control, then the list.
    void                deleteAllControls();

    // --- main loop and frame drawing ---
    // Runs until handleEvent returns true (or a replayed demo runs out).
    bool                mainLoop();
    // Framework handling; true only when a control consumed the event.
    bool                preDispatchEvent(const HEvent &event);
    bool                dispatchToControls(const HEvent &event);
    void                drawFrame(bool underDialog);
    void                drawControls(H2DDisplayDevice *display, const HRect &rect, bool underDialog);
    // Presents the frame and empties the dirty list.
    void                presentFrame();
    // The only way to ask for drawing; cut to the screen.
    void                invalidateRect(const HRect &rect);
    void                invalidateAll();
    // Called for each idle tick while nothing runs against the clock (a
    // modal dialog, a pause): a tick sooner than QV_IDLE_STEP_MS after the
    // last sleeps the rest, so a waiting screen costs no more than the
    // game's own idle steps. The stamps decide, so a replayed journal with
    // ticks far apart never sleeps.
    void                paceIdleTick(uint64_t stamp);

    // --- music ---
    void                setMusicVolume(float volume);

    // --- resource loading screen ---
    bool                loadLoadingScreen(const char *background, const char *bottomLeft,
                                          const char *bottomRight, const char *bar,
                                          int barX, int barY);
    void                drawLoadingScreen(float progress, const char *text = nullptr,
                                          const H2DFont *font = nullptr);
    void                releaseLoadingScreen();
    bool                loadSpriteTable(const QVSpriteTableEntry *table, int count, float share,
                                        const char *text, const H2DFont *font);
    // soundNames ends with a null entry; false when it holds no name.
    bool                loadSounds(const char *musicName, int loopPoint,
                                   const char *const *soundNames, int bits, int frequency,
                                   float startProgress, float endProgress);
    bool                loadResources(const QVSpriteTableEntry *table, int count,
                                      const char *musicName, int loopPoint,
                                      const char *const *soundNames, int bits, int frequency,
                                      const char *background, const char *bottomLeft,
                                      const char *bottomRight, const char *bar,
                                      int barX, int barY, float totalProgress,
                                      const char *text, const H2DFont *font);

protected:
    // Pause accounting and the diagnostic files (trace, journal, demo).
    void                m_openDiagnosticFiles();
    void                m_closeJournalFiles();
    void                m_closeTraceFile();
    // Mixer volume byte of a 0-1 volume.
    static int          sm_volumeByte(float volume);
    // What the platform asks for the registry file name.
    static const char * sm_applicationNameHook();

    QVSprite            m_loadingBar;
    QVSprite            m_loadingBackground;
    QVSprite            m_loadingLeftImage;
    QVSprite            m_loadingRightImage;
    int32_t             m_iBarX;
    int32_t             m_iBarY;
    H2DDisplayDevice *  m_pDisplayDevice;
    HAudioDevice *      m_pAudioDevice;         // null when there is none
    HInputDevice *      m_pInputDevice;         // process-wide device, only held
    HFileSystem *       m_pResourceFileSystem;
    HDirtyRectList      m_dirtyRects;
    bool                m_bMinimized;
    bool                m_paused;               // user pause; also the loop's wait flag
    bool                m_bActive;
    float               m_fMusicVolume;
    int32_t             m_iMusicStreamHandle;
    int32_t             m_iPauseCount;
    uint64_t            m_uPausedTotal;
    uint64_t            m_uPauseStart;
    uint64_t            m_uLastResume;
    HCvarManager        m_cvarManager;
    HEventQueue         m_eventQueue;
    HAudioSampleCache   m_sampleCache;
    HMersenneTwister    m_random;
    bool                m_bRandomSeeded;
    HObjectList *       m_pControls;            // typed "QVControl"; controls owned
    HFileSystem *       m_pLocalFileSystem;     // "." for trace and journal
    HFile *             m_pTraceFile;
    HFileSystem *       m_pDemoFileSystem;
    HFile *             m_pJournalFile;
    HFile *             m_pDemoFile;
    uint64_t            m_uCurrentTime;         // stamp of the last event taken
    uint64_t            m_uLastIdleTick;        // stamp the last paced idle step ended at
    bool                m_bIdleTicked;
    HMutex *            m_pMusicMutex;
    HOVAudioStream *    m_pMusicStream;
    HAudioMixerStreamingAudioSource m_mixer;
    HAudioMixingStream *m_pMixingStream;        // the device's; stopped, never deleted here
    uint8_t *           m_pMusicData;
    bool                m_bMusicPlaying;
    bool                m_bCursorShown;
    int32_t             m_iCursorX;
    int32_t             m_iCursorY;

private:
                        QVApplication(const QVApplication &) = delete;
    QVApplication &     operator=(const QVApplication &) = delete;
};

#endif // QVAPPLICATION_H
