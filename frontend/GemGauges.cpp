#include "frontend/GemGauges.h"

#include "frontend/GameFlow.h"
#include "frontend/GemStock.h"
#include "presentation/SpriteTypes.h"

namespace
{
constexpr int ICON_PLANE = 17;
const float GEM_COLOURS[GEM_KIND_COUNT][3] = {
    {215.0f / 255.0f, 166.0f / 255.0f, 229.0f / 255.0f},
    {254.0f / 255.0f, 218.0f / 255.0f, 140.0f / 255.0f},
    {109.0f / 255.0f, 195.0f / 255.0f, 132.0f / 255.0f},
};
} // namespace

void ShowGemGauges(CGameFlow& flow, int barWidth)
{
    for (int kind = 0; kind < GEM_KIND_COUNT; ++kind)
    {
        CHudBar& gauge = flow.GetGemGauge(kind);
        gauge.SetBarSize(barWidth, gauge.GetBarHeight());
        gauge.SetFillColour(GEM_COLOURS[kind][0], GEM_COLOURS[kind][1], GEM_COLOURS[kind][2]);
        // The screens place the icons on the virtual screen, not by the HUD's corner,
        // and over their pages (the GUI's layer 2 is the hook of plane 16).
        gauge.GetIcon().SetFlags(SPRITE_VIRTUAL, true);
        gauge.GetIcon().SetPlane(ICON_PLANE);
        gauge.Show();
    }
}

void PlaceGemGauges(CGameFlow& flow, const SGemStock& gems, const CVector2D points[3])
{
    for (int kind = 0; kind < GEM_KIND_COUNT; ++kind)
    {
        CHudBar& gauge = flow.GetGemGauge(kind);
        gauge.SetValue(GEM_GAUGE_MAXIMUM, static_cast<float>(gems.count[kind]));
        gauge.SetPosition(points[kind]);
        if (gauge.IsShown())
            gauge.GetIcon().Show();
    }
}

void HideGemGauges(CGameFlow& flow)
{
    for (int kind = 0; kind < GEM_KIND_COUNT; ++kind)
        flow.GetGemGauge(kind).Hide();
}
