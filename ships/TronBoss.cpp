// The tron boss: two beam turrets on a charge, warn and fire cycle while its six
// small guns rest, and a core behind two shield parts.

#include "core/DataTree.h"
#include "ships/Bosses.h"
#include "world/Game.h"

namespace
{
constexpr float WARNING_VOLUME = 0.95f;
const int SHIELD_PARTS[] = {10, 23};
// A hit on a dead part of these kills the first live turret.
const int TURRET_LINKED_PARTS[] = {24, 25, 26, 28, 29, 30};
constexpr int32_t TURRET_KILL = 999;
} // namespace

CTronBoss::CTronBoss() : CBoss(OBJECT_TRON_BOSS, 46, 4000) {}

void CTronBoss::GetScriptNeeds(int& parts, int& ports, int& turrets) const
{
    parts = 30;
    ports = -1;
    turrets = BEAM_B;
}

bool CTronBoss::ReadBossKeys(const CDataTree& section, CDefinitionProblems&)
{
    DisableTurret(BEAM_A);
    DisableTurret(BEAM_B);
    char text[DATA_VALUE_MAX + 1] = "";
    if (section.GetString("warningSfxName", text, sizeof(text)))
        m_warning.Set(text, WARNING_VOLUME, false, false);
    return true;
}

void CTronBoss::Attack(uint32_t now)
{
    if (IsWorldOnHold())
        return;
    if (!IsPartAlive(SHIELD_PARTS[0]) && !IsPartAlive(SHIELD_PARTS[1]))
        m_coreInvulnerable = false;
    uint32_t lastShot = 0;
    uint32_t interval = 0;
    uint32_t charge = 0;
    if (!GetTurretCycle(BEAM_A, lastShot, interval, charge))
        return;
    uint32_t t = now - lastShot;
    if (t > interval)
    {
        // A new cycle: it counts from now, and the warning may sound again.
        RestartTurretCycle(BEAM_A, now);
        RestartTurretCycle(BEAM_B, now);
        m_warned = false;
        t = 0;
    }
    if (static_cast<float>(t) > static_cast<float>(charge) + static_cast<float>(interval - charge) * 0.4f)
        m_stage = 2;
    else if (t > charge)
        m_stage = 1;
    else
        m_stage = 0;
    for (int i = 0; i < SMALL_GUNS; ++i)
        SwitchTurret(i, m_stage == 0);
    if (m_stage == 1 && !m_warned)
    {
        m_warned = true;
        m_warning.Play(GetPosition());
    }
    RunTurretBeam(BEAM_A, m_stage);
    RunTurretBeam(BEAM_B, m_stage);
}

bool CTronBoss::TakeDamage(int32_t sourceType, CGameObject* source, int32_t kind, int32_t amount)
{
    if (m_body.health <= 0 || !m_info.collidable || !m_loaded || IsIgnoredSource(sourceType, source))
        return false;
    int partIndex = -1;
    const uint32_t tag = GetHitTag();
    if (TakePartHit(amount, partIndex))
    {
        if (!IsPartAlive(partIndex))
            for (int linked : TURRET_LINKED_PARTS)
            {
                const SBodyPart* part = GetPart(linked);
                if (part && tag != 0 && part->m_tag == tag)
                {
                    for (int i = 0; i < GetTurretCount(); ++i)
                        if (IsTurretAlive(i))
                        {
                            DamageTurret(i, TURRET_KILL);
                            break;
                        }
                    break;
                }
            }
        return false;
    }
    if (!TakeBossCoreHit(kind, amount))
        return false;
    LeavePrize(PRIZE_PAYLOAD);
    return true;
}
