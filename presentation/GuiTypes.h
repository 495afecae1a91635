#pragma once
// Shared records and codes of the GUI: events, action codes, control types, the skin's
// pieces and the per-frame action input.

#include <cstdint>

// The one event callback: (owner, control id, event, value). The owner is the value
// given when the control's window was made; screens use it to tell their controls
// from others.
using GuiEventCallback = void (*)(int32_t owner, int32_t controlId, int32_t event, int32_t value);

enum EGuiEvent : int32_t
{
    GUI_EVENT_ACTION = 0,          // a back or navigation action (value: its code), or a character reaching a window
    GUI_EVENT_ACTIVATED = 1,       // select, a click, Enter in an edit box, an alert box closing
    GUI_EVENT_EDIT_CANCELLED = 3,  // Escape or back in an edit box
    GUI_EVENT_FOCUS_GAINED = 5,    // a button gained the focus
    GUI_EVENT_UP_NO_TARGET = 6,    // a list button's up link found no enabled control (value: the named id)
    GUI_EVENT_DOWN_NO_TARGET = 7,  // the same for down
};

// GUI action codes: the rows of the game's nine actions. 2 and 3 are not the GUI's.
enum EGuiAction : int
{
    GUI_ACTION_SELECT = 0,
    GUI_ACTION_BACK = 1,
    GUI_ACTION_UP = 4,
    GUI_ACTION_DOWN = 5,
    GUI_ACTION_LEFT = 6,
    GUI_ACTION_RIGHT = 7,
    GUI_ACTION_SELECT_2 = 8,
};
constexpr int GUI_ACTION_ROWS = 9;

// The nine actions as the GUI reads them each frame. An action counts as pressed
// from the frame its key goes down until it is let go: a tap of a single frame
// fires once, a long hold fires again every 350 ms.
struct SGuiActionInput
{
    bool pressed[GUI_ACTION_ROWS] = {};
};

enum EGuiControlType : int
{
    GUI_TYPE_WINDOW = 1,
    GUI_TYPE_BUTTON = 3,
    GUI_TYPE_IMAGE_BUTTON = 4,
    GUI_TYPE_EDIT_BOX = 5,
    GUI_TYPE_STATIC_IMAGE = 11,
    GUI_TYPE_TEXT_BOX = 12,
    GUI_TYPE_LIST_BUTTON = 13,
    GUI_TYPE_STATIC_TEXT = 14,
    GUI_TYPE_TOOLTIP = 15,
    GUI_TYPE_ALERT_BOX = 16,
};

struct SGuiPoint
{
    int32_t x = 0;
    int32_t y = 0;
};

struct SGuiRect
{
    int32_t x = 0;
    int32_t y = 0;
    int32_t w = 0;
    int32_t h = 0;

    bool Contains(const SGuiPoint& p) const { return p.x >= x && p.y >= y && p.x < x + w && p.y < y + h; }
};

// A piece of the skin texture in texture units: left, top, right, bottom.
struct SGuiUvRect
{
    float u0 = 0.0f;
    float v0 = 0.0f;
    float u1 = 0.0f;
    float v1 = 0.0f;
};

// The skin's 77 pieces. Frame sets 0-3 (windows and buttons) take eleven pieces each,
// set n from 11 n, in the order of EGuiFramePiece.
enum EGuiFramePiece : int
{
    GUI_FRAME_TL_CORNER = 0,
    GUI_FRAME_TR_CORNER,
    GUI_FRAME_BL_CORNER,
    GUI_FRAME_BR_CORNER,
    GUI_FRAME_TOP,
    GUI_FRAME_LEFT,
    GUI_FRAME_RIGHT,
    GUI_FRAME_BOTTOM,
    GUI_FRAME_CLOSEBOX,
    GUI_FRAME_CAPTION,
    GUI_FRAME_BACKGROUND,
    GUI_FRAME_PIECES,
};
constexpr int GUI_PIECE_TOOLTIPS = 44;     // tl, tr, bl, br, br speech bubble, top, left, right, bottom, background
constexpr int GUI_PIECE_ALERTBOX = 54;     // tl, tr, bl, br, top, left, right, bottom, background
constexpr int GUI_PIECE_CONVERSATION = 63; // tl, tr, bl, br, top, left, right, bottom, background, flashy thing
constexpr int GUI_PIECE_MOUSE_NORMAL = 73;
constexpr int GUI_PIECE_MOUSE_WAIT = 74;
constexpr int GUI_PIECE_LIST_LEFT_ARROW = 75;
constexpr int GUI_PIECE_LIST_RIGHT_ARROW = 76;
constexpr int GUI_PIECE_COUNT = 77;

// The border and size values of a skin, in GUI pixels.
struct SGuiSkinSizes
{
    int32_t windowBorderWidth = 0;
    int32_t windowBorderHeight = 0;
    int32_t buttonBorderWidth = 0;
    int32_t buttonBorderHeight = 0;
    int32_t windowCaptionHeight = 0;
    int32_t closeBoxWidth = 0;
    int32_t closeBoxHeight = 0;
    int32_t listButtonArrowWidth = 0;
    int32_t conversationBorderWidth = 0;
    int32_t conversationBorderHeight = 0;
    int32_t conversationFlashyWidth = 0;
    int32_t conversationFlashyHeight = 0;
    int32_t tooltipBorderWidth = 0;
    int32_t tooltipBorderHeight = 0;
    int32_t tooltipSpeechBubbleWidth = 0;
    int32_t tooltipSpeechBubbleHeight = 0;
    int32_t alertBorderWidth = 0;
    int32_t alertBorderHeight = 0;
};

// The skin: its texture, pieces and border sizes (pixels of the GUI space).
struct SGuiSkin : SGuiSkinSizes
{
    int texture = -1;  // renderer texture index; -1 while no skin is loaded
    float invWidth = 0.0f;
    float invHeight = 0.0f;
    SGuiUvRect pieces[GUI_PIECE_COUNT];
};

// Where the nine pieces of a frame lie among the skin's pieces.
struct SGuiFramePieces
{
    int tl, tr, bl, br, top, left, right, bottom, background;
};

// Frame set n (0-3) of windows and buttons.
inline SGuiFramePieces GetWindowFramePieces(int set)
{
    const int b = (set < 0 || set > 3 ? 0 : set) * GUI_FRAME_PIECES;
    return SGuiFramePieces{b + GUI_FRAME_TL_CORNER, b + GUI_FRAME_TR_CORNER, b + GUI_FRAME_BL_CORNER,
                           b + GUI_FRAME_BR_CORNER, b + GUI_FRAME_TOP,       b + GUI_FRAME_LEFT,
                           b + GUI_FRAME_RIGHT,     b + GUI_FRAME_BOTTOM,    b + GUI_FRAME_BACKGROUND};
}

// Draw colours of the controls (ARGB): enabled, enabled but not focused, disabled.
constexpr uint32_t GUI_COLOUR_WHITE = 0xFFFFFFFFu;
constexpr uint32_t GUI_COLOUR_NORMAL = 0xFFF0F0F0u;
constexpr uint32_t GUI_COLOUR_DISABLED = 0xFF808080u;
