// Directory file system: slots, modes, names and the limits of a path.
#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "HFile.h"
#include "HStandardFile.h"
#include "HStandardFileSystem.h"

namespace {

class StandardFileSystemTest : public testing::Test {
protected:
    void SetUp() override
    {
        char szTemplate[] = "/tmp/gobstrel-fs-XXXXXX";
        ASSERT_NE(mkdtemp(szTemplate), nullptr);
        m_root = szTemplate;
        ASSERT_TRUE(m_fs.init(m_root.c_str()));
    }

    void TearDown() override
    {
        m_fs.shutdown();
        const std::string cmd = "rm -rf '" + m_root + "'";
        EXPECT_EQ(system(cmd.c_str()), 0);
    }

    void writeFile(const char *pszName, const std::string &data)
    {
        FILE *pFile = fopen((m_root + "/" + pszName).c_str(), "wb");
        ASSERT_NE(pFile, nullptr);
        ASSERT_EQ(fwrite(data.data(), 1, data.size(), pFile), data.size());
        fclose(pFile);
    }

    std::string m_root;
    HStandardFileSystem m_fs;
};

TEST_F(StandardFileSystemTest, WriteThenReadBack)
{
    HFile *pOut = m_fs.openFileForWrite("note.txt");
    ASSERT_NE(pOut, nullptr);
    EXPECT_EQ(pOut->write("hello world", 11), 11);
    EXPECT_EQ(pOut->write("!", 1), 1);
    // Size is fixed at open: a file for writing reports 0 whatever it holds.
    EXPECT_EQ(pOut->getSize(), 0);
    char szByte[4];
    EXPECT_EQ(pOut->read(szByte, 1), 0);
    pOut->close();

    HFile *pIn = m_fs.openFileForRead("note.txt");
    ASSERT_NE(pIn, nullptr);
    EXPECT_EQ(pIn->getSize(), 12);
    EXPECT_EQ(pIn->write("x", 1), 0);
    char szBuffer[32] = {};
    EXPECT_EQ(pIn->read(szBuffer, sizeof(szBuffer)), 12);
    EXPECT_STREQ(szBuffer, "hello world!");

    // Rewind starts the file over.
    ASSERT_TRUE(pIn->rewind());
    char szStart[6] = {};
    EXPECT_EQ(pIn->read(szStart, 5), 5);
    EXPECT_STREQ(szStart, "hello");
    pIn->close();
}

TEST_F(StandardFileSystemTest, NameIsTheJoinedPath)
{
    writeFile("trace.txt", "t");
    HFile *pFile = m_fs.openFileForRead("trace.txt");
    ASSERT_NE(pFile, nullptr);
    EXPECT_EQ(std::string(pFile->getName()), m_root + "/trace.txt");
    EXPECT_TRUE(pFile->isKindOf(&HFile::sm_classInfo));
    EXPECT_STREQ(pFile->getClassName(), "HStandardFile");
    pFile->close();

    // Nothing is normalised: a root ending in '/' doubles the separator.
    HStandardFileSystem slashed;
    slashed.init((m_root + "/").c_str());
    HFile *pSlashed = slashed.openFileForRead("trace.txt");
    ASSERT_NE(pSlashed, nullptr);
    EXPECT_EQ(std::string(pSlashed->getName()), m_root + "//trace.txt");
    pSlashed->close();
    slashed.shutdown();
}

TEST_F(StandardFileSystemTest, DotRootNamesTheTraceFileRelatively)
{
    char szOld[4096];
    ASSERT_NE(getcwd(szOld, sizeof(szOld)), nullptr);
    ASSERT_EQ(chdir(m_root.c_str()), 0);
    HStandardFileSystem local;
    local.init(".");
    HFile *pFile = local.openFileForWrite("trace.txt");
    const std::string name = pFile ? pFile->getName() : "<no file>";
    if (pFile) {
        pFile->close();
    }
    local.shutdown();
    ASSERT_EQ(chdir(szOld), 0);
    EXPECT_EQ(name, "./trace.txt");
    EXPECT_EQ(access((m_root + "/trace.txt").c_str(), F_OK), 0);
}

TEST_F(StandardFileSystemTest, SixteenSlotsThenRefused)
{
    writeFile("a.bin", "abc");
    HFile *apFiles[16];
    for (int i = 0; i < 16; i++) {
        apFiles[i] = m_fs.openFileForRead("a.bin");
        ASSERT_NE(apFiles[i], nullptr) << i;
        for (int j = 0; j < i; j++) {
            ASSERT_NE(apFiles[i], apFiles[j]);
        }
    }
    EXPECT_EQ(m_fs.openFileForRead("a.bin"), nullptr);
    EXPECT_EQ(m_fs.openFileForWrite("b.bin"), nullptr);
    EXPECT_FALSE(m_fs.fileExists("a.bin"));

    // The freed slot (lowest free index) is the next one lent out.
    apFiles[5]->close();
    HFile *pAgain = m_fs.openFileForRead("a.bin");
    EXPECT_EQ(pAgain, apFiles[5]);
    for (HFile *pFile : apFiles) {
        pFile->close();
    }
}

TEST_F(StandardFileSystemTest, FailedOpensAndExistsTakeNoSlot)
{
    writeFile("present.txt", "p");
    mkdir((m_root + "/sub").c_str(), 0700);
    for (int i = 0; i < 40; i++) {
        EXPECT_EQ(m_fs.openFileForRead("missing.txt"), nullptr);
        EXPECT_FALSE(m_fs.fileExists("missing.txt"));
        EXPECT_TRUE(m_fs.fileExists("present.txt"));
        // A directory is not a file, though fopen would take it.
        EXPECT_EQ(m_fs.openFileForRead("sub"), nullptr);
    }
    HFile *apFiles[16];
    for (HFile *&pFile : apFiles) {
        pFile = m_fs.openFileForRead("present.txt");
        ASSERT_NE(pFile, nullptr);
    }
    for (HFile *pFile : apFiles) {
        pFile->close();
    }
}

TEST_F(StandardFileSystemTest, SecondCloseChangesNothing)
{
    writeFile("a.txt", "a");
    HStandardFile *pFile = static_cast<HStandardFile *>(m_fs.openFileForRead("a.txt"));
    ASSERT_NE(pFile, nullptr);
    pFile->close();
    EXPECT_FALSE(pFile->isOpen());
    pFile->close();
    EXPECT_FALSE(pFile->isOpen());
    char c;
    EXPECT_EQ(pFile->read(&c, 1), 0);
    EXPECT_FALSE(pFile->rewind());
}

TEST_F(StandardFileSystemTest, OverlongPathIsRefusedNotCut)
{
    // Cut to 1023 characters the path would name another file.
    const std::string longName = std::string(1100, 'n');
    EXPECT_EQ(m_fs.openFileForWrite(longName.c_str()), nullptr);
    EXPECT_EQ(m_fs.openFileForRead(longName.c_str()), nullptr);
    EXPECT_EQ(m_fs.getFileTime(longName.c_str()), 0);
}

TEST_F(StandardFileSystemTest, FileTimeUnderTheRoot)
{
    writeFile("t.txt", "t");
    struct stat st;
    ASSERT_EQ(stat((m_root + "/t.txt").c_str(), &st), 0);
    EXPECT_EQ(m_fs.getFileTime("t.txt"), (int32_t)st.st_mtime);
    EXPECT_EQ(m_fs.getFileTime("none.txt"), 0);
}

} // namespace
