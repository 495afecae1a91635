#pragma once
// The float 2D vector. Angles given to it are degrees; headings come back in
// degrees in [0, 360].

class CVector2D
{
public:
    CVector2D() = default;
    CVector2D(float xValue, float yValue) : x(xValue), y(yValue) {}

    float Length() const;
    // Scales to unit length; a zero vector stays (0, 0).
    void Normalise();
    // (cos a, sin a).
    void SetFromAngle(float degrees);
    void Rotate(float degrees);
    // The heading of a unit vector: 0 along +x, 90 along +y, 270 along -y.
    float GetAngle() const;
    float Dot(const CVector2D& other) const { return x * other.x + y * other.y; }

    CVector2D Add(const CVector2D& other) const { return CVector2D(x + other.x, y + other.y); }
    CVector2D Subtract(const CVector2D& other) const { return CVector2D(x - other.x, y - other.y); }
    CVector2D operator+(const CVector2D& other) const { return Add(other); }
    CVector2D operator-(const CVector2D& other) const { return Subtract(other); }
    CVector2D operator*(float scale) const { return CVector2D(x * scale, y * scale); }
    CVector2D& operator+=(const CVector2D& other)
    {
        x += other.x;
        y += other.y;
        return *this;
    }
    CVector2D& operator-=(const CVector2D& other)
    {
        x -= other.x;
        y -= other.y;
        return *this;
    }

    float x = 0.0f;
    float y = 0.0f;
};
