#pragma once
// A small bitmap font for the set-up dialogs, which open before any game data is
// read: 5 x 7 pixel glyphs for the printable ASCII characters.

constexpr int DIALOG_GLYPH_WIDTH = 5;
constexpr int DIALOG_GLYPH_HEIGHT = 7;

// The glyph's rows, top first, each DIALOG_GLYPH_WIDTH characters of '#' (ink) and
// '.' (paper); characters without a glyph get the '?' one.
const char* const* GetDialogGlyph(char character);
// Rows by which the glyph is drawn lower than the others: letters with descenders.
int GetDialogGlyphDrop(char character);
