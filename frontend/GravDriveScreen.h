#pragma once
// The gravity drive (screen 13): a pilot record in full. From the station it shows
// the running game's pilot and leads back there; from the hall of fame it shows the
// chosen entry and leads back to the hall. The record's name, score, play time and
// difficulty, its six statistics, the five tallies of research reached with their
// stars, the three medals and the ship table; a popup gives the pilot's score code.
//
// A tally is a component kind's research stage (shields, drones, pinbeams, bombs and
// lasers, in the record's order): "stage ( available )" once researched, otherwise
// "?" with a line saying it is not yet earned. The medals: the first once the record
// reached the last zone, the second once every tally is set, the third once the crew
// has grown by 25.

#include "frontend/FrontEndScreen.h"
#include "frontend/PilotRecord.h"

#include <string>

class CGravDriveScreen : public CFrontEndScreen
{
public:
    static constexpr const char* LAYOUT = "data/frontend/gravdrive.txt";
    static constexpr const char* CODE_POPUP = "data/frontend/webcode.txt";
    static constexpr int SEQUENCE_FIRST_STILL = 12;
    static constexpr int TALLIES = PILOT_ARRAY_SIZE;
    static constexpr int32_t TALLY_AVAILABLE[TALLIES] = {4, 4, 3, 3, 4};
    static constexpr uint32_t TALLY_UNSET_TEXT[TALLIES] = {0xc1000004, 0xd000003, 0x46000002, 0x94000004, 0xdf000004};
    static constexpr uint32_t DIFFICULTY_TEXT[3] = {0xf9000006, 0xde000001, 0x49000001};
    static constexpr int32_t FIRST_MEDAL_ZONE = PILOT_MAX_REACHED_ZONE;
    static constexpr int32_t THIRD_MEDAL_CREW = 25;
    static constexpr int SHIP_ROW_IDS = 3; // name, kills, flight time

    enum EControl : int
    {
        BACK = 13001,
        NAME = 13002,
        SCORE = 13003,
        TIME = 13004,
        STAT_FIRST = 13005,   // 13005 to 13010
        TALLY_FIRST = 13020,  // label and value of each tally: 13020 to 13029
        SHIP_FIRST = 13040,   // three ids a ship table row
        MEDAL_FIRST = 13100,  // three medals, then a star a tally: 13100 to 13107
        SCORE_CODE = 13200,
        DIFFICULTY = 13300,
        CODE_TEXT = 101,
        CODE_CLOSE = 104,
    };

    explicit CGravDriveScreen(CGameFlow& flow);

    void Load() override;
    void Show() override;
    void Hide() override;

    // From the station (the running pilot), or the hall of fame's entry.
    bool IsFromStation() const { return m_fromStation; }
    const SPilotRecord& GetShownRecord() const { return m_record; }

protected:
    void HandleEvent(int32_t controlId, int32_t event, int32_t value) override;

private:
    bool TakeRecord();
    void ShowRecord();
    void ShowTallies();
    void ShowMedals();
    void ShowShips();
    void SetPicture(int controlId, const char* file);

    SPilotRecord m_record;
    bool m_fromStation = false;
    std::u16string m_tallyLabels[TALLIES];
};
