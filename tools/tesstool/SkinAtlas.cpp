#include "tools/tesstool/SkinAtlas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

namespace
{
struct SColour
{
    float r, g, b, a; // 0..1, straight alpha
};

SColour Rgb(int r, int g, int b, int a = 255)
{
    return SColour{r / 255.0f, g / 255.0f, b / 255.0f, a / 255.0f};
}

const SColour CLEAR{0, 0, 0, 0};
const SColour WHITE{1, 1, 1, 1};
const SColour BLACK{0, 0, 0, 1};

SColour Mix(const SColour& a, const SColour& b, float t)
{
    return SColour{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

// The colours of a panel: its outline, the bevel line inside it, its fill, and the
// two ends of its caption bar.
struct SScheme
{
    SColour outline, bevel, fill, captionTop, captionBottom;
};

const SScheme WINDOW_SCHEMES[4] = {
    {Rgb(150, 186, 232), Rgb(64, 92, 140), Rgb(26, 40, 66, 236), Rgb(84, 128, 196), Rgb(40, 64, 110)},
    {Rgb(86, 214, 228), Rgb(30, 84, 104), Rgb(12, 22, 38, 242), Rgb(40, 150, 170), Rgb(16, 70, 90)},
    {Rgb(124, 132, 148), Rgb(46, 50, 60), Rgb(0, 0, 0, 176), Rgb(90, 96, 110), Rgb(44, 48, 58)},
    {Rgb(242, 164, 70), Rgb(112, 62, 30), Rgb(50, 24, 16, 238), Rgb(200, 120, 50), Rgb(110, 54, 22)},
};
const SScheme TOOLTIP_SCHEME{Rgb(232, 220, 150), Rgb(96, 86, 44), Rgb(38, 34, 20, 232), WHITE, WHITE};
const SScheme ALERT_SCHEME{Rgb(242, 164, 70), Rgb(112, 62, 30), Rgb(28, 20, 18), WHITE, WHITE};
const SScheme CHAT_SCHEME{Rgb(112, 222, 142), Rgb(40, 92, 60), Rgb(10, 30, 22, 238), WHITE, WHITE};

// What part of a panel a piece is.
enum EPart
{
    PART_TL, PART_TR, PART_BL, PART_BR, PART_TOP, PART_LEFT, PART_RIGHT, PART_BOTTOM,
    PART_CLOSEBOX, PART_CAPTION, PART_BACKGROUND, PART_SPEECH_BR, PART_FLASHY,
    PART_MOUSE_NORMAL, PART_MOUSE_WAIT, PART_LEFT_ARROW, PART_RIGHT_ARROW,
};

struct SPieceSpec
{
    EPart part;
    const SScheme* scheme;
    int32_t w, h;
    int32_t border; // the frame's border thickness along the part's axis, for corners the smaller one
};

// Distance inwards from a panel's outer edge at a point of a frame piece of size w x h
// (negative outside). Corners are rounded with the radius of their size.
float PanelDepth(EPart part, float x, float y, float w, float h)
{
    // Mirror every corner and edge onto the top-left ones.
    if (part == PART_TR || part == PART_BR || part == PART_RIGHT)
        x = w - x;
    if (part == PART_BL || part == PART_BR || part == PART_BOTTOM)
        y = h - y;
    switch (part)
    {
    case PART_TOP:
    case PART_BOTTOM:
        return y;
    case PART_LEFT:
    case PART_RIGHT:
        return x;
    default:
    {
        const float r = std::min(w, h);
        if (x < r && y < r)
            return r - std::hypot(r - x, r - y);
        return std::min(x, y);
    }
    }
}

SColour PanelColour(const SScheme& scheme, float depth)
{
    if (depth < 0.0f)
        return CLEAR;
    if (depth < 1.5f)
        return scheme.outline;
    if (depth < 2.5f)
        return scheme.bevel;
    return scheme.fill;
}

bool InsideTriangle(float x, float y, float ax, float ay, float bx, float by, float cx, float cy)
{
    auto side = [](float px, float py, float qx, float qy, float rx, float ry) {
        return (qx - px) * (ry - py) - (qy - py) * (rx - px);
    };
    float d1 = side(ax, ay, bx, by, x, y), d2 = side(bx, by, cx, cy, x, y), d3 = side(cx, cy, ax, ay, x, y);
    bool negative = d1 < 0 || d2 < 0 || d3 < 0;
    bool positive = d1 > 0 || d2 > 0 || d3 > 0;
    return !(negative && positive);
}

bool InsidePolygon(float x, float y, const float* points, int count)
{
    bool inside = false;
    for (int i = 0, j = count - 1; i < count; j = i++)
    {
        float xi = points[2 * i], yi = points[2 * i + 1], xj = points[2 * j], yj = points[2 * j + 1];
        if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi)
            inside = !inside;
    }
    return inside;
}

// A shape drawn filled with an outline of the given width: a point is outline when it
// lies inside but a point that far away in one of eight directions does not.
SColour OutlinedShape(const std::function<bool(float, float)>& inside, float x, float y, float width,
                      const SColour& fill, const SColour& outline)
{
    if (!inside(x, y))
        return CLEAR;
    for (int i = 0; i < 8; ++i)
    {
        float angle = float(i) * 0.785398f;
        if (!inside(x + width * std::cos(angle), y + width * std::sin(angle)))
            return outline;
    }
    return fill;
}

// The colour at a point (x, y) in pixels of a piece.
SColour PaintPoint(const SPieceSpec& spec, float x, float y)
{
    const float w = float(spec.w), h = float(spec.h);
    const SScheme& scheme = *spec.scheme;
    switch (spec.part)
    {
    case PART_BACKGROUND:
        return scheme.fill;
    case PART_CAPTION:
    {
        SColour bar = Mix(scheme.captionTop, scheme.captionBottom, y / h);
        return y > h - 1.0f ? scheme.outline : bar;
    }
    case PART_CLOSEBOX:
    {
        const float r = std::min(w, h) * 0.3f;
        float cx = std::clamp(x, r, w - r), cy = std::clamp(y, r, h - r);
        float depth = r - std::hypot(x - cx, y - cy);
        if (depth < 0.0f)
            return CLEAR;
        // A cross over the box.
        float u = (x - w / 2) / w, v = (y - h / 2) / h;
        bool cross = std::fabs(std::fabs(u) - std::fabs(v)) < 0.09f && std::fabs(u) < 0.28f;
        if (cross)
            return WHITE;
        return depth < 1.2f ? scheme.outline : scheme.captionBottom;
    }
    case PART_SPEECH_BR:
    {
        // The bottom-right corner with a tail that points down and right; left of the
        // piece the bottom edge continues, above it the right edge.
        const float bw = float(spec.border), bh = float(std::max(1, spec.border));
        auto inside = [&](float px, float py) {
            if (px < 0.0f)
                return py < bh;
            if (py < 0.0f)
                return px < bw;
            return (px < bw && py < bh) || InsideTriangle(px, py, 0.0f, bh * 0.5f, bw * 0.5f, 0.0f, w, h);
        };
        SColour c = OutlinedShape(inside, x, y, 1.5f, scheme.fill, scheme.outline);
        return c;
    }
    case PART_FLASHY:
    {
        auto inside = [&](float px, float py) {
            return InsideTriangle(px, py, w * 0.1f, h * 0.2f, w * 0.9f, h * 0.2f, w * 0.5f, h * 0.85f);
        };
        return OutlinedShape(inside, x, y, 1.0f, WHITE, Rgb(200, 200, 200));
    }
    case PART_LEFT_ARROW:
    case PART_RIGHT_ARROW:
    {
        float px = spec.part == PART_LEFT_ARROW ? x : w - x;
        return InsideTriangle(px, y, w * 0.25f, h * 0.5f, w * 0.75f, h * 0.22f, w * 0.75f, h * 0.78f) ? WHITE : CLEAR;
    }
    case PART_MOUSE_NORMAL:
    {
        static const float arrow[] = {1.0f, 1.0f, 1.0f, 14.0f, 4.5f, 10.8f, 7.2f, 15.2f,
                                      9.3f, 14.2f, 6.8f, 10.0f, 11.2f, 10.0f};
        const float sx = 16.0f / w, sy = 16.0f / h;
        auto inside = [&](float px, float py) { return InsidePolygon(px * sx, py * sy, arrow, 7); };
        return OutlinedShape(inside, x, y, 1.0f, WHITE, BLACK);
    }
    case PART_MOUSE_WAIT:
    {
        const float u = x * 16.0f / w, v = y * 16.0f / h;
        auto glass = [](float px, float py) {
            return InsideTriangle(px, py, 3.0f, 1.5f, 13.0f, 1.5f, 8.0f, 8.3f) ||
                   InsideTriangle(px, py, 3.0f, 14.5f, 13.0f, 14.5f, 8.0f, 7.7f);
        };
        SColour c = OutlinedShape(glass, u, v, 1.0f, WHITE, BLACK);
        // Sand in the lower half.
        if (c.a > 0 && c.r == 1.0f && v > 10.5f)
            return Rgb(236, 180, 80);
        return c;
    }
    default:
        return PanelColour(scheme, PanelDepth(spec.part, x, y, w, h));
    }
}

// The piece painted with 4 x 4 samples a pixel.
std::vector<SColour> PaintPiece(const SPieceSpec& spec)
{
    std::vector<SColour> out(size_t(spec.w) * size_t(spec.h));
    for (int y = 0; y < spec.h; ++y)
        for (int x = 0; x < spec.w; ++x)
        {
            float r = 0, g = 0, b = 0, a = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx)
                {
                    SColour c = PaintPoint(spec, float(x) + (float(sx) + 0.5f) / 4.0f,
                                           float(y) + (float(sy) + 0.5f) / 4.0f);
                    r += c.r * c.a;
                    g += c.g * c.a;
                    b += c.b * c.a;
                    a += c.a;
                }
            out[size_t(y) * spec.w + x] =
                a > 0.0f ? SColour{r / a, g / a, b / a, a / 16.0f} : CLEAR;
        }
    return out;
}

constexpr int MARGIN = 2; // texels copied from a piece's edge around it
constexpr int STRETCH = 4; // length of edges, captions and backgrounds, which are drawn stretched

// The pieces in the skin's order with their parts, schemes and sizes.
std::vector<SPieceSpec> ListPieces(const SGuiSkinSizes& s)
{
    std::vector<SPieceSpec> specs;
    auto frame = [&](const SScheme& scheme, int bw, int bh) {
        const int corner = std::min(bw, bh);
        specs.push_back({PART_TL, &scheme, bw, bh, corner});
        specs.push_back({PART_TR, &scheme, bw, bh, corner});
        specs.push_back({PART_BL, &scheme, bw, bh, corner});
        specs.push_back({PART_BR, &scheme, bw, bh, corner});
    };
    auto edges = [&](const SScheme& scheme, int bw, int bh) {
        specs.push_back({PART_TOP, &scheme, STRETCH, bh, bh});
        specs.push_back({PART_LEFT, &scheme, bw, STRETCH, bw});
        specs.push_back({PART_RIGHT, &scheme, bw, STRETCH, bw});
        specs.push_back({PART_BOTTOM, &scheme, STRETCH, bh, bh});
    };
    for (const SScheme& scheme : WINDOW_SCHEMES)
    {
        frame(scheme, s.windowBorderWidth, s.windowBorderHeight);
        edges(scheme, s.windowBorderWidth, s.windowBorderHeight);
        specs.push_back({PART_CLOSEBOX, &scheme, s.closeBoxWidth, s.closeBoxHeight, 0});
        specs.push_back({PART_CAPTION, &scheme, STRETCH, s.windowCaptionHeight, 0});
        specs.push_back({PART_BACKGROUND, &scheme, STRETCH, STRETCH, 0});
    }
    frame(TOOLTIP_SCHEME, s.tooltipBorderWidth, s.tooltipBorderHeight);
    specs.push_back({PART_SPEECH_BR, &TOOLTIP_SCHEME, s.tooltipSpeechBubbleWidth, s.tooltipSpeechBubbleHeight,
                     s.tooltipBorderWidth});
    edges(TOOLTIP_SCHEME, s.tooltipBorderWidth, s.tooltipBorderHeight);
    specs.push_back({PART_BACKGROUND, &TOOLTIP_SCHEME, STRETCH, STRETCH, 0});
    frame(ALERT_SCHEME, s.alertBorderWidth, s.alertBorderHeight);
    edges(ALERT_SCHEME, s.alertBorderWidth, s.alertBorderHeight);
    specs.push_back({PART_BACKGROUND, &ALERT_SCHEME, STRETCH, STRETCH, 0});
    frame(CHAT_SCHEME, s.conversationBorderWidth, s.conversationBorderHeight);
    edges(CHAT_SCHEME, s.conversationBorderWidth, s.conversationBorderHeight);
    specs.push_back({PART_BACKGROUND, &CHAT_SCHEME, STRETCH, STRETCH, 0});
    specs.push_back({PART_FLASHY, &CHAT_SCHEME, s.conversationFlashyWidth, s.conversationFlashyHeight, 0});
    specs.push_back({PART_MOUSE_NORMAL, &CHAT_SCHEME, 16, 16, 0});
    specs.push_back({PART_MOUSE_WAIT, &CHAT_SCHEME, 16, 16, 0});
    specs.push_back({PART_LEFT_ARROW, &CHAT_SCHEME, s.listButtonArrowWidth, 16, 0});
    specs.push_back({PART_RIGHT_ARROW, &CHAT_SCHEME, s.listButtonArrowWidth, 16, 0});
    return specs;
}

// Shelf packing in reading order; false when the pieces do not fit the side.
bool Place(const std::vector<SPieceSpec>& specs, int side, SGuiSkinPiece* pieces)
{
    int x = 0, y = 0, rowHeight = 0;
    for (size_t i = 0; i < specs.size(); ++i)
    {
        const int w = specs[i].w + 2 * MARGIN, h = specs[i].h + 2 * MARGIN;
        if (specs[i].w == 0 || specs[i].h == 0)
        {
            pieces[i] = SGuiSkinPiece{0, 0, 0, 0};
            continue;
        }
        if (x + w > side)
        {
            x = 0;
            y += rowHeight;
            rowHeight = 0;
        }
        if (w > side || y + h > side)
            return false;
        pieces[i] = SGuiSkinPiece{float(x + MARGIN), float(y + MARGIN), float(specs[i].w), float(specs[i].h)};
        x += w;
        rowHeight = std::max(rowHeight, h);
    }
    return true;
}

uint8_t ToByte(float v)
{
    return uint8_t(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f));
}
} // namespace

bool DrawSkinAtlas(const SGuiSkinSizes& sizes, SSkinAtlas& atlas, std::string& error)
{
    const std::vector<SPieceSpec> specs = ListPieces(sizes);
    for (const SPieceSpec& spec : specs)
        if (spec.w < 0 || spec.h < 0 || spec.w > 128 || spec.h > 128)
        {
            error = "a skin size is negative or larger than 128";
            return false;
        }
    atlas = SSkinAtlas();
    int side = 256;
    if (!Place(specs, side, atlas.pieces))
    {
        side = 512;
        if (!Place(specs, side, atlas.pieces))
        {
            error = "the pieces do not fit a 512 x 512 texture";
            return false;
        }
    }
    atlas.width = atlas.height = side;
    atlas.pixels.assign(size_t(side) * side * 4, 0);
    for (size_t i = 0; i < specs.size(); ++i)
    {
        const SPieceSpec& spec = specs[i];
        if (spec.w == 0 || spec.h == 0)
            continue;
        const std::vector<SColour> painted = PaintPiece(spec);
        const int left = int(atlas.pieces[i].x), top = int(atlas.pieces[i].y);
        for (int y = -MARGIN; y < spec.h + MARGIN; ++y)
            for (int x = -MARGIN; x < spec.w + MARGIN; ++x)
            {
                const SColour& c =
                    painted[size_t(std::clamp(y, 0, spec.h - 1)) * spec.w + size_t(std::clamp(x, 0, spec.w - 1))];
                uint8_t* p = &atlas.pixels[(size_t(top + y) * side + size_t(left + x)) * 4];
                p[0] = ToByte(c.b);
                p[1] = ToByte(c.g);
                p[2] = ToByte(c.r);
                p[3] = ToByte(c.a);
            }
    }
    return true;
}

std::string FormatSkinPieces(const SGuiSkinPiece pieces[GUI_PIECE_COUNT])
{
    std::string text;
    std::string openBlock;
    for (int i = 0; i < GUI_PIECE_COUNT; ++i)
    {
        const std::string name = GetGuiSkinPieceName(i);
        const size_t dot = name.find('.');
        const std::string block = dot == std::string::npos ? "" : name.substr(0, dot);
        if (block != openBlock)
        {
            if (!openBlock.empty())
                text += "\t}\n";
            if (!block.empty())
                text += "\t" + block + "\n\t{\n";
            openBlock = block;
        }
        char line[160];
        std::snprintf(line, sizeof(line), "%s%s\t%d, %d, %d, %d\n", block.empty() ? "\t" : "\t\t",
                      name.substr(dot == std::string::npos ? 0 : dot + 1).c_str(), int(pieces[i].x),
                      int(pieces[i].y), int(pieces[i].w), int(pieces[i].h));
        text += line;
    }
    if (!openBlock.empty())
        text += "\t}\n";
    return text;
}
