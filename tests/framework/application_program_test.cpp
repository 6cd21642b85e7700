// The real program as a maintainer uses its diagnostics: a live run records
// "journal.bin" and "trace.txt", and the journal replayed as a demo drives a
// second run to the same end. Children run under a time limit with SDL's
// dummy drivers in scratch folders.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

#include "HEvent.h"
#include "program_child.h"

namespace {

const char *const kProgram = GOBSTREL_BINARY_DIR "/bin/gobstrel-shared";
const char *const kArchive = GOBSTREL_BINARY_DIR "/Resources/gobstrel.qvz";
const int kChildSeconds = 90;

// Starts the program in work with HOME home; the child's id, or -1.
pid_t s_start(const std::string &work, const std::string &home, const std::vector<std::string> &args)
{
    // A web link reached by the demo must never start a real browser.
    return startProgram(kProgram, work, home, args, kChildSeconds, true);
}

// Waits for the child; its exit status, or -1 when it had to be killed.
int s_wait(pid_t pid)
{
    return waitProgram(pid, kChildSeconds);
}

std::vector<HEvent> s_records(const std::string &bytes)
{
    std::vector<HEvent> events(bytes.size() / sizeof(HEvent));
    if (!events.empty()) {
        memcpy(events.data(), bytes.data(), events.size() * sizeof(HEvent));
    }
    return events;
}

TEST(ApplicationProgram, LiveJournalReplaysAsADemoToTheSameEnd)
{
    if (!pathExists(kProgram) || !pathExists(kArchive)) {
        GTEST_SKIP() << "program or asset archive not built";
    }
    ScratchDir work("appprog"), home("appprog");
    ASSERT_FALSE(work.path.empty());
    ASSERT_FALSE(home.path.empty());

    // Live: no input but the idle ticks, until the window is closed. SDL
    // turns SIGTERM into a quit event, which a live program reads.
    const pid_t live = s_start(work.path, home.path, { "--journal", "--trace", "--nosound" });
    ASSERT_GT(live, 0);
    bool started = false;
    for (int i = 0; i < kChildSeconds * 10 && !started; i++) {
        started = readWholeFile(work.path + "/trace.txt").find("...done initializing subsystems")
                  != std::string::npos;
        if (!started) usleep(100000);
    }
    usleep(500000);
    kill(live, SIGTERM);
    const int liveStatus = s_wait(live);
    ASSERT_TRUE(started) << readWholeFile(work.path + "/output.txt");
    ASSERT_EQ(0, liveStatus) << readWholeFile(work.path + "/output.txt");

    // Whole 44-byte records, stamped in posting order, ending with the close.
    const std::string journal = readWholeFile(work.path + "/journal.bin");
    ASSERT_FALSE(journal.empty());
    ASSERT_EQ(0u, journal.size() % 44u);
    const std::vector<HEvent> events = s_records(journal);
    bool sawQuit = false;
    for (size_t i = 0; i < events.size(); i++) {
        if (i > 0) {
            EXPECT_LE(events[i - 1].getTime(), events[i].getTime()) << i;
        }
        sawQuit = sawQuit || events[i].m_iType == ET_QUIT;
    }
    EXPECT_TRUE(sawQuit);
    const std::string liveTrace = readWholeFile(work.path + "/trace.txt");
    EXPECT_NE(std::string::npos, liveTrace.find("...Creating display device\n"));
    EXPECT_NE(std::string::npos, liveTrace.find("...***failed to create audio device***\n"));

    // Replay: the journal is the only input. With a journal asked for as
    // well, nothing is recorded, since replayed events are not posted.
    ASSERT_EQ(0, rename((work.path + "/journal.bin").c_str(), (work.path + "/demo.bin").c_str()));
    ASSERT_EQ(0, rename((work.path + "/trace.txt").c_str(), (work.path + "/live.txt").c_str()));
    const pid_t replay = s_start(work.path, home.path,
                                 { "--demo", "demo.bin", "--journal", "--trace", "--nosound" });
    ASSERT_GT(replay, 0);
    ASSERT_EQ(0, s_wait(replay)) << readWholeFile(work.path + "/output.txt");
    EXPECT_EQ(0u, readWholeFile(work.path + "/journal.bin").size());
    // Same events, same clock, same seed: the run logs the same lines.
    EXPECT_EQ(liveTrace, readWholeFile(work.path + "/trace.txt"));
}

// Every kind of event but the close, at random places with random keys and
// flags, some far off the screen, then a torn tail.
std::string s_hostileDemo(uint32_t seed)
{
    uint32_t state = seed;
    auto next = [&state](uint32_t range) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % range;
    };
    std::vector<HEvent> events;
    uint64_t now = 1000;
    for (int i = 0; i < 4000; i++) {
        HEvent e;
        memset(&e, 0, sizeof(e));
        now += next(12);
        e.setTime(now);
        const bool tick = next(3) == 0;
        e.m_iType = tick ? ET_TIMESTAMP : (int32_t)(2 + next(ET_COUNT - 2));
        e.m_iFlag = (int32_t)next(3);
        e.m_iKey = (int32_t)next(300);
        e.m_cChar = (uint8_t)next(256);
        const bool far = next(50) == 0;
        e.m_iX = far ? (int32_t)(next(0xFFFFFFFFu) ^ 0x80000000u) : (int32_t)next(660);
        e.m_iY = far ? -(int32_t)next(100000) : (int32_t)next(500);
        events.push_back(e);
    }
    std::string bytes((const char *)events.data(), events.size() * sizeof(HEvent));
    bytes.append(17, '\x5a');
    return bytes;
}

TEST(ApplicationProgram, HostileDemoEndsCleanly)
{
    if (!pathExists(kProgram) || !pathExists(kArchive)) {
        GTEST_SKIP() << "program or asset archive not built";
    }
    ScratchDir work("appprog"), home("appprog");
    ASSERT_FALSE(work.path.empty());
    ASSERT_FALSE(home.path.empty());

    // Whatever the demo does, the run ends by itself with status 0.
    for (uint32_t seed : { 12345u, 777u, 31337u, 4242u }) {
        SCOPED_TRACE(seed);
        const std::string bytes = s_hostileDemo(seed);
        FILE *f = fopen((work.path + "/demo.bin").c_str(), "wb");
        ASSERT_NE(nullptr, f);
        ASSERT_EQ(bytes.size(), fwrite(bytes.data(), 1, bytes.size(), f));
        ASSERT_EQ(0, fclose(f));

        const pid_t pid = s_start(work.path, home.path, { "--demo", "demo.bin", "--nosound" });
        ASSERT_GT(pid, 0);
        EXPECT_EQ(0, s_wait(pid)) << readWholeFile(work.path + "/output.txt");
    }
}

} // namespace
