#pragma once
// The pod grid of the ship-construction screen: the selected design's hull slots
// drawn as frames and its components as icons on a 10 x 10 grid of cells in screen
// space, a cell cursor moved by keys or pointer, picking the component under the
// cursor, and placing a component from the store where the hull slots' rules and the
// component's footprint allow it.
//
// The game flow owns one grid for the whole run; the construction screen opens it on
// the design it edits, updates it every frame and reads its flags. While the finished
// flag is set the grid draws the design but takes no input; SetSelection (a component
// to place) or the screen's edit-pods mode clears it.
//
// Cells outside 0..9 (a hull slot or a footprint beyond the grid) are never used.

#include "core/Vector2D.h"
#include "presentation/AnimatedSprite.h"
#include "presentation/SpriteRef.h"
#include "ships/ComponentKind.h"

#include <cstdint>

class CComponentStoreLink;
class CShipComponentDatabase;
class CShipConfig;
struct SHullPodSlot;
struct SShipPod;

// What the player did this frame, as the grid reads it (ReadGridInput).
struct SGridInput
{
    bool left = false;
    bool right = false;
    bool up = false;
    bool down = false;
    bool fire = false;         // the group-1 fire action or the second confirm
    bool second = false;       // the group-2 fire action or the second pointer button
    bool pointerDown = false;  // the GUI's pointer button
    float pointerX = 0.0f;     // virtual-screen units
    float pointerY = 0.0f;
};

// The actions and pointer of the game's controls and the GUI.
SGridInput ReadGridInput();

class CShipConstructGrid
{
public:
    static constexpr int CELLS = 10;
    static constexpr int SET_COUNT = 8;
    static constexpr int SET_INSTANCES = 35;
    static constexpr uint32_t INPUT_MS = 250;  // real time between two inputs
    static constexpr uint32_t PULSE_MS = 250;
    static constexpr float PULSE_RATE = 0.004f;
    static constexpr float CELL_PITCH = 25.0f;
    static constexpr float CELL_OFFSET_X = 30.5f;
    static constexpr float CELL_OFFSET_Y = 15.5f;
    static constexpr float WIDE_SHIFT = 12.5f;  // a two-cell footprint's centre
    static constexpr float POINTER_REACH = 13.0f;
    static constexpr int FRAME_PLANE = 6;
    static constexpr int ICON_PLANE = 7;
    static constexpr int HIGHLIGHT_PLANE = 8;
    static constexpr float HIGHLIGHT_SCALE = 1.05f;
    static constexpr int DEFAULT_SLOT = 1;

    // The sprite sets in file order: four frame sets, then four icon sets.
    enum ESpriteSet : int
    {
        SET_FRAME_16X16 = 0,
        SET_FRAME_16X32 = 1,
        SET_FRAME_32X16 = 2,
        SET_FRAME_32X32 = 3,
        SET_ICONS_16X16 = 4,
        SET_ICONS_16X32 = 5,
        SET_ICONS_32X16 = 6,
        SET_ICONS_32X32 = 7,
    };
    static const char* const SPRITE_FILES[SET_COUNT];

    struct SCell
    {
        int x = 0;
        int y = 0;
    };

    CShipConstructGrid() = default;
    CShipConstructGrid(const CShipConstructGrid&) = delete;
    CShipConstructGrid& operator=(const CShipConstructGrid&) = delete;

    // The designs and definitions: the running level's unless one is given.
    void SetDatabase(CShipComponentDatabase* database) { m_database = database; }
    // Where placed components come from (none: nothing can be placed).
    void SetStore(CComponentStoreLink* store) { m_store = store; }

    // Loads the eight sprite files, makes the hidden instances of each, selects design
    // slot 1 and clears the state. False when a sprite file does not load (the grid
    // then works without drawing that set).
    bool Init();
    // Selects the design slot, stores the screen position of cell (0, 0), puts the
    // cursor on the first hull slot and rebuilds the cursor table; the input time and
    // the picked, second-button and placement-allowed flags are cleared (finished and
    // placing keep their values).
    void Open(int slot, const CVector2D& origin);
    // Placing mode for the component, not finished, the input time stamped.
    void SetSelection(int32_t kind, int32_t definition);
    // Each frame: the cursor table, the frames and icons, then unless finished the
    // highlight and the input.
    void Update();
    void Update(const SGridInput& input, uint32_t now);
    // Hides all 8 x 35 instances.
    void HideIcons();

    // The selected design (null when its slot is empty).
    CShipConfig* GetDesign() const;
    // The design's pod whose top-left cell is (x, y), or null.
    SShipPod* FindPodAt(int x, int y) const;
    // No non-empty pod of the design covers the cell by its footprint.
    bool IsCellFree(int x, int y) const;
    // The hull slot of the design's hull at the cell, or null (also outside 0..9).
    const SHullPodSlot* FindHullSlot(int x, int y) const;
    // Whether the component may cover the hull slot at the cursor plus (dx, dy).
    bool CanPlaceAt(int32_t kind, int32_t definition, int dx, int dy) const;
    // Whether the selected component may be placed at the cursor (all its cells).
    bool IsPlacementAllowed() const;

    // The cell the cursor goes to from (x, y): within the hull's bounding box.
    SCell MapCell(int x, int y) const;
    // Moves the cursor one cell (the one-more-step rule where the table gives the same cell).
    void StepCursor(int dx, int dy);
    void SetCursor(int x, int y);
    SCell GetCursor() const { return m_cursor; }
    // The screen position of a cell (its centre).
    CVector2D GetCellPosition(int x, int y) const;

    int GetSelectedSlot() const { return m_slot; }
    int32_t GetSelectedKind() const { return m_selectedKind; }
    int32_t GetSelectedDefinition() const { return m_selectedDefinition; }
    bool IsPicked() const { return m_picked; }
    void ClearPicked() { m_picked = false; }
    bool IsSecondButton() const { return m_secondButton; }
    bool IsFinished() const { return m_finished; }
    void SetFinished(bool finished) { m_finished = finished; }
    bool IsPlacing() const { return m_placing; }
    bool IsAllowed() const { return m_allowed; }
    // The construction screen backing out: placing, placement-allowed and second button cleared.
    void ClearPlacement();
    // The edit-pods mode takes the input: finished cleared, input time stamped.
    void GiveInput(uint32_t now);
    uint32_t GetLastInputTime() const { return m_lastInput; }
    // The instances of a set used by the last Update.
    int GetUsedCount(int set) const { return set >= 0 && set < SET_COUNT ? m_used[set] : 0; }
    const CAnimatedSprite& GetSprite(int set, int index) const { return m_sprites[set][index]; }
    // The ARGB colour of the last highlight drawn.
    uint32_t GetHighlightColour() const { return m_highlightColour; }

private:
    CShipComponentDatabase* GetDatabase() const;
    void RebuildCursorTable();
    void HandleInput(const SGridInput& input, uint32_t now);
    bool JumpToPointer(float x, float y);
    void Fire();
    bool Place();

    // Drawing (ShipConstructGridDraw.cpp).
    void DrawDesign();
    void DrawHighlight(uint32_t now);
    // The next instance of the set placed at the footprint of a shape at the cell;
    // null when the set's 35 are used.
    CAnimatedSprite* DrawAt(int set, int32_t shape, int x, int y, uint32_t frame, int plane);
    uint32_t PulseColour(int red, int green, int blue, uint32_t now);

    CShipComponentDatabase* m_database = nullptr;
    CComponentStoreLink* m_store = nullptr;

    SCell m_cursor;
    uint32_t m_lastInput = 0;
    bool m_picked = false;
    bool m_secondButton = false;
    bool m_finished = false;
    bool m_placing = false;
    bool m_allowed = false;
    CSpriteRef m_refs[SET_COUNT];
    CAnimatedSprite m_sprites[SET_COUNT][SET_INSTANCES];
    SCell m_table[CELLS][CELLS];  // [y][x]
    int m_slot = DEFAULT_SLOT;
    CVector2D m_origin;
    int m_used[SET_COUNT] = {};
    uint32_t m_pulseTime = 0;
    bool m_pulsePhase = false;
    int32_t m_selectedKind = COMPONENT_NONE;
    int32_t m_selectedDefinition = 0;
    uint32_t m_highlightColour = 0;
};

// The frame set (0 to 3) of a pod shape; add 4 for its icon set.
int GetShapeFrameSet(int32_t shape);
// The cell of a hull slot's or pod's position; false when it is no cell of the grid.
bool GetGridCell(const CVector2D& position, int& x, int& y);
// Whether a footprint of the shape covers (dx, dy) from its top-left cell.
bool ShapeCovers(int32_t shape, int dx, int dy);
