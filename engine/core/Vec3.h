#ifndef VEC3_H
#define VEC3_H

// Three floats; a plain value type. A new vector is (0, 0, 0).
class Vec3 {
public:
    float               x;
    float               y;
    float               z;

                        Vec3() : x(0.0f), y(0.0f), z(0.0f) {}
                        Vec3(float fX, float fY, float fZ) : x(fX), y(fY), z(fZ) {}

    void                assign(float fX, float fY, float fZ) { x = fX; y = fY; z = fZ; }

    // Index 0, 1 or 2. Any other index shows an alert, then yields x by
    // reference or 0 by value.
    float &             operator[](int iIndex);
    float               operator[](int iIndex) const;

    float               length() const;

    // Both return the length before normalising; a zero vector stays as it is.
    float               normalize();
    float               normalize(Vec3 &out) const;

    bool                equals(const Vec3 &other) const;
    bool                equalsWithin(const Vec3 &other, float fTolerance) const;
};

#endif // VEC3_H
