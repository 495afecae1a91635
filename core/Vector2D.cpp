#include "core/Vector2D.h"

#include "core/FastMath.h"

#include <cmath>

float CVector2D::Length() const
{
    float squared = x * x + y * y;
    return squared == 0.0f ? 0.0f : FastSqrt(squared);
}

void CVector2D::Normalise()
{
    float squared = x * x + y * y;
    if (squared == 0.0f)
        return;
    float scale = FastInvSqrt(squared);
    x *= scale;
    y *= scale;
}

void CVector2D::SetFromAngle(float degrees)
{
    float radians = degrees * DEG_TO_RAD;
    x = std::cos(radians);
    y = std::sin(radians);
}

void CVector2D::Rotate(float degrees)
{
    float radians = degrees * DEG_TO_RAD;
    float c = std::cos(radians);
    float s = std::sin(radians);
    float rotatedX = x * c - y * s;
    y = y * c + x * s;
    x = rotatedX;
}

float CVector2D::GetAngle() const
{
    float clamped = x < -1.0f ? -1.0f : (x > 1.0f ? 1.0f : x);
    float degrees = std::acos(clamped) * RAD_TO_DEG;
    return y < 0.0f ? 360.0f - degrees : degrees;
}
