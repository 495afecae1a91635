#include "frontend/GameHud.h"

#include "core/Console.h"
#include "world/DirectorLink.h"
#include "world/Game.h"
#include "world/GameFlowLink.h"

#include <new>

namespace
{
CGameHud* s_gameHud = nullptr;
} // namespace

CGameHud::CGameHud(CGame& game) : m_game(game) {}

CGameHud::~CGameHud() = default;

void CGameHud::OnLevelStart()
{
    m_hud.reset(new (std::nothrow) CHud());
    if (m_hud && !m_hud->Load(HUD_FILE) && g_console)
        g_console->Printf("The HUD file %s could not be read; the HUD shows no gauges", HUD_FILE);
}

void CGameHud::OnLevelEnd()
{
    m_hud.reset();
}

void CGameHud::Update()
{
    if (m_hud)
        m_hud->Update();
}

void CGameHud::Draw(int32_t scrollX, int32_t scrollY)
{
    if (m_hud)
        m_hud->Draw(scrollX, scrollY);
}

int32_t CGameHud::AddBlip(CGameObject&)
{
    return m_hud ? m_hud->GetRadar().AddBlip() : 0;
}

void CGameHud::UpdateBlip(int32_t blip, CGameObject& object)
{
    if (m_hud)
        m_hud->GetRadar().UpdateBlip(blip, object, m_game.GetWorldWidth());
}

void CGameHud::RemoveBlip(int32_t blip)
{
    if (m_hud)
        m_hud->GetRadar().RemoveBlip(blip);
}

bool CGameHud::IsVisible() const
{
    return m_hud && m_hud->IsVisible();
}

void CGameHud::Show(bool show)
{
    if (m_hud)
        m_hud->SetVisible(show);
}

void CGameHud::SetGauge(int gauge, float maximum, float value)
{
    if (m_hud && IsGauge(gauge))
        m_hud->GetGauge(gauge).SetValue(maximum, value);
}

void CGameHud::ShowGauge(int gauge)
{
    if (m_hud && IsGauge(gauge))
        m_hud->GetGauge(gauge).Show();
}

void CGameHud::HideGauge(int gauge)
{
    if (m_hud && IsGauge(gauge))
        m_hud->GetGauge(gauge).Hide();
}

bool CGameHud::IsGaugeFlashing(int gauge) const
{
    return m_hud && IsGauge(gauge) && m_hud->GetGauge(gauge).IsFlashing();
}

void CGameHud::ShowStationIcon(int icon)
{
    if (m_hud)
        m_hud->GetStationIcons().Show(icon);
}

void CGameHud::HideStationIcon(int icon)
{
    if (m_hud)
        m_hud->GetStationIcons().Hide(icon);
}

void CGameHud::SetStationIconFlashing(bool on, int icon)
{
    if (m_hud)
        m_hud->GetStationIcons().SetFlashing(on, icon);
}

void CGameHud::ClearStationIcons()
{
    if (m_hud)
        m_hud->GetStationIcons().Hide(-1);
}

// The ammunition warning is station icon 4: flashing when the ammunition is out,
// steady when it runs low.
void CGameHud::SetAmmoIcon(EHudAmmoIcon state)
{
    if (!m_hud)
        return;
    CHudStationIcons& icons = m_hud->GetStationIcons();
    if (state == HUD_AMMO_FLASHING)
    {
        icons.SetFlashing(true, HUD_ICON_AMMO);
        return;
    }
    icons.SetFlashing(false, HUD_ICON_AMMO);
    if (state == HUD_AMMO_SHOWN)
        icons.Show(HUD_ICON_AMMO);
    else
        icons.Hide(HUD_ICON_AMMO);
}

bool CGameHud::IsHudVisible() const
{
    return IsVisible();
}

bool CGameHud::LetsHudDraw() const
{
    return m_game.GetDirector().LetsHudDraw() && m_game.GetGameFlow().LetsHudDraw();
}

int32_t CGameHud::GetCameraX() const
{
    return static_cast<int32_t>(m_game.GetCamera().GetView().x);
}

int32_t CGameHud::GetCameraY() const
{
    return static_cast<int32_t>(m_game.GetCamera().GetView().y);
}

bool InstallGameHud(CGame& game)
{
    RemoveGameHud(game);
    s_gameHud = new (std::nothrow) CGameHud(game);
    if (!s_gameHud)
        return false;
    game.SetHud(s_gameHud);
    InstallHudContext(s_gameHud);
    return true;
}

void RemoveGameHud(CGame& game)
{
    if (!s_gameHud)
        return;
    // A running level's objects keep their blip numbers; the game's do-nothing HUD
    // answers them from here on.
    game.SetHud(nullptr);
    InstallHudContext(nullptr);
    delete s_gameHud;
    s_gameHud = nullptr;
}

CGameHud* GetGameHud()
{
    return s_gameHud;
}
