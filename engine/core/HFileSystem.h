#ifndef HFILESYSTEM_H
#define HFILESYSTEM_H

#include <stdint.h>

class HFile;

// Every file system lends out at most this many files at once.
#define HFS_MAX_OPEN_FILES 16
// Paths, names and root paths: 1023 characters and a NUL.
#define HFS_MAX_PATH 1024

// A place files are read from and written to: a directory on disk
// (HStandardFileSystem) or a read-only ZIP archive (HZIPFileSystem).
//
// Use: init once; openFileForRead / openFileForWrite, read or write the file,
// give it back with HFile::close (never delete it); shutdown once; delete.
// The file objects live inside the file system, so opening allocates nothing.
class HFileSystem {
public:
                        HFileSystem();
    virtual             ~HFileSystem();

    // The base does nothing and succeeds.
    virtual bool        init(const char *pszPath);
    virtual void        shutdown();

    virtual bool        fileExists(const char *pszName) = 0;
    // Null when the file can't be opened or all 16 slots are taken.
    virtual HFile *     openFileForRead(const char *pszName) = 0;
    virtual HFile *     openFileForWrite(const char *pszName) = 0;
    // Modification time in seconds since the epoch, 0 when unknown.
    virtual int32_t     getFileTime(const char *pszName) = 0;

protected:
    friend class HFile;

    // Takes a file back into its slot; reached only through HFile::close.
    virtual void        m_closeFile(HFile *pFile) = 0;

    char                m_szRootPath[HFS_MAX_PATH];

private:
                        HFileSystem(const HFileSystem &) = delete;
    HFileSystem &       operator=(const HFileSystem &) = delete;
};

#endif // HFILESYSTEM_H
