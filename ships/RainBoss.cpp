// The rain boss: a ring of twelve turrets switched off in turn on a step that every
// rain boss shares, outer parts that shield the inner ones, and launches once the
// ring is done.

#include "ships/Bosses.h"
#include "world/Game.h"

namespace
{
// The step all rain bosses alive together share: its count (which moves on every
// 500 ms) and when it next moves. Reset as a rain boss is made, so that a level
// started again, with its clock from 0, does not wait for an old time.
uint32_t g_stepCount = 0;
uint32_t g_nextStep = 0;
bool g_stepStarted = false;
constexpr int32_t TURRET_KILL = 9999;
} // namespace

CRainBoss::CRainBoss() : CBoss(OBJECT_RAIN_BOSS, 47, 8000)
{
    g_stepCount = 0;
    g_nextStep = 0;
    g_stepStarted = false;
}

int CRainBoss::GetSharedStep()
{
    return g_stepStarted ? static_cast<int>((g_stepCount - 1) % RING) : -1;
}

void CRainBoss::GetScriptNeeds(int& parts, int& ports, int& turrets) const
{
    parts = 23;
    ports = -1;
    turrets = RING - 1;
}

void CRainBoss::Attack(uint32_t now)
{
    if (IsWorldOnHold())
        return;
    if (!g_stepStarted || HasTimeCome(now, g_nextStep))
    {
        g_stepStarted = true;
        ++g_stepCount;
        g_nextStep = now + STEP_MS;
    }
    if (m_seenStep != g_stepCount)
    {
        m_seenStep = g_stepCount;
        const int step = GetSharedStep();
        if (IsPartAlive(step))
        {
            SwitchTurret(step, false);
            m_reenable[step] = now + OFF_MS;
        }
    }
    bool ringDone = true;
    for (int i = 0; i < RING; ++i)
    {
        if (m_reenable[i] != 0 && HasTimeCome(now, m_reenable[i]))
        {
            m_reenable[i] = 0;
            if (IsPartAlive(i))
                SwitchTurret(i, true);
        }
        const int left = i + RING;
        const int right = i == 0 ? 2 * RING - 1 : i + RING - 1;
        if (IsPartAlive(i) && !IsPartAlive(left) && !IsPartAlive(right))
        {
            DestroyPart(i);
            SwitchTurret(i, false);
        }
        if (IsPartAlive(i))
            ringDone = false;
    }
    m_ringDone = ringDone;
    if (!ringDone)
        return;
    m_coreInvulnerable = false;
    for (int i = 0; i < GetPortCount(); ++i)
        if (GetPort(i)->GetState() == PORT_CLOSED)
            GetPort(i)->Open();
    if (IsAnyPortBusy() || (m_launched && !HasTimeCome(now, m_lastLaunch + GetLauncher().GetDelayMs())))
        return;
    for (int i = 0; i < GetPortCount(); ++i)
    {
        CDockingPort& port = *GetPort(i);
        if (port.GetState() == PORT_OPEN && LaunchThrough(port))
        {
            m_launched = true;
            m_lastLaunch = now;
        }
    }
}

bool CRainBoss::TakeDamage(int32_t sourceType, CGameObject* source, int32_t kind, int32_t amount)
{
    if (m_body.health <= 0 || !m_info.collidable || !m_loaded || IsIgnoredSource(sourceType, source))
        return false;
    for (int i = 0; i < GetPortCount(); ++i)
        if (GetPort(i)->IsHitOnPort(*this))
            return false;
    if (TakeTurretHit(amount))
        return false;
    int partIndex = -1;
    if (TakePartHit(amount, partIndex))
    {
        if (!IsPartAlive(partIndex))
            DamageTurretsOnHitPart(TURRET_KILL);
        return false;
    }
    if (!TakeBossCoreHit(kind, amount))
        return false;
    LeavePrize(PRIZE_PAYLOAD);
    return true;
}
