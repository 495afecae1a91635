#pragma once
// The ".skin" definition of a GUI skin: how its texture is cut into the 77 pieces the
// controls draw with, the border sizes, the fonts and the default sounds.
//
// The file is a data tree; the keys sit in its first top-level block (of any name).
// A piece is four numbers "x, y, w, h" in pixels of the skin texture. Required: the
// blocks "window0" to "window3" (eleven pieces each), the pieces "mouse_normal",
// "mouse_wait", "listbutton_leftarrow" and "listbutton_rightarrow", and the twelve
// sizes of windows, buttons, the caption, the close box, the chat box and the list
// arrows. The blocks "tooltips", "alertbox" and "conversation" may be left out, but
// one that is there must be complete. The rest (tooltip and alert box borders, the
// fonts and their fix-ups, the five default sounds) have defaults.
//
// Reading the definition checks the keys only; the pieces become texture coordinates
// once the texture's size is known (CheckGuiSkinPieces, then the manager).

#include "presentation/GuiTypes.h"

#include <cstdint>
#include <string>

class CDataTree;
class CDefinitionProblems;

constexpr int GUI_SKIN_FONT_COUNT = 4;
constexpr int GUI_SKIN_SOUND_COUNT = 5;

// A piece in pixels of the skin texture.
struct SGuiSkinPiece
{
    float x = 0.0f;
    float y = 0.0f;
    float w = 0.0f;
    float h = 0.0f;
};

struct SGuiSkinFont
{
    bool named = false; // "font%d" is there
    std::string name;
    int32_t numberSpaceFixup = 0;
    int32_t verticalSpaceFixup = 0;
    int32_t defaultVerticalFudge = 0;
};

struct SGuiSkinDefinition
{
    SGuiSkinPiece pieces[GUI_PIECE_COUNT];
    bool hasTooltips = false;
    bool hasAlertBox = false;
    bool hasConversation = false;
    SGuiSkinSizes sizes;
    std::string systemFont = "system_font";
    SGuiSkinFont fonts[GUI_SKIN_FONT_COUNT];
    // Sample file names of select, backout, incdec, navigate and alert; empty: none.
    std::string sounds[GUI_SKIN_SOUND_COUNT];
};

// The skin's texture and definition files for a skin name: "data/gui/NAME.tga" and
// "data/gui/NAME.skin".
std::string GetGuiSkinTexturePath(const char* name);
std::string GetGuiSkinDefinitionPath(const char* name);

// Reads the definition: the pieces (frame sets, tooltips, alert box, cursors,
// conversation, list arrows), the sizes, the fonts and the sounds. False at the first
// required key that is missing or optional block that is incomplete, with the problem
// (fatal) in problems.
bool ReadGuiSkinDefinition(const CDataTree& root, SGuiSkinDefinition& out, CDefinitionProblems& problems);
// The sizes alone; false when a required one is missing.
bool ReadGuiSkinSizes(const CDataTree& root, SGuiSkinSizes& sizes, CDefinitionProblems& problems);

// The pieces against the texture's size: false for a texture without pixels, or a
// piece with a negative position or size or reaching beyond the texture (named in
// reason).
bool CheckGuiSkinPieces(const SGuiSkinDefinition& skin, int32_t width, int32_t height, std::string& reason);

// The name a piece index has in the file ("window2.frame_top", "mouse_normal").
std::string GetGuiSkinPieceName(int piece);
