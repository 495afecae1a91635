#include "presentation/EffectRequests.h"

namespace
{
class CNoEffects : public CEffectRequests
{
public:
    void StartEffect(const char*, int32_t, const CVector2D&, const CVector2D&) override {}
};

CNoEffects s_noEffects;
CEffectRequests* s_requests = &s_noEffects;
} // namespace

void InstallEffectRequests(CEffectRequests* requests)
{
    s_requests = requests ? requests : &s_noEffects;
}

CEffectRequests& GetEffectRequests()
{
    return *s_requests;
}
