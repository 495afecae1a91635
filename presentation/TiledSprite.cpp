#include "presentation/TiledSprite.h"

#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "presentation/SpriteBank.h"

#include <cmath>
#include <new>

bool CTiledSpriteDef::Load(const CDataTree& node, CDefinitionProblems& problems)
{
    bool complete = true;
    const struct
    {
        const char* key;
        int32_t* value;
    } numbers[] = {{"width", &m_columns}, {"height", &m_rows}, {"firstFrame", &m_firstFrame},
                   {"displayLayer", &m_displayLayer}};
    for (const auto& number : numbers)
        if (!node.GetInt(number.key, *number.value))
        {
            problems.AddMissingKey(&node, number.key);
            complete = false;
        }
    const CDataTree* sprite = node.FindBlock("sprite");
    if (!sprite)
    {
        problems.AddMissingKey(&node, "sprite");
        complete = false;
    }
    if (!complete)
        return false;
    if (m_columns < 1 || m_columns > MAX_SIDE || m_rows < 1 || m_rows > MAX_SIDE)
    {
        problems.AddFatal(&node, "a tiled picture of %d x %d cells (each side 1 to %d)", m_columns, m_rows, MAX_SIDE);
        return false;
    }
    if (m_firstFrame < 0)
    {
        problems.AddFatal(&node, "first frame %d is below 0", m_firstFrame);
        return false;
    }
    m_displayLayer = ClampSpritePlane(m_displayLayer);
    m_sprite.Load(*sprite, true);
    m_cellWidth = m_sprite.GetFrameWidth();
    m_cellHeight = m_sprite.GetFrameHeight();
    return true;
}

bool CTiledSprite::MakeCells(const CTiledSpriteDef& def, int plane, bool virtualScreen)
{
    Destroy();
    CSpriteBank* bank = def.GetSprite().GetBank();
    const size_t count = static_cast<size_t>(def.GetColumns() > 0 ? def.GetColumns() : 0) *
                         static_cast<size_t>(def.GetRows() > 0 ? def.GetRows() : 0);
    if (!def.GetSprite().HasFile() || !bank || count == 0)
        return false;
    m_cells.reset(new (std::nothrow) SSpriteInstance*[count]());
    if (!m_cells)
        return false;
    m_def = &def;
    m_bank = bank;
    m_cellCount = count;
    bool complete = true;
    for (size_t i = 0; i < count; ++i)
    {
        SSpriteInstance* cell = nullptr;
        if (!bank->CreateInstance(plane, def.GetSprite().GetFile(), cell))
        {
            complete = false;
            break;
        }
        cell->m_frame = static_cast<uint32_t>(def.GetFirstFrame()) + static_cast<uint32_t>(i);
        cell->m_colour = 0xFFFFFFFF;
        cell->m_scaleX = cell->m_scaleY = 1.0f;
        cell->m_rotation = 0.0f;
        if (virtualScreen)
            cell->m_flags |= SPRITE_VIRTUAL;
        m_cells[i] = cell;
    }
    return complete;
}

bool CTiledSprite::Create(const CTiledSpriteDef& def)
{
    return MakeCells(def, def.GetDisplayLayer(), true);
}

bool CTiledSprite::CreateOnPlane(const CTiledSpriteDef& def, int plane)
{
    return MakeCells(def, ClampSpritePlane(plane), false);
}

void CTiledSprite::PlaceCells(float x, float y, bool roundDown)
{
    if (!m_def)
        return;
    const float width = static_cast<float>(m_def->GetCellWidth());
    const float height = static_cast<float>(m_def->GetCellHeight());
    const size_t columns = static_cast<size_t>(m_def->GetColumns());
    for (size_t i = 0; i < m_cellCount; ++i)
    {
        if (!m_cells[i])
            continue;
        float cellX = x + width * static_cast<float>(i % columns);
        float cellY = y + height * static_cast<float>(i / columns);
        m_cells[i]->m_x = roundDown ? std::floor(cellX) : cellX;
        m_cells[i]->m_y = roundDown ? std::floor(cellY) : cellY;
    }
}

void CTiledSprite::SetTopLeft(float x, float y)
{
    PlaceCells(x, y, false);
}

void CTiledSprite::CenterOn(const CVector2D& point)
{
    if (!m_def)
        return;
    const float width = static_cast<float>(m_def->GetCellWidth());
    const float height = static_cast<float>(m_def->GetCellHeight());
    PlaceCells(point.x - static_cast<float>(m_def->GetColumns()) * width / 2.0f + width / 2.0f,
               point.y - static_cast<float>(m_def->GetRows()) * height / 2.0f + height / 2.0f, true);
}

void CTiledSprite::SetVisible(bool visible)
{
    for (size_t i = 0; i < m_cellCount; ++i)
        if (m_cells[i])
            m_cells[i]->SetVisible(visible);
}

void CTiledSprite::UseVirtualScreen()
{
    for (size_t i = 0; i < m_cellCount; ++i)
        if (m_cells[i])
            m_cells[i]->m_flags |= SPRITE_VIRTUAL;
}

void CTiledSprite::Destroy()
{
    if (m_bank)
        for (size_t i = 0; i < m_cellCount; ++i)
            if (m_cells[i])
                m_bank->DestroyInstance(m_cells[i]);
    m_cells.reset();
    m_cellCount = 0;
    m_def = nullptr;
    m_bank = nullptr;
}
