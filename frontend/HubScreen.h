#pragma once
// The hub (screen 5), the crossroads of the campaign's front end: the zone map, the
// station, ship select, research and stores, and back to the main menu, over the
// bridge's backdrop sequence.

#include "frontend/FrontEndScreen.h"

class CHubScreen : public CFrontEndScreen
{
public:
    static constexpr const char* LAYOUT = "data/frontend/hub.txt";

    enum EControl : int
    {
        ZONE_MAP = 5001,
        STATION = 5002,
        SHIP_SELECT = 5003,
        RESEARCH = 5004,
        MAIN_MENU = 5005,
        STORES = 5006,
        QUOTE_PANEL_A = 5007,
        QUOTE_PANEL_B = 5008,
    };

    explicit CHubScreen(CGameFlow& flow);

    void Show() override;
    void HideExtras() override;

protected:
    void HandleEvent(int32_t controlId, int32_t event, int32_t value) override;
};
