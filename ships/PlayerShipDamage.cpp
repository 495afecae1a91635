// The player ship's contacts, hits, death, and what it gives the station.

#include "core/Random.h"
#include "presentation/EffectRequests.h"
#include "ships/PlayerShip.h"
#include "ships/StationLink.h"
#include "world/AsteroidField.h"
#include "world/AsteroidKinds.h"
#include "world/CampaignLink.h"
#include "world/DirectorLink.h"
#include "world/Game.h"
#include "world/GameFlowLink.h"
#include "world/HudLink.h"
#include "world/World.h"
#include "world/ZoneLink.h"

namespace
{
// The damage kinds as the rules below number them. Callers pass: bounces 0,
// particle and laser hits 1, timed pushes 2, the station strike 3; so the
// "collision" rules meet pushes and the "weapon" rules meet bounces.
constexpr int32_t DAMAGE_KIND_WEAPON = 0;
constexpr int32_t DAMAGE_KIND_COLLISION = 2;

constexpr int32_t CRUSHER_CONFIG = 7;
constexpr int32_t SCRIPTED_HIT_ZONE = 4;
constexpr int32_t UNDYING_TUTORIAL_STATE = 2;
constexpr int32_t RARE_GEM_EVENT = 49;
constexpr int32_t VERY_RARE_GEM_EVENT = 50;

bool IsHarmlessAsteroid(const CGameObject* source)
{
    if (!source)
        return false;
    int32_t kind = source->GetAsteroidKind();
    return kind == ASTEROID_WRECK_POD || kind == ASTEROID_DRIVE_POD || kind == ASTEROID_EQUIPMENT_POD;
}
} // namespace

int32_t CPlayerShip::ApplyDamageRules(int32_t sourceType, CGameObject* source, int32_t kind, int32_t amount) const
{
    CGame& game = *GetGame();
    if (kind == DAMAGE_KIND_COLLISION)
    {
        // Rocks hurt only in the dangerous nodes of the first two kinds.
        const int nodeKind = game.GetZones().GetNodeKind();
        if (sourceType == OBJECT_ASTEROID && nodeKind != 2 && nodeKind != 5)
            return 0;
        const int zone = game.GetZones().GetZoneIndex();
        if (sourceType == OBJECT_WORM && zone > 0)
            amount *= zone + 1;
    }
    else if (kind == DAMAGE_KIND_WEAPON)
    {
        if (sourceType == OBJECT_MAGMA_BOSS && source && source->IsStrikingHard())
            amount *= 5;
        if (sourceType == OBJECT_MOUNTED_PART)
            amount *= 2;
        if (sourceType == OBJECT_ENEMY_MOTHERSHIP && source && source->GetBossKey() == CRUSHER_CONFIG)
            amount *= 7;
        amount *= 2;
    }
    return amount;
}

bool CPlayerShip::TakeDamage(int32_t sourceType, CGameObject* source, int32_t kind, int32_t amount)
{
    CGame* game = GetGame();
    if (!game || !m_runtime || m_body.health < 1 || m_info.frozen || game->GetRun().noDeath)
        return false;
    if (sourceType == OBJECT_ASTEROID && IsHarmlessAsteroid(source))
        return false;
    CDirectorLink& director = game->GetDirector();
    if (game->GetZones().GetZoneIndex() == SCRIPTED_HIT_ZONE && director.IsScriptedHitArmed())
    {
        if (m_hitLatch)
            return false;
        if (sourceType == OBJECT_ENEMY_FIGHTER && source && source->IsScriptedAttacker())
        {
            m_hitLatch = true;
            director.OnScriptedHit();
            return false;
        }
    }
    // A ship just made cannot be hurt before the zone's clock reaches its birth.
    if (game->GetZones().GetClock() < m_creationStamp)
        return false;

    int32_t damage = ApplyDamageRules(sourceType, source, kind, amount);
    m_runtime->GetShield().Absorb(damage);
    if (damage <= 0)
        return false;

    if (director.GetTutorialState() == UNDYING_TUTORIAL_STATE)
        m_body.health = std::max(m_body.health - damage, 1);
    else
    {
        m_body.health -= damage;
        if (m_body.health < 1)
        {
            m_body.health = 0;
            m_deathTime = game->GetTime() + DEATH_DELAY_MS;
            if (!m_hullDef->m_deathEffect.empty())
                GetEffectRequests().StartEffect(m_hullDef->m_deathEffect.c_str(), GetHandle(), GetPosition(),
                                                m_body.velocity * static_cast<float>(CMotionBody::TICKS_PER_SECOND));
            game->GetCampaign().MarkShipLost(GetStorageSlot());
            game->GetCampaign().ClearShipState(GetStorageSlot());
            return true;
        }
    }
    if (game->GetHud().IsVisible())
        game->GetGameFlow().SoundAlarm();
    return false;
}

void CPlayerShip::Die()
{
    CGame* game = GetGame();
    if (!game)
        return;
    const int32_t slot = GetStorageSlot();
    if (m_runtime && !game->GetRun().survival && slot >= 2 && slot <= 7)
    {
        // The lost ship's parts may be picked up again: each fitted pod, one time
        // in three, drops as an equipment pod where the ship was.
        const CShipConfig& design = *m_runtime->GetDesign();
        const CVector2D where = GetPosition();
        for (int32_t i = 0; i < m_runtime->GetInstanceCount(); ++i)
            if (design.m_pods[i].m_kind != COMPONENT_NONE && GameRand() % 3 == 1)
                SpawnAsteroid(true, ASTEROID_EQUIPMENT_POD, nullptr, &where, OBJECT_PLAYER_SHIP);
    }
    if (game->GetWorld())
        game->GetWorld()->RemoveObject(GetHandle());
    game->GetDirector().ClearPodHint();
}

void CPlayerShip::Collide(CGameObject& other)
{
    CCollisionShape* mine = m_body.shape.get();
    CCollisionShape* theirs = other.GetBody().shape.get();
    if (!mine || !theirs)
        return;
    CVector2D point;
    CVector2D normal;
    if (!mine->Collide(*theirs, &point, &normal, nullptr))
        return;
    BounceObjects(*this, other);
    other.NotifyContact(*this, point, normal);
    if (m_body.health > 0 && m_hullDef && !m_hullDef->m_collisionContactEffect.empty())
        GetEffectRequests().StartEffect(m_hullDef->m_collisionContactEffect.c_str(), GetHandle(), point,
                                        CVector2D());
}

void CPlayerShip::RequestStationHelp(const CVector2D& position)
{
    CGame* game = GetGame();
    if (!game)
        return;
    const uint32_t now = game->GetTime();
    if (m_calledStation && now - m_lastStationCall < STATION_CALL_MS)
        return;
    CGameObject* station = game->GetWorld() ? game->GetWorld()->GetObject(game->GetStationHandle()) : nullptr;
    if (!station)
        return;
    m_calledStation = true;
    m_lastStationCall = now;
    RaiseStationAlert(*station, position);
}

void CPlayerShip::UnloadCargoItem()
{
    CGame* game = GetGame();
    if (!m_runtime || !game)
        return;
    SCargoHold& hold = m_runtime->GetCargo();
    CCampaignLink& campaign = game->GetCampaign();
    // The station credits the gems it unloads (once); the hold only lets them go.
    if (hold.m_normalGems > 0)
        --hold.m_normalGems;
    else if (hold.m_rareGems > 0)
    {
        --hold.m_rareGems;
        campaign.RaiseEvent(RARE_GEM_EVENT);
    }
    else if (hold.m_veryRareGems > 0)
    {
        --hold.m_veryRareGems;
        campaign.RaiseEvent(VERY_RARE_GEM_EVENT);
    }
    else if (hold.m_salvagedEquipment > 0)
        --hold.m_salvagedEquipment;
    else if (hold.m_foundEquipment > 0)
        --hold.m_foundEquipment;
    hold.UpdateLoad();
    if (hold.m_load == 0)
        hold.m_unloading = false;
}
