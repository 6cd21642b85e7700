#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "HEventQueue.h"
#include "HEventSource.h"
#include "HFile.h"
#include "HStandardFileSystem.h"

// A clock the tests move by hand, and a record of the sleeps asked for.
static uint64_t s_now = 1000;
static std::vector<uint32_t> s_sleeps;
static uint64_t fakeClock() { return s_now; }
static void fakeSleep(uint32_t ms) { s_sleeps.push_back(ms); s_now += ms; }

class EventQueueTest : public testing::Test {
protected:
    void SetUp() override
    {
        s_now = 1000;
        s_sleeps.clear();
        HEventQueue::setTimeFunctions(fakeClock, fakeSleep);
        HEventQueue::resetSharedState();
    }
    void TearDown() override { HEventQueue::setTimeFunctions(nullptr, nullptr); }
};

static HEvent makeEvent(int type, int x = 0, int y = 0, int key = 0)
{
    HEvent e;
    memset(&e, 0, sizeof(e));
    e.m_iType = type;
    e.m_iX = x;
    e.m_iY = y;
    e.m_iKey = key;
    return e;
}

// A source that posts a scripted batch each time it is polled.
class ScriptedSource : public HEventSource {
public:
    std::vector<HEvent> batch;
    int polls = 0;
    bool poll(HEventQueue *queue) override
    {
        polls++;
        for (const HEvent &e : batch) {
            queue->postEvent(e);
        }
        batch.clear();
        return true;
    }
};

// A scratch folder with a standard file system over it.
class TempFolder {
public:
    TempFolder()
    {
        char path[] = "/tmp/gobstrel-queue-XXXXXX";
        if (mkdtemp(path)) {
            m_path = path;
        }
        m_fs.init(m_path.c_str());
    }
    ~TempFolder()
    {
        m_fs.shutdown();
        std::string cmd = "rm -rf '" + m_path + "'";
        if (system(cmd.c_str()) != 0) {
            fprintf(stderr, "could not remove %s\n", m_path.c_str());
        }
    }
    HFileSystem *fs() { return &m_fs; }
    std::string path(const char *name) const { return m_path + "/" + name; }
    long size(const char *name) const
    {
        FILE *f = fopen(path(name).c_str(), "rb");
        if (!f) return -1;
        fseek(f, 0, SEEK_END);
        long n = ftell(f);
        fclose(f);
        return n;
    }

private:
    std::string m_path;
    HStandardFileSystem m_fs;
};

TEST_F(EventQueueTest, RingHoldsAtMost127)
{
    TempFolder folder;
    HFile *journal = folder.fs()->openFileForWrite("journal.bin");
    ASSERT_NE(journal, nullptr);
    HEventQueue queue;
    queue.setJournalWriter(journal);
    for (int i = 0; i < 127; i++) {
        ASSERT_TRUE(queue.postEvent(makeEvent(ET_KEYDOWN, i, 0, KC_A)));
    }
    EXPECT_FALSE(queue.postEvent(makeEvent(ET_KEYDOWN, 999, 0, KC_A)));
    EXPECT_EQ(queue.getPendingCount(), 127);
    queue.clearJournalWriter();
    journal->close();
    EXPECT_EQ(folder.size("journal.bin"), 127 * 44); // the lost one is not journaled

    HEvent out;
    for (int i = 0; i < 127; i++) {
        ASSERT_TRUE(queue.getEvent(out, false));
        EXPECT_EQ(out.m_iX, i);
    }
    // Space again after taking.
    EXPECT_TRUE(queue.postEvent(makeEvent(ET_KEYDOWN, 5, 0, KC_A)));
}

TEST_F(EventQueueTest, PostStampsTheTime)
{
    HEventQueue queue;
    HEvent e = makeEvent(ET_KEYDOWN, 1, 2, KC_A);
    e.setTime(0xFFFFFFFFFFull);
    s_now = 0x500000123ull; // high word is never kept
    ASSERT_TRUE(queue.postEvent(e));
    HEvent out;
    ASSERT_TRUE(queue.getEvent(out, false));
    EXPECT_EQ(out.getTime(), 0x123ull);
}

TEST_F(EventQueueTest, DuplicateMouseMovesAreDropped)
{
    HEventQueue queue;
    // The very first move at (0, 0) matches the initial filter.
    EXPECT_TRUE(queue.postEvent(makeEvent(ET_MOUSEMOVE, 0, 0)));
    EXPECT_EQ(queue.getPendingCount(), 0);
    EXPECT_TRUE(queue.postEvent(makeEvent(ET_MOUSEMOVE, 10, 20)));
    EXPECT_TRUE(queue.postEvent(makeEvent(ET_MOUSEMOVE, 10, 20)));
    EXPECT_EQ(queue.getPendingCount(), 1);
    // Other events at the same spot are not filtered.
    EXPECT_TRUE(queue.postEvent(makeEvent(ET_KEYDOWN, 10, 20, KC_LBUTTON)));
    EXPECT_EQ(queue.getPendingCount(), 2);
}

TEST_F(EventQueueTest, MoveLostToFullRingIsNotRemembered)
{
    HEventQueue queue;
    for (int i = 0; i < 127; i++) {
        ASSERT_TRUE(queue.postEvent(makeEvent(ET_KEYDOWN, i, 0, KC_A)));
    }
    EXPECT_FALSE(queue.postEvent(makeEvent(ET_MOUSEMOVE, 33, 44)));
    HEvent out;
    ASSERT_TRUE(queue.getEvent(out, false));
    // The same move again must arrive: the lost one never did.
    EXPECT_TRUE(queue.postEvent(makeEvent(ET_MOUSEMOVE, 33, 44)));
    EXPECT_EQ(queue.getPendingCount(), 127);
    for (int i = 0; i < 126; i++) {
        ASSERT_TRUE(queue.getEvent(out, false));
    }
    ASSERT_TRUE(queue.getEvent(out, false));
    EXPECT_EQ(out.m_iType, ET_MOUSEMOVE);
    EXPECT_EQ(out.m_iX, 33);
}

TEST_F(EventQueueTest, IdleTickAndSleepRule)
{
    HEventQueue queue;
    ScriptedSource source;
    queue.addEventSource(&source);
    HEvent out;
    memset(&out, 0xAB, sizeof(out));
    EXPECT_FALSE(queue.getEvent(out, true));
    EXPECT_EQ(out.m_iType, ET_NONE);
    EXPECT_EQ(source.polls, 1);
    // Clock 1000 is later than the last event time 0: no sleep.
    EXPECT_TRUE(s_sleeps.empty());

    s_now = 1005;
    ASSERT_TRUE(queue.getEvent(out, true));
    EXPECT_EQ(out.m_iType, ET_TIMESTAMP);
    EXPECT_EQ(out.getTime(), 1000u); // stamped when posted

    // Nothing pending and the clock has not moved past the last event's time.
    s_now = 1000;
    EXPECT_FALSE(queue.getEvent(out, false));
    EXPECT_TRUE(s_sleeps.empty());
    ASSERT_TRUE(queue.getEvent(out, false));
    EXPECT_FALSE(queue.getEvent(out, true));
    ASSERT_EQ(s_sleeps.size(), 1u);
    EXPECT_EQ(s_sleeps[0], 1u);

    // With the clock moved on, no sleep even when allowed.
    ASSERT_TRUE(queue.getEvent(out, true));
    s_now = 2000;
    EXPECT_FALSE(queue.getEvent(out, true));
    EXPECT_EQ(s_sleeps.size(), 1u);
}

TEST_F(EventQueueTest, SourcesArePolledOnlyWhenEmpty)
{
    HEventQueue queue;
    ScriptedSource source;
    queue.addEventSource(&source);
    queue.postEvent(makeEvent(ET_PAINT));
    source.batch.push_back(makeEvent(ET_QUIT));
    HEvent out;
    ASSERT_TRUE(queue.getEvent(out, false));
    EXPECT_EQ(out.m_iType, ET_PAINT);
    EXPECT_EQ(source.polls, 0);
    ASSERT_TRUE(queue.getEvent(out, false));
    EXPECT_EQ(out.m_iType, ET_QUIT);
    EXPECT_EQ(source.polls, 1);
}

TEST_F(EventQueueTest, LastPointerFollowsLeftButtonAndMoves)
{
    HEventQueue queue;
    HEvent out;
    queue.postEvent(makeEvent(ET_KEYDOWN, 100, 50, KC_LBUTTON));
    queue.postEvent(makeEvent(ET_KEYDOWN, 7, 8, KC_RBUTTON));
    queue.getEvent(out, false);
    EXPECT_EQ(queue.getLastPointerX(), 100);
    EXPECT_EQ(queue.getLastPointerY(), 50);
    queue.getEvent(out, false);
    EXPECT_EQ(queue.getLastPointerX(), 100);
    queue.postEvent(makeEvent(ET_MOUSEMOVE, 3, 4));
    queue.getEvent(out, false);
    EXPECT_EQ(queue.getLastPointerX(), 3);
    EXPECT_EQ(queue.getLastPointerY(), 4);
}

// Records a run, then replays it: the replay must see the same events, in
// the same order, with the same stamps, and the same "nothing pending"
// answers before each idle tick.
TEST_F(EventQueueTest, JournalRoundTripReplaysLikeTheRun)
{
    TempFolder folder;
    std::vector<std::pair<bool, HEvent>> live;
    {
        HFile *journal = folder.fs()->openFileForWrite("journal.bin");
        ASSERT_NE(journal, nullptr);
        HEventQueue queue;
        ScriptedSource source;
        queue.addEventSource(&source);
        queue.setJournalWriter(journal);
        source.batch = { makeEvent(ET_KEYDOWN, 100, 50, KC_LBUTTON), makeEvent(ET_MOUSEMOVE, 20, 30) };
        for (int i = 0; i < 8; i++) {
            if (i == 5) {
                source.batch = { makeEvent(ET_KEYUP, 100, 50, KC_LBUTTON) };
            }
            s_now += 3;
            HEvent out;
            memset(&out, 0, sizeof(out));
            const bool got = queue.getEvent(out, false);
            live.push_back({ got, out });
        }
        queue.clearJournalWriter();
        journal->close();
    }
    // Everything posted was journaled: 3 input events and the idle ticks.
    const long bytes = folder.size("journal.bin");
    ASSERT_GT(bytes, 0);
    EXPECT_EQ(bytes % 44, 0);

    HEventQueue::resetSharedState();
    HFile *demo = folder.fs()->openFileForRead("journal.bin");
    ASSERT_NE(demo, nullptr);
    HEventQueue replay;
    ScriptedSource source;
    replay.addEventSource(&source);
    replay.postEvent(makeEvent(ET_PAINT)); // stays in the ring untouched
    replay.setJournalReader(demo);
    s_now = 99999;
    for (size_t i = 0; i < live.size(); i++) {
        HEvent out;
        memset(&out, 0, sizeof(out));
        const bool got = replay.getEvent(out, false);
        ASSERT_EQ(got, live[i].first) << "call " << i;
        if (got) {
            EXPECT_EQ(memcmp(&out, &live[i].second, sizeof(HEvent)), 0) << "call " << i;
        } else {
            EXPECT_EQ(out.m_iType, ET_NONE);
        }
        EXPECT_FALSE(replay.isReplayFinished());
    }
    EXPECT_EQ(source.polls, 0);
    EXPECT_EQ(replay.getPendingCount(), 1);
    // The last live tick was posted but never taken: it is still in the file.
    HEvent out;
    ASSERT_TRUE(replay.getEvent(out, false));
    EXPECT_EQ(out.m_iType, ET_TIMESTAMP);
    // Then the file runs out, and stays out.
    EXPECT_FALSE(replay.getEvent(out, false));
    EXPECT_TRUE(replay.isReplayFinished());
    EXPECT_FALSE(replay.getEvent(out, false));
    EXPECT_TRUE(replay.isReplayFinished());
    replay.clearJournalReader();
    demo->close();
    // Live input again: the ring's event is there.
    ASSERT_TRUE(replay.getEvent(out, false));
    EXPECT_EQ(out.m_iType, ET_PAINT);
}

TEST_F(EventQueueTest, ReplayUpdatesLastPointer)
{
    TempFolder folder;
    HFile *file = folder.fs()->openFileForWrite("demo.bin");
    ASSERT_NE(file, nullptr);
    HEvent click = makeEvent(ET_KEYDOWN, 321, 123, KC_LBUTTON);
    file->write(&click, sizeof(click));
    file->close();
    HEventQueue queue;
    HFile *demo = folder.fs()->openFileForRead("demo.bin");
    queue.setJournalReader(demo);
    HEvent out;
    ASSERT_TRUE(queue.getEvent(out, false));
    EXPECT_EQ(queue.getLastPointerX(), 321);
    EXPECT_EQ(queue.getLastPointerY(), 123);
    queue.clearJournalReader();
    demo->close();
}

TEST_F(EventQueueTest, ShortAndOddJournalsEndReplayCleanly)
{
    TempFolder folder;
    HFile *file = folder.fs()->openFileForWrite("demo.bin");
    ASSERT_NE(file, nullptr);
    HEvent odd = makeEvent(77, 1, 2, 3);   // a type no build ever wrote
    odd.setTime(42);
    file->write(&odd, sizeof(odd));
    file->write("trailing", 8);          // a cut record at the end
    file->close();

    HEventQueue queue;
    HFile *demo = folder.fs()->openFileForRead("demo.bin");
    queue.setJournalReader(demo);
    HEvent out;
    ASSERT_TRUE(queue.getEvent(out, false));
    EXPECT_EQ(out.m_iType, 77);
    EXPECT_EQ(out.getTime(), 42u);
    memset(&out, 0x55, sizeof(out));
    EXPECT_FALSE(queue.getEvent(out, false));
    EXPECT_EQ(out.m_iType, ET_NONE);
    EXPECT_TRUE(queue.isReplayFinished());
    queue.clearJournalReader();
    demo->close();
}

// What reaches the file is exactly what was posted: 44 bytes a record, the
// queue's stamp included, in post order, idle ticks too.
TEST_F(EventQueueTest, JournalIsTheRawPostedRecords)
{
    TempFolder folder;
    HFile *journal = folder.fs()->openFileForWrite("journal.bin");
    ASSERT_NE(journal, nullptr);
    HEventQueue queue;
    queue.setJournalWriter(journal);
    std::vector<HEvent> taken;
    for (int i = 0; i < 9; i++) {
        s_now = 5000 + 10 * i;
        HEvent e = makeEvent(ET_KEYDOWN, i, 2 * i, KC_A + i);
        e.m_cChar = (uint8_t)('a' + i);
        e.m_iModifiers = i & 7;
        ASSERT_TRUE(queue.postEvent(e));
        HEvent out;
        ASSERT_TRUE(queue.getEvent(out, false));
        taken.push_back(out);
    }
    s_now = 6000;
    HEvent out;
    EXPECT_FALSE(queue.getEvent(out, false)); // posts the tenth record, a tick
    ASSERT_TRUE(queue.getEvent(out, false));
    EXPECT_EQ(out.m_iType, ET_TIMESTAMP);
    taken.push_back(out);
    queue.clearJournalWriter();
    journal->close();

    ASSERT_EQ(folder.size("journal.bin"), 440);
    FILE *f = fopen(folder.path("journal.bin").c_str(), "rb");
    ASSERT_NE(f, nullptr);
    unsigned char raw[440];
    ASSERT_EQ(fread(raw, 1, sizeof(raw), f), sizeof(raw));
    fclose(f);
    for (int i = 0; i < 10; i++) {
        EXPECT_EQ(memcmp(raw + 44 * i, &taken[i], 44), 0) << "record " << i;
    }
    // Stamps are the post times, low word at offset 4, high word 0.
    EXPECT_EQ(raw[4] | raw[5] << 8, 5000);
    EXPECT_EQ(raw[8] | raw[9] | raw[10] | raw[11], 0);
    EXPECT_EQ(raw[44 * 9], ET_TIMESTAMP);
    EXPECT_EQ(raw[44 * 9 + 4] | raw[44 * 9 + 5] << 8, 6000);
    EXPECT_EQ(taken[3].m_uTime, 5030u);
}

// Replay answers "nothing pending" once before each recorded tick, exactly
// like the live queue before it posts one, and then says the file ran out.
TEST_F(EventQueueTest, ReplayPausesBeforeEveryTick)
{
    TempFolder folder;
    HFile *file = folder.fs()->openFileForWrite("demo.bin");
    ASSERT_NE(file, nullptr);
    const int types[] = { ET_KEYDOWN, ET_TIMESTAMP, ET_TIMESTAMP, ET_MOUSEMOVE, ET_QUIT, ET_TIMESTAMP };
    for (int i = 0; i < 6; i++) {
        HEvent e = makeEvent(types[i], i, i, types[i] == ET_KEYDOWN ? KC_A : 0);
        e.m_uTime = 100 + i;
        ASSERT_EQ(file->write(&e, sizeof(e)), (int32_t)sizeof(e));
    }
    file->close();

    HEventQueue queue;
    HFile *demo = folder.fs()->openFileForRead("demo.bin");
    ASSERT_NE(demo, nullptr);
    EXPECT_FALSE(queue.isReplaying());
    queue.setJournalReader(demo);
    EXPECT_TRUE(queue.isReplaying());
    // Expected answers: event type, or -1 for "nothing pending".
    const int expected[] = { ET_KEYDOWN, -1, ET_TIMESTAMP, -1, ET_TIMESTAMP, ET_MOUSEMOVE, ET_QUIT, -1, ET_TIMESTAMP };
    for (size_t i = 0; i < sizeof(expected) / sizeof(expected[0]); i++) {
        HEvent out;
        memset(&out, 0x7F, sizeof(out));
        const bool got = queue.getEvent(out, true);
        if (expected[i] < 0) {
            EXPECT_FALSE(got) << "call " << i;
            EXPECT_EQ(out.m_iType, ET_NONE) << "call " << i;
        } else {
            ASSERT_TRUE(got) << "call " << i;
            EXPECT_EQ(out.m_iType, expected[i]) << "call " << i;
        }
        EXPECT_FALSE(queue.isReplayFinished()) << "call " << i;
    }
    EXPECT_TRUE(s_sleeps.empty()); // replay never sleeps or ticks itself
    HEvent out;
    EXPECT_FALSE(queue.getEvent(out, true));
    EXPECT_TRUE(queue.isReplayFinished());
    EXPECT_EQ(queue.getPendingCount(), 0);

    // A new demo starts afresh.
    queue.clearJournalReader();
    demo->close();
    demo = folder.fs()->openFileForRead("demo.bin");
    ASSERT_NE(demo, nullptr);
    queue.setJournalReader(demo);
    EXPECT_FALSE(queue.isReplayFinished());
    ASSERT_TRUE(queue.getEvent(out, true));
    EXPECT_EQ(out.m_iType, ET_KEYDOWN);
    EXPECT_EQ(out.m_uTime, 100u);
    queue.clearJournalReader();
    demo->close();
}
