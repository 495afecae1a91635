#pragma once
// What the GUI manager's create operations make each kind of control from: the keys a
// layout file gives a control, or what a screen fills in when it makes one in code.
// Rectangles are in the 640 x 480 GUI space; a child's x and y are relative to the
// inner rectangle of its window.

#include <cstdint>
#include <string>
#include <vector>

// A displayed text: a string-table id, looked up when the control is made and again
// when the strings are refreshed, or a literal text. A layout that names a key the
// table does not have gives neither (an empty text).
struct SGuiText
{
    static constexpr uint32_t NO_ID = 0xFFFFFFFFu;

    uint32_t id = NO_ID;
    std::u16string literal;

    bool HasId() const { return id != NO_ID; }
    static SGuiText FromId(uint32_t id)
    {
        SGuiText text;
        text.id = id;
        return text;
    }
    static SGuiText FromLiteral(const std::u16string& literal)
    {
        SGuiText text;
        text.literal = literal;
        return text;
    }
};

// What every control but a window takes: its place, its ids and its links to the
// controls the up, down, left and right actions move to (-1 none).
struct SGuiControlDesc
{
    int32_t x = 0, y = 0, w = 0, h = 0;
    int32_t controlId = -1;
    int32_t tooltipControlId = -1;
    int32_t upId = -1, downId = -1, leftId = -1, rightId = -1;
    int32_t owner = 0; // carried by the control's events
};

struct SGuiButtonDesc : SGuiControlDesc
{
    SGuiText caption;
    bool alphaTest = false;
    bool alphaBlend = true;
    bool centered = true;
    bool sticky = false;
    int fontId = 0;
    // Sample file names; empty: the skin's default select and backout sounds.
    std::string selectEffect;
    std::string backoutEffect;
};

// w or h 0: the image's own size (plus twice the button border when bordered).
struct SGuiImageButtonDesc : SGuiControlDesc
{
    std::string imageName;
    float uvs[4] = {0.0f, 0.0f, 1.0f, 1.0f}; // the part of the image shown: u0, v0, u1, v1
    bool alphaTest = false;
    bool alphaBlend = true;
    bool bordered = false;
    bool stick = false; // a click toggles the pressed look
};

// w or h 0: the image's own size.
struct SGuiStaticImageDesc : SGuiControlDesc
{
    std::string imageName;
    float uvs[4] = {0.0f, 0.0f, 1.0f, 1.0f};
    bool alphaTest = false;
    bool alphaBlend = false;
};

struct SGuiTextBoxDesc : SGuiControlDesc
{
    SGuiText text;
    bool bordered = true;
    bool singleChar = false;
    bool singleWord = false;
    bool scroll = true;
    int32_t scrollDelay = 0;
    int fontId = 1;
    bool alphaTest = false;
    bool alphaBlend = false;
};

struct SGuiEditBoxDesc : SGuiControlDesc
{
    static constexpr int32_t MAX_LENGTH = 256;

    bool bordered = false;
    int32_t maxLength = MAX_LENGTH; // 1 to 256 characters
    int32_t completedFocusId = -1;  // takes the focus after Enter or select
    int32_t cancelledFocusId = -1;  // takes the focus after Escape or back
    int fontId = 1;
    bool alphaTest = false;
    bool alphaBlend = false;
};

// The options are texts, or in number-range mode the numbers from rangeLow to
// rangeHigh (none when rangeHigh < rangeLow), made when they are shown.
struct SGuiListButtonDesc : SGuiControlDesc
{
    int fontId = 1;
    bool centered = true;
    bool bordered = true;
    bool wrapAround = true;
    std::vector<SGuiText> options;
    bool numberRange = false;
    int32_t rangeLow = 0;
    int32_t rangeHigh = -1;
    bool alphaTest = false;
    bool alphaBlend = true;
};

// Only x and y count: the text is drawn from there.
struct SGuiStaticTextDesc : SGuiControlDesc
{
    int fontId = 1;
    SGuiText text;
};

struct SGuiTooltipDesc : SGuiControlDesc
{
    int fontId = 1;
    SGuiText caption;
    bool speechBubble = false;
    bool bordered = true;
};

// A page of an alert box: one string-table text (wrapped to the box) or literal lines.
struct SGuiAlertPage
{
    uint32_t textId = SGuiText::NO_ID;
    std::vector<std::u16string> lines;
};

struct SGuiAlertBoxDesc : SGuiControlDesc
{
    int fontId = 1;
    std::vector<SGuiAlertPage> pages; // at least one
    int32_t speechBubbleId = -1;
    int32_t speechBubbleX = 0;
    int32_t speechBubbleY = 0;
};
