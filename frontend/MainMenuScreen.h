#pragma once
// The main menu (screen 2), where every game starts: a new game (the pilot's name,
// the difficulty and the choice of the tutorial in a popup), continue, load, save,
// options, the hall of fame, quit (with a confirmation), quick action and survival
// runs, the hints page, and a hidden button that starts a level at once.

#include "frontend/FrontEndScreen.h"

#include <string>

class CMainMenuScreen : public CFrontEndScreen
{
public:
    static constexpr const char* LAYOUT = "data/frontend/main.txt";
    static constexpr const char* NAME_POPUP = "data/frontend/enterplayername.txt";
    static constexpr const char* EXIT_POPUP = "data/frontend/mainexitconfirm.txt";
    static constexpr const char* QUICK_ACTION_POPUP = "data/frontend/quickaction.txt";
    static constexpr const char* SURVIVAL_POPUP = "data/frontend/survival.txt";
    static constexpr const char* DEFAULT_PILOT_NAME = "HALVERN";
    // The pilot's name keeps at most this many characters.
    static constexpr size_t PILOT_NAME_LENGTH = 8;

    enum EControl : int
    {
        NEW_GAME = 2001,
        CONTINUE = 2002,
        LOAD = 2003,
        SAVE = 2004,
        OPTIONS = 2005,
        HALL_OF_FAME = 2006,
        EXIT = 2008,
        QUICK_ACTION = 2009,
        SURVIVAL = 2010,
        HIDDEN_A = 2011,
        HIDDEN_B = 2012,
        HINTS = 2013,
        DIRECT_START = 2100,
        // In the popups.
        NAME_MESSAGE = 101,
        NAME_EDIT = 102,
        DIFFICULTY_CYCLE = 103,
        DIFFICULTY_TEXT = 104,
        START_WITH_TUTORIAL = 105,
        START_WITHOUT_TUTORIAL = 106,
        POPUP_CLOSE = 107,
        EXIT_CONFIRM = 105,
        QUICK_START = 101,
        QUICK_BEST_TIME = 104,
        SURVIVAL_TIMED = 110,
        SURVIVAL_OPEN = 111,
        SURVIVAL_BEST_TIMED = 112,
        SURVIVAL_BEST_OPEN = 113,
    };

    enum EPopup : int
    {
        POPUP_NONE,
        POPUP_NAME,
        POPUP_EXIT,
        POPUP_QUICK_ACTION,
        POPUP_SURVIVAL,
    };

    CMainMenuScreen(CGameFlow& flow);

    void Show() override;
    void Hide() override;
    // The new game's steps, one a frame: the name is taken, then the intro plays,
    // then the game starts.
    void Update() override;

    EPopup GetOpenPopup() const { return IsPopupOpen() ? m_popupKind : POPUP_NONE; }
    // The difficulty text of the name popup: hard, normal or easy.
    void SetDifficultyIndicator(int difficulty);
    // The pilot's name as a new game takes it from the edit box's text: without its
    // padding, at most eight characters, "HALVERN" when nothing is left.
    static std::string MakePilotName(const std::string& typed);
    // A survival run of a variant (1 timed, 0 open) or a quick-action run starts.
    void StartGameFromMainMenu(bool survival, bool timedVariant);
    // The hidden button: a level at once, without intro or tutorial.
    void StartLevelDirectly();

protected:
    void HandleEvent(int32_t controlId, int32_t event, int32_t value) override;

private:
    enum ENewGameStep : int
    {
        NEW_GAME_IDLE,
        NEW_GAME_TAKE_NAME,
        NEW_GAME_PLAY_INTRO,
        NEW_GAME_WAIT_INTRO,
    };

    void HandlePageEvent(int32_t controlId, int32_t event, int32_t value);
    void HandlePopupEvent(int32_t controlId);
    void OpenNamePopup();
    void OpenQuickActionPopup();
    void OpenSurvivalPopup();
    void ShowPageScreen(int screen);
    void StartNewGameAfterIntro();
    void CloseMenuPopup(int focusId);

    int m_difficultyAtShow = -1;
    EPopup m_popupKind = POPUP_NONE;
    ENewGameStep m_newGameStep = NEW_GAME_IDLE;
    bool m_skipTutorial = false;
};
