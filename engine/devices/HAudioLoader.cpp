#include "HAudioLoader.h"

#include "HFile.h"
#include "HFileSystem.h"

uint8_t *HAudioLoader::sm_readWholeFile(HFileSystem *pFileSystem, const char *pszName,
                                        int32_t *piSize, bool *pbOpened)
{
    *piSize = 0;
    *pbOpened = false;
    HFile *pFile = pFileSystem->openFileForRead(pszName);
    if (!pFile) {
        return nullptr;
    }
    *pbOpened = true;

    const int32_t iSize = pFile->getSize();
    if (iSize <= 0) {
        pFile->close();
        return nullptr;
    }
    uint8_t *pData = new uint8_t[(size_t)iSize];
    const int32_t iRead = pFile->read(pData, iSize);
    pFile->close();
    if (iRead != iSize) {
        delete[] pData;
        return nullptr;
    }
    *piSize = iSize;
    return pData;
}
