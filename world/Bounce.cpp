#include "core/FastMath.h"
#include "world/Game.h"
#include "world/GameFlowLink.h"
#include "world/GameObject.h"

namespace
{
// A player ship bounces as if it weighed at most 10, so it is not a battering ram;
// a mass below 1 counts as 1 (the damage divides by it).
int32_t BounceMass(const CGameObject& object)
{
    int32_t mass = object.GetBody().mass;
    if (object.GetType() == OBJECT_PLAYER_SHIP && mass > 10)
        mass = 10;
    return mass < 1 ? 1 : mass;
}

struct SMotion
{
    float speed = 0.0f;
    CVector2D direction;
};

SMotion DescribeMotion(const CGameObject& object)
{
    SMotion motion;
    float speed = object.GetBody().velocity.Length();
    if (!IsNearlyZero(speed))
    {
        motion.speed = speed;
        motion.direction = object.GetBody().velocity * (1.0f / speed);
    }
    return motion;
}

void SetBounceVelocity(CGameObject& object, const CVector2D& momentum, int32_t mass)
{
    CMotionBody& body = object.GetBody();
    float length = momentum.Length();
    if (IsNearlyZero(length))
        body.velocity = CVector2D();
    else if (body.additiveBounce)
        body.velocity += momentum * (1.0f / length);
    else
        body.velocity = momentum * (1.0f / length) * (length / static_cast<float>(mass) * BOUNCE_REBOUND);
}

// Both objects at a share of the way from their previous to their current places.
bool OverlapAt(CGameObject& a, CGameObject& b, const CVector2D& targetA, const CVector2D& targetB, float share)
{
    CMotionBody& bodyA = a.GetBody();
    CMotionBody& bodyB = b.GetBody();
    bodyA.position = bodyA.previousPosition + (targetA - bodyA.previousPosition) * share;
    bodyB.position = bodyB.previousPosition + (targetB - bodyB.previousPosition) * share;
    a.PlaceShape();
    b.PlaceShape();
    if (bodyA.shape && bodyB.shape)
        return bodyA.shape->Collide(*bodyB.shape, nullptr, nullptr, nullptr);
    CVector2D apart = bodyA.position - bodyB.position;
    float reach = bodyA.radius + bodyB.radius;
    return apart.Dot(apart) <= reach * reach;
}
} // namespace

void BounceObjects(CGameObject& a, CGameObject& b)
{
    CGame* game = GetGame();
    if (game && game->GetGameFlow().GetMode() == GAME_MODE_IN_GAME_MENU)
        return;
    CMotionBody& bodyA = a.GetBody();
    CMotionBody& bodyB = b.GetBody();

    CVector2D n = bodyB.position - bodyA.position;
    if (IsNearlyZero(n.Length()))
        n = CVector2D(1.0f, 0.0f); // one on top of the other: any line will do
    else
        n.Normalise();

    const int32_t ma = BounceMass(a);
    const int32_t mb = BounceMass(b);
    const SMotion motionA = DescribeMotion(a);
    const SMotion motionB = DescribeMotion(b);

    CVector2D impulseToB;
    CVector2D keptByA = motionA.direction;
    float d = motionA.direction.Dot(n);
    if (d > 0.0f)
    {
        float p = static_cast<float>(ma) * motionA.speed;
        impulseToB = n * (d * p);
        keptByA = motionA.direction * (p - d * p);
    }
    CVector2D impulseToA;
    CVector2D keptByB = motionB.direction;
    CVector2D minusN = n * -1.0f;
    float e = motionB.direction.Dot(minusN);
    if (e > 0.0f)
    {
        float q = static_cast<float>(mb) * motionB.speed;
        impulseToA = minusN * (e * q);
        keptByB = motionB.direction * (q - e * q);
    }

    SetBounceVelocity(a, keptByA + impulseToA, ma);
    SetBounceVelocity(b, keptByB + impulseToB, mb);

    int32_t j = static_cast<int32_t>(impulseToA.Length() + impulseToB.Length());
    int32_t damageA = j / ma;
    int32_t damageB = j / mb;
    a.TakeDamage(b.GetType(), &b, 0, damageA < 1 ? 1 : damageA);
    b.TakeDamage(a.GetType(), &a, 0, damageB < 1 ? 1 : damageB);

    // Separate by halving the way back from where they overlap to where they came from.
    const CVector2D targetA = bodyA.position;
    const CVector2D targetB = bodyB.position;
    CVector2D freeA = bodyA.previousPosition;
    CVector2D freeB = bodyB.previousPosition;
    float share = 0.5f;
    bool overlapping = false;
    for (int step = 0; step < 3; ++step)
    {
        overlapping = OverlapAt(a, b, targetA, targetB, share);
        if (overlapping)
            share *= 0.5f;
        else
        {
            freeA = bodyA.position;
            freeB = bodyB.position;
            share += (1.0f - share) * 0.5f;
        }
    }
    if (overlapping)
    {
        bodyA.position = bodyA.previousPosition - n * 2.0f;
        bodyB.position = bodyB.previousPosition + n * 2.0f;
        bodyA.velocity = n * -2.0f;
        bodyB.velocity = n * 2.0f;
    }
    else
    {
        bodyA.position = freeA;
        bodyB.position = freeB;
    }
    a.PlaceShape();
    b.PlaceShape();
    a.UpdateSprite();
    b.UpdateSprite();
}
