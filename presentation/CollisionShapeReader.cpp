#include "presentation/CollisionShape.h"

#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "presentation/CollisionTag.h"

#include <cstring>

namespace
{
constexpr float DEGREES_TO_RADIANS = 3.14159265f / 180.0f;

bool GetRequiredFloat(const CDataTree& block, const char* key, float& out, CDefinitionProblems& problems)
{
    if (block.GetFloat(key, out))
        return true;
    problems.AddMissingKey(&block, key);
    return false;
}

// One shape block; false on a fatal problem. An unknown type leaves the shape null.
bool ReadShape(const CDataTree& block, CollisionChain& shape, bool& root, CDefinitionProblems& problems)
{
    char type[64];
    if (!block.GetString("type", type, sizeof(type)))
    {
        problems.AddMissingKey(&block, "type");
        return false;
    }
    CVector2D offset;
    bool isRoot = std::strncmp(type, "rootCircle", 10) == 0;
    bool isCircle = std::strncmp(type, "circle", 6) == 0;
    bool isRect = std::strncmp(type, "rectangle", 9) == 0;
    if (!isRoot && !isCircle && !isRect)
    {
        problems.AddWarning(&block, "unknown collision shape type \"%s\" makes no shape", type);
        return true;
    }
    if (!block.GetVec2("offset", offset))
    {
        problems.AddMissingKey(&block, "offset");
        return false;
    }
    if (isRect)
    {
        float width = 0.0f;
        float height = 0.0f;
        if (!GetRequiredFloat(block, "width", width, problems) || !GetRequiredFloat(block, "height", height, problems))
            return false;
        float angle = 0.0f;
        block.GetFloat("angle", angle);
        shape.reset(new CCollisionRect(width, height, angle * DEGREES_TO_RADIANS));
    }
    else
    {
        float radius = 0.0f;
        if (!GetRequiredFloat(block, "radius", radius, problems))
            return false;
        shape.reset(new CCollisionCircle(radius, isRoot));
    }
    root = isRoot;
    shape->SetOffset(offset);
    char tag[64];
    if (block.GetString("collisionTag", tag, sizeof(tag)))
        shape->SetTag(PackCollisionTag(tag));
    bool disabled = false;
    block.GetBool("disable", disabled);
    shape->SetDisabled(disabled);
    return true;
}
} // namespace

CollisionChain ReadCollisionShapes(const CDataTree& node, CDefinitionProblems& problems)
{
    uint32_t count = 0;
    node.GetUInt("numObj", count);
    CollisionChain root;
    CollisionChain inner;
    int innerCount = 0;
    for (uint32_t i = 0; i < count; ++i)
    {
        const CDataTree* block = node.GetChildBlock(i);
        if (!block)
        {
            problems.AddFatal(&node, "numObj is %u but there are only %u shape blocks", count, i);
            return nullptr;
        }
        CollisionChain shape;
        bool isRoot = false;
        if (!ReadShape(*block, shape, isRoot, problems))
            return nullptr;
        if (!shape)
            continue;
        if (isRoot && !root)
        {
            root = std::move(shape);
            continue;
        }
        if (isRoot)
            static_cast<CCollisionCircle&>(*shape).SetRoot(false); // only the first bounds the object
        if (innerCount == CCollisionShape::MAX_INNER_SHAPES)
        {
            problems.AddWarning(block, "more than %d collision shapes besides the root: the rest are left out",
                                CCollisionShape::MAX_INNER_SHAPES);
            break;
        }
        ++innerCount;
        if (inner)
            inner->Append(std::move(shape));
        else
            inner = std::move(shape);
    }
    if (!root)
        return inner;
    root->Append(std::move(inner));
    return root;
}
