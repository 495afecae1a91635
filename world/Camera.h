#pragma once
// Which part of the world is on screen: the view follows an object with an eased
// lag and leads ahead of it by the lag gap, and never leaves the world.
//
// Each update: target = followed object's centre - half the screen; eased +=
// (target - eased) * lag; the view is the eased point while snapping (until eased
// and target are within 2 units), else target + (target - eased); then clamped to
// 0 .. world width - screen size (0 when the world is smaller than the screen).

#include "core/Vector2D.h"

#include <cstdint>

class CWorld;

class CCamera
{
public:
    // Target, view and eased point all at (x, y).
    void SetPosition(float x, float y);
    // Follows the object; with snap the view eases in from where it is now.
    void Follow(int32_t handle, bool snap);
    // Follows the object from its own centre at once.
    void CenterOn(int32_t handle, const CWorld& world);
    // The circle overlaps the screen rectangle at the view point.
    bool IsVisible(const CVector2D& point, float radius) const;
    // One step; the view point comes out in x and y.
    void Update(const CWorld* world, float* x, float* y);

    void SetLag(float lag) { m_lag = lag; }
    float GetLag() const { return m_lag; }
    void SetScreenSize(float width, float height);
    void SetWorldWidth(float width) { m_worldWidth = width; }
    int32_t GetFollowed() const { return m_followed; }
    bool IsSnapping() const { return m_snapping; }
    const CVector2D& GetView() const { return m_view; }
    const CVector2D& GetTarget() const { return m_target; }
    const CVector2D& GetEased() const { return m_eased; }
    float GetScreenWidth() const { return m_screenWidth; }
    float GetScreenHeight() const { return m_screenHeight; }

private:
    CVector2D m_target;
    CVector2D m_view;
    int32_t m_followed = -1;
    bool m_snapping = false;
    CVector2D m_eased;
    float m_lag = 1.0f;
    float m_screenWidth = 640.0f;
    float m_screenHeight = 480.0f;
    float m_worldWidth = 0.0f;
};
