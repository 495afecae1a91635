#pragma once
// The temporary files of the file layer's writes (QelFile.h) that a killed program
// left behind: a write cut short leaves its new contents beside the file it was to
// replace, under a name no one reads again.

#include <cstddef>

// Whether a file name is one the file layer writes under: a name, FILE_TEMP_SUFFIX,
// then FILE_TEMP_UNIQUE_LENGTH ASCII letters or digits, nothing after.
bool IsTemporaryFileName(const char* name);

// Removes the regular files of the folder (found in any letter case; not its
// subfolders) whose names are temporary names. Nothing else is touched, links
// included. The number removed.
size_t RemoveTemporaryFiles(const char* folder);
