#pragma once
// The text of a complete ".skin" definition for tests, and a way to take keys out.
//
// Pieces are numbered in the order the skin lists them (window0's eleven, window1's,
// ..., tooltips' ten, alertbox's nine, conversation's ten, then mouse_normal,
// mouse_wait, listbutton_leftarrow, listbutton_rightarrow); piece k lies at
// x = 16 (k % 8), y = 16 (k / 8), 8 wide and 6 high, inside a 128 x 160 texture.
// Sizes: window border 4 x 5, button border 3 x 2, caption 12, close box 9 x 8, chat
// border 6 x 7, flashy thing 10 x 11, list arrow 14, tooltip border 2 x 3 and speech
// bubble 12 x 13, alert box border 5 x 4. Fonts: "sysfont", font0 "f0" with fix-ups
// 1, 2, 3, font1 "f1"; no font2 or font3. Sounds: select "sel.wav", alert "alert.wav".

#include <string>

constexpr int SKIN_TEXT_TEXTURE_WIDTH = 128;
constexpr int SKIN_TEXT_TEXTURE_HEIGHT = 160;

std::string MakeSkinText();

// The text without the line "key ..." inside the block (empty block: at the top
// level), or without the whole block when key is empty.
std::string RemoveSkinKey(const std::string& text, const std::string& block, const std::string& key);
