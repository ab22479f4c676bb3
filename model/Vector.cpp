#include "Vector.h"
#include <cmath>

void CVector::Normalize()
{
    long double len = std::sqrt(static_cast<long double>(x) * x + static_cast<long double>(y) * y +
                                static_cast<long double>(z) * z);
    if (len == 0)
        return;
    x = static_cast<float>(x / len);
    y = static_cast<float>(y / len);
    z = static_cast<float>(z / len);
}

CVector& VectorAdd(CVector& out, const CVector& a, const CVector& b)
{
    CVector r(a.x + b.x, a.y + b.y, a.z + b.z);
    out = r;
    return out;
}

CVector& VectorSubtract(CVector& out, const CVector& a, const CVector& b)
{
    CVector r(a.x - b.x, a.y - b.y, a.z - b.z);
    out = r;
    return out;
}

double VectorDot(const CVector& a, const CVector& b)
{
    return static_cast<double>(a.x) * b.x + static_cast<double>(a.y) * b.y + static_cast<double>(a.z) * b.z;
}

CVector& VectorCross(CVector& out, const CVector& a, const CVector& b)
{
    CVector r(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
    out = r;
    return out;
}
