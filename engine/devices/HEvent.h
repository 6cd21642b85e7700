#ifndef HEVENT_H
#define HEVENT_H

#include <cstddef>
#include <cstdint>
#include <type_traits>

// Event types. The numbers are stored in the input journal: never renumber.
enum HEventType {
    ET_NONE = 0,
    ET_QUIT = 1,
    ET_PASTE = 2,
    ET_TOGGLE_FULLSCREEN = 3,
    ET_PAINT = 4,
    ET_ACTIVATE = 5,
    ET_WINDOW_MINIMIZED = 6,
    ET_KEYUP = 7,
    ET_KEYDOWN = 8,
    ET_DPAD = 9,
    ET_COMMAND = 10,
    ET_NETWORK = 11,
    ET_MOUSEMOVE = 12,
    ET_MOUSEWHEEL = 13,
    ET_TIMESTAMP = 14,
    ET_COUNT = 15
};

// Modifier bits of HEvent::m_iModifiers.
enum {
    EM_SHIFT = 1,
    EM_ALT = 2,
    EM_CTRL = 4
};

// Key codes: the Windows virtual-key numbers, also stored in journals.
enum HKeyCode {
    KC_LBUTTON = 1,
    KC_RBUTTON = 2,
    KC_MBUTTON = 4,
    KC_BACK = 8,
    KC_TAB = 9,
    KC_CLEAR = 12,
    KC_RETURN = 13,
    KC_SHIFT = 16,
    KC_CONTROL = 17,
    KC_MENU = 18,
    KC_PAUSE = 19,
    KC_ESCAPE = 27,
    KC_SPACE = 32,
    KC_PRIOR = 33,
    KC_NEXT = 34,
    KC_END = 35,
    KC_HOME = 36,
    KC_LEFT = 37,
    KC_UP = 38,
    KC_RIGHT = 39,
    KC_DOWN = 40,
    KC_PRINT = 42,
    KC_INSERT = 45,
    KC_DELETE = 46,
    KC_0 = 48,
    KC_9 = 57,
    KC_A = 65,
    KC_Z = 90,
    KC_APPS = 91,
    KC_NUMPAD0 = 96,
    KC_NUMPAD9 = 105,
    KC_MULTIPLY = 106,
    KC_ADD = 107,
    KC_SEPARATOR = 108,
    KC_SUBTRACT = 109,
    KC_DECIMAL = 110,
    KC_DIVIDE = 111,
    KC_F1 = 112,
    KC_F12 = 123,
    KC_F15 = 126,
    KC_NUMLOCK = 144,
    KC_SCROLL = 145,
    KC_JOY0 = 288,
    KC_JOY1 = 289
};

// The journal's 64-bit time stamp: two little-endian words, low word first.
// A plain uint64_t would be 8-aligned and move the record's fields, so the
// stamp is kept as words that read and assign like a 64-bit number.
struct HEventTime {
    uint32_t m_uLow;
    uint32_t m_uHigh;

    operator uint64_t() const { return ((uint64_t)m_uHigh << 32) | m_uLow; }
    HEventTime &operator=(uint64_t uTime)
    {
        m_uLow = (uint32_t)uTime;
        m_uHigh = (uint32_t)(uTime >> 32);
        return *this;
    }
};

// One input event. The same 44 bytes go to and come from "journal.bin",
// so the layout is a file format: eleven little-endian 32-bit words.
struct HEvent {
    int32_t m_iType;
    HEventTime m_uTime;      // milliseconds, set by the queue when posted
    int32_t m_iFlag;
    int32_t m_iModifiers;
    int32_t m_iReserved1;
    int32_t m_iReserved2;
    int32_t m_iKey;
    uint8_t m_cChar;
    uint8_t m_pad[3];
    int32_t m_iX;
    int32_t m_iY;

    uint64_t getTime() const { return m_uTime; }
    void setTime(uint64_t uTime) { m_uTime = uTime; }
};

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "journal records are little-endian words");
static_assert(sizeof(HEvent) == 44, "HEvent is the 44-byte journal record");
static_assert(offsetof(HEvent, m_uTime) + offsetof(HEventTime, m_uLow) == 4, "time stamp low word at 4");
static_assert(offsetof(HEvent, m_uTime) + offsetof(HEventTime, m_uHigh) == 8, "time stamp high word at 8");
static_assert(offsetof(HEvent, m_iFlag) == 12, "journal layout");
static_assert(offsetof(HEvent, m_iModifiers) == 16, "journal layout");
static_assert(offsetof(HEvent, m_iReserved1) == 20, "journal layout");
static_assert(offsetof(HEvent, m_iReserved2) == 24, "journal layout");
static_assert(offsetof(HEvent, m_iKey) == 28, "journal layout");
static_assert(offsetof(HEvent, m_cChar) == 32, "journal layout");
static_assert(offsetof(HEvent, m_iX) == 36, "journal layout");
static_assert(offsetof(HEvent, m_iY) == 40, "journal layout");
static_assert(std::is_trivially_copyable<HEvent>::value, "HEvent is copied as raw bytes");

// Trace text of an event into the caller's buffer; returns the buffer.
char *eventToString(const HEvent &event, char *buffer, size_t size);

// Name of the event's key; may point to a static buffer that the next call
// overwrites.
const char *keyCodeName(const HEvent &event);

#endif
