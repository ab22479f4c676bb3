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
