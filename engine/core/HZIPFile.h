#ifndef HZIPFILE_H
#define HZIPFILE_H

#include "HFile.h"

struct unz_file_info_s;

// A file of a ZIP file system. Every read locates the entry again and
// inflates it from its first byte, so a file is meant to be read whole.
class HZIPFile : public HFile {
public:
                        HZIPFile();
    virtual             ~HZIPFile();

    virtual const HClassInfo *getClassInfo() const override;

    // Bytes read from the entry's start; 0 on any failure (a damaged entry
    // included: nothing that failed its CRC check is handed back as good).
    virtual int32_t     read(void *pBuffer, int32_t iLength) override;
    virtual int32_t     write(const void *pBuffer, int32_t iLength) override;
    virtual bool        rewind() override;

    bool                isOpen() const;

    static HClassInfo   sm_classInfo;

private:
    friend class HZIPFileSystem;

    unz_file_info_s *   m_pEntryInfo;           // minizip's entry record, zeroed when given back
    bool                m_bTaken;               // lent out by the file system
};

#endif // HZIPFILE_H
