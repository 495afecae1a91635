#pragma once
// Key codes of the input layer. They keep the values the game has always stored in
// its key maps (one byte per key, the keyboard's set-1 scan code with 0x80 added for
// extended keys), so a saved key map means the same keys on every platform.

#include <cstdint>

namespace Dik
{
constexpr uint8_t ESCAPE = 0x01, BACK = 0x0E, TAB = 0x0F, RETURN = 0x1C, LCONTROL = 0x1D, GRAVE = 0x29,
                  LSHIFT = 0x2A, RSHIFT = 0x36, LMENU = 0x38, SPACE = 0x39, F1 = 0x3B, F10 = 0x44,
                  F11 = 0x57, F12 = 0x58, NUMPADENTER = 0x9C, RCONTROL = 0x9D, RMENU = 0xB8, HOME = 0xC7,
                  UP = 0xC8, PRIOR = 0xC9, LEFT = 0xCB, RIGHT = 0xCD, END = 0xCF, DOWN = 0xD0, NEXT = 0xD1,
                  INSERT = 0xD2, DELETE = 0xD3;
}

// The key code of an SDL scancode, or 0 for a key the game has no code for.
uint8_t DikFromScancode(int sdlScancode);

// The English name of a key code ("Esc", "Left Ctrl", "F11"), or null for an unused code.
const char* GetDikName(uint8_t code);
