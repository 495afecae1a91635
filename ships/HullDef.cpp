#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "ships/ComponentDef.h"

#include <cstdio>
#include <cstring>

const SHullPodSlot* CHullDef::FindSlot(const CVector2D& position) const
{
    for (const SHullPodSlot& slot : m_podSlots)
        if (SamePodPosition(slot.m_position, position))
            return &slot;
    return nullptr;
}

void CHullDef::ParseOwnKeys(CKeyReader& keys)
{
    const CDataTree& section = keys.GetSection();
    keys.RequireVec2("gridSize", m_gridSize);
    uint32_t podCount = 0;
    keys.RequireUInt("numPods", podCount);
    if (podCount > HULL_POD_SLOTS_MAX)
    {
        keys.Fail(section.FindValue("numPods"), "\"numPods\" is %u, more than the %u pods a design holds", podCount,
                  HULL_POD_SLOTS_MAX);
        podCount = 0;
    }
    m_podSlots.resize(podCount);
    for (uint32_t i = 0; i < podCount; ++i)
    {
        char name[16];
        std::snprintf(name, sizeof(name), "pod%u", i);
        const CDataTree* block = section.FindBlock(name);
        if (!block)
        {
            keys.Fail(nullptr, "missing block \"%s\"", name);
            break;
        }
        CKeyReader podKeys(*block, keys.GetContext());
        SHullPodSlot& slot = m_podSlots[i];
        podKeys.RequireVec2("pos", slot.m_position);
        // "YES" and "NO", compared on their own three and two letters.
        char internal[8] = "";
        if (block->GetString("internal", internal, sizeof(internal)))
        {
            if (std::strncmp(internal, "YES", 3) == 0)
                slot.m_internal = 1;
            else if (std::strncmp(internal, "NO", 2) == 0)
                slot.m_internal = 0;
        }
        if (!slot.m_internal)
            podKeys.ReadVec2("launchOffset", slot.m_launchOffset);
        podKeys.RequireKind("exclude", slot.m_excluded);
        podKeys.RequireKind("specific", slot.m_specific);
        keys.TakeFailure(podKeys);
    }
    m_bodySprite = keys.CopyBlock("bodySprite", false);
    if (!m_bodySprite)
        keys.Fail(nullptr, "missing block \"bodySprite\"");
    const CDataTree* collision = section.FindBlock("collision");
    if (!collision)
        keys.Fail(nullptr, "missing block \"collision\"");
    else
    {
        CDefinitionProblems local;
        CDefinitionProblems* problems = keys.GetContext().m_problems;
        m_collision = ReadCollisionShapes(*collision, problems ? *problems : local);
        if (!m_collision)
            keys.Fail(collision, "the hull's \"collision\" block makes no usable shape");
    }
    if (keys.RequireValue("deathEffect"))
        keys.ReadText("deathEffect", m_deathEffect);
    if (keys.RequireValue("collisionContactEffect"))
        keys.ReadText("collisionContactEffect", m_collisionContactEffect);
}
