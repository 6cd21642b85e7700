#ifndef HHASHTABLE_H
#define HHASHTABLE_H

#include <stddef.h>
#include <stdint.h>

#include "HObjectList.h"    // HC_ result codes

typedef void (*HHashTableFunction)(void *pArgument);

// Fixed number of buckets, each a growable block of entries. An entry is
// entry-size bytes: its 32-bit key hash, the key (size A bytes) and the
// value (size B bytes), so keys and values are copied in, not referenced.
// Keys are compared byte for byte.
//
// A value pointer handed out by find() points into the bucket: it is not
// aligned (copy through memcpy) and holds only until the next insert or
// remove.
class HHashTable {
public:
                        HHashTable();
                        ~HHashTable();

    // Refuses (false) a bucket count below 1, a negative size or an entry
    // past 16 MB; a second init drops what the table held before.
    bool                init(int iBucketCount, int iSizeA, int iSizeB, void *pUserValue, HHashTableFunction pFunction);
    // Frees every bucket; the table needs init again to take entries.
    void                destroy();

    // Calls the stored function (when there is one) with the argument.
    int                 callHashFunction(void *pArgument);

    // 0 added; 1 refused (not initialised, null key or value, no memory);
    // 2 when the key is already there (its value is left alone).
    int                 insert(const void *pKey, const void *pValue);
    // The stored value of the key, or null.
    void *              find(const void *pKey) const;
    // 0 removed; 3 when the key is not there.
    int                 remove(const void *pKey);
    // Drops every entry and keeps the buckets ready for more.
    void                removeAll();

    int                 getCount() const { return m_iCount; }
    int                 getBucketCount() const { return m_iBucketCount; }
    int                 getEntrySize() const { return m_iEntrySize; }
    void *              getUserValue() const { return m_pUserValue; }

private:
                        HHashTable(const HHashTable &) = delete;
    HHashTable &        operator=(const HHashTable &) = delete;

    int                 m_getKeySize() const { return m_iEntrySize - m_iSizeB - 4; }
    uint32_t            m_hashKey(const void *pKey) const;
    // Entry index of the key within its bucket, or -1.
    int                 m_findInBucket(const uint8_t *pBucket, uint32_t uHash, const void *pKey) const;

    uint8_t **          m_ppBuckets;
    int                 m_iSizeB;
    int                 m_iEntrySize;
    int                 m_iBucketCount;
    void *              m_pUserValue;
    HHashTableFunction  m_pFunction;
    int                 m_iCount;
};

#endif // HHASHTABLE_H
