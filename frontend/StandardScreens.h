#pragma once
// The game's own screen for each id of the screen table.

#include <memory>

class CFrontEndScreen;
class CGameFlow;

// Null for an id without a screen (0, 17, and the construction grid, which the game flow owns).
std::unique_ptr<CFrontEndScreen> MakeStandardScreen(CGameFlow& flow, int id);
// The layout file of a screen id, or null.
const char* GetScreenLayoutFile(int id);
