#include "HEvent.h"

#include "HString.h"

static const char *const s_eventNames[ET_COUNT] = {
    "ET_NONE", "ET_QUIT", "ET_PASTE", "ET_TOGGLE_FULLSCREEN", "ET_PAINT",
    "ET_ACTIVATE", "ET_WINDOW_MINIMIZED", "ET_KEYUP", "ET_KEYDOWN", "ET_DPAD",
    "ET_COMMAND", "ET_NETWORK", "ET_MOUSEMOVE", "ET_MOUSEWHEEL", "ET_TIMESTAMP"
};

static const char *const s_digitNames[10] = {
    "KC_0", "KC_1", "KC_2", "KC_3", "KC_4", "KC_5", "KC_6", "KC_7", "KC_8", "KC_9"
};

static const char *const s_letterNames[26] = {
    "KC_A", "KC_B", "KC_C", "KC_D", "KC_E", "KC_F", "KC_G", "KC_H", "KC_I",
    "KC_J", "KC_K", "KC_L", "KC_M", "KC_N", "KC_O", "KC_P", "KC_Q", "KC_R",
    "KC_S", "KC_T", "KC_U", "KC_V", "KC_W", "KC_X", "KC_Y", "KC_Z"
};

static const char *const s_numpadNames[10] = {
    "KC_NUMPAD0", "KC_NUMPAD1", "KC_NUMPAD2", "KC_NUMPAD3", "KC_NUMPAD4",
    "KC_NUMPAD5", "KC_NUMPAD6", "KC_NUMPAD7", "KC_NUMPAD8", "KC_NUMPAD9"
};

static const char *const s_functionNames[12] = {
    "KC_F1", "KC_F2", "KC_F3", "KC_F4", "KC_F5", "KC_F6",
    "KC_F7", "KC_F8", "KC_F9", "KC_F10", "KC_F11", "KC_F12"
};

static const char *s_namedKey(int32_t key)
{
    switch (key) {
    case KC_LBUTTON: return "KC_LBUTTON";
    case KC_RBUTTON: return "KC_RBUTTON";
    case KC_MBUTTON: return "KC_MBUTTON";
    case KC_BACK: return "KC_BACK";
    case KC_TAB: return "KC_TAB";
    case KC_CLEAR: return "KC_CLEAR";
    case KC_RETURN: return "KC_RETURN";
    case KC_SHIFT: return "KC_SHIFT";
    case KC_CONTROL: return "KC_CONTROL";
    case KC_MENU: return "KC_MENU";
    case KC_ESCAPE: return "KC_ESCAPE";
    case KC_SPACE: return "KC_SPACE";
    case KC_END: return "KC_END";
    case KC_HOME: return "KC_HOME";
    case KC_LEFT: return "KC_LEFT";
    case KC_UP: return "KC_UP";
    case KC_RIGHT: return "KC_RIGHT";
    case KC_DOWN: return "KC_DOWN";
    case KC_INSERT: return "KC_INSERT";
    case KC_DELETE: return "KC_DELETE";
    case KC_MULTIPLY: return "KC_MULTIPLY";
    case KC_ADD: return "KC_ADD";
    case KC_SEPARATOR: return "KC_SEPARATOR";
    case KC_SUBTRACT: return "KC_SUBTRACT";
    case KC_DECIMAL: return "KC_DECIMAL";
    case KC_DIVIDE: return "KC_DIVIDE";
    case KC_JOY0: return "KC_JOY0";
    case KC_JOY1: return "KC_JOY1";
    default: break;
    }
    if (key >= KC_0 && key <= KC_9) {
        return s_digitNames[key - KC_0];
    }
    if (key >= KC_A && key <= KC_Z) {
        return s_letterNames[key - KC_A];
    }
    if (key >= KC_NUMPAD0 && key <= KC_NUMPAD9) {
        return s_numpadNames[key - KC_NUMPAD0];
    }
    if (key >= KC_F1 && key <= KC_F12) {
        return s_functionNames[key - KC_F1];
    }
    return nullptr;
}

const char *keyCodeName(const HEvent &event)
{
    static char s_charText[2];
    static char s_unknownText[256];

    if (event.m_iType != ET_KEYUP && event.m_iType != ET_KEYDOWN) {
        return "Not A Key";
    }
    if (event.m_iKey == 0) {
        if (event.m_cChar == 0) {
            return "KC_INVALID";
        }
        s_charText[0] = (char)event.m_cChar;
        s_charText[1] = '\0';
        return s_charText;
    }
    const char *name = s_namedKey(event.m_iKey);
    if (name) {
        return name;
    }
    stringPrintf(s_unknownText, sizeof(s_unknownText), "Unknown(0x%x)", (unsigned)event.m_iKey);
    return s_unknownText;
}

char *eventToString(const HEvent &event, char *buffer, size_t size)
{
    // A damaged journal can hold any type word: it must never index the table.
    const bool known = event.m_iType >= 0 && event.m_iType < ET_COUNT;
    const char *name = known ? s_eventNames[event.m_iType] : "ET_UNKNOWN";
    const long time = (long)(int32_t)event.m_uTime.m_uLow;

    if (!known) {
        stringPrintf(buffer, size, "%s[%ld](%ld)", name, (long)event.m_iType, time);
        return buffer;
    }
    switch (event.m_iType) {
    case ET_WINDOW_MINIMIZED:
        stringPrintf(buffer, size, "%s(%ld): minimized=%d", name, time, (int)event.m_iFlag);
        break;
    case ET_KEYUP:
    case ET_KEYDOWN:
        stringPrintf(buffer, size, "%s(%ld) - key=%s pt=%ld,%ld", name, time,
                     keyCodeName(event), (long)event.m_iX, (long)event.m_iY);
        break;
    case ET_MOUSEMOVE:
        stringPrintf(buffer, size, "%s(%ld) - pt=%ld,%ld", name, time,
                     (long)event.m_iX, (long)event.m_iY);
        break;
    default:
        stringPrintf(buffer, size, "%s(%ld)", name, time);
        break;
    }
    return buffer;
}
