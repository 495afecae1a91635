#include "ships/ShipComponentDatabase.h"

#include "core/Console.h"
#include "core/DataFile.h"
#include "core/StringTable.h"

#include <cstdio>
#include <cstring>

namespace
{
// The definition class of a "type" text, tried in this order; a text that begins
// with a kind's name is that kind, except that the gravity beam's must match whole.
std::unique_ptr<CShipComponentDef> MakeDef(const char* type)
{
    auto begins = [type](const char* name) { return std::strncmp(type, name, std::strlen(name)) == 0; };
    if (begins("ENGINE"))
        return std::make_unique<CEngineDef>();
    if (begins("HULL"))
        return std::make_unique<CHullDef>();
    if (begins("GENERATOR"))
        return std::make_unique<CGeneratorDef>();
    if (begins("WEAPON_PROJECTILE_GUN"))
        return std::make_unique<CGunDef>(COMPONENT_PROJECTILE_GUN);
    if (begins("WEAPON_PINBEAM"))
        return std::make_unique<CPinbeamDef>();
    if (begins("BOMB"))
        return std::make_unique<CBombDef>();
    if (begins("CARGO"))
        return std::make_unique<CCargoDef>();
    if (begins("STATION_VAC"))
        return std::make_unique<CStationWeaponDef>(COMPONENT_STATION_VAC);
    if (begins("WEAPON_MISSILE"))
        return std::make_unique<CMissileDef>();
    if (std::strcmp(type, "GRAVITY_BEAM") == 0)
        return std::make_unique<CGravityBeamDef>();
    if (begins("SHIELD"))
        return std::make_unique<CShieldDef>();
    if (begins("STATION_WEAPON"))
        return std::make_unique<CStationWeaponDef>(COMPONENT_STATION_WEAPON);
    if (begins("DRONE"))
        return std::make_unique<CDroneDef>();
    if (begins("WEAPON_LASER"))
        return std::make_unique<CGunDef>(COMPONENT_LASER);
    if (begins("BATTERY"))
        return std::make_unique<CBatteryDef>();
    if (begins("AMMO_MISSILE"))
        return std::make_unique<CAmmoDef>(COMPONENT_AMMO_MISSILE);
    if (begins("AMMO_BOMB"))
        return std::make_unique<CAmmoDef>(COMPONENT_AMMO_BOMB);
    return nullptr;
}

void Report(const std::string& line)
{
    if (g_console)
        g_console->Printf("%s", line.c_str());
}
} // namespace

bool BlockNameBegins(const CDataNode& node, const char* prefix)
{
    const std::u16string& name = node.GetName();
    size_t length = std::strlen(prefix);
    if (!node.IsBlock() || name.size() < length)
        return false;
    for (size_t i = 0; i < length; ++i)
    {
        char16_t a = name[i] >= u'a' && name[i] <= u'z' ? static_cast<char16_t>(name[i] - 32) : name[i];
        char b = prefix[i] >= 'a' && prefix[i] <= 'z' ? static_cast<char>(prefix[i] - 32) : prefix[i];
        if (a != static_cast<char16_t>(static_cast<unsigned char>(b)))
            return false;
    }
    return true;
}

int32_t SComponentCategory::FindDef(const char* ident) const
{
    for (int32_t i = 0; i < m_defCount; ++i)
        if (ident && m_defs[i] && std::strncmp(m_defs[i]->m_ident.c_str(), ident, 64) == 0)
            return i;
    return 0;
}

const CShipComponentDef* SComponentCategory::GetDef(int32_t index) const
{
    return index >= 0 && index < m_defCount ? m_defs[index].get() : nullptr;
}

void CShipComponentDatabase::StartLoad(const char* file)
{
    m_problems.Clear();
    m_problemFile = file ? file : "";
}

bool CShipComponentDatabase::Fail(const char* file, const char* message)
{
    StartLoad(file);
    m_problems.AddFatal(nullptr, "%s", message);
    return false;
}

bool CShipComponentDatabase::LoadComponents(const char* path)
{
    CDataNodeList nodes;
    if (!LoadDataFileNodes(path, nodes))
        return Fail(path, "the component file cannot be read");
    return LoadComponentNodes(nodes, path);
}

bool CShipComponentDatabase::LoadComponentNodes(const CDataNodeList& nodes, const char* sourceName)
{
    StartLoad(sourceName);
    bool ok = true;
    for (const auto& node : nodes)
        if (BlockNameBegins(*node, "SHIP_COMPONENT"))
            ok = ParseComponent(static_cast<const CDataTree&>(*node)) && ok;
    for (const auto& node : nodes)
    {
        if (node->IsBlock() && node->HasName(u"CATEGORIES"))
        {
            ReadCategories(static_cast<const CDataTree&>(*node));
            break;
        }
    }
    return ok;
}

bool CShipComponentDatabase::ParseComponent(const CDataTree& section)
{
    char type[64] = "";
    if (!section.GetString("type", type, sizeof(type)))
    {
        m_problems.AddMissingKey(&section, "type");
        return false;
    }
    std::unique_ptr<CShipComponentDef> def = MakeDef(type);
    if (!def)
    {
        m_problems.AddWarning(section.FindValue("type"), "component type \"%s\" makes nothing", type);
        return true;
    }
    SDefParseContext context;
    context.m_strings = m_strings ? m_strings : g_stringTable;
    context.m_problems = &m_problems;
    if (!def->Parse(section, context))
        return false;
    SComponentCategory& category = m_categories[def->m_kind];
    if (category.m_defCount >= COMPONENT_DEFS_PER_KIND)
    {
        m_problems.AddWarning(&section, "%s already has %d definitions: \"%s\" is left out",
                              GetComponentKindName(def->m_kind), COMPONENT_DEFS_PER_KIND, def->m_ident.c_str());
        Report("Ship component \"" + def->m_ident + "\" ignored: " + GetComponentKindName(def->m_kind) +
               " already has 10 definitions");
        return true;
    }
    category.m_defs[category.m_defCount++] = std::move(def);
    return true;
}

void CShipComponentDatabase::ReadCategories(const CDataTree& block)
{
    const CStringTable* strings = m_strings ? m_strings : g_stringTable;
    for (int n = 0; n < COMPONENT_KIND_COUNT; ++n)
    {
        char typeKey[24];
        char idKey[24];
        std::snprintf(typeKey, sizeof(typeKey), "type%d", n);
        std::snprintf(idKey, sizeof(idKey), "displaystringid%d", n);
        char name[CATEGORY_NAME_MAX + 1];
        CWString key;
        if (!block.GetString(typeKey, name, sizeof(name)) || !block.GetWString(idKey, key))
            break;
        m_categories[n].m_name = name;
        uint32_t id = 0;
        if (strings && strings->FindId(key, id))
            m_categories[n].m_displayStringId = id;
    }
    char extra[24];
    std::snprintf(extra, sizeof(extra), "type%d", COMPONENT_KIND_COUNT);
    if (block.FindValue(extra))
        m_problems.AddWarning(block.FindValue(extra), "only the first %d categories are used", COMPONENT_KIND_COUNT);
}

const SComponentCategory* CShipComponentDatabase::GetCategory(int32_t kind) const
{
    return IsValidComponentKind(kind) ? &m_categories[kind] : nullptr;
}

const CShipComponentDef* CShipComponentDatabase::GetComponentDef(int32_t kind, int32_t index) const
{
    const SComponentCategory* category = GetCategory(kind);
    return category ? category->GetDef(index) : nullptr;
}

const CHullDef* CShipComponentDatabase::GetHullDef(int32_t index) const
{
    return static_cast<const CHullDef*>(GetComponentDef(COMPONENT_HULL, index));
}

const CShipComponentDef* CShipComponentDatabase::GetFirstDef(int32_t kind) const
{
    return GetComponentDef(kind, 0);
}

CShipConfig* CShipComponentDatabase::GetShipConfig(int32_t slot) const
{
    return slot >= 0 && slot < SHIP_CONFIG_SLOTS ? m_configs[slot].get() : nullptr;
}

CShipConfig* CShipComponentDatabase::GetShipConfigByIdent(const char* ident) const
{
    for (const auto& config : m_configs)
        if (ident && config && std::strncmp(config->m_ident.c_str(), ident, 64) == 0)
            return config.get();
    return nullptr;
}

bool CShipComponentDatabase::StoreShipConfig(std::unique_ptr<CShipConfig> config)
{
    if (!config || config->m_storageSlot < 0 || config->m_storageSlot >= SHIP_CONFIG_SLOTS)
        return false;
    int32_t slot = config->m_storageSlot;
    m_configs[slot] = std::move(config);
    return true;
}

void CShipComponentDatabase::RemoveShipConfig(int32_t slot)
{
    if (slot >= 0 && slot < SHIP_CONFIG_SLOTS)
        m_configs[slot].reset();
}

int32_t CShipComponentDatabase::GetConfigCount() const
{
    int32_t count = 0;
    for (const auto& config : m_configs)
        count += config ? 1 : 0;
    return count;
}

void CShipComponentDatabase::ClearShipConfigs()
{
    for (auto& config : m_configs)
        config.reset();
}
