#pragma once
// The picture of a GUI skin, drawn from shapes: every piece the skin cuts from its
// texture is laid out on one atlas and painted by its part (frame corners and edges,
// backgrounds, caption bars, close boxes, cursors, list arrows, the chat marker), so a
// skin needs no source image. The sizes of the source skin decide the pieces' sizes.
//
// Frames are rounded panels with a light outline and a bevel line, one colour scheme
// per frame set (0 standard, 1 accent, 2 dark overlay, 3 warning), tooltips, alert box
// and chat box. Arrows, the chat marker and the cursors are white (their draw colour
// tints them). Each piece is surrounded by two texels copied from its edge, so linear
// filtering of a stretched piece never reaches a neighbour.

#include "presentation/GuiSkinFile.h"

#include <cstdint>
#include <string>
#include <vector>

struct SSkinAtlas
{
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> pixels; // top-down rows of blue, green, red, alpha
    SGuiSkinPiece pieces[GUI_PIECE_COUNT];
};

// Lays out and paints every piece for the sizes on an atlas of side 256 (512 when
// they do not fit); false (with the reason) for negative sizes or pieces too large.
bool DrawSkinAtlas(const SGuiSkinSizes& sizes, SSkinAtlas& atlas, std::string& error);

// The piece lines of a ".skin" (the blocks "window0" to "window3", "tooltips",
// "alertbox", "conversation", then the cursors and arrows), one tab deep.
std::string FormatSkinPieces(const SGuiSkinPiece pieces[GUI_PIECE_COUNT]);
