#pragma once
// Effects that sprites and bodies start (a body part's death, for one), by name. The
// effect cache of the game installs its implementation at start-up; until then the
// requests start nothing.

#include "core/Vector2D.h"

#include <cstdint>

class CEffectRequests
{
public:
    virtual ~CEffectRequests() = default;
    // Spawns the named effect for the owner (tracked and recyclable), places it, gives
    // it the velocity (world units per second) and starts it. An unknown name or a
    // full pool starts nothing.
    virtual void StartEffect(const char* name, int32_t ownerHandle, const CVector2D& position,
                             const CVector2D& velocity) = 0;
};

// Null puts back the requests that start nothing.
void InstallEffectRequests(CEffectRequests* requests);
CEffectRequests& GetEffectRequests();
