#ifndef HIMAGELOADERPROXY_H
#define HIMAGELOADERPROXY_H

#include "HImageLoader.h"

// Picks the loader by the name's extension (".tga", ".jpg"/".jpeg", ".png",
// case-sensitive) and takes over the image it made.
//
//     HImageLoaderProxy loader;
//     if (loader.load(pFileSystem, "logo.tga")) { use(loader.getImage()); }
//     loader.release();
class HImageLoaderProxy : public HImageLoader {
public:
    bool load(HFileSystem *pFileSystem, const char *szName) override;
};

#endif
