#include "HLuaScriptEngine.h"

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

extern "C" {
#include <lua.h>
#include <lauxlib.h>
}

#include "HLog.h"

// Room the engine's stack is sized for at start-up.
static const int s_iStackSize = 16000;
// Scripts are data: a chunk that loops or grows without end is stopped
// instead of hanging or exhausting the program. A cvar file has no loops and
// needs memory in proportion to its text, so both limits grow with the chunk
// and no well-formed file, however large, comes near them.
static const size_t s_uMemoryHeadroom = 64u * 1024u * 1024u;
static const size_t s_uMemoryPerByte = 64;
static const int s_iHookInterval = 1000;
static const int64_t s_iInstructionBase = 20000000;
static const int64_t s_iInstructionsPerByte = 16;
// Registry table that keeps number-to-text conversions alive.
static const char s_szNumberTexts[] = "HLuaScriptEngine.numberTexts";

// Allocation bookkeeping: the allocator's user data.
// The limits hold only while a chunk runs; the engine's own small pushes
// outside a protected call must never fail, since Lua can't recover there.
struct HLuaMemory {
    size_t  uUsed;
    size_t  uLimit;         // while limited: the most uUsed may reach
    int64_t iTicks;         // hook intervals left while limited
    bool    bLimited;
};

static void *s_allocate(void *pUserData, void *pBlock, size_t uOldSize, size_t uNewSize)
{
    HLuaMemory *pMemory = static_cast<HLuaMemory *>(pUserData);
    if (!pBlock) {
        uOldSize = 0;   // then it holds the type of the new object
    }
    if (uNewSize == 0) {
        free(pBlock);
        pMemory->uUsed -= uOldSize;
        return nullptr;
    }
    if (pMemory->bLimited && uNewSize > uOldSize
        && uNewSize - uOldSize > pMemory->uLimit - pMemory->uUsed) {
        return nullptr;
    }
    void *pNew = realloc(pBlock, uNewSize);
    if (pNew) {
        pMemory->uUsed = pMemory->uUsed - uOldSize + uNewSize;
    }
    return pNew;
}

static int s_panic(lua_State *)
{
    // An error outside a protected call cannot be recovered from.
    fprintf(stderr, "unable to recover; exiting\n");
    exit(1);
    return 0;
}

static HLuaMemory *s_getMemory(lua_State *L)
{
    void *pUserData = nullptr;
    lua_getallocf(L, &pUserData);
    return static_cast<HLuaMemory *>(pUserData);
}

static void s_countHook(lua_State *L, lua_Debug *)
{
    HLuaMemory *pMemory = s_getMemory(L);
    if (--pMemory->iTicks < 0) {
        luaL_error(L, "script ran too long");
    }
}

// Limits for a chunk of uLength bytes (0 for a plain call).
static void s_setLimited(lua_State *L, bool bLimited, size_t uLength)
{
    HLuaMemory *pMemory = s_getMemory(L);
    pMemory->bLimited = bLimited;
    if (!bLimited) {
        return;
    }
    const size_t uMax = (size_t)-1;
    size_t uRoom = s_uMemoryHeadroom;
    uRoom += uLength > (uMax - uRoom) / s_uMemoryPerByte ? uMax - uRoom : uLength * s_uMemoryPerByte;
    pMemory->uLimit = uRoom > uMax - pMemory->uUsed ? uMax : pMemory->uUsed + uRoom;
    const int64_t iLength = uLength > (size_t)INT32_MAX ? INT32_MAX : (int64_t)uLength;
    pMemory->iTicks = (s_iInstructionBase + iLength * s_iInstructionsPerByte) / s_iHookInterval;
}

// Runs the function below its iArguments arguments under the limits; the
// limits stay as the caller set them.
static int s_protectedCall(lua_State *L, int iArguments, int iResults)
{
    lua_sethook(L, s_countHook, LUA_MASKCOUNT, s_iHookInterval);
    const int iResult = lua_pcall(L, iArguments, iResults, 0);
    lua_sethook(L, nullptr, 0, 0);
    return iResult;
}

// Number text as the cvar files have always held it: integers as they are,
// other numbers to 14 significant digits, and "3", never "3.0".
static void s_pushNumberText(lua_State *L, int iIndex)
{
    if (lua_isinteger(L, iIndex)) {
        lua_pushfstring(L, "%I", (LUAI_UACINT)lua_tointeger(L, iIndex));
        return;
    }
    char szText[64];
    snprintf(szText, sizeof(szText), "%.14g", (double)lua_tonumber(L, iIndex));
    lua_pushstring(L, szText);
}

// Turns the number on top into text and pops it. The text is a new string;
// it is kept alive in a registry set for the life of the state, so a pointer
// handed out never dangles. Number texts are short strings, which Lua keeps
// once per distinct text, so the set holds one entry per number ever read.
static const char *s_anchorNumberText(lua_State *L)
{
    s_pushNumberText(L, -1);
    lua_replace(L, -2);
    const char *pszText = lua_tostring(L, -1);
    if (lua_getfield(L, LUA_REGISTRYINDEX, s_szNumberTexts) != LUA_TTABLE) {
        lua_settop(L, -2);
        lua_newtable(L);
        lua_pushvalue(L, -1);
        lua_setfield(L, LUA_REGISTRYINDEX, s_szNumberTexts);
    }
    lua_pushvalue(L, -2);
    lua_pushboolean(L, 1);
    lua_rawset(L, -3);
    lua_settop(L, -3);
    return pszText;
}

HLuaScriptEngine::HLuaScriptEngine()
    : m_pState(nullptr)
{
}

HLuaScriptEngine::~HLuaScriptEngine()
{
}

bool HLuaScriptEngine::init()
{
    shutdown();
    HLuaMemory *pMemory = static_cast<HLuaMemory *>(calloc(1, sizeof(HLuaMemory)));
    if (!pMemory) {
        return false;
    }
    m_pState = lua_newstate(s_allocate, pMemory);
    if (!m_pState) {
        free(pMemory);
        return false;
    }
    lua_atpanic(m_pState, s_panic);
    if (!lua_checkstack(m_pState, s_iStackSize)) {
        shutdown();
        return false;
    }
    return true;
}

void HLuaScriptEngine::shutdown()
{
    if (m_pState) {
        void *pUserData = nullptr;
        lua_getallocf(m_pState, &pUserData);
        lua_close(m_pState);
        free(pUserData);
    }
    m_pState = nullptr;
}

bool HLuaScriptEngine::runBuffer(const char *pszText, size_t uLength)
{
    if (!m_pState || (!pszText && uLength > 0)) {
        return false;
    }
    const int iTop = lua_gettop(m_pState);
    // Text only: a precompiled chunk is refused, since a cvar file is data.
    s_setLimited(m_pState, true, uLength);
    int iResult = luaL_loadbufferx(m_pState, pszText ? pszText : "", uLength, "buffer", "t");
    if (iResult == LUA_OK) {
        iResult = s_protectedCall(m_pState, 0, 0);
    }
    s_setLimited(m_pState, false, 0);
    lua_settop(m_pState, iTop);
    return iResult == LUA_OK;
}

int HLuaScriptEngine::m_getType(int iIndex)
{
    switch (lua_type(m_pState, iIndex)) {
    case LUA_TNIL:
    case LUA_TNONE:
        return HLUA_TNIL;
    case LUA_TNUMBER:
        return HLUA_TNUMBER;
    case LUA_TSTRING:
        return HLUA_TSTRING;
    case LUA_TTABLE:
        return HLUA_TTABLE;
    case LUA_TFUNCTION:
        return HLUA_TFUNCTION;
    default:
        return HLUA_TUSERDATA;
    }
}

bool HLuaScriptEngine::newTable()
{
    lua_newtable(m_pState);
    return true;
}

void HLuaScriptEngine::setTableField(const char *pszField, const char *pszValue)
{
    if (m_getType(-1) != HLUA_TTABLE) {
        return;
    }
    lua_pushstring(m_pState, pszField);
    lua_pushstring(m_pState, pszValue);
    lua_rawset(m_pState, -3);
}

void HLuaScriptEngine::setGlobal(const char *pszName)
{
    lua_setglobal(m_pState, pszName);
}

bool HLuaScriptEngine::getGlobal(const char *pszName)
{
    lua_getglobal(m_pState, pszName);
    return m_getType(-1) != HLUA_TNIL;
}

bool HLuaScriptEngine::getFunction(const char *pszName)
{
    lua_getglobal(m_pState, pszName);
    if (m_getType(-1) != HLUA_TFUNCTION) {
        errorPrintf("HLuaScriptEngine::getFunction - '%s' is not a function", pszName);
        return false;
    }
    return true;
}

void HLuaScriptEngine::registerFunction(const char *pszName, HLuaFunction pFunction)
{
    lua_pushcclosure(m_pState, pFunction, 0);
    lua_setglobal(m_pState, pszName);
}

int HLuaScriptEngine::call(int iArguments, int iResults)
{
    // Where the function sits: a failed call leaves the stack as it was
    // below it, without the error message Lua pushed in its place.
    const int iBase = lua_gettop(m_pState) - iArguments - 1;
    s_setLimited(m_pState, true, 0);
    const int iResult = s_protectedCall(m_pState, iArguments, iResults);
    s_setLimited(m_pState, false, 0);
    if (iResult != LUA_OK) {
        const char *pszMessage = lua_tostring(m_pState, -1);
        errorPrintf("HLuaScriptEngine::call - %s", pszMessage ? pszMessage : "error");
        lua_settop(m_pState, iBase >= 0 ? iBase : 0);
    }
    return iResult;
}

void HLuaScriptEngine::pushNil()
{
    lua_pushnil(m_pState);
}

void HLuaScriptEngine::pushNumber(float fValue)
{
    lua_pushnumber(m_pState, (lua_Number)fValue);
}

void HLuaScriptEngine::pushUserData(void *pData)
{
    lua_pushlightuserdata(m_pState, pData);
}

void HLuaScriptEngine::pushString(const char *pszText)
{
    lua_pushstring(m_pState, pszText);
}

int HLuaScriptEngine::next(int iIndex)
{
    return lua_next(m_pState, iIndex);
}

void *HLuaScriptEngine::toUserData(int iIndex)
{
    return lua_touserdata(m_pState, iIndex);
}

const char *HLuaScriptEngine::toString(int iIndex)
{
    // Converted in place, as Lua does, in the cvar files' number format.
    if (lua_type(m_pState, iIndex) == LUA_TNUMBER) {
        const int iAbsolute = lua_absindex(m_pState, iIndex);
        s_pushNumberText(m_pState, iAbsolute);
        lua_replace(m_pState, iAbsolute);
    }
    return lua_tostring(m_pState, iIndex);
}

float HLuaScriptEngine::toNumber(int iIndex)
{
    return (float)lua_tonumber(m_pState, iIndex);
}

void HLuaScriptEngine::pop(int iCount)
{
    lua_settop(m_pState, -iCount - 1);
}

int HLuaScriptEngine::getTop()
{
    return lua_gettop(m_pState);
}

bool HLuaScriptEngine::isTable(int iIndex)
{
    return m_getType(iIndex) == HLUA_TTABLE;
}

bool HLuaScriptEngine::isString(int iIndex)
{
    return m_getType(iIndex) == HLUA_TSTRING;
}

int HLuaScriptEngine::getN()
{
    if (m_getType(-1) != HLUA_TTABLE) {
        return 0;
    }
    return (int)lua_rawlen(m_pState, -1);
}

bool HLuaScriptEngine::openTable(const char *pszName)
{
    if (!pszName) {
        lua_pushglobaltable(m_pState);
    } else {
        if (m_getType(-1) != HLUA_TTABLE) {
            return false;
        }
        lua_pushstring(m_pState, pszName);
        lua_rawget(m_pState, -2);
    }
    if (m_getType(-1) == HLUA_TTABLE) {
        return true;
    }
    lua_settop(m_pState, -2);
    return false;
}

const char *HLuaScriptEngine::readTableString(const char *pszField)
{
    if (m_getType(-1) != HLUA_TTABLE) {
        return nullptr;
    }
    lua_pushstring(m_pState, pszField);
    lua_rawget(m_pState, -2);
    const char *pszText = nullptr;
    const int iType = m_getType(-1);
    if (iType == HLUA_TSTRING) {
        // Stays alive after the pop: the table still holds it.
        pszText = lua_tostring(m_pState, -1);
        lua_settop(m_pState, -2);
    } else if (iType == HLUA_TNUMBER) {
        // The table keeps its number; the text is a string of its own.
        pszText = s_anchorNumberText(m_pState);
    } else {
        lua_settop(m_pState, -2);
    }
    return pszText;
}

const char *HLuaScriptEngine::readTableStringByIndex(int iIndex)
{
    if (m_getType(-1) != HLUA_TTABLE || iIndex < 0) {
        return nullptr;
    }
    const int iCount = (int)lua_rawlen(m_pState, -1);
    if (iIndex > iCount + 1) {
        return nullptr;
    }
    lua_rawgeti(m_pState, -1, (lua_Integer)iIndex + 1);
    const int iType = m_getType(-1);
    if (iType == HLUA_TNUMBER) {
        return s_anchorNumberText(m_pState);
    }
    if (iType != HLUA_TSTRING) {
        errorPrintf("HLuaScriptEngine::readTableStringByIndex - not a string");
        lua_settop(m_pState, -2);
        return nullptr;
    }
    // Stays alive after the pop: the table still holds it.
    const char *pszText = lua_tostring(m_pState, -1);
    lua_settop(m_pState, -2);
    return pszText;
}

bool HLuaScriptEngine::readTableFloat(const char *pszField, float *pfOut)
{
    if (m_getType(-1) != HLUA_TTABLE) {
        *pfOut = 0.0f;
        return false;
    }
    lua_pushstring(m_pState, pszField);
    lua_rawget(m_pState, -2);
    if (m_getType(-1) == HLUA_TNUMBER) {
        *pfOut = (float)lua_tonumber(m_pState, -1);
        lua_settop(m_pState, -2);
        return true;
    }
    lua_settop(m_pState, -2);
    *pfOut = 0.0f;
    return false;
}

bool HLuaScriptEngine::readTableInt(const char *pszField, int *piOut)
{
    float fValue = 0.0f;
    if (!readTableFloat(pszField, &fValue)) {
        return false;
    }
    // Truncated toward zero; out-of-range values are pinned, not undefined.
    if (fValue >= 2147483648.0f) {
        *piOut = INT32_MAX;
    } else if (fValue <= -2147483648.0f) {
        *piOut = INT32_MIN;
    } else if (fValue != fValue) {
        *piOut = 0;
    } else {
        *piOut = (int)fValue;
    }
    return true;
}

bool HLuaScriptEngine::readSubtableFloat(const char *pszPath, float *pfOut)
{
    char szPath[128];
    snprintf(szPath, sizeof(szPath), "%s", pszPath ? pszPath : "");
    char *pDot = strchr(szPath, '.');
    if (!pDot) {
        errorPrintf("Error reading subtable field '%s'", szPath);
        return false;
    }
    *pDot = '\0';
    if (!openTable(szPath)) {
        *pfOut = 0.0f;
        return false;
    }
    const bool bOk = readTableFloat(pDot + 1, pfOut);
    lua_settop(m_pState, -2);
    if (!bOk) {
        *pfOut = 0.0f;
    }
    return bOk;
}
