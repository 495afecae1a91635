// tesstool tga: inspects and rewrites TGA images through the game's own reader and
// writer, and draws the screenshot stamp of the sample data.

#include "core/FileBytes.h"
#include "platform/Tga.h"
#include "tools/tesstool/SpriteShapes.h"
#include "tools/tesstool/ToolCommand.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace
{
const char* KindName(const STgaHeader& header)
{
    switch (header.imageType)
    {
    case 1: return "colour-mapped";
    case 2: return "true colour";
    case 9: return "colour-mapped, run-length";
    case 10: return "true colour, run-length";
    default: return "unsupported";
    }
}

int Info(const std::string& path)
{
    std::vector<uint8_t> bytes;
    STgaHeader header;
    if (!ReadTgaFileBytes(path.c_str(), bytes))
    {
        std::fprintf(stderr, "tesstool: cannot read %s\n", path.c_str());
        return 1;
    }
    if (!ReadTgaHeader(bytes.data(), bytes.size(), header))
    {
        std::fprintf(stderr, "tesstool: %s is too short for a TGA header\n", path.c_str());
        return 1;
    }
    STgaImage image;
    bool readable = DecodeTga(bytes.data(), bytes.size(), image);
    std::printf("%s: %u x %u, %u bits, %s origin, %s%s\n", path.c_str(), header.width, header.height,
                header.pixelDepth, header.IsTopLeft() ? "top-left" : "bottom-left", KindName(header),
                readable ? "" : " (the game refuses it)");
    return readable ? 0 : 1;
}

int Convert(const std::string& from, const std::string& to)
{
    STgaImage image;
    if (!LoadTga(from.c_str(), image))
    {
        std::fprintf(stderr, "tesstool: %s is not a TGA image the game reads\n", from.c_str());
        return 1;
    }
    if (!SaveTga32(to.c_str(), image.width, image.height, image.pixels.data()))
    {
        std::fprintf(stderr, "tesstool: cannot write %s\n", to.c_str());
        return 1;
    }
    return 0;
}

// The stamp blended into every screenshot: a translucent dark plate with a ringed
// planet and a row of bars, drawn from a few shapes so that it has no source image.
int DrawStamp(const std::string& to)
{
    const int width = 96, height = 32;
    std::vector<uint8_t> pixels(size_t(width) * height * 4, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            uint8_t* p = &pixels[size_t(y * width + x) * 4];
            // Plate with rounded corners.
            float cx = float(std::clamp(x, 4, width - 5)), cy = float(std::clamp(y, 4, height - 5));
            float corner = std::hypot(float(x) - cx, float(y) - cy);
            if (corner > 4.0f)
                continue;
            uint8_t b = 40, g = 24, r = 16, a = 150;
            // Planet with a highlight, and its ring.
            float dx = float(x) - 16.0f, dy = float(y) - 16.0f;
            float planet = std::hypot(dx, dy);
            float ring = std::hypot(dx, dy * 3.0f);
            if (planet < 9.0f)
            {
                float light = 1.0f - std::hypot(dx + 3.0f, dy + 3.0f) / 14.0f;
                b = uint8_t(120 + 120 * std::max(light, 0.0f));
                g = uint8_t(90 + 100 * std::max(light, 0.0f));
                r = 60;
                a = 255;
            }
            if (ring > 12.5f && ring < 14.0f && !(planet < 9.0f && dy < 0))
            {
                b = 120;
                g = 220;
                r = 250;
                a = 230;
            }
            // Bars of rising height.
            for (int bar = 0; bar < 6; ++bar)
            {
                int left = 36 + bar * 9, top = 24 - bar * 3;
                if (x >= left && x < left + 6 && y >= top && y < 27)
                {
                    b = uint8_t(80 + bar * 30);
                    g = uint8_t(200 - bar * 10);
                    r = uint8_t(60 + bar * 25);
                    a = 255;
                }
            }
            p[0] = b;
            p[1] = g;
            p[2] = r;
            p[3] = a;
        }
    if (!SaveTga32(to.c_str(), width, height, pixels.data()))
    {
        std::fprintf(stderr, "tesstool: cannot write %s\n", to.c_str());
        return 1;
    }
    return 0;
}

// The first frame of a drawn shape source (tools/tesstool/SpriteShapes.h) as a TGA
// with its alpha kept: textures of the sample data, such as the beams of lasers.
int DrawShape(const std::string& to, const std::string& source)
{
    std::vector<uint8_t> text;
    if (!ReadFileBytes(source.c_str(), text))
    {
        std::fprintf(stderr, "tesstool: cannot read %s\n", source.c_str());
        return 1;
    }
    SShapeFrames frames;
    std::string error;
    if (!DrawShapeSource(std::string(text.begin(), text.end()), true, frames, error) || frames.frames.empty())
    {
        std::fprintf(stderr, "tesstool: %s: %s\n", source.c_str(), error.empty() ? "no frame" : error.c_str());
        return 1;
    }
    if (!SaveTga32(to.c_str(), static_cast<int32_t>(frames.width), static_cast<int32_t>(frames.height),
                   frames.frames[0].data()))
    {
        std::fprintf(stderr, "tesstool: cannot write %s\n", to.c_str());
        return 1;
    }
    return 0;
}

int RunTgaCommand(const std::vector<std::string>& args)
{
    if (args.size() == 2 && args[0] == "info")
        return Info(args[1]);
    if (args.size() == 3 && args[0] == "convert")
        return Convert(args[1], args[2]);
    if (args.size() == 2 && args[0] == "stamp")
        return DrawStamp(args[1]);
    if (args.size() == 3 && args[0] == "shape")
        return DrawShape(args[1], args[2]);
    std::fprintf(stderr, "usage: tesstool tga info FILE | convert IN OUT | stamp OUT | shape OUT SOURCE\n");
    return 2;
}
} // namespace

static CToolCommand s_tga("tga", "info FILE | convert IN OUT | stamp OUT | shape OUT SOURCE", &RunTgaCommand);
