#pragma once
// Ship component definitions: the parts a ship is built from, read from the
// level's component file. Nothing changes a definition once it is read.

#include "core/DataTree.h"
#include "core/Vector2D.h"
#include "presentation/CollisionShape.h"
#include "ships/ComponentKind.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CDataNode;
class CDefinitionProblems;
class CStringTable;

constexpr size_t COMPONENT_IDENT_MAX = 48;       // characters of an ident
constexpr size_t COMPONENT_DESCRIPTION_MAX = 256;
constexpr size_t EFFECT_NAME_MAX = 48;           // characters of an effect name

// What a definition's reader needs besides its section, and where it reports.
struct SDefParseContext
{
    const CStringTable* m_strings = nullptr; // display keys are looked up here
    CDefinitionProblems* m_problems = nullptr;
};

class CShipComponentDef
{
public:
    explicit CShipComponentDef(EComponentKind kind) : m_kind(kind) {}
    CShipComponentDef(const CShipComponentDef&) = delete;
    CShipComponentDef& operator=(const CShipComponentDef&) = delete;
    virtual ~CShipComponentDef() = default;

    // The common keys, then the kind's own. False, with the problems reported,
    // when a required key is missing or malformed or a name is unknown.
    bool Parse(const CDataTree& section, SDefParseContext& context);

    std::string m_ident;
    std::string m_description;
    uint32_t m_mass = 0;
    uint32_t m_health = 0;
    EPodShape m_podShape = POD_SHAPE_NONE;
    EComponentKind m_kind;
    int32_t m_iconFrame = 0;
    int32_t m_ammo = -1;          // -1 for kinds without ammunition
    float m_cost[3] = {0, 0, 0};  // normal, rare and very rare gems
    int32_t m_energyRequirement = 0;
    uint32_t m_displayStringId = 0;
    uint32_t m_descriptionStringId = 0;

protected:
    class CKeyReader;
    virtual void ParseOwnKeys(CKeyReader& keys) = 0;
};

// Reads the keys of one block and reports each one that is missing or malformed
// as a fatal problem; later reads still run, so every problem is listed.
class CShipComponentDef::CKeyReader
{
public:
    CKeyReader(const CDataTree& section, SDefParseContext& context) : m_section(section), m_context(context) {}

    const CDataTree& GetSection() const { return m_section; }
    SDefParseContext& GetContext() const { return m_context; }
    bool IsOk() const { return !m_failed; }
    // A nested block's reader failed: so has this one.
    void TakeFailure(const CKeyReader& inner) { m_failed = m_failed || inner.m_failed; }
    // A fatal problem near the node (the section when null).
    void Fail(const CDataNode* near, const char* format, ...) __attribute__((format(printf, 3, 4)));

    void RequireInt(const char* key, int32_t& out);
    void RequireUInt(const char* key, uint32_t& out);
    void RequireFloat(const char* key, float& out);
    void RequireVec2(const char* key, CVector2D& out);
    // A kind text such as "ANY_WEAPON".
    void RequireKind(const char* key, EComponentKind& out);
    // A value that must be there, whatever it holds; false when it is missing.
    bool RequireValue(const char* key);
    // Present keys are read; absent ones leave the default.
    void ReadInt(const char* key, int32_t& out);
    void ReadFloat(const char* key, float& out);
    void ReadVec2(const char* key, CVector2D& out);
    void ReadBool(const char* key, bool& out);
    // Texts are cut to maxChars.
    void ReadText(const char* key, std::string& out, size_t maxChars = EFFECT_NAME_MAX);
    // The block of that name; when allowSelf and it is missing, the section itself.
    std::unique_ptr<CDataTree> CopyBlock(const char* key, bool allowSelf);
    // The string-table id of the key text found under the name.
    void RequireStringId(const char* key, uint32_t& out);

private:
    // Reports a missing key, or a malformed value when the key is there.
    void Missing(const char* key);

    const CDataTree& m_section;
    SDefParseContext& m_context;
    bool m_failed = false;
};

class CEngineDef : public CShipComponentDef
{
public:
    CEngineDef() : CShipComponentDef(COMPONENT_ENGINE) {}

    int32_t m_thrust = 0;
    float m_inertialDampening = 0.0f;
    int32_t m_emergencyBoost = 0; // read and kept; boosting doubles the thrust instead
    int32_t m_massDampingRated = 0;
    int32_t m_velocityLimit = 0;
    // The flame sprite's keys: its own block, or the section when that is missing.
    std::unique_ptr<CDataTree> m_engineSprite;
    CVector2D m_engineEffectOffset;
    CVector2D m_engineSpriteOffset;
    std::string m_engineEffect;

protected:
    void ParseOwnKeys(CKeyReader& keys) override;
};

class CGeneratorDef : public CShipComponentDef
{
public:
    CGeneratorDef() : CShipComponentDef(COMPONENT_GENERATOR) {}

    int32_t m_outputPerSec = 0;

protected:
    void ParseOwnKeys(CKeyReader& keys) override;
};

class CBatteryDef : public CShipComponentDef
{
public:
    CBatteryDef() : CShipComponentDef(COMPONENT_BATTERY) {}

    float m_maxEnergy = 0.0f;
    float m_chargeRateSec = 0.0f;

protected:
    void ParseOwnKeys(CKeyReader& keys) override;
};

// Projectile guns and lasers share one layout.
class CGunDef : public CShipComponentDef
{
public:
    explicit CGunDef(EComponentKind kind) : CShipComponentDef(kind) {}

    float m_fireRateSec = 0.0f;
    float m_maxTapSec = 0.0f;
    int32_t m_chargeEnergyNeeded = 0;
    int32_t m_maxChargeRateSec = 0;
    std::string m_weaponEffect;
    std::string m_chargeWeaponEffect;
    std::string m_chargeEffect;
    std::string m_fullChargeEffect;

protected:
    void ParseOwnKeys(CKeyReader& keys) override;
};

class CMissileDef : public CShipComponentDef
{
public:
    CMissileDef() : CShipComponentDef(COMPONENT_MISSILE) {}

    float m_fireRateSec = 0.0f;
    float m_maxTapSec = 0.0f;
    std::string m_weaponEffect;

protected:
    void ParseOwnKeys(CKeyReader& keys) override;
};

class CPinbeamDef : public CShipComponentDef
{
public:
    CPinbeamDef() : CShipComponentDef(COMPONENT_PINBEAM) {}

    float m_fireRateSec = 0.0f;
    float m_maxTapSec = 0.0f;
    std::string m_weaponEffect;

protected:
    void ParseOwnKeys(CKeyReader& keys) override;
};

class CBombDef : public CShipComponentDef
{
public:
    CBombDef() : CShipComponentDef(COMPONENT_BOMB) {}

    std::string m_weaponEffect;
    float m_fireRateSec = 0.0f;
    float m_maxTapSec = 0.0f;

protected:
    void ParseOwnKeys(CKeyReader& keys) override;
};

class CDroneDef : public CShipComponentDef
{
public:
    CDroneDef() : CShipComponentDef(COMPONENT_DRONE) {}

    float m_fireRateSec = 0.0f;
    std::string m_weaponEffect;
    std::string m_bodySprite; // a sprite file name
    bool m_usesAmmo = false;  // "ammo" was given

protected:
    void ParseOwnKeys(CKeyReader& keys) override;
};

class CGravityBeamDef : public CShipComponentDef
{
public:
    CGravityBeamDef() : CShipComponentDef(COMPONENT_GRAVITY_BEAM) {}

    // The sound of a gem taken into the hold (several may overlap, none loops).
    static constexpr const char* SUCK_SOUND = "data\\sfx\\tractorbeam\\suckOk.wav";
    static constexpr float SUCK_VOLUME = 0.75f;

    std::string m_gravityEffect;
    std::string m_objEffect;
    float m_radius = 0.0f;
    bool m_gemCollision = true; // "noGemCollision" true clears it

protected:
    void ParseOwnKeys(CKeyReader& keys) override;
};

class CShieldDef : public CShipComponentDef
{
public:
    CShieldDef() : CShipComponentDef(COMPONENT_SHIELD) {}

    std::string m_shieldEffect;
    std::string m_shieldEdgeEffect;
    float m_maxChargeRateSec = 0.0f;
    float m_radius = 0.0f;

protected:
    void ParseOwnKeys(CKeyReader& keys) override;
};

// Missile and bomb rounds.
class CAmmoDef : public CShipComponentDef
{
public:
    explicit CAmmoDef(EComponentKind kind) : CShipComponentDef(kind) {}

protected:
    void ParseOwnKeys(CKeyReader& keys) override;
};

class CCargoDef : public CShipComponentDef
{
public:
    CCargoDef() : CShipComponentDef(COMPONENT_CARGO) {}

protected:
    void ParseOwnKeys(CKeyReader&) override {}
};

// One grid cell of a hull that a pod may cover.
struct SHullPodSlot
{
    CVector2D m_position;     // cell, in grid units
    CVector2D m_launchOffset; // where shots leave the hull (slots that are not internal)
    EComponentKind m_excluded = COMPONENT_NONE; // may not go here; NONE excludes nothing
    EComponentKind m_specific = COMPONENT_NONE; // the only kind allowed; NONE any, ANY_WEAPON any weapon
    uint8_t m_internal = 0;
};

constexpr uint32_t HULL_POD_SLOTS_MAX = 35; // a design holds no more pods

class CHullDef : public CShipComponentDef
{
public:
    CHullDef() : CShipComponentDef(COMPONENT_HULL) {}

    // The slot whose cell equals the position, or null.
    const SHullPodSlot* FindSlot(const CVector2D& position) const;

    CVector2D m_gridSize;
    std::vector<SHullPodSlot> m_podSlots;
    // The body sprite's block, kept as read: a ship makes its sprite from it.
    std::unique_ptr<CDataTree> m_bodySprite;
    CollisionChain m_collision;
    std::string m_deathEffect;
    std::string m_collisionContactEffect;

protected:
    void ParseOwnKeys(CKeyReader& keys) override;
};

// The station's weapon and vacuum mounts share one layout.
class CStationWeaponDef : public CShipComponentDef
{
public:
    explicit CStationWeaponDef(EComponentKind kind) : CShipComponentDef(kind) {}

    std::unique_ptr<CDataTree> m_sprite; // its block, or the section when missing
    int32_t m_drawPlane = 0;
    CVector2D m_launchOffset;
    float m_range = 0.0f;
    CVector2D m_fireAngleMinMax; // degrees
    std::string m_weaponEffect;
    std::string m_notFiringEffect;
    std::string m_deathEffect;
    float m_turnRate = 0.0f;
    float m_fireRate = 0.0f;
    float m_chargeTime = 0.0f;
    int32_t m_dockingPortMountIdx = -1;
    int32_t m_dockingPortAnimIdx = -1;
    std::string m_collisionTag;
    bool m_damageOnly = false;
    bool m_gemSuck = false;
    bool m_mining = false;
    bool m_stopToFire = false;
    bool m_centreMount = false;

protected:
    void ParseOwnKeys(CKeyReader& keys) override;
};

// True when the positions differ by at most 1e-8 on both axes.
bool SamePodPosition(const CVector2D& a, const CVector2D& b);
