#include "presentation/RiderObjects.h"

namespace
{
class CNoRiderObjects : public CRiderObjects
{
public:
    bool GetObjectPosition(int32_t, CVector2D&) const override { return false; }
    void SetObjectPosition(int32_t, const CVector2D&) override {}
    void SetObjectDrawPlane(int32_t, int) override {}
    void SetObjectVisible(int32_t, bool) override {}
};

CNoRiderObjects s_noObjects;
CRiderObjects* s_objects = &s_noObjects;
} // namespace

void InstallRiderObjects(CRiderObjects* objects)
{
    s_objects = objects ? objects : &s_noObjects;
}

CRiderObjects& GetRiderObjects()
{
    return *s_objects;
}
