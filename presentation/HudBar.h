#pragma once
// A vertical gauge of the HUD: an icon sprite fixed to the screen and a bar above it
// drawn as two rectangles, the background and, from the bottom, the fill of value /
// maximum of its height. It flashes its icon while the value's share of the maximum
// is below or above its thresholds. The HUD holds nine of them; front-end screens
// and the galaxy map use them alone, placed with SetPosition.
//
// A gauge whose maximum is 0 or less (no shield or battery fitted) draws an empty
// bar and never flashes.
//
// Keys of its block: an optional sub-block "icon" (or, without one, "block") with a
// sprite reference (SpriteRef.h), "startFrame" (the icon's frame), "barWidth",
// "barHeight", "offset" (the icon's place from the screen's bottom-right corner, so
// negative) and "flashOnLessThan", "flashOnGreaterThan" (shares of the maximum,
// 0 = off).

#include "presentation/AnimatedSprite.h"
#include "presentation/SpriteRef.h"

#include <cstdint>

class CDataTree;
class CDefinitionProblems;

// A gauge's block as read.
struct SHudBarDesc
{
    const CDataTree* iconBlock = nullptr; // the icon's sprite reference, or none
    int32_t startFrame = 0;
    int32_t barWidth = 0;
    int32_t barHeight = 0;
    float offsetX = 0.0f;
    float offsetY = 0.0f;
    float flashBelow = 0.0f;
    float flashAbove = 0.0f;
};

// Sizes beyond this many pixels are taken as this many.
constexpr int32_t HUD_BAR_MAX_SIZE = 4096;

// Reads a gauge's block. Values out of range are put in range (sizes 0 to
// HUD_BAR_MAX_SIZE, start frame 0 and up, offsets and thresholds finite) and named
// as problems; so are missing sizes and offset. Never fails.
void ReadHudBarDesc(const CDataTree& node, SHudBarDesc& desc, CDefinitionProblems& problems);

class CHudBar
{
public:
    static constexpr uint32_t FLASH_MS = 250;
    static constexpr int ICON_PLANE = 16;

    CHudBar() = default;
    CHudBar(const CHudBar&) = delete;
    CHudBar& operator=(const CHudBar&) = delete;

    // The icon (hidden, on plane 16, at its start frame), sizes, offset and
    // thresholds; the bar hidden, grey on dark grey.
    void Load(const CDataTree& node);
    void Load(const SHudBarDesc& desc);
    // The maximum as given; the value put within 0 .. maximum.
    void SetValue(float maximum, float value);
    // Shows the bar (from the next Update, the icon too) while the HUD is visible.
    void Show();
    // Shows the bar whatever the HUD's visibility: the galaxy map's gauges stand over
    // the front end, where the flight's HUD is hidden.
    void ShowAlways();
    // Hides icon and bar.
    void Hide();
    // Hides the bar and lets its icon's sprite file go, before the sprite bank does.
    void ReleaseIcon();
    // Each frame while shown and while the HUD may draw: places the icon at its
    // offset from the screen's bottom-right corner and flashes it by the thresholds.
    void Update();
    // The bar, its anchor less the origin (the HUD passes the camera, which turns the
    // anchor back into a screen position); scaled: by the screen's virtual scale.
    void Draw(float originX, float originY, bool scaled) const;
    // The icon at the point (in world space), the bar above it.
    void SetPosition(const CVector2D& point);
    // The galaxy map's blinking: the fill shows and hides every 250 ms.
    void Blink();
    // The galaxy map's gauges: 5 x 50, empty of 1, green on near black, flashing when full.
    void SetupMapGauge();

    void SetBarSize(int32_t width, int32_t height);
    void SetFillColour(float red, float green, float blue);
    void SetBackgroundColour(float red, float green, float blue);

    float GetValue() const { return m_value; }
    float GetMaximum() const { return m_maximum; }
    // The fill's height in pixels (unscaled): 0 for a maximum of 0 or less.
    int32_t GetFillHeight() const;
    bool IsFlashing() const { return m_flashing; }
    bool IsShown() const { return m_shown; }
    bool IsFillShown() const { return m_fillShown; }
    const CVector2D& GetAnchor() const { return m_anchor; }
    int32_t GetBarWidth() const { return m_barWidth; }
    int32_t GetBarHeight() const { return m_barHeight; }
    const CAnimatedSprite& GetIcon() const { return m_icon; }
    CAnimatedSprite& GetIcon() { return m_icon; }

private:
    // The share the thresholds compare, or false when the maximum is 0 or less.
    bool GetShare(float& share) const;
    void PlaceIcon(const CVector2D& point);

    CSpriteRef m_iconRef;
    CAnimatedSprite m_icon;
    int32_t m_barWidth = 0;
    int32_t m_barHeight = 0;
    float m_maximum = 1.0f;
    float m_value = 0.0f;
    float m_offsetX = 0.0f;
    float m_offsetY = 0.0f;
    CVector2D m_anchor;
    float m_flashAbove = 0.0f;
    float m_flashBelow = 0.0f;
    uint32_t m_flashStamp = 0;
    float m_background[3] = {0.37f, 0.37f, 0.37f};
    float m_fill[3] = {0.62f, 0.62f, 0.62f};
    bool m_flashing = false;
    bool m_fillShown = false;
    bool m_backgroundShown = false;
    bool m_shown = false;
};
