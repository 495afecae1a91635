#include "presentation/SpriteQuad.h"

#include <cmath>
#include <utility>

namespace
{
const float kUnrotated = 0.000001f;

float RoundToWhole(float value)
{
    return std::floor(value + 0.5f);
}

// Truncated toward zero to a multiple of 0.5.
float SnapToHalf(float value)
{
    return value - std::fmod(value, 0.5f);
}
} // namespace

uint32_t ToVertexColour(uint32_t argb, bool colourIsArgb)
{
    if (colourIsArgb)
        return argb;
    return (argb & 0xFF00FF00u) | ((argb >> 16) & 0xFFu) | ((argb & 0xFFu) << 16);
}

bool BuildSpriteQuad(const SSpriteInstance& instance, const SSpriteFrame& frame, const SQuadContext& context,
                     SScreenVertex corners[4])
{
    const uint32_t flags = instance.m_flags;
    const bool snap = (flags & SPRITE_SNAP) != 0;
    const bool virtualScreen = (flags & SPRITE_VIRTUAL) != 0;
    const float hw = context.halfFrameWidth * instance.m_scaleX;
    const float hh = context.halfFrameHeight * instance.m_scaleY;
    const float x = instance.m_x - context.cameraX;
    const float y = instance.m_y - context.cameraY;
    const float sx = virtualScreen ? context.virtualScaleX : 1.0f;
    const float sy = virtualScreen ? context.virtualScaleY : 1.0f;
    const float shift = context.halfPixelShift ? 0.5f : 0.0f;
    const float width = context.screenWidth, height = context.screenHeight;

    float px[4], py[4]; // A, B, C, D
    if (std::fabs(instance.m_rotation) < kUnrotated)
    {
        float x0 = x - hw, y0 = y - hh, x1 = x + hw, y1 = y + hh;
        if (snap)
        {
            x0 = RoundToWhole(x0);
            y0 = RoundToWhole(y0);
            x1 = RoundToWhole(x1);
            y1 = RoundToWhole(y1);
        }
        x0 = x0 * sx - shift;
        x1 = x1 * sx - shift;
        y0 = y0 * sy - shift;
        y1 = y1 * sy - shift;
        if (x0 > width || y0 > height || x1 < 0.0f || y1 < 0.0f)
            return false;
        px[0] = x0, py[0] = y0;
        px[1] = x1, py[1] = y0;
        px[2] = x0, py[2] = y1;
        px[3] = x1, py[3] = y1;
    }
    else
    {
        const float c = std::cos(instance.m_rotation), s = std::sin(instance.m_rotation);
        const float a = c * hw, b = s * hw, d = -(s * hh), e = c * hh;
        px[0] = x - a - d, py[0] = y - b - e;
        px[1] = x + a - d, py[1] = y + b - e;
        px[2] = x - a + d, py[2] = y - b + e;
        px[3] = x + a + d, py[3] = y + b + e;
        if (snap && context.snapBeforeScaling)
            for (int i = 0; i < 4; ++i)
            {
                px[i] = SnapToHalf(px[i]);
                py[i] = SnapToHalf(py[i]);
            }
        bool allRight = true, allBelow = true, allLeft = true, allAbove = true;
        for (int i = 0; i < 4; ++i)
        {
            px[i] = px[i] * sx - shift;
            py[i] = py[i] * sy - shift;
            allRight = allRight && px[i] > width;
            allBelow = allBelow && py[i] > height;
            allLeft = allLeft && px[i] < 0.0f;
            allAbove = allAbove && py[i] < 0.0f;
        }
        if (allRight || allBelow || allLeft || allAbove)
            return false;
        if (snap && !context.snapBeforeScaling)
            for (int i = 0; i < 4; ++i)
            {
                px[i] = SnapToHalf(px[i]);
                py[i] = SnapToHalf(py[i]);
            }
    }

    float left = frame.m_leftU, right = frame.m_rightU, top = frame.m_topV, bottom = frame.m_bottomV;
    if (flags & SPRITE_MIRROR_X)
        std::swap(left, right);
    if (flags & SPRITE_MIRROR_Y)
        std::swap(top, bottom);
    const float u[4] = {left, right, left, right};
    const float v[4] = {top, top, bottom, bottom};
    const float z = context.depth + instance.m_depthBias / 3000.0f;
    const uint32_t colour = ToVertexColour(instance.m_colour, context.colourIsArgb);
    for (int i = 0; i < 4; ++i)
        corners[i] = SScreenVertex{px[i], py[i], z, 1.0f, colour, u[i], v[i]};
    return true;
}

void WeldQuadCorners(SScreenVertex corners[4], const SScreenVertex* earlier, int earlierCount)
{
    for (int i = 0; i < 4; ++i)
        for (int k = 0; k < earlierCount; ++k)
            if (std::fabs(corners[i].x - earlier[k].x) <= 1.5f && std::fabs(corners[i].y - earlier[k].y) <= 1.5f)
            {
                corners[i].x = earlier[k].x;
                corners[i].y = earlier[k].y;
            }
}
