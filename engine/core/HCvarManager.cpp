#include "HCvarManager.h"

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

// Lua's reserved words can't be assigned to, so they can't be saved.
static const char *const s_apszReserved[] = {
    "and", "break", "do", "else", "elseif", "end", "false", "for", "function", "goto", "if",
    "in", "local", "nil", "not", "or", "repeat", "return", "then", "true", "until", "while"
};

// True when the name can stand on the left of "name = ..." in a cvar file.
static bool s_isPlainName(const char *pszName)
{
    if (!pszName || !pszName[0] || (pszName[0] >= '0' && pszName[0] <= '9')) {
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

static bool s_writeText(HFile *pFile, const char *pszText, size_t uLength)
{
    return uLength == 0 || pFile->write(pszText, (int32_t)uLength) == (int32_t)uLength;
}

// Writes the text as a Lua string body: quotes, backslashes and control
// bytes are escaped so the file reads back to exactly the same value.
static bool s_writeQuoted(HFile *pFile, const char *pszText)
{
    char szChunk[256];
    size_t uUsed = 0;
    for (const unsigned char *p = (const unsigned char *)pszText; *p; p++) {
        if (uUsed + 5 > sizeof(szChunk)) {
            if (!s_writeText(pFile, szChunk, uUsed)) {
                return false;
            }
            uUsed = 0;
        }
        const unsigned char c = *p;
        if (c == '"' || c == '\\') {
            szChunk[uUsed++] = '\\';
            szChunk[uUsed++] = (char)c;
        } else if (c < 0x20 || c == 0x7F) {
            // Always three digits, so a digit that follows can't join in.
            uUsed += (size_t)snprintf(szChunk + uUsed, sizeof(szChunk) - uUsed, "\\%03u", (unsigned)c);
        } else {
            szChunk[uUsed++] = (char)c;
        }
    }
    return s_writeText(pFile, szChunk, uUsed);
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

void HCvarManager::parseCommandLine(const char *pszText)
{
    if (!pszText) {
        return;
    }
    char szToken[s_uTokenSize];
    char szName[s_uTokenSize];
    char szValue[s_uTokenSize];
    const char *pCursor = pszText;
    while ((pCursor = nextToken(szToken, sizeof(szToken), pCursor, s_szSeparators)) != nullptr) {
        if (stringCompareNoCase(szToken, "+set") != 0) {
            logPrintf("Unknown command line token '%s'", szToken);
            continue;
        }
        pCursor = nextToken(szName, sizeof(szName), pCursor, s_szSeparators);
        if (!pCursor) {
            return;
        }
        const char *pAfterValue = nextToken(szValue, sizeof(szValue), pCursor, s_szSeparators);
        registerVariable(szName, szValue, 0);
        if (!pAfterValue || !*pAfterValue) {
            return;
        }
        pCursor = pAfterValue;
    }
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
                if (!s_isPlainName(pszName)) {
                    errorPrintf("HCvarManager::saveCvars - can't save variable '%s'", pszName);
                } else {
                    char szHeader[s_uTokenSize + 16];
                    stringPrintf(szHeader, sizeof(szHeader), "%s = \n{\n", pszName);
                    bOk = bOk && s_writeText(pFile, szHeader, strlen(szHeader))
                        && s_writeText(pFile, "\tvalue = \"", 10) && s_writeQuoted(pFile, pszValue)
                        && s_writeText(pFile, "\",\n\tflags = \"", 13) && s_writeQuoted(pFile, pszFlags)
                        && s_writeText(pFile, "\",\n}\n", 5);
                }
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
