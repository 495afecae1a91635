#include "world/EffectKeys.h"

#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "core/Vector2D.h"

#include <cmath>

bool IsSaneEffectNumber(float value)
{
    return std::isfinite(value) && std::fabs(value) <= EFFECT_NUMBER_LIMIT;
}

bool ReadEffectFloat(const CDataTree& block, const char* key, float& out, CDefinitionProblems& problems)
{
    float value = 0.0f;
    if (!block.GetFloat(key, value))
        return false;
    if (!IsSaneEffectNumber(value))
    {
        problems.AddWarning(block.FindChild(key), "\"%s\" is no number within +-1e6: the default stays", key);
        return false;
    }
    out = value;
    return true;
}

bool ReadEffectPair(const CDataTree& block, const char* key, CVector2D& out, CDefinitionProblems& problems)
{
    CVector2D value;
    if (!block.GetVec2(key, value))
        return false;
    if (!IsSaneEffectNumber(value.x) || !IsSaneEffectNumber(value.y))
    {
        problems.AddWarning(block.FindChild(key), "\"%s\" holds no numbers within +-1e6: the default stays", key);
        return false;
    }
    out = value;
    return true;
}
