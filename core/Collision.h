#pragma once
// Contact tests between circles and rotated boxes, used by the collision shapes.
// Box angles are radians; half sizes are along the box's own axes.

#include "core/Vector2D.h"

// Normal from B towards A; the point is the middle of the overlap on the centre
// line. Coincident centres give the normal (1, 0) and the point A.
bool CollideCircles(const CVector2D& centreA, float radiusA, const CVector2D& centreB, float radiusB,
                    CVector2D& normal, CVector2D& point);

// Normal from the box towards the circle in world space; the point is on the
// circle's rim along the normal.
bool CollideCircleBox(const CVector2D& circle, float radius, const CVector2D& boxCentre, float boxAngle,
                      float halfWidth, float halfHeight, CVector2D& normal, CVector2D& point);

// Box A's corners clipped by box B's edges; the point is the mean of what is left.
bool CollideBoxes(const CVector2D& centreA, float angleA, float halfWidthA, float halfHeightA,
                  const CVector2D& centreB, float angleB, float halfWidthB, float halfHeightB,
                  CVector2D& point);

// The circle-box test in the box's frame: box [-w, w] x [-h, h] at the origin.
bool CollideCircleLocalBox(const CVector2D& circle, float radius, float halfWidth, float halfHeight,
                           CVector2D& normal);
