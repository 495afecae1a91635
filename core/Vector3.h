#pragma once
// The float 3D vector, read and written by the file layer as three 32-bit values.

class CVector3
{
public:
    CVector3() = default;
    CVector3(float xValue, float yValue, float zValue) : x(xValue), y(yValue), z(zValue) {}

    CVector3 Add(const CVector3& other) const { return CVector3(x + other.x, y + other.y, z + other.z); }
    CVector3 Subtract(const CVector3& other) const { return CVector3(x - other.x, y - other.y, z - other.z); }
    float Length() const;

    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};
