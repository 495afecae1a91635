#pragma once
// Objects and definitions for the tests of docking ports and the station: an object
// that ports and stations can hide, freeze and carry, writing down what they did to
// it, and the text of a port whose door slides and whose entrance path leads out.

#include "core/DataTree.h"
#include "tests/support/TempDir.h"
#include "world/Game.h"
#include "world/GameObject.h"

#include <memory>
#include <string>

// A round body that ports and the station carry: it moves by its motion unless
// frozen and notes its visibility, freezing and the force it last moved with.
class CDockableObject : public CGameObject
{
public:
    explicit CDockableObject(EObjectType type = OBJECT_DUMB) : CGameObject(type)
    {
        m_body.radius = 10.0f;
        m_body.mass = 10;
        m_body.velocityLimit = 2000;
        m_body.health = 100;
        m_body.shape = CollisionChain(new CCollisionCircle(10.0f, true));
    }
    bool Move() override
    {
        ++m_moves;
        m_lastForce = m_body.force;
        if (m_info.frozen)
            return false;
        m_body.Integrate(GetGame() ? GetGame()->GetWorldWidth() : 10000.0f);
        PlaceShape();
        return true;
    }
    void SetVisible(bool visible) override
    {
        m_visible = visible;
        ++m_visibilityChanges;
    }
    void SetFrozen(bool frozen) override
    {
        m_info.frozen = frozen;
        m_info.collidable = !frozen;
        if (frozen)
        {
            m_body.velocity = CVector2D();
            m_body.force = CVector2D();
        }
    }
    bool IsFrozen() const { return m_info.frozen; }

    bool m_visible = true;
    int m_visibilityChanges = 0;
    int m_moves = 0;
    CVector2D m_lastForce;
};

// A port at the owner: one door sprite (tag "DOOR", or "D000" standing for
// `tagCount` shapes) that slides from (-16, -40) to (16, -40) along path 0 at 160
// units a second; path 1, the entrance, leads from the owner's middle 100 units
// straight up at 250 a second (10 a frame) to the catchment (0, -100).
// Animations: 0 opens, 1 carries objects, 2 is a standby light on path 2.
std::string PortText(const std::string& name, float pushOnExit, const std::string& extra = "",
                     int tagCount = 1, const std::string& spriteFile = "dummy");

// A sprite file of five 8 x 8 frames in a temporary folder, for sprites that must
// be seen (a "dummy" sprite has no instance to show or hide).
class CTestSpriteFile
{
public:
    CTestSpriteFile();
    const std::string& GetPath() const { return m_path; }

private:
    CTempDir m_dir;
    std::string m_path;
};

// The first block of the text, or null.
std::unique_ptr<CDataTree> ParseBlock(const std::string& text);
