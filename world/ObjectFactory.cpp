#include "world/ObjectFactory.h"

#include "world/Asteroid.h"
#include "world/GameObject.h"
#include "world/WorldSections.h"

namespace
{
ObjectCreator s_creators[OBJECT_TYPE_COUNT] = {};
}

bool RegisterObjectType(EObjectType type, ObjectCreator creator)
{
    if (type <= OBJECT_NONE || type >= OBJECT_TYPE_COUNT)
        return false;
    s_creators[type] = creator;
    return true;
}

CGameObject* MakeObjectOfType(int32_t type)
{
    if (!IsObjectTypeRegistered(type))
        return nullptr;
    return s_creators[type]();
}

bool IsObjectTypeRegistered(int32_t type)
{
    return type > OBJECT_NONE && type < OBJECT_TYPE_COUNT && s_creators[type];
}

void ClearObjectTypes()
{
    for (ObjectCreator& creator : s_creators)
        creator = nullptr;
}

void RegisterWorldObjectTypes()
{
    RegisterObjectType(OBJECT_DUMB, &CreateObjectOf<CDumbObject>);
    RegisterObjectType(OBJECT_ASTEROID, &CreateObjectOf<CAsteroid>);
    RegisterWorldSections();
}
