#include "world/GameObject.h"

#include "core/FastMath.h"
#include "world/Game.h"
#include "world/PushGrid.h"

#include <cmath>

namespace
{
// One axis: a body reaching past an edge steps 1 unit back in and turns round.
void BounceOffEdges(float& position, float& velocity, float radius, float worldWidth)
{
    if (position - radius <= 0.0f)
    {
        position += 1.0f;
        velocity = -velocity;
    }
    else if (position + radius >= worldWidth)
    {
        position -= 1.0f;
        velocity = -velocity;
    }
}
} // namespace

void CMotionBody::Integrate(float worldWidth)
{
    const float t = static_cast<float>(TICKS_PER_SECOND);
    previousPosition = position;
    heading.SetFromAngle(angle);

    // A body without mass in its definition would divide by zero.
    float weight = static_cast<float>(mass < 1 ? 1 : mass);
    velocity.x += force.x / weight / t;
    velocity.y += force.y / weight / t;

    float speed = velocity.Length();
    float limit = static_cast<float>(velocityLimit) / t;
    if (speed > limit)
    {
        velocity = speed > 0.0f ? velocity * (limit / speed) : CVector2D();
        position += velocity;
    }
    else if (speed > 0.99f)
        position += velocity;

    if (std::fabs(velocity.x) < 0.1f && std::fabs(velocity.y) < 0.1f && force.Dot(force) < 1.0f)
    {
        moving = 0;
        velocity = CVector2D();
    }
    else
        moving = 1;

    if (IsNearlyZero(force.x) && IsNearlyZero(force.y))
        velocity = velocity * damping;
    force = CVector2D();

    if (edgeBounce)
    {
        BounceOffEdges(position.x, velocity.x, radius, worldWidth);
        BounceOffEdges(position.y, velocity.y, radius, worldWidth);
    }
}

CGameObject::CGameObject(EObjectType type)
{
    m_info.type = type;
    m_info.treeNode = NOT_IN_TREE;
}

CGameObject::~CGameObject()
{
    CGame* game = GetGame();
    if (game && game->GetPushGrid() && !m_info.pushPending)
        game->GetPushGrid()->AddPush(*this, 2.0f * m_body.radius, 2.0f * m_body.radius, true);
}

void CGameObject::PlaceShape()
{
    if (m_body.shape)
        m_body.shape->SetPosition(m_body.position);
}
