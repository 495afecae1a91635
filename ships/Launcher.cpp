#include "ships/Launcher.h"

#include "core/Console.h"
#include "core/DataFile.h"
#include "ships/EnemyObject.h"
#include "world/ObjectTypes.h"
#include "world/World.h"

#include <strings.h>

CLauncher::CLauncher()
{
    for (int32_t& slot : m_slots)
        slot = NO_OBJECT;
}

CLauncher::~CLauncher() = default;

void CLauncher::Read(const CDataTree& block, const char* where)
{
    uint32_t value = 0;
    if (block.GetUInt("maxFighters", value))
        m_remaining = static_cast<int32_t>(value > 100000 ? 100000 : value);
    char text[DATA_VALUE_MAX + 1] = "";
    if (block.GetString("fighterType", text, sizeof(text)))
        m_type = strcasecmp(text, "ENEMY_FIGHTER") == 0 ? OBJECT_ENEMY_FIGHTER : OBJECT_ENEMY_DRONE;
    if (block.GetUInt("launchDelayS", value))
        m_delayMs = value > 86400 ? 86400000u : value * 1000u;
    if (block.GetUInt("launchAmount", value))
        m_amount = static_cast<int32_t>(value > SLOTS ? SLOTS : value);
    block.GetInt("drawPlaneOverride", m_planeOverride);

    m_file.reset();
    m_definition = nullptr;
    text[0] = '\0';
    block.GetString("fighterIniFile", text, sizeof(text));
    auto nodes = std::make_unique<CDataNodeList>();
    if (text[0] && LoadDataFileNodes(text, *nodes))
        m_definition = FindDefinitionSection(*nodes, ObjectTypeName(m_type));
    if (m_definition)
        m_file = std::move(nodes);
    else if (m_remaining > 0)
    {
        // Ships without a body would launch as nothing: none are launched.
        if (g_console)
            g_console->Printf("%s: the launcher's file \"%s\" has no %s section; nothing is launched", where, text,
                              ObjectTypeName(m_type));
        m_remaining = 0;
    }
}

CGameObject* CLauncher::Launch()
{
    CWorld* world = GetRunningWorld();
    if (m_remaining <= 0 || !m_definition || !world)
        return nullptr;
    int free = -1;
    for (int i = 0; i < SLOTS && free < 0; ++i)
        if (m_slots[i] == NO_OBJECT)
            free = i;
    int32_t handle = NO_OBJECT;
    if (free < 0 || !world->CreateObject(m_type, handle))
        return nullptr;
    CGameObject* ship = world->GetObject(handle);
    ship->ParseDefinition(*m_definition);
    ship->SetVisible(false);
    ship->GetInfo().notCountedAsEnemy = true;
    if (m_planeOverride >= 0 && m_planeOverride <= 255)
        ship->SetDrawPlane(static_cast<uint8_t>(m_planeOverride));
    m_slots[free] = handle;
    --m_remaining;
    return ship;
}

void CLauncher::CheckNextSlot()
{
    CWorld* world = GetRunningWorld();
    int32_t& slot = m_slots[m_cursor];
    if (slot != NO_OBJECT && (!world || !world->GetObject(slot)))
        slot = NO_OBJECT;
    m_cursor = (m_cursor + 1) % SLOTS;
}

int32_t CLauncher::CountLive() const
{
    CWorld* world = GetRunningWorld();
    int32_t live = 0;
    for (int32_t slot : m_slots)
        if (slot != NO_OBJECT && world && world->GetObject(slot))
            ++live;
    return live;
}

bool CLauncher::IsEmpty() const
{
    for (int32_t slot : m_slots)
        if (slot != NO_OBJECT)
            return false;
    return true;
}
