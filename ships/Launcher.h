#pragma once
// What a mothership launches: up to 50 ships of one type (drones or fighters) read
// from a definition file of their own, tracked by handle in launch slots until they
// are gone. Only the first free slot is tried for a launch.

#include "core/DataTree.h"

#include <cstdint>
#include <memory>
#include <string>


class CGameObject;

class CLauncher
{
public:
    static constexpr int SLOTS = 50;

    CLauncher();
    ~CLauncher();
    CLauncher(const CLauncher&) = delete;
    CLauncher& operator=(const CLauncher&) = delete;

    // The "resource" block: "maxFighters", "fighterType" (ENEMY_DRONE or
    // ENEMY_FIGHTER), "launchDelayS", "launchAmount", "drawPlaneOverride",
    // "fighterIniFile". A file that cannot be read, or holds no section of the type,
    // leaves nothing to launch (a console line says so).
    void Read(const CDataTree& block, const char* where);

    // A new ship loaded from the definition, hidden, not counted as an enemy, on the
    // plane override when one is set; null with nothing left to launch, the first
    // free slot taken or the world table full.
    CGameObject* Launch();
    // One slot a frame, round-robin: a handle whose ship is gone is let go.
    void CheckNextSlot();
    // Ships launched that are still in the world.
    int32_t CountLive() const;
    bool IsEmpty() const;

    int32_t GetRemaining() const { return m_remaining; }
    void SetRemaining(int32_t remaining) { m_remaining = remaining; }
    int32_t GetType() const { return m_type; }
    uint32_t GetDelayMs() const { return m_delayMs; }
    int32_t GetAmount() const { return m_amount; }
    int32_t GetDrawPlaneOverride() const { return m_planeOverride; }
    bool HasDefinition() const { return m_definition != nullptr; }
    int32_t GetSlot(int index) const { return m_slots[index]; }

private:
    int32_t m_slots[SLOTS];
    int32_t m_remaining = 0;
    int32_t m_type = 5;
    uint32_t m_delayMs = 0;
    int32_t m_amount = 0;
    int m_cursor = 0;
    int32_t m_planeOverride = -1;
    std::unique_ptr<CDataNodeList> m_file;
    const CDataTree* m_definition = nullptr;
};
