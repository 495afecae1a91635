#pragma once
// The hall of fame (screen 16): the eight best pilots with their scores and the best
// quick-action time, over the first frame of its sequence. An entry opens the
// gravity-drive screen with that pilot's record in full.

#include "frontend/FrontEndScreen.h"

#include <cstdint>
#include <string>

class CHallOfFameScreen : public CFrontEndScreen
{
public:
    static constexpr const char* LAYOUT = "data/frontend/hallfame.txt";

    enum EControl : int
    {
        BACK = 16001,
        FIRST_ENTRY = 16002,  // entry k: button 16002 + 3k, name and score after it
        BEST_TIME = 16026,
    };
    enum EText : uint32_t
    {
        TEXT_BEST_MINUTES = 0xdf000005,
        TEXT_BEST_SECONDS = 0x52000002,
    };

    explicit CHallOfFameScreen(CGameFlow& flow);

    void Show() override;
    void Hide() override;
    // The best time in minutes and seconds from one minute on, else in seconds.
    static std::u16string FormatBestTime(uint32_t ms);

protected:
    void HandleEvent(int32_t controlId, int32_t event, int32_t value) override;

private:
    // The entry of a button, -1 for another control.
    static int GetEntryOfButton(int32_t controlId);
};
