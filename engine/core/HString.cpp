#include "HString.h"

#include <ctype.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "HLog.h"

static H2DDisplayDevice *s_pDisplayDevice = nullptr;
static HEventQueue *s_pEventQueue = nullptr;

char *stringCopyBounded(char *pDest, const char *szSource, size_t iSize)
{
    if (!pDest || iSize == 0) {
        return pDest;
    }
    size_t i = 0;
    if (szSource) {
        for (; i + 1 < iSize && szSource[i]; i++) {
            pDest[i] = szSource[i];
        }
    }
    pDest[i] = '\0';
    return pDest;
}

char *stringAppendBounded(char *pDest, const char *szSource, size_t iSize)
{
    if (!pDest || iSize == 0) {
        return pDest;
    }
    // The destination may arrive unterminated within its size: cut it.
    size_t iLength = 0;
    while (iLength < iSize && pDest[iLength]) {
        iLength++;
    }
    if (iLength >= iSize) {
        pDest[iSize - 1] = '\0';
        return pDest;
    }
    if (szSource) {
        for (; iLength + 1 < iSize && *szSource; iLength++, szSource++) {
            pDest[iLength] = *szSource;
        }
    }
    pDest[iLength] = '\0';
    return pDest;
}

char *stringPrintf(char *pBuffer, size_t iSize, const char *szFormat, ...)
{
    if (!pBuffer || iSize == 0) {
        return pBuffer;
    }
    va_list args;
    va_start(args, szFormat);
    if (!szFormat || vsnprintf(pBuffer, iSize, szFormat, args) < 0) {
        pBuffer[0] = '\0';
    }
    va_end(args);
    return pBuffer;
}

char *stringDuplicate(const char *szSource)
{
    if (!szSource) {
        return nullptr;
    }
    const size_t iLength = strlen(szSource);
    char *pCopy = (char *)malloc(iLength + 1);
    if (pCopy) {
        memcpy(pCopy, szSource, iLength + 1);
    }
    return pCopy;
}

char *stringToUpper(char *pString)
{
    if (pString) {
        for (char *p = pString; *p; p++) {
            *p = (char)toupper((unsigned char)*p);
        }
    }
    return pString;
}

char *stringToLower(char *pString)
{
    if (pString) {
        for (char *p = pString; *p; p++) {
            *p = (char)tolower((unsigned char)*p);
        }
    }
    return pString;
}

// tolower of the default locale, then taken as a signed byte, so that
// Latin-1 letters sort below ASCII.
static signed char s_foldChar(char c)
{
    return (signed char)tolower((unsigned char)c);
}

int stringCompareNoCase(const char *szA, const char *szB)
{
    if (!szA || !szB) {
        // A missing string sorts before any string.
        return (szA == szB) ? 0 : (szA ? 1 : -1);
    }
    for (;; szA++, szB++) {
        if (!*szA || !*szB) {
            if (*szA == *szB) {
                return 0;
            }
            return *szA ? 1 : -1;
        }
        const signed char a = s_foldChar(*szA);
        const signed char b = s_foldChar(*szB);
        if (a != b) {
            return a < b ? -1 : 1;
        }
    }
}

bool isCharInSet(const char *szSet, char c)
{
    if (!szSet || c == '\0') {
        return false;
    }
    return strchr(szSet, c) != nullptr;
}

const char *nextToken(char *pDest, size_t iSize, const char *szSource, const char *szSeparators)
{
    if (!pDest || iSize == 0) {
        return nullptr;
    }
    pDest[0] = '\0';
    if (!szSource) {
        return nullptr;
    }
    while (*szSource && isCharInSet(szSeparators, *szSource)) {
        szSource++;
    }
    size_t i = 0;
    while (*szSource && !isCharInSet(szSeparators, *szSource)) {
        if (i + 1 < iSize) {
            pDest[i++] = *szSource;
        }
        szSource++;
    }
    pDest[i] = '\0';
    while (*szSource && isCharInSet(szSeparators, *szSource)) {
        szSource++;
    }
    return pDest[0] ? szSource : nullptr;
}

bool matchPatternList(const char *szName, const char *szPatternList)
{
    if (!szName || !szPatternList) {
        return false;
    }
    char szEntry[1024];
    const char *pCursor = szPatternList;
    while ((pCursor = nextToken(szEntry, sizeof(szEntry), pCursor, ";")) != nullptr) {
        const char *pStar = strchr(szEntry, '*');
        if (pStar) {
            const size_t iPrefix = (size_t)(pStar - szEntry);
            if (strncmp(szName, szEntry, iPrefix) == 0) {
                return true;
            }
        } else if (strcmp(szName, szEntry) == 0) {
            return true;
        }
    }
    return false;
}

const char *s_readLineFromBuffer(const char *szSource, char *pDest, size_t iSize)
{
    if (pDest && iSize > 0) {
        pDest[0] = '\0';
    }
    if (!szSource) {
        return nullptr;
    }
    while (*szSource == '\n' || *szSource == '\r') {
        szSource++;
    }
    if (!*szSource) {
        return nullptr;
    }
    // Without room for one character the reader could never move on.
    if (!pDest || iSize < 2) {
        return nullptr;
    }
    size_t i = 0;
    while (*szSource && *szSource != '\n' && *szSource != '\r' && i + 1 < iSize) {
        pDest[i++] = *szSource++;
    }
    pDest[i] = '\0';
    if (*szSource && *szSource != '\n' && *szSource != '\r') {
        // The rest of this line comes back with the next call.
        errorPrintf("s_readLineFromBuffer - buffer override");
    }
    while (*szSource == '\n' || *szSource == '\r') {
        szSource++;
    }
    return szSource;
}

bool isPowerOfTwo(uint32_t uValue)
{
    return (uValue & (uValue - 1)) == 0;
}

int32_t clampValue(int32_t &iValue, int32_t iLow, int32_t iHigh)
{
    const int32_t iOld = iValue;
    if (iValue < iLow) {
        iValue = iLow;
    } else if (iValue > iHigh) {
        iValue = iHigh;
    }
    // Wide arithmetic: the difference of two extreme ints overflows int32.
    return (int32_t)((int64_t)iValue - (int64_t)iOld);
}

uint32_t stringHashNoCase(const char *szString)
{
    uint32_t h = 0;
    if (!szString) {
        return 0;
    }
    for (const char *p = szString; *p; p++) {
        signed char c = (signed char)*p;
        if (c >= 'A' && c <= 'Z') {
            c = (signed char)(c - 'A' + 'a');
        }
        h = h * 31u + (uint32_t)(int32_t)c;
    }
    return h;
}

// Reflected CRC-32 (IEEE 802.3) table, built at compile time so the hash
// stays re-entrant.
struct HCRCTable {
    uint32_t m_uEntries[256];

    constexpr HCRCTable() : m_uEntries()
    {
        for (uint32_t n = 0; n < 256; n++) {
            uint32_t c = n;
            for (int k = 0; k < 8; k++) {
                c = (c & 1) ? (0xEDB88320u ^ (c >> 1)) : (c >> 1);
            }
            m_uEntries[n] = c;
        }
    }
};

static constexpr HCRCTable s_crcTable;

uint32_t stringHashCRC(const char *szString, uint32_t uValue)
{
    const uint32_t *pTable = s_crcTable.m_uEntries;
    uint32_t h = 0;
    if (szString) {
        for (const unsigned char *p = (const unsigned char *)szString; *p; p++) {
            h = (h << 8) ^ pTable[(*p ^ (h >> 24)) & 0xFF];
        }
    }
    return h ^ uValue;
}

int16_t byteSwap16(uint16_t uValue)
{
    return (int16_t)(uint16_t)((uValue >> 8) | (uValue << 8));
}

uint32_t byteSwap32(uint32_t uValue)
{
    return (uValue >> 24) | ((uValue >> 8) & 0x0000FF00u) |
           ((uValue << 8) & 0x00FF0000u) | (uValue << 24);
}

int16_t toLittleEndian16(uint16_t uValue)
{
    return (int16_t)uValue;
}

uint32_t toLittleEndian32(uint32_t uValue)
{
    return uValue;
}

float toLittleEndianFloat(float fValue)
{
    return fValue;
}

int16_t toBigEndian16(uint16_t uValue)
{
    return byteSwap16(uValue);
}

uint32_t toBigEndian32(uint32_t uValue)
{
    return byteSwap32(uValue);
}

void setGlobalDisplayDevice(H2DDisplayDevice *pDevice)
{
    s_pDisplayDevice = pDevice;
}

H2DDisplayDevice *getGlobalDisplayDevice()
{
    return s_pDisplayDevice;
}

void setGlobalEventQueue(HEventQueue *pQueue)
{
    s_pEventQueue = pQueue;
}

HEventQueue *getGlobalEventQueue()
{
    return s_pEventQueue;
}
