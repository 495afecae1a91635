#include "tools/tesstool/SpriteShapes.h"

#include "tools/tesstool/FontBaker.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace
{
enum class EShape
{
    Polygon,
    Circle,
    Glow,
    Text
};

struct SShape
{
    EShape kind;
    float colour[4]; // red, green, blue, alpha, 0..1
    std::vector<float> points; // polygon: x, y pairs; circle and glow: x, y, r
    // Text: the coverage of the frame's pixels (0..255), a row after another.
    std::vector<uint8_t> coverage;
    uint32_t width = 0;
    uint32_t height = 0;
    // Polygons, circles and glows: the box they lie in (left, top, right, bottom), so
    // that a large picture of many small shapes tests each sample against few.
    float box[4] = {0, 0, 0, 0};
};

// The words' glyphs laid out from the cell's top-left corner at (x, y) into a
// coverage map of the frame; false with a reason when the font cannot be baked.
bool LayOutText(const std::string& fontFile, int pixels, float x, float y, const std::string& words,
                uint32_t width, uint32_t height, SShape& shape, std::string& error)
{
    SFontBakeOptions options;
    options.fontFile = fontFile;
    options.pixelSize = pixels;
    options.pageSide = 1024;
    for (uint32_t code = 32; code < 127; ++code)
        options.codes.push_back(code);
    SBakedFont font;
    if (fontFile.empty())
    {
        error = "a text line needs a font (--font)";
        return false;
    }
    if (!BakeFont(options, font, error))
        return false;
    shape.kind = EShape::Text;
    shape.width = width;
    shape.height = height;
    shape.coverage.assign(static_cast<size_t>(width) * height, 0);
    int penX = static_cast<int>(std::lround(x));
    const int penY = static_cast<int>(std::lround(y));
    const size_t pageSide = static_cast<size_t>(options.pageSide);
    for (unsigned char c : words)
    {
        const SBakedGlyph* glyph = nullptr;
        for (const SBakedGlyph& candidate : font.glyphs)
            if (candidate.code == c)
                glyph = &candidate;
        if (!glyph)
            continue;
        const std::vector<uint8_t>& page = font.pages[static_cast<size_t>(glyph->page)];
        for (int gy = 0; gy < glyph->height; ++gy)
            for (int gx = 0; gx < glyph->width; ++gx)
            {
                const int fx = penX + gx, fy = penY + gy;
                if (fx < 0 || fy < 0 || fx >= static_cast<int>(width) || fy >= static_cast<int>(height))
                    continue;
                const uint8_t alpha = page[((glyph->y + gy) * pageSide + glyph->x + gx) * 4 + 3];
                uint8_t& cell = shape.coverage[static_cast<size_t>(fy) * width + static_cast<size_t>(fx)];
                cell = std::max(cell, alpha);
            }
        penX += glyph->advance;
    }
    return true;
}

bool ParseColour(const std::string& text, float colour[4])
{
    if (text.size() != 8 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        return false;
    unsigned long value = std::stoul(text, nullptr, 16);
    for (int i = 0; i < 4; ++i)
        colour[i] = static_cast<float>((value >> (24 - 8 * i)) & 0xFF) / 255.0f;
    return true;
}

bool InsidePolygon(const std::vector<float>& p, float x, float y)
{
    bool inside = false;
    size_t count = p.size() / 2;
    for (size_t i = 0, j = count - 1; i < count; j = i++)
    {
        float xi = p[2 * i], yi = p[2 * i + 1], xj = p[2 * j], yj = p[2 * j + 1];
        if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi)
            inside = !inside;
    }
    return inside;
}

// A polygon (x, y pairs) or a disc (x, y, r) in the colour, with the box it lies in.
SShape MakeShape(EShape kind, const float colour[4], const std::vector<float>& points)
{
    SShape shape{kind, {colour[0], colour[1], colour[2], colour[3]}, points, {}, 0, 0};
    if (kind == EShape::Polygon)
    {
        shape.box[0] = shape.box[2] = points[0];
        shape.box[1] = shape.box[3] = points[1];
        for (size_t i = 2; i + 1 < points.size(); i += 2)
        {
            shape.box[0] = std::min(shape.box[0], points[i]);
            shape.box[2] = std::max(shape.box[2], points[i]);
            shape.box[1] = std::min(shape.box[1], points[i + 1]);
            shape.box[3] = std::max(shape.box[3], points[i + 1]);
        }
        return shape;
    }
    shape.box[0] = points[0] - points[2];
    shape.box[1] = points[1] - points[2];
    shape.box[2] = points[0] + points[2];
    shape.box[3] = points[1] + points[2];
    return shape;
}

// Coverage of one shape at a sample point, 0..1.
float Cover(const SShape& shape, float x, float y)
{
    if (shape.kind != EShape::Text && (x < shape.box[0] || y < shape.box[1] || x > shape.box[2] || y > shape.box[3]))
        return 0.0f;
    if (shape.kind == EShape::Polygon)
        return InsidePolygon(shape.points, x, y) ? 1.0f : 0.0f;
    if (shape.kind == EShape::Text)
    {
        if (x < 0.0f || y < 0.0f || x >= static_cast<float>(shape.width) || y >= static_cast<float>(shape.height))
            return 0.0f;
        return shape.coverage[static_cast<size_t>(y) * shape.width + static_cast<size_t>(x)] / 255.0f;
    }
    float dx = x - shape.points[0], dy = y - shape.points[1];
    float distance = std::sqrt(dx * dx + dy * dy) / shape.points[2];
    if (distance >= 1.0f)
        return 0.0f;
    if (shape.kind == EShape::Circle)
        return 1.0f;
    return (1.0f - distance) * (1.0f - distance);
}

std::vector<uint8_t> Rasterise(const std::vector<SShape>& shapes, uint32_t width, uint32_t height, float turn,
                               bool keepAlpha)
{
    const int kSamples = 4;
    const float cx = width * 0.5f, cy = height * 0.5f;
    const float c = std::cos(-turn), s = std::sin(-turn);
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
    for (uint32_t py = 0; py < height; ++py)
        for (uint32_t px = 0; px < width; ++px)
        {
            float sum[4] = {0, 0, 0, 0}; // premultiplied red, green, blue, alpha
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx)
                {
                    // The sample turned back into the unturned drawing.
                    float x = px + (sx + 0.5f) / kSamples - cx, y = py + (sy + 0.5f) / kSamples - cy;
                    float ux = x * c - y * s + cx, uy = x * s + y * c + cy;
                    float sample[4] = {0, 0, 0, 0};
                    for (const SShape& shape : shapes)
                    {
                        float a = shape.colour[3] * Cover(shape, ux, uy);
                        for (int k = 0; k < 3; ++k)
                            sample[k] = shape.colour[k] * a + sample[k] * (1.0f - a);
                        sample[3] = a + sample[3] * (1.0f - a);
                    }
                    for (int k = 0; k < 4; ++k)
                        sum[k] += sample[k];
                }
            uint8_t* out = &pixels[(static_cast<size_t>(py) * width + px) * 4];
            float alpha = sum[3] / (kSamples * kSamples);
            for (int k = 0; k < 3; ++k)
            {
                float value = sum[k] / (kSamples * kSamples);
                if (keepAlpha)
                    value = alpha > 0.0f ? value / alpha : 0.0f;
                out[2 - k] = static_cast<uint8_t>(std::lround(std::min(1.0f, value) * 255.0f));
            }
            out[3] = keepAlpha ? static_cast<uint8_t>(std::lround(alpha * 255.0f)) : 255;
        }
    return pixels;
}
} // namespace

bool DrawShapeSource(const std::string& text, bool keepAlpha, SShapeFrames& out, std::string& error,
                     const std::string& fontFile)
{
    out = SShapeFrames();
    std::vector<std::vector<SShape>> frames(1);
    float colour[4] = {1, 1, 1, 1};
    uint32_t turns = 1;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number)
    {
        line = line.substr(0, line.find('#'));
        std::istringstream words(line);
        std::string keyword;
        if (!(words >> keyword))
            continue;
        const std::string where = "line " + std::to_string(number) + ": ";
        if (keyword == "text")
        {
            float x = 0, y = 0, pixels = 0;
            std::string rest;
            if (!(words >> x >> y >> pixels) || pixels < 4 || pixels > 200 || out.width == 0 ||
                !std::getline(words >> std::ws, rest) || rest.empty())
            {
                error = where + "cannot read '" + line + "' (text X Y PIXELS WORDS, after the size)";
                return false;
            }
            SShape shape{EShape::Text, {colour[0], colour[1], colour[2], colour[3]}, {}, {}, 0, 0};
            if (!LayOutText(fontFile, static_cast<int>(pixels), x, y, rest, out.width, out.height, shape, error))
            {
                error = where + error;
                return false;
            }
            frames.back().push_back(std::move(shape));
            continue;
        }
        std::vector<float> numbers;
        std::string word;
        bool fine = true;
        while (fine && words >> word)
        {
            if (keyword == "colour")
            {
                fine = ParseColour(word, colour);
                continue;
            }
            char* end = nullptr;
            numbers.push_back(std::strtof(word.c_str(), &end));
            fine = end && *end == '\0' && std::isfinite(numbers.back());
        }
        if (!fine)
        {
            error = where + "bad value '" + word + "'";
            return false;
        }
        if (keyword == "size" && numbers.size() == 2 && numbers[0] >= 1 && numbers[1] >= 1 && numbers[0] <= 1024 &&
            numbers[1] <= 1024)
        {
            out.width = static_cast<uint32_t>(numbers[0]);
            out.height = static_cast<uint32_t>(numbers[1]);
        }
        else if (keyword == "turns" && numbers.size() == 1 && numbers[0] >= 1 && numbers[0] <= 360)
            turns = static_cast<uint32_t>(numbers[0]);
        else if (keyword == "frame" && numbers.empty())
            frames.emplace_back();
        else if (keyword == "colour")
            continue;
        else if (keyword == "polygon" && numbers.size() >= 6 && numbers.size() % 2 == 0)
            frames.back().push_back(MakeShape(EShape::Polygon, colour, numbers));
        else if ((keyword == "circle" || keyword == "glow") && numbers.size() == 3 && numbers[2] > 0)
            frames.back().push_back(MakeShape(keyword == "circle" ? EShape::Circle : EShape::Glow, colour, numbers));
        else
        {
            error = where + "cannot read '" + line + "'";
            return false;
        }
    }
    if (out.width == 0)
    {
        error = "no size given";
        return false;
    }
    for (const std::vector<SShape>& shapes : frames)
        for (uint32_t t = 0; t < turns; ++t)
            out.frames.push_back(Rasterise(shapes, out.width, out.height,
                                           static_cast<float>(2.0 * M_PI * t / turns), keepAlpha));
    return true;
}
