#pragma once
// The shell of the game: whether the player flies (mode 0), is in the front end (1)
// or in the in-game menu over a paused flight (2); the table of front-end screens and
// which one is current; the way into and out of flight (starting and ending levels
// through the game); the placement of the player's ship or the station when flight
// begins; the watches for the loss of the ship or the station; the exit warning with
// its quotes; and the shell's own texts.
//
// The application makes it after the game and installs it on the game (the game's
// game-flow link); the frame then calls Update after the GUI and Draw last. Requests
// made during a frame (to the front end, to flight, to the main menu) take effect in
// the next Update.
//
// Parts built later reach it through links with do-nothing bases: the sequence
// director (DirectorFlowLink.h), the campaign with the pilot record, saves and hall of
// fame (CampaignFlowLink.h), the zones, HUD and text pages (the game's links) and the
// station (StationFlowLink.h). A screen whose own part comes later shows an empty
// page (EmptyScreen.h).

#include "core/Vector2D.h"
#include "frontend/CampaignFlowLink.h"
#include "presentation/HudBar.h"
#include "world/SoundEffect.h"
#include "frontend/DirectorFlowLink.h"
#include "frontend/ScreenIds.h"
#include "frontend/ScreenLayout.h"
#include "frontend/ScreenTime.h"
#include "frontend/SurvivalRules.h"
#include "presentation/GuiTypes.h"
#include "world/GameFlowLink.h"

#include <cstdint>
#include <memory>

class CComponentStoreLink;
class CFrontEndScreen;
class COptions;
class CShipConstructGrid;
class CSaveGames;
// The GUI's pointer shown (show count 1) or hidden (0).
void SetPointerShown(bool shown);
// "%s %02i:%02i:%02i": a label's text and a time in ms as hours, minutes and seconds,
// in the GUI's font 0.
void DrawRunTime(uint32_t labelId, uint32_t ms, float x, float y);
class CGame;
class CGameObject;

// Why the dead screen shows.
enum EDeathCause : int
{
    DEATH_STATION_LOST = 0,
    DEATH_SHIP_LOST = 1,
};

class CGameFlow : public CGameFlowLink
{
public:
    // Makes the screen object of an id (null for ids without one).
    using ScreenFactory = std::unique_ptr<CFrontEndScreen> (*)(CGameFlow& flow, int id);

    static constexpr uint32_t ESCAPE_DEBOUNCE_MS = 250;  // real time
    static constexpr uint32_t BLINK_MS = 250;            // real time
    static constexpr uint32_t STATION_LOSS_MS = 6000;    // game time
    static constexpr uint32_t SHIP_LOSS_MS = 3000;       // game time
    static constexpr int QUOTE_COUNT = 16;
    static constexpr float STATION_SPAWN_CLEARANCE = 400.0f;
    static constexpr float SHIP_SPAWN_CLEARANCE = 128.0f;
    static constexpr float TUTORIAL_STATION_X = 500.0f;
    static constexpr float TUTORIAL_STATION_Y = 3500.0f;
    static constexpr const char* EXIT_WARNING_LAYOUT = "data/frontend/exitwarning.txt";
    static constexpr const char* STATION_FILE = "data/station.txt";

    // Exit-warning controls beside the popup's own 100 to 103.
    enum EExitWarningControl : int
    {
        EXIT_TO_MAIN_MENU = 102,
        EXIT_QUIT = 103,
        EXIT_CANCEL = 104,
        EXIT_BLINK = 105,
        EXIT_TEXT = 106,
        EXIT_QUOTE_A = 107,
        EXIT_QUOTE_B = 108,
    };

    // Mode 0, no screen, the first frame still to come. The screens are made by
    // CreateScreens.
    explicit CGameFlow(CGame& game);
    ~CGameFlow() override;
    CGameFlow(const CGameFlow&) = delete;
    CGameFlow& operator=(const CGameFlow&) = delete;

    // ---- links ----------------------------------------------------------------
    void SetDirector(CDirectorFlowLink* director) { m_director = director; }
    void SetCampaign(CCampaignFlowLink* campaign) { m_campaign = campaign; }
    CDirectorFlowLink& GetDirector() const;
    CCampaignFlowLink& GetCampaign() const;
    CGame& GetGame() const { return m_game; }
    // Before CreateScreens: tests make screens of their own.
    void SetScreenFactory(ScreenFactory factory) { m_factory = factory; }

    // The player's options: display, sound, key map and music. Made with the flow
    // (which gives the key map to the game's controls); the key map is saved when the
    // flow goes.
    COptions& GetOptions() const { return *m_options; }

    // ---- screens ----------------------------------------------------------------
    // Screen 1, the front-end screens, then the ship-construction grid.
    void CreateScreens();
    // Screens 3, 2 and 4 to 16 made afresh, each loading its layout.
    void LoadFrontEndScreens();
    // During flight only the in-game menu exists: every other screen goes.
    void LoadFlightScreens();
    // Stops a playing sequence, empties the key ring, hides the current screen, makes
    // the id current and shows it. False (and nothing changes) for an id without a
    // screen object.
    bool SetScreen(int id);
    int GetCurrentScreenId() const { return m_screenId; }
    CFrontEndScreen* GetScreen(int id) const;
    CFrontEndScreen* GetCurrentScreen() const { return GetScreen(m_screenId); }
    // The ship-construction grid, made by CreateScreens for the whole run (null before).
    CShipConstructGrid* GetConstructGrid() const { return m_grid.get(); }

    // ---- modes ------------------------------------------------------------------
    EGameMode GetMode() const override { return m_mode; }
    // A request by the current mode: from flight, 2 opens the in-game menu and 1 asks
    // for the front end; from the front end, 0 asks for flight; from the in-game
    // menu, 0 returns to flight and 1 asks for the front end.
    void SetMode(EGameMode request);
    void RequestMainMenu() { m_goMainMenu = true; }

    // ---- the frame --------------------------------------------------------------
    void Update() override;
    // The music of the mode: the front end's, a boss node's or the game's.
    void UpdateMusic() override;
    void DrawFrontEnd() override;
    void Draw() override;
    void PlaceWarningQuotes() override;
    // The program ends after this frame (the exit warning's and the exit popup's quit).
    void RequestQuit() { m_quit = true; }
    bool IsQuitRequested() const override { return m_quit; }
    int GetScreenId() const override { return m_screenId; }

    // ---- runs -------------------------------------------------------------------
    // A new game: a running level ends first when a run was active; the director's
    // played flags and the ship-configuration file name are reset, zone 0 is made
    // current, the level starts and the zone's node state is made. False when the
    // level cannot start.
    bool StartNewGame();
    // Before a saved game is read: the running level ends, the zones and the campaign
    // go back to their start and no run is active.
    void EndRunForLoad();
    // A loaded game goes on: the level of the loaded zone starts and the run is
    // active again.
    bool StartLoadedRun();
    // The six save slots.
    CSaveGames& GetSaves() { return *m_saves; }
    bool IsRunActive() const { return m_runActive; }
    void SetRunActive(bool active) { m_runActive = active; }
    // From the front end: the level ends, the zone state is reset, the run is over
    // and the main menu shows.
    void LeaveRunForMainMenu();
    // The front end is loaded and the dead screen shows.
    void ShowDeadScreen(EDeathCause cause);
    EDeathCause GetDeathCause() const { return m_deathCause; }
    // How long the quick-action or survival run that ended lasted (game ms).
    uint32_t GetRunTime() const { return m_runTime; }
    void SetRunTime(uint32_t ms) { m_runTime = ms; }

    // Set by the main menu's direct level start: the station comes at (500, 3500),
    // the node's asteroids are not placed, the zone update is skipped and a lost ship
    // is replaced from design 1.
    bool IsTutorialPosition() const override { return m_tutorialPosition; }
    void SetTutorialPosition(bool set) { m_tutorialPosition = set; }
    // Set by the gravity-drive screen when its Escape leads to the hub.
    void SetGravDriveLeave(bool set) { m_gravDriveLeave = set; }
    // Cleared while a front-end chat or the zone map's info popup is open.
    bool IsChatClosed() const { return m_chatClosed; }
    void SetChatClosed(bool closed) { m_chatClosed = closed; }

    // ---- the exit warning ---------------------------------------------------------
    // Opens the popup unless it is open; from the front end its text is the one for
    // leaving the game, and its quotes sit at fixed places; in flight the game pauses.
    bool OpenExitWarning(bool fromFrontEnd);
    bool IsExitWarningOpen() const override { return m_exitWarning.IsLoaded(); }
    const CScreenLayout& GetExitWarning() const { return m_exitWarning; }
    // Closes the popup: focus, callback and pause as they were, key ring and controls
    // emptied, the quotes hidden.
    void CloseExitWarning();
    // The two quote frames shown (-1 while closed).
    int GetQuoteFrame(int which) const { return which == 0 ? m_quoteFrames[0] : m_quoteFrames[1]; }

    // ---- sounds and gauges ------------------------------------------------------
    enum EAlarm : int
    {
        ALARM_HIT = 0,        // "data/sfx/misc/alarm.wav"
        ALARM_MAJOR = 1,      // "data/sfx/misc/majorAlarm.wav"
        ALARM_STATION = 2,    // "data/sfx/station/electrobabble.wav", looped
        ALARM_COUNT = 3,
    };
    // The samples of the three sounds (again after the audio restarts).
    void LoadAlarmSounds();
    void StopAlarmSounds();
    CSoundEmitter& GetAlarm(int which) { return m_alarmEmitters[which]; }
    // A surviving hit on the player's ship, while the station's gauge shows.
    void SoundAlarm() override;
    void SilenceLoopingSounds() override;
    void RestartLoopingSounds() override;
    // The gauges of the station's three gem stocks (normal, rare, very rare) that the
    // research and stores screens fill; drawn on those screens.
    CHudBar& GetGemGauge(int kind) { return m_gemGauges[kind]; }

    // ---- flight -------------------------------------------------------------------
    // A STATION from "data/station.txt" at a free place (clearance 400), on plane 2,
    // warping in (at (500, 3500) at once from the tutorial's position).
    void SpawnStation() override { MakeStation(); }
    void EnterFrontEnd() override { SetMode(GAME_MODE_FRONT_END); }
    void EnterFlight() override { SetMode(GAME_MODE_FLIGHT); }
    void EnterInGameMenu() override { SetMode(GAME_MODE_IN_GAME_MENU); }
    // The jump out of a node from the in-game menu: the menu closes with the ship kept
    // aboard and the station warps out with it; its full-screen departure ends the
    // flight in the front end. False (nothing done) outside a campaign's flight, when
    // the station does not call for attention or does not hold the ship, or when its
    // departure would not take the player along (a boss is present).
    bool JumpWithStation();
    // The same; false when none could be made.
    bool MakeStation();
    // A new player ship of the design in the storage slot at the place, the camera on
    // it; its handle, or -1.
    int32_t SpawnPlayerShip(int slot, const CVector2D& position);
    const CVector2D& GetRespawnPoint() const { return m_respawnPoint; }
    uint32_t GetStationLossTime() const { return m_stationLossTime; }
    uint32_t GetShipLossTime() const { return m_shipLossTime; }
    CSurvivalGame& GetSurvival() { return m_survival; }

    // A message with the pilot's name until the game clock reaches `until`.
    void ShowTimedMessage(uint32_t until) { m_messageUntil = until; }
    void ClearTimedMessage() { m_messageUntil = 0; }

private:
    static void ExitWarningCallback(int32_t owner, int32_t controlId, int32_t event, int32_t value);
    void HandleExitWarningEvent(int32_t controlId, int32_t event);
    void UpdateExitWarningBlink();
    void ShowQuotes(bool show);
    void MakeScreen(int id);
    void DeleteScreen(int id);
    void ClearKeyRing() const;
    bool IsEscapeDown() const;
    bool TakeEscape();
    void GoToFrontEnd();
    void GoToFlight();
    void RaiseGemsForTutorialResearch();
    void PlaceFlightStart();
    void RouteFrontEndEscape();
    void WatchLosses();
    void WatchStation(uint32_t now);
    void WatchShip(uint32_t now);
    void ReplaceLostShip(int index);
    void PressWorms(uint32_t now);
    void ReturnToFlight();
    void CloseInGameMenu();
    void DrawTexts();
    bool IsQuickOrSurvival() const;
    CGameObject* FindObject(int32_t handle) const;
    void WarpIn(int32_t handle);

    CGame& m_game;
    std::unique_ptr<COptions> m_options;
    std::unique_ptr<CSaveGames> m_saves;
    CDirectorFlowLink* m_director = nullptr;
    CCampaignFlowLink* m_campaign = nullptr;
    // Until the director and the campaign install theirs: the bases, which keep what
    // this game flow's run sets.
    mutable CDirectorFlowLink m_ownDirector;
    mutable CCampaignFlowLink m_ownCampaign;
    ScreenFactory m_factory;
    std::unique_ptr<CFrontEndScreen> m_screens[SCREEN_TABLE_SIZE];
    std::unique_ptr<CComponentStoreLink> m_gridStore;
    std::unique_ptr<CShipConstructGrid> m_grid;
    EGameMode m_mode = GAME_MODE_FLIGHT;
    int m_screenId = SCREEN_NONE;

    // The exit warning.
    CScreenLayout m_exitWarning;
    int m_savedFocus = -1;
    GuiEventCallback m_savedCallback = nullptr;
    bool m_warningFromFrontEnd = false;
    bool m_pausedByWarning = false;
    uint32_t m_blinkTime = 0;
    uint32_t m_escapeDebounce = 0;
    bool m_escapeDebounceRunning = false;
    int m_quoteFrames[2] = {-1, -1};

    // Requests for the next update, and the first frame's logo wait.
    bool m_goFrontEnd = false;
    bool m_goFlight = false;
    bool m_goMainMenu = false;
    bool m_firstFrame = true;
    bool m_quit = false;

    bool m_runActive = false;
    bool m_chatClosed = true;
    bool m_tutorialPosition = false;
    bool m_gravDriveLeave = false;
    EDeathCause m_deathCause = DEATH_SHIP_LOST;
    uint32_t m_runTime = 0;

    // The loss watches (game clock; 0 while not running) and what they remember.
    uint32_t m_stationLossTime = 0;
    uint32_t m_shipLossTime = 0;
    bool m_shipLossRecorded = false;
    CVector2D m_respawnPoint;
    CVector2D m_stationPosition;
    bool m_stationSpawned = false;
    uint32_t m_wormInterval = 0;

    uint32_t m_messageUntil = 0;
    CSurvivalGame m_survival;
    CSoundEffect m_alarmEffects[ALARM_COUNT];
    CSoundEmitter m_alarmEmitters[ALARM_COUNT];
    bool m_stationSoundWasPlaying = false;
    CHudBar m_gemGauges[GEM_KIND_COUNT];
};
