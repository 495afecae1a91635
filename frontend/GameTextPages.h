#pragma once
// The text pages as the game reaches them (CTextPageLink): while any page shows the
// world, the effects and the game clock stand still. Also what a frame hands the
// pages: the select action from the game's controls, the GUI's mouse buttons and
// frame time.

#include "presentation/TextPage.h"
#include "world/TextPageLink.h"

class CControls;
class CGame;
class CGuiManager;

class CGameTextPages : public CTextPageLink
{
public:
    bool IsAnyPageShowing() const override;
    // The name goes to the pages and to the GUI's texts alike.
    void SetPilotName(const std::u16string& name) override;
};

// Installs the link on the game (g_textPages answers it); RemoveGameTextPages takes
// it out again.
void InstallGameTextPages(CGame& game);
void RemoveGameTextPages(CGame& game);

// The frame's input of the pages: select (action row 0 or 8, down or held), the
// left button while down and the right while held, and the GUI's frame time.
STextPageInput GetTextPageInput(const CControls& controls, const CGuiManager& gui);
