// The station's answers to the game flow and the in-game menu, and to the player
// ship's call; objects that only stand in for a station get the base answers.

#include "ships/Station.h"
#include "ships/StationFlow.h"
#include "ships/StationFlowLink.h"
#include "ships/StationLink.h"

namespace
{
class CStationFlow : public CStationFlowLink
{
public:
    bool HoldsPlayerShip(const CGameObject& station) const override
    {
        const CStation* real = dynamic_cast<const CStation*>(&station);
        return real && real->HoldsPlayerShip();
    }
    void BeginLaunch(CGameObject& station) override
    {
        if (CStation* real = dynamic_cast<CStation*>(&station))
            real->BeginLaunch();
    }
    bool HasAttention(const CGameObject& station) const override
    {
        const CStation* real = dynamic_cast<const CStation*>(&station);
        return real && real->HasAttention();
    }
    int32_t GetFullHull(const CGameObject& station) const override
    {
        const CStation* real = dynamic_cast<const CStation*>(&station);
        return real ? real->GetFullHealth() : CStationFlowLink::GetFullHull(station);
    }
    void SetHull(CGameObject& station, int32_t hull) const override
    {
        if (CStation* real = dynamic_cast<CStation*>(&station))
            real->SetHealth(hull);
        else
            CStationFlowLink::SetHull(station, hull);
    }
    bool LaunchStrike(CGameObject& station, int32_t target) override
    {
        CStation* real = dynamic_cast<CStation*>(&station);
        return real && real->LaunchStrike(target);
    }
};

CStationFlow s_flow;

void RaiseAlertOf(CGameObject& station, const CVector2D& position)
{
    if (CStation* real = dynamic_cast<CStation*>(&station))
        real->RaiseAlert(position);
}
} // namespace

void InstallStationLinks()
{
    SetStationFlowLink(&s_flow);
    SetStationAlert(&RaiseAlertOf);
}
