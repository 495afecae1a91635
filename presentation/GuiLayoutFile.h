#pragma once
// Layout files: the windows of a screen, popup or chat box and the controls inside
// them, read into the description records the GUI manager's create operations take.
//
// A layout is a data tree whose first top-level block (of any name) holds the
// windows: its child blocks named "window". Every other child is passed over. The
// child blocks of a window are its controls, named by class: "window", "button",
// "imagebutton", "staticimage", "textbox", "editbox", "listbutton", "statictext",
// "tooltip" and "alertbox" (without regard to case); a block of any other name is
// skipped. A window inside a window holds controls of its own in the same way.
//
// Texts come from the first present of three keys: a string-table key (looked up at
// once and kept as an id), a numeric string id, or a literal text.
//
// Values the game corrects are taken in range: a layer outside 0..3 (default 2) and
// a font id outside 0..3 (-1 is the class's default), a frame index outside 0..3
// (0), a maximum edit length outside 1..256. An alert box without pages makes
// nothing. Each correction, a skipped block and a text key the string table does not
// have is reported as a warning.

#include "presentation/GuiControlDescs.h"

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

class CDataTree;
class CDefinitionProblems;
class CStringTable;

struct SGuiLayoutControl;

// A window's keys, and the controls inside it in file order.
struct SGuiLayoutWindow
{
    int32_t x = 0, y = 0, w = 0, h = 0;
    bool window3d = false;
    bool bordered = true;
    bool clearArea = false;
    bool closeBox = false;
    bool captioned = false; // a "caption" key was there
    std::string caption;    // 8-bit
    bool alphaTest = false;
    bool alphaBlend = false;
    int frameIndex = 0;
    int32_t controlId = -1;
    bool dummy = false;
    int layer = 2; // top-level windows only
    uint32_t line = 0;
    std::vector<SGuiLayoutControl> children;
};

enum EGuiLayoutClass
{
    GUI_CLASS_WINDOW,
    GUI_CLASS_BUTTON,
    GUI_CLASS_IMAGE_BUTTON,
    GUI_CLASS_STATIC_IMAGE,
    GUI_CLASS_TEXT_BOX,
    GUI_CLASS_EDIT_BOX,
    GUI_CLASS_LIST_BUTTON,
    GUI_CLASS_STATIC_TEXT,
    GUI_CLASS_TOOLTIP,
    GUI_CLASS_ALERT_BOX,
};

// One control of a window; the variant's index is its EGuiLayoutClass.
struct SGuiLayoutControl
{
    uint32_t line = 0;
    std::variant<SGuiLayoutWindow, SGuiButtonDesc, SGuiImageButtonDesc, SGuiStaticImageDesc, SGuiTextBoxDesc,
                 SGuiEditBoxDesc, SGuiListButtonDesc, SGuiStaticTextDesc, SGuiTooltipDesc, SGuiAlertBoxDesc>
        desc;

    EGuiLayoutClass GetClass() const { return EGuiLayoutClass(desc.index()); }
};

struct SGuiLayout
{
    std::vector<SGuiLayoutWindow> windows;
};

// The class name of a layout node ("listbutton").
const char* GetGuiLayoutClassName(EGuiLayoutClass kind);

// Reads the windows of a layout's root block. strings resolves the string-table keys
// (null: none resolves). Never fails: what cannot be used is skipped and reported.
void ReadGuiLayout(const CDataTree& root, const CStringTable* strings, SGuiLayout& out,
                   CDefinitionProblems& problems);

// Reads the file through the file layer; false (and nothing read) when it cannot be
// read or holds no block.
bool LoadGuiLayoutFile(const char* path, const CStringTable* strings, SGuiLayout& out,
                       CDefinitionProblems& problems);
