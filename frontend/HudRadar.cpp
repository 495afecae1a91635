#include "frontend/HudRadar.h"

#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "presentation/HudContext.h"
#include "presentation/SpriteTypes.h"
#include "world/GameObject.h"
#include "world/ObjectTypes.h"

void ReadHudRadarDesc(const CDataTree& node, SHudRadarDesc& desc, CDefinitionProblems& problems)
{
    desc.frame = node.FindBlock("frame");
    desc.icon = node.FindBlock("icon");
    desc.iconInst = node.FindBlock("iconInst");
    if (!desc.frame)
        problems.AddWarning(&node, "the radar has no \"frame\" block: no frame shows and the blips crowd its centre");
    if (!desc.icon)
        problems.AddWarning(&node, "the radar has no \"icon\" block: no blip shows");
    if (!desc.iconInst)
        problems.AddWarning(&node, "the radar has no \"iconInst\" block: the blips take the sprite defaults");
}

void GetRadarBlipStyle(int32_t type, int32_t asteroidKind, uint32_t& colour, float& scale)
{
    scale = 1.0f;
    switch (type)
    {
    case OBJECT_PLAYER_SHIP:
        colour = 0xFF00FF00;
        scale = 2.0f;
        return;
    case OBJECT_STATION:
        colour = 0xFF00FFFF;
        scale = 2.0f;
        return;
    case OBJECT_ENEMY_DRONE:
        colour = 0xFF540000;
        return;
    case OBJECT_ENEMY_FIGHTER:
        colour = 0xFFA80000;
        return;
    case OBJECT_ASTEROID:
        switch (asteroidKind)
        {
        case 0:
            colour = 0xFF404040;
            return;
        case 1:
            colour = 0xFF808080;
            return;
        case 2:
        case 9:
            colour = 0xFFC0C0C0;
            return;
        case 12:
        case 13:
            colour = 0xFFFA9F00;
            scale = 2.0f;
            return;
        default:
            colour = 0xFFFFFF00;
            return;
        }
    default:
        colour = 0xFFFF0000;
        return;
    }
}

CHudRadar::CHudRadar() : m_blips(new SBlip[BLIP_COUNT]) {}

// Members go in reverse order: every sprite before the reference it shows.
CHudRadar::~CHudRadar() = default;

void CHudRadar::Load(const CDataTree& node)
{
    SHudRadarDesc desc;
    CDefinitionProblems problems;
    ReadHudRadarDesc(node, desc, problems);
    Load(desc);
}

void CHudRadar::Load(const SHudRadarDesc& desc)
{
    for (int32_t i = 0; i < BLIP_COUNT; ++i)
        m_blips[i].sprite.Destroy();
    m_frame.Destroy();
    m_frameRef.Release();
    m_blipRef.Release();
    if (desc.frame)
        m_frameRef.Load(*desc.frame, true);
    m_frame.Init(m_frameRef, FRAME_PLANE);
    m_frame.Hide();
    if (desc.icon)
        m_blipRef.Load(*desc.icon, true);
    for (int32_t i = 0; i < BLIP_COUNT; ++i)
    {
        SBlip& blip = m_blips[i];
        if (desc.iconInst)
            blip.sprite.Load(*desc.iconInst, m_blipRef, BLIP_PLANE_OFFSET);
        else
            blip.sprite.Init(m_blipRef, BLIP_PLANE_OFFSET);
        blip.sprite.Hide();
        blip.sprite.SetFlags(SPRITE_SNAP, true);
        blip.used = false;
        blip.offset = CVector2D();
    }
}

int32_t CHudRadar::AddBlip()
{
    for (int32_t i = 0; i < BLIP_COUNT; ++i)
    {
        SBlip& blip = m_blips[i];
        if (blip.used)
            continue;
        blip.used = true;
        blip.offset = CVector2D();
        blip.sprite.Hide();
        return i;
    }
    return 0;
}

void CHudRadar::UpdateBlip(int32_t index, const CGameObject& object, float worldWidth)
{
    if (!IsIndex(index) || !m_visible || !m_blips[index].used)
        return;
    SBlip& blip = m_blips[index];
    const float half = worldWidth / 2.0f;
    if (!(half > 0.0f))
    {
        blip.sprite.Hide();
        return;
    }
    const float reachX = static_cast<float>(m_frameRef.GetFrameWidth()) / 2.0f - FRAME_MARGIN;
    const float reachY = static_cast<float>(m_frameRef.GetFrameHeight()) / 2.0f - FRAME_MARGIN;
    const CVector2D& position = object.GetPosition();
    blip.offset = CVector2D(reachX * (position.x - half) / half, reachY * (position.y - half) / half);
    blip.sprite.Show();
    uint32_t colour = 0;
    float scale = 1.0f;
    GetRadarBlipStyle(object.GetType(), object.GetAsteroidKind(), colour, scale);
    blip.sprite.SetColour(colour);
    blip.sprite.SetScale(scale, scale);
}

void CHudRadar::RemoveBlip(int32_t index)
{
    if (!IsIndex(index))
        return;
    m_blips[index].sprite.Hide();
    m_blips[index].used = false;
}

void CHudRadar::SetVisible(bool visible)
{
    m_visible = visible;
    if (visible)
        m_frame.Show();
    else
        m_frame.Hide();
    for (int32_t i = 0; i < BLIP_COUNT; ++i)
    {
        if (visible && m_blips[i].used)
            m_blips[i].sprite.Show();
        else
            m_blips[i].sprite.Hide();
    }
}

void CHudRadar::Update()
{
    if (!m_visible)
        return;
    const CHudContext& context = GetHudContext();
    float width = 0.0f, height = 0.0f;
    GetHudScreenSize(width, height);
    m_centre = CVector2D(static_cast<float>(context.GetCameraX()) + width -
                             static_cast<float>(m_frameRef.GetFrameWidth()) / 2.0f - 2.0f,
                         static_cast<float>(context.GetCameraY()) + height -
                             static_cast<float>(m_frameRef.GetFrameHeight()) / 2.0f - 2.0f);
    m_frame.SetPosition(m_centre);
    for (int32_t i = 0; i < BLIP_COUNT; ++i)
        if (m_blips[i].used)
            m_blips[i].sprite.SetPosition(m_centre + m_blips[i].offset);
}

bool CHudRadar::IsBlipUsed(int32_t blip) const
{
    return IsIndex(blip) && m_blips[blip].used;
}

const CAnimatedSprite* CHudRadar::GetBlip(int32_t blip) const
{
    return IsIndex(blip) ? &m_blips[blip].sprite : nullptr;
}

const CVector2D& CHudRadar::GetBlipOffset(int32_t blip) const
{
    static const CVector2D none;
    return IsIndex(blip) ? m_blips[blip].offset : none;
}
