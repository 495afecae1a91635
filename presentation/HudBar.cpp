#include "presentation/HudBar.h"

#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "presentation/AnimationClock.h"
#include "presentation/HudContext.h"
#include "presentation/SpriteBank.h"
#include "platform/Renderer.h"

#include <cmath>

namespace
{
void ReadSize(const CDataTree& node, const char* key, int32_t& out, CDefinitionProblems& problems)
{
    if (!node.GetInt(key, out))
    {
        problems.AddWarning(&node, "\"%s\" is missing: the bar has no size", key);
        out = 0;
        return;
    }
    if (out < 0 || out > HUD_BAR_MAX_SIZE)
    {
        problems.AddWarning(&node, "\"%s\" %d is outside 0 to %d", key, static_cast<int>(out),
                            static_cast<int>(HUD_BAR_MAX_SIZE));
        out = out < 0 ? 0 : HUD_BAR_MAX_SIZE;
    }
}

// A threshold is a share of the maximum: 0 is off.
void ReadThreshold(const CDataTree& node, const char* key, float& out, CDefinitionProblems& problems)
{
    out = 0.0f;
    if (node.GetFloat(key, out) && !std::isfinite(out))
    {
        problems.AddWarning(&node, "\"%s\" is not a number", key);
        out = 0.0f;
    }
}
} // namespace

void ReadHudBarDesc(const CDataTree& node, SHudBarDesc& desc, CDefinitionProblems& problems)
{
    desc = SHudBarDesc();
    desc.iconBlock = node.FindBlock("icon");
    if (!desc.iconBlock)
        desc.iconBlock = node.FindBlock("block");
    if (node.GetInt("startFrame", desc.startFrame) && desc.startFrame < 0)
    {
        problems.AddWarning(&node, "\"startFrame\" %d is below 0", static_cast<int>(desc.startFrame));
        desc.startFrame = 0;
    }
    ReadSize(node, "barWidth", desc.barWidth, problems);
    ReadSize(node, "barHeight", desc.barHeight, problems);
    CVector2D offset;
    if (!node.GetVec2("offset", offset))
        problems.AddWarning(&node, "\"offset\" is missing: the icon sits on the screen's bottom-right corner");
    else if (!std::isfinite(offset.x) || !std::isfinite(offset.y))
    {
        problems.AddWarning(&node, "\"offset\" is not a pair of numbers");
        offset = CVector2D();
    }
    desc.offsetX = offset.x;
    desc.offsetY = offset.y;
    ReadThreshold(node, "flashOnLessThan", desc.flashBelow, problems);
    ReadThreshold(node, "flashOnGreaterThan", desc.flashAbove, problems);
}

void CHudBar::Load(const CDataTree& node)
{
    SHudBarDesc desc;
    CDefinitionProblems problems;
    ReadHudBarDesc(node, desc, problems);
    Load(desc);
}

void CHudBar::Load(const SHudBarDesc& desc)
{
    m_icon.Destroy();
    m_iconRef.Release();
    if (desc.iconBlock)
        m_iconRef.Load(*desc.iconBlock, true);
    m_icon.Init(m_iconRef, ICON_PLANE);
    const uint16_t frame = static_cast<uint16_t>(desc.startFrame > UINT16_MAX ? UINT16_MAX : desc.startFrame);
    m_icon.SetStartFrame(frame);
    m_icon.SetFrame(frame);
    m_icon.Hide();
    m_fillShown = m_backgroundShown = m_shown = false;
    m_flashing = false;
    m_barWidth = desc.barWidth;
    m_barHeight = desc.barHeight;
    m_offsetX = desc.offsetX;
    m_offsetY = desc.offsetY;
    m_flashBelow = desc.flashBelow;
    m_flashAbove = desc.flashAbove;
    SetBackgroundColour(0.37f, 0.37f, 0.37f);
    SetFillColour(0.62f, 0.62f, 0.62f);
}

void CHudBar::SetValue(float maximum, float value)
{
    m_maximum = std::isfinite(maximum) ? maximum : 0.0f;
    if (!std::isfinite(value) || value < 0.0f)
        value = 0.0f;
    if (value > m_maximum)
        value = m_maximum < 0.0f ? 0.0f : m_maximum;
    m_value = value;
}

void CHudBar::Show()
{
    if (!GetHudContext().IsHudVisible())
        return;
    m_fillShown = m_backgroundShown = m_shown = true;
}

void CHudBar::ShowAlways()
{
    m_fillShown = m_backgroundShown = m_shown = true;
}

void CHudBar::Hide()
{
    m_icon.Hide();
    m_fillShown = m_backgroundShown = m_shown = false;
}

void CHudBar::ReleaseIcon()
{
    Hide();
    m_icon.Destroy();
    m_iconRef.Release();
}

bool CHudBar::GetShare(float& share) const
{
    if (!(m_maximum > 0.0f))
        return false;
    share = m_value / m_maximum;
    return true;
}

int32_t CHudBar::GetFillHeight() const
{
    float share = 0.0f;
    if (!GetShare(share))
        return 0;
    return static_cast<int32_t>(std::ceil(share * static_cast<float>(m_barHeight)));
}

void CHudBar::PlaceIcon(const CVector2D& point)
{
    m_icon.SetPosition(point);
    m_anchor = CVector2D(point.x, point.y - static_cast<float>(m_iconRef.GetFrameHeight()));
}

void CHudBar::Update()
{
    const CHudContext& context = GetHudContext();
    if (!m_shown || !context.LetsHudDraw())
        return;
    float width = 0.0f, height = 0.0f;
    GetHudScreenSize(width, height);
    PlaceIcon(CVector2D(static_cast<float>(context.GetCameraX()) + width + m_offsetX,
                        static_cast<float>(context.GetCameraY()) + height + m_offsetY));

    m_flashing = false;
    float share = 0.0f;
    const bool measured = GetShare(share);
    const bool flash = measured && ((m_flashBelow > 0.0f && share < m_flashBelow) ||
                                    (m_flashAbove > 0.0f && share > m_flashAbove));
    if (!flash)
    {
        m_icon.Show();
        return;
    }
    m_flashing = true;
    const uint32_t now = GetAnimationTime();
    if (now - m_flashStamp > FLASH_MS)
    {
        if (m_icon.IsVisible())
            m_icon.Hide();
        else
            m_icon.Show();
        m_flashStamp = now;
    }
}

void CHudBar::Draw(float originX, float originY, bool scaled) const
{
    if (!g_renderer || m_barWidth <= 0 || m_barHeight <= 0 || !GetHudContext().LetsHudDraw())
        return;
    const float sx = scaled ? g_virtualScaleX : 1.0f;
    const float sy = scaled ? g_virtualScaleY : 1.0f;
    const float left = (m_anchor.x - originX - static_cast<float>(m_barWidth) / 2.0f) * sx;
    const float top = (m_anchor.y - originY - static_cast<float>(m_barHeight)) * sy;
    const float width = static_cast<float>(m_barWidth) * sx;
    const float height = static_cast<float>(m_barHeight) * sy;
    if (m_backgroundShown)
        g_renderer->DrawRectF(left, top, width, height, m_background[0], m_background[1], m_background[2], 1.0f,
                              false);
    const float fill = static_cast<float>(GetFillHeight()) * sy;
    if (m_fillShown && fill > 0.0f)
        g_renderer->DrawRectF(left, top + height - fill, width, fill, m_fill[0], m_fill[1], m_fill[2], 1.0f, false);
}

void CHudBar::SetPosition(const CVector2D& point)
{
    PlaceIcon(point);
}

void CHudBar::Blink()
{
    const uint32_t now = GetAnimationTime();
    if (now - m_flashStamp > FLASH_MS)
    {
        m_flashing = !m_flashing;
        m_flashStamp = now;
    }
    m_fillShown = m_flashing;
}

void CHudBar::SetupMapGauge()
{
    float width = 0.0f, height = 0.0f;
    GetHudScreenSize(width, height);
    SetValue(1.0f, 0.0f);
    SetBarSize(5, 50);
    m_offsetX = -width;
    m_offsetY = -height;
    m_flashAbove = 1.0f;
    m_flashBelow = 0.0f;
    SetBackgroundColour(0.06f, 0.06f, 0.06f);
    SetFillColour(0.0f, 1.0f, 0.0f);
}

void CHudBar::SetBarSize(int32_t width, int32_t height)
{
    m_barWidth = width < 0 ? 0 : (width > HUD_BAR_MAX_SIZE ? HUD_BAR_MAX_SIZE : width);
    m_barHeight = height < 0 ? 0 : (height > HUD_BAR_MAX_SIZE ? HUD_BAR_MAX_SIZE : height);
}

void CHudBar::SetFillColour(float red, float green, float blue)
{
    m_fill[0] = red;
    m_fill[1] = green;
    m_fill[2] = blue;
}

void CHudBar::SetBackgroundColour(float red, float green, float blue)
{
    m_background[0] = red;
    m_background[1] = green;
    m_background[2] = blue;
}
