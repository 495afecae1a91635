#pragma once
// SDL's video subsystem, started the same way by every window of the program (the
// set-up dialogs, message boxes, both renderers, the clipboard). Reference counted by
// SDL: each successful Acquire is matched by one Release.

// Applies the program's SDL hints: Ctrl+C and SIGTERM keep their default action, so
// they end the program at any moment (SDL would turn them into a quit event that
// nobody reads while a dialog is up), and closing a window is its owner's decision.
void ApplySdlProcessHints();

// False when no video driver could start: no display could be reached (said once on
// standard error, see TellNoDisplay).
bool AcquireSdlVideo();
void ReleaseSdlVideo();

// Says on standard error, once however many windows the renderers try, that no
// display could be reached and how to give one.
void TellNoDisplay();
