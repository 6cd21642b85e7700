#ifndef HIMAGELOADER_H
#define HIMAGELOADER_H

class HFileSystem;
class HImage;

// Decodes one image file from a file system. The loader owns its image until
// release() or until a caller takes it (the proxy does).
class HImageLoader {
public:
    HImageLoader() : m_pImage(nullptr) {}
    virtual ~HImageLoader() {} // leaves the image alone

    virtual bool load(HFileSystem *pFileSystem, const char *szName) = 0;
    virtual void release();
    virtual HImage *getImage() { return m_pImage; }

    // Reads a whole file into a heap buffer; false when missing or short.
    static bool sm_readFile(HFileSystem *pFileSystem, const char *szName,
                            unsigned char **ppBuffer, int *piSize);

protected:
    HImage *m_pImage;

private:
    HImageLoader(const HImageLoader &) = delete;
    HImageLoader &operator=(const HImageLoader &) = delete;
};

#endif
