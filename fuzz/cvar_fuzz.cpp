// Console command string and cvar files: arbitrary text is applied as a
// command string and run as a cvar file; whatever the store then saves must
// load again.
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

#include "HCvarManager.h"
#include "HFile.h"
#include "HStandardFileSystem.h"
#include "FuzzScratch.h"

static HStandardFileSystem *s_pFileSystem = nullptr;

static bool s_setUp()
{
    const std::string dir = s_makeScratch("cvar");
    if (dir.empty()) {
        return false;
    }
    s_pFileSystem = new HStandardFileSystem;
    return s_pFileSystem->init(dir.c_str());
}

static bool s_writeFile(const char *pszName, const uint8_t *pData, size_t uSize)
{
    HFile *pFile = s_pFileSystem->openFileForWrite(pszName);
    if (!pFile) {
        return false;
    }
    const bool bOk = uSize == 0 || pFile->write(pData, (int32_t)uSize) == (int32_t)uSize;
    pFile->close();
    return bOk;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t uSize)
{
    static const bool bReady = s_setUp();
    if (!bReady || uSize > (1u << 20)) {
        return 0;
    }
    const std::string text(reinterpret_cast<const char *>(pData), uSize);

    HCvarManager cvars;
    if (!cvars.initCvarManager()) {
        return 0;
    }
    cvars.registerVariable("c_soundDriver", "default", 0);
    cvars.parseCommandLine(text.c_str());
    cvars.getVariableInt("c_soundDriver");
    cvars.getVariableFloat("qv_trace");

    if (s_writeFile("in.cfg", pData, uSize)) {
        cvars.loadCvars("in.cfg", s_pFileSystem);
    }
    cvars.setVariableString("c_soundDriver", "null");
    cvars.getVariableString("c_soundDriver");

    // What the store writes must run again (values are quoted).
    if (cvars.saveCvars("out.cfg", s_pFileSystem)) {
        HFile *pSaved = s_pFileSystem->openFileForRead("out.cfg");
        const int32_t iSavedSize = pSaved ? pSaved->getSize() : -1;
        if (pSaved) {
            pSaved->close();
        }
        HCvarManager again;
        if (iSavedSize >= 0 && iSavedSize < (1 << 20) && again.initCvarManager()
            && !again.loadCvars("out.cfg", s_pFileSystem)) {
            abort();
        }
        if (again.getVariableString("c_soundDriver") && iSavedSize < (1 << 20)) {
            const char *pszOld = cvars.getVariableString("c_soundDriver");
            const char *pszNew = again.getVariableString("c_soundDriver");
            if (!pszOld || std::string(pszOld) != pszNew) {
                abort();
            }
        }
        again.shutdown();
    }
    cvars.shutdown();
    return 0;
}
