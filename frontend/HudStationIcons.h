#pragma once
// The HUD's row of station icons (at most six, one per frame of their sprite file),
// fixed to the screen's bottom-right corner. The station's parts show, hide and
// flash them; icon 5 sums up icons 0 to 3.
//
// Keys of its block: a sprite reference (SpriteRef.h), "drawPlane" (the icons go
// on drawPlane + 16), "startFrame" (icon i shows frame startFrame + i) and
// "iconPos0" .. "iconPos5" (each icon's place from the corner).

#include "core/Vector2D.h"
#include "presentation/AnimatedSprite.h"
#include "presentation/SpriteRef.h"

#include <cstdint>

class CDataTree;
class CDefinitionProblems;

// The icons' block as read: iconPos has room for every icon, read for those the
// sprite file holds.
struct SHudStationIconsDesc
{
    const CDataTree* block = nullptr; // the sprite reference
    int32_t drawPlane = 0;
    int32_t startFrame = 0;
    CVector2D iconPos[6];
    bool hasIconPos[6] = {};
};

// Values out of range are put in range and named as problems; never fails.
void ReadHudStationIconsDesc(const CDataTree& node, SHudStationIconsDesc& desc, CDefinitionProblems& problems);

class CHudStationIcons
{
public:
    static constexpr int ICON_COUNT = 6;
    static constexpr uint32_t BLINK_MS = 500;
    static constexpr int PLANE_OFFSET = 16;

    CHudStationIcons() = default;
    CHudStationIcons(const CHudStationIcons&) = delete;
    CHudStationIcons& operator=(const CHudStationIcons&) = delete;

    // One icon per frame of the sprite file, at most six, each hidden and steady.
    void Load(const CDataTree& node);
    void Load(const SHudStationIconsDesc& desc);
    // index -1: every icon. Show works only while the HUD is visible. An index the
    // sprite file has no icon for does nothing.
    void Show(int index);
    void Hide(int index);
    // On: the icon is shown and blinks every 500 ms (from now, when it was steady);
    // off: it is steady again.
    void SetFlashing(bool on, int index);
    // Places the icons and runs their blinking; once a 500 ms phase has passed, the
    // steady icons take their shown state again.
    void Update();

    int GetIconCount() const { return m_count; }
    bool IsShown(int index) const;
    bool IsFlashing(int index) const;
    const CAnimatedSprite* GetIcon(int index) const;

private:
    struct SIcon
    {
        CAnimatedSprite sprite;
        CVector2D position;
        uint32_t flashStamp = 0;
        bool flashing = false;
        bool shown = false;
    };

    bool IsIcon(int index) const { return index >= 0 && index < m_count; }

    CSpriteRef m_ref;
    SIcon m_icons[ICON_COUNT];
    int m_count = 0;
    uint32_t m_toggleStamp = 0;
};
