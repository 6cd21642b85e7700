#ifndef VEC4_H
#define VEC4_H

// Four floats; a plain value type. A new vector is (0, 0, 0, 0).
class Vec4 {
public:
    float               x;
    float               y;
    float               z;
    float               w;

                        Vec4() : x(0.0f), y(0.0f), z(0.0f), w(0.0f) {}
                        Vec4(float fX, float fY, float fZ, float fW) : x(fX), y(fY), z(fZ), w(fW) {}

    void                assign(float fX, float fY, float fZ, float fW) { x = fX; y = fY; z = fZ; w = fW; }

    // Component by component: this -= other, or out = this - other.
    void                subtract(const Vec4 &other);
    void                subtract(const Vec4 &other, Vec4 &out) const;
};

#endif // VEC4_H
