#pragma once
// The front end's screens by id, as the game flow's screen table holds them. A
// screen's page window carries the control id screen id x 1000 in its layout, its
// controls the ids above that.

enum EScreenId : int
{
    SCREEN_NONE = 0,
    SCREEN_IN_GAME = 1,
    SCREEN_MAIN_MENU = 2,
    SCREEN_DEAD = 3,
    SCREEN_ZONE_MAP = 4,
    SCREEN_HUB = 5,
    SCREEN_SHIP_SELECT = 6,
    SCREEN_SHIP_CONSTRUCT = 7,
    SCREEN_SAVE = 8,
    SCREEN_LOAD = 9,
    SCREEN_RESEARCH = 10,
    SCREEN_STORES = 11,
    SCREEN_STATION = 12,
    SCREEN_GRAV_DRIVE = 13,
    SCREEN_OPTIONS = 14,
    SCREEN_CONTROLS = 15,
    SCREEN_HALL_OF_FAME = 16,
    SCREEN_CONSTRUCTION_GRID = 18,
    SCREEN_TABLE_SIZE = 19,
};

constexpr int GetPageId(int screen)
{
    return screen * 1000;
}

// Popups share their control ids: the window, its message, confirm and cancel.
enum EPopupControl : int
{
    POPUP_WINDOW = 100,
    POPUP_MESSAGE = 101,
    POPUP_CONFIRM = 102,
    POPUP_CANCEL = 103,
};
