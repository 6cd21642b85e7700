#include <gtest/gtest.h>

#include <string.h>

#include <string>
#include <vector>

#include "HConsoleBuffer.h"
#include "HFile.h"
#include "HLog.h"
#include "HMessageBox.h"
#include "message_hook.h"

namespace {

// A log stream in memory that records each write and flush in order.
class MemoryLogFile : public HFile {
public:
    int32_t read(void *, int32_t) override { return 0; }
    int32_t write(const void *pBuffer, int32_t iLength) override
    {
        events.push_back("write");
        text.append((const char *)pBuffer, (size_t)iLength);
        return iLength;
    }
    bool rewind() override { return true; }
    void flush() override { events.push_back("flush"); }

    std::string text;
    std::vector<std::string> events;
};

// Sets the stream for one test and always clears it again.
class LogTest : public testing::Test {
protected:
    void SetUp() override { setLogStream(&m_file); }
    void TearDown() override { setLogStream(nullptr); }
    MemoryLogFile m_file;
};

} // namespace

TEST(Log, WithoutStreamNothingHappens)
{
    MemoryLogFile file;
    setLogStream(&file);
    setLogStream(nullptr);
    logPrintf("dropped %d\n", 1);
    outputLogLine("dropped too\n");
    writeLogStream("and this\n");
    EXPECT_TRUE(file.text.empty());
    EXPECT_TRUE(file.events.empty());
}

TEST_F(LogTest, EachLineIsWrittenExactlyAndFlushed)
{
    logPrintf("...Creating %s device\n", "display");
    EXPECT_EQ(m_file.text, "...Creating display device\n");
    EXPECT_EQ(m_file.events, (std::vector<std::string>{ "write", "flush" }));

    // No newline is added and no terminator is written.
    logPrintf(">>>%d", 42);
    EXPECT_EQ(m_file.text, "...Creating display device\n>>>42");
    EXPECT_EQ(m_file.events.size(), 4u);

    // An empty line still flushes, writing nothing visible.
    logPrintf("%s", "");
    EXPECT_EQ(m_file.text, "...Creating display device\n>>>42");
}

TEST_F(LogTest, LinesAreCutAt1023Characters)
{
    const std::string longLine(2000, 'x');
    logPrintf("%s", longLine.c_str());
    EXPECT_EQ(m_file.text, std::string(1023, 'x'));

    // The bound holds for text handed straight to the stream as well.
    m_file.text.clear();
    writeLogStream(longLine.c_str());
    EXPECT_EQ(m_file.text.size(), 1023u);

    m_file.text.clear();
    const std::string exact(1023, 'y');
    logPrintf("%s", exact.c_str());
    EXPECT_EQ(m_file.text, exact);
}

TEST_F(LogTest, DiagnosticChannelsDiscardEverything)
{
    ScopedMessageHook hook;
    errorPrintf("%s has not implemented clone()", "HObject");
    tracePrintf("%d %s", 1, "two");
    EXPECT_TRUE(m_file.text.empty());
    EXPECT_TRUE(m_file.events.empty());
    EXPECT_TRUE(hook.boxes().empty());
}

TEST(Alerts, AlertAndMessageBoxesGoThroughTheBox)
{
    ScopedMessageHook hook(MB_RESULT_OK);
    EXPECT_EQ(alertBox("Cannot open %s", "trace.txt"), MB_RESULT_OK);
    ASSERT_EQ(hook.boxes().size(), 1u);
    EXPECT_EQ(hook.boxes()[0].uType, (uint32_t)MB_TYPE_OK);
    EXPECT_EQ(hook.boxes()[0].title, "Alert");
    EXPECT_EQ(hook.boxes()[0].text, "Cannot open trace.txt");

    hook.setAnswer(MB_RESULT_NO);
    EXPECT_EQ(messageBox(MB_TYPE_YESNO | 0x30, "Question", "Play level %d?", 3), MB_RESULT_NO);
    ASSERT_EQ(hook.boxes().size(), 2u);
    EXPECT_EQ(hook.boxes()[1].uType, (uint32_t)(MB_TYPE_YESNO | 0x30));
    EXPECT_EQ(hook.boxes()[1].title, "Question");
    EXPECT_EQ(hook.boxes()[1].text, "Play level 3?");

    // Box texts share the 1023-character bound.
    const std::string longText(3000, 'm');
    alertBox("%s", longText.c_str());
    messageBox(MB_TYPE_ERROR, "Error", "%s", longText.c_str());
    ASSERT_EQ(hook.boxes().size(), 4u);
    EXPECT_EQ(hook.boxes()[2].text, std::string(1023, 'm'));
    EXPECT_EQ(hook.boxes()[3].text, std::string(1023, 'm'));
}

TEST(Alerts, VerifyFailedShowsOnlyOnce)
{
    ScopedMessageHook hook(MB_RESULT_OK);
    EXPECT_EQ(verifyFailed("x = %d", 5), MB_RESULT_OK);
    ASSERT_EQ(hook.boxes().size(), 1u);
    EXPECT_EQ(hook.boxes()[0].title, "Verify Failed");
    EXPECT_EQ(hook.boxes()[0].uType, (uint32_t)MB_TYPE_OK);
    EXPECT_EQ(hook.boxes()[0].text, "x = 5");

    EXPECT_EQ(verifyFailed("again"), 0);
    EXPECT_EQ(verifyFailed("and again"), 0);
    EXPECT_EQ(hook.boxes().size(), 1u);
}

TEST(ConsoleBuffer, CompleteLinesNewestFirst)
{
    HConsoleBuffer console;
    EXPECT_EQ(console.getLine(0), nullptr);
    console.printf("first\nsecond\n");
    ASSERT_NE(console.getLine(0), nullptr);
    EXPECT_STREQ(console.getLine(0), "second");
    EXPECT_STREQ(console.getLine(1), "first");
    EXPECT_EQ(console.getLine(2), nullptr);
    EXPECT_EQ(console.getLine(-1), nullptr);
}

TEST(ConsoleBuffer, UnfinishedLineContinues)
{
    HConsoleBuffer console;
    console.printf("score: %d", 10);
    EXPECT_EQ(console.getLine(0), nullptr);
    console.printf(" points\nnext");
    EXPECT_STREQ(console.getLine(0), "score: 10 points");
    EXPECT_EQ(console.getLine(1), nullptr);
    console.appendText("", true);                // empty text changes nothing
    EXPECT_EQ(console.getLine(1), nullptr);
    console.appendText(" line", true);
    EXPECT_STREQ(console.getLine(0), "next line");

    console.clear();
    EXPECT_EQ(console.getLine(0), nullptr);
}

TEST_F(LogTest, ConsoleTextStopsAtAnEmptyLineButIsLoggedWhole)
{
    HConsoleBuffer console;
    console.printf("one\n\ntwo\n");
    EXPECT_STREQ(console.getLine(0), "one");
    EXPECT_EQ(console.getLine(1), nullptr);
    EXPECT_EQ(m_file.text, "one\n\ntwo\n");

    // The log line keeps its own bound.
    m_file.text.clear();
    const std::string longText(5000, 'k');
    console.printf("%s\n", longText.c_str());
    EXPECT_EQ(m_file.text, std::string(1023, 'k'));
    // The console line keeps 255 characters.
    EXPECT_EQ(std::string(console.getLine(0)), std::string(255, 'k'));
}

TEST(ConsoleBuffer, FullBufferKeepsTheNewestLines)
{
    HConsoleBuffer console;
    char szLine[32];
    for (int i = 0; i < 250; i++) {
        snprintf(szLine, sizeof(szLine), "line %d\n", i);
        console.printf("%s", szLine);
    }
    // The newest line is always age 0 and the ages run back without gaps.
    for (int iAge = 0; iAge < HConsoleBuffer::MAX_LINES - 1; iAge++) {
        snprintf(szLine, sizeof(szLine), "line %d", 249 - iAge);
        ASSERT_NE(console.getLine(iAge), nullptr) << iAge;
        EXPECT_STREQ(console.getLine(iAge), szLine) << iAge;
    }
    EXPECT_EQ(console.getLine(HConsoleBuffer::MAX_LINES - 1), nullptr);

    // A partial line after a full buffer does not disturb the complete ones.
    console.printf("partial");
    EXPECT_STREQ(console.getLine(0), "line 249");
    console.printf(" done\n");
    EXPECT_STREQ(console.getLine(0), "partial done");
    EXPECT_STREQ(console.getLine(1), "line 249");
}
