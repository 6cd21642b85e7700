#include "HCvarManager.h"

#include <stdarg.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "HFile.h"
#include "HFileSystem.h"
#include "HLog.h"
#include "HLuaScriptEngine.h"
#include "HString.h"

// A token of the console command string holds at most 1023 characters.
static const size_t s_uTokenSize = 1024;
static const char s_szSeparators[] = " ;";

// Lua's reserved words can't be assigned to as plain names.
static const char *const s_apszReserved[] = {
    "and", "break", "do", "else", "elseif", "end", "false", "for", "function", "goto", "if",
    "in", "local", "nil", "not", "or", "repeat", "return", "then", "true", "until", "while"
};

// True when the name can stand on the left of "name = ..." in a cvar file.
// "_ENV" can't: assigning it would redirect every later block of the file.
static bool s_isPlainName(const char *pszName)
{
    if (!pszName || !pszName[0] || (pszName[0] >= '0' && pszName[0] <= '9')
        || strcmp(pszName, "_ENV") == 0) {
        return false;
    }
    for (const char *p = pszName; *p; p++) {
        const char c = *p;
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) {
            return false;
        }
    }
    for (const char *pszWord : s_apszReserved) {
        if (strcmp(pszName, pszWord) == 0) {
            return false;
        }
    }
    return true;
}

// The text as the body of a Lua string, in a heap buffer the caller frees:
// quotes, backslashes and control bytes are escaped so the file reads back
// to exactly the same value.
static char *s_quote(const char *pszText)
{
    char *pszQuoted = static_cast<char *>(malloc(strlen(pszText) * 4 + 1));
    if (!pszQuoted) {
        return nullptr;
    }
    char *pOut = pszQuoted;
    for (const unsigned char *p = (const unsigned char *)pszText; *p; p++) {
        const unsigned char c = *p;
        if (c == '"' || c == '\\') {
            *pOut++ = '\\';
            *pOut++ = (char)c;
        } else if (c < 0x20 || c == 0x7F) {
            // Always three digits, so a digit that follows can't join in.
            *pOut++ = '\\';
            *pOut++ = (char)('0' + c / 100);
            *pOut++ = (char)('0' + c / 10 % 10);
            *pOut++ = (char)('0' + c % 10);
        } else {
            *pOut++ = (char)c;
        }
    }
    *pOut = '\0';
    return pszQuoted;
}

// Formats one part of a block, however long, and writes it whole.
static bool s_writePart(HFile *pFile, const char *pszFormat, ...) H_PRINTF_FORMAT(2, 3);

static bool s_writePart(HFile *pFile, const char *pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    const int iLength = vsnprintf(nullptr, 0, pszFormat, args);
    va_end(args);
    if (iLength < 0 || iLength >= INT32_MAX) {
        return false;
    }
    char *pszPart = static_cast<char *>(malloc((size_t)iLength + 1));
    if (!pszPart) {
        return false;
    }
    va_start(args, pszFormat);
    vsnprintf(pszPart, (size_t)iLength + 1, pszFormat, args);
    va_end(args);
    const bool bOk = iLength == 0 || pFile->write(pszPart, iLength) == iLength;
    free(pszPart);
    return bOk;
}

// One variable's block: name header, value line, flags line, closing brace.
static bool s_writeBlock(HFile *pFile, const char *pszName, const char *pszValue, const char *pszFlags)
{
    char *pszQuotedName = s_quote(pszName);
    char *pszQuotedValue = s_quote(pszValue);
    char *pszQuotedFlags = s_quote(pszFlags);
    bool bOk = pszQuotedName && pszQuotedValue && pszQuotedFlags;
    if (bOk) {
        // A name that is no plain Lua name ("+set" takes whatever the command
        // string holds) is written as a quoted key of the globals table, so
        // that it still reads back.
        bOk = (s_isPlainName(pszName) ? s_writePart(pFile, "%s = \n{\n", pszName)
                                      : s_writePart(pFile, "_ENV[\"%s\"] = \n{\n", pszQuotedName))
            && s_writePart(pFile, "\tvalue = \"%s\",\n", pszQuotedValue)
            && s_writePart(pFile, "\tflags = \"%s\",\n", pszQuotedFlags)
            && s_writePart(pFile, "}\n");
    }
    free(pszQuotedName);
    free(pszQuotedValue);
    free(pszQuotedFlags);
    return bOk;
}

HCvarManager::HCvarManager()
    : m_pScriptEngine(nullptr)
{
}

HCvarManager::~HCvarManager()
{
}

bool HCvarManager::initCvarManager()
{
    if (m_pScriptEngine) {
        return true;
    }
    m_pScriptEngine = new HLuaScriptEngine;
    if (m_pScriptEngine->init()) {
        return true;
    }
    errorPrintf("HCvarManager::initCvarManager - could not initialize Lua");
    m_pScriptEngine->shutdown();
    delete m_pScriptEngine;
    m_pScriptEngine = nullptr;
    return false;
}

void HCvarManager::shutdown()
{
    if (!m_pScriptEngine) {
        return;
    }
    m_pScriptEngine->shutdown();
    delete m_pScriptEngine;
    m_pScriptEngine = nullptr;
}

void HCvarManager::registerVariable(const char *pszName, const char *pszValue, int iFlags)
{
    if (!m_pScriptEngine || !pszName) {
        return;
    }
    char szFlags[256];
    stringPrintf(szFlags, sizeof(szFlags), "%d", iFlags);

    HLuaScriptEngine *pEngine = m_pScriptEngine;
    const int iTop = pEngine->getTop();
    const bool bExists = pEngine->getGlobal(pszName);
    if (bExists && (iFlags & CVAR_KEEP_EXISTING)) {
        pEngine->pop(1);
        return;
    }
    // A global that a loaded file set to something other than a table is
    // replaced, since only tables can hold the two fields.
    if (!bExists || !pEngine->isTable(-1)) {
        pEngine->newTable();
    }
    pEngine->setTableField("value", pszValue ? pszValue : "");
    pEngine->setTableField("flags", szFlags);
    pEngine->setGlobal(pszName);
    pEngine->pop(pEngine->getTop() - iTop);
}

void HCvarManager::setVariableString(const char *pszName, const char *pszValue)
{
    if (!m_pScriptEngine || !pszName) {
        return;
    }
    HLuaScriptEngine *pEngine = m_pScriptEngine;
    if (pEngine->getGlobal(pszName) && pEngine->isTable(-1)) {
        pEngine->setTableField("value", pszValue ? pszValue : "");
    } else {
        errorPrintf("HCvarManager::setVariableString - no variable '%s' exists", pszName);
    }
    pEngine->pop(1);
}

const char *HCvarManager::getVariableString(const char *pszName)
{
    if (!m_pScriptEngine || !pszName) {
        return nullptr;
    }
    const char *pszValue = nullptr;
    if (m_pScriptEngine->getGlobal(pszName)) {
        pszValue = m_pScriptEngine->readTableString("value");
    }
    m_pScriptEngine->pop(1);
    return pszValue;
}

int HCvarManager::getVariableInt(const char *pszName)
{
    const char *pszValue = getVariableString(pszName);
    if (!pszValue) {
        tracePrintf("*** WARNING: no variable for '%s' found\n", pszName ? pszName : "");
        return 0;
    }
    // Pinned to the int range rather than wrapped.
    const long iValue = strtol(pszValue, nullptr, 10);
    return iValue > INT32_MAX ? INT32_MAX : (iValue < INT32_MIN ? INT32_MIN : (int)iValue);
}

float HCvarManager::getVariableFloat(const char *pszName)
{
    const char *pszValue = getVariableString(pszName);
    if (!pszValue) {
        tracePrintf("*** WARNING: no variable for '%s' found\n", pszName ? pszName : "");
        return 0.0f;
    }
    return (float)strtod(pszValue, nullptr);
}

// The next token of a command string, or null when none is left. A token
// that opens with '"' runs to the closing quote, separators and all, so a
// file name with blanks stays one value; inside it \" and \\ stand for the
// quote and the backslash. An unclosed quote runs to the end of the string
// (the string may have been cut).
static const char *s_nextCommandToken(char *pDest, size_t iSize, const char *pszSource)
{
    while (pszSource && *pszSource && strchr(s_szSeparators, *pszSource)) {
        pszSource++;
    }
    if (!pszSource || *pszSource != '"') {
        return nextToken(pDest, iSize, pszSource, s_szSeparators);
    }
    size_t i = 0;
    const char *p = pszSource + 1;
    while (*p && *p != '"') {
        if (*p == '\\' && (p[1] == '"' || p[1] == '\\')) {
            p++;
        }
        if (i + 1 < iSize) {
            pDest[i++] = *p;
        }
        p++;
    }
    pDest[i] = '\0';
    if (*p == '"') {
        p++;
    }
    while (*p && strchr(s_szSeparators, *p)) {
        p++;
    }
    // Unlike a bare token, "" is a token: the empty value.
    return p;
}

void HCvarManager::parseCommandLine(const char *pszText)
{
    if (!pszText) {
        return;
    }
    char szToken[s_uTokenSize];
    char szName[s_uTokenSize];
    char szValue[s_uTokenSize];
    const char *pCursor = pszText;
    while ((pCursor = s_nextCommandToken(szToken, sizeof(szToken), pCursor)) != nullptr) {
        if (stringCompareNoCase(szToken, "+set") != 0) {
            logPrintf("Unknown command line token '%s'", szToken);
            continue;
        }
        pCursor = s_nextCommandToken(szName, sizeof(szName), pCursor);
        if (!pCursor) {
            return;
        }
        const char *pAfterValue = s_nextCommandToken(szValue, sizeof(szValue), pCursor);
        registerVariable(szName, szValue, 0);
        if (!pAfterValue || !*pAfterValue) {
            return;
        }
        pCursor = pAfterValue;
    }
}

bool HCvarManager::hasSwitch(const char *pszText, const char *pszSwitch)
{
    if (!pszText || !pszSwitch) {
        return false;
    }
    char szToken[s_uTokenSize];
    const char *pCursor = pszText;
    while ((pCursor = s_nextCommandToken(szToken, sizeof(szToken), pCursor)) != nullptr) {
        if (stringCompareNoCase(szToken, "+set") != 0) {
            if (strcmp(szToken, pszSwitch) == 0) {
                return true;
            }
            continue;
        }
        // The name and the value belong to the command, whatever they hold.
        pCursor = s_nextCommandToken(szToken, sizeof(szToken), pCursor);
        if (!pCursor) {
            return false;
        }
        pCursor = s_nextCommandToken(szToken, sizeof(szToken), pCursor);
        if (!pCursor || !*pCursor) {
            return false;
        }
    }
    return false;
}

bool HCvarManager::saveCvars(const char *pszFileName, HFileSystem *pFileSystem)
{
    if (!m_pScriptEngine || !pszFileName || !pFileSystem) {
        return false;
    }
    HFile *pFile = pFileSystem->openFileForWrite(pszFileName);
    if (!pFile) {
        errorPrintf("HCvarManager::saveCvars - could not open '%s'", pszFileName);
        return false;
    }

    HLuaScriptEngine *pEngine = m_pScriptEngine;
    const int iTop = pEngine->getTop();
    bool bOk = true;
    pEngine->openTable(nullptr);
    pEngine->pushNil();
    while (pEngine->next(-2) != 0) {
        // Stack: globals, name, variable. Only string names are looked at
        // (converting another key in place would break the walk).
        if (pEngine->isTable(-1) && pEngine->isString(-2)) {
            const char *pszName = pEngine->toString(-2);
            const char *pszValue = pEngine->readTableString("value");
            const char *pszFlags = pszValue ? pEngine->readTableString("flags") : nullptr;
            if (pszValue && pszFlags) {
                bOk = s_writeBlock(pFile, pszName, pszValue, pszFlags) && bOk;
            }
        }
        pEngine->pop(1);
    }
    pEngine->pop(pEngine->getTop() - iTop);
    pFile->close();
    return bOk;
}

bool HCvarManager::loadCvars(const char *pszFileName, HFileSystem *pFileSystem)
{
    logPrintf(">>>HCvarManager::loadCvars( \"%s\" )\n...attempting open: ", pszFileName ? pszFileName : "");
    HFile *pFile = (pFileSystem && pszFileName) ? pFileSystem->openFileForRead(pszFileName) : nullptr;
    if (!pFile) {
        logPrintf("failed\n");
        logPrintf("<<<\n");
        return false;
    }
    logPrintf(" ok\n");
    const int32_t iSize = pFile->getSize();
    logPrintf("...file size = %d bytes\n", (int)iSize);

    bool bOk = false;
    char *pBuffer = iSize >= 0 ? static_cast<char *>(calloc((size_t)iSize + 1, 1)) : nullptr;
    if (pBuffer) {
        logPrintf("...reading\n");
        const int32_t iRead = iSize > 0 ? pFile->read(pBuffer, iSize) : 0;
        logPrintf("...parsing\n");
        if (iRead == iSize && m_pScriptEngine) {
            bOk = m_pScriptEngine->runBuffer(pBuffer, (size_t)iSize);
        }
        if (!bOk) {
            errorPrintf("HCvarManager::loadCvars - could not run '%s'", pszFileName);
        }
        free(pBuffer);
    }
    logPrintf("...closing\n");
    pFile->close();
    logPrintf("<<<\n");
    return bOk;
}
