#include "HHashTable.h"

#include <stdlib.h>
#include <string.h>

// A bucket block starts with its entry count and capacity.
struct HHashBucketHeader {
    int32_t             iCount;
    int32_t             iCapacity;
};

static const int s_iMaxEntrySize = 1 << 24;

static HHashBucketHeader *s_header(uint8_t *pBucket)
{
    return reinterpret_cast<HHashBucketHeader *>(pBucket);
}

static const HHashBucketHeader *s_header(const uint8_t *pBucket)
{
    return reinterpret_cast<const HHashBucketHeader *>(pBucket);
}

HHashTable::HHashTable()
    : m_ppBuckets(nullptr), m_iSizeB(0), m_iEntrySize(0), m_iBucketCount(0),
      m_pUserValue(nullptr), m_pFunction(nullptr), m_iCount(0)
{
}

HHashTable::~HHashTable()
{
    destroy();
}

bool HHashTable::init(int iBucketCount, int iSizeA, int iSizeB, void *pUserValue, HHashTableFunction pFunction)
{
    destroy();
    // A bucket count of 0 would leave nothing to hash into (and a modulo by
    // zero); the size limit keeps entry arithmetic far from overflow.
    if (iBucketCount < 1 || iSizeA < 0 || iSizeB < 0
        || iSizeA > s_iMaxEntrySize || iSizeB > s_iMaxEntrySize - 4 - iSizeA) {
        return false;
    }
    uint8_t **ppBuckets = static_cast<uint8_t **>(calloc((size_t)iBucketCount, sizeof(uint8_t *)));
    if (!ppBuckets) {
        return false;
    }
    m_ppBuckets = ppBuckets;
    m_iBucketCount = iBucketCount;
    m_iSizeB = iSizeB;
    m_iEntrySize = iSizeA + iSizeB + 4;
    m_pUserValue = pUserValue;
    m_pFunction = pFunction;
    m_iCount = 0;
    return true;
}

void HHashTable::destroy()
{
    if (m_ppBuckets) {
        for (int i = 0; i < m_iBucketCount; i++) {
            free(m_ppBuckets[i]);
        }
        free(m_ppBuckets);
    }
    m_ppBuckets = nullptr;
    m_iBucketCount = 0;
    m_iCount = 0;
}

int HHashTable::callHashFunction(void *pArgument)
{
    if (m_pFunction) {
        m_pFunction(pArgument);
    }
    return 0;
}

// FNV-1a over the key bytes.
uint32_t HHashTable::m_hashKey(const void *pKey) const
{
    const uint8_t *p = static_cast<const uint8_t *>(pKey);
    uint32_t h = 2166136261u;
    for (int i = 0; i < m_getKeySize(); i++) {
        h = (h ^ p[i]) * 16777619u;
    }
    return h;
}

int HHashTable::m_findInBucket(const uint8_t *pBucket, uint32_t uHash, const void *pKey) const
{
    if (!pBucket) {
        return -1;
    }
    const int iKeySize = m_getKeySize();
    const uint8_t *pEntry = pBucket + sizeof(HHashBucketHeader);
    for (int i = 0; i < s_header(pBucket)->iCount; i++, pEntry += m_iEntrySize) {
        uint32_t uEntryHash;
        memcpy(&uEntryHash, pEntry, 4);
        if (uEntryHash == uHash && memcmp(pEntry + 4, pKey, (size_t)iKeySize) == 0) {
            return i;
        }
    }
    return -1;
}

int HHashTable::insert(const void *pKey, const void *pValue)
{
    if (!m_ppBuckets || !pKey || (!pValue && m_iSizeB > 0)) {
        return HC_REFUSED;
    }
    const uint32_t uHash = m_hashKey(pKey);
    uint8_t *&pBucket = m_ppBuckets[uHash % (uint32_t)m_iBucketCount];
    if (m_findInBucket(pBucket, uHash, pKey) >= 0) {
        return HC_DUPLICATE;
    }
    if (m_iCount == INT32_MAX) {
        return HC_REFUSED;
    }

    const int iCount = pBucket ? s_header(pBucket)->iCount : 0;
    const int iCapacity = pBucket ? s_header(pBucket)->iCapacity : 0;
    if (iCount == iCapacity) {
        // Doubling keeps a long chain's inserts cheap on average.
        const size_t uNewCapacity = iCapacity ? (size_t)iCapacity * 2 : 4;
        if (uNewCapacity > (size_t)INT32_MAX
            || uNewCapacity > (SIZE_MAX - sizeof(HHashBucketHeader)) / (size_t)m_iEntrySize) {
            return HC_REFUSED;
        }
        uint8_t *pNew = static_cast<uint8_t *>(realloc(pBucket, sizeof(HHashBucketHeader) + uNewCapacity * (size_t)m_iEntrySize));
        if (!pNew) {
            return HC_REFUSED;
        }
        if (!pBucket) {
            s_header(pNew)->iCount = 0;
        }
        s_header(pNew)->iCapacity = (int32_t)uNewCapacity;
        pBucket = pNew;
    }

    uint8_t *pEntry = pBucket + sizeof(HHashBucketHeader) + (size_t)iCount * (size_t)m_iEntrySize;
    memcpy(pEntry, &uHash, 4);
    memcpy(pEntry + 4, pKey, (size_t)m_getKeySize());
    if (m_iSizeB > 0) {
        memcpy(pEntry + 4 + m_getKeySize(), pValue, (size_t)m_iSizeB);
    }
    s_header(pBucket)->iCount = iCount + 1;
    m_iCount++;
    return HC_DONE;
}

void *HHashTable::find(const void *pKey) const
{
    if (!m_ppBuckets || !pKey) {
        return nullptr;
    }
    const uint32_t uHash = m_hashKey(pKey);
    uint8_t *pBucket = m_ppBuckets[uHash % (uint32_t)m_iBucketCount];
    const int i = m_findInBucket(pBucket, uHash, pKey);
    if (i < 0) {
        return nullptr;
    }
    return pBucket + sizeof(HHashBucketHeader) + (size_t)i * (size_t)m_iEntrySize + 4 + m_getKeySize();
}

int HHashTable::remove(const void *pKey)
{
    if (!m_ppBuckets || !pKey) {
        return HC_NOT_FOUND;
    }
    const uint32_t uHash = m_hashKey(pKey);
    uint8_t *&pBucket = m_ppBuckets[uHash % (uint32_t)m_iBucketCount];
    const int i = m_findInBucket(pBucket, uHash, pKey);
    if (i < 0) {
        return HC_NOT_FOUND;
    }
    // The last entry fills the hole; order within a bucket means nothing.
    HHashBucketHeader *pHeader = s_header(pBucket);
    const int iLast = pHeader->iCount - 1;
    if (i != iLast) {
        uint8_t *pEntries = pBucket + sizeof(HHashBucketHeader);
        memcpy(pEntries + (size_t)i * (size_t)m_iEntrySize,
               pEntries + (size_t)iLast * (size_t)m_iEntrySize, (size_t)m_iEntrySize);
    }
    pHeader->iCount = iLast;
    if (iLast == 0) {
        free(pBucket);
        pBucket = nullptr;
    }
    m_iCount--;
    return HC_DONE;
}

void HHashTable::removeAll()
{
    if (!m_ppBuckets) {
        return;
    }
    for (int i = 0; i < m_iBucketCount; i++) {
        free(m_ppBuckets[i]);
        m_ppBuckets[i] = nullptr;
    }
    m_iCount = 0;
}
