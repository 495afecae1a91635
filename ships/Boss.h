#pragma once
// What the five bosses share: each is a mothership (ships/Mothership.h) that stands
// still until the director raises its go flag and while the director shows its own
// chat page, then runs the mothership's think and its own attack. A boss's death
// blow starts a four-second death; a boss that leaves a queen fighter makes her as it
// goes (and stays dying, trying again every frame, while the world has no room for
// her), the others leave the prize asteroid as the blow lands and take every enemy
// with them.
//
// A boss reads the first section whose name starts with the first nine letters of
// its type name ("STAR_BOSS", "MAGMA_BOS", "RAIN_BOSS", "TRON_BOSS", "DISC_BOSS"):
// the mothership's keys, then its own. Fixed part, port and turret numbers that the
// data does not have count as dead or absent; the load says so once on the console.

#include "ships/Mothership.h"

#include <memory>
#include <vector>



class CBoss : public CEnemyMothership
{
public:
    static constexpr uint32_t DEATH_DELAY_MS = 4000;

    // The chat page the director shows for this boss (44 to 48) and the score of its death.
    CBoss(EObjectType type, int chatPage, int32_t points);

    void Think() override;
    bool Move() override;

    // The director's go flag for this boss stands raised.
    bool HasGo() const;
    int GetChatPage() const { return m_chatPage; }
    int32_t GetPoints() const { return m_points; }

protected:
    bool ReadKeys(const CDataTree& section, CDefinitionProblems& problems) final;
    // The boss's own keys, after the mothership's.
    virtual bool ReadBossKeys(const CDataTree& section, CDefinitionProblems& problems) = 0;
    // The script, after the mothership's think, while the boss lives.
    virtual void Attack(uint32_t now) = 0;
    // The highest part, port and turret numbers the script uses (-1 none): fewer in
    // the data is said once on the console.
    virtual void GetScriptNeeds(int& parts, int& ports, int& turrets) const = 0;

    // Asteroids and its own side never hurt a boss.
    bool IsIgnoredSource(int32_t sourceType, const CGameObject* source) const;
    // The core's hit with the boss's death (four seconds, its points); true when it
    // was the death blow.
    bool TakeBossCoreHit(int32_t kind, int32_t amount);
    // The prize of a death blow: the zone's boss is beaten and the prize asteroid
    // (a drive pod carrying the payload) drifts off.
    void LeavePrize(int32_t payload);
    // A queen fighter from the definition at the boss; false while the world has no
    // room (the caller stays dying and tries again). Without a definition the boss is
    // beaten at once, so the zone can still be won.
    bool LeaveQueen(const CDataTree* definition, int32_t* queenHandle);
    // The queen's file, read whole; null definition when it has none.
    const CDataTree* ReadQueenFile(const CDataTree& section, const char* key, std::unique_ptr<CDataNodeList>& file);
    // Removal taking every other enemy along.
    void DieWithEnemies();

private:
    int m_chatPage;
    int32_t m_points;
};
