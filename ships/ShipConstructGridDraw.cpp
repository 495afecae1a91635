// The construction grid's pictures: a frame per hull slot, an icon per fitted pod,
// and the pulsing highlight at the cursor.

#include "ships/ShipConstructGrid.h"

#include "ships/ShipComponentDatabase.h"

#include <algorithm>
#include <cmath>

namespace
{
uint32_t MakeArgb(int red, int green, int blue)
{
    return 0xFF000000u | (static_cast<uint32_t>(red) << 16) | (static_cast<uint32_t>(green) << 8) |
           static_cast<uint32_t>(blue);
}

bool IsWide(int32_t shape)
{
    return shape == POD_SHAPE_TWO_HORIZ || shape == POD_SHAPE_TWO_BY_TWO;
}

bool IsTall(int32_t shape)
{
    return shape == POD_SHAPE_TWO_VERT || shape == POD_SHAPE_TWO_BY_TWO;
}
} // namespace

void CShipConstructGrid::HideIcons()
{
    for (auto& set : m_sprites)
        for (CAnimatedSprite& sprite : set)
            sprite.Hide();
    std::fill(std::begin(m_used), std::end(m_used), 0);
}

CAnimatedSprite* CShipConstructGrid::DrawAt(int set, int32_t shape, int x, int y, uint32_t frame, int plane)
{
    // A full hull and the highlight can ask the single-cell frames for one more than
    // the set holds: the extra one is left out.
    if (set < 0 || set >= SET_COUNT || m_used[set] >= SET_INSTANCES)
        return nullptr;
    CAnimatedSprite& sprite = m_sprites[set][m_used[set]++];
    CVector2D position = GetCellPosition(x, y);
    if (IsWide(shape))
        position.x += WIDE_SHIFT;
    if (IsTall(shape))
        position.y += WIDE_SHIFT;
    sprite.SetPlane(plane);
    sprite.SetFrame(frame);
    sprite.SetScale(1.0f, 1.0f);
    sprite.SetColour(0xFFFFFFFFu);
    sprite.SetPosition(position);
    sprite.Show();
    return &sprite;
}

void CShipConstructGrid::DrawDesign()
{
    const CShipConfig* design = GetDesign();
    const CShipComponentDatabase* database = GetDatabase();
    const CHullDef* hull = design && database ? database->GetHullDef(design->m_hull) : nullptr;
    if (!hull)
        return;
    for (const SHullPodSlot& slot : hull->m_podSlots)
    {
        int x = 0;
        int y = 0;
        if (GetGridCell(slot.m_position, x, y))
            DrawAt(SET_FRAME_16X16, POD_SHAPE_ONE, x, y, 0, FRAME_PLANE);
    }
    for (int32_t i = 0; i < design->m_podCount && i < SHIP_CONFIG_POD_MAX; ++i)
    {
        const SShipPod& pod = design->m_pods[i];
        const CShipComponentDef* def =
            pod.m_kind != COMPONENT_NONE ? database->GetComponentDef(pod.m_kind, pod.m_defIndex) : nullptr;
        int x = 0;
        int y = 0;
        if (!def || !GetGridCell(pod.m_topLeft, x, y))
            continue;
        const uint32_t frame = def->m_iconFrame > 0 ? static_cast<uint32_t>(def->m_iconFrame) : 0;
        DrawAt(GetShapeFrameSet(def->m_podShape) + SET_ICONS_16X16, def->m_podShape, x, y, frame, ICON_PLANE);
    }
}

uint32_t CShipConstructGrid::PulseColour(int red, int green, int blue, uint32_t now)
{
    uint32_t elapsed = now - m_pulseTime;
    if (elapsed >= PULSE_MS)
    {
        m_pulseTime = now;
        m_pulsePhase = !m_pulsePhase;
        elapsed = 0;
    }
    float d = static_cast<float>(elapsed) * PULSE_RATE;
    if (m_pulsePhase)
        d = 1.0f - d;
    d = std::clamp(d, 0.0f, 1.0f);
    auto scale = [d](int channel) { return static_cast<int>(static_cast<float>(channel) * d); };
    return MakeArgb(scale(red), scale(green), scale(blue));
}

void CShipConstructGrid::DrawHighlight(uint32_t now)
{
    const CShipComponentDatabase* database = GetDatabase();
    int32_t shape = POD_SHAPE_ONE;
    int red = 255;
    int green = 0;
    int blue = 0;
    if (m_placing)
    {
        const CShipComponentDef* def =
            database ? database->GetComponentDef(m_selectedKind, m_selectedDefinition) : nullptr;
        shape = def ? def->m_podShape : POD_SHAPE_ONE;
        red = m_allowed ? 128 : 255;
        green = m_allowed ? 255 : 128;
        blue = 128;
    }
    else
    {
        const SShipPod* pod = FindPodAt(m_cursor.x, m_cursor.y);
        const CShipComponentDef* def = pod && pod->m_kind != COMPONENT_NONE && database
                                           ? database->GetComponentDef(pod->m_kind, pod->m_defIndex)
                                           : nullptr;
        if (def)
        {
            shape = def->m_podShape;
            red = green = blue = 255;
        }
        else if (FindHullSlot(m_cursor.x, m_cursor.y))
        {
            red = blue = 0;
            green = 255;
        }
    }
    m_highlightColour = PulseColour(red, green, blue, now);
    if (CAnimatedSprite* sprite = DrawAt(GetShapeFrameSet(shape), shape, m_cursor.x, m_cursor.y, 0, HIGHLIGHT_PLANE))
    {
        sprite->SetScale(HIGHLIGHT_SCALE, HIGHLIGHT_SCALE);
        sprite->SetColour(m_highlightColour);
    }
}
