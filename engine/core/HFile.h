#ifndef HFILE_H
#define HFILE_H

#include <stdint.h>

#include "HObject.h"
#include "HFileSystem.h"

// One open file, lent out by an HFileSystem from its fixed set of slots.
// Users read or write it and give it back with close(); they never delete it.
class HFile : public HObject {
public:
                        HFile();
    virtual             ~HFile();

    virtual const HClassInfo *getClassInfo() const override;

    // Bytes read / written; 0 when the file is not open in the right mode.
    virtual int32_t     read(void *pBuffer, int32_t iLength) = 0;
    virtual int32_t     write(const void *pBuffer, int32_t iLength) = 0;
    virtual bool        rewind() = 0;
    virtual void        flush();
    // Gives the file back to the file system that lent it out.
    virtual void        close();
    // Size fixed at open; a file opened for writing reports 0.
    virtual int32_t     getSize() const;
    virtual const char *getName() const;

    static HClassInfo   sm_classInfo;

protected:
    friend class HStandardFileSystem;
    friend class HZIPFileSystem;

    int32_t             m_bWriteMode;           // 0 read, 1 write
    char                m_szName[HFS_MAX_PATH];
    int32_t             m_iSize;
    HFileSystem *       m_pFileSystem;          // not owned
};

#endif // HFILE_H
