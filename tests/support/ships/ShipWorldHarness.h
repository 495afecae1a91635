#pragma once
// The world harness with the ships layer's object types and level sections
// registered as the game registers them at start-up.

#include "ships/ShipObjectTypes.h"
#include "tests/support/world/WorldHarness.h"

class CShipWorldHarness : public CWorldHarness
{
public:
    explicit CShipWorldHarness(uint32_t seed = 1) : CWorldHarness(seed, &RegisterShipObjectTypes) {}
};
