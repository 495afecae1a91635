#pragma once
// Numbers of effect definitions. A data tree's float can be as large as its exponent
// makes it ("1.0e300" reads as infinity), so every number an effect reads passes here:
// a value that is not finite or lies beyond +-1e6 keeps the default, with a warning,
// and nothing downstream ever turns such a value into a count, a time or a place.

class CDataTree;
class CDefinitionProblems;
class CVector2D;

constexpr float EFFECT_NUMBER_LIMIT = 1e6f;

bool IsSaneEffectNumber(float value);
// False (output untouched) when the key is missing or its value refused.
bool ReadEffectFloat(const CDataTree& block, const char* key, float& out, CDefinitionProblems& problems);
// A range or a point: two numbers.
bool ReadEffectPair(const CDataTree& block, const char* key, CVector2D& out, CDefinitionProblems& problems);
