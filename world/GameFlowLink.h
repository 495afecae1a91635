#pragma once
// What the world needs of the game-flow controller, which sits in a layer above:
// its mode, and the hooks the game calls on it. The base answers as the front end
// with nothing to do; the controller installs itself on the game at start-up.

enum EGameMode
{
    GAME_MODE_FLIGHT = 0,
    GAME_MODE_FRONT_END = 1,
    GAME_MODE_IN_GAME_MENU = 2,
};

class CGameFlowLink
{
public:
    virtual ~CGameFlowLink() = default;
    virtual EGameMode GetMode() const { return GAME_MODE_FRONT_END; }
    // The exit warning's quotes follow the camera every flight frame.
    virtual void PlaceWarningQuotes() {}
    // Looping sounds stop while the effects are reloaded, and start again after.
    virtual void SilenceLoopingSounds() {}
    virtual void RestartLoopingSounds() {}
    // The popup that warns the player before leaving the playfield (the effects
    // stand still while it is open).
    virtual bool IsExitWarningOpen() const { return false; }
    // The alarm a surviving hit on the player ship sounds while the HUD shows.
    virtual void SoundAlarm() {}
    // Brings the station in when the player calls it and none exists.
    virtual void SpawnStation() {}
    // The station holds the ship: the in-game menu opens over the flight.
    virtual void EnterInGameMenu() {}
    // The station launches the ship through its second port.
    virtual bool UsesSecondLaunchPort() const { return false; }
    // The station has left with the player: the flight ends and the front end follows.
    virtual void EnterFrontEnd() {}
    // The galaxy map's arrival hold is over: the flight begins at the new node.
    virtual void EnterFlight() {}
    // A new game starts at the tutorial's position: the zones stand still and form no
    // starting groups.
    virtual bool IsTutorialPosition() const { return false; }
    // Whether the controller lets the HUD update and draw.
    virtual bool LetsHudDraw() const { return true; }

    // The frame's steps of the controller: its update after the GUI; in the front
    // end, after the sprite bank, its overlay (the galaxy map, gem gauges, research
    // graphs); last, the director's sequences and the controller's own texts.
    virtual void Update() {}
    // The music follows the game, once a frame after the update.
    virtual void UpdateMusic() {}
    virtual void DrawFrontEnd() {}
    virtual void Draw() {}
    // The player chose to quit: the program ends after this frame.
    virtual bool IsQuitRequested() const { return false; }
    // The current front-end screen's id (0 none), for the frame trace.
    virtual int GetScreenId() const { return 0; }
    // A fighter destroyed in quick-ship mode (the tutorial's goal counts them).
    virtual void CountQuickShipFighterKill() {}
};
