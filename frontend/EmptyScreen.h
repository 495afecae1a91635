#pragma once
// A screen whose own part is built later: its page (a title and nothing else) shows
// when its id is chosen, and Escape leads back as from the real screen.

#include "frontend/FrontEndScreen.h"

class CEmptyScreen : public CFrontEndScreen
{
public:
    CEmptyScreen(CGameFlow& flow, int screenId, const char* layoutFile);
    void Show() override;
};
