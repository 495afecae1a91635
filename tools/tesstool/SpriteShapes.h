#pragma once
// Drawn sprite sources for the sample data: a small text format of filled shapes,
// rasterised with 4 x 4 samples a pixel. Lines:
//   size W H            frame size in pixels (first line that draws needs it)
//   turns N             every frame is repeated N times, turned clockwise by 360/N degrees
//   frame               starts the next frame (the first one starts by itself)
//   colour RRGGBBAA     colour of the shapes that follow
//   polygon x y x y ... filled polygon, pixel coordinates from the top-left corner
//   circle X Y R        filled disc
//   glow X Y R          disc whose alpha falls off from the centre to the rim
//   text X Y PIXELS WORDS...  the rest of the line (printable ASCII) in the font given
//                       to the drawing, PIXELS high, its cell's top-left corner at X, Y
// "#" starts a comment.

#include <cstdint>
#include <string>
#include <vector>

struct SShapeFrames
{
    uint32_t width = 0;
    uint32_t height = 0;
    // Pixels blue, green, red, alpha: straight alpha when keepAlpha, otherwise
    // premultiplied on black with alpha 255.
    std::vector<std::vector<uint8_t>> frames;
};

// fontFile: the TrueType font of "text" lines (empty: such a line is an error).
bool DrawShapeSource(const std::string& text, bool keepAlpha, SShapeFrames& out, std::string& error,
                     const std::string& fontFile = std::string());
