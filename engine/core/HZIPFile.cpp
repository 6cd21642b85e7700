#include "HZIPFile.h"

#include <string.h>

#include <minizip/unzip.h>

#include "HLog.h"
#include "HZIPFileSystem.h"

HClassInfo HZIPFile::sm_classInfo("HZIPFile", "HFile");

HZIPFile::HZIPFile()
    : m_pEntryInfo(new unz_file_info_s), m_bTaken(false)
{
    memset(m_pEntryInfo, 0, sizeof(*m_pEntryInfo));
}

HZIPFile::~HZIPFile()
{
    delete m_pEntryInfo;
}

const HClassInfo *HZIPFile::getClassInfo() const
{
    return &sm_classInfo;
}

bool HZIPFile::isOpen() const
{
    return m_bTaken;
}

int32_t HZIPFile::read(void *pBuffer, int32_t iLength)
{
    if (!m_pFileSystem || !m_bTaken || !pBuffer || iLength <= 0) {
        return 0;
    }
    unzFile hArchive = static_cast<HZIPFileSystem *>(m_pFileSystem)->m_getArchive();
    if (!hArchive || unzLocateFile(hArchive, getName(), 2) != UNZ_OK) {
        errorPrintf("HZIPFile::read - could not read buffer from file '%s'", getName());
        return 0;
    }
    if (unzOpenCurrentFile(hArchive) != UNZ_OK) {
        errorPrintf("HZIPFile::read - could not open current file '%s'", getName());
        return 0;
    }

    // Every read starts again from the entry's first byte.
    const int iRead = unzReadCurrentFile(hArchive, pBuffer, (unsigned)iLength);
    // The CRC is checked here once the whole entry has been inflated: a
    // mismatch means the bytes just read are damaged.
    const int iClose = unzCloseCurrentFile(hArchive);

    if (iRead == 0) {
        errorPrintf("HZIPFile::read - did not read enough bytes from file '%s'", getName());
        return 0;
    }
    if (iRead < 0 || iClose != UNZ_OK) {
        errorPrintf("HZIPFile::read - could not read buffer from file '%s'", getName());
        return 0;
    }
    return iRead;
}

int32_t HZIPFile::write(const void *, int32_t)
{
    errorPrintf("HZIPFile::write - unsupported operation");
    return 0;
}

bool HZIPFile::rewind()
{
    errorPrintf("HZIPFile::rewind - unsupported operation");
    return false;
}
