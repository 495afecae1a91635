#pragma once
// The physical and visual body that enemies, bosses and the station read from their
// definitions: physical constants for the owner to take over, a body sprite, the
// collision-shape chain, and parts (extra sprites) that can carry their own health,
// take hits through tagged shapes, flash when hit and be destroyed with an effect.

#include "presentation/AnimatedSprite.h"
#include "presentation/CollisionShape.h"
#include "presentation/SpriteRef.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class CDataTree;
class CDefinitionProblems;
struct SSpriteOwner;

struct SBodyPart
{
    // Effect names longer than this are cut.
    static constexpr size_t MAX_EFFECT_NAME = 47;

    CAnimatedSprite m_sprite;
    uint32_t m_tag = 0;           // 0: no tag
    int32_t m_health = 0;
    std::string m_deathEffect;    // empty: none
    int32_t m_planeOffset = 0;    // added to the body's plane
    uint32_t m_flashEnd = 0;      // game-clock ms; 0 while not flashing
    bool m_damageOnly = false;    // its destruction leaves its shapes colliding
    bool m_moveCollisionObj = false;
    bool m_invulnerable = false;
    bool m_animated = false;      // has a play rate
};

class CObjectBody
{
public:
    static constexpr int32_t MAX_DEFS = 64;
    static constexpr int32_t MAX_PARTS = 64;
    static constexpr uint32_t FLASH_MS = 50;

    CObjectBody() = default;
    ~CObjectBody() { Destroy(); }
    CObjectBody(const CObjectBody&) = delete;
    CObjectBody& operator=(const CObjectBody&) = delete;

    // "mass", "health", the block "bodySprite" and the block "collision" are required;
    // "inertialDamping", "velocitylimit" and the block "extraSprites" ("numDefs" with
    // "def%i", "numSprites" with "sprite%i") are not. A missing required key or
    // numbered block, or a count outside the tables, is fatal (false): the game cannot
    // run the object, and its loader ends the program (EndOnBrokenDefinition). A part
    // whose definition index names no definition has no sprite (a warning).
    bool Load(const CDataTree& node, const SSpriteOwner& owner, CDefinitionProblems& problems);
    // Frees sprites, parts, references and shapes.
    void Destroy();

    // Once a frame: scale, flashes that ended, animation; parts follow the owner.
    void Update(const SSpriteOwner& owner);
    // The hit that the last collision test recorded on the body's shapes: every live
    // part tagged like the shape that was hit takes the damage (an invulnerable one
    // stops the walk and takes none). Gives the last part hit; false when no part was.
    bool HitPart(const SSpriteOwner& owner, int32_t damage, int& partIndex);
    // Hides the part, sets its health to 0, starts its death effect and, unless it is
    // damage-only, disables every shape with its tag.
    void DestroyPart(const SSpriteOwner& owner, int partIndex);
    // Flashes the body and every untagged part that is not flashing; with `end` set,
    // ends those flashes.
    void Flash(bool end);
    // True when no tagged part has health left.
    bool AreTaggedPartsDestroyed() const;
    void SetDrawPlane(int plane);
    void SetVisible(bool visible);
    void SnapToPixels();

    int32_t GetMass() const { return m_mass; }
    int32_t GetHealth() const { return m_health; }
    float GetInertialDamping() const { return m_inertialDamping; }
    float GetVelocityLimit() const { return m_velocityLimit; }
    CCollisionShape* GetShapes() const { return m_shapes.get(); }
    // Hands the chain to the owner (its motion body keeps it from then on); the owner
    // then gives it as SSpriteOwner::shapes to Update, HitPart and DestroyPart.
    CollisionChain TakeShapes() { return std::move(m_shapes); }
    CAnimatedSprite& GetSprite() { return m_sprite; }
    const CSpriteRef& GetSpriteRef() const { return m_spriteRef; }
    CSpriteRef& GetSpriteRef() { return m_spriteRef; }
    size_t GetPartCount() const { return m_partCount; }
    SBodyPart& GetPart(size_t index) { return m_parts[index]; }
    const SBodyPart& GetPart(size_t index) const { return m_parts[index]; }

private:
    bool LoadParts(const CDataTree& node, const SSpriteOwner& owner, CDefinitionProblems& problems);
    // The owner's chain when it holds one (it may have taken the body's), else the body's.
    CCollisionShape* GetShapes(const SSpriteOwner& owner) const;
    void StartFlash(CAnimatedSprite& sprite, uint32_t& flashEnd, uint32_t now);
    void EndFlash(CAnimatedSprite& sprite, uint32_t& flashEnd, bool force, uint32_t now);

    CollisionChain m_shapes;
    CSpriteRef m_spriteRef;
    CAnimatedSprite m_sprite;
    int32_t m_mass = 0;
    int32_t m_health = 0;
    float m_inertialDamping = 1.0f;
    float m_velocityLimit = 0.0f;
    uint32_t m_flashEnd = 0;
    bool m_animated = false;
    // Declared before the parts, which are destroyed first.
    std::unique_ptr<CSpriteRef[]> m_defs;
    size_t m_defCount = 0;
    std::unique_ptr<SBodyPart[]> m_parts;
    size_t m_partCount = 0;
    int m_plane = 0;
};
