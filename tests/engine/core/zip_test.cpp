// ZIP archive file system over archives built here with minizip's writer:
// stored and deflated entries, damaged entries and hostile sizes.
#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <utility>
#include <vector>

#include <minizip/zip.h>

#include "HFile.h"
#include "HStandardFileSystem.h"
#include "HZIPFile.h"
#include "HZIPFileSystem.h"

namespace {

struct Entry {
    std::string name;
    std::string data;
    bool bDeflate;
};

std::string readFileBytes(const std::string &path)
{
    std::string bytes;
    FILE *pFile = fopen(path.c_str(), "rb");
    if (!pFile) {
        return bytes;
    }
    char aBuffer[4096];
    size_t uRead;
    while ((uRead = fread(aBuffer, 1, sizeof(aBuffer), pFile)) > 0) {
        bytes.append(aBuffer, uRead);
    }
    fclose(pFile);
    return bytes;
}

bool writeFileBytes(const std::string &path, const std::string &bytes)
{
    FILE *pFile = fopen(path.c_str(), "wb");
    if (!pFile) {
        return false;
    }
    const bool bOk = fwrite(bytes.data(), 1, bytes.size(), pFile) == bytes.size();
    return fclose(pFile) == 0 && bOk;
}

bool buildArchive(const std::string &path, const std::vector<Entry> &entries)
{
    zipFile hZip = zipOpen(path.c_str(), APPEND_STATUS_CREATE);
    if (!hZip) {
        return false;
    }
    bool bOk = true;
    for (const Entry &entry : entries) {
        zip_fileinfo info;
        memset(&info, 0, sizeof(info));
        bOk = bOk
            && zipOpenNewFileInZip(hZip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                   entry.bDeflate ? Z_DEFLATED : 0,
                                   entry.bDeflate ? Z_BEST_COMPRESSION : 0) == ZIP_OK
            && zipWriteInFileInZip(hZip, entry.data.data(), (unsigned)entry.data.size()) == ZIP_OK
            && zipCloseFileInZip(hZip) == ZIP_OK;
    }
    return zipClose(hZip, nullptr) == ZIP_OK && bOk;
}

uint32_t readLE32(const std::string &bytes, size_t uOffset)
{
    const unsigned char *p = reinterpret_cast<const unsigned char *>(bytes.data()) + uOffset;
    return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
}

uint16_t readLE16(const std::string &bytes, size_t uOffset)
{
    const unsigned char *p = reinterpret_cast<const unsigned char *>(bytes.data()) + uOffset;
    return (uint16_t)(p[0] | (p[1] << 8));
}

// Offset of the named entry's local header.
size_t localHeaderOffset(const std::string &bytes, const std::string &name)
{
    for (size_t i = 0; i + 30 <= bytes.size(); i++) {
        if (readLE32(bytes, i) == 0x04034b50 && readLE16(bytes, i + 26) == name.size()
            && bytes.compare(i + 30, name.size(), name) == 0) {
            return i;
        }
    }
    return std::string::npos;
}

// Offset of the named entry's data, from its local header.
size_t localDataOffset(const std::string &bytes, const std::string &name)
{
    const size_t i = localHeaderOffset(bytes, name);
    return i == std::string::npos ? i : i + 30 + name.size() + readLE16(bytes, i + 28);
}

// Offset of the named entry's central directory record.
size_t centralRecordOffset(const std::string &bytes, const std::string &name)
{
    for (size_t i = 0; i + 46 <= bytes.size(); i++) {
        if (readLE32(bytes, i) == 0x02014b50 && readLE16(bytes, i + 28) == name.size()
            && bytes.compare(i + 46, name.size(), name) == 0) {
            return i;
        }
    }
    return std::string::npos;
}

std::string patternText(size_t uLength)
{
    std::string text;
    for (size_t i = 0; text.size() < uLength; i++) {
        text += "sweet " + std::to_string(i % 97) + "; ";
    }
    text.resize(uLength);
    return text;
}

std::string readWhole(HFileSystem *pFs, const char *pszName)
{
    HFile *pFile = pFs->openFileForRead(pszName);
    if (!pFile) {
        return "<no file>";
    }
    const int32_t iSize = pFile->getSize();
    std::string data((size_t)iSize, '\0');
    const int32_t iRead = data.empty() ? 0 : pFile->read(&data[0], iSize);
    pFile->close();
    if (iRead != iSize) {
        return "<read " + std::to_string(iRead) + ">";
    }
    return data;
}

class ZipFileSystemTest : public testing::Test {
protected:
    void SetUp() override
    {
        char szTemplate[] = "/tmp/gobstrel-zip-XXXXXX";
        ASSERT_NE(mkdtemp(szTemplate), nullptr);
        m_dir = szTemplate;
        m_stored = "plain stored bytes 0123456789";
        m_deflated = patternText(20000);
        m_entries = {
            { "tile_red.tga", m_stored, false },
            { "sounds/pop.wav", m_deflated, true },
            { "empty.txt", "", false },
        };
        m_archive = m_dir + "/test.qvz";
        ASSERT_TRUE(buildArchive(m_archive, m_entries));
    }

    void TearDown() override
    {
        const std::string cmd = "rm -rf '" + m_dir + "'";
        EXPECT_EQ(system(cmd.c_str()), 0);
    }

    std::string m_dir;
    std::string m_archive;
    std::string m_stored;
    std::string m_deflated;
    std::vector<Entry> m_entries;
};

TEST_F(ZipFileSystemTest, SameInterfaceOverArchiveAndDirectory)
{
    // The same files through both file systems read back the same.
    ASSERT_EQ(system(("mkdir -p '" + m_dir + "/tree/sounds'").c_str()), 0);
    for (const Entry &entry : m_entries) {
        ASSERT_TRUE(writeFileBytes(m_dir + "/tree/" + entry.name, entry.data));
    }
    HZIPFileSystem zip;
    HStandardFileSystem dir;
    ASSERT_TRUE(zip.init(m_archive.c_str()));
    ASSERT_TRUE(dir.init((m_dir + "/tree").c_str()));
    HFileSystem *apSystems[] = { &zip, &dir };
    for (HFileSystem *pFs : apSystems) {
        EXPECT_EQ(readWhole(pFs, "tile_red.tga"), m_stored);
        EXPECT_EQ(readWhole(pFs, "sounds/pop.wav"), m_deflated);
        EXPECT_TRUE(pFs->fileExists("sounds/pop.wav"));
        EXPECT_FALSE(pFs->fileExists("sounds/none.wav"));
        EXPECT_EQ(pFs->openFileForRead("none.tga"), nullptr);

        // 16 slots, then refusal; a close frees the lowest slot again.
        HFile *apFiles[16];
        for (HFile *&pFile : apFiles) {
            pFile = pFs->openFileForRead("tile_red.tga");
            ASSERT_NE(pFile, nullptr);
        }
        EXPECT_EQ(pFs->openFileForRead("tile_red.tga"), nullptr);
        apFiles[3]->close();
        EXPECT_EQ(pFs->openFileForRead("sounds/pop.wav"), apFiles[3]);
        for (HFile *pFile : apFiles) {
            pFile->close();
        }
        pFs->shutdown();
    }
}

TEST_F(ZipFileSystemTest, NamesMatchWithoutCaseAndKeepTheCallersSpelling)
{
    HZIPFileSystem zip;
    ASSERT_TRUE(zip.init(m_archive.c_str()));
    HFile *pFile = zip.openFileForRead("TILE_RED.TGA");
    ASSERT_NE(pFile, nullptr);
    EXPECT_STREQ(pFile->getName(), "TILE_RED.TGA");
    EXPECT_EQ(pFile->getSize(), (int32_t)m_stored.size());
    EXPECT_STREQ(pFile->getClassName(), "HZIPFile");
    EXPECT_TRUE(pFile->isKindOf(&HFile::sm_classInfo));
    EXPECT_TRUE(pFile->isClass(&HZIPFile::sm_classInfo));
    EXPECT_FALSE(pFile->isClass(&HFile::sm_classInfo));
    pFile->close();
    EXPECT_TRUE(zip.fileExists("Sounds/POP.wav"));
    zip.shutdown();
}

TEST_F(ZipFileSystemTest, EveryReadStartsAtTheFirstByte)
{
    HZIPFileSystem zip;
    ASSERT_TRUE(zip.init(m_archive.c_str()));
    HFile *pA = zip.openFileForRead("sounds/pop.wav");
    HFile *pB = zip.openFileForRead("sounds/pop.wav");
    HFile *pC = zip.openFileForRead("tile_red.tga");
    ASSERT_NE(pA, nullptr);
    ASSERT_NE(pB, nullptr);
    ASSERT_NE(pC, nullptr);
    EXPECT_NE(pA, pB);

    char aFirst[64], aSecond[64], aOther[8];
    ASSERT_EQ(pA->read(aFirst, sizeof(aFirst)), (int32_t)sizeof(aFirst));
    // Interleaved reads of other files don't disturb anything.
    ASSERT_EQ(pC->read(aOther, sizeof(aOther)), (int32_t)sizeof(aOther));
    ASSERT_EQ(pA->read(aSecond, sizeof(aSecond)), (int32_t)sizeof(aSecond));
    EXPECT_EQ(memcmp(aFirst, aSecond, sizeof(aFirst)), 0);
    EXPECT_EQ(memcmp(aFirst, m_deflated.data(), sizeof(aFirst)), 0);
    EXPECT_EQ(memcmp(aOther, m_stored.data(), sizeof(aOther)), 0);
    ASSERT_EQ(pB->read(aSecond, sizeof(aSecond)), (int32_t)sizeof(aSecond));
    EXPECT_EQ(memcmp(aFirst, aSecond, sizeof(aFirst)), 0);

    // A buffer larger than the entry gets the whole entry.
    std::vector<char> big(m_stored.size() + 100);
    EXPECT_EQ(pC->read(big.data(), (int32_t)big.size()), (int32_t)m_stored.size());
    pA->close();
    pB->close();
    pC->close();
    zip.shutdown();
}

TEST_F(ZipFileSystemTest, ReadOnlyAndTimeless)
{
    HZIPFileSystem zip;
    ASSERT_TRUE(zip.init(m_archive.c_str()));
    EXPECT_EQ(zip.openFileForWrite("tile_red.tga"), nullptr);
    EXPECT_EQ(zip.openFileForWrite("new.txt"), nullptr);
    EXPECT_EQ(zip.getFileTime("tile_red.tga"), 0);
    HFile *pFile = zip.openFileForRead("tile_red.tga");
    ASSERT_NE(pFile, nullptr);
    EXPECT_EQ(pFile->write("x", 1), 0);
    EXPECT_FALSE(pFile->rewind());
    pFile->close();

    // An empty entry opens with size 0 and reads nothing.
    HFile *pEmpty = zip.openFileForRead("empty.txt");
    ASSERT_NE(pEmpty, nullptr);
    EXPECT_EQ(pEmpty->getSize(), 0);
    char c;
    EXPECT_EQ(pEmpty->read(&c, 1), 0);
    pEmpty->close();
    // A closed file reads nothing.
    EXPECT_EQ(pEmpty->read(&c, 1), 0);
    zip.shutdown();
}

TEST_F(ZipFileSystemTest, NotAnArchive)
{
    const std::string text = m_dir + "/not.qvz";
    ASSERT_TRUE(writeFileBytes(text, "this is not a zip archive at all"));
    HZIPFileSystem zip;
    EXPECT_FALSE(zip.init(text.c_str()));
    EXPECT_EQ(zip.openFileForRead("tile_red.tga"), nullptr);
    EXPECT_FALSE(zip.fileExists("tile_red.tga"));
    EXPECT_FALSE(zip.init((m_dir + "/missing.qvz").c_str()));
    zip.shutdown();
}

TEST_F(ZipFileSystemTest, DamagedStoredEntryIsAReadFailure)
{
    std::string bytes = readFileBytes(m_archive);
    const size_t uData = localDataOffset(bytes, "tile_red.tga");
    ASSERT_NE(uData, std::string::npos);
    ASSERT_EQ(bytes.compare(uData, m_stored.size(), m_stored), 0);
    bytes[uData + 4] ^= 0x20;     // the CRC no longer matches
    const std::string damaged = m_dir + "/damaged.qvz";
    ASSERT_TRUE(writeFileBytes(damaged, bytes));

    HZIPFileSystem zip;
    ASSERT_TRUE(zip.init(damaged.c_str()));
    HFile *pFile = zip.openFileForRead("tile_red.tga");
    ASSERT_NE(pFile, nullptr);
    std::vector<char> buffer((size_t)pFile->getSize());
    EXPECT_EQ(pFile->read(buffer.data(), pFile->getSize()), 0);
    pFile->close();
    // The undamaged entry still reads.
    EXPECT_EQ(readWhole(&zip, "sounds/pop.wav"), m_deflated);
    zip.shutdown();
}

TEST_F(ZipFileSystemTest, DamagedDeflatedEntryIsAReadFailure)
{
    std::string bytes = readFileBytes(m_archive);
    const size_t uData = localDataOffset(bytes, "sounds/pop.wav");
    const size_t uCentral = centralRecordOffset(bytes, "sounds/pop.wav");
    ASSERT_NE(uData, std::string::npos);
    ASSERT_NE(uCentral, std::string::npos);
    const uint32_t uCompressed = readLE32(bytes, uCentral + 20);
    ASSERT_GT(uCompressed, 16u);
    for (uint32_t i = uCompressed / 3; i < uCompressed / 3 + 4; i++) {
        bytes[uData + i] ^= 0x5A;
    }
    const std::string damaged = m_dir + "/damaged.qvz";
    ASSERT_TRUE(writeFileBytes(damaged, bytes));

    HZIPFileSystem zip;
    ASSERT_TRUE(zip.init(damaged.c_str()));
    HFile *pFile = zip.openFileForRead("sounds/pop.wav");
    ASSERT_NE(pFile, nullptr);
    std::vector<char> buffer((size_t)pFile->getSize());
    // Never a negative library code, never damaged bytes passed on as good.
    EXPECT_EQ(pFile->read(buffer.data(), pFile->getSize()), 0);
    pFile->close();
    EXPECT_EQ(readWhole(&zip, "tile_red.tga"), m_stored);
    zip.shutdown();
}

TEST_F(ZipFileSystemTest, ShortReadOfADamagedEntryIsAFailureToo)
{
    // Damage near the end of each entry: a read of only the first bytes must
    // still notice, since the check covers the whole entry.
    std::string bytes = readFileBytes(m_archive);
    const size_t uStored = localDataOffset(bytes, "tile_red.tga");
    const size_t uDeflated = localDataOffset(bytes, "sounds/pop.wav");
    const size_t uCentral = centralRecordOffset(bytes, "sounds/pop.wav");
    ASSERT_NE(uStored, std::string::npos);
    ASSERT_NE(uDeflated, std::string::npos);
    ASSERT_NE(uCentral, std::string::npos);
    const uint32_t uCompressed = readLE32(bytes, uCentral + 20);
    bytes[uStored + m_stored.size() - 2] ^= 0x01;
    for (uint32_t i = uCompressed - 12; i < uCompressed - 8; i++) {
        bytes[uDeflated + i] ^= 0x5A;
    }
    const std::string damaged = m_dir + "/damaged.qvz";
    ASSERT_TRUE(writeFileBytes(damaged, bytes));

    HZIPFileSystem zip;
    ASSERT_TRUE(zip.init(damaged.c_str()));
    for (const char *pszName : { "tile_red.tga", "sounds/pop.wav" }) {
        SCOPED_TRACE(pszName);
        HFile *pFile = zip.openFileForRead(pszName);
        ASSERT_NE(pFile, nullptr);
        char aStart[8];
        EXPECT_EQ(pFile->read(aStart, sizeof(aStart)), 0);
        pFile->close();
    }
    zip.shutdown();

    // The same short read of the sound archive gives the first bytes.
    ASSERT_TRUE(zip.init(m_archive.c_str()));
    HFile *pFile = zip.openFileForRead("sounds/pop.wav");
    ASSERT_NE(pFile, nullptr);
    char aStart[8];
    ASSERT_EQ(pFile->read(aStart, sizeof(aStart)), (int32_t)sizeof(aStart));
    EXPECT_EQ(memcmp(aStart, m_deflated.data(), sizeof(aStart)), 0);
    pFile->close();
    zip.shutdown();
}

TEST_F(ZipFileSystemTest, EntryShorterThanItsStatedSizeIsAFailure)
{
    // Both headers claim 1000 bytes more than the deflated data holds.
    std::string bytes = readFileBytes(m_archive);
    const size_t uCentral = centralRecordOffset(bytes, "sounds/pop.wav");
    const size_t uLocal = localHeaderOffset(bytes, "sounds/pop.wav");
    ASSERT_NE(uCentral, std::string::npos);
    ASSERT_NE(uLocal, std::string::npos);
    const uint32_t uClaimed = (uint32_t)m_deflated.size() + 1000;
    const char aClaimed[4] = { (char)(uClaimed & 0xFF), (char)((uClaimed >> 8) & 0xFF),
                               (char)((uClaimed >> 16) & 0xFF), (char)(uClaimed >> 24) };
    bytes.replace(uCentral + 24, 4, aClaimed, 4);
    bytes.replace(uLocal + 22, 4, aClaimed, 4);
    const std::string hostile = m_dir + "/short.qvz";
    ASSERT_TRUE(writeFileBytes(hostile, bytes));

    HZIPFileSystem zip;
    ASSERT_TRUE(zip.init(hostile.c_str()));
    HFile *pFile = zip.openFileForRead("sounds/pop.wav");
    ASSERT_NE(pFile, nullptr);
    ASSERT_EQ(pFile->getSize(), (int32_t)uClaimed);
    std::vector<char> buffer(uClaimed);
    EXPECT_EQ(pFile->read(buffer.data(), (int32_t)uClaimed), 0);
    pFile->close();
    zip.shutdown();
}

TEST_F(ZipFileSystemTest, SizePastTwoGigabytesIsRefused)
{
    std::string bytes = readFileBytes(m_archive);
    const size_t uCentral = centralRecordOffset(bytes, "tile_red.tga");
    ASSERT_NE(uCentral, std::string::npos);
    const char aHuge[4] = { 0x00, 0x00, 0x00, (char)0x80 };     // 0x80000000
    bytes.replace(uCentral + 24, 4, aHuge, 4);
    const std::string hostile = m_dir + "/hostile.qvz";
    ASSERT_TRUE(writeFileBytes(hostile, bytes));

    HZIPFileSystem zip;
    ASSERT_TRUE(zip.init(hostile.c_str()));
    EXPECT_TRUE(zip.fileExists("tile_red.tga"));
    EXPECT_EQ(zip.openFileForRead("tile_red.tga"), nullptr);
    // The refused open gave its slot back: all 16 are still there.
    HFile *apFiles[16];
    for (HFile *&pFile : apFiles) {
        pFile = zip.openFileForRead("sounds/pop.wav");
        ASSERT_NE(pFile, nullptr);
    }
    for (HFile *pFile : apFiles) {
        pFile->close();
    }
    zip.shutdown();
}

TEST_F(ZipFileSystemTest, LongNamesAreNeverFound)
{
    const std::string longName = std::string(300, 'l') + ".txt";
    const std::string path = m_dir + "/long.qvz";
    ASSERT_TRUE(buildArchive(path, { { longName, "x", false }, { "short.txt", "y", false } }));
    HZIPFileSystem zip;
    ASSERT_TRUE(zip.init(path.c_str()));
    EXPECT_FALSE(zip.fileExists(longName.c_str()));
    EXPECT_EQ(zip.openFileForRead(longName.c_str()), nullptr);
    EXPECT_EQ(readWhole(&zip, "short.txt"), "y");
    zip.shutdown();
}

} // namespace
