#ifndef HHEAP_H
#define HHEAP_H

#include <stddef.h>
#include <stdint.h>

// Bump allocator over a block the caller owns. Nothing is freed piecemeal:
// reset() rewinds to the start, setHeap() binds another block. No alignment
// is applied, and a request that would end exactly at the end of the block
// is refused, so at most size - 1 bytes are ever handed out.
class HHeap {
public:
                        HHeap();

    // Rebinding a heap that already has a block (to another non-null one)
    // shows an alert, then rebinds anyway.
    virtual void        setHeap(void *pBase, size_t uSize, int32_t iTag);

    // Hands back pExisting untouched when it is set and iLevel is above the
    // tag; otherwise the next uSize bytes, or null when they do not fit.
    void *              alloc(void *pExisting, size_t uSize, int32_t iLevel);

    // The base; the out-values (either may be null) get the block size and
    // the bytes handed out so far.
    void *              getInfo(size_t *pSize, size_t *pUsed) const;
    void                reset(int32_t iTag);
    int32_t             getTag() const { return m_iTag; }

private:
    int32_t             m_iTag;
    uint8_t *           m_pBase;
    size_t              m_uSize;
    uint8_t *           m_pEnd;
    uint8_t *           m_pCursor;
};

#endif // HHEAP_H
