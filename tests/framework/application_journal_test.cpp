#include <gtest/gtest.h>

#include <memory>

#include <cstdio>
#include <sys/stat.h>

#include "HLog.h"
#include "HMersenneTwister.h"
#include "application_support.h"
#include "message_hook.h"

namespace {

// A clock that moves 7 ms per reading, so live runs are repeatable.
uint64_t s_fakeNow = 0;
uint64_t s_fakeClock()
{
    s_fakeNow += 7;
    return s_fakeNow;
}
void s_noSleep(uint32_t) {}

class JournalTest : public testing::Test {
protected:
    void SetUp() override
    {
        resetEngineState();
        ASSERT_TRUE(m_folder.ok());
        s_fakeNow = 1000;
        HEventQueue::setTimeFunctions(s_fakeClock, s_noSleep);
    }
    void TearDown() override { resetEngineState(); }

    ScopedMessageHook m_hook;
    ScratchFolder m_folder;
};

TEST_F(JournalTest, NestedPausesCountFromTheOutermost)
{
    TestApp app;
    EXPECT_FALSE(app.isPaused());
    app.setCurrentTime(1000);
    app.m_beginPause();
    EXPECT_TRUE(app.isPaused());
    app.setCurrentTime(1300);
    app.m_beginPause();
    app.setCurrentTime(1500);
    // An open pause grows with the clock.
    EXPECT_EQ(app.getPausedTime(), 500u);
    app.m_endPause();
    EXPECT_TRUE(app.isPaused());
    EXPECT_EQ(app.pauseCount(), 1);
    app.setCurrentTime(2000);
    app.m_endPause();
    EXPECT_FALSE(app.isPaused());
    EXPECT_EQ(app.getPausedTime(), 1000u);

    // A second pause adds to the total; the clock standing still adds nothing.
    app.setCurrentTime(2500);
    app.m_beginPause();
    app.setCurrentTime(2750);
    app.m_endPause();
    EXPECT_EQ(app.getPausedTime(), 1250u);

    // An unmatched end changes nothing, and the next pause still counts.
    app.m_endPause();
    EXPECT_EQ(app.pauseCount(), 0);
    EXPECT_EQ(app.getPausedTime(), 1250u);
    app.m_beginPause();
    app.setCurrentTime(2800);
    app.m_endPause();
    EXPECT_EQ(app.getPausedTime(), 1300u);

    app.resetPausedTime();
    EXPECT_EQ(app.getPausedTime(), 0u);
}

TEST_F(JournalTest, PauseAcrossClockWrapCountsTheShortSpan)
{
    // Stamps carry the low 32 bits of the millisecond counter, which starts
    // again from 0 after about 49.7 days.
    TestApp app;
    app.setCurrentTime(0xFFFFFF00u);
    app.m_beginPause();
    app.setCurrentTime(0x10u);
    EXPECT_EQ(app.getPausedTime(), 0x110u);     // open, across the wrap
    app.m_endPause();
    EXPECT_EQ(app.getPausedTime(), 0x110u);
}

TEST_F(JournalTest, TraceFileGetsLogLinesUntilShutdown)
{
    TestApp app;
    app.stage = 2;
    app.resourcePath = m_folder.path();
    app.ticksToRun = 1;
    app.run("+set qv_trace 1 +set c_soundDriver null", "");
    logPrintf("after shutdown\n");

    const std::string trace = m_folder.read("trace.txt");
    // Display, then input, then audio; the silent driver attaches nothing,
    // so the audio device is given up and start-up goes on.
    const size_t display = trace.find("...Creating display device\n");
    const size_t input = trace.find("...Creating input device\n");
    const size_t audio = trace.find("...Creating audio device\n");
    const size_t entering = trace.find("...entering m_createAudioStream\n");
    const size_t mixing = trace.find("...creating mixing stream: failed\n");
    const size_t failed = trace.find("...***failed to create audio device***\n");
    ASSERT_NE(display, std::string::npos) << trace;
    ASSERT_NE(failed, std::string::npos) << trace;
    EXPECT_LT(display, input);
    EXPECT_LT(input, audio);
    EXPECT_LT(audio, entering);
    EXPECT_LT(entering, mixing);
    EXPECT_LT(mixing, failed);
    EXPECT_NE(input, std::string::npos);
    EXPECT_NE(mixing, std::string::npos);
    EXPECT_EQ(app.ticks, 1);
    // Lines logged while the devices go still arrive; nothing after shutdown.
    EXPECT_NE(trace.find("...test display going\n"), std::string::npos);
    EXPECT_EQ(trace.find("after shutdown"), std::string::npos);
    // No journal was asked for.
    EXPECT_FALSE(m_folder.exists("journal.bin"));
}

TEST_F(JournalTest, JournalReplaysToTheSameRun)
{
    std::vector<HEvent> live;
    uint32_t liveDraw = 0;
    {
        TestApp app;
        app.stage = 2;
        app.resourcePath = m_folder.path();
        app.ticksToRun = 4;
        app.run("+set qv_journal 1 +set c_soundDriver null", "");
        EXPECT_TRUE(app.initResult);
        live = app.events;
        liveDraw = app.getRandom()->nextInt(0xFFFFFFFFu);
        EXPECT_FALSE(m_folder.exists("trace.txt"));
    }
    ASSERT_GE(live.size(), 4u);

    // Every posted event, 44 bytes each, with the stamps the queue gave.
    const std::string journal = m_folder.read("journal.bin");
    ASSERT_EQ(journal.size() % sizeof(HEvent), 0u);
    ASSERT_GE(journal.size() / sizeof(HEvent), live.size());
    for (size_t i = 0; i < live.size(); i++) {
        HEvent recorded;
        memcpy(&recorded, journal.data() + i * sizeof(HEvent), sizeof(HEvent));
        EXPECT_EQ(recorded.m_iType, live[i].m_iType) << i;
        EXPECT_EQ(recorded.getTime(), live[i].getTime()) << i;
    }
    ASSERT_EQ(rename(m_folder.file("journal.bin").c_str(), m_folder.file("demo.bin").c_str()), 0);

    // A different clock for the replay: every stamp must come from the file.
    resetEngineState();
    s_fakeNow = 555000;
    HEventQueue::setTimeFunctions(s_fakeClock, s_noSleep);
    TestApp replay;
    replay.stage = 2;
    replay.resourcePath = m_folder.path();
    replay.ticksToRun = 4;
    replay.run("+set qv_demoFile demo.bin +set qv_journal 1 +set c_soundDriver null", "");
    ASSERT_EQ(replay.events.size(), live.size());
    for (size_t i = 0; i < live.size(); i++) {
        EXPECT_EQ(replay.events[i].m_iType, live[i].m_iType) << i;
        EXPECT_EQ(replay.events[i].getTime(), live[i].getTime()) << i;
    }
    EXPECT_EQ(replay.getRandom()->nextInt(0xFFFFFFFFu), liveDraw);
    // Replayed events are not posted, so the new journal stays empty.
    EXPECT_TRUE(m_folder.exists("journal.bin"));
    EXPECT_EQ(m_folder.read("journal.bin").size(), 0u);
}

TEST_F(JournalTest, DemoFileIsNeverWrittenOverByTheJournalOrTheTrace)
{
    std::vector<HEvent> recorded;
    for (int i = 0; i < 5; i++) {
        HEvent tick;
        memset(&tick, 0, sizeof(tick));
        tick.m_iType = ET_TIMESTAMP;
        tick.setTime(2000 + 16 * (uint64_t)i);
        recorded.push_back(tick);
    }
    const std::string bytes((const char *)recorded.data(), recorded.size() * sizeof(HEvent));
    // The demo carries the name the run was also asked to write.
    for (const char *name : { "journal.bin", "trace.txt" }) {
        ASSERT_TRUE(m_folder.writeEvents(name, recorded));
        resetEngineState();
        HEventQueue::setTimeFunctions(s_fakeClock, s_noSleep);
        TestApp replay;
        replay.stage = 2;
        replay.resourcePath = m_folder.path();
        replay.ticksToRun = -1;
        replay.run((std::string("+set qv_trace 1 +set qv_journal 1 +set c_soundDriver null +set qv_demoFile ") +
                    name).c_str(), "");
        EXPECT_TRUE(m_folder.read(name) == bytes) << name << " was written over";
        ASSERT_GE(replay.events.size(), recorded.size()) << name;
        for (size_t i = 0; i < recorded.size(); i++) {
            EXPECT_EQ(replay.events[i].getTime(), recorded[i].getTime()) << name << " " << i;
        }
        if (strcmp(name, "journal.bin") == 0) {
            EXPECT_NE(m_folder.read("trace.txt").find("journal.bin is the demo file being replayed"),
                      std::string::npos);
        }
    }
}

TEST_F(JournalTest, TraceAndJournalShareOneFolderAndUnopenableFilesAreQuiet)
{
    // journal.bin is a directory: it can't be opened, nothing is recorded
    // and no box is shown.
    ASSERT_EQ(mkdir(m_folder.file("journal.bin").c_str(), 0700), 0);
    TestApp app;
    app.stage = 0;
    app.getCvarManager()->initCvarManager();
    ASSERT_TRUE(app.initialize("+set qv_trace 1 +set qv_journal 1 +set qv_demoFile absent.bin", ""));
    EXPECT_NE(app.getTraceFile(), nullptr);
    EXPECT_EQ(app.getJournalFile(), nullptr);
    EXPECT_EQ(app.getDemoFile(), nullptr);
    EXPECT_FALSE(app.getEventQueue()->isReplaying());
    EXPECT_TRUE(m_hook.boxes().empty());
    app.destroyDevices();
    app.shutdown();
    EXPECT_EQ(app.getTraceFile(), nullptr);
    // Live input instead of the demo, and the trace says why.
    EXPECT_NE(m_folder.read("trace.txt").find("could not open demo file 'absent.bin': No such file or directory"),
              std::string::npos);

    // Text that is not a number reads as 0: no trace.
    ASSERT_EQ(remove(m_folder.file("trace.txt").c_str()), 0);
    TestApp words;
    words.stage = 0;
    words.getCvarManager()->initCvarManager();
    ASSERT_TRUE(words.initialize("+set qv_trace yes", ""));
    EXPECT_EQ(words.getTraceFile(), nullptr);
    words.destroyDevices();
    words.shutdown();
    EXPECT_FALSE(m_folder.exists("trace.txt"));
}

} // namespace
