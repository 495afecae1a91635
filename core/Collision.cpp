#include "core/Collision.h"

#include "core/FastMath.h"

#include <cmath>

namespace
{
struct SClipPolygon
{
    // A quad clipped by four edges has at most eight corners; room to spare.
    CVector2D points[16];
    int count = 0;

    void Add(const CVector2D& p)
    {
        if (count < 16)
            points[count++] = p;
    }
};

// Keeps the part of the polygon on the inner side (signed distance <= 0) of one edge.
SClipPolygon ClipByEdge(const SClipPolygon& in, const CVector2D& edgePoint, const CVector2D& edgeNormal)
{
    SClipPolygon out;
    for (int i = 0; i < in.count; ++i)
    {
        const CVector2D& point = in.points[i];
        const CVector2D& previous = in.points[(i + in.count - 1) % in.count];
        float s = (point - edgePoint).Dot(edgeNormal);
        float sPrevious = (previous - edgePoint).Dot(edgeNormal);
        if (s <= 0.0f && sPrevious <= 0.0f)
            out.Add(point);
        else if (sPrevious <= 0.0f)
            out.Add(previous + (point - previous) * (-sPrevious / (s - sPrevious)));
        else if (s <= 0.0f)
        {
            out.Add(previous + (point - previous) * (-sPrevious / (s - sPrevious)));
            out.Add(point);
        }
    }
    return out;
}

// Where one interval of an axis test reaches into the other.
struct SAxisOverlap
{
    bool touching;
    float sign;
    float penetration;
};

SAxisOverlap OverlapOnAxis(float centre, float radius, float half)
{
    float circleMin = centre - radius;
    float circleMax = centre + radius;
    if (half < circleMin || circleMax < -half)
        return {false, 0.0f, 0.0f};
    bool circleInsideBox = circleMin >= -half && circleMax <= half;
    bool boxInsideCircle = -half >= circleMin && half <= circleMax;
    if (circleInsideBox || boxInsideCircle)
        return {true, 0.0f, 1e9f};
    if (-half > circleMin && -half < circleMax)
        return {true, -1.0f, circleMax - (-half)};
    return {true, 1.0f, half - circleMin};
}
} // namespace

bool CollideCircles(const CVector2D& centreA, float radiusA, const CVector2D& centreB, float radiusB,
                    CVector2D& normal, CVector2D& point)
{
    CVector2D d = centreA - centreB;
    // Compared squared, so circles that just touch are in contact whatever the
    // rounding of the square root.
    float reach = radiusA + radiusB;
    if (d.Dot(d) > reach * reach)
        return false;
    float distance = d.Length();
    if (distance > 1e-6f)
    {
        normal = d * (1.0f / distance);
        point = centreA + normal * (-0.5f * (radiusA - radiusB + distance));
    }
    else
    {
        normal = CVector2D(1.0f, 0.0f);
        point = centreA;
    }
    return true;
}

bool CollideCircleLocalBox(const CVector2D& circle, float radius, float halfWidth, float halfHeight,
                           CVector2D& normal)
{
    // The axis from the circle towards the box centre.
    CVector2D axis = CVector2D(0.0f, 0.0f) - circle;
    axis.Normalise();
    float circleOnAxis = axis.Dot(circle);
    float boxReach = std::fabs(axis.x) * halfWidth + std::fabs(axis.y) * halfHeight;
    if (boxReach < circleOnAxis - radius || circleOnAxis + radius < -boxReach)
        return false;

    SAxisOverlap x = OverlapOnAxis(circle.x, radius, halfWidth);
    if (!x.touching)
        return false;
    SAxisOverlap y = OverlapOnAxis(circle.y, radius, halfHeight);
    if (!y.touching)
        return false;

    if (x.sign == 0.0f && y.sign == 0.0f)
    {
        // Contained on both axes: both penetrations are equal and would give a zero
        // normal that cannot separate anything, so push out through the nearer side.
        float roomX = halfWidth - std::fabs(circle.x);
        float roomY = halfHeight - std::fabs(circle.y);
        if (roomX <= roomY)
            normal = CVector2D(circle.x < 0.0f ? -1.0f : 1.0f, 0.0f);
        else
            normal = CVector2D(0.0f, circle.y < 0.0f ? -1.0f : 1.0f);
    }
    else if (std::fabs(x.penetration - y.penetration) < 1e-6f)
    {
        normal = CVector2D(x.sign, y.sign);
        normal.Normalise();
    }
    else if (x.penetration < y.penetration)
        normal = CVector2D(x.sign, 0.0f);
    else
        normal = CVector2D(0.0f, y.sign);
    return true;
}

bool CollideCircleBox(const CVector2D& circle, float radius, const CVector2D& boxCentre, float boxAngle,
                      float halfWidth, float halfHeight, CVector2D& normal, CVector2D& point)
{
    float c = std::cos(boxAngle);
    float s = std::sin(boxAngle);
    CVector2D d = circle - boxCentre;
    CVector2D local(c * d.x + s * d.y, c * d.y - s * d.x);
    CVector2D localNormal;
    if (!CollideCircleLocalBox(local, radius, halfWidth, halfHeight, localNormal))
        return false;
    normal = CVector2D(c * localNormal.x - s * localNormal.y, s * localNormal.x + c * localNormal.y);
    point = circle - normal * radius;
    return true;
}

bool CollideBoxes(const CVector2D& centreA, float angleA, float halfWidthA, float halfHeightA,
                  const CVector2D& centreB, float angleB, float halfWidthB, float halfHeightB,
                  CVector2D& point)
{
    CVector2D axisXA(std::cos(angleA), std::sin(angleA));
    CVector2D axisYA(-axisXA.y, axisXA.x);
    CVector2D spanX = axisXA * halfWidthA;
    CVector2D spanY = axisYA * halfHeightA;
    SClipPolygon polygon;
    polygon.Add(centreA + spanX + spanY);
    polygon.Add(centreA - spanX + spanY);
    polygon.Add(centreA - spanX - spanY);
    polygon.Add(centreA + spanX - spanY);

    CVector2D axisXB(std::cos(angleB), std::sin(angleB));
    CVector2D axisYB(-axisXB.y, axisXB.x);
    const CVector2D edgeNormals[4] = {axisXB, axisXB * -1.0f, axisYB, axisYB * -1.0f};
    const float reach[4] = {halfWidthB, halfWidthB, halfHeightB, halfHeightB};
    for (int edge = 0; edge < 4; ++edge)
    {
        polygon = ClipByEdge(polygon, centreB + edgeNormals[edge] * reach[edge], edgeNormals[edge]);
        if (polygon.count == 0)
            return false;
    }
    CVector2D sum;
    for (int i = 0; i < polygon.count; ++i)
        sum += polygon.points[i];
    point = sum * (1.0f / static_cast<float>(polygon.count));
    return true;
}
