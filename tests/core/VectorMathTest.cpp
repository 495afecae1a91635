#include "core/FastMath.h"
#include "core/HexText.h"
#include "core/Vector2D.h"
#include "core/Vector3.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

TEST(FastMath, InverseSquareRootIsAccurateAfterFourSteps)
{
    for (float x : {0.01f, 1.0f, 2.0f, 100.0f, 12345.0f, 1e8f})
    {
        EXPECT_NEAR(FastInvSqrt(x) * std::sqrt(x), 1.0f, 1e-6f) << x;
        EXPECT_NEAR(FastSqrt(x) / std::sqrt(x), 1.0f, 1e-6f) << x;
    }
    EXPECT_TRUE(IsNearlyZero(0.00009f));
    EXPECT_TRUE(IsNearlyZero(-0.00009f));
    EXPECT_FALSE(IsNearlyZero(0.0001f));
    EXPECT_FALSE(IsNearlyZero(-0.0001f));

    uint32_t bits;
    std::memcpy(&bits, &FLOAT_INFINITY, 4);
    EXPECT_EQ(bits, 0x7F800000u);
    std::memcpy(&bits, &FLOAT_NEG_INFINITY, 4);
    EXPECT_EQ(bits, 0xFF800000u);
}

TEST(Vector2D, AnglesInDegrees)
{
    struct SCase
    {
        float x, y, angle;
    } headings[] = {{1, 0, 0}, {0, 1, 90}, {-1, 0, 180}, {0, -1, 270}, {0.70710678f, -0.70710678f, 315}};
    for (const SCase& c : headings)
        EXPECT_NEAR(CVector2D(c.x, c.y).GetAngle(), c.angle, 1e-3f) << c.x << "," << c.y;

    CVector2D v(1.0f, 0.0f);
    v.Rotate(90.0f);
    EXPECT_NEAR(v.x, 0.0f, 1e-6f);
    EXPECT_NEAR(v.y, 1.0f, 1e-6f);
    v.Rotate(-135.0f);
    EXPECT_NEAR(v.x, 0.70710678f, 1e-6f);
    EXPECT_NEAR(v.y, -0.70710678f, 1e-6f);

    CVector2D fromAngle;
    fromAngle.SetFromAngle(240.0f);
    EXPECT_NEAR(fromAngle.x, -0.5f, 1e-6f);
    EXPECT_NEAR(fromAngle.y, -0.8660254f, 1e-6f);
    EXPECT_NEAR(fromAngle.GetAngle(), 240.0f, 1e-3f);
}

TEST(Vector2D, LengthAndNormalise)
{
    CVector2D v(3.0f, 4.0f);
    EXPECT_NEAR(v.Length(), 5.0f, 1e-5f);
    v.Normalise();
    EXPECT_NEAR(v.x, 0.6f, 1e-6f);
    EXPECT_NEAR(v.y, 0.8f, 1e-6f);
    CVector2D zero;
    zero.Normalise();
    EXPECT_EQ(zero.x, 0.0f);
    EXPECT_EQ(zero.y, 0.0f);
    EXPECT_EQ(zero.Length(), 0.0f);
    CVector2D sum = CVector2D(1, 2) + CVector2D(3, 5) - CVector2D(0.5f, 1);
    EXPECT_EQ(sum.x, 3.5f);
    EXPECT_EQ(sum.y, 6.0f);
}

TEST(Vector3, AddSubtractLength)
{
    CVector3 a(1, 2, 3);
    CVector3 b(4, 6, 15);
    CVector3 d = b.Subtract(a);
    EXPECT_EQ(d.x, 3.0f);
    EXPECT_EQ(d.y, 4.0f);
    EXPECT_EQ(d.z, 12.0f);
    EXPECT_NEAR(d.Length(), 13.0f, 1e-4f);
    CVector3 s = a.Add(b);
    EXPECT_EQ(s.z, 18.0f);
    EXPECT_EQ(CVector3().Length(), 0.0f);
}

TEST(HexText, ForwardAndByteReversed)
{
    char digits[9] = {};
    FormatHex32(0x12AB, digits);
    EXPECT_STREQ(digits, "000012ab");
    FormatHex32Reversed(0x12AB, digits);
    EXPECT_STREQ(digits, "ab120000");
    FormatHex32(0xDEADBEEF, digits);
    EXPECT_STREQ(digits, "deadbeef");
    FormatHex32Reversed(0xDEADBEEF, digits);
    EXPECT_STREQ(digits, "efbeadde");
}
