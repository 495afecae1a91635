#pragma once
// Effect names in definitions: each must name an effect of the game's effect list
// ("data\effect.txt", read once); one that does not is a warning on its line.

class CDataTree;
class CDefinitionProblems;

void CheckEffectName(const CDataTree& node, const char* key, CDefinitionProblems& problems);
