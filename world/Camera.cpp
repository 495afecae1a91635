#include "world/Camera.h"

#include "world/GameObject.h"
#include "world/World.h"

namespace
{
float Clamp(float value, float max)
{
    if (value > max)
        value = max;
    return value < 0.0f ? 0.0f : value;
}
} // namespace

void CCamera::SetPosition(float x, float y)
{
    m_target = m_view = m_eased = CVector2D(x, y);
}

void CCamera::SetScreenSize(float width, float height)
{
    m_screenWidth = width;
    m_screenHeight = height;
}

void CCamera::Follow(int32_t handle, bool snap)
{
    m_followed = handle;
    if (snap)
    {
        m_eased = m_view;
        m_target = m_view;
        m_snapping = true;
    }
}

void CCamera::CenterOn(int32_t handle, const CWorld& world)
{
    m_followed = handle;
    CGameObject* object = world.GetObject(handle);
    if (object)
        m_eased = object->GetPosition() - CVector2D(m_screenWidth * 0.5f, m_screenHeight * 0.5f);
    float x = 0.0f;
    float y = 0.0f;
    Update(&world, &x, &y);
}

bool CCamera::IsVisible(const CVector2D& point, float radius) const
{
    return point.x + radius >= m_view.x && point.x - radius <= m_view.x + m_screenWidth &&
           point.y + radius >= m_view.y && point.y - radius <= m_view.y + m_screenHeight;
}

void CCamera::Update(const CWorld* world, float* x, float* y)
{
    CGameObject* object = world ? world->GetObject(m_followed) : nullptr;
    if (object)
        m_target = object->GetPosition() - CVector2D(m_screenWidth * 0.5f, m_screenHeight * 0.5f);
    m_eased += (m_target - m_eased) * m_lag;
    if (m_snapping)
    {
        m_view = m_eased;
        if ((m_eased - m_target).Length() < 2.0f)
            m_snapping = false;
    }
    else
        m_view = m_target + (m_target - m_eased);
    m_view.x = Clamp(m_view.x, m_worldWidth - m_screenWidth);
    m_view.y = Clamp(m_view.y, m_worldWidth - m_screenHeight);
    if (x)
        *x = m_view.x;
    if (y)
        *y = m_view.y;
}
