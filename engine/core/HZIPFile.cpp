#include "HZIPFile.h"

#include <stdint.h>
#include <string.h>

#include <minizip/unzip.h>

#include "HLog.h"
#include "HZIPFileSystem.h"

HClassInfo HZIPFile::sm_classInfo("HZIPFile", "HFile");

// minizip's case-insensitive name comparison.
static const int s_iCaseInsensitive = 2;

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
    if (!hArchive || unzLocateFile(hArchive, getName(), s_iCaseInsensitive) != UNZ_OK) {
        errorPrintf("HZIPFile::read - could not read buffer from file '%s'", getName());
        return 0;
    }
    if (unzOpenCurrentFile(hArchive) != UNZ_OK) {
        errorPrintf("HZIPFile::read - could not open current file '%s'", getName());
        return 0;
    }

    // Every read starts again from the entry's first byte.
    const int iRead = unzReadCurrentFile(hArchive, pBuffer, (unsigned)iLength);
    // minizip checks the CRC only once the whole entry has been inflated, so
    // the rest of a short read is inflated too; damaged bytes are never
    // handed back as good.
    bool bDamaged = iRead < 0;
    if (!bDamaged && iRead > 0 && iRead < m_iSize) {
        if (iRead < iLength) {
            bDamaged = true;    // the entry ended before its stated size
        } else {
            char aScratch[4096];
            int64_t iTotal = iRead;
            int iMore;
            while ((iMore = unzReadCurrentFile(hArchive, aScratch, sizeof(aScratch))) > 0) {
                iTotal += iMore;
            }
            bDamaged = iMore < 0 || iTotal != m_iSize;
        }
    }
    const int iClose = unzCloseCurrentFile(hArchive);

    if (iRead == 0) {
        errorPrintf("HZIPFile::read - did not read enough bytes from file '%s'", getName());
        return 0;
    }
    if (bDamaged || iClose != UNZ_OK) {
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
