// The magma boss: four blobs that swing out, fire round the ring and come back,
// ports that go with the parts that hold them, and the queen fighter it leaves.

#include "core/DataTree.h"
#include "presentation/CollisionTag.h"
#include "ships/Bosses.h"
#include "ships/EnemyTargets.h"
#include "ships/ShipPlacement.h"
#include "world/DirectorLink.h"
#include "world/Game.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr float CENTRAL_ANGLE = 135.0f;
constexpr float LAST_BURST_ANGLE = 315.0f;
const float BLOB_ANGLES[CMagmaBoss::BLOBS] = {270.0f, 0.0f, 90.0f, 180.0f};
// Ports 0 to 3 are held by parts 4 to 7; the core opens once these parts are dead.
constexpr int FIRST_PORT_PART = 4;
const int CORE_SHIELD_PARTS[] = {4, 5, 6, 7, 16, 17, 18, 19};
// The steps of the ring burst: -1 the centre, 0 to 3 the blobs toward the next one,
// 4 blob 0 once more.
constexpr int LAST_STEP = 4;

float LengthOf(const CVector2D& vector)
{
    return std::sqrt(vector.Dot(vector));
}
} // namespace

CMagmaBoss::CMagmaBoss() : CBoss(OBJECT_MAGMA_BOSS, 48, 16000) {}

void CMagmaBoss::GetScriptNeeds(int& parts, int& ports, int& turrets) const
{
    parts = 19;
    ports = 3;
    turrets = -1;
}

bool CMagmaBoss::ReadBossKeys(const CDataTree& section, CDefinitionProblems&)
{
    std::string emitter;
    ReadEffectName(section, "blobEmitter", emitter);
    m_central.Release();
    if (m_central.Spawn(emitter, this))
        m_central.Place(GetPosition(), CENTRAL_ANGLE, CVector2D());
    for (int i = 0; i < BLOBS; ++i)
    {
        SBlob& blob = m_blobs[i];
        blob.emitter.Release();
        blob.emitter.Spawn(emitter, this);
        const SBodyPart* part = GetPart(FIRST_BLOB_PART + i);
        blob.home = part ? part->m_sprite.GetOffset() : CVector2D();
        blob.outward = CVector2D();
        const float length = LengthOf(blob.home);
        if (length > 0.0f)
            blob.outward = blob.home * (1.0f / length);
        else
            blob.outward.SetFromAngle(BLOB_ANGLES[i]);
    }
    m_queen = ReadQueenFile(section, "magmaFighterFile", m_queenFile);
    return true;
}

CVector2D CMagmaBoss::GetBlobOffset(int index) const
{
    const SBodyPart* part = index >= 0 && index < BLOBS && FIRST_BLOB_PART + index < GetPartCount()
                                ? &m_objectBody.GetPart(static_cast<size_t>(FIRST_BLOB_PART + index))
                                : nullptr;
    return part ? part->m_sprite.GetOffset() : m_blobs[index].home;
}

void CMagmaBoss::SetBlobOffset(int index, const CVector2D& offset)
{
    if (SBodyPart* part = GetPart(FIRST_BLOB_PART + index))
        part->m_sprite.SetOffset(offset);
}

void CMagmaBoss::Attack(uint32_t now)
{
    if (!m_started)
    {
        m_started = true;
        m_phaseTime = now;
    }
    for (int k = 0; k < 4; ++k)
    {
        CDockingPort* port = GetPort(k);
        if (port && port->GetState() != PORT_DESTROYED && !IsPartAlive(FIRST_PORT_PART + k) &&
            port->GetTransit() == NO_OBJECT)
            port->Destroy(*this, &m_objectBody, false, true);
    }
    if (std::none_of(std::begin(CORE_SHIELD_PARTS), std::end(CORE_SHIELD_PARTS),
                     [this](int part) { return IsPartAlive(part); }))
        m_coreInvulnerable = false;
    PlaceEmitters();

    switch (m_phase)
    {
    case 0:
        if (now - m_phaseTime < REST_MS)
            break;
        for (int i = 0; i < BLOBS; ++i)
        {
            m_blobs[i].reach = m_longReachNext[i] ? LONG_REACH : SHORT_REACH;
            m_longReachNext[i] = !m_longReachNext[i];
            m_blobs[i].stepTime = now;
        }
        m_phase = 1;
        m_phaseTime = now;
        break;
    case 1:
    {
        bool moved = false;
        for (int i = 0; i < BLOBS; ++i)
        {
            SBlob& blob = m_blobs[i];
            const CVector2D offset = GetBlobOffset(i);
            const float distance = LengthOf(offset);
            if (distance < blob.reach)
            {
                const float step = std::min(distance, BLOB_SPEED * static_cast<float>(now - blob.stepTime));
                SetBlobOffset(i, offset + blob.outward * step);
                moved = moved || step > 0.0f;
            }
            blob.stepTime = now;
        }
        if (!moved)
        {
            m_current = -2;
            m_next = -1;
            m_phase = 3;
            m_phaseTime = now;
            RunBursts(now);
        }
        break;
    }
    case 3:
        RunBursts(now);
        break;
    case 4:
    {
        bool allHome = true;
        for (int i = 0; i < BLOBS; ++i)
        {
            SBlob& blob = m_blobs[i];
            const CVector2D offset = GetBlobOffset(i);
            const CVector2D back = blob.home - offset;
            const float distance = LengthOf(back);
            const float step = std::min(distance, BLOB_SPEED * static_cast<float>(now - blob.stepTime));
            blob.stepTime = now;
            if (distance <= 0.0f)
                continue;
            if (step >= distance)
                SetBlobOffset(i, blob.home);
            else
            {
                SetBlobOffset(i, offset - blob.outward * step);
                allHome = false;
            }
        }
        if (allHome)
        {
            m_phase = 0;
            m_phaseTime = now;
        }
        break;
    }
    default:
        m_phase = 0;
        m_phaseTime = now;
        break;
    }
}

void CMagmaBoss::RunBursts(uint32_t now)
{
    if (m_current != -2 && !HasTimeCome(now, m_burstEnd))
        return;
    // The running burst ends; the next one starts.
    if (m_current == -1)
        m_central.StopEmitting();
    else if (m_current >= 0)
        m_blobs[m_current == LAST_STEP ? 0 : m_current].emitter.StopEmitting();
    m_centralBurst = false;
    if (m_current >= 0)
        m_blobs[m_current == LAST_STEP ? 0 : m_current].emitting = false;
    if (m_current == LAST_STEP)
    {
        for (SBlob& blob : m_blobs)
            blob.stepTime = now;
        m_current = -1;
        m_next = -1;
        m_phase = 4;
        m_phaseTime = now;
        return;
    }
    m_current = m_next;
    m_next = m_current + 1;
    m_burstSize = m_blobs[0].reach == SHORT_REACH ? 0.25f : 0.5f;
    if (m_current == -1)
    {
        m_centralBurst = true;
        m_central.SetEmissionScale(m_burstSize / 0.5f);
        m_central.Place(GetPosition(), CENTRAL_ANGLE, VelocityPerSecond(*this));
        m_central.Start();
        m_burstEnd = now + BURST_MS;
        return;
    }
    if (m_current == LAST_STEP)
        StartBurst(0, LAST_BURST_ANGLE, now);
    else
    {
        const int toward = (m_current + 1) % BLOBS;
        StartBurst(m_current, HeadingOf(GetBlobOffset(toward) - GetBlobOffset(m_current)), now);
    }
}

void CMagmaBoss::StartBurst(int blob, float angle, uint32_t now)
{
    SBlob& record = m_blobs[blob];
    record.emitting = true;
    record.emitter.SetEmissionScale(m_burstSize / 0.5f);
    record.emitter.Place(GetPosition() + GetBlobOffset(blob), angle, VelocityPerSecond(*this));
    record.emitter.Start();
    m_burstEnd = now + BURST_MS;
}

void CMagmaBoss::PlaceEmitters()
{
    const CVector2D velocity = VelocityPerSecond(*this);
    if (CEffect* central = m_central.Get())
    {
        central->SetPosition(GetPosition());
        central->SetVelocity(velocity);
    }
    for (int i = 0; i < BLOBS; ++i)
        if (CEffect* effect = m_blobs[i].emitter.Get())
        {
            effect->SetPosition(GetPosition() + GetBlobOffset(i));
            effect->SetVelocity(velocity);
        }
}

bool CMagmaBoss::IsStrikingHard() const
{
    return m_phase == 1 || m_phase == 4;
}

bool CMagmaBoss::IsBlobStrikingHard() const
{
    const uint32_t tag = GetHitTag();
    if (!IsStrikingHard() || tag == 0)
        return false;
    for (int k = 0; k < BLOBS; ++k)
    {
        const SBodyPart* blob = GetPart(FIRST_BLOB_PART + k);
        if (blob && blob->m_tag == tag)
            return true;
    }
    return false;
}

bool CMagmaBoss::TakeDamage(int32_t sourceType, CGameObject* source, int32_t kind, int32_t amount)
{
    if (m_body.health <= 0 || !m_info.collidable || !m_loaded || IsIgnoredSource(sourceType, source))
        return false;
    const uint32_t tag = GetHitTag();
    if (m_coreInvulnerable && (kind == 2 || (tag != 0 && tag == PackCollisionTag("CORE"))))
        return false;
    for (int i = 0; i < BLOBS; ++i)
    {
        const SBodyPart* blob = GetPart(FIRST_BLOB_PART + i);
        if (blob && tag != 0 && blob->m_tag == tag)
            return false;
    }
    int partIndex = -1;
    if (TakePartHit(amount, partIndex))
        return false;
    if (!TakeBossCoreHit(kind, amount))
        return false;
    for (int i = 0; i < BLOBS; ++i)
        DestroyPart(FIRST_BLOB_PART + i);
    return true;
}

void CMagmaBoss::Die()
{
    int32_t queen = NO_OBJECT;
    if (!LeaveQueen(m_queen, &queen))
        return;
    if (queen != NO_OBJECT)
        if (CGame* game = GetGame())
            game->GetDirector().SetQueenHandle(queen);
    m_central.StopEmitting();
    for (SBlob& blob : m_blobs)
        blob.emitter.StopEmitting();
    RemoveFromWorld();
}
