#pragma once
// Pictures larger than one frame: a grid of cells, each an instance showing the next
// frame of one sprite file (row by row from the top left, from a first frame).

#include "core/Vector2D.h"
#include "presentation/SpriteRef.h"

#include <cstdint>
#include <memory>

class CDataTree;
class CDefinitionProblems;
class CSpriteBank;
struct SSpriteInstance;

class CTiledSpriteDef
{
public:
    // Columns and rows a definition may give (the cells come from the instance pool).
    static constexpr int32_t MAX_SIDE = 64;

    // Keys "width" (columns), "height" (rows), "firstFrame", "displayLayer" and the
    // block "sprite" (loaded with texture option 1), all required; the cell size is
    // the file's frame size. A missing key, or columns or rows outside 1..MAX_SIDE,
    // is a fatal problem and gives false; the loader of the file then ends the program
    // (EndOnBrokenDefinition).
    bool Load(const CDataTree& node, CDefinitionProblems& problems);

    const CSpriteRef& GetSprite() const { return m_sprite; }
    int32_t GetColumns() const { return m_columns; }
    int32_t GetRows() const { return m_rows; }
    int32_t GetFirstFrame() const { return m_firstFrame; }
    int32_t GetDisplayLayer() const { return m_displayLayer; }
    uint32_t GetCellWidth() const { return m_cellWidth; }
    uint32_t GetCellHeight() const { return m_cellHeight; }

private:
    CSpriteRef m_sprite;
    int32_t m_firstFrame = 0;
    int32_t m_columns = 0;
    int32_t m_rows = 0;
    int32_t m_displayLayer = 0;
    uint32_t m_cellWidth = 0;
    uint32_t m_cellHeight = 0;
};

class CTiledSprite
{
public:
    CTiledSprite() = default;
    ~CTiledSprite() { Destroy(); }
    CTiledSprite(const CTiledSprite&) = delete;
    CTiledSprite& operator=(const CTiledSprite&) = delete;

    // One hidden, white, unscaled cell instance per frame on the definition's display
    // layer in virtual-screen units. False when the definition has no file or the
    // instance pool ran out (the cells made so far stay).
    bool Create(const CTiledSpriteDef& def);
    // The same on the given plane, in world units.
    bool CreateOnPlane(const CTiledSpriteDef& def, int plane);
    // Places the top-left cell's centre at (x, y) and the others one cell apart.
    void SetTopLeft(float x, float y);
    // Centres the picture on the point, each cell on a whole unit (rounded down).
    void CenterOn(const CVector2D& point);
    void SetVisible(bool visible);
    void UseVirtualScreen();
    // Gives every cell back.
    void Destroy();

    size_t GetCellCount() const { return m_cellCount; }
    // Null for a cell the pool could not give.
    SSpriteInstance* GetCell(size_t index) const { return index < m_cellCount ? m_cells[index] : nullptr; }

private:
    bool MakeCells(const CTiledSpriteDef& def, int plane, bool virtualScreen);
    void PlaceCells(float x, float y, bool roundDown);

    const CTiledSpriteDef* m_def = nullptr;
    CSpriteBank* m_bank = nullptr;
    std::unique_ptr<SSpriteInstance*[]> m_cells;
    size_t m_cellCount = 0;
};
