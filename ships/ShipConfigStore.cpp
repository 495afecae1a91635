// The database's design slots: reading and writing design files, and the flight
// check of a design.

#include "core/Console.h"
#include "core/DataFile.h"
#include "core/DataTextWriter.h"
#include "core/FileBytes.h"
#include "ships/ShipComponentDatabase.h"

bool CShipComponentDatabase::LoadShipConfigs(const char* path)
{
    CDataNodeList nodes;
    if (!LoadDataFileNodes(path, nodes))
        return Fail(path, "the design file cannot be read");
    return LoadShipConfigNodes(nodes, path);
}

bool CShipComponentDatabase::LoadShipConfigNodes(const CDataNodeList& nodes, const char* sourceName)
{
    StartLoad(sourceName);
    // Every design is read before any slot changes, so a damaged file changes nothing.
    std::vector<std::unique_ptr<CShipConfig>> read;
    bool ok = true;
    for (const auto& node : nodes)
    {
        if (!BlockNameBegins(*node, "SHIP_CONFIG"))
            continue;
        auto config = std::make_unique<CShipConfig>(this);
        if (!config->Parse(static_cast<const CDataTree&>(*node), m_problems))
            ok = false;
        else if (config->m_storageSlot < 0 || config->m_storageSlot >= SHIP_CONFIG_SLOTS)
        {
            m_problems.AddWarning(static_cast<const CDataTree&>(*node).FindValue("storageSlot"),
                                  "design \"%s\" is left out: storage slot %d is not 0 to %d", config->m_ident.c_str(),
                                  config->m_storageSlot, SHIP_CONFIG_SLOTS - 1);
            if (g_console)
                g_console->Printf("Ship design \"%s\" left out: storage slot %d", config->m_ident.c_str(),
                                  config->m_storageSlot);
        }
        else
            read.push_back(std::move(config));
    }
    if (!ok)
        return false;
    for (auto& config : read)
        StoreShipConfig(std::move(config));
    return true;
}

bool CShipComponentDatabase::SaveShipConfigs(const char* path) const
{
    return WriteFileBytes(path, EncodeShipConfigs(GetDataTreeScramble()));
}

std::vector<uint8_t> CShipComponentDatabase::EncodeShipConfigs(bool scrambled) const
{
    CDataNodeList nodes;
    for (const auto& config : m_configs)
        if (config)
            nodes.emplace_back(config->Write());
    return EncodeDataNodes(nodes, true, scrambled);
}

void CShipComponentDatabase::CheckShipConfig(int32_t slot, bool& beamAndWeapon, bool& engine) const
{
    beamAndWeapon = false;
    engine = false;
    const CShipConfig* config = GetShipConfig(slot);
    if (!config)
        return;
    int32_t engineNeed = 0;
    int32_t generatorOutput = 0;
    bool hasWeapon = false;
    bool hasBeam = false;
    bool hasEngine = false;
    for (int32_t i = 0; i < config->m_podCount; ++i)
    {
        const SShipPod& pod = config->m_pods[i];
        // A pod whose definition does not exist (a damaged save) counts as empty.
        const CShipComponentDef* def = GetComponentDef(pod.m_kind, pod.m_defIndex);
        if (!def)
            continue;
        if (pod.m_kind == COMPONENT_ENGINE)
        {
            hasEngine = true;
            engineNeed = def->m_energyRequirement;
        }
        else if (pod.m_kind == COMPONENT_GENERATOR)
            generatorOutput = static_cast<const CGeneratorDef*>(def)->m_outputPerSec;
        hasWeapon = hasWeapon || IsWeaponKind(pod.m_kind);
        hasBeam = hasBeam || pod.m_kind == COMPONENT_GRAVITY_BEAM;
    }
    if (generatorOutput < engineNeed)
        return;
    beamAndWeapon = hasBeam && hasWeapon;
    engine = hasEngine;
}
