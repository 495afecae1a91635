#pragma once
// The world's objects as paths carry them: riders are held by handle and looked up
// on every step, so an object that went away is simply dropped from its path. The
// world installs its implementation at start-up; until then no handle names an
// object and paths carry only sprites.

#include "core/Vector2D.h"

#include <cstdint>

class CRiderObjects
{
public:
    virtual ~CRiderObjects() = default;
    // False when no live object has the handle.
    virtual bool GetObjectPosition(int32_t handle, CVector2D& position) const = 0;
    virtual void SetObjectPosition(int32_t handle, const CVector2D& position) = 0;
    virtual void SetObjectDrawPlane(int32_t handle, int plane) = 0;
    virtual void SetObjectVisible(int32_t handle, bool visible) = 0;
};

// Null puts back the implementation that knows no objects.
void InstallRiderObjects(CRiderObjects* objects);
CRiderObjects& GetRiderObjects();
