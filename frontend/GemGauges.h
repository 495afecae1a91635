#pragma once
// The game flow's three gem gauges (normal, rare, very rare) as the research and stores
// screens show them: each stock against 100, its icon at a point of the virtual
// screen and its bar above it, in the colours of the gems.

#include "core/Vector2D.h"

class CGameFlow;
struct SGemStock;

constexpr float GEM_GAUGE_MAXIMUM = 100.0f;

// Bar width and fill colours set and the gauges shown (the HUD must be visible).
void ShowGemGauges(CGameFlow& flow, int barWidth);
// Each frame: the stocks and the icons' points.
void PlaceGemGauges(CGameFlow& flow, const SGemStock& gems, const CVector2D points[3]);
void HideGemGauges(CGameFlow& flow);
