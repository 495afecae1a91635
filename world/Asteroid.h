#pragma once
// The asteroid class (object type ASTEROID, team 2): rocks that break into smaller
// rocks and gems, the gems the player's beam collects, and the special objects that
// share the class (crew sites and crew men, pods, alien stations and aliens). Each is
// set up from an entry of the level's asteroid table (world/AsteroidDefs.h); fields
// of them are laid out and spawned by world/AsteroidField.h.
//
// A transient asteroid (SObjectInfo::notCountedAsEnemy) is not recorded in the node's
// asteroid map: a transient gem decays 60 to 120 s after it first thinks.

#include "presentation/AnimatedSprite.h"
#include "presentation/TiledSprite.h"
#include "world/Effect.h"
#include "world/GameObject.h"

#include <cstdint>
#include <memory>

struct SAsteroidDef;

class CAsteroid : public CGameObject
{
public:
    // The effect a friendly alien station keeps for its healing.
    static constexpr const char* HEAL_EFFECT = "alienHeal";
    // How long (ms) a new asteroid cannot be hurt, nor touched by the type of object
    // that released it.
    static constexpr uint32_t GRACE_MS = 1000;
    // Death comes this long after the killing blow or the gem's decay (ms).
    static constexpr uint32_t DYING_MS = 500;
    // Player-ship distance at which crew sites and alien stations act.
    static constexpr float SITE_RANGE = 300.0f;

    CAsteroid();
    ~CAsteroid() override;

    // Health, spin, picture, a random place, shape and motion from the entry, and the
    // rules of the current node's kind. The entry must outlive the asteroid (the
    // level's table does).
    void Setup(const SAsteroidDef& def);

    void Think() override;
    bool Move() override;
    void UpdateSprite() override;
    // Break-up into pieces (inside the playfield, away from the boss node), then removal.
    void Die() override;
    void Collide(CGameObject& other) override;
    bool TakeDamage(int32_t sourceType, CGameObject* source, int32_t kind, int32_t amount) override;
    void SetDrawPlane(uint8_t plane) override;
    void SetVisible(bool visible) override;
    int32_t GetAsteroidKind() const override;
    int32_t GetSpawnerType() const override { return m_spawnerType; }
    int32_t GetCargoValue() const override { return m_cargoValue; }
    void HoldInBeam(bool damageableByAsteroids, uint32_t frame) override;

    const SAsteroidDef* GetDef() const { return m_def; }
    int32_t GetSizeIndex() const;
    bool IsTransient() const { return m_info.notCountedAsEnemy; }
    void SetTransient(bool transient) { m_info.notCountedAsEnemy = transient; }
    void SetSpawnerType(int32_t type) { m_spawnerType = type; }
    void SetCargoValue(int32_t value) { m_cargoValue = value; }
    bool IsDamageableByAsteroids() const { return m_damageableByAsteroids != 0; }
    uint32_t GetCreationTime() const { return m_creationTime; }
    uint32_t GetDeathTime() const { return m_deathTime; }
    uint32_t GetGemDecayTime() const { return m_gemDecayTime; }
    const CAnimatedSprite& GetSprite() const { return m_sprite; }

private:
    uint32_t Now() const;
    bool IsInsidePlayfield() const;
    void ActAsSite();
    void Heal(CGameObject* ship);
    void ReleaseCrew(int32_t kind);
    void SpawnNamedEffect(const char* name, const CVector2D& at) const;

    uint8_t m_damageableByAsteroids = 1;
    uint32_t m_lastHeldFrame = 0;
    const SAsteroidDef* m_def = nullptr;
    CAnimatedSprite m_sprite;
    std::unique_ptr<CTiledSprite> m_bigSprite;
    uint32_t m_deathTime = 0; // 1: at the next think
    uint32_t m_creationTime = 0;
    uint32_t m_gemDecayTime = 0;
    int32_t m_spawnerType = -1;
    int32_t m_cargoValue = 0;
    // A friendly alien station's healing glow, kept (not recyclable) until the station goes.
    SEffectRef m_heal;
};
