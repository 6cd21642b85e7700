#ifndef HLUASCRIPTENGINE_H
#define HLUASCRIPTENGINE_H

#include "HScriptEngine.h"

struct lua_State;
typedef int (*HLuaFunction)(lua_State *L);

// Type codes the wrappers answer with (the engine's own numbering).
#define HLUA_TUSERDATA  0
#define HLUA_TNIL       1
#define HLUA_TNUMBER    2
#define HLUA_TSTRING    3
#define HLUA_TTABLE     4
#define HLUA_TFUNCTION  5

// Script engine over a bare Lua state: no standard library is opened and
// only text chunks are accepted. The non-virtual operations are thin
// wrappers over the Lua stack; negative indices count from the top.
class HLuaScriptEngine : public HScriptEngine {
public:
                        HLuaScriptEngine();
    virtual             ~HLuaScriptEngine();

    // Closes any earlier state, then makes a fresh one.
    virtual bool        init() override;
    virtual void        shutdown() override;
    // Runs the text as the chunk "buffer"; the stack is left as found.
    virtual bool        runBuffer(const char *pszText, size_t uLength) override;

    bool                isStarted() const { return m_pState != nullptr; }

    // Stack wrappers
    bool                newTable();
    // Sets field = value (both strings) in the table on top; it stays on top.
    void                setTableField(const char *pszField, const char *pszValue);
    void                setGlobal(const char *pszName);
    // Pushes the global; true when it is not nil.
    bool                getGlobal(const char *pszName);
    bool                getFunction(const char *pszName);
    void                registerFunction(const char *pszName, HLuaFunction pFunction);
    // Protected call; 0 on success. A failed call pops the function and its
    // arguments and leaves nothing in their place.
    int                 call(int iArguments, int iResults);
    void                pushNil();
    void                pushNumber(float fValue);
    void                pushUserData(void *pData);
    void                pushString(const char *pszText);
    int                 next(int iIndex);
    void *              toUserData(int iIndex);
    const char *        toString(int iIndex);
    float               toNumber(int iIndex);
    void                pop(int iCount);
    int                 getTop();
    bool                isTable(int iIndex);
    // A string proper (a number is not); safe on a key during next().
    bool                isString(int iIndex);
    int                 getN();

    // Table readers; all act on the table on top and leave the stack as found
    // (openTable leaves the opened table pushed on success).
    bool                openTable(const char *pszName);
    const char *        readTableString(const char *pszField);
    const char *        readTableStringByIndex(int iIndex);
    bool                readTableFloat(const char *pszField, float *pfOut);
    bool                readTableInt(const char *pszField, int *piOut);
    bool                readSubtableFloat(const char *pszPath, float *pfOut);

private:
    int                 m_getType(int iIndex);

    lua_State *         m_pState;
};

#endif // HLUASCRIPTENGINE_H
