#include "Vector.h"
#include <cmath>

void CVector::Normalize()
{
    // Along an axis (most of a map's planes and edges) the long double sum below divides the one
    // component by its own size, giving a signed unit, and leaves the signed zeros as they are:
    // the same bits without the square root and the divisions (a finite component only, as an
    // infinite or undefined one gives no unit).
    const int nonZero = (x != 0) + (y != 0) + (z != 0);
    if (nonZero == 1) {
        float& c = x != 0 ? x : y != 0 ? y : z;
        if (std::isfinite(c)) {
            c = std::copysign(1.0f, c);
            return;
        }
    }
    long double len = std::sqrt(static_cast<long double>(x) * x + static_cast<long double>(y) * y +
                                static_cast<long double>(z) * z);
    if (len == 0)
        return;
    x = static_cast<float>(x / len);
    y = static_cast<float>(y / len);
    z = static_cast<float>(z / len);
}
