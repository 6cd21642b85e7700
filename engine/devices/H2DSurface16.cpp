#include "H2DSurface16.h"

H2DSurface16::H2DSurface16()
    : m_pPixels(nullptr), m_iWidth(0), m_iHeight(0), m_iBitsPerPixel(0), m_iPitch(0)
{
}

void H2DSurface16::releaseBuffers()
{
    delete[] m_pPixels;
    m_pPixels = nullptr;
    delete[] m_pMask;
    m_pMask = nullptr;
}
