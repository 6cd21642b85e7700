#include "HUnixRegistry.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <stdarg.h>
#include <stdlib.h>
#include <string.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "HLog.h"
#include "HString.h"

// A key and its NUL take at most this many bytes in the file.
static const int s_iMaxKeySize = 1024;
static const int s_iPathSize = 1024;
// A write-back goes to "<file>.tmp.XXXXXX" beside the file first; names of
// exactly this form are ours to remove when a killed run left them.
static const char s_szTempInfix[] = ".tmp.";
static const int s_iTempRandomLength = 6;
// "<file>.damaged", then "<file>.damaged.2" and on: never one written over.
static const int s_iMaxDamagedCopies = 100;

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

// The file a write-back replaces: the target of a symbolic link, so the link
// stays and its target gets the new contents. Heap; null when out of memory.
static char *s_resolveTarget(const char *pszPath)
{
    char *pszTarget = realpath(pszPath, nullptr);
    return pszTarget ? pszTarget : strdup(pszPath);
}

// Bytes the records of a list take in the file.
static off_t s_getRecordsSize(const HRegistryEntry *pEntries)
{
    off_t iSize = 0;
    for (const HRegistryEntry *pEntry = pEntries; pEntry; pEntry = pEntry->m_pNext) {
        iSize += (off_t)strlen(pEntry->m_pszKey) + 1 + 4 + (off_t)pEntry->m_iLength;
    }
    return iSize;
}

static bool s_isDanglingLink(const char *pszPath)
{
    struct stat st;
    return lstat(pszPath, &st) == 0 && S_ISLNK(st.st_mode) && stat(pszPath, &st) != 0;
}

// The folder of a path and its last part, split in a caller's buffer.
static bool s_splitPath(const char *pszPath, char *pszFolder, size_t uSize, const char **ppszName)
{
    const char *pszSlash = strrchr(pszPath, '/');
    if (!pszSlash) {
        stringCopyBounded(pszFolder, ".", uSize);
        *ppszName = pszPath;
        return true;
    }
    const size_t uLength = pszSlash == pszPath ? 1 : (size_t)(pszSlash - pszPath);
    if (uLength >= uSize) {
        return false;
    }
    memcpy(pszFolder, pszPath, uLength);
    pszFolder[uLength] = '\0';
    *ppszName = pszSlash + 1;
    return true;
}

static bool s_isTempName(const char *pszEntry, const char *pszName)
{
    const size_t uNameLength = strlen(pszName);
    const size_t uInfixLength = sizeof(s_szTempInfix) - 1;
    if (strncmp(pszEntry, pszName, uNameLength) != 0
        || strncmp(pszEntry + uNameLength, s_szTempInfix, uInfixLength) != 0) {
        return false;
    }
    const char *pszRandom = pszEntry + uNameLength + uInfixLength;
    if (strlen(pszRandom) != (size_t)s_iTempRandomLength) {
        return false;
    }
    for (const char *p = pszRandom; *p; p++) {
        const bool bAlphaNumeric = (*p >= 'a' && *p <= 'z') || (*p >= 'A' && *p <= 'Z')
                                || (*p >= '0' && *p <= '9');
        if (!bAlphaNumeric) {
            return false;
        }
    }
    return true;
}

// Moves a file to a name nothing has yet; false when that name is taken.
static bool s_renameNoReplace(const char *pszFrom, const char *pszTo, int *piError)
{
    if (renameat2(AT_FDCWD, pszFrom, AT_FDCWD, pszTo, RENAME_NOREPLACE) == 0) {
        return true;
    }
    *piError = errno;
    if (errno != EINVAL && errno != ENOSYS) {
        return false;
    }
    // A file system without the flag: look first (a small race, at worst).
    if (access(pszTo, F_OK) == 0) {
        *piError = EEXIST;
        return false;
    }
    if (rename(pszFrom, pszTo) == 0) {
        return true;
    }
    *piError = errno;
    return false;
}

HUnixRegistry::HUnixRegistry()
    : m_pEntries(nullptr), m_pszPath(nullptr), m_bChanged(false), m_bWritable(true)
{
    m_szLastReport[0] = '\0';
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
    m_bChanged = false;
    m_bWritable = true;

    char *pszHome = sm_getEnvironmentCopy("HOME");
    if (!pszHome) {
        const struct passwd *pEntry = getpwuid(getuid());
        if (pEntry && pEntry->pw_dir) {
            pszHome = strdup(pEntry->pw_dir);
        }
    }
    if (!pszHome) {
        m_report("failed to open registry: %s", "no home directory");
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
        m_report("failed to open registry: %s", strerror(ENAMETOOLONG));
        return false;
    }

    if (access(szDirectory, F_OK) != 0) {
        mkdir(szDirectory, 0700);
    }
    m_pszPath = strdup(szPath);
    if (!m_pszPath) {
        return false;
    }
    m_removeStaleTempFiles();
    if (access(m_pszPath, F_OK) != 0) {
        return true;
    }
    // From here on a file is there: one that can't be read is never replaced.
    FILE *pFile = fopen(m_pszPath, "rb");
    if (!pFile) {
        m_bWritable = false;
        m_report("failed to open registry: %s", strerror(errno));
        return false;
    }
    // A directory opens under Linux but can't be read or replaced.
    struct stat st;
    if (fstat(fileno(pFile), &st) != 0 || S_ISDIR(st.st_mode)) {
        fclose(pFile);
        m_bWritable = false;
        m_report("failed to open registry: %s", strerror(EISDIR));
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
// lost. The next write-back makes a clean file in its place. An earlier
// copy is never written over; when no copy can be made the file stays as it
// is and nothing is written back.
void HUnixRegistry::m_keepDamagedFile()
{
    char *pszTarget = s_resolveTarget(m_pszPath);
    char szDamaged[s_iPathSize];
    int iError = ENOMEM;
    bool bKept = false;
    for (int i = 1; pszTarget && i <= s_iMaxDamagedCopies && !bKept; i++) {
        const int iLength = i == 1 ? snprintf(szDamaged, sizeof(szDamaged), "%s.damaged", pszTarget)
                                   : snprintf(szDamaged, sizeof(szDamaged), "%s.damaged.%d", pszTarget, i);
        if (iLength < 0 || iLength >= s_iPathSize) {
            iError = ENAMETOOLONG;
            break;
        }
        bKept = s_renameNoReplace(pszTarget, szDamaged, &iError);
        if (!bKept && iError != EEXIST) {
            break;
        }
    }
    free(pszTarget);
    if (!bKept) {
        m_bWritable = false;
        m_report("The settings and high scores file '%s' is damaged. What could be read is used, but "
                 "the file could not be saved aside (%s), so it is left as it is and changes are not saved.",
                 m_pszPath, strerror(iError));
        return;
    }
    m_bChanged = m_pEntries != nullptr;
    m_report("The settings and high scores file '%s' was damaged. What could be read is kept; "
             "the damaged file was saved as '%s'.", m_pszPath, szDamaged);
}

// Temporary files whose write-back was killed half-way. One that another
// run of the game is still writing is locked, and is left alone.
void HUnixRegistry::m_removeStaleTempFiles() const
{
    char *pszTarget = s_resolveTarget(m_pszPath);
    char szFolder[s_iPathSize];
    const char *pszName = nullptr;
    DIR *pFolder = nullptr;
    if (pszTarget && s_splitPath(pszTarget, szFolder, sizeof(szFolder), &pszName)) {
        pFolder = opendir(szFolder);
    }
    if (!pFolder) {
        free(pszTarget);
        return;
    }
    // Writers hold the folder's lock shared while their new temporary file
    // is not yet locked and looks stale: the clean-up is then left to a
    // later open.
    const int iFolder = dirfd(pFolder);
    if (flock(iFolder, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        closedir(pFolder);
        free(pszTarget);
        return;
    }
    for (const struct dirent *pEntry = readdir(pFolder); pEntry; pEntry = readdir(pFolder)) {
        if (!s_isTempName(pEntry->d_name, pszName)) {
            continue;
        }
        const int iDescriptor = openat(iFolder, pEntry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (iDescriptor < 0) {
            continue;
        }
        // Locked, it may meanwhile have been renamed into place by its
        // writer: only a name that still holds the locked file is removed.
        struct stat st, stName;
        if (fstat(iDescriptor, &st) == 0 && S_ISREG(st.st_mode) && flock(iDescriptor, LOCK_EX | LOCK_NB) == 0
            && fstatat(iFolder, pEntry->d_name, &stName, AT_SYMLINK_NOFOLLOW) == 0
            && stName.st_dev == st.st_dev && stName.st_ino == st.st_ino) {
            unlinkat(iFolder, pEntry->d_name, 0);
        }
        ::close(iDescriptor);
    }
    closedir(pFolder);
    free(pszTarget);
}

void HUnixRegistry::m_report(const char *pszFormat, ...)
{
    char szText[LOG_LINE_SIZE];
    va_list args;
    va_start(args, pszFormat);
    vsnprintf(szText, sizeof(szText), pszFormat, args);
    va_end(args);
    // One problem, one box: the game opens and closes the registry often.
    if (strcmp(szText, m_szLastReport) == 0) {
        errorPrintf("%s", szText);
        return;
    }
    // Marked as said only once the box is answered: a run that ends inside
    // the box (a display driver giving up) still says it from the exit-time
    // write-back.
    alertBox("%s", szText);
    stringCopyBounded(m_szLastReport, szText, sizeof(m_szLastReport));
}

bool HUnixRegistry::close()
{
    if (!m_pszPath) {
        m_freeEntries();
        m_bChanged = false;
        return true;
    }
    if (m_pEntries && m_bChanged) {
        // The file there could not be read: it is left as it is. Its open
        // said so already.
        if (!m_bWritable) {
            return false;
        }
        // Past the file-size limit a write raises SIGXFSZ, which would end
        // the game before it could say so: ignored meanwhile, the write
        // fails with EFBIG and is reported like any other failure.
        struct sigaction saIgnore, saOld;
        memset(&saIgnore, 0, sizeof(saIgnore));
        saIgnore.sa_handler = SIG_IGN;
        sigemptyset(&saIgnore.sa_mask);
        const bool bIgnoring = sigaction(SIGXFSZ, &saIgnore, &saOld) == 0;
        const int iError = m_writeFile();
        if (bIgnoring) {
            sigaction(SIGXFSZ, &saOld, nullptr);
        }
        if (iError != 0) {
            m_report("failed to open registry: %s", strerror(iError));
            return false;
        }
    }
    m_freeEntries();
    m_bChanged = false;
    free(m_pszPath);
    m_pszPath = nullptr;
    return true;
}

// Written beside the old file and renamed over it, so a run that dies
// half-way leaves the old registry whole. Where no file can be made beside
// it (a folder the user may not write) it is written in place instead.
int HUnixRegistry::m_writeFile() const
{
    if (s_isDanglingLink(m_pszPath)) {
        return m_writeInPlace();
    }
    char *pszTarget = s_resolveTarget(m_pszPath);
    if (!pszTarget) {
        return ENOMEM;
    }
    struct stat stOld;
    const bool bExists = stat(pszTarget, &stOld) == 0;
    // A file the user may not write stays as it is, as an in-place write
    // would leave it.
    if (bExists && access(pszTarget, W_OK) != 0 && errno == EACCES) {
        free(pszTarget);
        return EACCES;
    }

    const size_t uTargetLength = strlen(pszTarget);
    const size_t uTempSize = uTargetLength + sizeof(s_szTempInfix) + (size_t)s_iTempRandomLength;
    char *pszTemp = static_cast<char *>(malloc(uTempSize));
    if (!pszTemp) {
        free(pszTarget);
        return ENOMEM;
    }
    // Between its making and its lock the temporary file would look stale to
    // another run's clean-up: the folder's shared lock keeps that out. One
    // removed all the same (no lock on the folder) is made again.
    char szFolder[s_iPathSize];
    const char *pszName = nullptr;
    const int iFolder = s_splitPath(pszTarget, szFolder, sizeof(szFolder), &pszName)
                      ? ::open(szFolder, O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1;
    if (iFolder >= 0) {
        flock(iFolder, LOCK_SH);
    }
    int iDescriptor = -1;
    int iError = 0;
    for (int iTry = 0; iTry < 3 && iDescriptor < 0; iTry++) {
        snprintf(pszTemp, uTempSize, "%s%sXXXXXX", pszTarget, s_szTempInfix);
        iDescriptor = mkstemp(pszTemp);
        if (iDescriptor < 0) {
            iError = errno;
            break;
        }
        struct stat stTemp;
        if (flock(iDescriptor, LOCK_EX) != 0 || fstat(iDescriptor, &stTemp) != 0 || stTemp.st_nlink == 0) {
            ::close(iDescriptor);
            iDescriptor = -1;
            iError = EAGAIN;
        }
    }
    if (iFolder >= 0) {
        ::close(iFolder);
    }
    if (iDescriptor < 0) {
        free(pszTemp);
        free(pszTarget);
        if (iError == EACCES || iError == EPERM || iError == EROFS) {
            return m_writeInPlace();
        }
        return iError;
    }
    if (bExists) {
        // Owner first: changing it clears the set-id bits of the mode.
        if ((stOld.st_uid != geteuid() || stOld.st_gid != getegid())
            && fchown(iDescriptor, stOld.st_uid, stOld.st_gid) != 0) {
            errorPrintf("HUnixRegistry::close - could not keep the owner of '%s'\n", pszTarget);
        }
        if (fchmod(iDescriptor, stOld.st_mode & 07777) != 0) {
            errorPrintf("HUnixRegistry::close - could not keep the mode of '%s'\n", pszTarget);
        }
    }
    // The lock is held until the temporary file is gone from its name,
    // renamed or removed: another run's clean-up removes every one it can
    // lock, and would take this one in a gap.
    FILE *pFile = fdopen(iDescriptor, "wb");
    if (!pFile) {
        iError = errno;
        unlink(pszTemp);
        ::close(iDescriptor);
        free(pszTemp);
        free(pszTarget);
        return iError;
    }
    bool bOk = m_writeEntries(pFile) && fflush(pFile) == 0 && fsync(fileno(pFile)) == 0;
    iError = errno;
    if (bOk && rename(pszTemp, pszTarget) != 0) {
        bOk = false;
        iError = errno;
    }
    if (!bOk) {
        unlink(pszTemp);
    }
    // Flushed and synced already: the close only gives back the lock.
    fclose(pFile);
    free(pszTemp);
    free(pszTarget);
    return bOk ? 0 : (iError ? iError : EIO);
}

// Through a symbolic link too. Not truncated before the new records are in,
// and their room is reserved before any old byte is overwritten: a full disk
// or a file-size limit leaves the old file as it was.
int HUnixRegistry::m_writeInPlace() const
{
    // Read access lets the C library reserve room by hand where the file
    // system can't do it itself.
    int iDescriptor = ::open(m_pszPath, O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (iDescriptor < 0 && errno == EACCES) {
        iDescriptor = ::open(m_pszPath, O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    }
    if (iDescriptor < 0) {
        return errno;
    }
    struct stat st;
    if (fstat(iDescriptor, &st) != 0) {
        const int iError = errno;
        ::close(iDescriptor);
        return iError;
    }
    const off_t iOldSize = st.st_size;
    const off_t iNewSize = s_getRecordsSize(m_pEntries);
    const int iReserved = iNewSize > 0 ? posix_fallocate(iDescriptor, 0, iNewSize) : 0;
    if (iReserved != 0) {
        // A reservation that failed half-way may have grown the file.
        if (fstat(iDescriptor, &st) == 0 && st.st_size > iOldSize && ftruncate(iDescriptor, iOldSize) != 0) {
            errorPrintf("HUnixRegistry::close - could not cut '%s' back to its old size\n", m_pszPath);
        }
        ::close(iDescriptor);
        return iReserved;
    }
    FILE *pFile = fdopen(iDescriptor, "wb");
    if (!pFile) {
        const int iError = errno;
        ::close(iDescriptor);
        return iError;
    }
    bool bOk = m_writeEntries(pFile) && fflush(pFile) == 0;
    const long iSize = bOk ? ftell(pFile) : -1;
    bOk = bOk && iSize >= 0 && ftruncate(fileno(pFile), (off_t)iSize) == 0 && fsync(fileno(pFile)) == 0;
    int iError = errno;
    if (fclose(pFile) != 0 && bOk) {
        bOk = false;
        iError = errno;
    }
    return bOk ? 0 : (iError ? iError : EIO);
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
        if (pEntry->m_iLength == iLength && memcmp(pEntry->m_pData, pCopy, (size_t)iLength) == 0) {
            free(pCopy);
            return true;    // the same value: nothing to write back
        }
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
    m_bChanged = true;
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
