#pragma once
// The ship the player flies: the world object of type PLAYER_SHIP, built from a
// ship design of the level's database. Every frame it turns the player's actions
// into turning, thrust, fire and beam requests, runs its runtime's energy step,
// feeds the HUD, and answers hits and death.
//
// The world's factory makes it without a design; ApplyConfig (or LoadFromFile with
// a design's ident) builds its runtime. A ship that has none does nothing.

#include "core/Vector2D.h"
#include "presentation/AnimatedSprite.h"
#include "presentation/SpriteRef.h"
#include "ships/EngineFlames.h"
#include "ships/ShipRuntime.h"
#include "ships/ShipSound.h"
#include "world/GameObject.h"

#include <cstdint>
#include <memory>

class CEngineDef;
class CHullDef;

class CPlayerShip : public CGameObject
{
public:
    static constexpr int DRAW_PLANE = 8;
    static constexpr int32_t TURN_STEP = 3;
    static constexpr int32_t TURN_MAX = 15;
    static constexpr float TURN_DECAY = 0.6f;
    static constexpr uint32_t DEATH_DELAY_MS = 500;
    static constexpr uint32_t STATION_CALL_MS = 250;
    static constexpr const char* BEAM_REFUSED_SOUND = "data\\sfx\\tractorbeam\\nosuck.wav";
    static constexpr float BEAM_REFUSED_VOLUME = 0.7f;

    CPlayerShip();
    ~CPlayerShip() override;

    // Loads design <slot> of the level's database; false when the slot is empty.
    bool ApplyConfig(int32_t slot);
    // Loads the design of that ident: its runtime, hull sprite, shapes and health,
    // the hold's capacity, the engine, shield, flames and sounds. False (and no
    // runtime) when no design has the ident or the design has no hull.
    bool LoadFromFile(const char* ident) override;

    void Think() override;
    bool Move() override;
    void UpdateSprite() override;
    void Die() override;
    void Collide(CGameObject& other) override;
    bool TakeDamage(int32_t sourceType, CGameObject* source, int32_t kind, int32_t amount) override;
    void SetVisible(bool visible) override;
    void SetFrozen(bool frozen) override;
    void SetWarpState(EWarpState state) override;

    // At most once every 250 ms: the station's alert goes up at the position.
    void RequestStationHelp(const CVector2D& position);
    // The station unloads one item: ordinary gems, rare, very rare, then salvaged
    // and found equipment; the rarer gems raise their campaign events (the station
    // credits every gem it takes).
    void UnloadCargoItem();

    CShipRuntime* GetRuntime() const { return m_runtime.get(); }
    const CHullDef* GetHullDef() const { return m_hullDef; }
    const CEngineDef* GetEngineDef() const { return m_engineDef; }
    const CVector2D& GetEngineOffset() const { return m_engineOffset; }
    int32_t GetHullIndex() const { return m_hullIndex; }
    int32_t GetHullHealth() const { return m_hullHealth; }
    float GetDamping() const { return m_damping; }
    uint32_t GetDeathTime() const { return m_deathTime; }
    int32_t GetStorageSlot() const;
    const CEngineFlames& GetFlames() const { return m_flames; }
    const CShipSound& GetBeamRefusedSound() const { return m_beamRefusedSound; }
    const CAnimatedSprite& GetBodySprite() const { return m_bodySprite; }
    bool IsHitLatched() const { return m_hitLatch; }

    // The turn speed in degrees a tick, shared by every player ship of the game
    // (a new design starts it at 0).
    static int32_t GetTurnSpeed() { return s_turnSpeed; }
    // The hold of a hull: 30, 40 or 50 for hull indices 2, 3 and 4, else 25, and a
    // quarter of that more for each cargo pod.
    static int32_t GetCargoCapacity(int32_t hullIndex, int32_t cargoPods);

private:
    void UpdateHud();
    void UpdateShieldJam();
    void Steer();
    void ReadWeapons();
    void ReadBeam();
    void ReadStationCall();
    int32_t ApplyDamageRules(int32_t sourceType, CGameObject* source, int32_t kind, int32_t amount) const;

    std::unique_ptr<CShipRuntime> m_runtime;
    const CHullDef* m_hullDef = nullptr;
    uint32_t m_creationStamp = 0;
    CSpriteRef m_bodyRef;
    CAnimatedSprite m_bodySprite;
    uint32_t m_deathTime = 0;
    CEngineFlames m_flames;
    CShipSound m_beamRefusedSound;
    const CEngineDef* m_engineDef = nullptr;
    CVector2D m_engineOffset;
    int32_t m_hullIndex = 0;
    uint32_t m_totalMass = 0;
    float m_damping = 1.0f;
    int32_t m_velocityLimit = 0;
    int32_t m_hullHealth = 0;
    bool m_hidden = false; // SetVisible(false): no body, no flames
    bool m_hitLatch = false;
    bool m_controlsFlushed = false;
    bool m_calledStation = false;
    uint32_t m_lastStationCall = 0;

    static int32_t s_turnSpeed;
};
