#include "HImageLoaderProxy.h"
#include "HImage.h"
#include "HJPGLoader.h"
#include "HLog.h"
#include "HPNGLoader.h"
#include "HTGALoader.h"

#include <string.h>

bool HImageLoaderProxy::load(HFileSystem *pFileSystem, const char *szName)
{
    release();
    if (!szName) {
        return false;
    }
    // Case-sensitive; a later match wins, so "a.tga.png" is read as PNG.
    HImageLoader *pLoader = nullptr;
    if (strstr(szName, ".tga")) {
        delete pLoader;
        pLoader = new HTGALoader;
    }
    if (strstr(szName, ".jpg") || strstr(szName, ".jpeg")) {
        delete pLoader;
        pLoader = new HJPGLoader;
    }
    if (strstr(szName, ".png")) {
        delete pLoader;
        pLoader = new HPNGLoader;
    }
    if (!pLoader) {
        errorPrintf("HImageLoaderProxy::load - unknown file type for file '%s'", szName);
        return false;
    }

    const bool bLoaded = pLoader->load(pFileSystem, szName);
    if (bLoaded) {
        m_pImage = pLoader->getImage(); // taken: the loader's destructor leaves it
    } else {
        pLoader->release();
    }
    delete pLoader;
    return bLoaded;
}
