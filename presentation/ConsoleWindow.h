#pragma once
// The console's window: a GUI window at (0, 0), 640 x 240, on layer 3, that shows the
// console's last lines and its input line in the system font and takes what the
// player types while the console is open. The console key (left of "1") opens and
// closes it.

#include <cstdint>

class CConsole;
class CGuiManager;

constexpr int CONSOLE_WINDOW_WIDTH = 640;
constexpr int CONSOLE_WINDOW_HEIGHT = 240;
constexpr int CONSOLE_LINE_STEP = 15;      // GUI pixels between two lines
constexpr char CONSOLE_CURSOR_CODE = '\x01'; // the glyph after the input line

// Makes the window (hidden) and keeps its handle in the console; false when the GUI
// refuses it.
bool CreateConsoleWindow(CConsole& console, CGuiManager& gui);
// Removes the window (nothing when there is none).
void DestroyConsoleWindow(CConsole& console, CGuiManager& gui);
// Opens the console (its window shown, in front, with the focus) or closes it (the
// window hidden, the focus handed on). A window that was closed with the others is
// made again.
void SetConsoleOpen(CConsole& console, CGuiManager& gui, bool open);
// A key went down: the console key opens or closes the console (true); any other key
// is left to the game.
bool HandleConsoleKey(CConsole& console, CGuiManager& gui, uint32_t keyCode);
