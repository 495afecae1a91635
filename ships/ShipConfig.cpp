#include "ships/ShipConfig.h"

#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "ships/ShipComponentDatabase.h"

#include <algorithm>
#include <cstdio>

namespace
{
std::string ReadText(const CDataTree& section, const char* key, size_t maxChars, bool& found)
{
    std::vector<char> buffer(maxChars + 1);
    found = section.GetString(key, buffer.data(), buffer.size());
    return found ? std::string(buffer.data()) : std::string();
}

int32_t FindDefIndex(const CShipComponentDatabase* owner, int32_t kind, const std::string& ident)
{
    const SComponentCategory* category = owner ? owner->GetCategory(kind) : nullptr;
    return category ? category->FindDef(ident.c_str()) : 0;
}
} // namespace

bool SWeaponGroup::Contains(int32_t pod) const
{
    return std::find(m_pods, m_pods + m_count, pod) != m_pods + m_count;
}

bool SWeaponGroup::Remove(int32_t pod)
{
    int32_t* end = m_pods + m_count;
    int32_t* at = std::find(m_pods, end, pod);
    if (at == end)
        return false;
    std::copy(at + 1, end, at);
    --m_count;
    return true;
}

bool CShipConfig::Parse(const CDataTree& section, CDefinitionProblems& problems)
{
    bool found = false;
    std::string ident = ReadText(section, "ident", SHIP_CONFIG_IDENT_MAX, found);
    if (found)
        m_ident = ident;
    std::string hull = ReadText(section, "hull", 64, found);
    if (found)
        m_hull = FindDefIndex(m_owner, COMPONENT_HULL, hull);
    section.GetInt("storageSlot", m_storageSlot);
    section.GetInt("numPods", m_podCount);
    m_podCount = std::clamp(m_podCount, 0, SHIP_CONFIG_POD_MAX);
    if (!ReadPods(section, problems))
        return false;
    CompleteFromHull();
    ReadWeaponGroup(section.FindBlock("weaponGroup1"), m_group1);
    ReadWeaponGroup(section.FindBlock("weaponGroup2"), m_group2);
    return true;
}

bool CShipConfig::ReadPods(const CDataTree& section, CDefinitionProblems& problems)
{
    for (int32_t i = 0; i < m_podCount; ++i)
    {
        char name[16];
        std::snprintf(name, sizeof(name), "pod%d", i);
        const CDataTree* block = section.FindBlock(name);
        if (!block)
        {
            problems.AddFatal(&section, "design \"%s\" has %d pods but no block \"%s\"", m_ident.c_str(), m_podCount,
                              name);
            return false;
        }
        SShipPod& pod = m_pods[i];
        block->GetVec2("topLeftPos", pod.m_topLeft);
        bool found = false;
        std::string type = ReadText(*block, "type", 64, found);
        if (found && !ComponentKindFromName(type.c_str(), pod.m_kind))
        {
            problems.AddFatal(block->FindValue("type"), "design \"%s\", %s: unknown component kind \"%s\"",
                              m_ident.c_str(), name, type.c_str());
            return false;
        }
        pod.m_defIndex = 0;
        if (pod.m_kind != COMPONENT_NONE)
            pod.m_defIndex = FindDefIndex(m_owner, pod.m_kind, ReadText(*block, "ident", 64, found));
    }
    return true;
}

void CShipConfig::CompleteFromHull()
{
    const CHullDef* hull = m_owner ? m_owner->GetHullDef(m_hull) : nullptr;
    if (!hull || m_podCount >= static_cast<int32_t>(hull->m_podSlots.size()))
        return;
    int32_t listed = m_podCount;
    for (const SHullPodSlot& slot : hull->m_podSlots)
    {
        bool named = false;
        for (int32_t i = 0; i < listed && !named; ++i)
            named = SamePodPosition(m_pods[i].m_topLeft, slot.m_position);
        if (named || m_podCount >= SHIP_CONFIG_POD_MAX)
            continue;
        SShipPod& pod = m_pods[m_podCount++];
        pod = SShipPod();
        pod.m_topLeft = slot.m_position;
    }
}

void CShipConfig::ReadWeaponGroup(const CDataTree* block, SWeaponGroup& group) const
{
    if (!block)
        return;
    int32_t count = group.m_count;
    block->GetInt("numItems", count);
    count = std::clamp(count, 0, WEAPON_GROUP_MAX);
    group.m_count = 0;
    for (int32_t i = 0; i < count; ++i)
    {
        char name[16];
        std::snprintf(name, sizeof(name), "item%d", i);
        int32_t pod = -1;
        // An item that names no pod of the design is dropped.
        if (block->GetInt(name, pod) && pod >= 0 && pod < m_podCount)
            group.m_pods[group.m_count++] = pod;
    }
}

CDataTree* CShipConfig::Write() const
{
    auto* tree = new CDataTree(u"SHIP_CONFIG");
    tree->AddString("ident", m_ident.c_str());
    const CHullDef* hull = m_owner ? m_owner->GetHullDef(m_hull) : nullptr;
    tree->AddString("hull", hull ? hull->m_ident.c_str() : "");
    tree->AddInt("numPods", m_podCount);
    tree->AddInt("storageSlot", m_storageSlot);
    for (int32_t i = 0; i < m_podCount; ++i)
    {
        const SShipPod& pod = m_pods[i];
        char name[16];
        std::snprintf(name, sizeof(name), "pod%d", i);
        auto* block = new CDataTree();
        block->SetNameNarrow(name);
        block->AddVec2("topLeftPos", pod.m_topLeft.x, pod.m_topLeft.y);
        block->AddString("type", GetComponentKindName(pod.m_kind));
        const CShipComponentDef* def = m_owner ? m_owner->GetComponentDef(pod.m_kind, pod.m_defIndex) : nullptr;
        block->AddString("ident", pod.m_kind != COMPONENT_NONE && def ? def->m_ident.c_str() : "");
        tree->AddChild(block);
    }
    for (int group = 1; group <= 2; ++group)
    {
        const SWeaponGroup& list = GetWeaponGroup(group);
        auto* block = new CDataTree(group == 1 ? u"weaponGroup1" : u"weaponGroup2");
        block->AddInt("numItems", list.m_count);
        for (int32_t i = 0; i < list.m_count; ++i)
        {
            char name[16];
            std::snprintf(name, sizeof(name), "item%d", i);
            block->AddInt(name, list.m_pods[i]);
        }
        tree->AddChild(block);
    }
    return tree;
}

uint32_t CShipConfig::GetTotalMass() const
{
    if (!m_owner)
        return 0;
    const CHullDef* hull = m_owner->GetHullDef(m_hull);
    uint32_t mass = hull ? hull->m_mass : 0;
    for (int32_t i = 0; i < m_podCount; ++i)
    {
        if (m_pods[i].m_kind == COMPONENT_NONE)
            continue;
        const CShipComponentDef* def = m_owner->GetComponentDef(m_pods[i].m_kind, m_pods[i].m_defIndex);
        mass += def ? def->m_mass : 0;
    }
    return mass;
}

int32_t CShipConfig::FindPodAt(const CVector2D& position) const
{
    for (int32_t i = 0; i < m_podCount; ++i)
        if (SamePodPosition(m_pods[i].m_topLeft, position))
            return i;
    return -1;
}

int32_t CShipConfig::FindEnginePod() const
{
    int32_t found = -1;
    for (int32_t i = 0; i < m_podCount; ++i)
        if (m_pods[i].m_kind == COMPONENT_ENGINE)
            found = i;
    return found;
}

bool CShipConfig::IsInWeaponGroup(int group, int32_t pod) const
{
    return GetWeaponGroup(group == 1 ? 1 : 2).Contains(pod);
}

bool CShipConfig::AssignToWeaponGroup(int group, const CVector2D& position)
{
    int32_t pod = FindPodAt(position);
    if (pod < 0)
        return false;
    SWeaponGroup& to = GetWeaponGroup(group == 1 ? 1 : 2);
    SWeaponGroup& other = GetWeaponGroup(group == 1 ? 2 : 1);
    bool listed = to.Contains(pod);
    if (!listed && to.m_count >= WEAPON_GROUP_MAX)
        return false;
    other.Remove(pod);
    if (!listed)
        to.m_pods[to.m_count++] = pod;
    return true;
}

void CShipConfig::RemovePodFromWeaponGroup(float x, float y)
{
    int32_t pod = FindPodAt(CVector2D(x, y));
    if (!m_group1.Remove(pod))
        m_group2.Remove(pod);
}
