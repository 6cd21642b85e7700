#ifndef HZIPFILESYSTEM_H
#define HZIPFILESYSTEM_H

#include "HFileSystem.h"
#include "HZIPFile.h"

// Read-only file system over one ZIP archive. Entries are found by name
// without regard to case and are always read whole from their first byte.
class HZIPFileSystem : public HFileSystem {
public:
                        HZIPFileSystem();
    virtual             ~HZIPFileSystem();

    // Opens the archive at the path; false when it is not a readable ZIP.
    virtual bool        init(const char *pszPath) override;
    virtual void        shutdown() override;
    virtual bool        fileExists(const char *pszName) override;
    virtual HFile *     openFileForRead(const char *pszName) override;
    // Always refused: archives are read-only.
    virtual HFile *     openFileForWrite(const char *pszName) override;
    // Always 0.
    virtual int32_t     getFileTime(const char *pszName) override;

protected:
    virtual void        m_closeFile(HFile *pFile) override;

private:
    friend class HZIPFile;

    void *              m_getArchive() const;   // minizip unzFile or null

    void **             m_pArchive;             // heap cell holding the unzFile
    HZIPFile            m_files[HFS_MAX_OPEN_FILES];
};

#endif // HZIPFILESYSTEM_H
