#pragma once
// The station (screen 12): the station's five weapon mounts as the campaign records
// them, fitted from the stores, and its condition. The centre mount (12002) takes the
// station items made for the centre, the four others the rest. An empty mount's list
// offers "..." and then the stored items that fit it (at most 20 a list); activating
// it on an item fits that item and takes a unit from the stores. A fitted mount's list
// shows its item; activating it opens the modify popup: remove (back into the stores,
// refused while the stores are full), sell (half the cost to the gem stocks, refused
// while they are full) or keep, chosen and then applied. The grav drive button shows the pilot record, which comes back here.
//
// Everything the screen shows comes from the campaign's records (the mounts, the
// station's kept health and maximum, the stores), not from a station in the world.

#include "frontend/FrontEndScreen.h"

#include <vector>

class CCampaign;
class CShipComponentDatabase;
struct SMountRecord;

// The station's condition in whole percent of its kept maximum; a station that has
// no maximum yet (a new game's, or one that cannot be hurt) is whole.
int32_t GetStationConditionPercent(int32_t health, int32_t maximum);

class CStationScreen : public CFrontEndScreen
{
public:
    static constexpr const char* LAYOUT = "data/frontend/station.txt";
    static constexpr const char* MODIFY_POPUP = "data/frontend/station/modifysweapon.txt";
    static constexpr int SEQUENCE_BACKDROP = 22;
    static constexpr int TUTORIAL_STEP_FIT = 22;
    static constexpr int LIST_MAX = 20;
    static constexpr uint32_t TEXT_CONDITION = 0xc5000003;

    enum EControl : int
    {
        BACK = 12001,
        MOUNT_FIRST = 12002,  // the centre mount; 12003 to 12006 the others
        GRAV_DRIVE = 12007,
        CONDITION = 12020,
        MODIFY_REMOVE = 101,
        MODIFY_SELL = 102,
        MODIFY_KEEP = 103,
        MODIFY_APPLY = 104,
        MODIFY_BACK = 105,
    };

    enum EModifyChoice : int
    {
        MODIFY_NONE = 0,
        MODIFY_CHOICE_REMOVE = 1,
        MODIFY_CHOICE_SELL = 2,
        MODIFY_CHOICE_KEEP = 3,
    };

    explicit CStationScreen(CGameFlow& flow);

    void Show() override;
    void Hide() override;

    // The store records each mount's list offers after its first entry.
    const std::vector<int>& GetOffered(int mount) const { return mount == 0 ? m_centreItems : m_sideItems; }
    int GetModifiedMount() const { return m_modifyMount; }
    EModifyChoice GetModifyChoice() const { return m_choice; }

protected:
    void HandleEvent(int32_t controlId, int32_t event, int32_t value) override;

private:
    CCampaign* GetCampaign() const;
    const CShipComponentDatabase* GetDatabase() const;
    void RebuildLists();
    void ShowCondition();
    void ActivateMount(int mount);
    void FitMount(int mount, int position);
    void OpenModify(int mount);
    void SetModifyStep(bool applying);
    void ApplyModify();
    void CloseModify();

    std::vector<int> m_centreItems;
    std::vector<int> m_sideItems;
    int m_modifyMount = -1;
    EModifyChoice m_choice = MODIFY_NONE;
};
