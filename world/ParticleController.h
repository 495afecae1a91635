#pragma once
// How a particle moves (block "controller", chosen by "type"):
//   STATIC          particles stay where they were made (they age, hit and expire)
//   OMNI_DIRECTION  straight on at their speed, the speed times "inertia" each move
//   ATTRACTION      drawn to "attractionPoint" (relative to the effect):
//                   "moveToAttractor", "killOnArrival", "circularPlacement",
//                   "fixedDistance"
//   TARGETED        steer towards targets found within "range" once "leaveAlone" of
//                   their life has passed: "primary" and "secondary" types
//                   ("ASTEROID" or none), "teamToAttack", "turnRate"; a table shared by
//                   the definition's particles spreads a swarm over its targets.
//
// One move of a particle (dt ms): a particle whose remaining life is below dt expires
// (hidden, the expire event, back to the pool); else it ages, steers, advances by its
// direction x speed, slows by the inertia, turns its sprite, is tested against the
// world when the emitter has a collision trigger, and takes its appearance.

#include "core/Vector2D.h"
#include "world/ObjectTypes.h"

#include <cstdint>
#include <memory>

class CDataTree;
class CDefinitionProblems;
class CEffect;
class CGameObject;
struct SParticle;

enum EControllerKind : int32_t
{
    CONTROLLER_STATIC = 0,
    CONTROLLER_OMNI_DIRECTION = 1,
    CONTROLLER_ATTRACTION = 2,
    CONTROLLER_TARGETED = 3,
};

class CController
{
public:
    explicit CController(EControllerKind kind) : m_kind(kind) {}
    virtual ~CController() = default;
    CController(const CController&) = delete;
    CController& operator=(const CController&) = delete;

    EControllerKind GetKind() const { return m_kind; }
    virtual void Read(const CDataTree& block, CDefinitionProblems& problems);

    // Places a new particle: its start offset and direction (degrees) turned by the
    // effect's heading and moved to the effect (unless owner-relative), its speed with
    // the effect's velocity added when the emitter asks for it.
    virtual void SetUpParticle(const CEffect& effect, SParticle& particle, const CVector2D& offset, float angle,
                               bool useEmitterVelocity) const;
    // Every live particle of the effect, by dt ms.
    void MoveParticles(CEffect& effect, uint32_t elapsedMs);
    // One particle; false when it died (expired, collided or arrived).
    bool MoveParticle(CEffect& effect, SParticle& particle, uint32_t elapsedMs);
    // The definition's frame, before its live effects move.
    virtual void BeginFrame() {}

    float GetInertia() const { return m_inertia; }

protected:
    // Turns the particle before it advances; false when it died.
    virtual bool Steer(CEffect& /*effect*/, SParticle& /*particle*/) { return true; }
    virtual bool Advances() const { return true; }

    EControllerKind m_kind;
    float m_inertia = 1.0f;
};

class CStaticController : public CController
{
public:
    CStaticController() : CController(CONTROLLER_STATIC) {}
    void Read(const CDataTree&, CDefinitionProblems&) override {}

protected:
    bool Advances() const override { return false; }
};

class CAttractionController : public CController
{
public:
    CAttractionController() : CController(CONTROLLER_ATTRACTION) {}
    void Read(const CDataTree& block, CDefinitionProblems& problems) override;
    void SetUpParticle(const CEffect& effect, SParticle& particle, const CVector2D& offset, float angle,
                       bool useEmitterVelocity) const override;

protected:
    bool Steer(CEffect& effect, SParticle& particle) override;

private:
    CVector2D m_point;
    float m_fixedDistance = 0.0f;
    bool m_moveToAttractor = false;
    bool m_killOnArrival = false;
    bool m_circularPlacement = false;
};

class CTargetedController : public CController
{
public:
    static constexpr int TABLE_SIZE = 10;

    CTargetedController() : CController(CONTROLLER_TARGETED) {}
    void Read(const CDataTree& block, CDefinitionProblems& problems) override;
    // The target table starts empty every frame.
    void BeginFrame() override;
    // Asks the table about an object and charges it the swarm's damage: false when the
    // damage already committed to it covers its health.
    bool AskTable(const CGameObject& object, int32_t damage);
    int32_t GetTableHandle(int index) const { return m_table[index].handle; }
    int32_t GetTableDamage(int index) const { return m_table[index].damage; }

protected:
    bool Steer(CEffect& effect, SParticle& particle) override;

private:
    struct SEntry
    {
        int32_t handle = 0; // 0: empty
        int32_t damage = 0;
    };

    // The nearest accepted primary candidate within range, else the nearest secondary.
    int32_t Search(const CEffect& effect, const CVector2D& place, int32_t damage);

    EObjectType m_primary = OBJECT_NONE;
    EObjectType m_secondary = OBJECT_NONE;
    ETeam m_teamToAttack = NO_TEAM;
    float m_leaveAlone = 0.0f;
    int32_t m_range = 0;
    float m_turnRate = 0.0f;
    SEntry m_table[TABLE_SIZE];
};

// The controller a type word makes (compared on the kind's length, as a prefix), or null.
std::unique_ptr<CController> MakeController(const char* word);
// A type word compared as the Parts' readers do: on the known word's length.
bool MatchesTypeWord(const char* word, const char* known);
