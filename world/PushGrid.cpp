#include "world/PushGrid.h"

#include "world/GameObject.h"

#include <cmath>

void CPushGrid::Init(int32_t worldWidth)
{
    m_worldWidth = worldWidth;
    m_cells = worldWidth > 0 ? worldWidth >> CELL_SHIFT : 0;
    m_push.assign(static_cast<size_t>(m_cells) * static_cast<size_t>(m_cells) * 2, 0);
}

int32_t CPushGrid::CellOf(float coordinate)
{
    return static_cast<int32_t>(std::floor(coordinate * SCALE));
}

void CPushGrid::GetCell(int32_t x, int32_t y, int32_t& pushX, int32_t& pushY) const
{
    pushX = pushY = 0;
    if (x < 0 || y < 0 || x >= m_cells || y >= m_cells)
        return;
    size_t index = (static_cast<size_t>(y) * static_cast<size_t>(m_cells) + static_cast<size_t>(x)) * 2;
    pushX = m_push[index];
    pushY = m_push[index + 1];
}

CVector2D CPushGrid::GetPush(const CVector2D& position) const
{
    int32_t x = 0;
    int32_t y = 0;
    GetCell(CellOf(position.x), CellOf(position.y), x, y);
    return CVector2D(static_cast<float>(x) * 0.1f, static_cast<float>(y) * 0.1f);
}

// Each axis is checked on its own, so a cell past the left or right edge never
// wraps into the neighbouring row.
void CPushGrid::AddToCell(int32_t x, int32_t y, int32_t cx, int32_t cy, int32_t weight)
{
    if (x < 0 || y < 0 || x >= m_cells || y >= m_cells)
        return;
    // An exact unit vector: a push straight along an axis is whole tenths.
    CVector2D unit(static_cast<float>(x - cx), static_cast<float>(y - cy));
    float length = std::sqrt(unit.Dot(unit));
    unit = unit * (1.0f / length);
    size_t index = (static_cast<size_t>(y) * static_cast<size_t>(m_cells) + static_cast<size_t>(x)) * 2;
    m_push[index] += static_cast<int32_t>(unit.x * static_cast<float>(weight) * 10.0f);
    m_push[index + 1] += static_cast<int32_t>(unit.y * static_cast<float>(weight) * 10.0f);
}

void CPushGrid::AddRing(int32_t cx, int32_t cy, int32_t m, int32_t weight)
{
    for (int32_t x = cx - m; x <= cx + m - 1; ++x)
    {
        AddToCell(x, cy - m, cx, cy, weight);
        AddToCell(x, cy + m, cx, cy, weight);
    }
    for (int32_t y = cy - m; y <= cy + m - 1; ++y)
    {
        AddToCell(cx - m, y, cx, cy, weight);
        AddToCell(cx + m, y, cx, cy, weight);
    }
}

namespace
{
// The ring after which the weight starts to fall.
bool RingIsWide(int32_t m, float halfX, float halfY)
{
    float cellsX = halfX * CPushGrid::SCALE;
    float cellsY = halfY * CPushGrid::SCALE;
    if (cellsX < 1.0f)
        cellsX = 1.0f;
    if (cellsY < 1.0f)
        cellsY = 1.0f;
    return static_cast<float>(2 * m) > cellsX && static_cast<float>(2 * m) > cellsY;
}
} // namespace

void CPushGrid::AddPush(CGameObject& object, float halfX, float halfY, bool removeOnly)
{
    SObjectInfo& info = object.GetInfo();
    SPushPlacement& placed = object.GetBody().push;
    const bool hadPush = !info.pushPending;
    const SPushPlacement old = placed;

    // A negative mass would never fade to 0.
    int32_t mass = object.GetBody().mass < 0 ? 0 : object.GetBody().mass;
    int32_t newX = CellOf(object.GetPosition().x);
    int32_t newY = CellOf(object.GetPosition().y);

    // The old push is withdrawn with the weight and size it was placed with.
    if (hadPush)
    {
        int32_t weight = old.mass;
        for (int32_t m = 1;; ++m)
        {
            AddRing(old.cellX, old.cellY, m, -weight);
            if (RingIsWide(m, old.halfX, old.halfY))
                weight = static_cast<int32_t>(std::floor(static_cast<float>(weight) * 0.6f));
            if (weight <= 0)
                break;
        }
    }
    placed.cellX = newX;
    placed.cellY = newY;
    if (!removeOnly)
    {
        int32_t weight = mass;
        for (int32_t m = 1;; ++m)
        {
            AddRing(newX, newY, m, weight);
            if (RingIsWide(m, halfX, halfY))
                weight = static_cast<int32_t>(std::floor(static_cast<float>(weight) * 0.6f));
            if (weight <= 0)
                break;
        }
        placed.mass = mass;
        placed.halfX = halfX;
        placed.halfY = halfY;
        info.pushPending = false;
    }
    else
    {
        // Withdrawn: the next placement starts afresh.
        placed.mass = 0;
        info.pushPending = true;
    }
}
