// HHashTable: set-up and refusals, copies in and out, duplicates, bucket
// growth, and a long randomized run against std::map.
#include <gtest/gtest.h>

#include "HHashTable.h"

#include <string.h>

#include <map>
#include <random>

namespace {

struct Value {
    uint32_t    uA;
    uint16_t    uB;
};

int g_iCalls = 0;
void *g_pLastArgument = nullptr;

void s_function(void *pArgument)
{
    g_iCalls++;
    g_pLastArgument = pArgument;
}

uint32_t s_readU32(const void *p)
{
    uint32_t u;
    memcpy(&u, p, sizeof(u));
    return u;
}

} // namespace

TEST(HashTable, InitStoresSettingsAndRefusesBadSizes)
{
    HHashTable table;
    EXPECT_EQ(table.getBucketCount(), 0);
    EXPECT_EQ(table.getUserValue(), nullptr);

    int iUser = 0;
    ASSERT_TRUE(table.init(17, 8, 6, &iUser, s_function));
    EXPECT_EQ(table.getBucketCount(), 17);
    EXPECT_EQ(table.getEntrySize(), 8 + 6 + 4);
    EXPECT_EQ(table.getUserValue(), &iUser);
    EXPECT_EQ(table.getCount(), 0);

    // No buckets would mean hashing modulo zero.
    HHashTable bad;
    EXPECT_FALSE(bad.init(0, 4, 4, nullptr, nullptr));
    EXPECT_FALSE(bad.init(-3, 4, 4, nullptr, nullptr));
    EXPECT_FALSE(bad.init(8, -1, 4, nullptr, nullptr));
    EXPECT_FALSE(bad.init(8, 4, -1, nullptr, nullptr));
    EXPECT_FALSE(bad.init(8, 0x7FFFFFFF, 0x7FFFFFFF, nullptr, nullptr));
    uint32_t key = 1, value = 2;
    EXPECT_EQ(bad.insert(&key, &value), HC_REFUSED);
    EXPECT_EQ(bad.find(&key), nullptr);
    EXPECT_EQ(bad.remove(&key), HC_NOT_FOUND);
    bad.removeAll();
    bad.destroy();
}

TEST(HashTable, CallHashFunction)
{
    HHashTable table;
    g_iCalls = 0;
    // Before init there is no function: nothing is called.
    EXPECT_EQ(table.callHashFunction(&g_iCalls), 0);
    EXPECT_EQ(g_iCalls, 0);

    ASSERT_TRUE(table.init(4, 4, 4, nullptr, s_function));
    int arg = 0;
    EXPECT_EQ(table.callHashFunction(&arg), 0);
    EXPECT_EQ(g_iCalls, 1);
    EXPECT_EQ(g_pLastArgument, &arg);
}

TEST(HashTable, InsertFindRemoveCopiesBytes)
{
    HHashTable table;
    ASSERT_TRUE(table.init(31, sizeof(uint32_t), sizeof(Value), nullptr, nullptr));

    uint32_t key = 42;
    Value v = { 0xDEADBEEF, 7 };
    EXPECT_EQ(table.insert(&key, &v), HC_DONE);
    EXPECT_EQ(table.getCount(), 1);

    // The table holds copies: changing the caller's key and value after the
    // insert changes nothing inside.
    v.uA = 1;
    key = 43;
    EXPECT_EQ(table.find(&key), nullptr);
    key = 42;
    void *p = table.find(&key);
    ASSERT_NE(p, nullptr);
    Value stored;
    memcpy(&stored, p, sizeof(stored));
    EXPECT_EQ(stored.uA, 0xDEADBEEFu);
    EXPECT_EQ(stored.uB, 7);

    // A duplicate key is refused and the first value stays.
    Value other = { 5, 5 };
    EXPECT_EQ(table.insert(&key, &other), HC_DUPLICATE);
    memcpy(&stored, table.find(&key), sizeof(stored));
    EXPECT_EQ(stored.uA, 0xDEADBEEFu);
    EXPECT_EQ(table.getCount(), 1);

    // The value may be changed in place through the pointer.
    const uint32_t uNew = 99;
    memcpy(table.find(&key), &uNew, sizeof(uNew));
    EXPECT_EQ(s_readU32(table.find(&key)), 99u);

    EXPECT_EQ(table.insert(nullptr, &v), HC_REFUSED);
    EXPECT_EQ(table.insert(&key, nullptr), HC_REFUSED);

    EXPECT_EQ(table.remove(&key), HC_DONE);
    EXPECT_EQ(table.remove(&key), HC_NOT_FOUND);
    EXPECT_EQ(table.find(&key), nullptr);
    EXPECT_EQ(table.getCount(), 0);
    EXPECT_EQ(table.insert(&key, &other), HC_DONE);     // and back again
}

TEST(HashTable, KeysCompareByEveryByte)
{
    // Keys differing only in their last byte are different keys.
    HHashTable table;
    ASSERT_TRUE(table.init(1, 16, 4, nullptr, nullptr));
    char k1[16] = "sweets-and-more";
    char k2[16] = "sweets-and-morf";
    uint32_t v1 = 1, v2 = 2;
    EXPECT_EQ(table.insert(k1, &v1), HC_DONE);
    EXPECT_EQ(table.insert(k2, &v2), HC_DONE);
    EXPECT_EQ(s_readU32(table.find(k1)), 1u);
    EXPECT_EQ(s_readU32(table.find(k2)), 2u);
}

TEST(HashTable, ZeroSizedValuesMakeASet)
{
    HHashTable table;
    ASSERT_TRUE(table.init(8, 4, 0, nullptr, nullptr));
    EXPECT_EQ(table.getEntrySize(), 8);
    uint32_t key = 5;
    EXPECT_EQ(table.insert(&key, nullptr), HC_DONE);
    EXPECT_NE(table.find(&key), nullptr);
    EXPECT_EQ(table.insert(&key, nullptr), HC_DUPLICATE);
    key = 6;
    EXPECT_EQ(table.find(&key), nullptr);
}

TEST(HashTable, OneBucketGrowsWithoutLosingEntries)
{
    // Every entry lands in the same bucket, which must grow many times.
    HHashTable table;
    ASSERT_TRUE(table.init(1, sizeof(uint32_t), sizeof(uint32_t), nullptr, nullptr));
    const uint32_t n = 3000;
    for (uint32_t i = 0; i < n; i++) {
        const uint32_t v = i * 7 + 1;
        ASSERT_EQ(table.insert(&i, &v), HC_DONE) << i;
    }
    EXPECT_EQ(table.getCount(), (int)n);
    for (uint32_t i = 0; i < n; i++) {
        void *p = table.find(&i);
        ASSERT_NE(p, nullptr) << i;
        ASSERT_EQ(s_readU32(p), i * 7 + 1) << i;
    }
    // Remove the even keys; the odd ones (moved into the holes) survive.
    for (uint32_t i = 0; i < n; i += 2) {
        ASSERT_EQ(table.remove(&i), HC_DONE) << i;
    }
    for (uint32_t i = 0; i < n; i++) {
        void *p = table.find(&i);
        if (i % 2) {
            ASSERT_NE(p, nullptr) << i;
            ASSERT_EQ(s_readU32(p), i * 7 + 1);
        } else {
            ASSERT_EQ(p, nullptr) << i;
        }
    }
    EXPECT_EQ(table.getCount(), (int)n / 2);
}

TEST(HashTable, RemoveAllDestroyAndReinit)
{
    HHashTable table;
    ASSERT_TRUE(table.init(5, 4, 4, nullptr, nullptr));
    for (uint32_t i = 0; i < 50; i++) {
        table.insert(&i, &i);
    }
    table.removeAll();
    EXPECT_EQ(table.getCount(), 0);
    uint32_t key = 10;
    EXPECT_EQ(table.find(&key), nullptr);
    EXPECT_EQ(table.insert(&key, &key), HC_DONE);

    // A second init starts from nothing, with the new sizes.
    ASSERT_TRUE(table.init(3, 2, 2, nullptr, nullptr));
    EXPECT_EQ(table.getCount(), 0);
    EXPECT_EQ(table.find(&key), nullptr);

    table.destroy();
    EXPECT_EQ(table.insert(&key, &key), HC_REFUSED);
    table.destroy();                             // twice is harmless
}

TEST(HashTable, RandomizedAgainstStdMap)
{
    for (int iBuckets : { 1, 7, 256 }) {
        HHashTable table;
        ASSERT_TRUE(table.init(iBuckets, sizeof(uint64_t), sizeof(uint32_t), nullptr, nullptr));
        std::map<uint64_t, uint32_t> model;
        std::mt19937_64 rng(1234 + iBuckets);
        // A narrow key range keeps duplicates and misses frequent.
        std::uniform_int_distribution<uint64_t> pickKey(0, 2500);
        std::uniform_int_distribution<int> op(0, 99);

        for (int step = 0; step < 120000; step++) {
            // Spread the keys over all 64 bits so every byte is hashed.
            const uint64_t key = pickKey(rng) * 0x9E3779B97F4A7C15ull;
            const int o = op(rng);
            if (o < 45) {
                const uint32_t v = (uint32_t)rng();
                const bool bHad = model.count(key) != 0;
                ASSERT_EQ(table.insert(&key, &v), bHad ? HC_DUPLICATE : HC_DONE) << step;
                if (!bHad) {
                    model[key] = v;
                }
            } else if (o < 75) {
                const bool bHad = model.erase(key) != 0;
                ASSERT_EQ(table.remove(&key), bHad ? HC_DONE : HC_NOT_FOUND) << step;
            } else if (o < 99) {
                void *p = table.find(&key);
                auto it = model.find(key);
                if (it == model.end()) {
                    ASSERT_EQ(p, nullptr) << step;
                } else {
                    ASSERT_NE(p, nullptr) << step;
                    ASSERT_EQ(s_readU32(p), it->second) << step;
                }
            } else if (step % 40 == 0) {
                // Every entry still there with its value.
                ASSERT_EQ(table.getCount(), (int)model.size());
                for (const auto &kv : model) {
                    void *p = table.find(&kv.first);
                    ASSERT_NE(p, nullptr);
                    ASSERT_EQ(s_readU32(p), kv.second);
                }
            }
            if (step == 90000) {
                table.removeAll();
                model.clear();
            }
        }
        EXPECT_EQ(table.getCount(), (int)model.size());
    }
}
