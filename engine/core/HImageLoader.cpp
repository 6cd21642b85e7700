#include "HImageLoader.h"
#include "HFile.h"
#include "HFileSystem.h"
#include "HImage.h"

#include <stdlib.h>

void HImageLoader::release()
{
    delete m_pImage;
    m_pImage = nullptr;
}

bool HImageLoader::load(HFileSystem *pFileSystem, const char *szName)
{
    release();
    unsigned char *pBuffer;
    int iSize;
    if (!sm_readFile(pFileSystem, szName, &pBuffer, &iSize)) {
        return false;
    }
    const bool bOk = decode(pBuffer, iSize, szName);
    free(pBuffer);
    return bOk;
}

bool HImageLoader::decode(const unsigned char *, int, const char *)
{
    release();
    return false;
}

bool HImageLoader::sm_readFile(HFileSystem *pFileSystem, const char *szName,
                               unsigned char **ppBuffer, int *piSize)
{
    *ppBuffer = nullptr;
    *piSize = 0;
    if (!pFileSystem || !szName) {
        return false;
    }
    HFile *pFile = pFileSystem->openFileForRead(szName);
    if (!pFile) {
        return false;
    }
    // One read of the whole file: a ZIP entry can only be read from its start.
    const int32_t iSize = pFile->getSize();
    unsigned char *pBuffer = iSize > 0 ? (unsigned char *)malloc((size_t)iSize) : nullptr;
    if (!pBuffer || pFile->read(pBuffer, iSize) < iSize) {
        pFile->close();
        free(pBuffer);
        return false;
    }
    pFile->close();
    *ppBuffer = pBuffer;
    *piSize = iSize;
    return true;
}
