#include "frontend/Hud.h"

#include "core/DataFile.h"
#include "core/DefinitionProblems.h"
#include "world/DirectorLink.h"
#include "world/Game.h"
#include "world/GameFlowLink.h"

namespace
{
// Gauges 4 to 7 are the station's.
bool IsStationGauge(int gauge)
{
    return gauge >= HUD_GAUGE_STATION_HEALTH && gauge <= HUD_GAUGE_STATION_VERY_RARE_GEMS;
}

bool IsStationGaugeGateOpen()
{
    const CGame* game = GetGame();
    return !game || game->GetDirector().IsGateOpen(GATE_STATION_GAUGES);
}
} // namespace

bool CHud::Load(const char* path)
{
    CDataNodeList nodes;
    if (!LoadDataFileNodes(path, nodes))
        return false;
    Load(nodes);
    return true;
}

void CHud::Load(const CDataNodeList& nodes)
{
    SHudFileDesc desc;
    CDefinitionProblems problems;
    ReadHudFile(nodes, desc, problems);
    for (int gauge = 0; gauge < HUD_GAUGE_COUNT; ++gauge)
        if (desc.hasGauge[gauge])
            m_gauges[gauge].Load(desc.gauges[gauge]);
    if (desc.hasRadar)
        m_radar.Load(desc.radar);
    if (desc.hasStationIcons)
        m_icons.Load(desc.stationIcons);
}

CHudBar& CHud::GetGauge(int gauge)
{
    return m_gauges[gauge >= 0 && gauge < HUD_GAUGE_COUNT ? gauge : 0];
}

const CHudBar& CHud::GetGauge(int gauge) const
{
    return m_gauges[gauge >= 0 && gauge < HUD_GAUGE_COUNT ? gauge : 0];
}

void CHud::SetVisible(bool visible)
{
    m_visible = visible;
    m_radar.SetVisible(visible);
    if (!visible)
    {
        m_icons.Hide(-1);
        for (CHudBar& gauge : m_gauges)
            gauge.Hide();
        return;
    }
    m_icons.Show(-1);
    for (CHudBar& gauge : m_gauges)
        gauge.Show();
    if (IsStationGaugeGateOpen())
        return;
    for (int gauge = 0; gauge < HUD_GAUGE_COUNT; ++gauge)
        if (IsStationGauge(gauge))
            m_gauges[gauge].Hide();
    m_icons.Hide(-1);
}

void CHud::Update()
{
    m_radar.Update();
    for (CHudBar& gauge : m_gauges)
        gauge.Update();
    m_icons.Update();
    bool anyAlert = false;
    for (int icon = HUD_ICON_STATION_ALERT; icon <= HUD_ICON_STATION_EDGE; ++icon)
        anyAlert = anyAlert || m_icons.IsShown(icon);
    if (anyAlert)
        m_icons.Show(HUD_ICON_SUMMARY);
    else
        m_icons.Hide(HUD_ICON_SUMMARY);
}

void CHud::Draw(int32_t originX, int32_t originY) const
{
    const CGame* game = GetGame();
    if (!m_visible)
        return;
    if (game && (game->GetRun().shipOutOfPlay || game->GetDirector().IsSequencePlaying() ||
                 !game->GetDirector().LetsHudDraw() || !game->GetGameFlow().LetsHudDraw()))
        return;
    for (const CHudBar& gauge : m_gauges)
        gauge.Draw(static_cast<float>(originX), static_cast<float>(originY), false);
}
