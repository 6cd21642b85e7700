#ifndef H2DSURFACE_H
#define H2DSURFACE_H

// A display surface. Made, copied and destroyed only by the display device
// (createSurface, cloneSurface, destroySurface). Assigning one surface to
// another would share pixel memory, so assignment only reports the mistake.
class H2DSurface {
public:
                    H2DSurface() {}
    virtual int     getWidth() const = 0;
    virtual int     getHeight() const = 0;
    // Frees pixel memory; the device calls it just before deleting.
    virtual void    releaseBuffers() {}
    virtual         ~H2DSurface() {}

    // Reports "Illegal call to H2DSurface::operator =" and copies nothing.
    H2DSurface &    operator=(const H2DSurface &other);

private:
                    H2DSurface(const H2DSurface &) = delete;
};

#endif
