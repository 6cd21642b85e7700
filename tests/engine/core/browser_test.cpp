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

#include <string>
#include <vector>

#include "HPlatform.h"
#include "child_process.h"

namespace {

// Each fake browser appends one block per run to <its name>.log beside it:
// the argument count, each argument in brackets, then "end". Only shell
// built-ins are used, because PATH holds nothing but the fakes.
const char *const kFakeScript =
    "#!/bin/sh\n"
    "log=\"${0%/*}/${0##*/}.log\"\n"
    "{ printf 'argc=%d\\n' \"$#\"\n"
    "  for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done\n"
    "  echo end; } >> \"$log\"\n"
    "[ \"$FAKE_FAIL_REMOTE\" = 1 ] && [ \"$1\" = -remote ] && exit 1\n"
    "exit 0\n";

class BrowserTest : public testing::Test {
protected:
    void SetUp() override
    {
        char szTemplate[] = "/tmp/gobstrel-browser-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(szTemplate));
        m_dir = szTemplate;
        m_bin = m_dir + "/bin";
        ASSERT_EQ(0, mkdir(m_bin.c_str(), 0755));
    }
    void TearDown() override
    {
        std::string cmd = "timeout 30 rm -rf '" + m_dir + "'";
        EXPECT_EQ(0, system(cmd.c_str()));
    }

    void addFake(const char *szName)
    {
        const std::string path = m_bin + "/" + szName;
        FILE *f = fopen(path.c_str(), "w");
        ASSERT_NE(nullptr, f);
        fputs(kFakeScript, f);
        fclose(f);
        ASSERT_EQ(0, chmod(path.c_str(), 0755));
    }

    // Runs launchBrowser in a child with PATH holding only the fakes; returns
    // its exit status (-1 when killed or timed out), standard error in *pErr.
    int launch(const std::string &address, bool bDisplay, std::string *pErr,
               bool bFailRemote = false)
    {
        return runChildCapturing(
            STDERR_FILENO,
            [&] {
                setenv("PATH", m_bin.c_str(), 1);
                if (bDisplay) {
                    setenv("DISPLAY", ":99", 1);
                } else {
                    unsetenv("DISPLAY");
                }
                if (bFailRemote) {
                    setenv("FAKE_FAIL_REMOTE", "1", 1);
                } else {
                    unsetenv("FAKE_FAIL_REMOTE");
                }
                launchBrowser(address.c_str());
            },
            pErr);
    }

    // The fake's log once it holds iRuns complete runs (background commands
    // may still be writing when the launcher has ended); "" if it never does.
    std::string waitForLog(const char *szName, int iRuns = 1)
    {
        const std::string path = m_bin + "/" + szName + ".log";
        for (int i = 0; i < 1000; i++) {
            FILE *f = fopen(path.c_str(), "r");
            if (f) {
                std::string text;
                char buffer[4096];
                size_t n;
                while ((n = fread(buffer, 1, sizeof(buffer), f)) > 0) {
                    text.append(buffer, n);
                }
                fclose(f);
                int iEnds = 0;
                for (size_t p = 0; (p = text.find("end\n", p)) != std::string::npos; p += 4) {
                    iEnds++;
                }
                if (iEnds >= iRuns) {
                    return text;
                }
            }
            usleep(10000);
        }
        return "";
    }

    bool logExists(const char *szName)
    {
        return access((m_bin + "/" + szName + ".log").c_str(), F_OK) == 0;
    }

    std::string m_dir, m_bin;
};

const char *const kAddress = "http://example.org/a?b=1&c=2";

TEST_F(BrowserTest, WithoutDisplayOnlyTextBrowsersRunInOurTerminal)
{
    addFake("galeon");
    addFake("lynx");
    std::string err;
    EXPECT_EQ(0, launch(kAddress, false, &err));
    // Foreground: the log is complete when the launcher ends.
    EXPECT_EQ(std::string("argc=1\n[") + kAddress + "]\nend\n", waitForLog("lynx"));
    EXPECT_FALSE(logExists("galeon"));
    EXPECT_EQ("", err);
}

TEST_F(BrowserTest, WithDisplayTheEarliestRowWins)
{
    addFake("mozilla");
    addFake("opera");
    addFake("lynx");
    EXPECT_EQ(0, launch(kAddress, true, nullptr));
    EXPECT_EQ(std::string("argc=1\n[-page=") + kAddress + "]\nend\n", waitForLog("opera"));
    EXPECT_FALSE(logExists("mozilla"));
    EXPECT_FALSE(logExists("lynx"));
}

TEST_F(BrowserTest, TextBrowserInATerminalWindow)
{
    addFake("links");
    addFake("xterm");
    EXPECT_EQ(0, launch(kAddress, true, nullptr));
    EXPECT_EQ(std::string("argc=5\n[-T]\n[Web Browser]\n[-e]\n[links]\n[") + kAddress +
                  "]\nend\n",
              waitForLog("xterm"));
    EXPECT_FALSE(logExists("links")); // xterm (our fake) never started it
}

// Every row of the table on its own: the program it looks for and the
// arguments its command hands over.
TEST_F(BrowserTest, EachRowRunsItsOwnCommand)
{
    const std::string a = kAddress;
    struct Row {
        const char *szProgram;
        bool bDisplay;
        const char *szRuns; // the fake that records the run
        std::string log;
    };
    const Row rows[] = {
        { "galeon", true, "galeon", "argc=1\n[" + a + "]\nend\n" },
        { "opera", true, "opera", "argc=1\n[-page=" + a + "]\nend\n" },
        { "mozilla", true, "mozilla", "argc=1\n[" + a + "]\nend\n" },
        { "gnome-moz-remote", true, "gnome-moz-remote", "argc=2\n[--newwin]\n[" + a + "]\nend\n" },
        { "netscape", true, "netscape",
          "argc=2\n[-remote]\n[openURL(" + a + ",new-window)]\nend\n" },
        { "NetPositive", true, "NetPositive", "argc=1\n[" + a + "]\nend\n" },
        { "links", true, "xterm",
          "argc=5\n[-T]\n[Web Browser]\n[-e]\n[links]\n[" + a + "]\nend\n" },
        { "lynx", true, "xterm",
          "argc=5\n[-T]\n[Web Browser]\n[-e]\n[lynx]\n[" + a + "]\nend\n" },
        { "links", false, "links", "argc=1\n[" + a + "]\nend\n" },
        { "lynx", false, "lynx", "argc=1\n[" + a + "]\nend\n" },
    };
    for (const Row &row : rows) {
        addFake(row.szProgram);
        if (strcmp(row.szRuns, row.szProgram) != 0) {
            addFake(row.szRuns);
        }
        std::string err;
        EXPECT_EQ(0, launch(a, row.bDisplay, &err)) << row.szProgram;
        EXPECT_EQ(row.log, waitForLog(row.szRuns)) << row.szProgram << " " << row.bDisplay;
        EXPECT_EQ("", err) << row.szProgram;
        for (const char *szName : { row.szProgram, row.szRuns }) {
            unlink((m_bin + "/" + szName).c_str());
            unlink((m_bin + "/" + szName + ".log").c_str());
        }
    }
}

TEST_F(BrowserTest, FirstRowOfTheModeWins)
{
    for (const char *szName : { "galeon", "opera", "mozilla", "gnome-moz-remote", "netscape",
                                "NetPositive", "links", "lynx", "xterm" }) {
        addFake(szName);
    }
    EXPECT_EQ(0, launch(kAddress, true, nullptr));
    EXPECT_EQ(std::string("argc=1\n[") + kAddress + "]\nend\n", waitForLog("galeon"));
    EXPECT_EQ(0, launch(kAddress, false, nullptr));
    EXPECT_EQ(std::string("argc=1\n[") + kAddress + "]\nend\n", waitForLog("links"));
    usleep(100000);
    for (const char *szName : { "opera", "mozilla", "gnome-moz-remote", "netscape", "NetPositive",
                                "lynx", "xterm" }) {
        EXPECT_FALSE(logExists(szName)) << szName;
    }
}

TEST_F(BrowserTest, NetscapeStartsAfreshWhenRemoteFails)
{
    addFake("netscape");
    EXPECT_EQ(0, launch(kAddress, true, nullptr, true));
    EXPECT_EQ(std::string("argc=2\n[-remote]\n[openURL(") + kAddress +
                  ",new-window)]\nend\nargc=1\n[" + kAddress + "]\nend\n",
              waitForLog("netscape", 2));
}

TEST_F(BrowserTest, NoBrowserSaysSoAndStillExitsZero)
{
    std::string err;
    EXPECT_EQ(0, launch(kAddress, true, &err));
    EXPECT_EQ(std::string("You should be looking at [") + kAddress +
                  "],\n but we can't launch a browser.\n",
              err);
    addFake("galeon"); // graphical only: useless without a display
    EXPECT_EQ(0, launch(kAddress, false, &err));
    EXPECT_EQ(0u, err.find("You should be looking at ["));
    EXPECT_FALSE(logExists("galeon"));
}

TEST_F(BrowserTest, HostileAddressArrivesIntactAsOneArgument)
{
    const std::string hostile =
        "http://x/'\"; :>" + m_dir + "/p1; $(:>" + m_dir + "/p2) `:>" + m_dir +
        "/p3` | :>" + m_dir + "/p4 & \\'\\\" ) ( ,new-window) * ? ~ # %s %% \n" +
        "';:>" + m_dir + "/p5;'\"\";:>" + m_dir + "/p6;\"";
    struct Case {
        const char *szFake;
        bool bDisplay;
        std::string prefix;
    };
    const Case cases[] = {
        { "lynx", false, "argc=1\n[" },             // bare %s
        { "opera", true, "argc=1\n[-page=" },       // %s inside single quotes
        { "gnome-moz-remote", true, "argc=2\n[--newwin]\n[" },
    };
    for (const Case &c : cases) {
        addFake(c.szFake);
        std::string err;
        EXPECT_EQ(0, launch(hostile, c.bDisplay, &err)) << c.szFake;
        EXPECT_EQ(c.prefix + hostile + "]\nend\n", waitForLog(c.szFake)) << c.szFake;
        EXPECT_EQ("", err) << c.szFake;
        unlink((m_bin + "/" + c.szFake).c_str());
        unlink((m_bin + "/" + c.szFake + ".log").c_str());
    }

    addFake("netscape");
    EXPECT_EQ(0, launch(hostile, true, nullptr, true));
    EXPECT_EQ("argc=2\n[-remote]\n[openURL(" + hostile + ",new-window)]\nend\nargc=1\n[" +
                  hostile + "]\nend\n",
              waitForLog("netscape", 2));

    for (const char *szFile : { "p1", "p2", "p3", "p4", "p5", "p6" }) {
        EXPECT_NE(0, access((m_dir + "/" + szFile).c_str(), F_OK)) << szFile << " was created";
    }
}

TEST_F(BrowserTest, AddressTooLongForTheCommandIsRefused)
{
    addFake("lynx");
    const std::string address(BROWSER_COMMAND_SIZE, 'a');
    std::string err;
    EXPECT_EQ(0, launch(address, false, &err));
    EXPECT_EQ(0u, err.find("You should be looking at [aaaa"));
    usleep(100000);
    EXPECT_FALSE(logExists("lynx"));
}

} // namespace
