#include "HZIPFileSystem.h"

#include <stdint.h>
#include <string.h>

#include <minizip/unzip.h>

#include "HLog.h"
#include "HString.h"

// minizip's case-insensitive name comparison.
static const int s_iCaseInsensitive = 2;

HZIPFileSystem::HZIPFileSystem()
    : m_pArchive(new void *(nullptr))
{
}

HZIPFileSystem::~HZIPFileSystem()
{
    // An archive still open is closed rather than leaked.
    shutdown();
}

void *HZIPFileSystem::m_getArchive() const
{
    return m_pArchive ? *m_pArchive : nullptr;
}

bool HZIPFileSystem::init(const char *pszPath)
{
    if (!m_pArchive) {
        m_pArchive = new void *(nullptr);
    }
    if (*m_pArchive) {
        unzClose(*m_pArchive);
        *m_pArchive = nullptr;
    }
    if (!pszPath) {
        return false;
    }
    *m_pArchive = unzOpen(pszPath);
    return *m_pArchive != nullptr;
}

void HZIPFileSystem::shutdown()
{
    if (!m_pArchive) {
        return;
    }
    if (*m_pArchive) {
        unzClose(*m_pArchive);
    }
    delete m_pArchive;
    m_pArchive = nullptr;
}

bool HZIPFileSystem::fileExists(const char *pszName)
{
    unzFile hArchive = m_getArchive();
    if (!hArchive || !pszName) {
        return false;
    }
    return unzLocateFile(hArchive, pszName, s_iCaseInsensitive) == UNZ_OK;
}

HFile *HZIPFileSystem::openFileForRead(const char *pszName)
{
    unzFile hArchive = m_getArchive();
    if (!hArchive || !pszName) {
        return nullptr;
    }
    if (unzLocateFile(hArchive, pszName, s_iCaseInsensitive) != UNZ_OK) {
        return nullptr;
    }
    HZIPFile *pFile = nullptr;
    for (int i = 0; i < HFS_MAX_OPEN_FILES; i++) {
        if (!m_files[i].m_bTaken) {
            pFile = &m_files[i];
            break;
        }
    }
    if (!pFile) {
        return nullptr;
    }

    pFile->m_pFileSystem = this;
    pFile->m_bTaken = true;
    stringCopyBounded(pFile->m_szName, pszName, sizeof(pFile->m_szName));

    char szEntryName[HFS_MAX_PATH];
    if (unzGetCurrentFileInfo(hArchive, pFile->m_pEntryInfo, szEntryName, sizeof(szEntryName),
                              nullptr, 0, nullptr, 0) != UNZ_OK
        || pFile->m_pEntryInfo->uncompressed_size > (uLong)INT32_MAX) {
        // A size past 2 GiB has no 32-bit size; never let it turn negative.
        errorPrintf("HZIPFileSystem::openFileForRead - could not read file '%s'", pszName);
        pFile->close();
        return nullptr;
    }
    pFile->m_iSize = (int32_t)pFile->m_pEntryInfo->uncompressed_size;
    return pFile;
}

HFile *HZIPFileSystem::openFileForWrite(const char *pszName)
{
    errorPrintf("HZIPFileSystem::openFileForWrite - function not supported (name = '%s')",
                pszName ? pszName : "");
    return nullptr;
}

int32_t HZIPFileSystem::getFileTime(const char *)
{
    return 0;
}

void HZIPFileSystem::m_closeFile(HFile *pFile)
{
    for (int i = 0; i < HFS_MAX_OPEN_FILES; i++) {
        if (&m_files[i] == pFile) {
            memset(m_files[i].m_pEntryInfo, 0, sizeof(*m_files[i].m_pEntryInfo));
            m_files[i].m_bTaken = false;
            m_files[i].m_iSize = 0;
            return;
        }
    }
}
