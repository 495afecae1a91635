#include "world/ObjectSpriteOwner.h"

#include "world/GameObject.h"

SSpriteOwner MakeSpriteOwner(const CGameObject& object)
{
    const CMotionBody& body = object.GetBody();
    SSpriteOwner owner;
    owner.handle = object.GetHandle();
    owner.position = body.position;
    owner.velocity = body.velocity;
    owner.angle = body.angle;
    owner.scaleX = body.scale[0];
    owner.scaleY = body.scale[1];
    owner.drawPlane = object.GetInfo().drawPlane;
    owner.shapes = body.shape.get();
    return owner;
}
