#pragma once
// Sprite files named by definitions: each "spriteFile" at or below a block (but
// "dummy") must open, loose or from the program folder's packs, and read as a sprite
// file; one that does not is a problem on the line that names it.

class CDataNode;
class CDataTree;
class CDefinitionProblems;

void CheckNamedSpriteFiles(const CDataTree& block, CDefinitionProblems& problems);
// One sprite file by its game path, the problem (if any) on the line of `near`.
void CheckSpriteFile(const char* name, const CDataNode* near, CDefinitionProblems& problems);
