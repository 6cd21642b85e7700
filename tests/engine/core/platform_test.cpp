#include <gtest/gtest.h>

#include <pwd.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "HPlatform.h"
#include "HRegistry.h"
#include "message_hook.h"

namespace {

class PlatformTest : public testing::Test {
protected:
    void SetUp() override
    {
        char szTemplate[] = "/tmp/gobstrel-platform-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(szTemplate));
        m_dir = szTemplate;
        save("PATH", &m_path, &m_bPath);
        save("HOME", &m_home, &m_bHome);
        char szCwd[4096];
        ASSERT_NE(nullptr, getcwd(szCwd, sizeof(szCwd)));
        m_cwd = szCwd;
    }
    void TearDown() override
    {
        restore("PATH", m_path, m_bPath);
        restore("HOME", m_home, m_bHome);
        setApplicationNameHook(nullptr);
        EXPECT_EQ(0, chdir(m_cwd.c_str()));
        std::string cmd = "timeout 30 rm -rf '" + m_dir + "'";
        EXPECT_EQ(0, system(cmd.c_str()));
    }
    static void save(const char *szName, std::string *pValue, bool *pbSet)
    {
        const char *v = getenv(szName);
        *pbSet = v != nullptr;
        *pValue = v ? v : "";
    }
    static void restore(const char *szName, const std::string &value, bool bSet)
    {
        if (bSet) {
            setenv(szName, value.c_str(), 1);
        } else {
            unsetenv(szName);
        }
    }
    void makeFile(const std::string &path, int mode)
    {
        FILE *f = fopen(path.c_str(), "w");
        ASSERT_NE(nullptr, f);
        fputs("#!/bin/sh\n", f);
        fclose(f);
        ASSERT_EQ(0, chmod(path.c_str(), (mode_t)mode));
    }
    std::string readRegistry(const char *szProduct)
    {
        std::string path = m_dir + "/.quorvex/registry_Quorvex_" + szProduct;
        FILE *f = fopen(path.c_str(), "rb");
        if (!f) {
            return "(missing)";
        }
        char bytes[256];
        const size_t n = fread(bytes, 1, sizeof(bytes), f);
        fclose(f);
        return std::string(bytes, n);
    }

    std::string m_dir, m_path, m_home, m_cwd;
    bool m_bPath = false, m_bHome = false;
    ScopedMessageHook m_hook;
};

TEST_F(PlatformTest, LoginNameIsBoundedAndTerminated)
{
    const struct passwd *pEntry = getpwuid(getuid());
    char szName[256];
    if (!pEntry || !pEntry->pw_name || !pEntry->pw_name[0]) {
        memset(szName, 'q', sizeof(szName));
        EXPECT_EQ(nullptr, getLoginName(szName, sizeof(szName)));
        EXPECT_EQ('q', szName[0]); // untouched
        return;
    }
    const std::string real = pEntry->pw_name;
    EXPECT_EQ(szName, getLoginName(szName, sizeof(szName)));
    EXPECT_EQ(real, szName);

    char szShort[8];
    memset(szShort, '#', sizeof(szShort));
    ASSERT_NE(nullptr, getLoginName(szShort, 4));
    EXPECT_EQ(real.substr(0, 3), szShort);
    EXPECT_EQ('#', szShort[4]);
}

TEST_F(PlatformTest, ClockAndSleep)
{
    const uint64_t uStart = getMilliseconds();
    const uint64_t uSteadyStart = getSteadyMilliseconds();
    EXPECT_LE(uStart, 0xffffffffull); // a 32-bit count, widened
    sleepMilliseconds(20);
    const uint64_t uEnd = getMilliseconds();
    EXPECT_GE(uEnd - uStart, 19u);
    EXPECT_GE(getSteadyMilliseconds() - uSteadyStart, 19u);

    // Spans are taken on the low 32 bits: across the wrap they stay short,
    // and a clock that went back gives nothing.
    EXPECT_EQ(0x110u, elapsedMilliseconds(0x10u, 0xffffff00u));
    EXPECT_EQ(250u, elapsedMilliseconds(0x1000000fAull, 0x100000000ull));
    EXPECT_EQ(0u, elapsedMilliseconds(9000u, 10000u));
    EXPECT_EQ(0u, elapsedMilliseconds(0xffffff00u, 0x10u));
    EXPECT_EQ(0x7fffffffu, elapsedMilliseconds(0x7fffffffu, 0u));
}

TEST_F(PlatformTest, NothingToPaste)
{
    char szBuffer[8] = "keep";
    EXPECT_EQ(0, getPasteText(szBuffer, sizeof(szBuffer)));
    EXPECT_STREQ("keep", szBuffer);
}

TEST_F(PlatformTest, ProgramSearchOnPath)
{
    ASSERT_EQ(0, mkdir((m_dir + "/bin").c_str(), 0755));
    ASSERT_EQ(0, mkdir((m_dir + "/bin/adir").c_str(), 0755));
    makeFile(m_dir + "/bin/tool", 0755);
    makeFile(m_dir + "/bin/plain", 0644);

    setenv("PATH", ("/nonexistent:" + m_dir + "/bin").c_str(), 1);
    EXPECT_TRUE(isProgramInPath("tool"));
    EXPECT_FALSE(isProgramInPath("plain")); // not executable
    EXPECT_FALSE(isProgramInPath("adir"));  // not a regular file
    EXPECT_FALSE(isProgramInPath("missing"));

    setenv("HOME", m_dir.c_str(), 1);
    setenv("PATH", "/nonexistent:~/bin", 1);
    EXPECT_TRUE(isProgramInPath("tool"));
    // A lone '~' is the home folder itself, joined to the name with '/'.
    setenv("HOME", (m_dir + "/bin").c_str(), 1);
    setenv("PATH", "/nonexistent:~", 1);
    EXPECT_TRUE(isProgramInPath("tool"));
    setenv("HOME", m_dir.c_str(), 1);

    // An empty element is the working directory.
    ASSERT_EQ(0, chdir((m_dir + "/bin").c_str()));
    setenv("PATH", "/nonexistent:", 1);
    EXPECT_TRUE(isProgramInPath("tool"));
    setenv("PATH", "/nonexistent", 1);
    EXPECT_FALSE(isProgramInPath("tool"));

    // Missing variables find nothing and crash nothing.
    unsetenv("HOME");
    setenv("PATH", "~:~/bin", 1);
    EXPECT_FALSE(isProgramInPath("no-such-tool"));
    unsetenv("PATH");
    EXPECT_FALSE(isProgramInPath("tool"));
    EXPECT_FALSE(isProgramInPath(""));
}

TEST_F(PlatformTest, FullscreenPreferenceGoesToTheRegistry)
{
    setenv("HOME", m_dir.c_str(), 1);
    setFullscreenPreference(1);
    const char expectedOn[] = "Fullscreen\0\x04\0\0\0\x01\0\0\0";
    EXPECT_EQ(std::string(expectedOn, sizeof(expectedOn) - 1), readRegistry("Gobstrel"));
    setFullscreenPreference(0);
    const char expectedOff[] = "Fullscreen\0\x04\0\0\0\0\0\0\0";
    EXPECT_EQ(std::string(expectedOff, sizeof(expectedOff) - 1), readRegistry("Gobstrel"));

    // The running application's name selects the file.
    setApplicationNameHook([]() -> const char * { return "OtherGame"; });
    setFullscreenPreference(1);
    EXPECT_EQ(std::string(expectedOn, sizeof(expectedOn) - 1), readRegistry("OtherGame"));
    EXPECT_STREQ("OtherGame", getPlatformApplicationName());
    setApplicationNameHook(nullptr);
    EXPECT_STREQ("Gobstrel", getPlatformApplicationName());
}

TEST_F(PlatformTest, FullscreenPreferenceReportsARegistryItCannotUse)
{
    const std::string message = "Failed to open registry. Can't change fullscreen state.\n";

    // The registry file is a directory: the open fails.
    ASSERT_EQ(0, mkdir((m_dir + "/.quorvex").c_str(), 0700));
    ASSERT_EQ(0, mkdir((m_dir + "/.quorvex/registry_Quorvex_Gobstrel").c_str(), 0700));
    setenv("HOME", m_dir.c_str(), 1);
    testing::internal::CaptureStdout();
    setFullscreenPreference(1);
    EXPECT_EQ(message, testing::internal::GetCapturedStdout());

    // HOME is a plain file: nothing can be written under it (root included),
    // so the value never reaches a file and that is reported too.
    const std::string file = m_dir + "/plain";
    makeFile(file, 0644);
    setenv("HOME", file.c_str(), 1);
    testing::internal::CaptureStdout();
    setFullscreenPreference(0);
    EXPECT_EQ(message, testing::internal::GetCapturedStdout());

    // Leave the shared registry closed and empty for whoever comes next.
    setenv("HOME", m_dir.c_str(), 1);
    HRegistry *pRegistry = getRegistry();
    if (pRegistry->open(nullptr, "Quorvex", "Scratch")) {
        pRegistry->close();
    }
}

TEST_F(PlatformTest, BrowserCommandQuoting)
{
    char szCommand[BROWSER_COMMAND_SIZE];
    ASSERT_TRUE(formatBrowserCommand(szCommand, sizeof(szCommand), "lynx %s",
                                     "http://a/b?c=1&d=2"));
    EXPECT_STREQ("lynx 'http://a/b?c=1&d=2'", szCommand);
    ASSERT_TRUE(formatBrowserCommand(szCommand, sizeof(szCommand), "opera -page='%s' &", "it's"));
    EXPECT_STREQ("opera -page='it'\\''s' &", szCommand);
    ASSERT_TRUE(formatBrowserCommand(szCommand, sizeof(szCommand), "x \"%s\" 100%%", "$a\"`"));
    EXPECT_STREQ("x \"\\$a\\\"\\`\" 100%", szCommand);

    // Refused rather than cut when the command would not fit.
    char szSmall[16];
    EXPECT_TRUE(formatBrowserCommand(szSmall, sizeof(szSmall), "lynx %s", "12345678"));
    EXPECT_FALSE(formatBrowserCommand(szSmall, sizeof(szSmall), "lynx %s", "123456789"));
    EXPECT_STREQ("", szSmall);
    std::string longAddress(BROWSER_COMMAND_SIZE, 'a');
    EXPECT_FALSE(formatBrowserCommand(szCommand, sizeof(szCommand), "lynx %s",
                                      longAddress.c_str()));
}

} // namespace
