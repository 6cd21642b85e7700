// Lua script engine: life cycle, chunks (text only, bounded), and the table
// readers' care for the stack.
#include <gtest/gtest.h>

#include <string>

extern "C" {
#include <lauxlib.h>
#include <lua.h>
}

#include "HLuaScriptEngine.h"

namespace {

class LuaEngineTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_engine.init()); }
    void TearDown() override { m_engine.shutdown(); }

    bool run(const std::string &text) { return m_engine.runBuffer(text.data(), text.size()); }

    HLuaScriptEngine m_engine;
};

TEST(LuaEngineLifeTest, InitTwiceAndShutdownWithoutInit)
{
    HLuaScriptEngine engine;
    engine.shutdown();      // never initialised: nothing happens
    EXPECT_FALSE(engine.isStarted());
    ASSERT_TRUE(engine.init());
    const std::string set = "x = { value = \"1\" }";
    ASSERT_TRUE(engine.runBuffer(set.data(), set.size()));
    // The second init starts over with a fresh state.
    ASSERT_TRUE(engine.init());
    EXPECT_FALSE(engine.getGlobal("x"));
    engine.pop(1);
    engine.shutdown();
    EXPECT_FALSE(engine.isStarted());
    engine.shutdown();
}

TEST_F(LuaEngineTest, ChunksRunOrFail)
{
    const int iTop = m_engine.getTop();
    EXPECT_TRUE(m_engine.runBuffer("", 0));
    EXPECT_TRUE(run("a = { value = \"v\", flags = \"0\" }"));
    EXPECT_FALSE(run("a = = 1"));
    EXPECT_FALSE(run("error_here()"));      // calls nil: a run-time error
    EXPECT_FALSE(run("return nil .. 1"));
    EXPECT_EQ(m_engine.getTop(), iTop);
    // The failed chunks changed nothing that ran before them.
    ASSERT_TRUE(m_engine.getGlobal("a"));
    EXPECT_STREQ(m_engine.readTableString("value"), "v");
    m_engine.pop(1);
}

static int s_writer(lua_State *, const void *pData, size_t uSize, void *pUser)
{
    static_cast<std::string *>(pUser)->append(static_cast<const char *>(pData), uSize);
    return 0;
}

TEST_F(LuaEngineTest, BinaryChunksAreRefused)
{
    lua_State *L = luaL_newstate();
    ASSERT_NE(L, nullptr);
    const char szSource[] = "pwned = { value = \"1\", flags = \"0\" }";
    ASSERT_EQ(luaL_loadstring(L, szSource), LUA_OK);
    std::string binary;
    ASSERT_EQ(lua_dump(L, s_writer, &binary, 0), 0);
    lua_close(L);

    EXPECT_FALSE(m_engine.runBuffer(binary.data(), binary.size()));
    EXPECT_FALSE(m_engine.getGlobal("pwned"));
    m_engine.pop(1);
}

TEST_F(LuaEngineTest, RunawayChunksAreStopped)
{
    EXPECT_FALSE(run("while true do end"));
    EXPECT_FALSE(run("local s = 'xxxxxxxxxxxxxxxx' while true do s = s .. s end"));
    EXPECT_FALSE(run("local t = {} local i = 0 while true do i = i + 1 t[i] = {} end"));
    EXPECT_FALSE(run("local function f() return f() + 1 end f()"));
    // The state is still good afterwards.
    EXPECT_TRUE(run("ok = { value = \"yes\" }"));
    ASSERT_TRUE(m_engine.getGlobal("ok"));
    EXPECT_STREQ(m_engine.readTableString("value"), "yes");
    m_engine.pop(1);
}

TEST_F(LuaEngineTest, LargeDataChunksAreNotLimited)
{
    // A long chunk of plain assignments, as a big cvar file would be: it needs
    // more than a fixed budget of memory and instructions would allow, but
    // grows only with its text.
    std::string text;
    const int iCount = 400000;
    text.reserve((size_t)iCount * 48);
    for (int i = 0; i < iCount; i++) {
        text += "v" + std::to_string(i) + " = \n{\n\tvalue = \"" + std::to_string(i * 7) + "\",\n\tflags = \"0\",\n}\n";
    }
    ASSERT_TRUE(run(text));
    ASSERT_TRUE(m_engine.getGlobal("v399999"));
    EXPECT_STREQ(m_engine.readTableString("value"), std::to_string(399999 * 7).c_str());
    m_engine.pop(1);
    // Runaway chunks are still stopped afterwards.
    EXPECT_FALSE(run("while true do end"));
}

TEST_F(LuaEngineTest, NumberTextsStayValid)
{
    ASSERT_TRUE(run("a = { value = 5.5 } b = { value = 7.25 } c = { 1.5, 2.5 }"));
    ASSERT_TRUE(m_engine.getGlobal("a"));
    const char *pszA = m_engine.readTableString("value");
    m_engine.pop(1);
    ASSERT_TRUE(m_engine.getGlobal("b"));
    const char *pszB = m_engine.readTableString("value");
    m_engine.pop(1);
    ASSERT_TRUE(m_engine.getGlobal("c"));
    const char *pszFirst = m_engine.readTableStringByIndex(0);
    const char *pszSecond = m_engine.readTableStringByIndex(1);
    m_engine.pop(1);
    // Plenty of garbage, so the collector runs several times.
    ASSERT_TRUE(run("for i = 1, 20000 do local t = { i .. 'x', i * 0.5 .. 'y' } end"));
    ASSERT_NE(pszA, nullptr);
    ASSERT_NE(pszB, nullptr);
    ASSERT_NE(pszFirst, nullptr);
    ASSERT_NE(pszSecond, nullptr);
    EXPECT_STREQ(pszA, "5.5");
    EXPECT_STREQ(pszB, "7.25");
    EXPECT_STREQ(pszFirst, "1.5");
    EXPECT_STREQ(pszSecond, "2.5");
}

TEST_F(LuaEngineTest, GlobalsAndFields)
{
    const int iTop = m_engine.getTop();
    EXPECT_FALSE(m_engine.getGlobal("never_set"));
    EXPECT_EQ(m_engine.getTop(), iTop + 1);     // the nil stays pushed
    m_engine.pop(1);

    ASSERT_TRUE(m_engine.newTable());
    m_engine.setTableField("value", "hello");
    m_engine.setTableField("flags", "0");
    EXPECT_EQ(m_engine.getTop(), iTop + 1);
    m_engine.setGlobal("greeting");
    EXPECT_EQ(m_engine.getTop(), iTop);

    ASSERT_TRUE(m_engine.getGlobal("greeting"));
    EXPECT_TRUE(m_engine.isTable(-1));
    EXPECT_STREQ(m_engine.readTableString("value"), "hello");
    EXPECT_EQ(m_engine.readTableString("missing"), nullptr);
    EXPECT_EQ(m_engine.getTop(), iTop + 1);
    m_engine.pop(1);

    EXPECT_FALSE(m_engine.getFunction("greeting"));
    m_engine.pop(1);
    EXPECT_EQ(m_engine.getTop(), iTop);
}

TEST_F(LuaEngineTest, NumbersReadAsTextAndTruncate)
{
    ASSERT_TRUE(run("t = { n = 2.9, m = -2.9, i = 7, s = \"12\", sub = { f = 1.5 }, r = 3.0 }"));
    ASSERT_TRUE(m_engine.getGlobal("t"));
    const int iTop = m_engine.getTop();

    const char *pszSeven = m_engine.readTableString("i");
    const char *pszHalf = m_engine.readTableString("n");
    ASSERT_NE(pszSeven, nullptr);
    ASSERT_NE(pszHalf, nullptr);
    EXPECT_STREQ(pszSeven, "7");
    EXPECT_STREQ(pszHalf, "2.9");
    EXPECT_STREQ(m_engine.readTableString("r"), "3");       // an integral float
    EXPECT_EQ(m_engine.getTop(), iTop);
    // A float cvar's value, widened: 14 significant digits, as ever.
    m_engine.pushNumber(2.9f);
    EXPECT_STREQ(m_engine.toString(-1), "2.9000000953674");
    m_engine.pop(1);

    int iValue = 99;
    EXPECT_TRUE(m_engine.readTableInt("n", &iValue));
    EXPECT_EQ(iValue, 2);
    EXPECT_TRUE(m_engine.readTableInt("m", &iValue));
    EXPECT_EQ(iValue, -2);
    iValue = 99;
    EXPECT_FALSE(m_engine.readTableInt("s", &iValue));     // a string is not a number here
    EXPECT_EQ(iValue, 99);

    float fValue = 5.0f;
    EXPECT_TRUE(m_engine.readSubtableFloat("sub.f", &fValue));
    EXPECT_FLOAT_EQ(fValue, 1.5f);
    fValue = 5.0f;
    EXPECT_FALSE(m_engine.readSubtableFloat("nodot", &fValue));
    EXPECT_FLOAT_EQ(fValue, 5.0f);
    EXPECT_FALSE(m_engine.readSubtableFloat("i.x", &fValue));   // i is no table
    EXPECT_FLOAT_EQ(fValue, 0.0f);
    EXPECT_EQ(m_engine.getTop(), iTop);

    // The number itself is left in the table.
    ASSERT_TRUE(m_engine.readTableFloat("i", &fValue));
    EXPECT_FLOAT_EQ(fValue, 7.0f);
    m_engine.pop(1);
}

TEST_F(LuaEngineTest, ReadersRefuseNonTables)
{
    m_engine.pushNumber(3.0f);
    const int iTop = m_engine.getTop();
    EXPECT_EQ(m_engine.readTableString("value"), nullptr);
    float fValue = 9.0f;
    EXPECT_FALSE(m_engine.readTableFloat("value", &fValue));
    EXPECT_FLOAT_EQ(fValue, 0.0f);
    EXPECT_FALSE(m_engine.openTable("x"));
    EXPECT_EQ(m_engine.readTableStringByIndex(0), nullptr);
    EXPECT_EQ(m_engine.getTop(), iTop);
    m_engine.pop(1);
}

TEST_F(LuaEngineTest, ArraysAndTheGlobalsTable)
{
    ASSERT_TRUE(run("list = { \"a\", \"b\", 3 }"));
    ASSERT_TRUE(m_engine.openTable(nullptr));
    ASSERT_TRUE(m_engine.openTable("list"));
    const int iTop = m_engine.getTop();
    EXPECT_EQ(m_engine.getN(), 3);
    EXPECT_STREQ(m_engine.readTableStringByIndex(0), "a");
    EXPECT_STREQ(m_engine.readTableStringByIndex(1), "b");
    EXPECT_STREQ(m_engine.readTableStringByIndex(2), "3");     // a number passes as a string
    EXPECT_EQ(m_engine.readTableStringByIndex(3), nullptr);
    EXPECT_EQ(m_engine.readTableStringByIndex(10), nullptr);
    EXPECT_EQ(m_engine.getTop(), iTop);
    EXPECT_FALSE(m_engine.openTable("nothing"));
    EXPECT_EQ(m_engine.getTop(), iTop);
    m_engine.pop(2);
}

static int s_double(lua_State *L)
{
    lua_pushnumber(L, lua_tonumber(L, 1) * 2);
    return 1;
}

TEST_F(LuaEngineTest, NativeFunctionsAndUserData)
{
    m_engine.registerFunction("double", s_double);
    ASSERT_TRUE(m_engine.getFunction("double"));
    m_engine.pushNumber(21.0f);
    ASSERT_EQ(m_engine.call(1, 1), 0);
    EXPECT_FLOAT_EQ(m_engine.toNumber(-1), 42.0f);
    m_engine.pop(1);

    // A failing call is reported, not fatal, and leaves the stack as it was
    // below the function: no error message stays behind.
    ASSERT_TRUE(run("function boom(a, b) local x = nil; return x.y end"));
    const int iTop = m_engine.getTop();
    ASSERT_TRUE(m_engine.getFunction("boom"));
    m_engine.pushNumber(1.0f);
    m_engine.pushString("two");
    EXPECT_NE(m_engine.call(2, 1), 0);
    EXPECT_EQ(m_engine.getTop(), iTop);

    int iCookie = 0;
    m_engine.pushUserData(&iCookie);
    EXPECT_EQ(m_engine.toUserData(-1), &iCookie);
    m_engine.pushString("text");
    EXPECT_STREQ(m_engine.toString(-1), "text");
    m_engine.pushNumber(3.0f);
    EXPECT_STREQ(m_engine.toString(-1), "3");
    m_engine.pop(1);
    m_engine.pushNil();
    m_engine.pop(3);
}

} // namespace
