#pragma once
// What the game needs of the HUD and its radar, which sit in a layer above. The
// base draws nothing and gives every object blip 0; the HUD installs itself on the
// game at start-up.

#include <cstdint>

class CGameObject;

// The HUD's gauges, by index.
enum EHudGauge
{
    HUD_GAUGE_HEALTH = 0,
    HUD_GAUGE_SHIELD = 1,
    HUD_GAUGE_ENERGY = 2,
    HUD_GAUGE_GEMS = 3,
    HUD_GAUGE_STATION_HEALTH = 4,
    HUD_GAUGE_STATION_NORMAL_GEMS = 5,
    HUD_GAUGE_STATION_RARE_GEMS = 6,
    HUD_GAUGE_STATION_VERY_RARE_GEMS = 7,
    HUD_GAUGE_BATTERY = 8,
    HUD_GAUGE_COUNT = 9,
};

// The station icons, by index; the summary icon shows while any of the first four does.
enum EHudStationIcon
{
    HUD_ICON_STATION_ALERT = 0,
    HUD_ICON_TURRET_TARGET = 1,
    HUD_ICON_STATION_ATTENTION = 2,
    HUD_ICON_STATION_EDGE = 3,
    HUD_ICON_AMMO = 4,
    HUD_ICON_SUMMARY = 5,
    HUD_ICON_COUNT = 6,
};

// How the HUD shows the player's ammunition warning.
enum EHudAmmoIcon
{
    HUD_AMMO_HIDDEN = 0,
    HUD_AMMO_SHOWN = 1,
    HUD_AMMO_FLASHING = 2,
};

class CHudLink
{
public:
    virtual ~CHudLink() = default;
    // The level's HUD is made and loaded with the level and goes with it.
    virtual void OnLevelStart() {}
    virtual void OnLevelEnd() {}
    virtual void Update() {}
    virtual void Draw(int32_t /*scrollX*/, int32_t /*scrollY*/) {}

    // The radar: a blip for every world object, moved every frame, removed as the
    // object leaves the world.
    virtual int32_t AddBlip(CGameObject&) { return 0; }
    virtual void UpdateBlip(int32_t /*blip*/, CGameObject&) {}
    virtual void RemoveBlip(int32_t /*blip*/) {}

    // Shown in flight (every gauge and icon with it), hidden in the front end.
    virtual bool IsVisible() const { return false; }
    virtual void Show(bool /*show*/) {}

    // The gauges, fed every frame by the objects they show (player ship, station).
    virtual void SetGauge(int /*gauge*/, float /*maximum*/, float /*value*/) {}
    virtual void ShowGauge(int /*gauge*/) {}
    virtual void HideGauge(int /*gauge*/) {}
    // The gauge flashes now (its value crossed one of its thresholds).
    virtual bool IsGaugeFlashing(int /*gauge*/) const { return false; }

    // The station icons (-1: all of them).
    virtual void ShowStationIcon(int /*icon*/) {}
    virtual void HideStationIcon(int /*icon*/) {}
    virtual void SetStationIconFlashing(bool /*on*/, int /*icon*/) {}
    virtual void ClearStationIcons() {}
    virtual void SetAmmoIcon(EHudAmmoIcon) {}
};
