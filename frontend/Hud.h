#pragma once
// The in-flight heads-up display: nine gauges (the ship's hull, shield, energy,
// gems carried and battery, the station's health and three gem stocks), the radar
// and the station icons, configured by "data\hud.txt" (HudFile.h). Made and loaded
// as a level starts, hidden until the game flow shows it, gone with the level.
//
// Each flight frame Update places everything on the screen and runs the flashing;
// Draw adds the gauges' bars over the sprites, unless the player ship is out of play,
// a sequence plays or the director or the game flow hold the HUD back.

#include "frontend/HudFile.h"
#include "frontend/HudRadar.h"
#include "frontend/HudStationIcons.h"
#include "presentation/HudBar.h"

#include <cstdint>

class CDefinitionProblems;

class CHud
{
public:
    CHud() = default;
    CHud(const CHud&) = delete;
    CHud& operator=(const CHud&) = delete;

    // The file's parts; a file that cannot be read leaves every part at its
    // defaults (no icons, bars of no size) and gives false.
    bool Load(const char* path = HUD_FILE);
    void Load(const CDataNodeList& nodes);
    // The radar with it; shown: every gauge and station icon (the station's gauges
    // and icons not while the director's station-gauges gate is closed); hidden: all.
    void SetVisible(bool visible);
    bool IsVisible() const { return m_visible; }
    void Update();
    // The gauges' bars, the camera's whole-unit view position as the origin.
    void Draw(int32_t originX, int32_t originY) const;

    CHudBar& GetGauge(int gauge);
    const CHudBar& GetGauge(int gauge) const;
    CHudRadar& GetRadar() { return m_radar; }
    const CHudRadar& GetRadar() const { return m_radar; }
    CHudStationIcons& GetStationIcons() { return m_icons; }
    const CHudStationIcons& GetStationIcons() const { return m_icons; }

private:
    bool m_visible = false;
    CHudRadar m_radar;
    CHudBar m_gauges[HUD_GAUGE_COUNT];
    CHudStationIcons m_icons;
};
