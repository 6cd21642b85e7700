#ifndef HSTANDARDFILE_H
#define HSTANDARDFILE_H

#include <stdio.h>

#include "HFile.h"

// A file of a directory file system: one stdio stream.
class HStandardFile : public HFile {
public:
                        HStandardFile();
    virtual             ~HStandardFile();

    virtual const HClassInfo *getClassInfo() const override;

    virtual int32_t     read(void *pBuffer, int32_t iLength) override;
    virtual int32_t     write(const void *pBuffer, int32_t iLength) override;
    virtual bool        rewind() override;
    virtual void        flush() override;

    bool                isOpen() const { return m_pFile != nullptr; }

    static HClassInfo   sm_classInfo;

private:
    friend class HStandardFileSystem;

    FILE *              m_pFile;                // null while the slot is free
};

#endif // HSTANDARDFILE_H
