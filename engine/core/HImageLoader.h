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

    // Reads the whole file and hands it to decode(); the proxy picks a loader instead.
    virtual bool load(HFileSystem *pFileSystem, const char *szName);
    // Decodes a file held in memory; szName only names it in diagnostics.
    // Loaders that read no format of their own keep this, which fails.
    virtual bool decode(const unsigned char *pBuffer, int iSize, const char *szName);
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
