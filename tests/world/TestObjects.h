#pragma once
// Objects for the world's tests: a body that moves by its motion, touches others
// through circle shapes and bounces, and one that writes down what the passes did.

#include "core/Random.h"
#include "world/Game.h"
#include "world/GameObject.h"

#include <string>
#include <vector>

// A round solid body: integrates each tick, bounces off what it touches.
class CBallObject : public CGameObject
{
public:
    CBallObject() : CGameObject(OBJECT_DUMB) {}

    void SetBall(float radius, int32_t mass)
    {
        m_body.radius = radius;
        m_body.mass = mass;
        m_body.velocityLimit = 1000;
        m_body.damping = 1.0f;
        m_body.health = 100;
        m_body.shape = CollisionChain(new CCollisionCircle(radius, true));
        PlaceShape();
    }
    bool Move() override
    {
        m_body.Integrate(GetGame() ? GetGame()->GetWorldWidth() : 10000.0f);
        PlaceShape();
        return true;
    }
    void Collide(CGameObject& other) override
    {
        ++m_offered;
        if (m_body.shape && other.GetBody().shape &&
            m_body.shape->Collide(*other.GetBody().shape, nullptr, nullptr, nullptr))
        {
            m_touches.push_back(other.GetHandle());
            if (m_bounce)
                BounceObjects(*this, other);
        }
    }
    bool TakeDamage(int32_t, CGameObject*, int32_t, int32_t amount) override
    {
        m_body.health -= amount;
        m_damageTaken += amount;
        return m_body.health <= 0;
    }

    bool m_bounce = true;
    int m_offered = 0;
    int32_t m_damageTaken = 0;
    std::vector<int32_t> m_touches;
};

// A ball that wanders: each tick a random push from the game's generator.
class CWandererObject : public CBallObject
{
public:
    void Think() override
    {
        CRandom& random = GetGameRandom();
        m_body.force += CVector2D(static_cast<float>(random.Between(-400, 401)),
                                  static_cast<float>(random.Between(-400, 401)));
    }
};

// A ball steered by the controls: thrust along its angle, turns of 5 degrees.
class CPilotedObject : public CBallObject
{
public:
    void Think() override
    {
        CControls& controls = GetGame()->GetControls();
        if (controls.GetAction(6).down || controls.GetAction(6).held)
            m_body.angle -= 5.0f;
        if (controls.GetAction(7).down || controls.GetAction(7).held)
            m_body.angle += 5.0f;
        if (controls.GetAction(4).down || controls.GetAction(4).held)
        {
            CVector2D heading;
            heading.SetFromAngle(m_body.angle);
            m_body.force += heading * 2000.0f;
        }
    }
};

// Writes each pass into a shared log as "pass:handle".
class CSpyObject : public CGameObject
{
public:
    CSpyObject() : CGameObject(OBJECT_DUMB) {}
    ~CSpyObject() override
    {
        if (s_log)
            s_log->push_back("gone:" + std::to_string(GetHandle()));
    }
    void Think() override { Write("think"); }
    bool Move() override
    {
        Write("move");
        return false;
    }
    void UpdateSprite() override { Write("sprite"); }

    static std::vector<std::string>* s_log;

private:
    void Write(const char* pass)
    {
        if (s_log)
            s_log->push_back(std::string(pass) + ":" + std::to_string(GetHandle()));
    }
};
