// Feeds arbitrary text through the bounded string helpers and the console
// buffer: tokens, lines and patterns come from configuration and archives.
#include <stddef.h>
#include <stdint.h>
#include <string.h>

#include <vector>

#include "HConsoleBuffer.h"
#include "HString.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t iSize)
{
    if (iSize < 2) {
        return 0;
    }
    // First byte: buffer size for the bounded outputs (1 to 64).
    const size_t iBound = (size_t)(pData[0] % 64) + 1;
    // Text up to the first 0 byte after it is the pattern list; the rest
    // is the subject.
    const char *pStart = (const char *)pData + 1;
    const size_t iRest = iSize - 1;
    const void *pZero = memchr(pStart, 0, iRest);
    const size_t iListLength = pZero ? (size_t)((const char *)pZero - pStart) : iRest / 2;

    std::vector<char> list(pStart, pStart + iListLength);
    list.push_back('\0');
    std::vector<char> text(pStart + iListLength, pStart + iRest);
    text.push_back('\0');

    std::vector<char> out(iBound);

    const char *p = text.data();
    while ((p = nextToken(out.data(), iBound, p, " ;\t")) != nullptr) {
        matchPatternList(out.data(), list.data());
    }
    p = text.data();
    while ((p = s_readLineFromBuffer(p, out.data(), iBound)) != nullptr) {
        stringHashNoCase(out.data());
    }

    stringCompareNoCase(list.data(), text.data());
    stringHashCRC(text.data(), 0);
    matchPatternList(text.data(), list.data());

    stringCopyBounded(out.data(), list.data(), iBound);
    stringAppendBounded(out.data(), text.data(), iBound);
    if (strlen(out.data()) >= iBound) {
        __builtin_trap();
    }

    static HConsoleBuffer console;
    console.printf("%s", text.data());
    for (int i = 0; i < HConsoleBuffer::MAX_LINES; i++) {
        const char *szLine = console.getLine(i);
        if (szLine && strlen(szLine) >= HConsoleBuffer::LINE_SIZE) {
            __builtin_trap();
        }
    }
    return 0;
}
