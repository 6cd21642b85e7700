// ZIP file system: an archive from arbitrary bytes is opened and every entry
// it lists is opened and read.
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>
#include <vector>

#include <minizip/unzip.h>

#include "HFile.h"
#include "HZIPFileSystem.h"
#include "FuzzScratch.h"

static std::string s_path;

static bool s_setUp()
{
    const std::string dir = s_makeScratch("zip");
    if (dir.empty()) {
        return false;
    }
    s_path = dir + "/fuzz.qvz";
    return true;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t uSize)
{
    static const bool bReady = s_setUp();
    if (!bReady) {
        return 0;
    }
    FILE *pFile = fopen(s_path.c_str(), "wb");
    if (!pFile) {
        return 0;
    }
    const bool bWritten = fwrite(pData, 1, uSize, pFile) == uSize;
    if (fclose(pFile) != 0 || !bWritten) {
        return 0;
    }

    // The entry names, as the archive lists them.
    std::vector<std::string> names;
    unzFile hList = unzOpen(s_path.c_str());
    if (hList) {
        int iResult = unzGoToFirstFile(hList);
        while (iResult == UNZ_OK && names.size() < 64) {
            char szName[1024];
            unz_file_info info;
            if (unzGetCurrentFileInfo(hList, &info, szName, sizeof(szName), nullptr, 0, nullptr, 0) != UNZ_OK) {
                break;
            }
            names.push_back(szName);
            iResult = unzGoToNextFile(hList);
        }
        unzClose(hList);
    }

    HZIPFileSystem zip;
    if (zip.init(s_path.c_str())) {
        static std::vector<char> buffer(1 << 20);
        names.push_back("missing.tga");
        for (const std::string &name : names) {
            zip.fileExists(name.c_str());
            HFile *pEntry = zip.openFileForRead(name.c_str());
            if (!pEntry) {
                continue;
            }
            const int32_t iSize = pEntry->getSize();
            if (iSize < 0) {
                abort();
            }
            const int32_t iWant = iSize < (int32_t)buffer.size() ? iSize : (int32_t)buffer.size();
            const int32_t iRead = pEntry->read(buffer.data(), iWant > 0 ? iWant : 1);
            if (iRead < 0 || iRead > (iWant > 0 ? iWant : 1)) {
                abort();
            }
            pEntry->close();
        }
    }
    zip.shutdown();
    return 0;
}
