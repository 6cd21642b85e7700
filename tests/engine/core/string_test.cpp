#include <gtest/gtest.h>

#include <limits.h>
#include <stdlib.h>
#include <string.h>
#include <zlib.h>

#include <string>

#include "HString.h"

TEST(BoundedString, CopyAlwaysTerminates)
{
    char szBuffer[16];
    memset(szBuffer, 'x', sizeof(szBuffer));
    EXPECT_EQ(stringCopyBounded(szBuffer, "abcdefg", 5), szBuffer);
    EXPECT_STREQ(szBuffer, "abcd");
    EXPECT_EQ(szBuffer[5], 'x');

    stringCopyBounded(szBuffer, "abcdefg", 1);
    EXPECT_STREQ(szBuffer, "");

    stringCopyBounded(szBuffer, "abc", sizeof(szBuffer));
    EXPECT_STREQ(szBuffer, "abc");
    stringCopyBounded(szBuffer, "abcd", 5);
    EXPECT_STREQ(szBuffer, "abcd");

    szBuffer[0] = 'q';
    stringCopyBounded(szBuffer, "abc", 0);
    EXPECT_EQ(szBuffer[0], 'q');
    stringCopyBounded(szBuffer, nullptr, sizeof(szBuffer));
    EXPECT_STREQ(szBuffer, "");
}

TEST(BoundedString, AppendStaysWithinTheBuffer)
{
    char szBuffer[8];
    memset(szBuffer, 'x', sizeof(szBuffer));
    stringCopyBounded(szBuffer, "abc", sizeof(szBuffer));
    EXPECT_EQ(stringAppendBounded(szBuffer, "def", sizeof(szBuffer)), szBuffer);
    EXPECT_STREQ(szBuffer, "abcdef");
    stringAppendBounded(szBuffer, "ghij", sizeof(szBuffer));
    EXPECT_STREQ(szBuffer, "abcdefg");
    stringAppendBounded(szBuffer, "z", sizeof(szBuffer));
    EXPECT_STREQ(szBuffer, "abcdefg");

    // A destination with no terminator inside its size is cut, not overrun.
    memset(szBuffer, 'y', sizeof(szBuffer));
    stringAppendBounded(szBuffer, "z", sizeof(szBuffer));
    EXPECT_EQ(std::string(szBuffer), std::string(7, 'y'));
}

TEST(BoundedString, PrintfTruncatesAtTheBound)
{
    char szBuffer[8];
    EXPECT_EQ(stringPrintf(szBuffer, sizeof(szBuffer), "%d-%s", 1234, "abcdef"), szBuffer);
    EXPECT_STREQ(szBuffer, "1234-ab");
    stringPrintf(szBuffer, sizeof(szBuffer), "%d", -7);
    EXPECT_STREQ(szBuffer, "-7");
    stringPrintf(szBuffer, 1, "%s", "abc");
    EXPECT_STREQ(szBuffer, "");
}

TEST(BoundedString, DuplicateAndCase)
{
    char *pCopy = stringDuplicate("Hello, World");
    ASSERT_NE(pCopy, nullptr);
    EXPECT_STREQ(pCopy, "Hello, World");
    EXPECT_STREQ(stringToUpper(pCopy), "HELLO, WORLD");
    EXPECT_STREQ(stringToLower(pCopy), "hello, world");
    free(pCopy);
    EXPECT_EQ(stringDuplicate(nullptr), nullptr);

    pCopy = stringDuplicate("");
    ASSERT_NE(pCopy, nullptr);
    EXPECT_STREQ(pCopy, "");
    free(pCopy);
}

TEST(StringCompare, NoCaseGivesOnlyMinusOneZeroOrOne)
{
    EXPECT_EQ(stringCompareNoCase("Alert", "ALERT"), 0);
    EXPECT_EQ(stringCompareNoCase("", ""), 0);
    EXPECT_EQ(stringCompareNoCase("abc", "abcd"), -1);
    EXPECT_EQ(stringCompareNoCase("abcd", "abc"), 1);
    EXPECT_EQ(stringCompareNoCase("b", "A"), 1);
    EXPECT_EQ(stringCompareNoCase("A", "b"), -1);
    EXPECT_EQ(stringCompareNoCase("a", "z"), -1);   // not the difference 'a' - 'z'
    EXPECT_EQ(stringCompareNoCase("", "x"), -1);
    // Bytes from 0x80 are signed: they sort below every ASCII character.
    EXPECT_EQ(stringCompareNoCase("\xe9", "a"), -1);
    EXPECT_EQ(stringCompareNoCase("a", "\xe9"), 1);
    EXPECT_EQ(stringCompareNoCase("(any)", "(ANY)"), 0);
}

TEST(StringHash, NoCaseFoldsOnlyAsciiCapitals)
{
    EXPECT_EQ(stringHashNoCase("HObject"), stringHashNoCase("hobject"));
    EXPECT_EQ(stringHashNoCase(""), 0u);
    EXPECT_EQ(stringHashNoCase("a"), (uint32_t)'a');
    EXPECT_EQ(stringHashNoCase("ab"), (uint32_t)('a' * 31 + 'b'));
    EXPECT_NE(stringHashNoCase("ab"), stringHashNoCase("ba"));
    // A signed byte adds a negative amount.
    EXPECT_EQ(stringHashNoCase("\xff"), 0xFFFFFFFFu);
    // Long names wrap without trouble.
    const std::string longName(500, 'Z');
    EXPECT_EQ(stringHashNoCase(longName.c_str()), stringHashNoCase(std::string(500, 'z').c_str()));
}

TEST(StringHash, CRCUsesTheStandardTable)
{
    // One byte reads exactly one table entry; zlib holds the same table.
    const z_crc_t *pTable = get_crc_table();
    for (int b = 1; b < 256; b++) {
        const char szOne[2] = { (char)b, '\0' };
        EXPECT_EQ(stringHashCRC(szOne, 0), (uint32_t)pTable[b]) << b;
    }
    EXPECT_EQ(stringHashCRC("", 0x1234u), 0x1234u);
    EXPECT_EQ(stringHashCRC("ab", 0) ^ 0xFFu, stringHashCRC("ab", 0xFFu));
    // Most-significant byte first: not the standard CRC-32 of the text.
    const char *szCheck = "123456789";
    EXPECT_NE(stringHashCRC(szCheck, 0), (uint32_t)crc32(0, (const Bytef *)szCheck, 9));
    EXPECT_NE(stringHashCRC("ab", 0), stringHashCRC("ba", 0));
}

TEST(Tokens, NextTokenSkipsSeparators)
{
    const char *szText = "  +set;a b";
    char szToken[16];
    const char *p = nextToken(szToken, sizeof(szToken), szText, " ;");
    ASSERT_NE(p, nullptr);
    EXPECT_STREQ(szToken, "+set");
    p = nextToken(szToken, sizeof(szToken), p, " ;");
    ASSERT_NE(p, nullptr);
    EXPECT_STREQ(szToken, "a");
    p = nextToken(szToken, sizeof(szToken), p, " ;");
    ASSERT_NE(p, nullptr);
    EXPECT_STREQ(szToken, "b");
    EXPECT_EQ(nextToken(szToken, sizeof(szToken), p, " ;"), nullptr);
    EXPECT_STREQ(szToken, "");

    EXPECT_EQ(nextToken(szToken, sizeof(szToken), "   ", " "), nullptr);
    EXPECT_EQ(nextToken(szToken, sizeof(szToken), nullptr, " "), nullptr);
}

TEST(Tokens, LongTokenIsCutAndSkippedWhole)
{
    char szToken[4];
    const char *p = nextToken(szToken, sizeof(szToken), "abcdefgh next", " ");
    ASSERT_NE(p, nullptr);
    EXPECT_STREQ(szToken, "abc");
    p = nextToken(szToken, sizeof(szToken), p, " ");
    ASSERT_NE(p, nullptr);
    EXPECT_STREQ(szToken, "nex");
    EXPECT_EQ(*p, '\0');
}

TEST(Tokens, CharInSet)
{
    EXPECT_TRUE(isCharInSet(" ;", ';'));
    EXPECT_FALSE(isCharInSet(" ;", 'a'));
    EXPECT_FALSE(isCharInSet("", 'a'));
    EXPECT_FALSE(isCharInSet(" ;", '\0'));
}

TEST(Tokens, PatternList)
{
    EXPECT_TRUE(matchPatternList("anything", "*.png;font.png"));
    EXPECT_TRUE(matchPatternList("", "*"));
    EXPECT_TRUE(matchPatternList("tile_red", "tile_*;font.png"));
    EXPECT_TRUE(matchPatternList("font.png", "tile_*;font.png"));
    EXPECT_FALSE(matchPatternList("Font.png", "tile_*;font.png"));
    EXPECT_FALSE(matchPatternList("tile", "tile_*;font.png"));
    // Whatever follows the '*' is ignored.
    EXPECT_TRUE(matchPatternList("tile_red.tga", "tile_*.png"));
    EXPECT_FALSE(matchPatternList("font.pn", "font.png"));
    EXPECT_FALSE(matchPatternList("font.png", ""));
}

TEST(Tokens, ReadLinesFromABuffer)
{
    const char *szText = "\r\nfirst\r\nsecond";
    char szLine[32];
    const char *p = s_readLineFromBuffer(szText, szLine, sizeof(szLine));
    ASSERT_NE(p, nullptr);
    EXPECT_STREQ(szLine, "first");
    p = s_readLineFromBuffer(p, szLine, sizeof(szLine));
    ASSERT_NE(p, nullptr);
    EXPECT_STREQ(szLine, "second");
    EXPECT_EQ(s_readLineFromBuffer(p, szLine, sizeof(szLine)), nullptr);
    EXPECT_STREQ(szLine, "");

    // A line longer than the buffer comes back in pieces.
    char szSmall[4];
    p = s_readLineFromBuffer("abcdefg\nh", szSmall, sizeof(szSmall));
    EXPECT_STREQ(szSmall, "abc");
    p = s_readLineFromBuffer(p, szSmall, sizeof(szSmall));
    EXPECT_STREQ(szSmall, "def");
    p = s_readLineFromBuffer(p, szSmall, sizeof(szSmall));
    EXPECT_STREQ(szSmall, "g");
    p = s_readLineFromBuffer(p, szSmall, sizeof(szSmall));
    EXPECT_STREQ(szSmall, "h");
    EXPECT_EQ(s_readLineFromBuffer(p, szSmall, sizeof(szSmall)), nullptr);

    // A buffer with no room for a character ends the reading instead of
    // returning the same position for ever.
    EXPECT_EQ(s_readLineFromBuffer("abc\n", szSmall, 1), nullptr);
    EXPECT_STREQ(szSmall, "");
}

TEST(Numbers, PowerOfTwoAndClamp)
{
    EXPECT_TRUE(isPowerOfTwo(0));
    EXPECT_TRUE(isPowerOfTwo(1));
    EXPECT_TRUE(isPowerOfTwo(64));
    EXPECT_TRUE(isPowerOfTwo(0x80000000u));
    EXPECT_FALSE(isPowerOfTwo(6));
    EXPECT_FALSE(isPowerOfTwo(0xFFFFFFFFu));

    int32_t iValue = 700;
    EXPECT_EQ(clampValue(iValue, 0, 639), -61);
    EXPECT_EQ(iValue, 639);
    iValue = -5;
    EXPECT_EQ(clampValue(iValue, 0, 639), 5);
    EXPECT_EQ(iValue, 0);
    iValue = 17;
    EXPECT_EQ(clampValue(iValue, 0, 639), 0);
    EXPECT_EQ(iValue, 17);
    iValue = INT_MIN;
    EXPECT_EQ(clampValue(iValue, -10, 10), 2147483638);
    EXPECT_EQ(iValue, -10);
}

TEST(ByteOrder, SwapsAndIdentities)
{
    EXPECT_EQ(byteSwap16(0x1234), (int16_t)0x3412);
    EXPECT_EQ(byteSwap16(0x00FF), (int16_t)-256);
    EXPECT_EQ(byteSwap32(0x12345678u), 0x78563412u);
    EXPECT_EQ(byteSwap32(byteSwap32(0xDEADBEEFu)), 0xDEADBEEFu);
    EXPECT_EQ(toLittleEndian16(0xFFFE), (int16_t)-2);
    EXPECT_EQ(toBigEndian16(0x1234), (int16_t)0x3412);

    // The little-endian reads match the bytes as stored in a file.
    const unsigned char bytes[4] = { 0x78, 0x56, 0x34, 0x12 };
    uint32_t uStored;
    memcpy(&uStored, bytes, sizeof(uStored));
    EXPECT_EQ(toLittleEndian32(uStored), 0x12345678u);
}
