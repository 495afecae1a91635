#include "ships/ShipEffect.h"

// The live effects come from the game's effect cache. Until the cache is part of
// the game no name spawns one, and the ship flies without its effects.
class CShipEffect::CLiveEffect
{
};

bool CShipEffect::Spawn(const std::string& name, const CGameObject* /*owner*/)
{
    Release();
    if (name.empty())
        return false;
    return m_effect != nullptr;
}

void CShipEffect::Release()
{
    m_effect = nullptr;
}

void CShipEffect::Place(const CVector2D& /*position*/, float /*heading*/, const CVector2D& /*velocity*/) {}
void CShipEffect::SetPosition(const CVector2D& /*position*/) {}
void CShipEffect::Start() {}
void CShipEffect::Stop() {}
void CShipEffect::StopEmitting() {}
void CShipEffect::ResumeEmitting() {}

bool CShipEffect::IsRunning() const
{
    return false;
}

bool CShipEffect::IsEmittingStopped() const
{
    return false;
}

void CShipEffect::SetEmissionScale(float /*scale*/) {}
void CShipEffect::SetStartArea(float /*size*/) {}

float CShipEffect::GetStartExtent() const
{
    return 0.0f;
}
