// The own keys of each component kind (the hull's and the station mounts' are in
// files of their own).

#include "core/DataTree.h"
#include "ships/ComponentDef.h"

void CEngineDef::ParseOwnKeys(CKeyReader& keys)
{
    keys.RequireInt("thrust", m_thrust);
    keys.RequireFloat("inertialDampening", m_inertialDampening);
    keys.RequireInt("emergencyBoost", m_emergencyBoost);
    keys.RequireInt("massDampingRated", m_massDampingRated);
    keys.RequireInt("velocityLimit", m_velocityLimit);
    m_engineSprite = keys.CopyBlock("engineSprite", true);
    keys.ReadVec2("engineEffectOffset", m_engineEffectOffset);
    keys.ReadVec2("engineSpriteOffset", m_engineSpriteOffset);
    keys.ReadText("engineEffect", m_engineEffect);
    keys.RequireInt("energyRequirement", m_energyRequirement);
}

void CGeneratorDef::ParseOwnKeys(CKeyReader& keys)
{
    keys.RequireInt("outputPerSec", m_outputPerSec);
}

void CBatteryDef::ParseOwnKeys(CKeyReader& keys)
{
    keys.ReadFloat("maxEnergy", m_maxEnergy);
    keys.ReadFloat("chargeRateSec", m_chargeRateSec);
}

void CGunDef::ParseOwnKeys(CKeyReader& keys)
{
    keys.ReadInt("energyRequirement", m_energyRequirement);
    keys.ReadFloat("fireRateSec", m_fireRateSec);
    keys.ReadFloat("maxTapSec", m_maxTapSec);
    keys.ReadInt("chargeEnergyNeeded", m_chargeEnergyNeeded);
    keys.ReadInt("maxChargeRateSec", m_maxChargeRateSec);
    keys.ReadText("weaponEffect", m_weaponEffect);
    keys.ReadText("chargeWeaponEffect", m_chargeWeaponEffect);
    keys.ReadText("chargeEffect", m_chargeEffect);
    keys.ReadText("fullChargeEffect", m_fullChargeEffect);
}

void CMissileDef::ParseOwnKeys(CKeyReader& keys)
{
    keys.ReadInt("energyRequirement", m_energyRequirement);
    keys.ReadFloat("fireRateSec", m_fireRateSec);
    keys.ReadFloat("maxTapSec", m_maxTapSec);
    keys.ReadText("weaponEffect", m_weaponEffect);
    keys.ReadInt("ammo", m_ammo);
}

void CPinbeamDef::ParseOwnKeys(CKeyReader& keys)
{
    keys.ReadInt("energyRequirement", m_energyRequirement);
    keys.ReadFloat("fireRateSec", m_fireRateSec);
    keys.ReadFloat("maxTapSec", m_maxTapSec);
    keys.ReadText("weaponEffect", m_weaponEffect);
}

void CBombDef::ParseOwnKeys(CKeyReader& keys)
{
    keys.ReadText("weaponEffect", m_weaponEffect);
    keys.ReadFloat("fireRateSec", m_fireRateSec);
    keys.ReadFloat("maxTapSec", m_maxTapSec);
    keys.ReadInt("ammo", m_ammo);
}

void CDroneDef::ParseOwnKeys(CKeyReader& keys)
{
    keys.ReadInt("energyRequirement", m_energyRequirement);
    keys.ReadFloat("fireRateSec", m_fireRateSec);
    keys.ReadText("weaponEffect", m_weaponEffect);
    keys.ReadText("bodySprite", m_bodySprite, 256);
    m_usesAmmo = keys.GetSection().FindValue("ammo") != nullptr;
    keys.ReadInt("ammo", m_ammo);
}

void CGravityBeamDef::ParseOwnKeys(CKeyReader& keys)
{
    keys.ReadText("gravityEffect", m_gravityEffect);
    keys.ReadText("objEffect", m_objEffect);
    keys.ReadFloat("radius", m_radius);
    bool noGemCollision = false;
    keys.ReadBool("noGemCollision", noGemCollision);
    m_gemCollision = !noGemCollision;
    keys.ReadInt("energyRequirement", m_energyRequirement);
}

void CShieldDef::ParseOwnKeys(CKeyReader& keys)
{
    keys.ReadText("shieldEffect", m_shieldEffect);
    keys.ReadText("shieldEdgeEffect", m_shieldEdgeEffect);
    keys.ReadFloat("maxChargeRateSec", m_maxChargeRateSec);
    keys.ReadFloat("radius", m_radius);
    keys.ReadInt("energyRequirement", m_energyRequirement);
}

void CAmmoDef::ParseOwnKeys(CKeyReader& keys)
{
    keys.ReadInt("ammo", m_ammo);
}
