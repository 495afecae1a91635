#include "presentation/AnimatedSprite.h"

#include "core/DataTree.h"
#include "core/FastMath.h"
#include "presentation/AnimationClock.h"
#include "presentation/CollisionTag.h"
#include "presentation/SpriteBank.h"
#include "presentation/SpriteRef.h"

#include <cmath>

void CAnimatedSprite::Destroy()
{
    if (m_instance && m_ref && m_ref->GetBank())
        m_ref->GetBank()->DestroyInstance(m_instance);
    m_instance = nullptr;
}

void CAnimatedSprite::Init(const CSpriteRef& ref, int plane)
{
    Destroy();
    m_ref = &ref;
    m_offset = CVector2D();
    m_storedPosition = CVector2D();
    m_collisionTag = 0;
    m_collisionTagCount = 1;
    m_startFrame = 0;
    m_playRate = 0;
    m_looped = m_playForwards = m_relativePos = m_forceRotate = false;
    m_angle = 0.0f;
    if (ref.HasFile() && ref.GetBank())
    {
        SSpriteInstance* instance = nullptr;
        if (ref.GetBank()->CreateInstance(ClampSpritePlane(plane), ref.GetFile(), instance))
        {
            instance->m_x = instance->m_y = 0.0f;
            instance->m_frame = 0;
            instance->m_colour = 0xFFFFFFFF;
            instance->m_scaleX = instance->m_scaleY = 1.0f;
            instance->m_rotation = 0.0f;
            m_instance = instance;
        }
    }
    m_nextStep = GetAnimationTime();
}

void CAnimatedSprite::Load(const CDataTree& node, const CSpriteRef& ref, int planeOffset)
{
    int32_t plane = 0;
    node.GetInt("drawPlane", plane);
    Init(ref, ClampSpritePlane(static_cast<long long>(plane) + planeOffset));

    node.GetBool("relativePos", m_relativePos);
    // "pos" is the offset and also where the sprite stands until its holder places it.
    if (node.GetVec2("pos", m_offset))
    {
        if (m_instance)
        {
            m_instance->m_x = m_offset.x;
            m_instance->m_y = m_offset.y;
        }
        else
            m_storedPosition = m_offset;
    }
    int32_t frame = 0;
    if (node.GetInt("startFrame", frame))
    {
        SetStartFrame(static_cast<uint16_t>(frame < 0 ? 0 : (frame > UINT16_MAX ? UINT16_MAX : frame)));
        SetFrame(m_startFrame);
    }
    node.GetBool("playForwards", m_playForwards);
    node.GetBool("playLooped", m_looped);
    node.GetBool("forceRotate", m_forceRotate);
    int32_t rate = 0;
    if (node.GetInt("playRate", rate))
        m_playRate = static_cast<uint16_t>(rate < 0 ? 0 : (rate > UINT16_MAX ? UINT16_MAX : rate));
    bool invisible = false;
    node.GetBool("invisible", invisible);
    if (invisible)
        Hide();
    else
        Show();
    char tag[DATA_VALUE_MAX + 1] = "";
    if (node.GetString("collisionTag", tag, sizeof(tag)))
        m_collisionTag = PackCollisionTag(tag);
    node.GetUInt("numCollisionTags", m_collisionTagCount);
    bool invert = false;
    if (node.GetBool("invertX", invert))
        SetFlags(SPRITE_MIRROR_X, invert);
    invert = false;
    if (node.GetBool("invertY", invert))
        SetFlags(SPRITE_MIRROR_Y, invert);
    m_nextStep = GetAnimationTime();
}

uint32_t CAnimatedSprite::GetFrameCount() const
{
    uint32_t count = m_ref ? m_ref->GetFrameCount() : 0;
    return count == 0 ? 1 : count;
}

void CAnimatedSprite::Animate()
{
    const uint32_t count = GetFrameCount();
    if (!m_instance || count == 1 || m_playRate == 0)
        return;
    const uint32_t now = GetAnimationTime();
    if (!HasTimeCome(now, m_nextStep))
        return;
    // A step that comes late by less than a period keeps the cadence: the lateness is
    // taken off the next step.
    const uint32_t period = 1000u / m_playRate;
    uint32_t lateness = now - m_nextStep;
    if (lateness >= period)
        lateness = 0;
    m_nextStep = now - lateness + period;

    // One frame on within [start frame, start frame + count); past either end the
    // frame wraps when looped and otherwise stays at the end it reached.
    const int64_t first = m_startFrame;
    const int64_t last = first + count - 1;
    int64_t frame = static_cast<int64_t>(m_instance->m_frame) + (m_playForwards ? 1 : -1);
    if (frame > last)
        frame = m_looped ? first : last;
    else if (frame < first)
        frame = m_looped ? last : first;
    m_instance->m_frame = static_cast<uint32_t>(frame);
}

void CAnimatedSprite::SetAngle(float degrees)
{
    if (!std::isfinite(degrees))
        return;
    float shown = degrees + 90.0f;
    if (!m_instance)
    {
        m_angle = shown;
        return;
    }
    if (m_forceRotate)
    {
        m_angle = shown;
        m_instance->m_rotation = shown * DEG_TO_RAD;
        return;
    }
    shown = std::fmod(shown, 360.0f);
    if (shown < 0.0f)
        shown += 360.0f;
    if (shown >= 360.0f)
        shown = 0.0f;
    m_angle = shown;
    const uint32_t count = GetFrameCount();
    const float sector = 360.0f / static_cast<float>(count);
    uint32_t index = static_cast<uint32_t>(std::floor(shown / sector));
    if (index >= count)
        index = 0;
    m_instance->m_frame = m_startFrame + index;
    m_instance->m_rotation = (shown - sector * static_cast<float>(index)) * DEG_TO_RAD;
}

float CAnimatedSprite::GetAngle() const
{
    float heading = m_angle - 90.0f;
    return heading < 0.0f ? heading + 360.0f : heading;
}

void CAnimatedSprite::SetPosition(const CVector2D& point, float scaleX, float scaleY)
{
    CVector2D position = point;
    if (m_relativePos)
        position += CVector2D(m_offset.x * scaleX, m_offset.y * scaleY);
    if (m_instance)
    {
        m_instance->m_x = position.x;
        m_instance->m_y = position.y;
    }
    else
        m_storedPosition = position;
}

CVector2D CAnimatedSprite::GetPosition() const
{
    return m_instance ? CVector2D(m_instance->m_x, m_instance->m_y) : m_storedPosition;
}

void CAnimatedSprite::Show()
{
    if (m_instance)
        m_instance->SetVisible(true);
}

void CAnimatedSprite::Hide()
{
    if (m_instance)
        m_instance->SetVisible(false);
}

bool CAnimatedSprite::IsVisible() const
{
    return m_instance && m_instance->IsVisible();
}

void CAnimatedSprite::SetStartFrame(uint16_t frame)
{
    m_startFrame = frame;
}

uint32_t CAnimatedSprite::GetFrame() const
{
    return m_instance ? m_instance->m_frame : m_startFrame;
}

void CAnimatedSprite::SetFrame(uint32_t frame)
{
    if (m_instance)
        m_instance->m_frame = static_cast<uint32_t>(frame);
}

void CAnimatedSprite::SetScale(float scaleX, float scaleY)
{
    if (m_instance)
    {
        m_instance->m_scaleX = scaleX;
        m_instance->m_scaleY = scaleY;
    }
}

void CAnimatedSprite::SetColour(uint32_t argb)
{
    if (m_instance)
        m_instance->m_colour = argb;
}

void CAnimatedSprite::SetPlane(int plane)
{
    if (m_instance && m_ref && m_ref->GetBank())
        m_ref->GetBank()->SetInstancePlane(m_instance, ClampSpritePlane(plane));
}

void CAnimatedSprite::SetFlags(uint32_t flags, bool set)
{
    if (!m_instance)
        return;
    if (set)
        m_instance->m_flags |= flags;
    else
        m_instance->m_flags &= ~flags;
}

size_t PlaceSpritesAlongLine(CAnimatedSprite* sprites, size_t count, const CVector2D& from, const CVector2D& to,
                             int spacing)
{
    if (!sprites || spacing <= 0)
        return 0;
    // In doubles, so that a distance of exactly n spacings gives n.
    const double dx = static_cast<double>(to.x) - from.x;
    const double dy = static_cast<double>(to.y) - from.y;
    const double distance = std::sqrt(dx * dx + dy * dy);
    const double steps = std::floor(distance / spacing);
    if (!(steps >= 1.0))
        return 0;
    const size_t n = steps >= static_cast<double>(count) ? count : static_cast<size_t>(steps);
    const CVector2D direction(static_cast<float>(dx / distance), static_cast<float>(dy / distance));
    for (size_t i = 0; i < n; ++i)
    {
        sprites[i].Show();
        sprites[i].SetPosition(from + direction * (static_cast<float>(spacing) * static_cast<float>(i)));
    }
    return n;
}
