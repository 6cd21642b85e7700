#include "HImageArray.h"
#include "HImage.h"
#include "HLog.h"

#include <cstdlib>

HImageArray::HImageArray() : m_iNumImages(0), m_ppImages(nullptr)
{
}

HImageArray::~HImageArray()
{
    m_freeLevels();
}

void HImageArray::m_freeLevels()
{
    // Level 0 is the caller's image; the others are ours.
    for (int i = 1; i < m_iNumImages; i++) {
        delete m_ppImages[i];
    }
    free(m_ppImages);
    m_ppImages = nullptr;
    m_iNumImages = 0;
}

bool HImageArray::init(int n)
{
    m_freeLevels();
    if (n <= 0) {
        return true;
    }
    m_ppImages = (HImage **)calloc((size_t)n, sizeof(HImage *));
    if (!m_ppImages) {
        return false;
    }
    m_iNumImages = n;
    return true;
}

bool HImageArray::build(HImage *pSource, bool bClearBorders)
{
    // Levels are made by HImage::downsample, which reads 32-bit pixels.
    if (!pSource || !pSource->getData() || pSource->getFormat() != IMAGE_FORMAT_32BIT) {
        return false;
    }
    int iLargest = pSource->getWidth() > pSource->getHeight() ? pSource->getWidth()
                                                               : pSource->getHeight();
    int iLevels = 0;
    while (iLargest) {
        iLevels++;
        iLargest >>= 1;
    }
    if (!init(iLevels)) {
        return false;
    }
    m_ppImages[0] = pSource;
    if (bClearBorders) {
        pSource->clearBorderAlpha();
    }
    for (int i = 1; i < iLevels; i++) {
        int w = pSource->getWidth() >> i;
        int h = pSource->getHeight() >> i;
        HImage *pLevel = new HImage(w > 0 ? w : 1, h > 0 ? h : 1, pSource->getFormat());
        m_ppImages[i] = pLevel;
        if (!pLevel->getData()) {
            m_freeLevels();
            return false;
        }
        m_ppImages[i - 1]->downsample(pLevel);
        if (bClearBorders) {
            pLevel->clearBorderAlpha();
        }
    }
    return true;
}

HImage *HImageArray::getImage(int kiNdx) const
{
    if (kiNdx < 0 || kiNdx >= m_iNumImages) {
        errorPrintf("HImageArray::getImage - kiNdx >= m_iNumImages");
        return nullptr;
    }
    return m_ppImages[kiNdx];
}

void HImageArray::destroy()
{
    for (int i = 0; i < m_iNumImages; i++) {
        if (m_ppImages[i]) {
            m_ppImages[i]->destroy();
        }
    }
    m_freeLevels();
}
