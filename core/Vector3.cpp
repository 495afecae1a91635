#include "core/Vector3.h"

#include "core/FastMath.h"

float CVector3::Length() const
{
    float squared = x * x + y * y + z * z;
    return squared == 0.0f ? 0.0f : FastSqrt(squared);
}
