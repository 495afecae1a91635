// Triangle and line rasterisation: exact edge functions on a 1/256-pixel grid, pixel centres
// on whole coordinates, the top-left rule for pixels on an edge, and fixed-point attribute
// steps along each span. Every row's span start is computed from the triangle's planes, never
// carried from the previous row, so a row's pixels do not depend on which rows were drawn
// before it (the band split between threads cannot change a pixel).

#include "platform/d3d8/SoftRasterizer.h"
#include "platform/d3d8/SoftSpan.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr double kSubPixel = 256.0;
constexpr double kMaxCoordinate = 524288.0;  // 2^19 pixels: keeps edge products in 64 bits

int64_t FloorDiv(int64_t a, int64_t b)  // b > 0
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

int64_t CeilDiv(int64_t a, int64_t b)  // b > 0
{
    return -FloorDiv(-a, b);
}

// Rounds to nearest, halves up; inlined in place of a library floor. Results are kept within
// +-2^48 so that the steps of a degenerate sliver (huge slopes) cannot overflow along a span.
int64_t ToFixed(double value, double scale)
{
    constexpr double kLimit = 281474976710656.0;  // 2^48
    double scaled = value * scale + 0.5;
    if (!(scaled < kLimit))
        scaled = kLimit;
    else if (!(scaled > -kLimit))
        scaled = -kLimit;
    const int64_t truncated = static_cast<int64_t>(scaled);
    return truncated > scaled ? truncated - 1 : truncated;
}

bool IsUsable(const SRasterVertex& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z) && std::isfinite(v.u) &&
           std::isfinite(v.v) && std::fabs(v.x) < kMaxCoordinate &&
           std::fabs(v.y) < kMaxCoordinate;
}

double ClampDepth(float z)
{
    return z < 0.0f ? 0.0 : (z > 1.0f ? 1.0 : static_cast<double>(z));
}

// True when the row belongs to the band this call draws.
bool OwnsRow(const SRasterBands& bands, int y)
{
    return bands.count == 1 || ((y >> kBandShift) % bands.count) == bands.index;
}

// A value that varies linearly over the triangle: base at the first vertex, steps per pixel.
struct SPlane
{
    double base = 0.0;
    double ddx = 0.0;
    double ddy = 0.0;

    double At(double dx, double dy) const { return base + ddx * dx + ddy * dy; }
};

struct SEdge
{
    int64_t a = 0;  // E(P) = a * Px + b * Py + c, on the sub-pixel grid; inside is E >= bias
    int64_t b = 0;
    int64_t c = 0;
    int64_t bias = 0;
};

void SetupEdge(SEdge& edge, int64_t xa, int64_t ya, int64_t xb, int64_t yb)
{
    edge.a = -(yb - ya);
    edge.b = xb - xa;
    edge.c = -edge.a * xa - edge.b * ya;
    // Pixels exactly on a left edge (inside to the right) or a top edge (horizontal, inside
    // below) belong to this triangle; on any other edge they belong to the neighbour.
    const bool topLeft = edge.a > 0 || (edge.a == 0 && edge.b > 0);
    edge.bias = topLeft ? 0 : 1;
}

// Walks one edge down the rows: q = floor(M / d) with M = E(0, py) - bias on the sub-pixel
// grid and d = 256 |a|, kept exactly by a quotient and remainder stepped per row instead of
// a division per row. Pixels px inside satisfy px >= -q (a > 0) or px <= q (a < 0).
struct SEdgeWalk
{
    int64_t q = 0;
    int64_t r = 0;
    int64_t d = 1;
    int64_t stepQ = 0;
    int64_t stepR = 0;
    int sign = 0;        // sign of a; 0: horizontal edge
    bool inside = true;  // horizontal edges: the current row is inside

    void Start(const SEdge& edge, int64_t py)
    {
        const int64_t m = edge.b * py * 256 + edge.c - edge.bias;
        if (edge.a == 0)
        {
            // q carries M itself, r its step.
            sign = 0;
            q = m;
            stepR = edge.b * 256;
            inside = m >= 0;
            return;
        }
        sign = edge.a > 0 ? 1 : -1;
        d = (edge.a > 0 ? edge.a : -edge.a) * 256;
        q = FloorDiv(m, d);
        r = m - q * d;
        const int64_t delta = edge.b * 256;
        stepQ = FloorDiv(delta, d);
        stepR = delta - stepQ * d;
    }

    void Next()
    {
        if (sign == 0)
        {
            q += stepR;
            inside = q >= 0;
            return;
        }
        q += stepQ;
        r += stepR;
        if (r >= d)
        {
            r -= d;
            ++q;
        }
    }

    void Clip(int64_t& left, int64_t& right) const
    {
        if (sign > 0)
            left = std::max(left, -q);
        else if (sign < 0)
            right = std::min(right, q);
        else if (!inside)
            right = left - 1;
    }
};

// True when any row in [first, last] belongs to the band this call draws.
bool TouchesBands(const SRasterBands& bands, int64_t first, int64_t last)
{
    if (bands.count == 1)
        return true;
    const int64_t firstBand = first >> kBandShift;
    const int64_t lastBand = last >> kBandShift;
    if (lastBand - firstBand + 1 >= bands.count)
        return true;
    for (int64_t band = firstBand; band <= lastBand; ++band)
    {
        if (band % bands.count == bands.index)
            return true;
    }
    return false;
}

SPlane MakePlane(double a0, double a1, double a2, double dx1, double dy1, double dx2, double dy2,
                 double area)
{
    SPlane plane;
    plane.base = a0;
    plane.ddx = ((a1 - a0) * dy2 - (a2 - a0) * dy1) / area;
    plane.ddy = ((a2 - a0) * dx1 - (a1 - a0) * dx2) / area;
    return plane;
}

double Channel(uint32_t colour, int shift)
{
    return static_cast<double>((colour >> shift) & 0xFF);
}

// Rows are handed to the span loop in batches, which pays its set-up once for them.
constexpr int kRowBatch = 32;

// rows: room for kRowBatch spans, made once by the caller for all its triangles.
void DrawTriangle(const SRasterTarget& target, const SRasterState& state, const SSpanContext& context, SSpan* rows,
                  const SRasterVertex* in, const SRasterBands& bands)
{
    const SRasterVertex* v[3] = {&in[0], &in[1], &in[2]};
    if (bands.count > 1)
    {
        // Cheap early rejection for triangles that miss this call's bands (NaN passes
        // through here and is refused below).
        const float top = std::min({in[0].y, in[1].y, in[2].y});
        const float bottom = std::max({in[0].y, in[1].y, in[2].y});
        if (top > -kMaxCoordinate && bottom < kMaxCoordinate &&
            !TouchesBands(bands, static_cast<int64_t>(std::floor(top)), static_cast<int64_t>(std::ceil(bottom))))
            return;
    }
    if (!IsUsable(*v[0]) || !IsUsable(*v[1]) || !IsUsable(*v[2]))
        return;

    int64_t x[3];
    int64_t y[3];
    for (int i = 0; i < 3; ++i)
    {
        x[i] = ToFixed(v[i]->x, kSubPixel);
        y[i] = ToFixed(v[i]->y, kSubPixel);
    }
    int64_t area = (x[1] - x[0]) * (y[2] - y[0]) - (y[1] - y[0]) * (x[2] - x[0]);
    if (area == 0)
        return;
    if (area < 0)
    {
        std::swap(v[1], v[2]);
        std::swap(x[1], x[2]);
        std::swap(y[1], y[2]);
        area = -area;
    }

    // Rows whose pixel centres lie within the triangle's height, clipped.
    const int64_t minY = std::min({y[0], y[1], y[2]});
    const int64_t maxY = std::max({y[0], y[1], y[2]});
    const int64_t minX = std::min({x[0], x[1], x[2]});
    const int64_t maxX = std::max({x[0], x[1], x[2]});
    const int64_t rowFirst = std::max<int64_t>(CeilDiv(minY, 256), target.clipY0);
    const int64_t rowLast = std::min<int64_t>(FloorDiv(maxY, 256), target.clipY1 - 1);
    const int64_t colFirst = std::max<int64_t>(CeilDiv(minX, 256), target.clipX0);
    const int64_t colLast = std::min<int64_t>(FloorDiv(maxX, 256), target.clipX1 - 1);
    if (rowFirst > rowLast || colFirst > colLast || !TouchesBands(bands, rowFirst, rowLast))
        return;

    SEdge edges[3];
    SetupEdge(edges[0], x[0], y[0], x[1], y[1]);
    SetupEdge(edges[1], x[1], y[1], x[2], y[2]);
    SetupEdge(edges[2], x[2], y[2], x[0], y[0]);

    // Attribute planes over the snapped positions, in pixels.
    const double x0 = static_cast<double>(x[0]) / kSubPixel;
    const double y0 = static_cast<double>(y[0]) / kSubPixel;
    const double dx1 = static_cast<double>(x[1] - x[0]) / kSubPixel;
    const double dy1 = static_cast<double>(y[1] - y[0]) / kSubPixel;
    const double dx2 = static_cast<double>(x[2] - x[0]) / kSubPixel;
    const double dy2 = static_cast<double>(y[2] - y[0]) / kSubPixel;
    const double area2 = dx1 * dy2 - dx2 * dy1;

    SPlane colour[4];
    for (int c = 0; c < 4; ++c)
    {
        const int shift = 24 - 8 * c;  // a, r, g, b
        colour[c] = MakePlane(Channel(v[0]->colour, shift), Channel(v[1]->colour, shift),
                              Channel(v[2]->colour, shift), dx1, dy1, dx2, dy2, area2);
    }
    const double texW = static_cast<double>(context.sampler.width);
    const double texH = static_cast<double>(context.sampler.height);
    double u0 = v[0]->u;
    double u1 = v[1]->u;
    double u2 = v[2]->u;
    double w0 = v[0]->v;
    double w1 = v[1]->v;
    double w2 = v[2]->v;
    // Whole turns of a wrapped coordinate change nothing; removing them keeps the fixed-point
    // texel positions small.
    if (state.wrapU)
    {
        const double turns = std::floor(std::min({u0, u1, u2}));
        u0 -= turns;
        u1 -= turns;
        u2 -= turns;
    }
    if (state.wrapV)
    {
        const double turns = std::floor(std::min({w0, w1, w2}));
        w0 -= turns;
        w1 -= turns;
        w2 -= turns;
    }
    const SPlane planeS = MakePlane(u0 * texW, u1 * texW, u2 * texW, dx1, dy1, dx2, dy2, area2);
    const SPlane planeT = MakePlane(w0 * texH, w1 * texH, w2 * texH, dx1, dy1, dx2, dy2, area2);
    const SPlane planeZ = MakePlane(ClampDepth(v[0]->z), ClampDepth(v[1]->z), ClampDepth(v[2]->z),
                                    dx1, dy1, dx2, dy2, area2);

    // Minification when one pixel covers more than one texel.
    const double footprint = std::fabs(planeS.ddx * planeT.ddy - planeS.ddy * planeT.ddx);
    const bool linear = footprint > 1.0 ? state.minLinear : state.magLinear;

    SSpan span;
    bool flatColour = true;
    int32_t flat[4];
    for (int c = 0; c < 4; ++c)
    {
        span.colourStep[c] = static_cast<int32_t>(ToFixed(colour[c].ddx, 65536.0));
        flatColour = flatColour && colour[c].ddx == 0.0 && colour[c].ddy == 0.0;
        flat[c] = static_cast<int32_t>(ToFixed(colour[c].base, 65536.0));
    }
    const bool flatDepth = planeZ.ddx == 0.0 && planeZ.ddy == 0.0;
    // Colour values inside the triangle stay within 0..255 (and a little rounding), so steps
    // small against 2^29 over the widest span keep every span's colours in 32 bits.
    span.colourChecked = true;
    for (int c = 0; c < 4; ++c)
    {
        const int64_t step = span.colourStep[c] < 0 ? -int64_t{span.colourStep[c]} : span.colourStep[c];
        span.gouraud = span.gouraud || step != 0;
        span.colourChecked = span.colourChecked && step * (colLast - colFirst + 1) < (int64_t{1} << 29);
    }
    const int64_t flatZ = ToFixed(planeZ.base, kDepthOne);
    span.sStep = ToFixed(planeS.ddx, 65536.0);
    span.tStep = ToFixed(planeT.ddx, 65536.0);
    span.zStep = ToFixed(planeZ.ddx, kDepthOne);

    if (flatColour)
    {
        for (int c = 0; c < 4; ++c)
            span.colour[c] = flat[c];
    }
    span.z = flatZ;
    int batched = 0;

    SEdgeWalk walks[3];
    for (int e = 0; e < 3; ++e)
        walks[e].Start(edges[e], rowFirst);
    for (int64_t py = rowFirst; py <= rowLast; ++py)
    {
        if (py != rowFirst)
        {
            for (SEdgeWalk& walk : walks)
                walk.Next();
        }
        if (!OwnsRow(bands, static_cast<int>(py)))
            continue;
        int64_t left = colFirst;
        int64_t right = colLast;
        for (const SEdgeWalk& walk : walks)
            walk.Clip(left, right);
        if (left > right)
            continue;

        const double dx = static_cast<double>(left) - x0;
        const double dy = static_cast<double>(py) - y0;
        // A plane without slope has its base everywhere; skipping its evaluation changes no value.
        if (!flatColour)
        {
            for (int c = 0; c < 4; ++c)
                span.colour[c] = static_cast<int32_t>(ToFixed(colour[c].At(dx, dy), 65536.0));
        }
        span.s = ToFixed(planeS.At(dx, dy), 65536.0);
        span.t = ToFixed(planeT.At(dx, dy), 65536.0);
        if (!flatDepth)
            span.z = ToFixed(planeZ.At(dx, dy), kDepthOne);
        span.count = static_cast<int>(right - left + 1);
        const size_t offset = static_cast<size_t>(py) * static_cast<size_t>(target.width) +
                              static_cast<size_t>(left);
        span.colourOut = target.colour + offset;
        span.depthOut = target.depth != nullptr ? target.depth + offset : nullptr;
        rows[batched++] = span;
        if (batched == kRowBatch)
        {
            DrawSpans(context, linear, rows, batched);
            batched = 0;
        }
    }
    if (batched > 0)
        DrawSpans(context, linear, rows, batched);
}

void DrawLine(const SRasterTarget& target, const SSpanContext& context, const SRasterVertex& a,
              const SRasterVertex& b, const SRasterBands& bands)
{
    if (!IsUsable(a) || !IsUsable(b))
        return;
    const double dx = static_cast<double>(b.x) - a.x;
    const double dy = static_cast<double>(b.y) - a.y;
    if (dx == 0.0 && dy == 0.0)
        return;
    const bool xMajor = std::fabs(dx) >= std::fabs(dy);
    const double start = xMajor ? a.x : a.y;
    const double end = xMajor ? b.x : b.y;
    const double length = end - start;
    // Pixel centres from the start up to, but not including, the end.
    int64_t first;
    int64_t last;
    int64_t step;
    if (length > 0)
    {
        first = static_cast<int64_t>(std::ceil(start));
        last = static_cast<int64_t>(std::ceil(end)) - 1;
        step = 1;
    }
    else
    {
        first = static_cast<int64_t>(std::floor(start));
        last = static_cast<int64_t>(std::floor(end)) + 1;
        step = -1;
    }
    const double minorStart = xMajor ? a.y : a.x;
    const double minorDelta = xMajor ? dy : dx;

    SSpan span;
    span.count = 1;
    for (int64_t major = first; step > 0 ? major <= last : major >= last; major += step)
    {
        const double t = (static_cast<double>(major) - start) / length;
        const int64_t minor = static_cast<int64_t>(std::floor(minorStart + t * minorDelta + 0.5));
        const int64_t px = xMajor ? major : minor;
        const int64_t py = xMajor ? minor : major;
        if (px < target.clipX0 || px >= target.clipX1 || py < target.clipY0 ||
            py >= target.clipY1 || !OwnsRow(bands, static_cast<int>(py)))
            continue;
        for (int c = 0; c < 4; ++c)
        {
            const int shift = 24 - 8 * c;
            const double ca = Channel(a.colour, shift);
            span.colour[c] =
                static_cast<int32_t>(ToFixed(ca + t * (Channel(b.colour, shift) - ca), 65536.0));
        }
        const double texW = static_cast<double>(context.sampler.width);
        const double texH = static_cast<double>(context.sampler.height);
        span.s = ToFixed((a.u + t * (static_cast<double>(b.u) - a.u)) * texW, 65536.0);
        span.t = ToFixed((a.v + t * (static_cast<double>(b.v) - a.v)) * texH, 65536.0);
        const double za = ClampDepth(a.z);
        span.z = ToFixed(za + t * (ClampDepth(b.z) - za), kDepthOne);
        const size_t offset = static_cast<size_t>(py) * static_cast<size_t>(target.width) +
                              static_cast<size_t>(px);
        span.colourOut = target.colour + offset;
        span.depthOut = target.depth != nullptr ? target.depth + offset : nullptr;
        DrawSpan(context, context.state->magLinear, span);
    }
}
}  // namespace

uint32_t QuantizeSoftDepth(float z, uint32_t depthBits)
{
    return QuantizeDepthFixed(ToFixed(ClampDepth(z), kDepthOne), depthBits);
}

void RasterizeTriangles(const SRasterTarget& target, const SRasterState& state,
                        const SRasterVertex* vertices, size_t count, const SRasterBands& bands,
                        const uint32_t* which)
{
    const SSpanContext context = MakeSpanContext(target, state);
    SSpan rows[kRowBatch];
    for (size_t i = 0; i < count; ++i)
        DrawTriangle(target, state, context, rows, vertices + (which != nullptr ? which[i] : i) * 3, bands);
}

void RasterizeLines(const SRasterTarget& target, const SRasterState& state,
                    const SRasterVertex* vertices, size_t count, const SRasterBands& bands,
                    const uint32_t* which)
{
    const SSpanContext context = MakeSpanContext(target, state);
    for (size_t i = 0; i < count; ++i)
    {
        const size_t first = (which != nullptr ? which[i] : i) * 2;
        DrawLine(target, context, vertices[first], vertices[first + 1], bands);
    }
}
