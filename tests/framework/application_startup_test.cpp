#include <gtest/gtest.h>

#include <memory>

#include "HCommandLine.h"
#include "HPlatform.h"
#include "HString.h"
#include "QVControl.h"
#include "application_support.h"
#include "message_hook.h"

namespace {

class StartupTest : public testing::Test {
protected:
    void SetUp() override
    {
        resetEngineState();
        ASSERT_TRUE(m_folder.ok());
        m_app.reset(new TestApp);
    }
    void TearDown() override
    {
        m_app.reset();
        resetEngineState();
    }

    ScopedMessageHook m_hook;
    ScratchFolder m_folder;
    std::unique_ptr<TestApp> m_app;
};

// Counts its own destruction, so tests see who deletes controls.
class CountingControl : public QVControl {
public:
    explicit CountingControl(int *deaths) : m_pDeaths(deaths) {}
    ~CountingControl() override { ++*m_pDeaths; }

private:
    int *m_pDeaths;
};

TEST_F(StartupTest, CurrentApplicationAndNameHook)
{
    EXPECT_EQ(QVApplication::currentApplication(), m_app.get());
    // The registry file follows the running application's name.
    EXPECT_STREQ(getPlatformApplicationName(), "AppTest");
    m_app.reset();
    EXPECT_EQ(QVApplication::currentApplication(), nullptr);
    EXPECT_STRNE(getPlatformApplicationName(), "AppTest");
}

TEST_F(StartupTest, ConstructionDefaults)
{
    EXPECT_FLOAT_EQ(m_app->getMusicVolume(), 0.25f);
    EXPECT_TRUE(m_app->isCursorShown());
    EXPECT_FALSE(m_app->isPaused());
    EXPECT_EQ(m_app->getPausedTime(), 0u);
    EXPECT_EQ(m_app->getDisplayDevice(), nullptr);
    EXPECT_EQ(m_app->getAudioDevice(), nullptr);
    EXPECT_FALSE(m_app->isContinuous());
}

TEST_F(StartupTest, FullRunCreatesDevicesAndTearsDownInOrder)
{
    m_app->stage = 2;
    m_app->resourcePath = m_folder.path();
    m_app->run("+set c_soundDriver null", "/res/");

    EXPECT_TRUE(m_app->initResult);
    EXPECT_EQ(m_app->ticks, 3);
    EXPECT_STREQ(getResourcePath(), "/res/");
    EXPECT_STREQ(getCommandLine(), "+set c_soundDriver null");
    const std::vector<std::string> expected = { "audio", "input", "display", "shutdown", "resources" };
    EXPECT_EQ(m_app->calls, expected);
    EXPECT_EQ(m_app->getDisplayDevice(), nullptr);
    EXPECT_EQ(m_app->getInputDevice(), nullptr);
    EXPECT_EQ(m_app->getResourceFileSystem(), nullptr);
    EXPECT_EQ(m_app->getControls(), nullptr);
    EXPECT_EQ(getGlobalDisplayDevice(), nullptr);
    EXPECT_EQ(getGlobalEventQueue(), nullptr);
    // The store is shut down last: it answers nothing any more.
    EXPECT_EQ(m_app->getCvarManager()->getVariableString("qv_trace"), nullptr);
}

TEST_F(StartupTest, NullSoundDriverRunsSilent)
{
    for (const char *driver : { "null", "NULL" }) {
        SCOPED_TRACE(driver);
        TestApp app;
        app.stage = 2;
        app.resourcePath = m_folder.path();
        app.ticksToRun = 1;
        std::string command = std::string("+set c_soundDriver ") + driver;
        app.run(command.c_str(), "");
        EXPECT_TRUE(app.initResult);
        EXPECT_TRUE(app.devicesResult);
        EXPECT_EQ(app.ticks, 1);
    }

    // During the run: no device, no mixer behind the cache.
    m_app->stage = 0;
    m_app->getCvarManager()->initCvarManager();
    ASSERT_TRUE(m_app->initialize("+set c_soundDriver null", ""));
    EXPECT_FALSE(m_app->createAudioDevice(nullptr, 2, 16, 22050));
    EXPECT_EQ(m_app->getAudioDevice(), nullptr);
    EXPECT_EQ(m_app->mixingStream(), nullptr);
    // The music stream exists all the same, so music can be loaded.
    EXPECT_NE(m_app->musicStream(), nullptr);
    m_app->setMusicPlaying(true);
    EXPECT_FALSE(m_app->isMusicPlaying());
    m_app->destroyDevices();
    m_app->shutdown();
    EXPECT_EQ(m_app->musicStream(), nullptr);
}

TEST_F(StartupTest, SetCommandsOverrideDefaults)
{
    m_app->stage = 0;
    m_app->getCvarManager()->initCvarManager();
    ASSERT_TRUE(m_app->initialize("+set qv_spriteCursor 0 +set qv_demoFile nothing.bin", ""));
    HCvarManager *cvars = m_app->getCvarManager();
    EXPECT_FALSE(m_app->useSpriteCursor());
    EXPECT_STREQ(cvars->getVariableString("qv_demoFile"), "nothing.bin");
    // Untouched defaults.
    EXPECT_STREQ(cvars->getVariableString("c_soundDriver"), "default");
    EXPECT_STREQ(cvars->getVariableString("c_dxversion"), "0");
    EXPECT_STREQ(cvars->getVariableString("c_hklm"), "0");
    EXPECT_STREQ(cvars->getVariableString("qv_trace"), "0");
    EXPECT_STREQ(cvars->getVariableString("qv_journal"), "0");
    // A demo file that does not exist leaves live input.
    EXPECT_EQ(m_app->getDemoFile(), nullptr);
    EXPECT_FALSE(m_app->getEventQueue()->isReplaying());
    m_app->destroyDevices();
    m_app->shutdown();

    TestApp defaults;
    defaults.stage = 0;
    defaults.getCvarManager()->initCvarManager();
    ASSERT_TRUE(defaults.initialize("", ""));
    EXPECT_TRUE(defaults.useSpriteCursor());
    EXPECT_STREQ(defaults.getCvarManager()->getVariableString("qv_spriteCursor"), "1");
    EXPECT_STREQ(defaults.getCvarManager()->getVariableString("qv_demoFile"), "");
    EXPECT_EQ(defaults.getTraceFile(), nullptr);
    EXPECT_EQ(defaults.getJournalFile(), nullptr);
    defaults.destroyDevices();
    defaults.shutdown();
}

TEST_F(StartupTest, DisplayFailureSkipsLoopAndStillShutsDown)
{
    const char *previous = getenv("SDL_VIDEODRIVER");
    std::string saved = previous ? previous : "";
    setenv("SDL_VIDEODRIVER", "no-such-video-driver", 1);

    m_app->stage = 2;
    m_app->resourcePath = m_folder.path();
    m_app->run("+set c_soundDriver null", "");
    setenv("SDL_VIDEODRIVER", saved.c_str(), 1);

    EXPECT_FALSE(m_app->devicesResult);
    EXPECT_FALSE(m_app->initResult);
    EXPECT_TRUE(m_app->events.empty());         // no main loop
    // Nothing of the missing devices is touched; the rest still goes.
    const std::vector<std::string> expected = { "audio", "input", "shutdown", "resources" };
    EXPECT_EQ(m_app->calls, expected);
    EXPECT_EQ(m_app->getResourceFileSystem(), nullptr);
}

TEST_F(StartupTest, TeardownAfterHalfWayStartIsSafeAndRepeatable)
{
    // The archive is missing: start-up stops before any device exists.
    m_app->stage = 2;
    m_app->resourcePath = m_folder.file("missing.qvz");
    m_app->run("+set qv_journal 1", "");
    EXPECT_FALSE(m_app->initResult);
    EXPECT_TRUE(m_app->events.empty());
    ASSERT_EQ(m_hook.boxes().size(), 1u);
    EXPECT_EQ(m_hook.boxes()[0].title, "Missing Resource File");
    // The journal opened in initialize is closed again, empty.
    EXPECT_TRUE(m_folder.exists("journal.bin"));
    EXPECT_EQ(m_folder.read("journal.bin").size(), 0u);

    // A second tear-down finds nothing to release.
    m_app->calls.clear();
    m_app->destroyDevices();
    m_app->shutdown();
    const std::vector<std::string> expected = { "audio", "input", "shutdown", "resources" };
    EXPECT_EQ(m_app->calls, expected);
}

TEST_F(StartupTest, DestroyDevicesTwiceAfterFullStart)
{
    m_app->stage = 2;
    m_app->resourcePath = m_folder.path();
    m_app->getCvarManager()->initCvarManager();
    ASSERT_TRUE(m_app->initialize("+set c_soundDriver null", ""));
    ASSERT_NE(m_app->getDisplayDevice(), nullptr);
    ASSERT_NE(m_app->getInputDevice(), nullptr);
    EXPECT_EQ(getGlobalDisplayDevice(), m_app->getDisplayDevice());
    EXPECT_EQ(getGlobalEventQueue(), m_app->getEventQueue());
    m_app->destroyDevices();
    m_app->destroyDevices();
    EXPECT_EQ(m_app->getDisplayDevice(), nullptr);
    m_app->shutdown();
    m_app->shutdown();
}

TEST_F(StartupTest, ControlsAreOwnedByTheApplication)
{
    m_app->stage = 0;
    m_app->getCvarManager()->initCvarManager();
    ASSERT_TRUE(m_app->initialize("", ""));

    int deaths = 0;
    CountingControl *a = new CountingControl(&deaths);
    CountingControl *b = new CountingControl(&deaths);
    CountingControl stranger(&deaths);
    m_app->addControl(nullptr);
    m_app->addControl(a);
    m_app->addControl(b);
    EXPECT_EQ(a->getOwner(), m_app.get());
    // Newest first.
    ASSERT_NE(m_app->getControls()->getHead(), nullptr);
    EXPECT_EQ(m_app->getControls()->getHead()->getObject(), b);

    // Unregistering never deletes; an unknown control changes nothing.
    m_app->removeControl(&stranger);
    m_app->removeControl(nullptr);
    m_app->removeControl(a);
    EXPECT_EQ(deaths, 0);
    EXPECT_EQ(m_app->getControls()->getHead()->getObject(), b);
    EXPECT_EQ(m_app->getControls()->getNext(m_app->getControls()->getHead()), nullptr);

    m_app->destroyDevices();
    m_app->shutdown();
    EXPECT_EQ(deaths, 1);      // b, still registered
    delete a;
    EXPECT_EQ(deaths, 2);
}

} // namespace
