#pragma once
// How the animation player reaches fonts: a small interface over the GUI's fonts,
// so that text tracks measure and draw without knowing where the fonts come from.

#include <cstdint>

class CCasFont
{
public:
    virtual ~CCasFont() = default;
    // The height of the glyph of "A" in GUI units: the step between two lines.
    virtual int GetLineHeight() const = 0;
    virtual int MeasureWidth(const char16_t* text) const = 0;
    // Draws at GUI position x, y (640 x 480 units), depth z, colour ARGB.
    virtual void DrawText(float x, float y, float z, const char16_t* text, uint32_t colour) = 0;
};

class CCasFontSource
{
public:
    virtual ~CCasFontSource() = default;
    // GUI font 0 to 3 when it is loaded, else null (any other index too).
    virtual CCasFont* GetFont(int index) = 0;
    virtual CCasFont* GetSystemFont() = 0;
};
