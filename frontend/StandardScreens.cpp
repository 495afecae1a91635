#include "frontend/StandardScreens.h"

#include "frontend/ControlsScreen.h"
#include "frontend/DeadScreen.h"
#include "frontend/EmptyScreen.h"
#include "frontend/GravDriveScreen.h"
#include "frontend/HallOfFameScreen.h"
#include "frontend/HubScreen.h"
#include "frontend/InGameScreen.h"
#include "frontend/LoadScreen.h"
#include "frontend/MainMenuScreen.h"
#include "frontend/OptionsScreen.h"
#include "frontend/ResearchScreen.h"
#include "frontend/ShipConstructScreen.h"
#include "frontend/ShipSelectScreen.h"
#include "frontend/SaveScreen.h"
#include "frontend/StoresScreen.h"
#include "frontend/ScreenIds.h"
#include "frontend/StationScreen.h"
#include "frontend/ZoneMapScreen.h"

const char* GetScreenLayoutFile(int id)
{
    switch (id)
    {
    case SCREEN_IN_GAME:
        return CInGameScreen::LAYOUT;
    case SCREEN_MAIN_MENU:
        return CMainMenuScreen::LAYOUT;
    case SCREEN_DEAD:
        return CDeadScreen::LAYOUT;
    case SCREEN_ZONE_MAP:
        return CZoneMapScreen::LAYOUT;
    case SCREEN_HUB:
        return CHubScreen::LAYOUT;
    case SCREEN_SHIP_SELECT:
        return CShipSelectScreen::LAYOUT;
    case SCREEN_SHIP_CONSTRUCT:
        return CShipConstructScreen::LAYOUT;
    case SCREEN_SAVE:
        return CSaveScreen::LAYOUT;
    case SCREEN_LOAD:
        return CLoadScreen::LAYOUT;
    case SCREEN_RESEARCH:
        return CResearchScreen::LAYOUT;
    case SCREEN_STORES:
        return CStoresScreen::LAYOUT;
    case SCREEN_STATION:
        return CStationScreen::LAYOUT;
    case SCREEN_GRAV_DRIVE:
        return CGravDriveScreen::LAYOUT;
    case SCREEN_OPTIONS:
        return COptionsScreen::LAYOUT;
    case SCREEN_CONTROLS:
        return CControlsScreen::LAYOUT;
    case SCREEN_HALL_OF_FAME:
        return CHallOfFameScreen::LAYOUT;
    default:
        return nullptr;
    }
}

std::unique_ptr<CFrontEndScreen> MakeStandardScreen(CGameFlow& flow, int id)
{
    switch (id)
    {
    case SCREEN_IN_GAME:
        return std::make_unique<CInGameScreen>(flow);
    case SCREEN_MAIN_MENU:
        return std::make_unique<CMainMenuScreen>(flow);
    case SCREEN_DEAD:
        return std::make_unique<CDeadScreen>(flow);
    case SCREEN_HUB:
        return std::make_unique<CHubScreen>(flow);
    case SCREEN_HALL_OF_FAME:
        return std::make_unique<CHallOfFameScreen>(flow);
    case SCREEN_RESEARCH:
        return std::make_unique<CResearchScreen>(flow);
    case SCREEN_STORES:
        return std::make_unique<CStoresScreen>(flow);
    case SCREEN_SHIP_SELECT:
        return std::make_unique<CShipSelectScreen>(flow);
    case SCREEN_SHIP_CONSTRUCT:
        return std::make_unique<CShipConstructScreen>(flow);
    case SCREEN_OPTIONS:
        return std::make_unique<COptionsScreen>(flow);
    case SCREEN_CONTROLS:
        return std::make_unique<CControlsScreen>(flow);
    case SCREEN_ZONE_MAP:
        return std::make_unique<CZoneMapScreen>(flow);
    case SCREEN_STATION:
        return std::make_unique<CStationScreen>(flow);
    case SCREEN_GRAV_DRIVE:
        return std::make_unique<CGravDriveScreen>(flow);
    case SCREEN_SAVE:
        return std::make_unique<CSaveScreen>(flow);
    case SCREEN_LOAD:
        return std::make_unique<CLoadScreen>(flow);
    // The construction grid is no screen: the game flow owns it (GetConstructGrid).
    case SCREEN_CONSTRUCTION_GRID:
        return nullptr;
    default:
        if (const char* layout = GetScreenLayoutFile(id))
            return std::make_unique<CEmptyScreen>(flow, id, layout);
        return nullptr;
    }
}
