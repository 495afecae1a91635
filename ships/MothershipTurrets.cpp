// The mothership's turrets, reached by number: one the data does not have counts as
// dead and absent.

#include "ships/Mothership.h"

void CEnemyMothership::ReadTurrets(const CDataTree&, CDefinitionProblems&) {}
void CEnemyMothership::ChooseTurretTargets() {}
void CEnemyMothership::PlaceTurrets() {}
void CEnemyMothership::ShowTurrets(bool) {}
void CEnemyMothership::EnableTurrets(bool) {}
void CEnemyMothership::UpdateTurrets() {}
void CEnemyMothership::SpillGems(const CVector2D&) {}

int CEnemyMothership::GetTurretCount() const
{
    return 0;
}

bool CEnemyMothership::IsTurretAlive(int) const
{
    return false;
}

bool CEnemyMothership::IsAnyTurretAlive() const
{
    for (int i = 0; i < GetTurretCount(); ++i)
        if (IsTurretAlive(i))
            return true;
    return false;
}

void CEnemyMothership::SwitchTurret(int, bool) {}
void CEnemyMothership::DisableTurret(int) {}
void CEnemyMothership::DamageTurretsOnHitPart(int32_t) {}
void CEnemyMothership::DamageTurret(int, int32_t) {}
bool CEnemyMothership::GetTurretCycle(int, uint32_t&, uint32_t&, uint32_t&) const
{
    return false;
}
void CEnemyMothership::RestartTurretCycle(int, uint32_t) {}
void CEnemyMothership::RunTurretBeam(int, int) {}

bool CEnemyMothership::TakeTurretHit(int32_t)
{
    return false;
}
