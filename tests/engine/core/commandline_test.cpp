#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

#include "HCommandLine.h"
#include "HCvarManager.h"
#include "child_process.h"
#include "message_hook.h"

namespace {

// Runs fn in a child with its standard output captured; returns the exit
// status, or -1 when it did not exit normally within the time limit.
int runChild(const std::function<void()> &fn, std::string *pOutput, int iSeconds = 20)
{
    return runChildCapturing(STDOUT_FILENO, fn, pOutput, iSeconds);
}

std::string parse(std::vector<const char *> args, size_t iSize = COMMAND_LINE_SIZE)
{
    args.insert(args.begin(), "gobstrel");
    std::vector<char *> argv;
    for (const char *a : args) {
        argv.push_back(const_cast<char *>(a));
    }
    argv.push_back(nullptr);
    std::vector<char> buffer(iSize + 1, '#');
    EXPECT_TRUE(parseArguments(buffer.data(), iSize, (int)args.size(), argv.data()));
    EXPECT_EQ('#', buffer[iSize]); // nothing past the given size
    return std::string(buffer.data());
}

const std::string kCursor = "+set qv_spriteCursor 0 ";

TEST(CommandLine, NoOptionsGiveOnlyTheCursorCommand)
{
    EXPECT_EQ(kCursor, parse({}));
    EXPECT_EQ(kCursor, parse({ "unknown", "-help", "--", "-x", "nosound" }));
}

TEST(CommandLine, EveryOptionBothDashesAnyCase)
{
    for (const char *szArg : { "-nosound", "--nosound", "-NOSOUND", "--NoSound" }) {
        EXPECT_EQ("+set c_soundDriver null " + kCursor, parse({ szArg })) << szArg;
    }
    for (const char *szArg : { "-swcursor", "--SWCURSOR" }) {
        EXPECT_EQ("", parse({ szArg })) << szArg;
    }
    for (const char *szArg : { "-trace", "--Trace" }) {
        EXPECT_EQ(kCursor + "+set qv_trace 1 ", parse({ szArg })) << szArg;
    }
    for (const char *szArg : { "-journal", "--JOURNAL" }) {
        EXPECT_EQ(kCursor + "+set qv_journal 1 ", parse({ szArg })) << szArg;
    }
    for (const char *szArg : { "-demo", "--DeMo" }) {
        EXPECT_EQ(kCursor + "+set qv_demoFile play.dem ", parse({ szArg, "play.dem" })) << szArg;
    }
}

TEST(CommandLine, CommandsComeInFixedOrder)
{
    EXPECT_EQ("+set c_soundDriver null " + kCursor + "+set qv_trace 1 ",
              parse({ "--trace", "--nosound" }));
    EXPECT_EQ(kCursor + "+set qv_demoFile f +set qv_trace 1 +set qv_journal 1 ",
              parse({ "-journal", "-demo", "f", "-trace" }));
    EXPECT_EQ("+set c_soundDriver null +set qv_demoFile b +set qv_journal 1 ",
              parse({ "-demo", "a", "--swcursor", "-nosound", "-demo", "b", "--journal" }));
}

TEST(CommandLine, DemoTakesTheNextArgumentWhateverItIs)
{
    EXPECT_EQ(kCursor + "+set qv_demoFile -trace ", parse({ "-demo", "-trace" }));
}

TEST(CommandLine, DemoNameOfAnyShapeReachesItsVariableWhole)
{
    // Blanks, ';', quotes and backslashes would split or bend a bare token;
    // the name is quoted then, and the commands after it still apply.
    for (const char *szName : { "/tmp/my demos/run 1.bin", "a;b", "say \"hi\"", "back\\ slash",
                                "", "/abs/plain.bin" }) {
        const std::string command = parse({ "-demo", szName, "-trace" });
        HCvarManager cvars;
        ASSERT_TRUE(cvars.initCvarManager());
        cvars.parseCommandLine(command.c_str());
        const char *szValue = cvars.getVariableString("qv_demoFile");
        EXPECT_STREQ(szName, szValue ? szValue : "<none>") << command;
        EXPECT_EQ(1, cvars.getVariableInt("qv_trace")) << command;
        cvars.shutdown();
    }
    EXPECT_EQ(kCursor + "+set qv_demoFile \"my demo.bin\" ", parse({ "-demo", "my demo.bin" }));
}

TEST(CommandLine, LongStringIsCutAtTheBuffer)
{
    const std::string full = parse({ "--nosound", "--trace" });
    EXPECT_EQ(full.substr(0, 9), parse({ "--nosound", "--trace" }, 10));
    EXPECT_EQ("", parse({ "--nosound" }, 1));
}

TEST(CommandLine, UsageText)
{
    char szText[1024];
    formatUsage(szText, sizeof(szText), "Gobstrel");
    const std::string text = szText;
    EXPECT_EQ(0u, text.find("Gobstrel\n"));
    EXPECT_NE(std::string::npos,
              text.find("\n\nOptions:\n"
                        "   --help            Print this information and exit.\n"
                        "   --nosound         Don't play any sound/music.\n"
                        "   --swcursor        Use the pretty software cursor (may be slower).\n"
                        "   --fullscreen      Force fullscreen mode.\n"
                        "   --windowed        Force windowed mode.\n"
                        "\n"));
    EXPECT_EQ(std::string::npos, text.find("journal"));
    EXPECT_EQ(std::string::npos, text.find("demo"));
}

class CommandLineExit : public testing::Test {
protected:
    void SetUp() override
    {
        char szTemplate[] = "/tmp/gobstrel-cmd-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(szTemplate));
        m_dir = szTemplate;
    }
    void TearDown() override
    {
        std::string cmd = "timeout 30 rm -rf '" + m_dir + "'";
        EXPECT_EQ(0, system(cmd.c_str()));
    }
    std::string m_dir;
    ScopedMessageHook m_hook;
};

TEST_F(CommandLineExit, HelpPrintsUsageAndExits42)
{
    const std::string options = "\n\nOptions:\n"
                                "   --help            Print this information and exit.\n"
                                "   --nosound         Don't play any sound/music.\n"
                                "   --swcursor        Use the pretty software cursor (may be slower).\n"
                                "   --fullscreen      Force fullscreen mode.\n"
                                "   --windowed        Force windowed mode.\n"
                                "\n";
    for (const char *szArg : { "-h", "--help", "--HELP", "-H" }) {
        std::string out;
        EXPECT_EQ(USAGE_EXIT_STATUS,
                  runChild([&] { parse({ "--trace", szArg, "--bogus" }); }, &out))
            << szArg;
        // The application's name heads it; the option list ends it.
        EXPECT_EQ(0u, out.find("Gobstrel\n")) << szArg;
        ASSERT_GE(out.size(), options.size()) << szArg;
        EXPECT_EQ(options, out.substr(out.size() - options.size())) << szArg;
    }
    // Not help options: they are ignored like any unknown argument.
    for (const char *szArg : { "-help", "--h", "help" }) {
        EXPECT_EQ(kCursor, parse({ szArg })) << szArg;
    }
    // printUsage itself, called directly.
    std::string out;
    EXPECT_EQ(USAGE_EXIT_STATUS, runChild([] { printUsage(); }, &out));
    EXPECT_EQ(0u, out.find("Gobstrel\n"));
}

TEST_F(CommandLineExit, ArgumentsAfterHelpAreNotLookedAt)
{
    const std::string home = m_dir;
    std::string out;
    EXPECT_EQ(USAGE_EXIT_STATUS, runChild([&] {
        setenv("HOME", home.c_str(), 1);
        parse({ "--help", "--fullscreen", "-demo" });
    }, &out));
    EXPECT_EQ(std::string::npos, out.find("Failed to specify demo file"));
    EXPECT_NE(0, access((home + "/.quorvex/registry_Quorvex_Gobstrel").c_str(), F_OK));
}

TEST_F(CommandLineExit, FullscreenAndWindowedWriteAtOnceWithOneDash)
{
    const char *szOldHome = getenv("HOME");
    const std::string oldHome = szOldHome ? szOldHome : "";
    setenv("HOME", m_dir.c_str(), 1);
    const std::string file = m_dir + "/.quorvex/registry_Quorvex_Gobstrel";
    auto stored = [&]() {
        std::string bytes;
        FILE *f = fopen(file.c_str(), "rb");
        if (f) {
            char buffer[256];
            bytes.assign(buffer, fread(buffer, 1, sizeof(buffer), f));
            fclose(f);
        }
        return bytes;
    };
    const char on[] = "Fullscreen\0\x04\0\0\0\x01\0\0\0";
    const char off[] = "Fullscreen\0\x04\0\0\0\0\0\0\0";
    // Neither option adds a command of its own.
    EXPECT_EQ(kCursor, parse({ "-Fullscreen" }));
    EXPECT_EQ(std::string(on, sizeof(on) - 1), stored());
    EXPECT_EQ(kCursor, parse({ "-WINDOWED" }));
    EXPECT_EQ(std::string(off, sizeof(off) - 1), stored());
    setenv("HOME", oldHome.c_str(), 1);
}

TEST_F(CommandLineExit, UnusableRegistryIsReportedAndParsingGoesOn)
{
    // A directory where the registry file should be: it cannot be opened.
    ASSERT_EQ(0, mkdir((m_dir + "/.quorvex").c_str(), 0700));
    ASSERT_EQ(0, mkdir((m_dir + "/.quorvex/registry_Quorvex_Gobstrel").c_str(), 0700));
    const char *szOldHome = getenv("HOME");
    const std::string oldHome = szOldHome ? szOldHome : "";
    setenv("HOME", m_dir.c_str(), 1);
    testing::internal::CaptureStdout();
    const std::string result = parse({ "--fullscreen", "--nosound", "--windowed" });
    const std::string out = testing::internal::GetCapturedStdout();
    setenv("HOME", oldHome.c_str(), 1);
    EXPECT_EQ("Failed to open registry. Can't change fullscreen state.\n"
              "Failed to open registry. Can't change fullscreen state.\n",
              out);
    EXPECT_EQ("+set c_soundDriver null " + kCursor, result);
}

TEST_F(CommandLineExit, DemoWithoutFileExits42)
{
    std::string out;
    EXPECT_EQ(USAGE_EXIT_STATUS, runChild([] { parse({ "--trace", "-demo" }); }, &out));
    EXPECT_EQ("Failed to specify demo file, e.g. -demo demo.dem\n", out);
}

TEST_F(CommandLineExit, FullscreenBeforeHelpWritesTheRegistry)
{
    const std::string home = m_dir;
    std::string out;
    EXPECT_EQ(USAGE_EXIT_STATUS, runChild([&] {
        setenv("HOME", home.c_str(), 1);
        parse({ "--windowed", "--FULLSCREEN", "--help", "--windowed" });
    }, &out));

    FILE *f = fopen((home + "/.quorvex/registry_Quorvex_Gobstrel").c_str(), "rb");
    ASSERT_NE(nullptr, f);
    char bytes[256];
    const size_t n = fread(bytes, 1, sizeof(bytes), f);
    fclose(f);
    const char expected[] = "Fullscreen\0\x04\0\0\0\x01\0\0\0";
    ASSERT_EQ(sizeof(expected) - 1, n);
    EXPECT_EQ(0, memcmp(expected, bytes, n));
}

// Paths: a fake program under <dir>/game/bin.
class StartPaths : public CommandLineExit {
protected:
    void SetUp() override
    {
        CommandLineExit::SetUp();
        ASSERT_EQ(0, mkdir((m_dir + "/game").c_str(), 0755));
        ASSERT_EQ(0, mkdir((m_dir + "/game/bin").c_str(), 0755));
        m_program = m_dir + "/game/bin/prog";
        FILE *f = fopen(m_program.c_str(), "w");
        ASSERT_NE(nullptr, f);
        fputs("#!/bin/sh\n", f);
        fclose(f);
        ASSERT_EQ(0, chmod(m_program.c_str(), 0755));
        char szReal[4096];
        ASSERT_NE(nullptr, realpath(m_dir.c_str(), szReal));
        m_real = szReal;
        saveEnv("PATH", &m_path, &m_bPath);
        saveEnv("HOME", &m_home, &m_bHome);
        ASSERT_NE(nullptr, getcwd(szReal, sizeof(szReal)));
        m_cwd = szReal;
    }
    void TearDown() override
    {
        restoreEnv("PATH", m_path, m_bPath);
        restoreEnv("HOME", m_home, m_bHome);
        EXPECT_EQ(0, chdir(m_cwd.c_str()));
        CommandLineExit::TearDown();
    }
    static void saveEnv(const char *szName, std::string *pValue, bool *pbSet)
    {
        const char *v = getenv(szName);
        *pbSet = v != nullptr;
        *pValue = v ? v : "";
    }
    static void restoreEnv(const char *szName, const std::string &value, bool bSet)
    {
        if (bSet) {
            setenv(szName, value.c_str(), 1);
        } else {
            unsetenv(szName);
        }
    }
    std::string resources(const char *szProgram)
    {
        char szBuffer[RESOURCE_DIR_SIZE];
        getResourceDirectory(szBuffer, sizeof(szBuffer), szProgram);
        return szBuffer;
    }

    std::string m_program, m_real, m_path, m_home, m_cwd;
    bool m_bPath = false, m_bHome = false;
};

TEST_F(StartPaths, ResourcesBesideTheProgramsDirectory)
{
    char *szPath = getExecutablePath(m_program.c_str());
    ASSERT_NE(nullptr, szPath);
    EXPECT_EQ(m_real + "/game/bin/prog", szPath);
    free(szPath);
    EXPECT_EQ(m_real + "/game/Resources/", resources(m_program.c_str()));
}

TEST_F(StartPaths, FoundThroughPath)
{
    setenv("PATH", (std::string("/nonexistent::") + m_dir + "/game/bin/").c_str(), 1);
    EXPECT_EQ(m_real + "/game/Resources/", resources("prog"));

    // "~/bin" stands for the home folder's bin.
    setenv("HOME", (m_dir + "/game").c_str(), 1);
    setenv("PATH", "/nonexistent:~/bin", 1);
    EXPECT_EQ(m_real + "/game/Resources/", resources("prog"));

    // A lone '~' is the home folder itself.
    setenv("HOME", (m_dir + "/game/bin").c_str(), 1);
    setenv("PATH", "/nonexistent:~", 1);
    EXPECT_EQ(m_real + "/game/Resources/", resources("prog"));

    // Nothing found: no path, a resources directory that points nowhere real.
    setenv("PATH", "/nonexistent", 1);
    EXPECT_EQ(nullptr, getExecutablePath("prog"));
    EXPECT_EQ("/Resources/", resources("prog"));
}

TEST_F(StartPaths, UnsetPathOrHomeDoNotCrash)
{
    unsetenv("HOME");
    setenv("PATH", "~:~/x::.", 1);
    EXPECT_EQ(nullptr, getExecutablePath("no-such-program-here"));

    // No PATH: the program is taken to be in the working directory.
    unsetenv("PATH");
    ASSERT_EQ(0, chdir((m_dir + "/game/bin").c_str()));
    char *szPath = getExecutablePath("prog");
    ASSERT_NE(nullptr, szPath);
    EXPECT_EQ(m_real + "/game/bin/prog", szPath);
    free(szPath);
    EXPECT_EQ(m_real + "/game/Resources/", resources("prog"));
}

TEST_F(StartPaths, RealpathFailureGivesNoPath)
{
    EXPECT_EQ(nullptr, getExecutablePath((m_dir + "/missing/prog").c_str()));
    EXPECT_EQ("/Resources/", resources((m_dir + "/missing/prog").c_str()));
    EXPECT_EQ(nullptr, getExecutablePath(""));
    EXPECT_EQ(nullptr, getExecutablePath(nullptr));

    // A program right under a top-level directory: resources at /Resources/.
    char szTemplate[] = "/tmp/gobstrel-top-XXXXXX";
    const int fd = mkstemp(szTemplate);
    ASSERT_GE(fd, 0);
    close(fd);
    EXPECT_EQ("/Resources/", resources(szTemplate));
    unlink(szTemplate);
}

TEST_F(StartPaths, ResourceBufferIsNeverOverrun)
{
    char szBuffer[16];
    memset(szBuffer, '#', sizeof(szBuffer));
    getResourceDirectory(szBuffer, 12, m_program.c_str());
    EXPECT_LT(strlen(szBuffer), 12u);
    EXPECT_EQ('#', szBuffer[12]);
}

TEST(KeptStrings, BoundedAndNullIgnored)
{
    std::string text(1500, 'x');
    setCommandLine(text.c_str());
    EXPECT_EQ(std::string(1023, 'x'), getCommandLine());
    setCommandLine(nullptr);
    EXPECT_EQ(1023u, strlen(getCommandLine()));
    setCommandLine("+set qv_trace 1 ");
    EXPECT_STREQ("+set qv_trace 1 ", getCommandLine());

    setResourcePath("/opt/game/Resources/");
    setResourcePath(nullptr);
    EXPECT_STREQ("/opt/game/Resources/", getResourcePath());
}

TEST(Environment, CopyOrNull)
{
    setenv("GOBSTREL_TEST_VALUE", "abc", 1);
    char *szValue = getEnvironmentCopy("GOBSTREL_TEST_VALUE");
    ASSERT_NE(nullptr, szValue);
    EXPECT_STREQ("abc", szValue);
    free(szValue);
    unsetenv("GOBSTREL_TEST_VALUE");
    EXPECT_EQ(nullptr, getEnvironmentCopy("GOBSTREL_TEST_VALUE"));
}

} // namespace
