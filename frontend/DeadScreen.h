#pragma once
// The dead screen (screen 3), shown when a run ends: the ending sequence of how it
// ended, then its still picture with the run's results revealed in step with its
// frames, and one button that ends the game and goes to the main menu.

#include "frontend/FrontEndScreen.h"

#include <string>

class CDeadScreen : public CFrontEndScreen
{
public:
    static constexpr const char* LAYOUT = "data/frontend/dead.txt";

    enum EControl : int
    {
        RESULT_A = 3001,
        CONTINUE = 3002,
        RESULT_B = 3003,
        RESULT_BUTTON = 3004,
        RESULT_C = 3010,
        RESULT_PANEL = 3011,
    };

    explicit CDeadScreen(CGameFlow& flow);

    void Show() override;
    void Update() override;
    // A quick-action time as "%02i:%02i" minutes and seconds; 59:59 for an hour or more.
    static std::u16string FormatMinutesSeconds(uint32_t ms);
    // Continue: the level, the zone state and the run end, and the main menu shows.
    void EndRun();
    // The ending the run's way of ending plays: survival 25, quick action 23, the
    // campaign played to its end 24, any other loss 26.
    int ChooseEnding() const;

protected:
    void HandleEvent(int32_t controlId, int32_t event, int32_t value) override;

private:
    void RevealResults(int frame);
    // The results of a quick-action or survival run, hidden until their frames come.
    void FillResults();

    int m_ending = -1;
    bool m_stillShown = false;
};
