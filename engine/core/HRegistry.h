#ifndef HREGISTRY_H
#define HREGISTRY_H

#include <stdint.h>

class HCvarManager;

// Per-user store of named byte values, kept in one file that is read at
// open and written back whole at close. Keys are case-sensitive.
class HRegistry {
public:
    // Selects the file by company and product; the context may be null.
    virtual bool        open(HCvarManager *pContext, const char *pszCompany, const char *pszProduct) = 0;
    // Writes the file back when it holds at least one entry and a value
    // changed since it was read.
    virtual bool        close() = 0;
    // Copies a value as a string into a buffer of iSize bytes (iSize >= 1).
    virtual bool        getString(const char *pszKey, char *pszBuffer, int32_t iSize) = 0;
    virtual bool        setString(const char *pszKey, const void *pData, int32_t iLength) = 0;
    // Copies min(stored length, iSize) bytes and reports that count.
    virtual bool        getBinary(const char *pszKey, void *pBuffer, int32_t iSize, int32_t *piLength) = 0;
    virtual bool        setBinary(const char *pszKey, const void *pData, int32_t iLength) = 0;
    virtual             ~HRegistry() {}
};

// The single process-wide registry (an HUnixRegistry), made on first use.
// A registry still open when the program exits is written back.
HRegistry *             getRegistry();

#endif // HREGISTRY_H
