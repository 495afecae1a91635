#pragma once
// A zone of one node for the world's tests: the current node's record (with its
// asteroid map), its kind, the zone's index and flags, and removed asteroids
// leaving the map as the zone manager makes them leave it. Install it on the game:
//
//   CTestZone zone;                     // outlives the harness's game
//   CWorldHarness harness;
//   harness.GetGame().SetZones(&zone);

#include "world/GameObject.h"
#include "world/ZoneLink.h"
#include "world/ZoneNode.h"

class CTestZone : public CZoneLink
{
public:
    int GetZoneIndex() const override { return m_zoneIndex; }
    int GetNodeKind() const override { return m_nodeKind; }
    bool IsAtBossNode() const override { return m_atBossNode; }
    SZoneNode* GetCurrentNode() override { return m_hasNode ? &m_node : nullptr; }
    bool GetZoneFlag(int flag) const override { return flag >= 0 && flag < ZONE_FLAG_COUNT && m_flags[flag]; }
    void SetZoneFlag(int flag, bool value) override
    {
        if (flag >= 0 && flag < ZONE_FLAG_COUNT)
            m_flags[flag] = value;
    }
    void OnObjectRemoved(CGameObject& object) override
    {
        ++m_removed;
        if (object.GetType() == OBJECT_ASTEROID && !object.GetInfo().notCountedAsEnemy)
            m_node.ForgetAsteroid(object.GetHandle());
    }

    SZoneNode m_node;
    bool m_hasNode = true;
    int m_zoneIndex = 1;
    int m_nodeKind = ZONE_NODE_NORMAL;
    bool m_atBossNode = false;
    bool m_flags[ZONE_FLAG_COUNT] = {};
    int m_removed = 0;
};
