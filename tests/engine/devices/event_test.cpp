#include <gtest/gtest.h>

#include <cstdio>
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
    e.m_uTime = 0x1122334455667788ull;
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
    EXPECT_EQ(word(20), 0u);
    EXPECT_EQ(word(24), 0u);

    // Raw bytes back into a record give the same 64-bit stamp.
    HEvent back;
    memcpy(&back, raw, sizeof(back));
    const uint64_t stamp = back.m_uTime;
    EXPECT_EQ(stamp, 0x1122334455667788ull);
    EXPECT_EQ(back.getTime(), 0x1122334455667788ull);
    EXPECT_EQ(back.m_iKey, KC_RETURN);
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

TEST(EventRecord, EveryNamedKeyCode)
{
    const struct { int code; const char *name; } named[] = {
        { 1, "KC_LBUTTON" }, { 2, "KC_RBUTTON" }, { 4, "KC_MBUTTON" }, { 8, "KC_BACK" },
        { 9, "KC_TAB" }, { 12, "KC_CLEAR" }, { 13, "KC_RETURN" }, { 16, "KC_SHIFT" },
        { 17, "KC_CONTROL" }, { 18, "KC_MENU" }, { 27, "KC_ESCAPE" }, { 32, "KC_SPACE" },
        { 35, "KC_END" }, { 36, "KC_HOME" }, { 37, "KC_LEFT" }, { 38, "KC_UP" },
        { 39, "KC_RIGHT" }, { 40, "KC_DOWN" }, { 45, "KC_INSERT" }, { 46, "KC_DELETE" },
        { 106, "KC_MULTIPLY" }, { 107, "KC_ADD" }, { 108, "KC_SEPARATOR" },
        { 109, "KC_SUBTRACT" }, { 110, "KC_DECIMAL" }, { 111, "KC_DIVIDE" },
        { 288, "KC_JOY0" }, { 289, "KC_JOY1" },
    };
    for (const auto &k : named) {
        EXPECT_STREQ(keyCodeName(makeEvent(ET_KEYUP, k.code)), k.name) << k.code;
    }
    for (int i = 0; i < 10; i++) {
        EXPECT_EQ(std::string(keyCodeName(makeEvent(ET_KEYDOWN, 96 + i))), "KC_NUMPAD" + std::to_string(i));
    }
    for (int i = 1; i <= 12; i++) {
        EXPECT_EQ(std::string(keyCodeName(makeEvent(ET_KEYDOWN, 111 + i))), "KC_F" + std::to_string(i));
    }
    // Codes the input device makes without a name of their own.
    const int unnamed[] = { 3, 19, 33, 34, 42, 91, 124, 125, 126, 144, 145, 287, 290, 0x7FFFFFFF };
    char expected[64];
    for (int code : unnamed) {
        snprintf(expected, sizeof(expected), "Unknown(0x%x)", code);
        EXPECT_STREQ(keyCodeName(makeEvent(ET_KEYDOWN, code)), expected);
    }
    // The key of a non-key event is never looked at.
    for (int type = 0; type < 15; type++) {
        if (type == ET_KEYUP || type == ET_KEYDOWN) continue;
        EXPECT_STREQ(keyCodeName(makeEvent(type, KC_A, 'a')), "Not A Key");
    }
}

TEST(EventRecord, TypeNames)
{
    const char *names[15] = {
        "ET_NONE", "ET_QUIT", "ET_PASTE", "ET_TOGGLE_FULLSCREEN", "ET_PAINT", "ET_ACTIVATE",
        "ET_WINDOW_MINIMIZED", "ET_KEYUP", "ET_KEYDOWN", "ET_DPAD", "ET_COMMAND", "ET_NETWORK",
        "ET_MOUSEMOVE", "ET_MOUSEWHEEL", "ET_TIMESTAMP",
    };
    char buffer[128];
    for (int type = 0; type < 15; type++) {
        HEvent e = makeEvent(type);
        e.m_uTime = 77;
        eventToString(e, buffer, sizeof(buffer));
        const std::string text = buffer;
        EXPECT_EQ(text.rfind(std::string(names[type]) + "(77)", 0), 0u) << text;
    }
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
