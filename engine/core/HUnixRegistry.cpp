#include "HUnixRegistry.h"

#include <errno.h>
#include <pwd.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "HLog.h"
#include "HString.h"

// A key and its NUL take at most this many bytes in the file.
static const int s_iMaxKeySize = 1024;
static const int s_iPathSize = 1024;

// The one process-wide registry; written back at exit when left open.
static HUnixRegistry *s_pRegistry = nullptr;

static void s_closeAtExit()
{
    if (s_pRegistry) {
        s_pRegistry->close();
    }
}

HRegistry *getRegistry()
{
    if (!s_pRegistry) {
        s_pRegistry = new HUnixRegistry;
        atexit(s_closeAtExit);
    }
    return s_pRegistry;
}

static void s_writeLength(uint8_t *pBytes, uint32_t uLength)
{
    pBytes[0] = (uint8_t)(uLength & 0xFF);
    pBytes[1] = (uint8_t)((uLength >> 8) & 0xFF);
    pBytes[2] = (uint8_t)((uLength >> 16) & 0xFF);
    pBytes[3] = (uint8_t)((uLength >> 24) & 0xFF);
}

HUnixRegistry::HUnixRegistry()
    : m_pEntries(nullptr), m_pszPath(nullptr)
{
}

HUnixRegistry::~HUnixRegistry()
{
    close();
    // A failed write-back keeps both; nothing is left to try at this point.
    m_freeEntries();
    free(m_pszPath);
    m_pszPath = nullptr;
}

char *HUnixRegistry::sm_getEnvironmentCopy(const char *pszName)
{
    const char *pszValue = pszName ? getenv(pszName) : nullptr;
    return pszValue ? strdup(pszValue) : nullptr;
}

bool HUnixRegistry::open(HCvarManager *, const char *pszCompany, const char *pszProduct)
{
    close();
    // After a failed write-back close() keeps the old entries and path; the
    // file is read anew in their place.
    m_freeEntries();
    free(m_pszPath);
    m_pszPath = nullptr;

    char *pszHome = sm_getEnvironmentCopy("HOME");
    if (!pszHome) {
        const struct passwd *pEntry = getpwuid(getuid());
        if (pEntry && pEntry->pw_dir) {
            pszHome = strdup(pEntry->pw_dir);
        }
    }
    if (!pszHome) {
        alertBox("failed to open registry: %s", "no home directory");
        return false;
    }

    const size_t uHomeLength = strlen(pszHome);
    const char *pszSeparator = (uHomeLength > 0 && pszHome[uHomeLength - 1] == '/') ? "" : "/";

    // Paths that don't fit are refused: a cut path would name another file.
    char szDirectory[s_iPathSize];
    char szPath[s_iPathSize];
    const int iDirectoryLength = snprintf(szDirectory, sizeof(szDirectory), "%s%s.quorvex",
                                          pszHome, pszSeparator);
    const int iPathLength = snprintf(szPath, sizeof(szPath), "%s%s.quorvex/registry_%s_%s",
                                     pszHome, pszSeparator, pszCompany ? pszCompany : "",
                                     pszProduct ? pszProduct : "");
    free(pszHome);
    if (iDirectoryLength < 0 || iDirectoryLength >= s_iPathSize
        || iPathLength < 0 || iPathLength >= s_iPathSize) {
        alertBox("failed to open registry: %s", strerror(ENAMETOOLONG));
        return false;
    }

    if (access(szDirectory, F_OK) != 0) {
        mkdir(szDirectory, 0700);
    }
    m_pszPath = strdup(szPath);
    if (!m_pszPath) {
        return false;
    }
    if (access(m_pszPath, F_OK) != 0) {
        return true;
    }
    FILE *pFile = fopen(m_pszPath, "rb");
    if (!pFile) {
        alertBox("failed to open registry: %s", strerror(errno));
        return false;
    }
    // A directory opens under Linux but can't be read or replaced.
    struct stat st;
    if (fstat(fileno(pFile), &st) != 0 || S_ISDIR(st.st_mode)) {
        fclose(pFile);
        alertBox("failed to open registry: %s", strerror(EISDIR));
        return false;
    }
    const bool bWhole = m_readEntries(pFile);
    fclose(pFile);
    if (!bWhole) {
        m_keepDamagedFile();
    }
    return true;
}

// A file that could be read only in part is moved aside before anything is
// written over it: what was read stays in use, and nothing of the rest is
// lost. The next write-back makes a clean file in its place.
void HUnixRegistry::m_keepDamagedFile()
{
    char szDamaged[s_iPathSize];
    const int iLength = snprintf(szDamaged, sizeof(szDamaged), "%s.damaged", m_pszPath);
    if (iLength < 0 || iLength >= s_iPathSize || rename(m_pszPath, szDamaged) != 0) {
        errorPrintf("HUnixRegistry::open - could not keep the damaged file '%s'\n", m_pszPath);
        return;
    }
    alertBox("The settings and high scores file '%s' was damaged. What could be read is kept; "
             "the damaged file was saved as '%s'.", m_pszPath, szDamaged);
}

bool HUnixRegistry::close()
{
    if (!m_pszPath) {
        m_freeEntries();
        return true;
    }
    if (m_pEntries) {
        // Written beside the old file and renamed over it, so a run that dies
        // half-way leaves the old registry whole.
        const size_t uPathLength = strlen(m_pszPath);
        char *pszTemp = static_cast<char *>(malloc(uPathLength + 8));
        if (!pszTemp) {
            alertBox("failed to open registry: %s", strerror(ENOMEM));
            return false;
        }
        memcpy(pszTemp, m_pszPath, uPathLength);
        memcpy(pszTemp + uPathLength, ".XXXXXX", 8);
        const int iDescriptor = mkstemp(pszTemp);
        if (iDescriptor < 0) {
            alertBox("failed to open registry: %s", strerror(errno));
            free(pszTemp);
            return false;
        }
        FILE *pFile = fdopen(iDescriptor, "wb");
        if (!pFile) {
            const int iError = errno;
            ::close(iDescriptor);
            unlink(pszTemp);
            free(pszTemp);
            alertBox("failed to open registry: %s", strerror(iError));
            return false;
        }
        bool bOk = m_writeEntries(pFile) && fflush(pFile) == 0 && fsync(fileno(pFile)) == 0;
        int iError = errno;
        if (fclose(pFile) != 0 && bOk) {
            bOk = false;
            iError = errno;
        }
        if (bOk && rename(pszTemp, m_pszPath) != 0) {
            bOk = false;
            iError = errno;
        }
        if (!bOk) {
            unlink(pszTemp);
            free(pszTemp);
            alertBox("failed to open registry: %s", strerror(iError ? iError : EIO));
            return false;
        }
        free(pszTemp);
        m_freeEntries();
    }
    free(m_pszPath);
    m_pszPath = nullptr;
    return true;
}

HRegistryEntry *HUnixRegistry::m_findEntry(const char *pszKey) const
{
    if (!pszKey) {
        return nullptr;
    }
    for (HRegistryEntry *pEntry = m_pEntries; pEntry; pEntry = pEntry->m_pNext) {
        if (strcmp(pEntry->m_pszKey, pszKey) == 0) {
            return pEntry;
        }
    }
    return nullptr;
}

bool HUnixRegistry::getString(const char *pszKey, char *pszBuffer, int32_t iSize)
{
    HRegistryEntry *pEntry = m_findEntry(pszKey);
    if (!pEntry || !pszBuffer || iSize < 1) {
        return false;
    }
    strncpy(pszBuffer, reinterpret_cast<const char *>(pEntry->m_pData), (size_t)iSize);
    pszBuffer[iSize - 1] = '\0';
    return true;
}

bool HUnixRegistry::setString(const char *pszKey, const void *pData, int32_t iLength)
{
    // A key must fit its record (at most 1023 bytes and the NUL), or the file
    // written at close would not read back.
    if (!pszKey || strlen(pszKey) >= (size_t)s_iMaxKeySize || iLength < 0 || (!pData && iLength > 0)) {
        return false;
    }
    uint8_t *pCopy = static_cast<uint8_t *>(malloc((size_t)iLength + 1));
    if (!pCopy) {
        return false;
    }
    if (iLength > 0) {
        memcpy(pCopy, pData, (size_t)iLength);
    }
    pCopy[iLength] = 0;

    HRegistryEntry *pEntry = m_findEntry(pszKey);
    if (pEntry) {
        free(pEntry->m_pData);
    } else {
        pEntry = static_cast<HRegistryEntry *>(calloc(1, sizeof(HRegistryEntry)));
        char *pszKeyCopy = strdup(pszKey);
        if (!pEntry || !pszKeyCopy) {
            free(pEntry);
            free(pszKeyCopy);
            free(pCopy);
            return false;
        }
        pEntry->m_pszKey = pszKeyCopy;
        pEntry->m_pNext = m_pEntries;
        m_pEntries = pEntry;
    }
    pEntry->m_pData = pCopy;
    pEntry->m_iLength = iLength;
    return true;
}

bool HUnixRegistry::getBinary(const char *pszKey, void *pBuffer, int32_t iSize, int32_t *piLength)
{
    HRegistryEntry *pEntry = m_findEntry(pszKey);
    if (!pEntry || iSize < 0 || (!pBuffer && iSize > 0)) {
        return false;
    }
    const int32_t iCount = pEntry->m_iLength < iSize ? pEntry->m_iLength : iSize;
    if (piLength) {
        *piLength = iCount;
    }
    if (iCount > 0) {
        memcpy(pBuffer, pEntry->m_pData, (size_t)iCount);
    }
    return true;
}

bool HUnixRegistry::setBinary(const char *pszKey, const void *pData, int32_t iLength)
{
    return setString(pszKey, pData, iLength);
}

void HUnixRegistry::m_freeEntries()
{
    while (m_pEntries) {
        HRegistryEntry *pNext = m_pEntries->m_pNext;
        free(m_pEntries->m_pszKey);
        free(m_pEntries->m_pData);
        free(m_pEntries);
        m_pEntries = pNext;
    }
}

bool HUnixRegistry::m_readEntries(FILE *pFile)
{
    m_freeEntries();
    HRegistryEntry **ppTail = &m_pEntries;

    // What the file holds bounds every length: nothing is allocated or read
    // past its end, whatever a record claims.
    struct stat st;
    if (fstat(fileno(pFile), &st) != 0) {
        return false;
    }
    const long long iFileSize = (long long)st.st_size;

    for (;;) {
        char szKey[s_iMaxKeySize];
        int iKeyLength = 0;
        bool bHaveKey = false;
        while (iKeyLength < s_iMaxKeySize) {
            const int c = fgetc(pFile);
            if (c == EOF) {
                break;
            }
            szKey[iKeyLength++] = (char)c;
            if (c == 0) {
                bHaveKey = true;
                break;
            }
        }
        if (!bHaveKey) {
            return iKeyLength == 0;     // a clean end, or a key cut short
        }

        uint8_t aLength[4];
        if (fread(aLength, 1, sizeof(aLength), pFile) != sizeof(aLength)) {
            return false;   // ends inside the length: the record is dropped
        }
        const uint32_t uLength = (uint32_t)aLength[0] | ((uint32_t)aLength[1] << 8)
                               | ((uint32_t)aLength[2] << 16) | ((uint32_t)aLength[3] << 24);
        const long iPosition = ftell(pFile);
        if (iPosition < 0 || uLength > (uint32_t)INT32_MAX
            || (long long)uLength > iFileSize - (long long)iPosition) {
            return false;   // runs past the end: this record and the rest are dropped
        }

        HRegistryEntry *pEntry = static_cast<HRegistryEntry *>(calloc(1, sizeof(HRegistryEntry)));
        uint8_t *pData = static_cast<uint8_t *>(calloc((size_t)uLength + 1, 1));
        char *pszKey = strdup(szKey);
        if (!pEntry || !pData || !pszKey
            || fread(pData, 1, (size_t)uLength, pFile) != (size_t)uLength) {
            free(pEntry);
            free(pData);
            free(pszKey);
            return false;
        }
        pEntry->m_pszKey = pszKey;
        pEntry->m_iLength = (int32_t)uLength;
        pEntry->m_pData = pData;
        *ppTail = pEntry;
        ppTail = &pEntry->m_pNext;

        const int c = fgetc(pFile);
        if (c == EOF) {
            return true;
        }
        ungetc(c, pFile);
    }
}

bool HUnixRegistry::m_writeEntries(FILE *pFile) const
{
    for (const HRegistryEntry *pEntry = m_pEntries; pEntry; pEntry = pEntry->m_pNext) {
        const size_t uKeySize = strlen(pEntry->m_pszKey) + 1;
        uint8_t aLength[4];
        s_writeLength(aLength, (uint32_t)pEntry->m_iLength);
        if (fwrite(pEntry->m_pszKey, 1, uKeySize, pFile) != uKeySize
            || fwrite(aLength, 1, sizeof(aLength), pFile) != sizeof(aLength)
            || fwrite(pEntry->m_pData, 1, (size_t)pEntry->m_iLength, pFile) != (size_t)pEntry->m_iLength) {
            return false;
        }
    }
    return true;
}
