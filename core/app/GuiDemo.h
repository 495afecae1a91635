#pragma once
// "/guidemo" on the console: opens the GUI demonstration layout (every kind of
// control, drawn with the skin) in front of the game, or closes it again. Its controls
// take the focus from the pointer.

// Registers the command with the console.
void RegisterGuiDemoCommand();
