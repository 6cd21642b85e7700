#ifndef HUNIXREGISTRY_H
#define HUNIXREGISTRY_H

#include <stdio.h>

#include "HRegistry.h"
#include "HString.h"     // H_PRINTF_FORMAT

// One key and its value; owned by the registry's list.
struct HRegistryEntry {
    char *              m_pszKey;
    int32_t             m_iLength;
    uint8_t *           m_pData;                // m_iLength bytes and a NUL
    HRegistryEntry *    m_pNext;
};

// The registry as a file "$HOME/.quorvex/registry_<company>_<product>":
// records of key, NUL, 32-bit little-endian length and the value bytes,
// one after another to the end of the file; no header. Close writes the file
// back only when a value changed; a file that could not be read is never
// written over.
class HUnixRegistry : public HRegistry {
public:
                        HUnixRegistry();
    virtual             ~HUnixRegistry();

    virtual bool        open(HCvarManager *pContext, const char *pszCompany, const char *pszProduct) override;
    virtual bool        close() override;
    virtual bool        getString(const char *pszKey, char *pszBuffer, int32_t iSize) override;
    virtual bool        setString(const char *pszKey, const void *pData, int32_t iLength) override;
    virtual bool        getBinary(const char *pszKey, void *pBuffer, int32_t iSize, int32_t *piLength) override;
    virtual bool        setBinary(const char *pszKey, const void *pData, int32_t iLength) override;

    // The registry file's path while open, else null.
    const char *        getPath() const { return m_pszPath; }

    // Heap copy of an environment variable (caller frees), null when unset.
    static char *       sm_getEnvironmentCopy(const char *pszName);

private:
                        HUnixRegistry(const HUnixRegistry &) = delete;
    HUnixRegistry &     operator=(const HUnixRegistry &) = delete;

    HRegistryEntry *    m_findEntry(const char *pszKey) const;
    void                m_freeEntries();
    // True when the file was read to its end; false when it stopped at a
    // damaged record.
    bool                m_readEntries(FILE *pFile);
    void                m_keepDamagedFile();
    bool                m_writeEntries(FILE *pFile) const;
    // 0 when the file was written, else the error.
    int                 m_writeFile() const;
    int                 m_writeInPlace() const;
    void                m_removeStaleTempFiles() const;
    // An alert box, unless this registry showed the same text already.
    void                m_report(const char *pszFormat, ...) H_PRINTF_FORMAT(2, 3);

    HRegistryEntry *    m_pEntries;             // newest key first
    char *              m_pszPath;              // heap; null while closed
    bool                m_bChanged;             // entries differ from the file
    bool                m_bWritable;            // false: the file is left as it is
    char                m_szLastReport[1024];
};

#endif // HUNIXREGISTRY_H
