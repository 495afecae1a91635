#pragma once
// The HUD as the game reaches it (CHudLink) and as its pieces ask about the game
// (CHudContext): it makes the level's CHud as a level starts and lets it go as the
// level ends, hands the world's blips to the radar, the player ship's and the
// station's values to the gauges, and answers the gauges' questions from the game's
// camera, director and game flow.

#include "frontend/Hud.h"
#include "presentation/HudContext.h"
#include "world/HudLink.h"

#include <memory>

class CGame;

class CGameHud : public CHudLink, public CHudContext
{
public:
    explicit CGameHud(CGame& game);
    ~CGameHud() override;
    CGameHud(const CGameHud&) = delete;
    CGameHud& operator=(const CGameHud&) = delete;

    // The level's HUD, or null between levels.
    CHud* GetHud() const { return m_hud.get(); }

    // CHudLink.
    void OnLevelStart() override;
    void OnLevelEnd() override;
    void Update() override;
    void Draw(int32_t scrollX, int32_t scrollY) override;
    int32_t AddBlip(CGameObject& object) override;
    void UpdateBlip(int32_t blip, CGameObject& object) override;
    void RemoveBlip(int32_t blip) override;
    bool IsVisible() const override;
    void Show(bool show) override;
    void SetGauge(int gauge, float maximum, float value) override;
    void ShowGauge(int gauge) override;
    void HideGauge(int gauge) override;
    bool IsGaugeFlashing(int gauge) const override;
    void ShowStationIcon(int icon) override;
    void HideStationIcon(int icon) override;
    void SetStationIconFlashing(bool on, int icon) override;
    void ClearStationIcons() override;
    void SetAmmoIcon(EHudAmmoIcon state) override;

    // CHudContext.
    bool IsHudVisible() const override;
    bool LetsHudDraw() const override;
    int32_t GetCameraX() const override;
    int32_t GetCameraY() const override;

private:
    static bool IsGauge(int gauge) { return gauge >= 0 && gauge < HUD_GAUGE_COUNT; }

    CGame& m_game;
    std::unique_ptr<CHud> m_hud;
};

// Makes the HUD and installs it on the game and as the HUD pieces' context; false
// without memory. RemoveGameHud takes it out again and deletes it.
bool InstallGameHud(CGame& game);
void RemoveGameHud(CGame& game);
CGameHud* GetGameHud();
