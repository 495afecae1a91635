#include "tools/tesstool/EffectNameCheck.h"

#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "world/EffectCache.h"

#include <memory>

namespace
{
const char* const EFFECT_LIST = "data\\effect.txt";

// The game's effects, read once (null when the list cannot be read).
const CEffectCache* GetEffects()
{
    static std::unique_ptr<CEffectCache> effects;
    static bool tried = false;
    if (!tried)
    {
        tried = true;
        effects = std::make_unique<CEffectCache>();
        if (!effects->Load(EFFECT_LIST))
            effects.reset();
    }
    return effects.get();
}
} // namespace

void CheckEffectName(const CDataTree& node, const char* key, CDefinitionProblems& problems)
{
    char name[DATA_VALUE_MAX + 1] = "";
    if (!node.GetString(key, name, sizeof(name)) || !name[0])
        return;
    const CEffectCache* effects = GetEffects();
    if (!effects)
        problems.AddWarning(node.FindChild(key), "effect \"%s\": the effect list %s cannot be read", name, EFFECT_LIST);
    else if (!effects->FindDefinition(name))
        problems.AddWarning(node.FindChild(key), "effect \"%s\" is not in the effect list", name);
}
