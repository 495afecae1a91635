#pragma once
// A destructible piece that rides a mount point of its boss and swings its sprite
// back and forth, faster and slower in turn. Its boss reads it from a block of its
// own definition (the body keys and "deathEffect") and gives it its handle and the
// mount's index. Shots of its own side pass it by; 500 ms after a fatal hit it goes.
// A part whose boss is gone goes with it.

#include "ships/EnemyObject.h"

#include <string>

class CMountedPart : public CEnemyObject
{
public:
    static constexpr int32_t VELOCITY_LIMIT = 100;
    static constexpr float DAMPING = 0.98f;
    static constexpr uint32_t DEATH_DELAY_MS = 500;

    CMountedPart();

    // Read from its boss's block, not from a file of its own.
    const char* GetSectionName() const override { return "MOUNTED_PART"; }

    // The boss that carries it and the mount point's index on it.
    void SetParent(int32_t handle, int32_t mountIndex);

    void Think() override;
    bool Move() override;
    void UpdateSprite() override;
    void Die() override;
    void NotifyContact(CGameObject& other, const CVector2D& point, const CVector2D& normal) override;
    void Collide(CGameObject& other) override;
    bool TakeDamage(int32_t sourceType, CGameObject* source, int32_t kind, int32_t amount) override;

    int32_t GetParent() const { return m_parent; }
    int32_t GetMountIndex() const { return m_mountIndex; }
    uint32_t GetDeathTime() const { return m_deathTime; }
    float GetSweepRange() const { return m_sweepRange; }
    float GetSweepOffset() const { return m_sweepOffset; }
    float GetSweepRate() const { return m_sweepRate; }
    const std::string& GetDeathEffect() const { return m_deathEffect; }
    // Whether something touched or hit it since the boss last cleared the flag.
    bool WasHit() const { return m_hit; }
    void ClearHit() { m_hit = false; }

protected:
    bool ReadKeys(const CDataTree& section, CDefinitionProblems& problems) override;

private:
    CGameObject* FindParent() const;

    uint32_t m_deathTime = 0;
    float m_sweepRange = 0.0f; // degrees each way
    float m_sweepOffset = 0.0f;
    float m_sweepRate = 0.0f;  // degrees a tick, added to the offset
    std::string m_deathEffect;
    int32_t m_parent = NO_OBJECT;
    int32_t m_mountIndex = 0;
    bool m_hit = false;
    bool m_dying = false;
};
