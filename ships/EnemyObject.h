#pragma once
// What the enemies (drones, fighters, worm segments, mounted parts) share: a body
// read from the top-level section of their definition file that is named after
// their type, the game clock and the world they live in, one-off effects, and the
// contact rule of two bodies.
//
// A definition file may hold sections for several objects; an enemy reads the first
// one whose name starts with its section name, in any letter case ("ENEMY_DRONE"
// takes "enemy_drone" and "ENEMY_DRONE_FAST"). A file that cannot be read or holds
// no such section leaves the enemy unloaded: a console line says why and the enemy
// leaves the world. A section that the game cannot run (a missing required key)
// ends the program naming file, line and key.

#include "core/DataTree.h"
#include "core/Vector2D.h"
#include "presentation/AnimationClock.h"
#include "presentation/ObjectBody.h"
#include "world/GameObject.h"

#include <cstdint>
#include <string>

class CAsteroid;
class CDefinitionProblems;
class CGame;
class CWorld;

// A block whose name starts with the section name (compared without regard to case
// over the section name's length).
bool IsDefinitionSection(const CDataNode& node, const char* section);
// The first block of the nodes that is the section, or null.
const CDataTree* FindDefinitionSection(const CDataNodeList& nodes, const char* section);
const CDataTree* FindDefinitionSection(const CDataTree& root, const char* section);

// The game clock (0 without a game), the running world (or null).
uint32_t GetGameClock();
CWorld* GetRunningWorld();
// Which way the crowd pushes at the point (the push grid's vector; 0 without one).
CVector2D GetCrowdPush(const CVector2D& point);
// The world's objects stand still for a warp of the player ship or the station.
bool IsWorldOnHold();
// The sum, held within the 32-bit range.
int32_t SaturatedProduct(int32_t amount, int32_t factor);

class CEnemyObject : public CGameObject
{
public:
    // The drift of the pods an enemy leaves (ThrowPod).
    static constexpr float POD_SPEED = 70.0f;
    static constexpr int32_t POD_SPEED_LIMIT = 99;
    static constexpr uint8_t POD_PLANE = 14;

    explicit CEnemyObject(EObjectType type) : CGameObject(type) {}

    // The file's section (see above); false when the enemy is not loaded.
    bool LoadFromFile(const char* file) override;
    // The tree's first fitting top-level section.
    void LoadFromTree(const CDataTree& tree, bool) override;
    // The section itself.
    void ParseDefinition(const CDataTree& section) override;
    // The section read into the enemy, every problem added: false when the game
    // could not run it (checks read definitions through this without the game).
    bool ReadDefinition(const CDataTree& section, CDefinitionProblems& problems);

    void SetVisible(bool visible) override;
    void SetDrawPlane(uint8_t plane) override;

    bool IsLoaded() const { return m_loaded; }
    CObjectBody& GetObjectBody() { return m_objectBody; }
    const CObjectBody& GetObjectBody() const { return m_objectBody; }
    // The section name the enemy reads ("ENEMY_DRONE").
    virtual const char* GetSectionName() const = 0;

protected:
    // The enemy's own keys, after the body was read into the motion body.
    virtual bool ReadKeys(const CDataTree& section, CDefinitionProblems& problems) = 0;

    // Starts a one-off effect (tracked, recyclable) at the point, for the enemy or
    // for no owner; an empty name starts nothing.
    void StartEffect(const std::string& name, const CVector2D& point, bool owned) const;
    // The body's sprites and parts follow the object.
    void UpdateBody();
    // The shapes of two bodies touch: both bounce, the other is told, and sparks fly
    // at the contact while the enemy lives. False when they do not touch.
    bool CollideBodies(CGameObject& other);
    // Frozen: out of collisions and standing still; released: colliding again.
    void FreezeBody(bool frozen);
    void StopMotion();
    // Leaves the world (at the start of the next update).
    void RemoveFromWorld() const;
    // A pod of the asteroid kind at the enemy, drifting off its heading give or take
    // 2 degrees, carrying the payload (a wreck pod, the drive pod of a boss or a
    // queen); null when the world has no room.
    CAsteroid* ThrowPod(int32_t kind, bool recorded, int32_t payload) const;

    CObjectBody m_objectBody;
    bool m_loaded = false;

private:
    bool LoadSection(const CDataTree* section, const char* where);
};

// A gem (an asteroid of the kind) dropped within 20 units of the point on each axis.
void DropGem(const CVector2D& point, int32_t kind);

// Reads a named effect (cut to an effect name's length) when the key is there.
void ReadEffectName(const CDataTree& section, const char* key, std::string& name);
