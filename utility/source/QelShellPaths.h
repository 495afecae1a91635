#pragma once
// Path helpers of the platform layer: the user's documents folder, the current
// folder, and handing a document or web address to the desktop.

#include <cstddef>

// The folder that holds the per-user "tessavar" folder: $TESSAVAR_HOME when set,
// else $XDG_DATA_HOME, else ~/.local/share (home from $HOME or the password file).
// Copied only when it fits the buffer with its terminator; false when no base exists.
bool GetDocumentsFolder(char* buffer, size_t bufferSize);

bool GetCurrentFolder(size_t bufferSize, char* buffer);
bool SetCurrentFolder(const char* path);

// Opens a file or address with the user's preferred program (xdg-open), without a
// shell and without waiting for it: a thread of its own waits for the opener and
// says on standard error when the address could not be opened. The process's signal
// handling is not touched. False, said on standard error too, when no opener could
// be started.
bool OpenWithShell(const char* fileOrAddress);
// The same, waiting until the opener has ended; false when it could not open the
// address (said on standard error).
bool OpenWithShellAndWait(const char* fileOrAddress);
