#pragma once
// Where the player's own files live: "tessavar/data/" (records, key map) and
// "tessavar/data/saves/" in the user folder (TESSAVAR_HOME, else the XDG data folder).

#include <cstddef>
#include <string>

// The folder with its trailing "/"; false when there is no user folder.
bool GetUserDataFolder(std::string& folder);
bool GetSaveFolder(std::string& folder);

// Removes what writes cut short by a killed game left in those two folders: the file
// layer's temporary files there and nothing else. For start-up, once this copy of the
// game is the only one. The number removed.
size_t RemoveUnfinishedUserFiles();
