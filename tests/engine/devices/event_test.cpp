#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "HEvent.h"

static HEvent makeEvent(int type, int key = 0, uint8_t ch = 0)
{
    HEvent e;
    memset(&e, 0, sizeof(e));
    e.m_iType = type;
    e.m_iKey = key;
    e.m_cChar = ch;
    return e;
}

TEST(EventRecord, LayoutIsTheJournalRecord)
{
    HEvent e;
    memset(&e, 0, sizeof(e));
    e.m_iType = ET_KEYDOWN;
    e.setTime(0x1122334455667788ull);
    e.m_iFlag = 1;
    e.m_iModifiers = EM_CTRL | EM_SHIFT;
    e.m_iKey = KC_RETURN;
    e.m_cChar = 'x';
    e.m_iX = -3;
    e.m_iY = 479;
    unsigned char raw[44];
    memcpy(raw, &e, sizeof(raw));
    auto word = [&](int offset) {
        return (uint32_t)raw[offset] | (uint32_t)raw[offset + 1] << 8 |
               (uint32_t)raw[offset + 2] << 16 | (uint32_t)raw[offset + 3] << 24;
    };
    EXPECT_EQ(word(0), 8u);
    EXPECT_EQ(word(4), 0x55667788u); // low word first
    EXPECT_EQ(word(8), 0x11223344u);
    EXPECT_EQ(word(12), 1u);
    EXPECT_EQ(word(16), 5u);
    EXPECT_EQ(word(28), 13u);
    EXPECT_EQ(raw[32], 'x');
    EXPECT_EQ(word(36), 0xFFFFFFFDu);
    EXPECT_EQ(word(40), 479u);
}

TEST(EventRecord, KeyNames)
{
    EXPECT_STREQ(keyCodeName(makeEvent(ET_KEYDOWN, 0, 'a')), "a");
    EXPECT_STREQ(keyCodeName(makeEvent(ET_KEYUP, 0, 0)), "KC_INVALID");
    for (int code = 65; code <= 90; code++) {
        std::string expected = std::string("KC_") + (char)code;
        EXPECT_EQ(keyCodeName(makeEvent(ET_KEYDOWN, code)), expected);
    }
    for (int code = 48; code <= 57; code++) {
        std::string expected = std::string("KC_") + (char)code;
        EXPECT_EQ(keyCodeName(makeEvent(ET_KEYDOWN, code)), expected);
    }
    EXPECT_STREQ(keyCodeName(makeEvent(ET_KEYDOWN, 96)), "KC_NUMPAD0");
    EXPECT_STREQ(keyCodeName(makeEvent(ET_KEYDOWN, 105)), "KC_NUMPAD9");
    EXPECT_STREQ(keyCodeName(makeEvent(ET_KEYDOWN, 112)), "KC_F1");
    EXPECT_STREQ(keyCodeName(makeEvent(ET_KEYDOWN, 123)), "KC_F12");
    EXPECT_STREQ(keyCodeName(makeEvent(ET_KEYDOWN, 124)), "Unknown(0x7c)");
    EXPECT_STREQ(keyCodeName(makeEvent(ET_KEYDOWN, 288)), "KC_JOY0");
    EXPECT_STREQ(keyCodeName(makeEvent(ET_KEYDOWN, 91)), "Unknown(0x5b)");
    EXPECT_STREQ(keyCodeName(makeEvent(ET_KEYDOWN, KC_ESCAPE)), "KC_ESCAPE");
    EXPECT_STREQ(keyCodeName(makeEvent(ET_QUIT, KC_ESCAPE)), "Not A Key");
}

TEST(EventRecord, TraceTexts)
{
    char buffer[256];
    HEvent quit = makeEvent(ET_QUIT);
    quit.setTime(1234);
    EXPECT_STREQ(eventToString(quit, buffer, sizeof(buffer)), "ET_QUIT(1234)");

    HEvent key = makeEvent(ET_KEYDOWN, KC_LBUTTON);
    key.setTime(7);
    key.m_iX = 100;
    key.m_iY = 50;
    EXPECT_STREQ(eventToString(key, buffer, sizeof(buffer)), "ET_KEYDOWN(7) - key=KC_LBUTTON pt=100,50");

    HEvent move = makeEvent(ET_MOUSEMOVE);
    move.setTime(9);
    move.m_iX = 3;
    move.m_iY = 4;
    EXPECT_STREQ(eventToString(move, buffer, sizeof(buffer)), "ET_MOUSEMOVE(9) - pt=3,4");

    HEvent minimized = makeEvent(ET_WINDOW_MINIMIZED);
    minimized.m_iFlag = 1;
    EXPECT_STREQ(eventToString(minimized, buffer, sizeof(buffer)), "ET_WINDOW_MINIMIZED(0): minimized=1");

    // The printed time is the low word as a signed number.
    HEvent late = makeEvent(ET_TIMESTAMP);
    late.setTime(0x00000001FFFFFFFFull);
    EXPECT_STREQ(eventToString(late, buffer, sizeof(buffer)), "ET_TIMESTAMP(-1)");

    // A short buffer is cut, never overrun.
    char small[8];
    eventToString(key, small, sizeof(small));
    EXPECT_EQ(strlen(small), 7u);
}

TEST(EventRecord, UnknownTypesAreNeverTableIndexes)
{
    char buffer[128];
    const int types[] = { 15, 16, 1000, -1, (int)0x80000000, 0x7FFFFFFF };
    for (int type : types) {
        HEvent e = makeEvent(type, KC_A);
        eventToString(e, buffer, sizeof(buffer));
        EXPECT_EQ(strncmp(buffer, "ET_UNKNOWN", 10), 0) << buffer;
        EXPECT_STREQ(keyCodeName(e), "Not A Key");
    }
}
