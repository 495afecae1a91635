// The research screen's progress graphs: each slot's history drawn as a line from its
// start to the time the whole cost is expected to be paid at the slot's rate.

#include "frontend/Campaign.h"

#include "platform/Renderer.h"

#include <cmath>

namespace
{
constexpr float GRAPH_LINE_WIDTH = 2.0f;
constexpr float RESEARCH_SHIFT_X = -5.0f;
constexpr float RESEARCH_SHIFT_Y = -4.0f;
const float RESEARCH_COLOUR[3] = {1.0f, 0.0f, 0.0f};
const float MANUFACTURE_COLOUR[3] = {0.0f, 1.0f, 0.0f};
} // namespace

void CCampaign::SetProgressRect(float x, float y, float width, float height)
{
    m_progressRect = SProgressRect{x, y, width, height};
    m_drawProgress = true;
}

std::vector<float> CCampaign::ComputeProgressPoints(bool research) const
{
    std::vector<float> points;
    const SWorkSlot& slot = research ? m_state.researchSlot : m_state.manufactureSlot;
    SCostVector cost;
    if (!m_drawProgress || !slot.IsActive() || slot.historyCount < 2 || !GetSlotCost(research, cost))
        return points;
    const SHistoryEntry& last = slot.history[slot.historyCount - 1];
    const float costSum = cost.Sum();
    // A slot without crew or a cost of nothing has no expected end: no graph.
    if (slot.rate <= 0 || costSum <= 0.0f)
        return points;
    const float owed = std::trunc(cost.Weigh()) - last.paid.Weigh();
    const float span = static_cast<float>(last.time - slot.startTime) + owed * 10000.0f / static_cast<float>(slot.rate);
    if (!(span > 0.0f) || !std::isfinite(span))
        return points;
    const float shiftX = research ? RESEARCH_SHIFT_X : 0.0f;
    const float shiftY = research ? RESEARCH_SHIFT_Y : 0.0f;
    for (int i = 0; i < slot.historyCount; ++i)
    {
        const SHistoryEntry& entry = slot.history[i];
        const float along = static_cast<float>(entry.time - slot.startTime) / span;
        points.push_back(m_progressRect.x + along * m_progressRect.width + shiftX);
        points.push_back(m_progressRect.y - entry.paid.Sum() / costSum * m_progressRect.height + shiftY);
    }
    return points;
}

void CCampaign::DrawResearchProgress(bool research) const
{
    if (!g_renderer || m_overlayTexture < 0)
        return;
    std::vector<float> points = ComputeProgressPoints(research);
    if (points.size() < 4)
        return;
    const float scaleX = g_renderer->GetVirtualScaleX();
    const float scaleY = g_renderer->GetVirtualScaleY();
    for (size_t i = 0; i + 1 < points.size(); i += 2)
    {
        points[i] *= scaleX;
        points[i + 1] *= scaleY;
    }
    const float* colour = research ? RESEARCH_COLOUR : MANUFACTURE_COLOUR;
    g_renderer->DrawRibbon(m_overlayTexture, GRAPH_LINE_WIDTH, points.data(), static_cast<int>(points.size() / 2) - 1,
                           0.0f, 0.0f, colour, colour, 1.0f, 1.0f, true, false, false, false);
}

bool CCampaign::LoadOverlayTexture()
{
    if (m_overlayTexture >= 0)
        return true;
    int index = -1;
    int width = 0;
    int height = 0;
    if (!g_renderer || !g_renderer->LoadTexture(OVERLAY_TEXTURE, true, 0, 0, 1, true, &index, &width, &height))
        return false;
    m_overlayTexture = index;
    return true;
}

void CCampaign::FreeOverlayTexture()
{
    if (m_overlayTexture >= 0 && g_renderer)
        g_renderer->ReleaseTexture(m_overlayTexture);
    m_overlayTexture = -1;
}
