#pragma once
// What animation sets, bodies and the parts large objects carry need of a world
// object on each call: its handle, place, motion, angle, scale, plane and shapes.

#include "presentation/SpriteOwner.h"

class CGameObject;

SSpriteOwner MakeSpriteOwner(const CGameObject& object);
