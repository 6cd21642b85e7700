// High-score records: the 44-byte registry layout, ranking and insertion,
// the default table, clearing, and stored values that are damaged or
// hostile. Every test has a home folder (and registry) of its own.
#include <gtest/gtest.h>

#include <string.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "GameDialogsRegistry.h"
#include "HighScoreTable.h"
#include "message_hook.h"

namespace {

const char *const kDefaults[5] = { "Tamsel", "Orrik", "Vinna", "Brede", "Lusk" };

class HighScoreTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(home.ok()); }

    // Fills a table with these scores, names "p0".."p4", levels 1..5.
    void fill(HighScoreTable &table, const std::vector<uint32_t> &scores)
    {
        for (size_t i = 0; i < scores.size(); i++) {
            table.insertScore(("p" + std::to_string(i)).c_str(), scores[i], (int32_t)i + 1);
        }
    }
    std::vector<uint32_t> scores(const HighScoreTable &table)
    {
        std::vector<uint32_t> out;
        for (int i = 0; i < 5; i++) {
            out.push_back(table.getEntry(i).m_uScore);
        }
        return out;
    }

    ScratchHome home;
    ScopedMessageHook boxes;
};

TEST_F(HighScoreTest, FirstRunShowsDefaultNamesAndStoresNothingUntilSaved)
{
    HighScoreTable table;
    table.load(false);
    for (int i = 0; i < 5; i++) {
        EXPECT_STREQ(table.getEntry(i).m_szName, kDefaults[i]) << i;
        EXPECT_EQ(table.getEntry(i).m_uScore, 0u);
        EXPECT_EQ(table.getEntry(i).m_iLevel, 1);
    }
    std::vector<uint8_t> bytes;
    EXPECT_FALSE(readValue("HS:0", &bytes));
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(HighScoreTest, SavedRecordsHaveTheRegistryByteLayout)
{
    HighScoreTable table;
    table.load(false);
    ASSERT_EQ(table.insertScore("Ada", 0x01020304u, 7), 0);
    table.save();

    std::vector<uint8_t> bytes;
    ASSERT_TRUE(readValue("HS:0", &bytes));
    ASSERT_EQ(bytes.size(), 44u);
    const uint8_t head[8] = { 0x01, 0x01, 0x00, 0x00, 'A', 'd', 'a', 0x00 };
    EXPECT_EQ(memcmp(bytes.data(), head, sizeof(head)), 0);
    for (size_t i = 8; i < 36; i++) {
        EXPECT_EQ(bytes[i], 0) << "name field byte " << i;
    }
    const uint8_t tail[8] = { 0x04, 0x03, 0x02, 0x01, 0x07, 0x00, 0x00, 0x00 };
    EXPECT_EQ(memcmp(bytes.data() + 36, tail, sizeof(tail)), 0);

    // The default that moved down is stored under the next key.
    ASSERT_TRUE(readValue("HS:1", &bytes));
    ASSERT_EQ(bytes.size(), 44u);
    EXPECT_STREQ((const char *)bytes.data() + 4, "Tamsel");
    for (const char *key : { "HS:2", "HS:3", "HS:4" }) {
        EXPECT_TRUE(readValue(key, &bytes)) << key;
        EXPECT_EQ(bytes.size(), 44u) << key;
    }
    EXPECT_FALSE(readValue("HS:5", &bytes));
}

TEST_F(HighScoreTest, RecordsRoundTripThroughTheRegistry)
{
    HighScoreTable table;
    table.load(false);
    fill(table, { 900, 700, 500, 300, 100 });
    table.save();

    HighScoreTable again;
    again.load(false);
    for (int i = 0; i < 5; i++) {
        const HighScoreEntry &a = table.getEntry(i);
        const HighScoreEntry &b = again.getEntry(i);
        EXPECT_STREQ(b.m_szName, a.m_szName) << i;
        EXPECT_EQ(b.m_uScore, a.m_uScore) << i;
        EXPECT_EQ(b.m_iLevel, a.m_iLevel) << i;
    }
    EXPECT_EQ(scores(again), (std::vector<uint32_t>{ 900, 700, 500, 300, 100 }));
}

TEST_F(HighScoreTest, RankIsTheFirstSlotHoldingLess)
{
    HighScoreTable table;
    fill(table, { 500, 400, 400, 300, 200 });
    ASSERT_EQ(scores(table), (std::vector<uint32_t>{ 500, 400, 400, 300, 200 }));
    EXPECT_EQ(table.rankScore(501), 0);
    EXPECT_EQ(table.rankScore(500), 1);  // a tie stays below
    EXPECT_EQ(table.rankScore(400), 3);
    EXPECT_EQ(table.rankScore(201), 4);
    EXPECT_EQ(table.rankScore(200), -1); // equal to the fifth does not enter
    EXPECT_EQ(table.rankScore(0), -1);
    EXPECT_EQ(table.rankScore(0xFFFFFFFFu), 0);

    HighScoreTable empty;
    EXPECT_EQ(empty.rankScore(0), -1);
    EXPECT_EQ(empty.rankScore(1), 0);
}

TEST_F(HighScoreTest, InsertMovesLowerSlotsDownAndDropsTheLast)
{
    HighScoreTable table;
    fill(table, { 500, 400, 400, 300, 200 });
    EXPECT_EQ(table.insertScore("late", 400, 9), 3);
    EXPECT_EQ(scores(table), (std::vector<uint32_t>{ 500, 400, 400, 400, 300 }));
    // The two older 400s keep their places above the new one.
    EXPECT_STREQ(table.getEntry(1).m_szName, "p1");
    EXPECT_STREQ(table.getEntry(2).m_szName, "p2");
    EXPECT_STREQ(table.getEntry(3).m_szName, "late");
    EXPECT_EQ(table.getEntry(3).m_iLevel, 9);
    EXPECT_STREQ(table.getEntry(4).m_szName, "p3");

    EXPECT_EQ(table.insertScore("top", 1000, 2), 0);
    EXPECT_EQ(scores(table), (std::vector<uint32_t>{ 1000, 500, 400, 400, 400 }));
    EXPECT_STREQ(table.getEntry(1).m_szName, "p0");

    // Not ranking changes nothing.
    EXPECT_EQ(table.insertScore("low", 400, 3), -1);
    EXPECT_EQ(scores(table), (std::vector<uint32_t>{ 1000, 500, 400, 400, 400 }));
}

TEST_F(HighScoreTest, NamesAreCutTo31CharactersAndEmptyNamesKept)
{
    HighScoreTable table;
    const std::string longName(40, 'x');
    ASSERT_EQ(table.insertScore(longName.c_str(), 10, 1), 0);
    EXPECT_EQ(strlen(table.getEntry(0).m_szName), 31u);
    EXPECT_EQ(std::string(table.getEntry(0).m_szName), longName.substr(0, 31));

    ASSERT_EQ(table.insertScore("", 20, 1), 0);
    EXPECT_STREQ(table.getEntry(0).m_szName, "");
    ASSERT_EQ(table.insertScore(nullptr, 30, 1), 0);
    EXPECT_STREQ(table.getEntry(0).m_szName, "");

    table.save();
    HighScoreTable again;
    again.load(false);
    EXPECT_STREQ(again.getEntry(0).m_szName, "");
    EXPECT_EQ(std::string(again.getEntry(2).m_szName), longName.substr(0, 31));
}

TEST_F(HighScoreTest, WrongLengthSlotIsIgnoredOthersLoad)
{
    ASSERT_TRUE(storeValue("HS:0", scoreRecord("first", 900, 5)));
    ASSERT_TRUE(storeValue("HS:1", scoreRecord("second", 700, 4)));
    std::vector<uint8_t> shortValue = scoreRecord("third", 600, 3);
    shortValue.resize(40);
    ASSERT_TRUE(storeValue("HS:2", shortValue));
    ASSERT_TRUE(storeValue("HS:3", scoreRecord("fourth", 300, 2)));
    ASSERT_TRUE(storeValue("HS:4", scoreRecord("fifth", 100, 1)));

    HighScoreTable table;
    table.load(false);
    // The refused slot keeps the name it had, with nothing scored, and sinks
    // below the four good records.
    EXPECT_STREQ(table.getEntry(0).m_szName, "first");
    EXPECT_STREQ(table.getEntry(1).m_szName, "second");
    EXPECT_STREQ(table.getEntry(2).m_szName, "fourth");
    EXPECT_STREQ(table.getEntry(3).m_szName, "fifth");
    EXPECT_STREQ(table.getEntry(4).m_szName, "nobody");
    EXPECT_EQ(scores(table), (std::vector<uint32_t>{ 900, 700, 300, 100, 0 }));
    EXPECT_EQ(table.getEntry(0).m_iLevel, 5);
    EXPECT_EQ(table.getEntry(4).m_iLevel, 1);
}

TEST_F(HighScoreTest, HostileValuesAreRefusedOneByOne)
{
    std::vector<uint8_t> tooLong = scoreRecord("long", 800, 2);
    tooLong.resize(45, 'z');
    ASSERT_TRUE(storeValue("HS:0", tooLong));
    ASSERT_TRUE(storeValue("HS:1", scoreRecord("tag", 700, 2, 258)));
    ASSERT_TRUE(storeValue("HS:2", scoreRecord("level", 600, 0)));
    ASSERT_TRUE(storeValue("HS:3", scoreRecord("huge", 0x80000000u, 3)));
    ASSERT_TRUE(storeValue("HS:4", std::vector<uint8_t>()));

    HighScoreTable table;
    table.load(false);
    for (int i = 0; i < 5; i++) {
        EXPECT_STREQ(table.getEntry(i).m_szName, "nobody") << i;
        EXPECT_EQ(table.getEntry(i).m_uScore, 0u) << i;
        EXPECT_EQ(table.getEntry(i).m_iLevel, 1) << i;
        EXPECT_EQ(table.getEntry(i).m_uTag, 257u) << i;
    }

    // A negative level is refused as well; a large one is a real game.
    ASSERT_TRUE(storeValue("HS:0", scoreRecord("neg", 50, -4)));
    ASSERT_TRUE(storeValue("HS:1", scoreRecord("far", 40, 500)));
    table.load(false);
    EXPECT_STREQ(table.getEntry(0).m_szName, "far");
    EXPECT_EQ(table.getEntry(0).m_iLevel, 500);
    EXPECT_EQ(table.getEntry(1).m_uScore, 0u);
}

TEST_F(HighScoreTest, UnterminatedNameIsCutWithinItsField)
{
    std::vector<uint8_t> record = scoreRecord("", 500, 3);
    for (size_t i = 4; i < 36; i++) {
        record[i] = 'N';
    }
    ASSERT_TRUE(storeValue("HS:0", record));

    HighScoreTable table;
    table.load(false);
    EXPECT_EQ(table.getEntry(0).m_uScore, 500u);
    EXPECT_EQ(std::string(table.getEntry(0).m_szName), std::string(31, 'N'));
    EXPECT_EQ(table.getEntry(0).m_szName[31], '\0');
}

TEST_F(HighScoreTest, OutOfOrderStoredTableIsRankedAgainTiesKeepSlotOrder)
{
    ASSERT_TRUE(storeValue("HS:0", scoreRecord("a", 100, 1)));
    ASSERT_TRUE(storeValue("HS:1", scoreRecord("b", 300, 1)));
    ASSERT_TRUE(storeValue("HS:2", scoreRecord("c", 200, 1)));
    ASSERT_TRUE(storeValue("HS:3", scoreRecord("d", 300, 1)));
    ASSERT_TRUE(storeValue("HS:4", scoreRecord("e", 50, 1)));
    HighScoreTable table;
    table.load(false);
    const char *order[5] = { "b", "d", "c", "a", "e" };
    for (int i = 0; i < 5; i++) {
        EXPECT_STREQ(table.getEntry(i).m_szName, order[i]) << i;
    }
    EXPECT_EQ(table.rankScore(300), 2);
}

TEST_F(HighScoreTest, ClearRestoresDefaultsAndTheNextSaveOverwritesAll)
{
    HighScoreTable table;
    table.load(false);
    fill(table, { 900, 700, 500, 300, 100 });
    table.save();

    table.load(true);
    for (int i = 0; i < 5; i++) {
        EXPECT_STREQ(table.getEntry(i).m_szName, kDefaults[i]) << i;
        EXPECT_EQ(table.getEntry(i).m_uScore, 0u);
        EXPECT_EQ(table.getEntry(i).m_iLevel, 1);
    }
    // Until saved, the registry still holds the old table.
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(readValue("HS:0", &bytes));
    EXPECT_EQ(getWord(bytes, 36), 900u);

    table.save();
    for (int i = 0; i < 5; i++) {
        const std::string key = "HS:" + std::to_string(i);
        ASSERT_TRUE(readValue(key.c_str(), &bytes));
        ASSERT_EQ(bytes.size(), 44u);
        EXPECT_STREQ((const char *)bytes.data() + 4, kDefaults[i]);
        EXPECT_EQ(getWord(bytes, 36), 0u);
        EXPECT_EQ(getWord(bytes, 40), 1u);
    }
}

TEST_F(HighScoreTest, UnreadableRegistryWarnsAndKeepsNames)
{
    HighScoreTable table;
    table.load(false);
    fill(table, { 900, 700 });
    // A directory where the registry file should be can't be opened.
    mkdir((home.path() + "/.quorvex").c_str(), 0700);
    ASSERT_EQ(mkdir(home.registryFile().c_str(), 0700), 0);
    boxes.clear();

    table.load(false);
    EXPECT_STREQ(table.getEntry(0).m_szName, "p0");
    EXPECT_STREQ(table.getEntry(1).m_szName, "p1");
    EXPECT_STREQ(table.getEntry(2).m_szName, "Tamsel");
    EXPECT_EQ(scores(table), (std::vector<uint32_t>{ 0, 0, 0, 0, 0 }));
    bool warned = false;
    for (const RecordedMessageBox &box : boxes.boxes()) {
        if (box.title == "Warning") {
            warned = true;
            EXPECT_EQ(box.uType, 49u);
            EXPECT_EQ(box.text.rfind("Gobstrel could not load high scores.  Please contact ", 0), 0u) << box.text;
        }
    }
    EXPECT_TRUE(warned);

    boxes.clear();
    table.save();
    warned = false;
    for (const RecordedMessageBox &box : boxes.boxes()) {
        if (box.title == "Warning") {
            warned = true;
            EXPECT_EQ(box.uType, 49u);
            EXPECT_EQ(box.text.rfind("Gobstrel could not open registry.  Please contact ", 0), 0u) << box.text;
        }
    }
    EXPECT_TRUE(warned);
}

TEST(HighScoreEntryTest, ParserTakesOnlyWholeRecords)
{
    HighScoreEntry entry;
    entry.reset();
    const std::vector<uint8_t> good = scoreRecord("ok", 77, 4);
    EXPECT_FALSE(entry.fromBytes(nullptr, 44));
    EXPECT_FALSE(entry.fromBytes(good.data(), 43));
    EXPECT_FALSE(entry.fromBytes(good.data(), -1));
    EXPECT_STREQ(entry.m_szName, "nobody");
    EXPECT_TRUE(entry.fromBytes(good.data(), 44));
    EXPECT_STREQ(entry.m_szName, "ok");
    EXPECT_EQ(entry.m_uScore, 77u);
    EXPECT_EQ(entry.m_iLevel, 4);

    uint8_t out[44];
    entry.toBytes(out);
    EXPECT_EQ(memcmp(out, good.data(), 44), 0);
}

} // namespace
