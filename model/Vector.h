// Single-precision vectors of the brush geometry.
#pragma once

class CVector
{
public:
    CVector() = default;
    CVector(float ax, float ay, float az) : x(ax), y(ay), z(az) {}
    void Normalize();
    void Negate() { x = -x; y = -y; z = -z; }
    float x = 0, y = 0, z = 0;
};

// Inline: a map's load runs them for every face it builds.
inline CVector& VectorAdd(CVector& out, const CVector& a, const CVector& b)
{
    CVector r(a.x + b.x, a.y + b.y, a.z + b.z);
    out = r;
    return out;
}

inline CVector& VectorSubtract(CVector& out, const CVector& a, const CVector& b)
{
    CVector r(a.x - b.x, a.y - b.y, a.z - b.z);
    out = r;
    return out;
}

inline double VectorDot(const CVector& a, const CVector& b)
{
    return static_cast<double>(a.x) * b.x + static_cast<double>(a.y) * b.y + static_cast<double>(a.z) * b.z;
}

inline CVector& VectorCross(CVector& out, const CVector& a, const CVector& b)
{
    CVector r(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
    out = r;
    return out;
}
