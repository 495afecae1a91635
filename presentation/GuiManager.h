#pragma once
// The process-wide owner of every GUI control (g_gui).
//
// Controls live in one table of 1024 entries; a control's handle is its index.
// Top-level windows sit on four layers (0 to 3, each ordered front first), drawn as
// the draw hooks of sprite-bank planes 4, 10, 16 and 19. One control holds the
// keyboard focus. Each frame the application calls, in this order:
//   SetActionInput (the nine actions' state), StampFrameTime, Update (typed
//   characters to the focus; up, down, left, right, select and back to the focus,
//   on the first frame and then every 350 ms while pressed), UpdateMouse (hover
//   focus, press, click).
// Everything that happens reaches one event callback (GuiTypes.h).
//
// Callbacks may close any window, their own too: a removed control leaves the table
// and the focus at once and is deleted when the manager's current step is over, and
// every walk re-reads controls by handle after each call it makes.

#include "presentation/Font.h"
#include "presentation/GuiTypes.h"

#include <cstdint>
#include <string>
#include <vector>

class CDataTree;
class CGuiControl;
class CGuiWindow;
class CRenderer;
class CSpriteBank;
struct SGuiAlertBoxDesc;
struct SGuiButtonDesc;
struct SGuiEditBoxDesc;
struct SGuiImageButtonDesc;
struct SGuiLayoutWindow;
struct SGuiListButtonDesc;
struct SGuiSkinDefinition;
struct SGuiStaticImageDesc;
struct SGuiStaticTextDesc;
struct SGuiTextBoxDesc;
struct SGuiTooltipDesc;
struct SGuiWindowDesc;
struct SScreenVertex;

// The game singleton's keyboard flag: an edit box clears it while focused, so typed
// letters do not also steer the game.
using GuiKeyboardFlagHook = void (*)(bool enabled);
// The GUI's real-time clock in milliseconds (the system tick count by default).
using GuiClock = uint32_t (*)();

class CGuiManager
{
public:
    static constexpr int MAX_CONTROLS = 1024;
    static constexpr int LAYER_COUNT = 4;
    static constexpr int FONT_COUNT = 4;
    static constexpr int32_t ACTION_REPEAT_MS = 350;
    static constexpr int32_t CLICK_GAP_MS = 250;
    static constexpr int CURSOR_SIZE = 16; // screen pixels
    // Sprite-bank planes whose draw hooks draw layers 0 to 3.
    static constexpr int LAYER_PLANES[LAYER_COUNT] = {4, 10, 16, 19};

    enum EDefaultSound
    {
        SOUND_SELECT,
        SOUND_BACKOUT,
        SOUND_INCDEC,
        SOUND_NAVIGATE,
        SOUND_ALERT,
        SOUND_COUNT,
    };

    // Empty table and layers, no focus, cursor show count 1; sets g_gui.
    explicit CGuiManager(CRenderer& renderer);
    ~CGuiManager();
    CGuiManager(const CGuiManager&) = delete;
    CGuiManager& operator=(const CGuiManager&) = delete;

    CRenderer& GetRenderer() const { return m_renderer; }

    // ---- fonts and skin -------------------------------------------------------
    // Loads the skin NAME: the texture "data/gui/NAME.tga" and the definition
    // "data/gui/NAME.skin" (GuiSkinFile.h), then its fonts and default sounds. False
    // (and no skin texture) when the texture does not load or has no pixels, the
    // definition is incomplete or the system font does not load.
    bool LoadSkin(const char* name);
    // The fonts a skin names: the system font (fix-ups 0) and fonts 0-3 with their
    // fix-ups. False when the system font does not load; a font 0-3 that fails is
    // logged and left out.
    bool LoadSkinFonts(const SGuiSkinDefinition& skin);
    // Font 0 to 3 when loaded, else null (any other index too).
    CFont* GetFont(int index);
    CFont& GetSystemFont() { return m_systemFont; }
    // The font a control draws with: font 0-3, or the system font for any other index
    // or a font that did not load.
    CFont& GetFontOrSystem(int index);
    // The skin's texture, pieces and sizes (filled by the skin reader).
    SGuiSkin& GetSkin() { return m_skin; }
    const SGuiSkin& GetSkin() const { return m_skin; }
    // Loads a default sound by its file name (empty or null: none).
    void SetDefaultSound(EDefaultSound which, const char* fileName);
    int GetDefaultSound(EDefaultSound which) const;
    // After the audio restarts: the default sounds and every control's own again.
    void ResolveSounds();

    // ---- frame ----------------------------------------------------------------
    void InstallLayerDrawCallbacks(CSpriteBank& bank);
    void SetActionInput(const SGuiActionInput& input) { m_actions = input; }
    void StampFrameTime();
    uint32_t GetFrameTime() const { return m_frameTime; }
    void SetClock(GuiClock clock) { m_clock = clock; }
    void Update();
    void UpdateMouse();
    // The repeat of an action starts again (it fires next after 350 ms).
    void RestartActionRepeat(int action);
    // The variable "constrainmouse" (owned by the caller, read every Update): while
    // it is on, the pointer stays in the game window. Null: off.
    void SetConstrainMouseVariable(const bool* variable) { m_constrainMouse = variable; }

    // ---- events ---------------------------------------------------------------
    void SetEventCallback(GuiEventCallback callback) { m_eventCallback = callback; }
    GuiEventCallback GetEventCallback() const { return m_eventCallback; }
    void RaiseEvent(int32_t owner, int32_t controlId, int32_t event, int32_t value);
    void SetKeyboardFlagHook(GuiKeyboardFlagHook hook) { m_keyboardHook = hook; }
    void SetGameKeyboardFlag(bool enabled);

    // ---- controls -------------------------------------------------------------
    // Handles outside 0..1023 and empty entries give null.
    CGuiControl* GetControl(int handle) const;
    CGuiWindow* GetWindow(int handle) const;
    // The lowest handle whose control has the id; false when none.
    bool FindControlById(int controlId, int& handle) const;
    // As FindControlById, but a control in the same top-level window as `near` comes
    // first: layouts loaded twice (popups) reuse their ids.
    int FindControlNear(const CGuiControl& near, int controlId) const;
    int FindFreeHandle() const;
    // Counts the controls a handle has held: a handle kept across frames still names
    // the same control while its generation is the one it had then.
    uint32_t GetHandleGeneration(int handle) const
    {
        return (handle < 0 || handle >= MAX_CONTROLS) ? 0 : m_generations[handle];
    }
    // Takes a new control into the lowest free entry and gives its handle; false (and
    // the control deleted) when the table is full.
    bool AddControl(CGuiControl* control, int& handle);
    // The create operations: the control in the lowest free entry, made from its
    // description; false (and handle -1) when the table is full or the control cannot
    // be made. A 3D window's drawing is set on it afterwards (GuiWindow3D.h).
    bool CreateWindowControl(const SGuiWindowDesc& desc, int& handle);
    bool CreateWindow3DControl(const SGuiWindowDesc& desc, int& handle);
    bool CreateButton(const SGuiButtonDesc& desc, int& handle);
    bool CreateImageButton(const SGuiImageButtonDesc& desc, int& handle);
    bool CreateStaticImage(const SGuiStaticImageDesc& desc, int& handle);
    bool CreateTextBox(const SGuiTextBoxDesc& desc, int& handle);
    bool CreateEditBox(const SGuiEditBoxDesc& desc, int& handle);
    bool CreateListButton(const SGuiListButtonDesc& desc, int& handle);
    bool CreateStaticText(const SGuiStaticTextDesc& desc, int& handle);
    bool CreateTooltip(const SGuiTooltipDesc& desc, int& handle);
    bool CreateAlertBox(const SGuiAlertBoxDesc& desc, int& handle);

    // ---- layouts --------------------------------------------------------------
    // Builds every window of a layout file (GuiLayoutFile.h): top-level windows go on
    // their layers, hidden, for the caller to show; every control carries the owner
    // in its events. The handles made (windows and controls, in the order made) are
    // appended to handles when given. A control that cannot be made is skipped. False
    // when the file cannot be read.
    bool LoadLayout(const char* file, int32_t owner, std::vector<int>* handles = nullptr);
    // The control with the id among the handles of one layout (-1 for none), so two
    // open layouts that use the same ids never find each other's controls.
    int FindControlInLayout(const std::vector<int>& handles, int controlId) const;

    // The pilot's name, shown where a text holds "[p_name]".
    void SetPilotName(const std::u16string& name) { m_pilotName = name; }
    const std::u16string& GetPilotName() const { return m_pilotName; }
    void DestroyControl(int handle);
    void CloseControl(int handle);
    // Detaches the control from its parent or layer, clears its table entry and the
    // focus it held, and deletes it at the end of the current step.
    void RemoveControl(CGuiControl* control);
    // Every control that is not a window, then every window.
    void DestroyAllControls();

    // ---- layers ---------------------------------------------------------------
    // Layers outside 0..3 are taken as the nearest of them.
    bool AddWindowToLayer(int handle, int layer);
    bool RemoveWindowFromLayer(int handle);
    void BringWindowToFront(int handle);
    // Handles of the layer's windows, front first.
    const std::vector<int>& GetLayer(int layer) const;

    // ---- focus ----------------------------------------------------------------
    // -1 gives the focus to the first window of layer 2, 1 or 0 that takes it.
    bool SetFocus(int handle);
    bool FocusFirstInLayer(int layer);
    CGuiControl* GetFocus() const { return GetControl(m_focus); }
    int GetFocusHandle() const { return m_focus; }
    // The navigation rule: from the control named by targetId (looked up near `from`),
    // the first enabled control along the links of the action; -1 for none (a missing
    // link or id, or a chain that comes back on itself).
    int FindNavigationTarget(const CGuiControl& from, int targetId, int action) const;
    bool IsModal() const { return m_modal; }
    void SetModal(bool modal) { m_modal = modal; }

    // ---- pointer --------------------------------------------------------------
    void GetMousePosition(int& x, int& y) const;
    // Adds 1 or -1 to the cursor show count, never below 0; the cursor is drawn
    // while the count is above 0. Gives the count.
    int ShowMouseCursor(bool show);
    bool IsRightButtonHeld() const { return m_rightHeld; }
    // A click of this frame's pointer steps that no control took (the galaxy map's
    // choice by pointer), in virtual-screen units: given once, then forgotten; the
    // next pointer step forgets it too.
    bool TakeFreeClick(int& x, int& y);
    bool IsLeftButtonDown() const { return m_buttonDown; }

    // ---- drawing helpers ------------------------------------------------------
    // The focus highlight: opaque grey pulsing between 128 and 255.
    uint32_t GetHighlightColour() const { return m_highlightColour; }
    // Six vertices (two triangles) of a rectangle in GUI coordinates textured with a
    // skin piece, its texture corners moved in by the skin inset.
    void MakeScreenQuad(float x, float y, float z, float w, float h, const SGuiUvRect& piece, uint32_t colour,
                        SScreenVertex out[6]) const;
    // Skin pieces in one batch of the skin texture; nothing without a skin.
    bool DrawSkinPiece(const SGuiRect& rect, int piece, uint32_t colour, float z, bool blend, bool alphaTest);
    // A nine-piece frame: corners of the border size, edges along sides longer than
    // 10, the background inside the border when both sides are.
    bool DrawFrame(const SGuiRect& rect, const SGuiFramePieces& pieces, int borderW, int borderH, uint32_t colour,
                   float z, bool background, bool blend, bool alphaTest);
    void DrawLayer(int layer, float z);
    // While the layers are hidden (a full-screen sequence covers the game) their hooks
    // draw nothing, the pointer cursor included; the controls keep their own state.
    void SetLayersHidden(bool hidden) { m_layersHidden = hidden; }
    bool AreLayersHidden() const { return m_layersHidden; }

    // Closes every window of the four layers and releases the skin texture.
    void Shutdown();

private:
    friend class CGuiStep;
    static void LayerHook(uint32_t layer, float depth);
    void StepHighlight();
    void DrawCursor(float z);
    void ApplyConstrainMouse();
    void HandlePointerEvent(int32_t x, int32_t y, int32_t flags);
    // Offers the windows of layers 3 to 0, front first, to `offer` until it accepts or
    // the first visible, enabled window that is not a dummy was offered.
    template <typename Offer>
    void WalkWindows(bool skipDummies, Offer offer);
    // Takes a new control and initialises it (its Initialise); the control is removed
    // again when that fails.
    bool AddInitialisedControl(CGuiControl* control, int& handle);
    // A layout window and, recursively, the controls inside it.
    bool BuildLayoutWindow(const SGuiLayoutWindow& window, bool topLevel, int32_t owner, CGuiWindow* parent,
                           std::vector<int>* handles);
    void DeleteClosedControls();
    static bool IsActionPressed(const SGuiActionInput& input, int action);

    CRenderer& m_renderer;
    GuiClock m_clock;
    // Repeat stamps of up, down, left, right, select and back.
    int32_t m_repeatStamps[6] = {};
    SGuiActionInput m_actions;
    SGuiPoint m_pointer;
    SGuiPoint m_previousPointer;
    SGuiSkin m_skin;
    float m_insetU = 0.0f;
    float m_insetV = 0.0f;
    CGuiControl* m_controls[MAX_CONTROLS] = {};
    uint32_t m_generations[MAX_CONTROLS] = {};
    std::vector<int> m_layers[LAYER_COUNT];
    int m_focus = -1;
    bool m_modal = false;
    CFont m_systemFont;
    CFont m_fonts[FONT_COUNT];
    // Pointer block.
    int m_highlightLevel = 255;
    uint32_t m_highlightColour = 0xFFFFFFFF;
    bool m_highlightRising = false;
    SGuiPoint m_pressPosition;
    uint32_t m_lastClickTime = 0;
    bool m_clickedBefore = false;
    int m_cursorShowCount = 1;
    bool m_layersHidden = false;
    bool m_buttonDown = false;
    bool m_dragging = false;
    bool m_rightHeld = false;
    bool m_freeClick = false;
    SGuiPoint m_freeClickPoint;
    const bool* m_constrainMouse = nullptr;
    bool m_pointerConstrained = false;
    uint32_t m_frameTime = 0;
    int m_defaultSounds[SOUND_COUNT] = {-1, -1, -1, -1, -1};
    std::string m_defaultSoundNames[SOUND_COUNT];
    GuiEventCallback m_eventCallback = nullptr;
    GuiKeyboardFlagHook m_keyboardHook = nullptr;
    std::u16string m_pilotName;
    // Removed controls waiting to be deleted at the end of the current step.
    std::vector<CGuiControl*> m_closed;
    int m_stepDepth = 0;
};

// Plays a sample at volume 0.7, priority 1, not looped; -1 plays nothing.
void PlayGuiSound(int sample);

extern CGuiManager* g_gui;
