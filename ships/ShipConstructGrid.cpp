#include "ships/ShipConstructGrid.h"

#include "core/RealTimeClock.h"
#include "presentation/GuiManager.h"
#include "presentation/SpriteTypes.h"
#include "ships/ComponentStoreLink.h"
#include "ships/ShipComponentDatabase.h"
#include "ships/ShipLevelData.h"
#include "world/Controls.h"
#include "world/Game.h"

#include <algorithm>
#include <cmath>

const char* const CShipConstructGrid::SPRITE_FILES[SET_COUNT] = {
    "data\\frontend\\shipconstruct\\icons\\frame16x16.spr", "data\\frontend\\shipconstruct\\icons\\frame16x32.spr",
    "data\\frontend\\shipconstruct\\icons\\frame32x16.spr", "data\\frontend\\shipconstruct\\icons\\frame32x32.spr",
    "data\\frontend\\shipconstruct\\icons\\icons16x16.spr", "data\\frontend\\shipconstruct\\icons\\icons16x32.spr",
    "data\\frontend\\shipconstruct\\icons\\icons32x16.spr", "data\\frontend\\shipconstruct\\icons\\icons32x32.spr",
};

namespace
{
// Game actions the grid reads (the flight rows of the controls).
enum EGridAction : int
{
    ACTION_FIRE_1 = 0,
    ACTION_FIRE_2 = 1,
    ACTION_THRUST = 4,
    ACTION_REVERSE = 5,
    ACTION_TURN_LEFT = 6,
    ACTION_TURN_RIGHT = 7,
    ACTION_CONFIRM_2 = 8,
};

bool IsInGrid(int x, int y)
{
    return x >= 0 && y >= 0 && x < CShipConstructGrid::CELLS && y < CShipConstructGrid::CELLS;
}

bool IsActive(const CControls& controls, int action)
{
    const SControlAction& state = controls.GetAction(action);
    return state.down || state.held;
}

bool TimeHasCome(uint32_t now, uint32_t when)
{
    return static_cast<int32_t>(now - when) >= 0;
}
} // namespace

bool GetGridCell(const CVector2D& position, int& x, int& y)
{
    if (!std::isfinite(position.x) || !std::isfinite(position.y))
        return false;
    const float fx = std::floor(position.x + 0.5f);
    const float fy = std::floor(position.y + 0.5f);
    if (fx < 0.0f || fy < 0.0f || fx >= CShipConstructGrid::CELLS || fy >= CShipConstructGrid::CELLS)
        return false;
    x = static_cast<int>(fx);
    y = static_cast<int>(fy);
    return true;
}

int GetShapeFrameSet(int32_t shape)
{
    switch (shape)
    {
    case POD_SHAPE_TWO_HORIZ:
        return CShipConstructGrid::SET_FRAME_32X16;
    case POD_SHAPE_TWO_VERT:
        return CShipConstructGrid::SET_FRAME_16X32;
    case POD_SHAPE_TWO_BY_TWO:
        return CShipConstructGrid::SET_FRAME_32X32;
    default:
        return CShipConstructGrid::SET_FRAME_16X16;
    }
}

bool ShapeCovers(int32_t shape, int dx, int dy)
{
    if (dx == 0 && dy == 0)
        return true;
    switch (shape)
    {
    case POD_SHAPE_TWO_HORIZ:
        return dx == 1 && dy == 0;
    case POD_SHAPE_TWO_VERT:
        return dx == 0 && dy == 1;
    case POD_SHAPE_TWO_BY_TWO:
        return dx >= 0 && dx <= 1 && dy >= 0 && dy <= 1;
    default:
        return false;
    }
}

SGridInput ReadGridInput()
{
    SGridInput input;
    if (CGame* game = GetGame())
    {
        const CControls& controls = game->GetControls();
        input.left = IsActive(controls, ACTION_TURN_LEFT);
        input.right = IsActive(controls, ACTION_TURN_RIGHT);
        input.up = IsActive(controls, ACTION_THRUST);
        input.down = IsActive(controls, ACTION_REVERSE);
        input.fire = IsActive(controls, ACTION_FIRE_1) || IsActive(controls, ACTION_CONFIRM_2);
        input.second = IsActive(controls, ACTION_FIRE_2);
    }
    if (g_gui)
    {
        int x = 0;
        int y = 0;
        g_gui->GetMousePosition(x, y);
        input.pointerX = static_cast<float>(x);
        input.pointerY = static_cast<float>(y);
        input.pointerDown = g_gui->IsLeftButtonDown();
        input.second = input.second || g_gui->IsRightButtonHeld();
    }
    return input;
}

bool CShipConstructGrid::Init()
{
    bool ok = true;
    for (int set = 0; set < SET_COUNT; ++set)
    {
        for (CAnimatedSprite& sprite : m_sprites[set])
            sprite.Destroy();
        m_refs[set].Release();
        ok = m_refs[set].SetFile(SPRITE_FILES[set], true) && ok;
        for (CAnimatedSprite& sprite : m_sprites[set])
        {
            sprite.Init(m_refs[set], FRAME_PLANE);
            sprite.SetFlags(SPRITE_SNAP | SPRITE_VIRTUAL, true);
        }
    }
    m_slot = DEFAULT_SLOT;
    m_cursor = SCell();
    m_lastInput = 0;
    m_picked = m_secondButton = m_finished = m_placing = m_allowed = false;
    m_selectedKind = COMPONENT_NONE;
    m_selectedDefinition = 0;
    std::fill(std::begin(m_used), std::end(m_used), 0);
    RebuildCursorTable();
    return ok;
}

CShipComponentDatabase* CShipConstructGrid::GetDatabase() const
{
    return m_database ? m_database : GetLevelShipDatabase();
}

CShipConfig* CShipConstructGrid::GetDesign() const
{
    CShipComponentDatabase* database = GetDatabase();
    return database ? database->GetShipConfig(m_slot) : nullptr;
}

void CShipConstructGrid::Open(int slot, const CVector2D& origin)
{
    m_slot = slot;
    m_origin = origin;
    m_cursor = SCell();
    const CShipConfig* design = GetDesign();
    const CShipComponentDatabase* database = GetDatabase();
    const CHullDef* hull = design && database ? database->GetHullDef(design->m_hull) : nullptr;
    if (hull)
    {
        for (const SHullPodSlot& hullSlot : hull->m_podSlots)
            if (GetGridCell(hullSlot.m_position, m_cursor.x, m_cursor.y))
                break;
    }
    RebuildCursorTable();
    m_lastInput = 0;
    m_picked = false;
    m_secondButton = false;
    m_allowed = false;
}

void CShipConstructGrid::SetSelection(int32_t kind, int32_t definition)
{
    m_selectedKind = kind;
    m_selectedDefinition = definition;
    m_placing = true;
    m_finished = false;
    m_lastInput = GetRealTimeClock().GetMs();
}

void CShipConstructGrid::ClearPlacement()
{
    m_placing = false;
    m_allowed = false;
    m_secondButton = false;
}

void CShipConstructGrid::GiveInput(uint32_t now)
{
    m_finished = false;
    m_lastInput = now;
}

void CShipConstructGrid::RebuildCursorTable()
{
    int minX = CELLS;
    int minY = CELLS;
    int maxX = -1;
    int maxY = -1;
    const CShipConfig* design = GetDesign();
    const CShipComponentDatabase* database = GetDatabase();
    const CHullDef* hull = design && database ? database->GetHullDef(design->m_hull) : nullptr;
    if (hull)
    {
        for (const SHullPodSlot& hullSlot : hull->m_podSlots)
        {
            int x = 0;
            int y = 0;
            if (!GetGridCell(hullSlot.m_position, x, y))
                continue;
            minX = std::min(minX, x);
            maxX = std::max(maxX, x);
            minY = std::min(minY, y);
            maxY = std::max(maxY, y);
        }
    }
    // Without a hull slot on the grid every cell is its own.
    if (maxX < 0)
    {
        minX = minY = 0;
        maxX = maxY = CELLS - 1;
    }
    for (int y = 0; y < CELLS; ++y)
        for (int x = 0; x < CELLS; ++x)
            m_table[y][x] = SCell{std::clamp(x, minX, maxX), std::clamp(y, minY, maxY)};
}

CShipConstructGrid::SCell CShipConstructGrid::MapCell(int x, int y) const
{
    return m_table[std::clamp(y, 0, CELLS - 1)][std::clamp(x, 0, CELLS - 1)];
}

void CShipConstructGrid::SetCursor(int x, int y)
{
    m_cursor = MapCell(x, y);
}

void CShipConstructGrid::StepCursor(int dx, int dy)
{
    SCell to = MapCell(m_cursor.x + dx, m_cursor.y + dy);
    if (to.x == m_cursor.x && to.y == m_cursor.y)
        to = MapCell(m_cursor.x + 2 * dx, m_cursor.y + 2 * dy);
    m_cursor = to;
}

CVector2D CShipConstructGrid::GetCellPosition(int x, int y) const
{
    return CVector2D(static_cast<float>(x) * CELL_PITCH + m_origin.x + CELL_OFFSET_X,
                     static_cast<float>(y) * CELL_PITCH + m_origin.y + CELL_OFFSET_Y);
}

SShipPod* CShipConstructGrid::FindPodAt(int x, int y) const
{
    CShipConfig* design = GetDesign();
    if (!design || !IsInGrid(x, y))
        return nullptr;
    const int32_t pod = design->FindPodAt(CVector2D(static_cast<float>(x), static_cast<float>(y)));
    return pod >= 0 ? &design->m_pods[pod] : nullptr;
}

bool CShipConstructGrid::IsCellFree(int x, int y) const
{
    const CShipConfig* design = GetDesign();
    const CShipComponentDatabase* database = GetDatabase();
    if (!design || !database)
        return true;
    for (int32_t i = 0; i < design->m_podCount && i < SHIP_CONFIG_POD_MAX; ++i)
    {
        const SShipPod& pod = design->m_pods[i];
        int podX = 0;
        int podY = 0;
        if (pod.m_kind == COMPONENT_NONE || !GetGridCell(pod.m_topLeft, podX, podY))
            continue;
        const CShipComponentDef* def = database->GetComponentDef(pod.m_kind, pod.m_defIndex);
        const int32_t shape = def ? def->m_podShape : POD_SHAPE_ONE;
        if (ShapeCovers(shape, x - podX, y - podY))
            return false;
    }
    return true;
}

const SHullPodSlot* CShipConstructGrid::FindHullSlot(int x, int y) const
{
    const CShipConfig* design = GetDesign();
    const CShipComponentDatabase* database = GetDatabase();
    if (!design || !database || !IsInGrid(x, y))
        return nullptr;
    const CHullDef* hull = database->GetHullDef(design->m_hull);
    return hull ? hull->FindSlot(CVector2D(static_cast<float>(x), static_cast<float>(y))) : nullptr;
}

bool CShipConstructGrid::CanPlaceAt(int32_t kind, int32_t definition, int dx, int dy) const
{
    const SHullPodSlot* slot = FindHullSlot(m_cursor.x + dx, m_cursor.y + dy);
    if (!slot)
        return false;
    if (kind == slot->m_excluded)
        return false;
    const bool gunLike = IsWeaponKind(kind) && kind != COMPONENT_BOMB && kind != COMPONENT_DRONE;
    if (slot->m_specific != COMPONENT_NONE && slot->m_specific != (gunLike ? COMPONENT_ANY_WEAPON : kind))
        return false;
    if (kind == COMPONENT_ENGINE && dx == 0 && slot->m_internal)
        return false;
    if (gunLike && slot->m_internal)
    {
        const CShipComponentDatabase* database = GetDatabase();
        const CShipComponentDef* def = database ? database->GetComponentDef(kind, definition) : nullptr;
        const int32_t shape = def ? def->m_podShape : POD_SHAPE_ONE;
        if (shape == POD_SHAPE_ONE || shape == POD_SHAPE_NONE)
            return false;
        if (shape == POD_SHAPE_TWO_HORIZ && dx == 1)
            return false;
    }
    return true;
}

bool CShipConstructGrid::IsPlacementAllowed() const
{
    const CShipComponentDatabase* database = GetDatabase();
    const CShipComponentDef* def = database ? database->GetComponentDef(m_selectedKind, m_selectedDefinition) : nullptr;
    if (!def)
        return false;
    for (int dy = 0; dy <= 1; ++dy)
        for (int dx = 0; dx <= 1; ++dx)
        {
            if (!ShapeCovers(def->m_podShape, dx, dy))
                continue;
            if (!IsCellFree(m_cursor.x + dx, m_cursor.y + dy) ||
                !CanPlaceAt(m_selectedKind, m_selectedDefinition, dx, dy))
                return false;
        }
    return true;
}

void CShipConstructGrid::Update()
{
    Update(ReadGridInput(), GetRealTimeClock().GetMs());
}

void CShipConstructGrid::Update(const SGridInput& input, uint32_t now)
{
    RebuildCursorTable();
    HideIcons();
    DrawDesign();
    if (m_finished)
        return;
    if (m_placing)
        m_allowed = IsPlacementAllowed();
    DrawHighlight(now);
    HandleInput(input, now);
}

void CShipConstructGrid::HandleInput(const SGridInput& input, uint32_t now)
{
    m_secondButton = input.second;
    if (!TimeHasCome(now, m_lastInput + INPUT_MS))
        return;
    bool acted = false;
    bool fire = input.fire;
    if (input.pointerDown)
    {
        acted = JumpToPointer(input.pointerX, input.pointerY);
        fire = fire || acted;
    }
    else
    {
        const int dx = (input.right ? 1 : 0) - (input.left ? 1 : 0);
        const int dy = (input.down ? 1 : 0) - (input.up ? 1 : 0);
        if (dx != 0 || dy != 0)
        {
            if (dx != 0)
                StepCursor(dx, 0);
            if (dy != 0)
                StepCursor(0, dy);
            acted = true;
        }
    }
    if (fire)
    {
        Fire();
        acted = true;
    }
    if (acted)
        m_lastInput = now;
}

bool CShipConstructGrid::JumpToPointer(float x, float y)
{
    const CShipConfig* design = GetDesign();
    const CShipComponentDatabase* database = GetDatabase();
    const CHullDef* hull = design && database ? database->GetHullDef(design->m_hull) : nullptr;
    if (!hull)
        return false;
    for (int32_t i = 0; i < design->m_podCount && i < SHIP_CONFIG_POD_MAX; ++i)
    {
        int podX = 0;
        int podY = 0;
        if (!GetGridCell(design->m_pods[i].m_topLeft, podX, podY) || !hull->FindSlot(design->m_pods[i].m_topLeft))
            continue;
        const CVector2D centre = GetCellPosition(podX, podY);
        const float ddx = centre.x - x;
        const float ddy = centre.y - y;
        if (ddx * ddx + ddy * ddy <= POINTER_REACH * POINTER_REACH)
        {
            SetCursor(podX, podY);
            return true;
        }
    }
    return false;
}

void CShipConstructGrid::Fire()
{
    if (!m_placing)
    {
        const SShipPod* pod = FindPodAt(m_cursor.x, m_cursor.y);
        if (pod && pod->m_kind != COMPONENT_NONE)
            m_picked = true;
        return;
    }
    if (m_allowed && Place())
    {
        m_picked = true;
        m_placing = false;
        m_finished = true;
    }
}

// Everything that could refuse is checked first, so a refused placement leaves the
// design and the store as they were: the store must hold the item, and a weapon's
// group must have room.
bool CShipConstructGrid::Place()
{
    CShipConfig* design = GetDesign();
    SShipPod* pod = FindPodAt(m_cursor.x, m_cursor.y);
    if (!design || !pod || !m_store || m_store->CountStoredItem(m_selectedKind, m_selectedDefinition) <= 0)
        return false;
    const CVector2D position(static_cast<float>(m_cursor.x), static_cast<float>(m_cursor.y));
    const bool weapon = IsWeaponKind(m_selectedKind);
    const int group = m_selectedKind == COMPONENT_MISSILE || m_selectedKind == COMPONENT_BOMB ? 2 : 1;
    if (weapon)
    {
        const int32_t index = static_cast<int32_t>(pod - design->m_pods);
        const SWeaponGroup& to = design->GetWeaponGroup(group);
        if (!to.Contains(index) && to.m_count >= WEAPON_GROUP_MAX)
            return false;
    }
    if (!m_store->TakeStoredItem(m_selectedKind, m_selectedDefinition))
        return false;
    pod->m_kind = static_cast<EComponentKind>(m_selectedKind);
    pod->m_defIndex = m_selectedDefinition;
    if (weapon)
        design->AssignToWeaponGroup(group, position);
    return true;
}
