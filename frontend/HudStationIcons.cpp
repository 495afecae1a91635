#include "frontend/HudStationIcons.h"

#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "presentation/AnimationClock.h"
#include "presentation/HudContext.h"
#include "presentation/SpriteTypes.h"

#include <cmath>
#include <cstdio>

void ReadHudStationIconsDesc(const CDataTree& node, SHudStationIconsDesc& desc, CDefinitionProblems& problems)
{
    desc = SHudStationIconsDesc();
    desc.block = &node;
    if (node.GetInt("drawPlane", desc.drawPlane) &&
        (desc.drawPlane < 0 || desc.drawPlane + CHudStationIcons::PLANE_OFFSET >= SPRITE_PLANE_COUNT))
    {
        problems.AddWarning(&node, "\"drawPlane\" %d puts the icons beside the planes; they go on the nearest",
                            static_cast<int>(desc.drawPlane));
        desc.drawPlane = desc.drawPlane < 0 ? 0 : SPRITE_PLANE_COUNT - 1 - CHudStationIcons::PLANE_OFFSET;
    }
    if (node.GetInt("startFrame", desc.startFrame) && desc.startFrame < 0)
    {
        problems.AddWarning(&node, "\"startFrame\" %d is below 0", static_cast<int>(desc.startFrame));
        desc.startFrame = 0;
    }
    for (int i = 0; i < CHudStationIcons::ICON_COUNT; ++i)
    {
        char key[16];
        std::snprintf(key, sizeof(key), "iconPos%d", i);
        CVector2D position;
        if (!node.GetVec2(key, position))
            continue;
        if (!std::isfinite(position.x) || !std::isfinite(position.y))
        {
            problems.AddWarning(&node, "\"%s\" is not a pair of numbers", key);
            continue;
        }
        desc.iconPos[i] = position;
        desc.hasIconPos[i] = true;
    }
}

void CHudStationIcons::Load(const CDataTree& node)
{
    SHudStationIconsDesc desc;
    CDefinitionProblems problems;
    ReadHudStationIconsDesc(node, desc, problems);
    Load(desc);
}

void CHudStationIcons::Load(const SHudStationIconsDesc& desc)
{
    for (SIcon& icon : m_icons)
    {
        icon.sprite.Destroy();
        icon.position = CVector2D();
        icon.flashStamp = 0;
        icon.flashing = icon.shown = false;
    }
    m_ref.Release();
    if (desc.block)
        m_ref.Load(*desc.block, true);
    // A file of fewer frames has fewer icons; the rest stay away.
    m_count = m_ref.GetFrameCount() < ICON_COUNT ? m_ref.GetFrameCount() : ICON_COUNT;
    for (int i = 0; i < m_count; ++i)
    {
        SIcon& icon = m_icons[i];
        icon.sprite.Init(m_ref, desc.drawPlane + PLANE_OFFSET);
        const int64_t frame = static_cast<int64_t>(desc.startFrame) + i;
        icon.sprite.SetFrame(static_cast<uint32_t>(frame > UINT16_MAX ? UINT16_MAX : frame));
        icon.sprite.Hide();
        icon.position = desc.iconPos[i];
    }
    m_toggleStamp = GetAnimationTime();
}

void CHudStationIcons::Show(int index)
{
    if (!GetHudContext().IsHudVisible())
        return;
    for (int i = 0; i < m_count; ++i)
        if (index == -1 || index == i)
        {
            m_icons[i].shown = true;
            m_icons[i].sprite.Show();
        }
}

void CHudStationIcons::Hide(int index)
{
    for (int i = 0; i < m_count; ++i)
        if (index == -1 || index == i)
        {
            m_icons[i].shown = false;
            m_icons[i].sprite.Hide();
        }
}

void CHudStationIcons::SetFlashing(bool on, int index)
{
    if (!IsIcon(index))
        return;
    SIcon& icon = m_icons[index];
    if (!on)
    {
        icon.flashing = false;
        return;
    }
    if (!icon.flashing)
    {
        icon.flashing = true;
        icon.flashStamp = GetAnimationTime();
    }
    icon.shown = true;
}

void CHudStationIcons::Update()
{
    const CHudContext& context = GetHudContext();
    float width = 0.0f, height = 0.0f;
    GetHudScreenSize(width, height);
    const CVector2D anchor(static_cast<float>(context.GetCameraX()) + width,
                           static_cast<float>(context.GetCameraY()) + height);
    const uint32_t now = GetAnimationTime();
    const bool phase = now - m_toggleStamp >= BLINK_MS;
    if (phase)
        m_toggleStamp = now;
    for (int i = 0; i < m_count; ++i)
    {
        SIcon& icon = m_icons[i];
        if (phase && !icon.flashing)
        {
            if (icon.shown)
                icon.sprite.Show();
            else
                icon.sprite.Hide();
        }
        icon.sprite.SetPosition(anchor + icon.position);
        if (icon.shown && icon.flashing && now - icon.flashStamp > BLINK_MS)
        {
            if (icon.sprite.IsVisible())
                icon.sprite.Hide();
            else
                icon.sprite.Show();
            icon.flashStamp = now;
        }
    }
}

bool CHudStationIcons::IsShown(int index) const
{
    return IsIcon(index) && m_icons[index].shown;
}

bool CHudStationIcons::IsFlashing(int index) const
{
    return IsIcon(index) && m_icons[index].flashing;
}

const CAnimatedSprite* CHudStationIcons::GetIcon(int index) const
{
    return IsIcon(index) ? &m_icons[index].sprite : nullptr;
}
