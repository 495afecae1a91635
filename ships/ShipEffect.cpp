#include "ships/ShipEffect.h"

#include "world/EffectCache.h"
#include "world/Game.h"

bool CShipEffect::Spawn(const std::string& name, const CGameObject* owner)
{
    Release();
    CGame* game = GetGame();
    if (name.empty() || !game)
        return false;
    m_effect.Set(game->GetEffectCache().SpawnEffect(name.c_str(), SEffectOwner::Of(owner), false));
    return IsValid();
}

void CShipEffect::Release()
{
    if (CEffect* effect = Get())
        effect->Release();
    m_effect.Clear();
}

void CShipEffect::Place(const CVector2D& position, float heading, const CVector2D& velocity)
{
    if (CEffect* effect = Get())
    {
        effect->SetPosition(position);
        effect->SetHeading(heading);
        effect->SetVelocity(velocity);
    }
}

void CShipEffect::SetPosition(const CVector2D& position)
{
    if (CEffect* effect = Get())
        effect->SetPosition(position);
}

void CShipEffect::Start()
{
    if (CEffect* effect = Get())
        effect->Start();
}

void CShipEffect::Stop()
{
    if (CEffect* effect = Get())
        effect->Stop();
}

void CShipEffect::StopEmitting()
{
    if (CEffect* effect = Get())
        effect->StopEmitting();
}

void CShipEffect::ResumeEmitting()
{
    if (CEffect* effect = Get())
        effect->ResumeEmitting();
}

bool CShipEffect::IsRunning() const
{
    const CEffect* effect = Get();
    return effect && effect->IsRunning();
}

bool CShipEffect::IsEmittingStopped() const
{
    const CEffect* effect = Get();
    return effect && effect->IsEmittingStopped();
}

void CShipEffect::SetEmissionScale(float scale)
{
    if (CEffect* effect = Get())
        effect->SetEmissionScale(scale);
}

void CShipEffect::SetStartArea(float size)
{
    if (CEffect* effect = Get())
        effect->SetStartArea(size);
}

float CShipEffect::GetStartExtent() const
{
    const CEffect* effect = Get();
    return effect ? effect->GetStartExtent() : 0.0f;
}
