#ifndef HSTRING_H
#define HSTRING_H

#include <stddef.h>
#include <stdint.h>

#if defined(__GNUC__)
#define H_PRINTF_FORMAT(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define H_PRINTF_FORMAT(fmt, args)
#endif

class H2DDisplayDevice;
class HEventQueue;

// Bounded strings: every copy into a fixed buffer stays within size - 1
// characters and is always terminated (nothing is written when size is 0).
char *          stringCopyBounded(char *pDest, const char *szSource, size_t iSize);
char *          stringAppendBounded(char *pDest, const char *szSource, size_t iSize);
char *          stringPrintf(char *pBuffer, size_t iSize, const char *szFormat, ...) H_PRINTF_FORMAT(3, 4);
// Heap copy (length + 1 bytes); the caller releases it with free().
char *          stringDuplicate(const char *szSource);
char *          stringToUpper(char *pString);
char *          stringToLower(char *pString);

// -1, 0 or 1; letters compared without regard to case, bytes as signed chars.
int             stringCompareNoCase(const char *szA, const char *szB);
bool            isCharInSet(const char *szSet, char c);

// Copies the next token of szSource into pDest and returns the position after
// the separators that follow it; null when no token is left.
const char *    nextToken(char *pDest, size_t iSize, const char *szSource, const char *szSeparators);
// ';'-separated list; an entry with '*' matches names starting with the part
// before the '*'; case-sensitive.
bool            matchPatternList(const char *szName, const char *szPatternList);
// Copies one line (skipping blank line ends first); null at the end of text.
const char *    s_readLineFromBuffer(const char *szSource, char *pDest, size_t iSize);

bool            isPowerOfTwo(uint32_t uValue);
// Moves iValue into [iLow, iHigh] and returns new minus old.
int32_t         clampValue(int32_t &iValue, int32_t iLow, int32_t iHigh);

uint32_t        stringHashNoCase(const char *szString);
uint32_t        stringHashCRC(const char *szString, uint32_t uValue);

// Byte order: the platform and every file the game reads are little-endian.
int16_t         byteSwap16(uint16_t uValue);
uint32_t        byteSwap32(uint32_t uValue);
int16_t         toLittleEndian16(uint16_t uValue);
uint32_t        toLittleEndian32(uint32_t uValue);
float           toLittleEndianFloat(float fValue);
int16_t         toBigEndian16(uint16_t uValue);
uint32_t        toBigEndian32(uint32_t uValue);

// Process-wide references set by the application; not owned.
void                setGlobalDisplayDevice(H2DDisplayDevice *pDevice);
H2DDisplayDevice *  getGlobalDisplayDevice();
void                setGlobalEventQueue(HEventQueue *pQueue);
HEventQueue *       getGlobalEventQueue();

#endif // HSTRING_H
