#include "world/AsteroidDefs.h"

#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "core/Random.h"
#include "presentation/DefinitionBlocks.h"

#include <cstdio>
#include <cstring>

namespace
{
// A required number: missing is fatal.
template <typename T, typename Getter>
bool ReadRequired(const CDataTree& node, const char* key, T& out, Getter get, CDefinitionProblems& problems)
{
    if ((node.*get)(key, out))
        return true;
    problems.AddMissingKey(&node, key);
    return false;
}

void ReadEffectName(const CDataTree& node, const char* key, char* out)
{
    char text[DATA_VALUE_MAX + 1] = "";
    if (node.GetString(key, text, sizeof(text)))
    {
        std::snprintf(out, SAsteroidDef::EFFECT_NAME_MAX + 1, "%s", text);
    }
}
} // namespace

uint32_t SAsteroidDef::GetFrameWidth() const
{
    if (bigSprite)
        return bigSprite->GetCellWidth() * static_cast<uint32_t>(bigSprite->GetColumns());
    return sprite.GetFrameWidth();
}

uint32_t SAsteroidDef::GetFrameHeight() const
{
    if (bigSprite)
        return bigSprite->GetCellHeight() * static_cast<uint32_t>(bigSprite->GetRows());
    return sprite.GetFrameHeight();
}

bool CAsteroidTable::LoadDefinition(const CDataTree& node, bool makeSprites, CDefinitionProblems& problems)
{
    char type[DATA_VALUE_MAX + 1] = "";
    if (!node.GetString("type", type, sizeof(type)))
    {
        problems.AddMissingKey(&node, "type");
        return false;
    }
    const int32_t kind = AsteroidKindFromName(type);
    if (kind < 0)
    {
        problems.AddFatal(&node, "unknown asteroid type \"%s\"", type);
        return false;
    }
    if (m_counts[kind] >= ENTRIES_PER_KIND)
    {
        problems.AddFatal(&node, "a definition of type \"%s\" beyond the %d a type holds", type, ENTRIES_PER_KIND);
        return false;
    }
    std::unique_ptr<SAsteroidDef>& slot = m_entries[kind][m_counts[kind]];
    slot = std::make_unique<SAsteroidDef>();
    SAsteroidDef& def = *slot;
    def.kind = kind;
    def.sizeIndex = m_counts[kind];

    node.GetInt("minRotSec", def.minRotSec);
    node.GetInt("maxRotSec", def.maxRotSec);
    node.GetInt("mass", def.mass);
    node.GetInt("health", def.health);
    node.GetInt("velLimit", def.velLimit);
    node.GetFloat("inertialDampening", def.inertialDampening);
    CVector2D scale(1.0f, 1.0f);
    node.GetVec2("scale", scale);
    def.scale[0] = scale.x;
    def.scale[1] = scale.y;
    ReadEffectName(node, "deathEffect", def.deathEffect);
    ReadEffectName(node, "collisionContactEffect", def.collisionContactEffect);

    bool complete = true;
    bool big = false;
    node.GetBool("bigSprite", big);
    if (big)
    {
        def.bigSprite = std::make_unique<CTiledSpriteDef>();
        complete = def.bigSprite->Load(node, problems) && complete;
    }
    else if (const CDataTree* sprite = node.FindBlock("sprite"))
    {
        if (makeSprites)
            def.sprite.Load(*sprite, true);
    }
    const CDataTree* collision = node.FindBlock("collision");
    if (!collision)
    {
        problems.AddMissingKey(&node, "collision");
        complete = false;
    }
    else
    {
        def.shape = ReadCollisionShapes(*collision, problems);
        complete = def.shape != nullptr && complete;
    }
    ++m_counts[kind];
    return complete;
}

bool CAsteroidTable::LoadSites(const CDataTree& section, CDefinitionProblems& problems)
{
    const CDataTree* sites = section.FindBlock("spawnSites");
    if (!sites)
    {
        problems.AddMissingKey(&section, "spawnSites");
        return false;
    }
    int32_t count = 0;
    if (!ReadRequired(*sites, "numSites", count, &CDataTree::GetInt, problems))
        return false;
    if (count < 1 || count > MAX_SITES)
    {
        // Fields are laid out round a site: without one there is nowhere to put them.
        problems.AddFatal(sites, "%d spawn sites (1 to %d)", count, MAX_SITES);
        return false;
    }
    bool complete = true;
    for (int32_t i = 0; i < count; ++i)
    {
        const CDataTree* node = FindNumberedBlock(*sites, "site", i, true, problems);
        if (!node)
        {
            complete = false;
            continue;
        }
        SAsteroidSpawnSite site;
        char randomVel[DATA_VALUE_MAX + 1] = "";
        bool found = node->GetString("randomVel", randomVel, sizeof(randomVel));
        if (!found)
            problems.AddMissingKey(node, "randomVel");
        site.randomVel = found && std::strncmp(randomVel, "no", 2) != 0;
        found = ReadRequired(*node, "initVelMin", site.initVelMin, &CDataTree::GetVec2, problems) && found;
        found = ReadRequired(*node, "initVelMax", site.initVelMax, &CDataTree::GetVec2, problems) && found;
        found = ReadRequired(*node, "centre", site.centre, &CDataTree::GetVec2, problems) && found;
        found = ReadRequired(*node, "radius", site.radius, &CDataTree::GetFloat, problems) && found;
        complete = complete && found;
        m_sites.push_back(site);
    }
    return complete;
}

bool CAsteroidTable::Load(const CDataTree& section, bool makeSprites, CDefinitionProblems& problems)
{
    Free();
    bool complete = true;
    int32_t count = 0;
    if (!section.GetInt("numDefs", count))
    {
        problems.AddMissingKey(&section, "numDefs");
        complete = false;
    }
    else if (!ReadDefinitionCount(section, "numDefs", MAX_DEFINITIONS, count, problems))
        complete = false;
    else
        for (int32_t i = 0; i < count; ++i)
        {
            const CDataTree* node = FindNumberedBlock(section, "def", i, false, problems);
            if (!node)
            {
                problems.AddFatal(&section, "no block \"def%d\" with its \"type\"", static_cast<int>(i));
                complete = false;
                continue;
            }
            complete = LoadDefinition(*node, makeSprites, problems) && complete;
        }
    complete = LoadSites(section, problems) && complete;
    if (!complete)
        Free();
    return complete;
}

void CAsteroidTable::Free()
{
    for (int32_t kind = 0; kind < ASTEROID_KIND_COUNT; ++kind)
    {
        for (std::unique_ptr<SAsteroidDef>& def : m_entries[kind])
            def.reset();
        m_counts[kind] = 0;
    }
    m_sites.clear();
}

int32_t CAsteroidTable::GetCount(int32_t kind) const
{
    return kind >= 0 && kind < ASTEROID_KIND_COUNT ? m_counts[kind] : 0;
}

const SAsteroidDef* CAsteroidTable::GetEntry(int32_t kind, int32_t sizeIndex) const
{
    if (sizeIndex < 0 || sizeIndex >= GetCount(kind))
        return nullptr;
    return m_entries[kind][sizeIndex].get();
}

bool CAsteroidTable::IsEmpty() const
{
    for (int32_t count : m_counts)
        if (count > 0)
            return false;
    return true;
}

int32_t CAsteroidTable::PickSizeIndex(int32_t kind, CRandom& random) const
{
    const int32_t count = GetCount(kind);
    if (count < 3)
        return IsRockKind(kind) ? 1 : 0;
    return random.Below(count - 1) + 1;
}
