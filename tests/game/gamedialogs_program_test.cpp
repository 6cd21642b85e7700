// The dialogs opened by events in the real program, replayed from a demo
// journal with SDL's dummy drivers: the high-score screen and its CLEAR ALL
// question, then the options, which are still open when the journal runs
// out. The program must neither wait for input that never comes nor lose
// what the dialogs changed.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "GameApp.h"
#include "HEvent.h"
#include "HRegistry.h"
#include "HighScoreEntry.h"
#include "child_process.h"

namespace {

const char *const kProgram = GOBSTREL_BINARY_DIR "/bin/gobstrel-shared";
const char *const kArchive = GOBSTREL_BINARY_DIR "/Resources/gobstrel.qvz";

// One journal step: an event at a time stamp. Type 0 stands for idle ticks
// filling the milliseconds up to the stamp.
struct Step {
    int type;
    int ms;
    int flag;
    int key;
    int ch;
    int x;
    int y;
};

bool writeJournal(const std::string &path, const std::vector<Step> &steps)
{
    std::vector<HEvent> events;
    uint64_t now = 1000;
    for (const Step &step : steps) {
        HEvent e;
        memset(&e, 0, sizeof(e));
        if (step.type == 0) {
            for (uint64_t end = now + (uint64_t)step.ms; now < end;) {
                now += 16;
                e.m_iType = ET_TIMESTAMP;
                e.setTime(now);
                events.push_back(e);
            }
            continue;
        }
        now += 1;
        e.m_iType = step.type;
        e.m_iFlag = step.flag;
        e.m_iKey = step.key;
        e.m_cChar = (uint8_t)step.ch;
        e.m_iX = step.x;
        e.m_iY = step.y;
        e.setTime(now);
        events.push_back(e);
    }
    FILE *f = fopen(path.c_str(), "wb");
    if (!f) {
        return false;
    }
    const size_t n = fwrite(events.data(), sizeof(HEvent), events.size(), f);
    return fclose(f) == 0 && n == events.size();
}

Step idle(int ms) { return Step{ 0, ms, 0, 0, 0, 0, 0 }; }
Step command(int code) { return Step{ ET_COMMAND, 0, code, 0, 0, 0, 0 }; }
Step press(int x, int y) { return Step{ ET_KEYDOWN, 0, 0, KC_LBUTTON, 0, x, y }; }
Step release(int x, int y) { return Step{ ET_KEYUP, 0, 0, KC_LBUTTON, 0, x, y }; }

// The registry of a home folder, opened with HOME pointed there.
class HomeRegistry {
public:
    explicit HomeRegistry(const std::string &home)
    {
        const char *old = getenv("HOME");
        m_saved = old ? old : "";
        setenv("HOME", home.c_str(), 1);
        m_pRegistry = getRegistry();
        m_bOpen = m_pRegistry && m_pRegistry->open(nullptr, "Quorvex", "Gobstrel");
    }
    ~HomeRegistry()
    {
        if (m_bOpen) {
            m_pRegistry->close();
        }
        setenv("HOME", m_saved.c_str(), 1);
    }
    bool ok() const { return m_bOpen; }
    HRegistry *operator->() { return m_pRegistry; }

private:
    std::string m_saved;
    HRegistry *m_pRegistry = nullptr;
    bool m_bOpen = false;
};

class DialogProgram : public testing::Test {
protected:
    void SetUp() override
    {
        if (access(kProgram, X_OK) != 0 || access(kArchive, R_OK) != 0) {
            GTEST_SKIP() << "program or asset archive not built";
        }
        char pattern[] = "/tmp/gobstrel-dialogprogram-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = pattern;
        m_home = m_dir + "/home";
        m_work = m_dir + "/work";
        ASSERT_EQ(mkdir(m_home.c_str(), 0700), 0);
        ASSERT_EQ(mkdir(m_work.c_str(), 0700), 0);
    }
    void TearDown() override
    {
        if (!m_dir.empty() && system(("rm -rf '" + m_dir + "'").c_str()) != 0) {
            ADD_FAILURE() << "could not remove " << m_dir;
        }
    }

    // Runs the program on the journal; its exit status, -1 when it had to be
    // ended by the time limit.
    int run(std::string *output)
    {
        const std::string work = m_work, home = m_home;
        return runChildCapturing(STDOUT_FILENO, [&] {
            if (chdir(work.c_str()) != 0) {
                _exit(126);
            }
            setenv("HOME", home.c_str(), 1);
            setenv("SDL_VIDEODRIVER", "dummy", 1);
            setenv("SDL_AUDIODRIVER", "dummy", 1);
            dup2(STDOUT_FILENO, STDERR_FILENO);
            execl(kProgram, kProgram, "--demo", "demo.bin", "--nosound", (char *)nullptr);
            _exit(127);
        }, output, 90);
    }

    std::string m_dir;
    std::string m_home;
    std::string m_work;
};

// Where the items stand on the screen.
const int kScreenX = 23, kScreenY = 17;
const int kClearAllX = kScreenX + 60 + 30, kClearAllY = kScreenY + 378 + 10;
const int kOkX = kScreenX + 290 + 20, kOkY = kScreenY + 378 + 10;
const int kYesX = 260, kYesY = 287;     // the centred question's YES
const int kLevel14X = (640 - 440) / 2 + 135 + 10, kLevel14Y = (480 - 440) / 2 + 291 + 8;

} // namespace

TEST_F(DialogProgram, EventDrivenDialogsChangeTheRegistryAndEndWithTheJournal)
{
    {
        // A played game with one stored result.
        HomeRegistry registry(m_home);
        ASSERT_TRUE(registry.ok());
        const uint8_t one[4] = { 1, 0, 0, 0 };
        ASSERT_TRUE(registry->setBinary("Did Tutorial", one, 4));
        HighScoreEntry entry;
        entry.reset();
        entry.setName("Ada");
        entry.m_uScore = 900;
        entry.m_iLevel = 7;
        uint8_t bytes[HighScoreEntry::kiRecordSize];
        entry.toBytes(bytes);
        ASSERT_TRUE(registry->setBinary("HS:0", bytes, (int32_t)sizeof(bytes)));
    }

    const std::vector<Step> steps = {
        idle(300),
        command(GAME_COMMAND_HIGHSCORES), idle(300),
        press(kClearAllX, kClearAllY), release(kClearAllX, kClearAllY), idle(300),
        press(kYesX, kYesY), release(kYesX, kYesY), idle(300),
        press(kOkX, kOkY), release(kOkX, kOkY), idle(300),
        command(GAME_COMMAND_OPTIONS), idle(300),
        press(kLevel14X, kLevel14Y), release(kLevel14X, kLevel14Y), idle(300),
        // The journal ends here, with the options still open.
    };
    ASSERT_TRUE(writeJournal(m_work + "/demo.bin", steps));

    std::string output;
    ASSERT_EQ(run(&output), 0) << output;

    HomeRegistry registry(m_home);
    ASSERT_TRUE(registry.ok());
    int32_t level = 0, length = 0;
    ASSERT_TRUE(registry->getBinary("Start Level", &level, 4, &length));
    EXPECT_EQ(level, 14) << "the options closed with the journal and were saved";
    uint8_t bytes[HighScoreEntry::kiRecordSize] = {};
    ASSERT_TRUE(registry->getBinary("HS:0", bytes, (int32_t)sizeof(bytes), &length));
    HighScoreEntry entry;
    entry.reset();
    ASSERT_TRUE(entry.fromBytes(bytes, length));
    EXPECT_STREQ(entry.m_szName, "Tamsel") << "CLEAR ALL, then yes, restored the defaults";
    EXPECT_EQ(entry.m_uScore, 0u);
}
