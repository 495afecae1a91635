#include "ships/Boss.h"

#include "core/Console.h"
#include "core/DataFile.h"
#include "core/Random.h"
#include "ships/EnemyFighter.h"
#include "ships/EnemyTargets.h"
#include "world/Asteroid.h"
#include "world/AsteroidField.h"
#include "world/AsteroidKinds.h"
#include "world/DirectorLink.h"
#include "world/Game.h"
#include "world/World.h"
#include "world/ZoneLink.h"
#include "world/ZoneNode.h"

CBoss::CBoss(EObjectType type, int chatPage, int32_t points)
    : CEnemyMothership(type), m_chatPage(chatPage), m_points(points)
{
}

bool CBoss::HasGo() const
{
    const CGame* game = GetGame();
    return game && game->GetDirector().IsFlagRaised(DIRECTOR_BOSS_CHAT,
                                                    DIRECTOR_BOSS_GO_FIRST + m_chatPage - DIRECTOR_BOSS_CHAT_FIRST);
}

bool CBoss::ReadKeys(const CDataTree& section, CDefinitionProblems& problems)
{
    bool complete = CEnemyMothership::ReadKeys(section, problems);
    m_objectBody.SnapToPixels();
    complete = ReadBossKeys(section, problems) && complete;
    int parts = -1;
    int ports = -1;
    int turrets = -1;
    GetScriptNeeds(parts, ports, turrets);
    if ((parts >= GetPartCount() || ports >= GetPortCount() || turrets >= GetTurretCount()) && g_console)
        g_console->Printf("%s: %d parts, %d ports and %d turrets of %d, %d and %d; the missing count as dead",
                          GetSectionName(), GetPartCount(), GetPortCount(), GetTurretCount(), parts + 1, ports + 1,
                          turrets + 1);
    return complete;
}

void CBoss::Think()
{
    const CGame* game = GetGame();
    if (!game || !HasGo() || game->GetDirector().GetChatPage() == m_chatPage)
        return;
    if (!RunDeath())
        return;
    RunLiving();
    if (m_body.health > 0)
        Attack(game->GetTime());
}

bool CBoss::Move()
{
    if (!m_loaded)
        return CEnemyMothership::Move();
    if (IsWorldOnHold())
    {
        UpdateBody();
        return false;
    }
    return CEnemyMothership::Move();
}

bool CBoss::IsIgnoredSource(int32_t sourceType, const CGameObject* source) const
{
    if (sourceType == OBJECT_ASTEROID || (source && source->GetType() == OBJECT_ASTEROID))
        return true;
    return IsFromOwnSide(source);
}

bool CBoss::TakeBossCoreHit(int32_t kind, int32_t amount)
{
    return TakeCoreHit(kind, amount, DEATH_DELAY_MS, m_points);
}

void CBoss::LeavePrize(int32_t payload)
{
    CGame* game = GetGame();
    if (!game)
        return;
    game->GetZones().SetZoneFlag(ZONE_FLAG_BOSS_BEATEN, true);
    ThrowPod(ASTEROID_DRIVE_POD, true, payload);
}

const CDataTree* CBoss::ReadQueenFile(const CDataTree& section, const char* key, std::unique_ptr<CDataNodeList>& file)
{
    file.reset();
    char text[DATA_VALUE_MAX + 1] = "";
    if (!section.GetString(key, text, sizeof(text)))
        return nullptr;
    auto nodes = std::make_unique<CDataNodeList>();
    const CDataTree* definition = nullptr;
    if (LoadDataFileNodes(text, *nodes))
        definition = FindDefinitionSection(*nodes, "ENEMY_FIGHTER");
    if (!definition)
    {
        if (g_console)
            g_console->Printf("%s: the queen's file \"%s\" has no ENEMY_FIGHTER section", GetSectionName(), text);
        return nullptr;
    }
    file = std::move(nodes);
    return definition;
}

bool CBoss::LeaveQueen(const CDataTree* definition, int32_t* queenHandle)
{
    CGame* game = GetGame();
    CWorld* world = game ? game->GetWorld() : nullptr;
    if (!world)
        return true;
    if (!definition)
    {
        game->GetZones().SetZoneFlag(ZONE_FLAG_BOSS_BEATEN, true);
        return true;
    }
    int32_t handle = NO_OBJECT;
    if (!world->CreateObject(OBJECT_ENEMY_FIGHTER, handle))
        return false;
    CGameObject* object = world->GetObject(handle);
    object->ParseDefinition(*definition);
    object->SetVisible(true);
    object->GetInfo().notCountedAsEnemy = true;
    object->SetPosition(GetPosition());
    object->GetBody().previousPosition = GetPosition();
    object->PlaceShape();
    if (auto* fighter = dynamic_cast<CEnemyFighter*>(object))
        fighter->SetQueen(true);
    if (queenHandle)
        *queenHandle = handle;
    return true;
}

void CBoss::DieWithEnemies()
{
    RemoveFromWorld();
    if (CWorld* world = GetRunningWorld())
        world->DestroyEnemies(GetHandle());
}
