#pragma once
// The GUI's part of start-up, the frame and shutdown: the GUI manager with the skin's
// fonts, the console's window, the GUI's console command and variable, the text of
// the renderer's statistics overlays, and the GUI steps of every frame.

struct SGuiActionInput;

// Creates g_gui and loads the default skin's fonts; on failure gives the start-up
// message ("Error during startup - code 0x8000000a" or "... 0x8000000b").
bool StartGui(const char*& failure);
// The console's window; false when the GUI refuses it (code 0x8000000c).
bool StartConsoleWindow();
// "/showmouse" and the variable "constrainmouse".
void RegisterGuiConsoleCommands();
// The system pointer stays hidden over the game window; the GUI draws its own cursor
// (show count back to 1) and "constrainmouse" starts off.
void HideSystemCursor();
// The console's window goes (nothing when there is none).
void StopConsoleWindow();
// The GUI manager goes (nothing when there is none).
void StopGui();

// Per frame, after the input poll: the console key, then the GUI's time stamp, its
// keyboard step (only when keyboardOpen: a covering sequence closes it) and its
// pointer step. actions: the nine game actions as the GUI takes them.
void UpdateGui(const SGuiActionInput& actions, bool keyboardOpen);
