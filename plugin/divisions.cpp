#include "plugin/divisions.h"

#include <cmath>

// Divisions come in threes: straight (2^(i/3) / 32), triplet (2^((i+2)/3) / 48)
// and dotted (2^((i-2)/3) × 3/64).

float DivisionLength(int index)
{
    const int kind = index % 3;
    const int exponent = kind == 0 ? index : kind == 1 ? index + 2 : index - 2;
    const double scale = kind == 0 ? 0.03125 : kind == 1 ? 0.020833333333333332 : 0.046875;
    return static_cast<float>(std::pow(2.0, exponent * 0.3333333333333333) * scale);
}

float DivisionLengthSingle(int index)
{
    const int kind = index % 3;
    const int exponent = kind == 0 ? index : kind == 1 ? index + 2 : index - 2;
    const float scale = kind == 0 ? 0.03125f : kind == 1 ? 0.020833334f : 0.046875f;
    return std::pow(2.0f, static_cast<float>(exponent) * 0.33333334f) * scale;
}
