// Console variables: "+set" command strings, typed reads, the cvar file.
#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>

#include <string>

#include "HCvarManager.h"
#include "HFile.h"
#include "HStandardFileSystem.h"

namespace {

class CvarTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_cvars.initCvarManager()); }
    void TearDown() override { m_cvars.shutdown(); }

    std::string value(const char *pszName)
    {
        const char *pszValue = m_cvars.getVariableString(pszName);
        return pszValue ? pszValue : "<null>";
    }

    HCvarManager m_cvars;
};

TEST_F(CvarTest, RegisterAndRead)
{
    m_cvars.registerVariable("qv_trace", "0", 0);
    m_cvars.registerVariable("c_soundDriver", "default", 0);
    EXPECT_EQ(value("qv_trace"), "0");
    EXPECT_EQ(value("c_soundDriver"), "default");
    EXPECT_EQ(value("QV_TRACE"), "<null>");     // names keep their case

    // Flag bit 0 keeps an existing variable; on a new one it is stored.
    m_cvars.registerVariable("qv_trace", "1", 1);
    EXPECT_EQ(value("qv_trace"), "0");
    m_cvars.registerVariable("fresh", "f", 1);
    EXPECT_EQ(value("fresh"), "f");
    m_cvars.registerVariable("qv_trace", "2", 0);
    EXPECT_EQ(value("qv_trace"), "2");

    m_cvars.setVariableString("qv_trace", "3");
    EXPECT_EQ(value("qv_trace"), "3");
    m_cvars.setVariableString("not_there", "x");     // nothing is created
    EXPECT_EQ(value("not_there"), "<null>");
    // Second init while started changes nothing.
    EXPECT_TRUE(m_cvars.initCvarManager());
    EXPECT_EQ(value("qv_trace"), "3");
}

TEST_F(CvarTest, IntegersAndFloats)
{
    m_cvars.registerVariable("n", "12abc", 0);
    m_cvars.registerVariable("empty", "", 0);
    m_cvars.registerVariable("neg", "-40", 0);
    m_cvars.registerVariable("f", "2.5", 0);
    m_cvars.registerVariable("word", "abc", 0);
    EXPECT_EQ(m_cvars.getVariableInt("n"), 12);
    EXPECT_EQ(m_cvars.getVariableInt("empty"), 0);
    EXPECT_EQ(m_cvars.getVariableInt("neg"), -40);
    EXPECT_EQ(m_cvars.getVariableInt("word"), 0);
    EXPECT_EQ(m_cvars.getVariableInt("missing"), 0);
    m_cvars.registerVariable("huge", "99999999999", 0);
    EXPECT_EQ(m_cvars.getVariableInt("huge"), 2147483647);     // pinned, not wrapped
    EXPECT_FLOAT_EQ(m_cvars.getVariableFloat("f"), 2.5f);
    EXPECT_FLOAT_EQ(m_cvars.getVariableFloat("n"), 12.0f);
    EXPECT_FLOAT_EQ(m_cvars.getVariableFloat("missing"), 0.0f);
}

TEST_F(CvarTest, CommandString)
{
    m_cvars.parseCommandLine("+set c_soundDriver null +set qv_spriteCursor 0 ");
    EXPECT_EQ(value("c_soundDriver"), "null");
    EXPECT_EQ(value("qv_spriteCursor"), "0");

    // Later commands win; the keyword has no case; ';' and runs of
    // separators split like a single blank.
    m_cvars.parseCommandLine("+SET x 1;+Set x 2");
    EXPECT_EQ(value("x"), "2");
    m_cvars.parseCommandLine("  ;; +set;;y  ; 5;;");
    EXPECT_EQ(value("y"), "5");
    m_cvars.parseCommandLine("+set X upper");
    EXPECT_EQ(value("X"), "upper");
    EXPECT_EQ(value("x"), "2");

    // A stray word is skipped and the command after it still applies.
    m_cvars.parseCommandLine("stray +set z 9");
    EXPECT_EQ(value("z"), "9");
    EXPECT_EQ(value("stray"), "<null>");

    // A name with no value gets the empty value; a bare keyword does nothing.
    m_cvars.parseCommandLine("+set lonely");
    EXPECT_EQ(value("lonely"), "");
    m_cvars.parseCommandLine("+set");
    m_cvars.parseCommandLine("");
    m_cvars.parseCommandLine(" ;; ; ");
    m_cvars.parseCommandLine(nullptr);
    EXPECT_EQ(value("z"), "9");
}

TEST_F(CvarTest, TokensAreBoundedAt1023Characters)
{
    const std::string longValue(3000, 'v');
    m_cvars.parseCommandLine(("+set qv_demoFile " + longValue + " +set after 1").c_str());
    EXPECT_EQ(value("qv_demoFile"), std::string(1023, 'v'));
    // The cut tail is not taken for a command of its own.
    EXPECT_EQ(value("after"), "1");
}

class CvarFileTest : public CvarTest {
protected:
    void SetUp() override
    {
        CvarTest::SetUp();
        char szTemplate[] = "/tmp/gobstrel-cvar-XXXXXX";
        ASSERT_NE(mkdtemp(szTemplate), nullptr);
        m_dir = szTemplate;
        ASSERT_TRUE(m_fs.init(m_dir.c_str()));
    }

    void TearDown() override
    {
        m_fs.shutdown();
        EXPECT_EQ(system(("rm -rf '" + m_dir + "'").c_str()), 0);
        CvarTest::TearDown();
    }

    void writeText(const char *pszName, const std::string &text)
    {
        HFile *pFile = m_fs.openFileForWrite(pszName);
        ASSERT_NE(pFile, nullptr);
        ASSERT_EQ(pFile->write(text.data(), (int32_t)text.size()), (int32_t)text.size());
        pFile->close();
    }

    std::string readText(const char *pszName)
    {
        FILE *pFile = fopen((m_dir + "/" + pszName).c_str(), "rb");
        std::string text;
        if (pFile) {
            char aBuffer[512];
            size_t uRead;
            while ((uRead = fread(aBuffer, 1, sizeof(aBuffer), pFile)) > 0) {
                text.append(aBuffer, uRead);
            }
            fclose(pFile);
        }
        return text;
    }

    std::string m_dir;
    HStandardFileSystem m_fs;
};

TEST_F(CvarFileTest, SaveWritesTheBlockFormat)
{
    m_cvars.registerVariable("qv_trace", "1", 0);
    ASSERT_TRUE(m_cvars.saveCvars("one.cfg", &m_fs));
    EXPECT_EQ(readText("one.cfg"), "qv_trace = \n{\n\tvalue = \"1\",\n\tflags = \"0\",\n}\n");
}

TEST_F(CvarFileTest, SaveAndLoadRoundTrip)
{
    const std::string awkward = "say \"hi\" \\ back\\slash\nnew line\ttab\r\x01" "7 end";
    m_cvars.registerVariable("c_soundDriver", "null", 0);
    m_cvars.registerVariable("qv_demoFile", awkward.c_str(), 0);
    m_cvars.registerVariable("qv_spriteCursor", "1", 1);
    m_cvars.registerVariable("empty", "", 0);
    // Names that are no plain Lua names still come back.
    const std::string longName(2000, 'n');
    const char *const apszOdd[] = { "odd-name", "_ENV", "end", "9lives", "say\"what", longName.c_str() };
    for (const char *pszName : apszOdd) {
        m_cvars.registerVariable(pszName, pszName, 0);
    }
    ASSERT_TRUE(m_cvars.saveCvars("vars.cfg", &m_fs));

    HCvarManager other;
    ASSERT_TRUE(other.initCvarManager());
    ASSERT_TRUE(other.loadCvars("vars.cfg", &m_fs));
    EXPECT_STREQ(other.getVariableString("c_soundDriver"), "null");
    ASSERT_NE(other.getVariableString("qv_demoFile"), nullptr);
    EXPECT_EQ(std::string(other.getVariableString("qv_demoFile")), awkward);
    EXPECT_EQ(other.getVariableInt("qv_spriteCursor"), 1);
    EXPECT_STREQ(other.getVariableString("empty"), "");
    for (const char *pszName : apszOdd) {
        ASSERT_NE(other.getVariableString(pszName), nullptr) << pszName;
        EXPECT_STREQ(other.getVariableString(pszName), pszName);
    }
    // Every variable came back, and nothing else.
    ASSERT_TRUE(other.saveCvars("again.cfg", &m_fs));
    EXPECT_EQ(readText("again.cfg").size(), readText("vars.cfg").size());

    // Loading replaces what the file names and leaves the rest.
    other.registerVariable("c_soundDriver", "default", 0);
    other.registerVariable("untouched", "u", 0);
    ASSERT_TRUE(other.loadCvars("vars.cfg", &m_fs));
    EXPECT_STREQ(other.getVariableString("c_soundDriver"), "null");
    EXPECT_STREQ(other.getVariableString("untouched"), "u");
    other.shutdown();
}

TEST_F(CvarFileTest, LoadFailuresAreReported)
{
    m_cvars.registerVariable("keep", "k", 0);
    EXPECT_FALSE(m_cvars.loadCvars("missing.cfg", &m_fs));

    // A value with a raw quote, as an old writer would have left it.
    writeText("broken.cfg", "keep = \n{\n\tvalue = \"a\"b\",\n\tflags = \"0\",\n}\n");
    EXPECT_FALSE(m_cvars.loadCvars("broken.cfg", &m_fs));
    EXPECT_STREQ(m_cvars.getVariableString("keep"), "k");

    writeText("loop.cfg", "while true do end");
    EXPECT_FALSE(m_cvars.loadCvars("loop.cfg", &m_fs));

    writeText("empty.cfg", "");
    EXPECT_TRUE(m_cvars.loadCvars("empty.cfg", &m_fs));
}

TEST_F(CvarFileTest, HostileFileValuesDoNotBreakTheStore)
{
    // A file may set a variable's global to something that is no table.
    writeText("odd.cfg", "qv_trace = 5\nc_hklm = \"text\"\nnum = { value = 42, flags = 0 }\n");
    ASSERT_TRUE(m_cvars.loadCvars("odd.cfg", &m_fs));
    EXPECT_EQ(m_cvars.getVariableString("qv_trace"), nullptr);
    EXPECT_EQ(m_cvars.getVariableInt("c_hklm"), 0);
    EXPECT_EQ(m_cvars.getVariableInt("num"), 42);
    m_cvars.setVariableString("qv_trace", "1");              // refused, no crash
    m_cvars.registerVariable("c_hklm", "0", 0);               // replaced by a table
    EXPECT_STREQ(m_cvars.getVariableString("c_hklm"), "0");
    ASSERT_TRUE(m_cvars.saveCvars("again.cfg", &m_fs));
    EXPECT_NE(readText("again.cfg").find("num = \n{\n\tvalue = \"42\",\n\tflags = \"0\",\n}\n"),
              std::string::npos);
}

TEST(CvarUnstartedTest, EveryOperationReadsAsMissing)
{
    HCvarManager cvars;     // never started: as if Lua had failed to start
    cvars.registerVariable("a", "1", 0);
    cvars.setVariableString("a", "2");
    cvars.parseCommandLine("+set a 3");
    EXPECT_EQ(cvars.getVariableString("a"), nullptr);
    EXPECT_EQ(cvars.getVariableInt("a"), 0);
    EXPECT_FLOAT_EQ(cvars.getVariableFloat("a"), 0.0f);
    HStandardFileSystem fs;
    fs.init("/nonexistent-gobstrel-dir");
    EXPECT_FALSE(cvars.saveCvars("x.cfg", &fs));
    EXPECT_FALSE(cvars.loadCvars("x.cfg", &fs));
    cvars.shutdown();
    fs.shutdown();

    // After a shutdown the store is empty and unstarted again.
    ASSERT_TRUE(cvars.initCvarManager());
    cvars.registerVariable("a", "1", 0);
    cvars.shutdown();
    EXPECT_EQ(cvars.getVariableString("a"), nullptr);
}

} // namespace
