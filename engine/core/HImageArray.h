#ifndef HIMAGEARRAY_H
#define HIMAGEARRAY_H

class HImage;

// A mip chain: level 0 is the source, each further level half the size.
// The array owns the levels it made; the source object stays the caller's.
class HImageArray {
public:
    HImageArray();
    ~HImageArray();

    bool init(int n);
    bool build(HImage *pSource, bool bClearBorders);
    HImage *getImage(int kiNdx) const;
    int getNumImages() const { return m_iNumImages; }
    // Empties every level, the source's pixels included.
    void destroy();

private:
    void m_freeLevels();

    int m_iNumImages;
    HImage **m_ppImages;

    HImageArray(const HImageArray &) = delete;
    HImageArray &operator=(const HImageArray &) = delete;
};

#endif
