#include "HStandardFileSystem.h"

#include <stdint.h>
#include <stdio.h>
#include <sys/stat.h>

#include "HLog.h"
#include "HString.h"

// Joins root and name as "root/name". A path that does not fit is refused
// rather than cut, since a cut path names some other file.
static bool s_joinPath(char *pszPath, const char *pszRoot, const char *pszName)
{
    const int iLength = snprintf(pszPath, HFS_MAX_PATH, "%s/%s", pszRoot, pszName);
    return iLength >= 0 && iLength < HFS_MAX_PATH;
}

HStandardFileSystem::HStandardFileSystem()
{
}

HStandardFileSystem::~HStandardFileSystem()
{
    // Streams left open by a careless user are closed rather than leaked.
    for (int i = 0; i < HFS_MAX_OPEN_FILES; i++) {
        if (m_files[i].m_pFile) {
            fclose(m_files[i].m_pFile);
            m_files[i].m_pFile = nullptr;
        }
    }
}

bool HStandardFileSystem::init(const char *pszPath)
{
    stringCopyBounded(m_szRootPath, pszPath ? pszPath : "", sizeof(m_szRootPath));
    for (int i = 0; i < HFS_MAX_OPEN_FILES; i++) {
        // A stream left open from before is closed, not leaked.
        if (m_files[i].m_pFile) {
            fclose(m_files[i].m_pFile);
        }
        m_files[i].m_pFile = nullptr;
        m_files[i].m_szName[0] = '\0';
    }
    return true;
}

void HStandardFileSystem::shutdown()
{
    for (int i = 0; i < HFS_MAX_OPEN_FILES; i++) {
        if (m_files[i].m_pFile) {
            errorPrintf("HStandardFileSystem::shutdown - file '%s' still open", m_files[i].m_szName);
        }
    }
}

HStandardFile *HStandardFileSystem::m_openFile(const char *pszName, bool bWrite, const char *pszTooMany)
{
    HStandardFile *pSlot = nullptr;
    for (int i = 0; i < HFS_MAX_OPEN_FILES; i++) {
        if (!m_files[i].m_pFile) {
            pSlot = &m_files[i];
            break;
        }
    }
    if (!pSlot) {
        errorPrintf("%s", pszTooMany);
        return nullptr;
    }
    if (!pszName) {
        return nullptr;
    }

    char szPath[HFS_MAX_PATH];
    if (!s_joinPath(szPath, m_szRootPath, pszName)) {
        return nullptr;
    }

    FILE *pFile = fopen(szPath, bWrite ? "wb" : "rb");
    if (!pFile) {
        return nullptr;
    }
    int32_t iSize = 0;
    if (!bWrite) {
        // A directory opens under Linux but reads nothing; a size past 2 GiB
        // has no 32-bit size. Neither is a file we can hand out.
        struct stat st;
        if (fstat(fileno(pFile), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > INT32_MAX) {
            fclose(pFile);
            return nullptr;
        }
        iSize = (int32_t)st.st_size;
    }

    pSlot->m_pFileSystem = this;
    pSlot->m_pFile = pFile;
    stringCopyBounded(pSlot->m_szName, szPath, sizeof(pSlot->m_szName));
    pSlot->m_iSize = iSize;
    pSlot->m_bWriteMode = bWrite ? 1 : 0;
    return pSlot;
}

HFile *HStandardFileSystem::openFileForRead(const char *pszName)
{
    return m_openFile(pszName, false, "HSFS::m_openFileForRead - too many open files");
}

HFile *HStandardFileSystem::openFileForWrite(const char *pszName)
{
    return m_openFile(pszName, true, "HSFS::m_openFileForWrite - too many open files");
}

bool HStandardFileSystem::fileExists(const char *pszName)
{
    HStandardFile *pFile = m_openFile(pszName, false, "HSFS::fileExists - too many open files");
    if (!pFile) {
        return false;
    }
    pFile->close();
    return true;
}

int32_t HStandardFileSystem::getFileTime(const char *pszName)
{
    // Resolved under the root like every other name of this file system.
    char szPath[HFS_MAX_PATH];
    struct stat st;
    if (!pszName || !s_joinPath(szPath, m_szRootPath, pszName) || stat(szPath, &st) != 0) {
        return 0;
    }
    return (int32_t)st.st_mtime;
}

void HStandardFileSystem::m_closeFile(HFile *pFile)
{
    HStandardFile *pSlot = nullptr;
    for (int i = 0; i < HFS_MAX_OPEN_FILES; i++) {
        if (&m_files[i] == pFile) {
            pSlot = &m_files[i];
            break;
        }
    }
    if (!pSlot || !pSlot->m_pFile) {
        errorPrintf("HSFS::m_closeFile - attempted to close unopened file");
        return;
    }
    fclose(pSlot->m_pFile);
    pSlot->m_pFile = nullptr;
}
