#include "QVApplication.h"

#include "HAudioDevice.h"
#include "HAudioMixingStream.h"
#include "HCommandLine.h"
#include "HFile.h"
#include "HFileSystem.h"
#include "HInputEventSource.h"
#include "HLog.h"
#include "HObjectList.h"
#include "HOVAudioStream.h"
#include "HPlatform.h"
#include "HSDLDisplayDevice.h"
#include "HSDLInputDevice.h"
#include "HString.h"
#include "QVControl.h"

// The one application of the process; dialogs and the platform reach it here.
static QVApplication *s_pCurrentApplication = nullptr;

QVApplication::QVApplication()
    : m_iBarX(0), m_iBarY(0),
      m_pDisplayDevice(nullptr), m_pAudioDevice(nullptr), m_pInputDevice(nullptr),
      m_pResourceFileSystem(nullptr),
      m_bMinimized(false), m_paused(false), m_bActive(false),
      m_fMusicVolume(0.25f), m_iMusicStreamHandle(0),
      m_iPauseCount(0), m_uPausedTotal(0), m_uPauseStart(0), m_uLastResume(0),
      m_bRandomSeeded(false), m_pControls(nullptr),
      m_pLocalFileSystem(nullptr), m_pTraceFile(nullptr), m_pDemoFileSystem(nullptr),
      m_pJournalFile(nullptr), m_pDemoFile(nullptr), m_uCurrentTime(0),
      m_uLastIdleTick(0), m_bIdleTicked(false),
      m_pMusicMutex(nullptr), m_pMusicStream(nullptr), m_pMixingStream(nullptr),
      m_pMusicData(nullptr), m_bMusicPlaying(false), m_bCursorShown(true),
      m_iCursorX(0), m_iCursorY(0)
{
    s_pCurrentApplication = this;
    // The registry file is named after the running application.
    setApplicationNameHook(sm_applicationNameHook);
}

QVApplication::~QVApplication()
{
    // The devices are already gone (destroyDevices); the embedded members go
    // in reverse order of declaration on their own.
    if (s_pCurrentApplication == this) {
        s_pCurrentApplication = nullptr;
        setApplicationNameHook(nullptr);
    }
}

QVApplication *QVApplication::currentApplication()
{
    return s_pCurrentApplication;
}

const char *QVApplication::sm_applicationNameHook()
{
    // Null lets the platform fall back to the game's own name.
    return s_pCurrentApplication ? s_pCurrentApplication->getApplicationName() : nullptr;
}

void QVApplication::run(const char *commandString, const char *resourceDirectory)
{
    setCommandLine(commandString ? commandString : "");
    m_cvarManager.initCvarManager();
    if (initialize(commandString, resourceDirectory)) {
        mainLoop();
    }
    destroyDevices();
    shutdown();
}

void QVApplication::registerVariables()
{
    m_cvarManager.registerVariable("c_soundDriver", "default", 0);
    m_cvarManager.registerVariable("c_dxversion", "0", 0);
    m_cvarManager.registerVariable("qv_trace", "0", 0);
    m_cvarManager.registerVariable("qv_journal", "0", 0);
    m_cvarManager.registerVariable("qv_demoFile", "", 0);
    m_cvarManager.registerVariable("qv_spriteCursor", "1", 0);
    m_cvarManager.registerVariable("c_hklm", "0", 0);
}

bool QVApplication::initialize(const char *commandString, const char *resourceDirectory)
{
    registerVariables();
    if (commandString) {
        m_cvarManager.parseCommandLine(commandString);
    }
    setResourcePath(resourceDirectory ? resourceDirectory : "");
    if (!m_pControls) {
        m_pControls = new HObjectList("QVControl");
    }
    m_openDiagnosticFiles();
    return true;
}

// --- controls ---

void QVApplication::addControl(QVControl *control)
{
    if (!control || !m_pControls) {
        return;
    }
    control->setOwner(this);
    m_pControls->addFront(control);
}

void QVApplication::removeControl(QVControl *control)
{
    if (!control || !m_pControls) {
        return;
    }
    m_pControls->remove(control);
}

void QVApplication::deleteAllControls()
{
    if (!m_pControls) {
        return;
    }
    while (HListNode *node = m_pControls->getHead()) {
        HObject *control = node->getObject();
        // Unlink first, so a control's destructor never sees itself listed.
        m_pControls->remove(control);
        delete control;
    }
    delete m_pControls;
    m_pControls = nullptr;
}

// --- device creation ---

bool QVApplication::createDevices(const char *caption, bool sound, bool fullscreen,
                                  int displayFlag, int width, int height,
                                  int channels, int bits, int frequency)
{
    // c_soundDriver chooses the audio device, not the flag.
    (void)sound;
    setGlobalEventQueue(&m_eventQueue);

    logPrintf("...Creating display device\n");
    if (!m_createDisplayDevice(caption, fullscreen, displayFlag, width, height)) {
        return false;
    }
    logPrintf("...Creating input device\n");
    if (!createInputDevice()) {
        return false;
    }
    logPrintf("...Creating audio device\n");
    if (!createAudioDevice(m_pResourceFileSystem, channels, bits, frequency)) {
        logPrintf("...***failed to create audio device***\n");
    }
    return true;
}

bool QVApplication::m_createDisplayDevice(const char *caption, bool fullscreen, int displayFlag,
                                          int width, int height)
{
    H2DDisplayDevice *device = createSDLDisplayDevice(width, height, caption ? caption : "",
                                                      fullscreen, displayFlag, &m_cvarManager);
    if (!device) {
        errorPrintf("m_createDisplayDevice failed, probably because another instance is running");
        return false;
    }
    m_pDisplayDevice = device;
    setGlobalDisplayDevice(device);
    return true;
}

bool QVApplication::createInputDevice()
{
    m_pInputDevice = ::getInputDevice(&m_cvarManager);
    if (!m_pInputDevice) {
        return false;
    }
    if (m_pInputDevice->getEventSource()) {
        m_eventQueue.addEventSource(m_pInputDevice->getEventSource());
    }
    return true;
}

bool QVApplication::createAudioDevice(HFileSystem *fileSystem, int channels, int bits,
                                      int frequency)
{
    // A second call without destroyAudio would leak the first device and
    // stream and leave the audio thread reading them.
    if (m_pAudioDevice || m_pMusicStream) {
        destroyAudio();
    }
    m_pAudioDevice = createAudioDeviceForDriver(&m_cvarManager, channels, bits, frequency);
    m_sampleCache.init();
    m_sampleCache.setFileSystem(fileSystem);

    // The stream exists even without a device, so music can still be loaded.
    m_pMusicStream = new HOVAudioStream;
    m_pMusicStream->init();

    if (!m_createAudioStream(channels, bits, frequency)) {
        destroyAudioDevice(m_pAudioDevice);
        m_pAudioDevice = nullptr;
    }
    return m_pAudioDevice != nullptr;
}

bool QVApplication::m_createAudioStream(int channels, int bits, int frequency)
{
    logPrintf("...entering m_createAudioStream\n");
    if (!m_pAudioDevice) {
        return true;
    }
    logPrintf("...creating mixing stream: ");
    m_mixer.setFormat(channels, bits, frequency);
    m_pMixingStream = m_pAudioDevice->attachSource(&m_mixer);
    if (m_pMixingStream) {
        m_sampleCache.setMixer(&m_mixer);
        m_pMixingStream->start();
        logPrintf("success\n");
    } else {
        logPrintf("failed\n");
    }
    return m_pMixingStream != nullptr;
}

// --- tear-down ---

void QVApplication::destroyAudioStream()
{
    if (m_pMixingStream) {
        m_pMixingStream->stop();
        m_pMixingStream->close();
        m_pMixingStream = nullptr;
    }
    m_mixer.resetVoices();
}

void QVApplication::destroyAudio()
{
    // The audio thread stops reading before anything it reads is freed.
    if (m_pMixingStream) {
        m_pMixingStream->stop();
    }
    setMusicPlaying(false);
    unloadThemeMusic();
    m_sampleCache.freeAll();
    destroyAudioStream();
    if (m_pAudioDevice) {
        destroyAudioDevice(m_pAudioDevice);
        m_pAudioDevice = nullptr;
    }
}

void QVApplication::destroyInputDevice()
{
    if (m_pInputDevice) {
        m_pInputDevice->shutdown();
        releaseInputDevice();
        m_pInputDevice = nullptr;
    }
}

void QVApplication::destroyDisplayDevice()
{
    if (m_pDisplayDevice) {
        if (getGlobalDisplayDevice() == m_pDisplayDevice) {
            setGlobalDisplayDevice(nullptr);
        }
        ::destroyDisplayDevice(m_pDisplayDevice);
        m_pDisplayDevice = nullptr;
    }
}

void QVApplication::destroyDevices()
{
    destroyAudio();
    destroyInputDevice();
    m_closeJournalFiles();
    tracePrintf("...destroying graphics device\n");
    if (m_pDisplayDevice) {
        destroyDisplayDevice();
    }
    if (getGlobalEventQueue() == &m_eventQueue) {
        setGlobalEventQueue(nullptr);
    }
}

void QVApplication::shutdown()
{
    deleteAllControls();
    closeResourceFile();
    m_closeTraceFile();
    tracePrintf("...shutting down cvm\n");
    m_cvarManager.shutdown();
}
