#pragma once
// A coarse grid over the playfield (cells of 32 units) in which every object
// spreads a push away from itself, weighted by its mass and fading ring by ring,
// so that steering can read which way the crowd pushes at any point. Cells hold
// tenths; they are kept in 32 bits, since many heavy objects overflow 16.

#include "core/Vector2D.h"

#include <cstdint>
#include <vector>

class CGameObject;

class CPushGrid
{
public:
    static constexpr int32_t CELL_SHIFT = 5;
    static constexpr float SCALE = 1.0f / 32.0f;

    // Cells per side: the world width shifted right by 5; all zero.
    void Init(int32_t worldWidth);
    // Moves the object's push to the cell of its position: takes the push away where
    // it was placed (unless it never was) and, unless removeOnly, adds it around the
    // new cell. Rings m = 1, 2, ... (side 2m) each get the unit vector from the centre
    // cell times the weight times 10, truncated; the weight starts at the mass and
    // falls to 60% per ring once the ring is wider than the half sizes (in cells).
    void AddPush(CGameObject& object, float halfX, float halfY, bool removeOnly);
    // The push at a point, in units; zero outside the grid.
    CVector2D GetPush(const CVector2D& position) const;

    int32_t GetCellsPerSide() const { return m_cells; }
    // A cell's raw sums (tenths); zero outside the grid.
    void GetCell(int32_t x, int32_t y, int32_t& pushX, int32_t& pushY) const;
    // The cell a position falls in.
    static int32_t CellOf(float coordinate);

private:
    void AddRing(int32_t cx, int32_t cy, int32_t ring, int32_t weight);
    void AddToCell(int32_t x, int32_t y, int32_t cx, int32_t cy, int32_t weight);

    std::vector<int32_t> m_push; // x, y pairs
    int32_t m_cells = 0;
    int32_t m_worldWidth = 0;
};
