#pragma once
// The five bosses (ships/Boss.h has what they share).
//
// Star ("STAR_BOSS"): hurls bursts of small explosive rocks at the player ship, 1.5 s
// apart under a warp effect, with "spawnAsteroidDelay" ms between bursts of
// "numSpawnedAsteroids"; its parts 0 to 3 are shielded by turret pairs; it leaves the
// queen fighter of "queenFighterFile". Magma ("MAGMA_BOS"): swings its four blobs
// (parts 8 to 11) out, fires "blobEmitter" round the ring, pulls them back; ports 0 to
// 3 go with parts 4 to 7; it leaves the queen of "magmaFighterFile". Rain
// ("RAIN_BOSS"): switches its ring of twelve turrets off in turn on a step shared by
// every rain boss; outer parts shield the inner ones; then it launches. Tron
// ("TRON_BOSS"): its beam turrets 6 and 7 charge, warn ("warningSfxName") and fire
// while its small guns rest. Disc ("DISC_BOSS"): throws four spinning discs (block
// "disc": "offset", "pissTrail" and a mounted part's keys) that come back to dock, and
// turns its active gun every "gunDelay" seconds ("gunSfx").

#include "ships/Boss.h"
#include "ships/ShipEffect.h"
#include "ships/ShipSound.h"

#include <memory>
#include <string>

class CMountedPart;



class CStarBoss : public CBoss
{
public:
    static constexpr uint32_t THROW_INTERVAL_MS = 1500;
    static constexpr float THROW_SPEED = 10.0f;
    static constexpr int32_t THROW_PAYLOAD = 8;

    CStarBoss();
    const char* GetSectionName() const override { return "STAR_BOSS"; }
    bool Move() override;
    void Die() override;
    void Collide(CGameObject& other) override;
    bool TakeDamage(int32_t sourceType, CGameObject* source, int32_t kind, int32_t amount) override;

    int32_t GetBurstCount() const { return m_burstCount; }
    uint32_t GetNextSpawn() const { return m_nextSpawn; }
    bool IsWarpOn() const { return m_warpOn; }
    int32_t GetThrown() const { return m_thrown; }

protected:
    bool ReadBossKeys(const CDataTree& section, CDefinitionProblems& problems) override;
    void Attack(uint32_t now) override;
    void GetScriptNeeds(int& parts, int& ports, int& turrets) const override;

private:
    void ThrowAsteroid();

    CShipEffect m_warp;
    bool m_warpOn = false;
    uint32_t m_delay = 0;
    int32_t m_perBurst = 0;
    int32_t m_burstCount = 0;
    uint32_t m_nextSpawn = 0;
    int32_t m_thrown = 0;
    std::unique_ptr<CDataNodeList> m_queenFile;
    const CDataTree* m_queen = nullptr;
};

class CMagmaBoss : public CBoss
{
public:
    static constexpr int BLOBS = 4;
    static constexpr int FIRST_BLOB_PART = 8;
    static constexpr uint32_t REST_MS = 2000;
    static constexpr uint32_t BURST_MS = 2000;
    static constexpr float BLOB_SPEED = 0.05f; // units a ms
    static constexpr float LONG_REACH = 400.0f;
    static constexpr float SHORT_REACH = 300.0f;

    struct SBlob
    {
        CShipEffect emitter;
        CVector2D home;    // offset from the boss
        CVector2D outward; // unit vector
        float reach = 0.0f;
        uint32_t stepTime = 0;
        bool emitting = false;
    };

    CMagmaBoss();
    const char* GetSectionName() const override { return "MAGMA_BOS"; }
    void Die() override;
    bool TakeDamage(int32_t sourceType, CGameObject* source, int32_t kind, int32_t amount) override;
    bool IsStrikingHard() const override;
    // Striking hard with a blob: the shape of its last contact is one of the blob parts.
    bool IsBlobStrikingHard() const;

    int GetPhase() const { return m_phase; }
    int GetCurrentBlob() const { return m_current; }
    const SBlob& GetBlob(int index) const { return m_blobs[index]; }
    // The blob's offset from the boss now.
    CVector2D GetBlobOffset(int index) const;
    bool IsCentralBurst() const { return m_centralBurst; }
    float GetBurstSize() const { return m_burstSize; }

protected:
    bool ReadBossKeys(const CDataTree& section, CDefinitionProblems& problems) override;
    void Attack(uint32_t now) override;
    void GetScriptNeeds(int& parts, int& ports, int& turrets) const override;

private:
    void SetBlobOffset(int index, const CVector2D& offset);
    void RunBursts(uint32_t now);
    void StartBurst(int blob, float angle, uint32_t now);
    void PlaceEmitters();

    CShipEffect m_central;
    SBlob m_blobs[BLOBS];
    int m_phase = 0;
    uint32_t m_phaseTime = 0;
    int m_current = -1;
    int m_next = -1;
    uint32_t m_burstEnd = 0;
    bool m_centralBurst = false;
    bool m_started = false;
    bool m_longReachNext[BLOBS] = {true, true, true, true};
    float m_burstSize = 0.5f;
    std::unique_ptr<CDataNodeList> m_queenFile;
    const CDataTree* m_queen = nullptr;
};

class CRainBoss : public CBoss
{
public:
    static constexpr int RING = 12;
    static constexpr uint32_t STEP_MS = 500;
    static constexpr uint32_t OFF_MS = 1500;
    static constexpr int32_t PRIZE_PAYLOAD = 10;

    CRainBoss();
    const char* GetSectionName() const override { return "RAIN_BOSS"; }
    void Die() override { DieWithEnemies(); }
    bool TakeDamage(int32_t sourceType, CGameObject* source, int32_t kind, int32_t amount) override;

    // The step all rain bosses share (-1 before the first).
    static int GetSharedStep();
    uint32_t GetReenableTime(int turret) const { return m_reenable[turret]; }
    bool IsRingDone() const { return m_ringDone; }

protected:
    bool ReadBossKeys(const CDataTree&, CDefinitionProblems&) override { return true; }
    void Attack(uint32_t now) override;
    void GetScriptNeeds(int& parts, int& ports, int& turrets) const override;

private:
    uint32_t m_reenable[RING] = {};
    uint32_t m_seenStep = 0;
    uint32_t m_lastLaunch = 0;
    bool m_launched = false;
    bool m_ringDone = false;
};

class CTronBoss : public CBoss
{
public:
    static constexpr int BEAM_A = 6;
    static constexpr int BEAM_B = 7;
    static constexpr int SMALL_GUNS = 6;
    static constexpr int32_t PRIZE_PAYLOAD = 11;

    CTronBoss();
    const char* GetSectionName() const override { return "TRON_BOSS"; }
    void Die() override { DieWithEnemies(); }
    bool TakeDamage(int32_t sourceType, CGameObject* source, int32_t kind, int32_t amount) override;

    // 0 guns and charge, 1 guns off and the warning, 2 beams.
    int GetCycleStage() const { return m_stage; }
    const CShipSound& GetWarning() const { return m_warning; }

protected:
    bool ReadBossKeys(const CDataTree& section, CDefinitionProblems& problems) override;
    void Attack(uint32_t now) override;
    void GetScriptNeeds(int& parts, int& ports, int& turrets) const override;

private:
    CShipSound m_warning;
    bool m_warned = false;
    int m_stage = 0;
};

class CDiscBoss : public CBoss
{
public:
    static constexpr int DISCS = 4;
    static constexpr uint32_t START_DELAY_MS = 4000;
    static constexpr uint32_t DOCKED_MS = 3000;
    static constexpr uint32_t THROWN_MS = 15000;
    static constexpr float DISC_SPEED = 150.0f / 25.0f;
    static constexpr float RETURN_SPEED = DISC_SPEED * 1.2f;
    static constexpr float SPIN = 30.0f / 25.0f;
    static constexpr int32_t PRIZE_PAYLOAD = 12;

    enum EDiscState
    {
        DISC_THROWN = 0,
        DISC_RETURNING = 1,
        DISC_DOCKED = 2,
    };

    struct SDisc
    {
        int32_t part = NO_OBJECT;
        CVector2D home;      // offset from the boss
        CVector2D point;     // the mount point, in the world
        CVector2D direction; // unit
        float spin = 0.0f;   // degrees a frame
        float angle = 0.0f;  // the disc's sprite
        uint32_t timer = 0;
        int state = DISC_DOCKED;
        CShipEffect trail;
        CShipEffect engine;
    };

    CDiscBoss();
    ~CDiscBoss() override;
    const char* GetSectionName() const override { return "DISC_BOSS"; }
    void Think() override;
    bool Move() override;
    void Die() override { DieWithEnemies(); }
    bool TakeDamage(int32_t sourceType, CGameObject* source, int32_t kind, int32_t amount) override;
    bool GetMountPoint(int32_t index, CVector2D& point) const override;

    const SDisc& GetDisc(int index) const { return m_discs[index]; }
    int GetActiveGun() const { return m_activeGun; }
    uint32_t GetStartTime() const { return m_startTime; }

protected:
    bool ReadBossKeys(const CDataTree& section, CDefinitionProblems& problems) override;
    void Attack(uint32_t now) override;
    void GetScriptNeeds(int& parts, int& ports, int& turrets) const override;

private:
    void MakeDiscs(const CDataTree& block, const CVector2D& offset);
    void MoveDisc(int index, CMountedPart& part, uint32_t now);

    CShipSound m_gunSound;
    uint32_t m_gunInterval = 0;
    uint32_t m_nextGun = 0;
    int m_activeGun = 0;
    SDisc m_discs[DISCS];
    std::string m_trailEffect;
    uint32_t m_startTime = 0;
    bool m_returning = false;
    bool m_discsMade = false;
};
