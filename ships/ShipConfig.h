#pragma once
// A ship design: a hull, the component in each pod of the hull's grid, and the
// pods that fire in each of the two weapon groups. Designs are stored in the
// component database's eight slots and written as "SHIP_CONFIG" blocks.

#include "core/Vector2D.h"
#include "ships/ComponentKind.h"

#include <cstdint>
#include <string>

class CDataTree;
class CDefinitionProblems;
class CShipComponentDatabase;
struct SHullPodSlot;

constexpr int SHIP_CONFIG_POD_MAX = 35;
constexpr int WEAPON_GROUP_MAX = 12;
constexpr int SHIP_CONFIG_SLOTS = 8;
constexpr size_t SHIP_CONFIG_IDENT_MAX = 63; // characters (64 bytes with the terminator)

struct SShipPod
{
    CVector2D m_topLeft; // the pod's top-left cell on the hull grid
    EComponentKind m_kind = COMPONENT_NONE;
    int32_t m_defIndex = 0; // within the kind's category (0 for NONE)
    // The hull slot at the top-left cell: filled when a ship is built, never stored.
    const SHullPodSlot* m_hullSlot = nullptr;
};

struct SWeaponGroup
{
    int32_t m_pods[WEAPON_GROUP_MAX] = {};
    int32_t m_count = 0;

    bool Contains(int32_t pod) const;
    // Takes the pod out, closing the list up; false when it was not listed.
    bool Remove(int32_t pod);
};

class CShipConfig
{
public:
    explicit CShipConfig(const CShipComponentDatabase* owner = nullptr) : m_owner(owner) {}

    // Reads one "SHIP_CONFIG" block. Counts beyond the tables are cut, weapon items
    // that name no pod are dropped, and the pods are completed against the hull's
    // slots. False, with the problem reported, for a pod whose "type" names no
    // kind or a missing "pod%i" block.
    bool Parse(const CDataTree& section, CDefinitionProblems& problems);
    // The block as Parse reads it back.
    CDataTree* Write() const;

    // Hull mass plus the mass of every pod's definition.
    uint32_t GetTotalMass() const;
    // First pod whose top-left cell is the position; -1 when none.
    int32_t FindPodAt(const CVector2D& position) const;
    // The last ENGINE pod; -1 when none.
    int32_t FindEnginePod() const;
    // Group 1 when the argument is 1, group 2 for any other value.
    bool IsInWeaponGroup(int group, int32_t pod) const;
    // The pod at the position leaves the other group and joins this one (1, else 2)
    // unless listed there already. False when no pod is there or the group is full.
    bool AssignToWeaponGroup(int group, const CVector2D& position);
    // The pod whose top-left cell is (x, y) leaves group 1, or group 2 when it was
    // not in group 1.
    void RemovePodFromWeaponGroup(float x, float y);

    const SWeaponGroup& GetWeaponGroup(int group) const { return group == 1 ? m_group1 : m_group2; }
    SWeaponGroup& GetWeaponGroup(int group) { return group == 1 ? m_group1 : m_group2; }
    const CShipComponentDatabase* GetOwner() const { return m_owner; }

    std::string m_ident;
    int32_t m_hull = 0;
    SWeaponGroup m_group1;
    SWeaponGroup m_group2;
    int32_t m_podCount = 0;
    int32_t m_storageSlot = 0;
    SShipPod m_pods[SHIP_CONFIG_POD_MAX];

private:
    bool ReadPods(const CDataTree& section, CDefinitionProblems& problems);
    void CompleteFromHull();
    void ReadWeaponGroup(const CDataTree* block, SWeaponGroup& group) const;

    const CShipComponentDatabase* m_owner;
};
