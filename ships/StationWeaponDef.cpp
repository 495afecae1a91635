#include "core/DataTree.h"
#include "ships/ComponentDef.h"

void CStationWeaponDef::ParseOwnKeys(CKeyReader& keys)
{
    m_sprite = keys.CopyBlock("sprite", true);
    keys.ReadInt("drawPlane", m_drawPlane);
    keys.ReadVec2("launchOffset", m_launchOffset);
    keys.ReadFloat("range", m_range);
    keys.ReadVec2("fireAngleMinMax", m_fireAngleMinMax);
    keys.ReadText("weaponEffect", m_weaponEffect);
    keys.ReadText("notFiringEffect", m_notFiringEffect);
    keys.ReadText("deathEffect", m_deathEffect);
    keys.ReadFloat("turnRate", m_turnRate);
    keys.ReadFloat("fireRate", m_fireRate);
    keys.ReadFloat("chargeTime", m_chargeTime);
    keys.ReadInt("dockingPortMountIdx", m_dockingPortMountIdx);
    keys.ReadInt("dockingPortAnimIdx", m_dockingPortAnimIdx);
    keys.ReadText("collisionTag", m_collisionTag);
    keys.ReadBool("damageOnly", m_damageOnly);
    keys.ReadBool("gemSuck", m_gemSuck);
    keys.ReadBool("mining", m_mining);
    keys.ReadBool("stopToFire", m_stopToFire);
    keys.ReadBool("centreMount", m_centreMount);
}
