// The real program, run as a child under a time limit with SDL's dummy
// drivers, a scratch home and working folder, and a demo journal written
// here: it must play the lesson, store its settings, and end with status 0.
#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <dirent.h>
#include <unistd.h>
#include <vector>

#include "GameAppTestSupport.h"
#include "GameSettings.h"
#include "HEvent.h"
#include "HRegistry.h"
#include "HighScoreEntry.h"
#include "child_process.h"
#include "program_child.h"

namespace {

const char *const kProgram = GOBSTREL_BINARY_DIR "/bin/gobstrel-shared";
const char *const kArchive = GOBSTREL_BINARY_DIR "/Resources/gobstrel.qvz";
const int kChildSeconds = 120;

// Builds a demo journal: events in order with the time stamps given.
struct Demo {
    std::vector<HEvent> events;
    int64_t now = 1000;

    // Stamps carry the low 32 bits of the tick count, as the queue sets them.
    HEvent blank(int type)
    {
        HEvent e;
        memset(&e, 0, sizeof(e));
        e.m_iType = type;
        e.setTime((uint32_t)now);
        return e;
    }
    void ticks(int ms, int step = 16)
    {
        for (int t = 0; t < ms; t += step) {
            now += step;
            events.push_back(blank(ET_TIMESTAMP));
        }
    }
    void click(int x, int y)
    {
        now += 1;
        HEvent down = blank(ET_KEYDOWN);
        down.m_iKey = KC_LBUTTON;
        down.m_iX = x;
        down.m_iY = y;
        events.push_back(down);
        now += 1;
        HEvent up = down;
        up.m_iType = ET_KEYUP;
        up.setTime((uint32_t)now);
        events.push_back(up);
    }
    void cell(int column, int row) { click(107 + 42 * column + 20, 101 + 42 * row + 20); }
    void key(int code, char c)
    {
        now += 1;
        HEvent e = blank(ET_KEYDOWN);
        e.m_iKey = code;
        e.m_cChar = (uint8_t)c;
        events.push_back(e);
    }
    // Developer mode on, then the level clock set back past zero.
    void clockOut()
    {
        key(0, '[');
        key(0, ']');
        key(0, '[');
        for (int i = 0; i < 62; i++) {
            key(0, '-');
        }
    }
    void quit()
    {
        now += 1;
        events.push_back(blank(ET_QUIT));
    }
    bool write(const std::string &path) const
    {
        FILE *f = fopen(path.c_str(), "wb");
        if (!f) {
            return false;
        }
        const size_t n = fwrite(events.data(), sizeof(HEvent), events.size(), f);
        fclose(f);
        return n == events.size();
    }
};

// Runs the program in work with HOME home; the exit status, or -1 when it
// had to be killed or did not exit normally.
int s_runProgram(const std::string &program, const std::string &work, const std::string &home,
                 const std::vector<std::string> &args)
{
    return waitProgram(startProgram(program, work, home, args, kChildSeconds, false), kChildSeconds);
}

// Runs work on the game's registry in a home folder, opened and closed
// again; false when it could not be opened, work failed or the close did.
template <typename Work>
bool s_withRegistry(const std::string &home, Work work)
{
    const char *old = getenv("HOME");
    const std::string saved = old ? old : "";
    setenv("HOME", home.c_str(), 1);
    bool ok = false;
    HRegistry *registry = getRegistry();
    if (registry && registry->open(nullptr, "Quorvex", "Gobstrel")) {
        ok = work(registry);
        ok = registry->close() && ok;
    }
    setenv("HOME", saved.c_str(), 1);
    return ok;
}

// Reads a 4-byte registry value of the game from a home folder.
bool s_readSetting(const std::string &home, const char *key, int32_t *value)
{
    return s_withRegistry(home, [&](HRegistry *registry) {
        int32_t length = 0;
        *value = 0;
        return registry->getBinary(key, value, 4, &length) && length == 4;
    });
}

TEST(GameProgram, DemoPlaysTheLessonAndEndsCleanly)
{
    if (!pathExists(kProgram) || !pathExists(kArchive)) {
        GTEST_SKIP() << "program or asset archive not built";
    }
    ScratchDir work("gameapp"), home("gameapp");
    ASSERT_FALSE(work.path.empty());
    ASSERT_FALSE(home.path.empty());

    Demo demo;
    demo.ticks(300);
    // The start button on the title screen.
    demo.click(114 + 20, 388 + 10);
    demo.ticks(1300);
    // The lesson: three steps along row 0, the orange that completes it,
    // then the row shift that completes column 1.
    const int steps[5][2] = { { 1, 0 }, { 2, 0 }, { 3, 0 }, { 3, 1 }, { 0, 1 } };
    for (const auto &s : steps) {
        demo.cell(s[0], s[1]);
        demo.ticks(1600);
    }
    // Level done, bonus count, next level: level 2's info screen.
    demo.ticks(5500);
    ASSERT_TRUE(demo.write(work.path + "/demo.bin"));

    const int status = s_runProgram(kProgram, work.path, home.path,
                                    { "--demo", "demo.bin", "--trace" });
    const std::string output = readWholeFile(work.path + "/output.txt");
    ASSERT_EQ(0, status) << output;

    // The lesson was finished: it is stored as done, with the other defaults.
    int32_t value = -1;
    ASSERT_TRUE(s_readSetting(home.path, "Did Tutorial", &value)) << output;
    EXPECT_EQ(1, value);
    ASSERT_TRUE(s_readSetting(home.path, "Start Level", &value));
    EXPECT_EQ(1, value);
    ASSERT_TRUE(s_readSetting(home.path, "Sound Enabled", &value));
    EXPECT_EQ(1, value);

    const std::string trace = readWholeFile(work.path + "/trace.txt");
    EXPECT_NE(std::string::npos, trace.find("...done initializing subsystems")) << trace;
    EXPECT_NE(std::string::npos, trace.find("...loading assets")) << trace;
    EXPECT_NE(std::string::npos, trace.find("...loading sounds")) << trace;
}

// Reads one high-score record of the game from a home folder.
bool s_readHighScore(const std::string &home, int slot, HighScoreEntry *entry)
{
    return s_withRegistry(home, [&](HRegistry *registry) {
        char key[16];
        snprintf(key, sizeof(key), "HS:%d", slot);
        uint8_t bytes[HighScoreEntry::kiRecordSize + 1];
        int32_t length = 0;
        return registry->getBinary(key, bytes, (int32_t)sizeof(bytes), &length) &&
               entry->fromBytes(bytes, length);
    });
}

// The same game in this process: the events go straight to a display-less
// GameApp seeded as the main loop seeds, from the first event's stamp.
struct ShadowGame {
    explicit ShadowGame(const Demo &demo)
    {
        app.m_settings.m_iDidTutorial = 0;
        app.setPlayArea();
        app.m_state = GS_INFO_START;
        app.getRandom()->setSeed((uint32_t)demo.events.front().getTime());
    }
    void play(const Demo &demo)
    {
        for (; fed < demo.events.size(); fed++) {
            const HEvent &e = demo.events[fed];
            app.setCurrentTime(e.getTime());
            app.handleEvent(e);
        }
    }
    TestGameApp app;
    size_t fed = 0;
};

// Shortest run of moves (at most four) whose last one completes a line and
// whose earlier ones complete none; false when there is none.
bool s_findLineMoves(const GameBoard &board, int depth, std::vector<std::pair<int, int>> *moves)
{
    if (depth == 0) {
        return false;
    }
    const int bc = board.getBlankColumn();
    const int br = board.getBlankRow();
    std::vector<std::pair<int, int>> cells;
    for (int i = 0; i < BOARD_SIZE; i++) {
        if (i != bc) cells.push_back({ i, br });
        if (i != br) cells.push_back({ bc, i });
    }
    // Breadth first: one move, then deeper.
    for (int d = 1; d <= depth; d++) {
        for (const auto &c : cells) {
            GameBoard next = board;
            next.setRandom(nullptr);
            int from[2];
            if (next.move(c.first, c.second, from) != MOVE_LEGAL) {
                continue;
            }
            if (d == 1) {
                if (!next.isFreeOfCrunches()) {
                    moves->assign(1, c);
                    return true;
                }
            } else if (next.isFreeOfCrunches()) {
                std::vector<std::pair<int, int>> rest;
                if (s_findLineMoves(next, d - 1, &rest) && (int)rest.size() == d - 1) {
                    moves->assign(1, c);
                    moves->insert(moves->end(), rest.begin(), rest.end());
                    return true;
                }
            }
        }
    }
    return false;
}

// Enter on the title, the lesson's five moves, the bonus count, and Enter on
// level 2's hint page: level 2 is being played.
void s_lessonIntoLevelTwo(Demo *demo)
{
    demo->ticks(300);
    demo->key(KC_RETURN, '\r');
    demo->ticks(1300);
    const int steps[5][2] = { { 1, 0 }, { 2, 0 }, { 3, 0 }, { 3, 1 }, { 0, 1 } };
    for (const auto &s : steps) {
        demo->cell(s[0], s[1]);
        demo->ticks(1600);
    }
    demo->ticks(5500);
    demo->key(KC_RETURN, '\r');
    demo->ticks(1300);
}

// Developer mode, then the level clock wound down past zero: game over.
void s_runTheClockOut(Demo *demo)
{
    demo->clockOut();
    demo->ticks(200);
}

// A whole game: the lesson, level 2 with moves chosen from the board the
// replayed seed deals, the clock run out with the developer keys, the name
// entered; the program must store the same score this process computed.
TEST(GameProgram, LongDemoReplaysExactlyIntoTheHighScores)
{
    if (!pathExists(kProgram) || !pathExists(kArchive)) {
        GTEST_SKIP() << "program or asset archive not built";
    }
    ScratchDir work("gameapp"), home("gameapp");
    ASSERT_FALSE(work.path.empty());
    ASSERT_FALSE(home.path.empty());

    Demo demo;
    s_lessonIntoLevelTwo(&demo);

    ShadowGame shadow(demo);
    shadow.play(demo);
    ASSERT_EQ(GS_PLAYING, shadow.app.m_state);
    ASSERT_EQ(1, shadow.app.m_levelIndex);
    ASSERT_EQ(1, shadow.app.m_settings.m_iDidTutorial);
    // 60 for the row, 90 for the column, 3000 for an unmoved clock.
    ASSERT_EQ(3150u, shadow.app.m_score);

    std::vector<std::pair<int, int>> moves;
    ASSERT_TRUE(s_findLineMoves(shadow.app.m_board, 4, &moves)) << "no line within four moves";
    for (const auto &m : moves) {
        demo.cell(m.first, m.second);
        demo.ticks(1500);
    }
    shadow.play(demo);
    ASSERT_EQ(GS_PLAYING, shadow.app.m_state);
    ASSERT_LT(shadow.app.m_crunchesNeeded, 3);
    ASSERT_GT(shadow.app.m_score, 3150u);
    const uint32_t finalScore = shadow.app.m_score;

    s_runTheClockOut(&demo);
    // The game-over picture holds two seconds; the name entry and the table
    // that follows are closed.
    demo.ticks(2500);
    demo.quit();
    demo.ticks(200);
    demo.quit();
    demo.ticks(300);
    ASSERT_TRUE(demo.write(work.path + "/demo.bin"));

    const int status = s_runProgram(kProgram, work.path, home.path, { "--demo", "demo.bin", "--nosound" });
    const std::string output = readWholeFile(work.path + "/output.txt");
    ASSERT_EQ(0, status) << output;

    HighScoreEntry best;
    ASSERT_TRUE(s_readHighScore(home.path, 0, &best)) << output;
    EXPECT_EQ(finalScore, best.m_uScore) << "the replay dealt the same boards";
    EXPECT_EQ(2, best.m_iLevel);
    HighScoreEntry second;
    ASSERT_TRUE(s_readHighScore(home.path, 1, &second));
    EXPECT_EQ(0u, second.m_uScore);
    int32_t value = -1;
    ASSERT_TRUE(s_readSetting(home.path, "Did Tutorial", &value));
    EXPECT_EQ(1, value);
}

// A whole game from a start time: the lesson with a pause in it (the window
// loses the focus; a click resumes), level 2 run out with the developer
// keys, the game-over hold waited out and closed, a name typed and entered,
// the table closed. gameOver receives the time the hold opens.
Demo s_wholeGame(int64_t start, int64_t *gameOver)
{
    Demo demo;
    demo.now = start;
    demo.ticks(300);
    demo.key(KC_RETURN, '\r');
    demo.ticks(1300);
    const int steps[5][2] = { { 1, 0 }, { 2, 0 }, { 3, 0 }, { 3, 1 }, { 0, 1 } };
    for (int i = 0; i < 5; i++) {
        demo.cell(steps[i][0], steps[i][1]);
        demo.ticks(1600);
        if (i == 2) {
            demo.now += 1;
            demo.events.push_back(demo.blank(ET_ACTIVATE));
            demo.ticks(700);
            demo.now += 1;
            HEvent back = demo.blank(ET_ACTIVATE);
            back.m_iFlag = 1;
            demo.events.push_back(back);
            demo.ticks(100);
            demo.cell(5, 5);
            demo.ticks(300);
        }
    }
    // Bonus count and next level, then level 2's hint page.
    demo.ticks(5500);
    demo.key(KC_RETURN, '\r');
    demo.ticks(1300);
    demo.clockOut();
    *gameOver = demo.now;
    demo.ticks(2500);
    demo.key(KC_RETURN, '\r');
    demo.ticks(500);
    for (const char c : { 'A', 'd', 'a' }) {
        demo.key(0, c);
        demo.ticks(100);
    }
    demo.key(KC_RETURN, '\r');
    demo.ticks(300);
    demo.quit();
    demo.ticks(300);
    return demo;
}

// Every file of the game's registry folder in a home, by name.
std::string s_registryFiles(const std::string &home)
{
    std::string all;
    const std::string folder = home + "/.quorvex";
    DIR *dir = opendir(folder.c_str());
    if (!dir) {
        return all;
    }
    std::vector<std::string> names;
    while (const dirent *entry = readdir(dir)) {
        if (entry->d_name[0] != '.') {
            names.push_back(entry->d_name);
        }
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    for (const std::string &name : names) {
        all += name + ":" + readWholeFile(folder + "/" + name) + "\n";
    }
    return all;
}

// The same whole game, once from 1000 ms and once from shortly before the
// 32-bit tick count wraps, so that the pause and the next level fall past
// 2^31 ms and the game-over hold and the name entry across the wrap: both
// must leave the same registry.
TEST(GameProgram, WholeGameAcrossTheClockWrapEndsAsFromAnyOtherTime)
{
    if (!pathExists(kProgram) || !pathExists(kArchive)) {
        GTEST_SKIP() << "program or asset archive not built";
    }
    int64_t gameOver = 0;
    const Demo early = s_wholeGame(1000, &gameOver);
    const int64_t lateStart = 0x100000000ll - 1000 - (gameOver - 1000);
    const Demo late = s_wholeGame(lateStart, &gameOver);
    ASSERT_EQ(0x100000000ll - 1000, gameOver);
    ASSERT_GT(late.now, 0x100000000ll) << "the demo crosses the wrap";

    std::string registries[2];
    const Demo *demos[2] = { &early, &late };
    for (int i = 0; i < 2; i++) {
        ScratchDir work("gameapp"), home("gameapp");
        ASSERT_TRUE(demos[i]->write(work.path + "/demo.bin"));
        const int status = s_runProgram(kProgram, work.path, home.path, { "--demo", "demo.bin", "--nosound" });
        const std::string output = readWholeFile(work.path + "/output.txt");
        ASSERT_EQ(0, status) << output;
        registries[i] = s_registryFiles(home.path);
        HighScoreEntry best;
        ASSERT_TRUE(s_readHighScore(home.path, 0, &best)) << i << output;
        EXPECT_EQ(3150u, best.m_uScore) << i;
        EXPECT_EQ(2, best.m_iLevel) << i;
        const std::string name = best.m_szName;
        EXPECT_EQ("Ada", name.substr(name.size() < 3 ? 0 : name.size() - 3)) << i << " " << name;
    }
    EXPECT_FALSE(registries[0].empty());
    EXPECT_EQ(registries[0], registries[1]);
}

// Closing the window while a question is asked keeps what the player has,
// and a click into the name line only focuses it. The demo is recorded into
// the very journal the run is asked to write, named by an absolute path that
// holds a blank: it must be replayed, not emptied.
TEST(GameProgram, QuitsDuringQuestionsKeepTheGameAndTheScores)
{
    if (!pathExists(kProgram) || !pathExists(kArchive)) {
        GTEST_SKIP() << "program or asset archive not built";
    }
    ScratchDir work("game app"), home("gameapp");
    ASSERT_FALSE(work.path.empty());
    ASSERT_FALSE(home.path.empty());

    Demo demo;
    s_lessonIntoLevelTwo(&demo);
    ShadowGame shadow(demo);
    shadow.play(demo);
    ASSERT_EQ(GS_PLAYING, shadow.app.m_state);
    ASSERT_GT(shadow.app.m_score, 0u);

    // The restart question, quit: level 2 goes on with its score.
    demo.now += 1;
    HEvent restart = demo.blank(ET_COMMAND);
    restart.m_iFlag = GAME_COMMAND_RESTART;
    demo.events.push_back(restart);
    demo.ticks(300);
    demo.quit();
    demo.ticks(300);
    s_runTheClockOut(&demo);
    // Game over, then the name: a click into the line, the pre-filled login
    // name rubbed out, a name typed and Enter.
    demo.ticks(2500);
    demo.quit();
    demo.ticks(200);
    demo.click(23 + 32 + 10, 17 + 273 + 5);
    demo.ticks(100);
    for (int i = 0; i < 20; i++) {
        demo.key(KC_BACK, 8);
    }
    for (const char *c = "Wren"; *c; c++) {
        demo.key(0, *c);
    }
    demo.key(KC_RETURN, '\r');
    demo.ticks(300);
    // The table that follows: CLEAR ALL, quit during the question, OK.
    demo.click(23 + 60 + 30, 17 + 378 + 10);
    demo.ticks(300);
    demo.quit();
    demo.ticks(300);
    demo.click(23 + 290 + 20, 17 + 378 + 10);
    demo.ticks(300);
    const std::string journal = work.path + "/journal.bin";
    ASSERT_TRUE(demo.write(journal));
    const std::string recorded = readWholeFile(journal);

    const int status = s_runProgram(kProgram, work.path, home.path, { "--journal", "--demo", journal, "--nosound" });
    const std::string output = readWholeFile(work.path + "/output.txt");
    ASSERT_EQ(0, status) << "the demo was replayed to its end\n" << output;
    EXPECT_TRUE(readWholeFile(journal) == recorded) << "the demo file was written over";
    EXPECT_NE(std::string::npos, output.find("journal.bin is the demo file being replayed")) << output;

    HighScoreEntry best;
    ASSERT_TRUE(s_readHighScore(home.path, 0, &best)) << output;
    EXPECT_STREQ("Wren", best.m_szName);
    EXPECT_EQ(shadow.app.m_score, best.m_uScore) << "the restart question's quit kept the game";
    EXPECT_EQ(shadow.app.m_levelIndex + 1, best.m_iLevel);
}

TEST(GameProgram, DemoThatStopsAtTheTitleLeavesTheTutorialToDo)
{
    if (!pathExists(kProgram) || !pathExists(kArchive)) {
        GTEST_SKIP() << "program or asset archive not built";
    }
    ScratchDir work("gameapp"), home("gameapp");
    Demo demo;
    demo.ticks(200);
    // Enter on the title starts the lesson; the first scripted click only.
    HEvent enter = demo.blank(ET_KEYDOWN);
    enter.m_iKey = KC_RETURN;
    enter.m_cChar = '\r';
    demo.events.push_back(enter);
    demo.ticks(1200);
    demo.cell(1, 0);
    demo.ticks(800);
    // An explicit close of the window.
    demo.now += 1;
    demo.events.push_back(demo.blank(ET_QUIT));
    demo.ticks(100);
    ASSERT_TRUE(demo.write(work.path + "/demo.bin"));

    const int status = s_runProgram(kProgram, work.path, home.path,
                                    { "--demo", "demo.bin", "--nosound" });
    ASSERT_EQ(0, status) << readWholeFile(work.path + "/output.txt");
    int32_t value = -1;
    ASSERT_TRUE(s_readSetting(home.path, "Did Tutorial", &value));
    EXPECT_EQ(0, value) << "quitting during the lesson plays it again next time";
    EXPECT_FALSE(pathExists(work.path + "/trace.txt")) << "no trace unless asked";
}

TEST(GameProgram, DeveloperKeysRestartSoundAndSwitchFullscreenOnce)
{
    if (!pathExists(kProgram) || !pathExists(kArchive)) {
        GTEST_SKIP() << "program or asset archive not built";
    }
    ScratchDir work("gameapp"), home("gameapp");
    Demo demo;
    demo.ticks(200);
    auto type = [&demo](char c, int key) {
        demo.now += 1;
        HEvent e = demo.blank(ET_KEYDOWN);
        e.m_iKey = key;
        e.m_cChar = (uint8_t)c;
        demo.events.push_back(e);
        demo.ticks(32);
    };
    // Developer mode on, restart the sound, switch to full screen.
    type('[', 0);
    type(']', 0);
    type('[', 0);
    type('s', KC_A + ('s' - 'a'));
    type('v', KC_A + ('v' - 'a'));
    demo.ticks(200);
    // A level start stores the settings.
    type('\r', KC_RETURN);
    demo.ticks(1200);
    ASSERT_TRUE(demo.write(work.path + "/demo.bin"));

    const int status = s_runProgram(kProgram, work.path, home.path, { "--demo", "demo.bin" });
    const std::string output = readWholeFile(work.path + "/output.txt");
    ASSERT_EQ(0, status) << output;
    int32_t value = -1;
    ASSERT_TRUE(s_readSetting(home.path, "Fullscreen", &value)) << output;
    EXPECT_EQ(1, value) << "one switch, stored as on";
}

TEST(GameProgram, MissingArchiveStillExitsWithZero)
{
    if (!pathExists(kProgram)) {
        GTEST_SKIP() << "program not built";
    }
    ScratchDir work("gameapp"), home("gameapp"), install("gameapp");
    // A copy of the program with an empty resources folder beside it.
    ASSERT_EQ(0, mkdir((install.path + "/bin").c_str(), 0755));
    ASSERT_EQ(0, mkdir((install.path + "/Resources").c_str(), 0755));
    const std::string copy = install.path + "/bin/gobstrel-shared";
    const std::string cmd = std::string("cp '") + kProgram + "' '" + copy + "'";
    ASSERT_EQ(0, system(cmd.c_str()));

    Demo demo;
    demo.ticks(100);
    ASSERT_TRUE(demo.write(work.path + "/demo.bin"));
    const int status = s_runProgram(copy, work.path, home.path, { "--demo", "demo.bin", "--nosound" });
    EXPECT_EQ(0, status) << readWholeFile(work.path + "/output.txt");
}

// Stores the seven settings in home's registry as a run stores them, so a
// run that writes them back changes no byte; the file's bytes.
std::string s_storeSettings(const std::string &home)
{
    s_withRegistry(home, [](HRegistry *registry) {
        for (int i = 0; i < 7; i++) {
            // Start level 6, every other setting 1 (the fullscreen one too: a
            // run without a display must not care).
            const int32_t value = i == 0 ? 6 : 1;
            registry->setBinary(GameSettings::sm_keyName(i), &value, 4);
        }
        return true;
    });
    return readWholeFile(home + "/.quorvex/registry_Quorvex_Gobstrel");
}

// The program without a display, the way a user meets it over ssh or on a
// text console: no SDL_VIDEODRIVER unless driver is given, DISPLAY and TERM
// as given (null: unset), standard input from /dev/null, and as the user uid
// when it is not 0. Its standard output lands in work/stdout.txt, its
// standard error in *errors. The exit status; -1 when it did not end by
// itself within the time limit or died of a signal; 124 when uid cannot run
// the program.
int s_runWithoutDisplay(const std::string &work, const std::string &home, const char *display,
                        const char *term, const char *driver, const char *option, uid_t uid,
                        std::string *errors)
{
    return runChildCapturing(STDERR_FILENO, [&] {
        if (chdir(work.c_str()) != 0) {
            _exit(126);
        }
        setenv("HOME", home.c_str(), 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        unsetenv("SDL_VIDEODRIVER");
        unsetenv("DISPLAY");
        unsetenv("TERM");
        if (driver) {
            setenv("SDL_VIDEODRIVER", driver, 1);
        }
        if (display) {
            setenv("DISPLAY", display, 1);
        }
        if (term) {
            setenv("TERM", term, 1);
        }
        const int in = open("/dev/null", O_RDONLY);
        const int out = open("stdout.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in < 0 || out < 0) {
            _exit(126);
        }
        dup2(in, 0);
        dup2(out, 1);
        becomeUser(kProgram, uid);
        execl(kProgram, kProgram, "--nosound", option, (char *)nullptr);
        _exit(127);
    }, errors, 30);
}

// Over ssh, on a text console, or when the X server refuses: every alert is
// answered on the console, the run ends by itself and the registry file is
// left as it was. With a home that cannot be written, the write-back at exit
// reports on the console too, even when a text-mode driver the user asked
// for ends the process inside SDL's start-up while a box is being opened.
TEST(GameProgram, WithoutADisplayEveryAlertIsAnsweredOnTheConsole)
{
    if (!pathExists(kProgram) || !pathExists(kArchive)) {
        GTEST_SKIP() << "program or asset archive not built";
    }
    ScratchDir work("nodisplay"), home("nodisplay");
    ASSERT_FALSE(work.path.empty());
    ASSERT_FALSE(home.path.empty());
    const std::string registryPath = home.path + "/.quorvex/registry_Quorvex_Gobstrel";
    const std::string registry = s_storeSettings(home.path);
    ASSERT_FALSE(registry.empty());
    ASSERT_EQ(0, chmod(work.path.c_str(), 0777));
    // Root writes anywhere: the program runs as nobody where that matters.
    const uid_t nobody = getuid() == 0 ? (uid_t)65534 : 0;

    struct {
        const char *display;
        const char *term;
        const char *driver;
        const char *option;
        bool readOnlyHome;
    } cases[] = {
        { nullptr, nullptr, nullptr, nullptr, false },
        { nullptr, "xterm", nullptr, nullptr, false },
        // A display that does not exist, as when the X server refuses.
        { ":4093", "xterm", nullptr, nullptr, false },
        { nullptr, nullptr, nullptr, nullptr, true },
        // Asked for by name, it ends the process when it finds no terminal;
        // the changed window setting then has to be written back at exit.
        { nullptr, nullptr, "caca", "--windowed", true },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string("DISPLAY=") + (c.display ? c.display : "(unset)") + " TERM=" +
                     (c.term ? c.term : "(unset)") + " SDL_VIDEODRIVER=" + (c.driver ? c.driver : "(unset)") +
                     (c.readOnlyHome ? " read-only home" : ""));
        const mode_t mode = c.readOnlyHome ? 0555 : 0755;
        ASSERT_EQ(0, chmod(registryPath.c_str(), c.readOnlyHome ? 0444 : 0644));
        ASSERT_EQ(0, chmod((home.path + "/.quorvex").c_str(), mode));
        ASSERT_EQ(0, chmod(home.path.c_str(), mode));
        std::string errors;
        const int status = s_runWithoutDisplay(work.path, home.path, c.display, c.term, c.driver, c.option,
                                               c.readOnlyHome ? nobody : 0, &errors);
        const std::string output = readWholeFile(work.path + "/stdout.txt");
        // Writable again, so the scratch folder can go.
        chmod(home.path.c_str(), 0755);
        chmod((home.path + "/.quorvex").c_str(), 0755);
        if (status == 124) {
            GTEST_SKIP() << "the program cannot be run as user " << nobody;
        }
        if (c.driver) {
            EXPECT_NE(-1, status) << output << errors;
        } else {
            EXPECT_EQ(0, status) << output << errors;
            EXPECT_NE(std::string::npos, errors.find("Alert: initScreen: SDL_Init() failed: ")) << errors;
        }
        EXPECT_NE(std::string::npos, output.find("(type 'O') : ")) << output << errors;
        EXPECT_EQ(registry, readWholeFile(registryPath));
    }
}

TEST(GameProgram, SigtermEndsTheProgramWhileAnAlertWaits)
{
    const std::string font = std::string(GOBSTREL_BINARY_DIR) + "/Resources/quorvex.ttf";
    if (!pathExists(kProgram) || !pathExists(font)) {
        GTEST_SKIP() << "program or box font not built";
    }
    ScratchDir work("gameapp"), home("gameapp"), install("gameapp");
    ASSERT_EQ(0, mkdir((install.path + "/bin").c_str(), 0755));
    ASSERT_EQ(0, mkdir((install.path + "/Resources").c_str(), 0755));
    const std::string copy = install.path + "/bin/gobstrel-shared";
    const std::string cmd = std::string("cp '") + kProgram + "' '" + copy + "' && cp '" + font + "' '" +
                            install.path + "/Resources/'";
    ASSERT_EQ(0, system(cmd.c_str()));
    const std::string registry = s_storeSettings(home.path);

    // The missing archive is reported in a window of the box's own on SDL's
    // dummy display, where no key will ever be pressed.
    const pid_t pid = startProgram(copy, work.path, home.path, { "--nosound" }, kChildSeconds, false);
    ASSERT_GT(pid, 0);
    usleep(1500000);
    int status = 0;
    const bool waiting = waitpid(pid, &status, WNOHANG) == 0;
    if (waiting) {
        kill(pid, SIGTERM);
    }
    ASSERT_TRUE(waiting) << "the alert did not wait: " << readWholeFile(work.path + "/output.txt");
    EXPECT_EQ(0, waitProgram(pid, 10)) << readWholeFile(work.path + "/output.txt");
    EXPECT_EQ(registry, readWholeFile(home.path + "/.quorvex/registry_Quorvex_Gobstrel"));
}

// Stores one 4-byte setting of the game in a home folder.
bool s_writeSetting(const std::string &home, const char *key, int32_t value)
{
    return s_withRegistry(home, [&](HRegistry *registry) { return registry->setBinary(key, &value, 4); });
}

// A file name may hold any word: one that reads like a developer switch
// switches nothing. A lesson already done stays done when a game starts,
// and no benchmark box waits for a key that never comes.
TEST(GameProgram, SwitchWordsInADemoNameSwitchNothing)
{
    if (!pathExists(kProgram) || !pathExists(kArchive)) {
        GTEST_SKIP() << "program or asset archive not built";
    }
    Demo demo;
    demo.ticks(300);
    demo.key(KC_RETURN, '\r');
    demo.ticks(1300);
    demo.quit();
    demo.ticks(100);
    for (const char *name : { "x-tutorial.bin", "run-benchmark/demo.bin" }) {
        SCOPED_TRACE(name);
        ScratchDir work("gameapp"), home("gameapp");
        ASSERT_EQ(0, mkdir((work.path + "/run-benchmark").c_str(), 0755));
        ASSERT_TRUE(demo.write(work.path + "/" + name));
        ASSERT_TRUE(s_writeSetting(home.path, "Did Tutorial", 1));
        const int seconds = 40;
        const int status = waitProgram(startProgram(kProgram, work.path, home.path,
                                                    { "--demo", name, "--nosound" }, seconds, false),
                                       seconds);
        const std::string output = readWholeFile(work.path + "/output.txt");
        ASSERT_EQ(0, status) << output;
        int32_t value = -1;
        ASSERT_TRUE(s_readSetting(home.path, "Did Tutorial", &value)) << output;
        EXPECT_EQ(1, value) << output;
    }
}

// Waits until the trace holds the text; false after the given seconds.
bool s_waitForTrace(const std::string &work, const char *text, int seconds)
{
    for (int i = 0; i < seconds * 10; i++) {
        if (readWholeFile(work + "/trace.txt").find(text) != std::string::npos) {
            return true;
        }
        usleep(100000);
    }
    return false;
}

// A demo that can't be read leaves the run on live input; when it is the
// journal the run was asked to write, it is still never emptied.
TEST(GameProgram, UnreadableDemoIsNotRecordedOverByTheJournal)
{
    if (!pathExists(kProgram) || !pathExists(kArchive)) {
        GTEST_SKIP() << "program or asset archive not built";
    }
    ScratchDir work("gameapp"), home("gameapp");
    ASSERT_FALSE(work.path.empty());
    ASSERT_FALSE(home.path.empty());
    Demo demo;
    demo.ticks(300);
    demo.quit();
    const std::string journal = work.path + "/journal.bin";
    ASSERT_TRUE(demo.write(journal));
    const std::string recorded = readWholeFile(journal);
    // Root reads anything: the program runs as nobody, who owns the journal
    // and may write it but not read it.
    const uid_t uid = getuid() == 0 ? (uid_t)65534 : 0;
    if (uid != 0) {
        ASSERT_EQ(0, chown(work.path.c_str(), uid, uid));
        ASSERT_EQ(0, chown(home.path.c_str(), uid, uid));
        ASSERT_EQ(0, chown(journal.c_str(), uid, uid));
    }
    ASSERT_EQ(0, chmod(journal.c_str(), 0200));

    const int seconds = 60;
    const pid_t pid = startProgram(kProgram, work.path, home.path,
                                   { "--journal", "--trace", "--demo", "journal.bin", "--nosound" }, seconds, false,
                                   uid);
    ASSERT_GT(pid, 0);
    // Live input, of which there is none: closed as a user would.
    const bool started = s_waitForTrace(work.path, "...done initializing subsystems", 30);
    usleep(300000);
    kill(pid, SIGTERM);
    const int status = waitProgram(pid, seconds);
    const std::string output = readWholeFile(work.path + "/output.txt");
    if (status == 124) {
        GTEST_SKIP() << "the program cannot be run as user " << uid;
    }
    EXPECT_TRUE(started) << output;
    EXPECT_EQ(0, status) << output;
    EXPECT_TRUE(readWholeFile(journal) == recorded) << "the demo file was written over";
    EXPECT_NE(std::string::npos, output.find("journal.bin is the demo file, which could not be opened: recording nothing"))
        << output;
}

// A window close or a signal ends a replay at once, as it ends a live run.
TEST(GameProgram, SigtermEndsALongReplay)
{
    if (!pathExists(kProgram) || !pathExists(kArchive)) {
        GTEST_SKIP() << "program or asset archive not built";
    }
    ScratchDir work("gameapp"), home("gameapp");
    ASSERT_FALSE(work.path.empty());
    ASSERT_FALSE(home.path.empty());
    // Idle ticks 1 ms apart on the title screen: the game paces them at 5 ms,
    // so the replay lasts minutes.
    Demo demo;
    demo.ticks(30000, 1);
    ASSERT_TRUE(demo.write(work.path + "/long.bin"));

    const int seconds = 60;
    const pid_t pid = startProgram(kProgram, work.path, home.path, { "--demo", "long.bin", "--trace", "--nosound" },
                                   seconds, false);
    ASSERT_GT(pid, 0);
    const bool started = s_waitForTrace(work.path, "...done initializing subsystems", 30);
    usleep(2000000);
    int status = 0;
    const bool running = waitpid(pid, &status, WNOHANG) == 0;
    if (!started || !running) {
        if (running) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
        }
        FAIL() << "the replay did not start or did not last: " << readWholeFile(work.path + "/output.txt");
    }
    kill(pid, SIGTERM);

    // At most 2 s from the signal to the end, else the replay ran on.
    pid_t done = 0;
    for (int i = 0; i < 200 && done == 0; i++) {
        done = waitpid(pid, &status, WNOHANG);
        if (done == 0) {
            usleep(10000);
        }
    }
    if (done == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    const std::string output = readWholeFile(work.path + "/output.txt");
    ASSERT_EQ(pid, done) << "still replaying 2 s after SIGTERM\n" << output;
    ASSERT_TRUE(WIFEXITED(status)) << output;
    EXPECT_EQ(0, WEXITSTATUS(status)) << output;
}

} // namespace
