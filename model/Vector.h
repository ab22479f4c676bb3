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

CVector& VectorAdd(CVector& out, const CVector& a, const CVector& b);
CVector& VectorSubtract(CVector& out, const CVector& a, const CVector& b);
double VectorDot(const CVector& a, const CVector& b);
CVector& VectorCross(CVector& out, const CVector& a, const CVector& b);
