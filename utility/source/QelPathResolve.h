#pragma once
// Windows-style names on a case-sensitive file system. Data files and code name
// files with "\" or "/" and in any letter case ("Tessavar.000" beside "tessavar.001",
// "data\game1.txt"); these helpers find the file that such a name means.

#include <string>

// "\" becomes "/". Nothing else changes.
std::string NormaliseSeparators(const std::string& path);

// The path with separators normalised and each existing component replaced by the
// entry of its folder that matches it ignoring ASCII case (an exact match wins).
// Components that do not exist, and all after them, are kept as given, so the
// result also names where a new file or folder would be created.
std::string ResolvePathNoCase(const std::string& path);

// Creates one folder level (the parent must exist). True when the folder exists
// afterwards, whether made now or found under any letter case.
bool CreateFolderNoCase(const std::string& path);

// Creates every missing folder of the path (new ones readable by the user only,
// as the user's data base folders should be). True when the whole path is a
// folder afterwards; existing levels are matched ignoring letter case.
bool CreateFolderTreeNoCase(const std::string& path);
