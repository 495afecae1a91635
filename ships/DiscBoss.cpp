// The disc boss: four discs (mounted parts) thrown spinning, called back and docked
// in turn, a gun that moves round its four turrets, and a core that opens once every
// disc is gone.

#include "core/Console.h"
#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "core/Random.h"
#include "ships/Bosses.h"
#include "ships/EnemyTargets.h"
#include "ships/MountedPart.h"
#include "ships/ShipPlacement.h"
#include "world/Game.h"
#include "world/World.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr const char* ENGINE_EFFECT = "discBossEngine";
constexpr float GUN_VOLUME = 0.85f;
// Where each disc flies off to, and the sprite frame it shows.
const float LAUNCH_HEADINGS[CDiscBoss::DISCS] = {315.0f, 225.0f, 45.0f, 135.0f};
const uint32_t DISC_FRAMES[CDiscBoss::DISCS] = {0, 3, 1, 2};
// Home offsets by the block's (x, y): (x, -y), (-x, -y), (x, y), (-x, y).
const float HOME_SIGNS[CDiscBoss::DISCS][2] = {{1, -1}, {-1, -1}, {1, 1}, {-1, 1}};
constexpr float DOCKED_HEADING = 270.0f;
constexpr float DOCK_TOLERANCE = 5.0f;
constexpr int GUNS = 4;

float LengthOf(const CVector2D& vector)
{
    return std::sqrt(vector.Dot(vector));
}
} // namespace

CDiscBoss::CDiscBoss() : CBoss(OBJECT_DISC_BOSS, 45, 2000)
{
    const uint32_t now = GetGameClock();
    for (SDisc& disc : m_discs)
        disc.timer = now + DOCKED_MS;
}

CDiscBoss::~CDiscBoss() = default;

void CDiscBoss::GetScriptNeeds(int& parts, int& ports, int& turrets) const
{
    parts = -1;
    ports = -1;
    turrets = GUNS - 1;
}

bool CDiscBoss::ReadBossKeys(const CDataTree& section, CDefinitionProblems&)
{
    char text[DATA_VALUE_MAX + 1] = "";
    if (section.GetString("gunSfx", text, sizeof(text)))
        m_gunSound.Set(text, GUN_VOLUME, true, false);
    float delay = 0.0f;
    section.GetFloat("gunDelay", delay);
    m_gunInterval = delay > 0.0f && delay < 86400.0f ? static_cast<uint32_t>(delay * 1000.0f) : 0;
    m_coreInvulnerable = true;
    m_activeGun = 0;
    SwitchTurret(0, true);
    for (int i = 1; i < GUNS; ++i)
        SwitchTurret(i, false);
    for (SDisc& disc : m_discs)
    {
        disc.engine.Release();
        disc.engine.Spawn(ENGINE_EFFECT, this);
    }
    if (const CDataTree* block = section.FindBlock("disc"))
    {
        CVector2D offset;
        block->GetVec2("offset", offset);
        ReadEffectName(*block, "pissTrail", m_trailEffect);
        for (SDisc& disc : m_discs)
        {
            disc.trail.Release();
            disc.trail.Spawn(m_trailEffect, this);
        }
        MakeDiscs(*block, offset);
    }
    return true;
}

void CDiscBoss::MakeDiscs(const CDataTree& block, const CVector2D& offset)
{
    CWorld* world = GetRunningWorld();
    for (int i = 0; i < DISCS; ++i)
    {
        SDisc& disc = m_discs[i];
        disc.home = CVector2D(offset.x * HOME_SIGNS[i][0], offset.y * HOME_SIGNS[i][1]);
        disc.point = GetPosition() + disc.home;
        disc.state = DISC_DOCKED;
        int32_t handle = NO_OBJECT;
        if (!world || !world->CreateObject(OBJECT_MOUNTED_PART, handle))
            continue;
        auto* part = dynamic_cast<CMountedPart*>(world->GetObject(handle));
        if (!part)
        {
            world->RemoveObject(handle);
            continue;
        }
        // A disc block the game cannot run leaves that disc out, named on the console.
        CDefinitionProblems problems;
        if (!part->ReadDefinition(block, problems) || problems.HasFatal())
        {
            if (g_console)
                g_console->Printf("%s", problems.Describe("disc boss").c_str());
            world->RemoveObject(handle);
            continue;
        }
        part->SetParent(GetHandle(), i);
        part->SetPosition(disc.point);
        part->GetBody().previousPosition = disc.point;
        if (DISC_FRAMES[i] != 0)
            part->GetObjectBody().GetSprite().SetFrame(DISC_FRAMES[i]);
        disc.part = handle;
    }
    m_discsMade = true;
}

bool CDiscBoss::GetMountPoint(int32_t index, CVector2D& point) const
{
    if (index < 0 || index >= DISCS)
        return false;
    point = m_discs[index].point;
    return true;
}

void CDiscBoss::Think()
{
    const uint32_t now = GetGameClock();
    if (m_startTime == 0)
    {
        m_startTime = now + START_DELAY_MS;
        if (m_startTime == 0)
            m_startTime = 1;
    }
    if (!HasTimeCome(now, m_startTime))
        return;
    CBoss::Think();
}

void CDiscBoss::Attack(uint32_t now)
{
    if (m_gunInterval > 0 && HasTimeCome(now, m_nextGun))
    {
        m_nextGun = now + m_gunInterval;
        SwitchTurret(m_activeGun, false);
        m_activeGun = (m_activeGun + 1) % GUNS;
        SwitchTurret(m_activeGun, true);
        m_gunSound.Play(GetPosition());
    }
}

bool CDiscBoss::Move()
{
    const uint32_t now = GetGameClock();
    if (m_startTime == 0 || !HasTimeCome(now, m_startTime) || !m_loaded)
    {
        UpdateBody();
        for (SDisc& disc : m_discs)
            disc.point = GetPosition() + disc.home;
        return false;
    }
    // It holds still to catch a disc on its way back.
    if (m_returning)
        m_body.force = CVector2D();
    const bool moved = CBoss::Move();
    CWorld* world = GetRunningWorld();
    bool anyAlive = false;
    bool returning = false;
    for (int i = 0; i < DISCS; ++i)
    {
        SDisc& disc = m_discs[i];
        auto* part = world ? dynamic_cast<CMountedPart*>(world->GetObject(disc.part)) : nullptr;
        if (!part || part->GetBody().health <= 0)
        {
            disc.trail.StopEmitting();
            disc.engine.StopEmitting();
            if (!part)
                disc.part = NO_OBJECT;
            continue;
        }
        anyAlive = true;
        MoveDisc(i, *part, now);
        returning = returning || disc.state == DISC_RETURNING;
    }
    m_returning = returning;
    if (m_discsMade && !anyAlive)
        m_coreInvulnerable = false;
    return moved;
}

void CDiscBoss::MoveDisc(int index, CMountedPart& part, uint32_t now)
{
    SDisc& disc = m_discs[index];
    const CVector2D velocity = VelocityPerSecond(part);
    disc.trail.Place(disc.point, 0.0f, velocity);
    disc.engine.Place(disc.point, HeadingOf(disc.direction) + 180.0f, velocity);
    const CVector2D home = GetPosition() + disc.home;
    switch (disc.state)
    {
    case DISC_THROWN:
    {
        if (part.WasHit())
        {
            part.ClearHit();
            break;
        }
        disc.direction.SetFromAngle(HeadingOf(disc.direction) + disc.spin);
        disc.point += disc.direction * DISC_SPEED;
        const CGame* game = GetGame();
        const float width = game ? game->GetWorldWidth() : 0.0f;
        if (width > 2.0f)
        {
            disc.point.x = std::min(std::max(disc.point.x, 1.0f), width - 1.0f);
            disc.point.y = std::min(std::max(disc.point.y, 1.0f), width - 1.0f);
        }
        disc.angle = WrapDegrees(disc.angle + disc.spin);
        if (HasTimeCome(now, disc.timer))
            disc.state = DISC_RETURNING;
        break;
    }
    case DISC_RETURNING:
    {
        if (part.WasHit())
        {
            part.ClearHit();
            break;
        }
        const CVector2D back = home - disc.point;
        const float distance = LengthOf(back);
        const float turn = TurnBetween(HeadingOf(disc.direction), HeadingOf(back));
        disc.spin = turn < 0.0f ? -std::fabs(disc.spin) : std::fabs(disc.spin);
        disc.direction.SetFromAngle(HeadingOf(disc.direction) + disc.spin);
        disc.angle = WrapDegrees(disc.angle + disc.spin);
        const float step = std::min(distance, RETURN_SPEED);
        if (distance > 0.0f)
            disc.point += back * (step / distance);
        if (step >= distance)
        {
            disc.point = home;
            disc.timer = now + DOCKED_MS;
            disc.state = DISC_DOCKED;
        }
        break;
    }
    default:
    {
        const float off = TurnBetween(disc.angle, DOCKED_HEADING);
        if (std::fabs(off) > DOCK_TOLERANCE)
        {
            const float step = 2.0f + std::fabs(off) * 0.02f;
            disc.angle = WrapDegrees(disc.angle + (off < 0.0f ? -step : step));
        }
        disc.point = home;
        if (HasTimeCome(now, disc.timer))
        {
            disc.timer = now + THROWN_MS;
            disc.state = DISC_THROWN;
            disc.direction.SetFromAngle(LAUNCH_HEADINGS[index]);
            disc.trail.Start();
            disc.engine.Start();
            disc.angle = WrapDegrees(-90.0f);
            const int32_t whole = static_cast<int32_t>(SPIN);
            disc.spin = SPIN + static_cast<float>(whole > 0 ? GetGameRandom().Below(whole) : 0);
        }
        break;
    }
    }
    part.GetBody().angle = disc.angle;
}

bool CDiscBoss::TakeDamage(int32_t sourceType, CGameObject* source, int32_t kind, int32_t amount)
{
    if (m_body.health <= 0 || !m_info.collidable || !m_loaded || IsIgnoredSource(sourceType, source))
        return false;
    if (!TakeBossCoreHit(kind, amount))
        return false;
    LeavePrize(PRIZE_PAYLOAD);
    return true;
}
