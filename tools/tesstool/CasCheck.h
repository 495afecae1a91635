#pragma once
// What would go wrong when the game plays a ".cas" sequence: the file itself, the
// sprite files and samples it names, frames the sprites do not have, string-table
// keys and voices that are missing, and keys the player never reaches or shows
// otherwise than written (a plane or colour out of range is clamped, a font
// outside -1..3 is the system font). Paths are game paths read through the file
// layer from the current folder (the program folder) and the mounted packs.

#include <string>
#include <vector>

class CStringTable;

// Appends one line a problem; strings may be null (key lines are then not checked).
void CheckCasSequence(const char* path, const CStringTable* strings, std::vector<std::string>& problems);
