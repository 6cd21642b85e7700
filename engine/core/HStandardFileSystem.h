#ifndef HSTANDARDFILESYSTEM_H
#define HSTANDARDFILESYSTEM_H

#include "HFileSystem.h"
#include "HStandardFile.h"

// File system over a directory on disk. Names are joined to the root as
// "root/name" with nothing normalised.
class HStandardFileSystem : public HFileSystem {
public:
                        HStandardFileSystem();
    virtual             ~HStandardFileSystem();

    virtual bool        init(const char *pszPath) override;
    virtual void        shutdown() override;
    virtual bool        fileExists(const char *pszName) override;
    virtual HFile *     openFileForRead(const char *pszName) override;
    virtual HFile *     openFileForWrite(const char *pszName) override;
    virtual int32_t     getFileTime(const char *pszName) override;

protected:
    virtual void        m_closeFile(HFile *pFile) override;

private:
    // Takes the lowest free slot; pszTooMany is reported when there is none.
    HStandardFile *     m_openFile(const char *pszName, bool bWrite, const char *pszTooMany);

    HStandardFile       m_files[HFS_MAX_OPEN_FILES];
};

#endif // HSTANDARDFILESYSTEM_H
