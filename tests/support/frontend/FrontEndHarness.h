#pragma once
// The game flow in a test: the world harness's real game (with the ships layer's
// types), a GUI manager on its recording renderer, and the real game flow with the
// game's own screens built from the sample data's layouts (the program folder is the
// current folder while the harness lives, its packs mounted). The real-time clock is the harness's
// manual clock, which moves 40 ms a frame.
//
//   CFrontEndHarness harness;                // screens made, nothing shown yet
//   harness.RunFrames(1);                    // no logo: the main menu shows
//   harness.PressKey(Dik::ESCAPE);           // down from the next frame on
//   harness.Activate(SCREEN_MAIN_MENU, 2001);
//
// A frame runs the main loop's steps in its order: the game's frame start, the keys,
// the GUI (with the controls' actions), the game flow's update and music, the
// controls' poll, the game's update by mode, the game flow's drawing, the game's
// frame end.
//
// The user folder (TESSAVAR_HOME) is a temporary one of the harness's, with its
// "tessavar/data" folder, so the player's files (the key map) never touch the real
// one; GetUserFolder names it.

#include "frontend/GameFlow.h"
#include "tests/support/CurrentDir.h"
#include "tests/support/EnvOverride.h"
#include "tests/support/TempDir.h"
#include "tests/support/world/WorldHarness.h"

#include <memory>

class CGuiManager;
class CRenderer;
class CStringTable;

class CFrontEndHarness
{
public:
    // The owner value of the exit warning's controls.
    static constexpr int32_t EXIT_WARNING_OWNER = 1000;

    // Screens from the factory (the game's own by default); none when makeScreens is
    // false. A renderer given (opened) stands in for the recording one.
    explicit CFrontEndHarness(bool makeScreens = true, CGameFlow::ScreenFactory factory = nullptr,
                              std::unique_ptr<CRenderer> renderer = nullptr);
    ~CFrontEndHarness();
    CFrontEndHarness(const CFrontEndHarness&) = delete;
    CFrontEndHarness& operator=(const CFrontEndHarness&) = delete;

    void RunFrame();
    void RunFrames(uint32_t count);
    // Keys as the input device reports them: down or up from now on.
    void PressKey(int code);
    void ReleaseKey(int code);
    // A key down for one frame, then up.
    void TapKey(int code);
    // The GUI's callback receives what a control raises: an activation (event 1) or a
    // GUI action (event 0 with its code).
    void Activate(int32_t owner, int32_t controlId);
    void RaiseAction(int32_t owner, int32_t controlId, int action);
    // Runs frames until the screen's input gate has passed.
    void WaitForInputGate();

    // A flight on the harness level with the flow in flight mode, as after a start.
    bool StartFlight();

    CGameFlow& GetFlow() { return *m_flow; }
    const CTempDir& GetUserFolder() const { return m_home; }
    CGame& GetGame() { return m_world->GetGame(); }
    CWorldHarness& GetWorld() { return *m_world; }
    CGuiManager& GetGui() { return *m_gui; }
    CManualClock& GetClock() { return m_world->GetClock(); }
    // The control id of the GUI's focus, -1 for none.
    int GetFocusId() const;
    // How many live windows of the GUI carry the control id.
    int CountWindows(int controlId) const;

private:
    CTempDir m_home;
    CEnvOverride m_homeVariable;
    CCurrentDir m_folder;
    std::unique_ptr<CStringTable> m_strings;
    CStringTable* m_oldStrings = nullptr;
    std::unique_ptr<CWorldHarness> m_world;
    std::unique_ptr<CGuiManager> m_gui;
    std::unique_ptr<CGameFlow> m_flow;
};
