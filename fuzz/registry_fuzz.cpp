// Registry file reader: any bytes in the registry file load what is whole,
// and what is written back reads back the same.
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <string>

#include "HMessageBox.h"
#include "HUnixRegistry.h"
#include "FuzzScratch.h"

static int s_answerBox(uint32_t, const char *, const char *)
{
    return MB_RESULT_OK;
}

static std::string s_file;

static bool s_setUp()
{
    setMessageBoxHook(s_answerBox);
    const std::string home = s_makeScratch("registry");
    if (home.empty()) {
        return false;
    }
    setenv("HOME", home.c_str(), 1);
    s_file = home + "/.quorvex/registry_Quorvex_Gobstrel";
    return true;
}

static bool s_writeFile(const uint8_t *pData, size_t uSize)
{
    FILE *pFile = fopen(s_file.c_str(), "wb");
    if (!pFile) {
        return false;
    }
    const bool bOk = fwrite(pData, 1, uSize, pFile) == uSize;
    return fclose(pFile) == 0 && bOk;
}

static std::string s_readFile()
{
    std::string bytes;
    FILE *pFile = fopen(s_file.c_str(), "rb");
    if (pFile) {
        int c;
        while ((c = fgetc(pFile)) != EOF) {
            bytes += (char)c;
        }
        fclose(pFile);
    }
    return bytes;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t uSize)
{
    static const bool bReady = s_setUp();
    if (!bReady) {
        return 0;
    }
    // A damaged input is moved aside, and copies are never written over:
    // only the last one is kept here.
    unlink((s_file + ".damaged").c_str());
    HUnixRegistry registry;
    // The first open makes the folder; the file is then put in place.
    registry.open(nullptr, "Quorvex", "Gobstrel");
    registry.close();
    if (!s_writeFile(pData, uSize) || !registry.open(nullptr, "Quorvex", "Gobstrel")) {
        return 0;
    }

    char szText[16];
    uint8_t aBytes[44];
    int32_t iLength = 0;
    registry.getString("resourceFile", szText, sizeof(szText));
    registry.getBinary("HS:0", aBytes, sizeof(aBytes), &iLength);
    if (iLength < 0 || iLength > (int32_t)sizeof(aBytes)) {
        abort();
    }
    registry.setBinary("Fullscreen", "\1\0\0\0", 4);
    if (!registry.close()) {
        abort();
    }

    // What we wrote is a well-formed file: reading and writing it again
    // changes nothing.
    const std::string written = s_readFile();
    if (!registry.open(nullptr, "Quorvex", "Gobstrel")) {
        abort();
    }
    int32_t iValue = 0;
    if (!registry.getBinary("Fullscreen", &iValue, sizeof(iValue), &iLength) || iValue != 1) {
        abort();
    }
    if (!registry.close() || s_readFile() != written) {
        abort();
    }
    return 0;
}
