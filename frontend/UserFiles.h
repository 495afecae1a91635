#pragma once
// Where the player's own files live: "tessavar/data/" (records, key map) and
// "tessavar/data/saves/" in the user folder (TESSAVAR_HOME, else the XDG data folder).

#include <string>

// The folder with its trailing "/"; false when there is no user folder.
bool GetUserDataFolder(std::string& folder);
bool GetSaveFolder(std::string& folder);
