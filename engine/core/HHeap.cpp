#include "HHeap.h"

#include "HLog.h"

HHeap::HHeap()
    : m_iTag(0), m_pBase(nullptr), m_uSize(0), m_pEnd(nullptr), m_pCursor(nullptr)
{
    HHeap::setHeap(nullptr, 0, 0);
}

void HHeap::setHeap(void *pBase, size_t uSize, int32_t iTag)
{
    if (m_pBase && pBase) {
        alertBox("setHeap - already initialized");
    }
    m_pBase = static_cast<uint8_t *>(pBase);
    m_uSize = m_pBase ? uSize : 0;
    m_iTag = iTag;
    m_pCursor = m_pBase;
    m_pEnd = m_pBase + m_uSize;
}

void *HHeap::alloc(void *pExisting, size_t uSize, int32_t iLevel)
{
    if (pExisting && iLevel > m_iTag) {
        return pExisting;
    }
    // Compared as room left rather than as cursor + size, which could wrap
    // past the top of the address space and grant a huge request.
    const size_t uLeft = (size_t)(m_pEnd - m_pCursor);
    if (uSize >= uLeft) {
        return nullptr;
    }
    void *p = m_pCursor;
    m_pCursor += uSize;
    return p;
}

void *HHeap::getInfo(size_t *pSize, size_t *pUsed) const
{
    if (pSize) {
        *pSize = m_uSize;
    }
    if (pUsed) {
        *pUsed = (size_t)(m_pCursor - m_pBase);
    }
    return m_pBase;
}

void HHeap::reset(int32_t iTag)
{
    m_iTag = iTag;
    m_pCursor = m_pBase;
}
