#pragma once
// SDL's video subsystem, started the same way by every window of the program (the
// set-up dialogs, message boxes, both renderers, the clipboard). Reference counted by
// SDL: each successful Acquire is matched by one Release.

// Applies the program's SDL hints: Ctrl+C and SIGTERM keep their default action, so
// they end the program at any moment (SDL would turn them into a quit event that
// nobody reads while a dialog is up), closing a window is its owner's decision, and the
// surfaces of windows drawn on the CPU (the software renderer's, the dialogs') are plain
// memory shown by the display's own means: SDL would back them with OpenGL, which on a
// machine without a graphics card is a software driver costing several times the CPU and
// memory of the drawing itself. SDL_FRAMEBUFFER_ACCELERATION=1 in the environment brings
// SDL's way back.
void ApplySdlProcessHints();

// False when no video driver could start: no display could be reached (said once on
// standard error, see TellNoDisplay).
bool AcquireSdlVideo();
void ReleaseSdlVideo();

// Says on standard error, once however many windows the renderers try, that no
// display could be reached and how to give one.
void TellNoDisplay();
