#pragma once
// The input device's part of start-up, the frame and shutdown.

class CDataTree;

// The version the settings ask for, with its fallback; false with the
// start-up message set in the application state. Also lets the renderer's display
// reset make the device again the same way.
bool StartInput(const CDataTree* settings);

// Deletes g_input.
void StopInput();

// The screenshot key (F11) is held on a present keyboard.
bool IsScreenshotKeyHeld();
