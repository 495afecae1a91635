#include "presentation/ObjectBody.h"

#include "core/DataTree.h"
#include "core/DefinitionProblems.h"
#include "presentation/AnimationClock.h"
#include "presentation/DefinitionBlocks.h"
#include "presentation/EffectRequests.h"
#include "presentation/SpriteOwner.h"
#include "presentation/SpriteTypes.h"

#include <new>

namespace
{
bool GetRequiredInt(const CDataTree& node, const char* key, int32_t& value, CDefinitionProblems& problems)
{
    if (node.GetInt(key, value))
        return true;
    problems.AddMissingKey(&node, key);
    return false;
}

size_t CountFatal(const CDefinitionProblems& problems)
{
    size_t count = 0;
    for (const SDefinitionProblem& problem : problems.GetAll())
        count += problem.fatal ? 1 : 0;
    return count;
}

const float MAX_VELOCITY_LIMIT = 1.0e9f;

const CDataTree* FindRequiredBlock(const CDataTree& node, const char* key, CDefinitionProblems& problems)
{
    const CDataTree* block = node.FindBlock(key);
    if (!block)
        problems.AddMissingKey(&node, key);
    return block;
}
} // namespace

bool CObjectBody::Load(const CDataTree& node, const SSpriteOwner& owner, CDefinitionProblems& problems)
{
    Destroy();
    m_plane = ClampSpritePlane(owner.drawPlane);
    bool complete = GetRequiredInt(node, "mass", m_mass, problems);
    complete = GetRequiredInt(node, "health", m_health, problems) && complete;
    node.GetFloat("inertialDamping", m_inertialDamping);
    node.GetFloat("velocitylimit", m_velocityLimit);
    // The world keeps the limit as a whole number: anything it cannot hold (not a
    // number, infinite, below 0 or beyond a billion) is brought within 0..1e9.
    if (!(m_velocityLimit >= 0.0f))
        m_velocityLimit = 0.0f;
    else if (m_velocityLimit > MAX_VELOCITY_LIMIT)
        m_velocityLimit = MAX_VELOCITY_LIMIT;

    if (const CDataTree* body = FindRequiredBlock(node, "bodySprite", problems))
    {
        m_spriteRef.Load(*body, true);
        m_sprite.Init(m_spriteRef, m_plane);
        m_sprite.SetPosition(owner.position);
        m_sprite.Show();
        float angle = 0.0f;
        if (body->GetFloat("angle", angle))
            m_sprite.SetAngle(angle);
        int32_t rate = 0;
        if (body->GetInt("playRate", rate) && rate > 0)
        {
            // Forwards and looped from frame 0.
            m_sprite.SetPlayRate(static_cast<uint16_t>(rate > UINT16_MAX ? UINT16_MAX : rate));
            m_sprite.SetPlayForwards(true);
            m_sprite.SetLooped(true);
            m_sprite.SetFrame(0);
            m_animated = true;
        }
    }
    else
        complete = false;

    if (const CDataTree* collision = FindRequiredBlock(node, "collision", problems))
    {
        // A chain that could not be read leaves a fatal problem behind.
        const size_t fatalBefore = CountFatal(problems);
        m_shapes = ReadCollisionShapes(*collision, problems);
        complete = CountFatal(problems) == fatalBefore && complete;
    }
    else
        complete = false;

    if (const CDataTree* extra = node.FindBlock("extraSprites"))
        complete = LoadParts(*extra, owner, problems) && complete;
    return complete;
}

bool CObjectBody::LoadParts(const CDataTree& node, const SSpriteOwner& owner, CDefinitionProblems& problems)
{
    int32_t partCount = 0;
    bool complete = LoadSpriteRefList(node, "numDefs", MAX_DEFS, m_defs, m_defCount, problems);
    if (!ReadDefinitionCount(node, "numSprites", MAX_PARTS, partCount, problems))
        return false;
    m_parts.reset(new (std::nothrow) SBodyPart[static_cast<size_t>(partCount)]);
    if (!m_parts)
    {
        problems.AddFatal(&node, "no memory for %d parts", static_cast<int>(partCount));
        return false;
    }
    m_partCount = static_cast<size_t>(partCount);
    const int32_t defCount = static_cast<int32_t>(m_defCount);
    for (int32_t i = 0; i < partCount; ++i)
    {
        const CDataTree* block = FindNumberedBlock(node, "sprite", i, true, problems);
        if (!block)
        {
            complete = false;
            continue;
        }
        SBodyPart& part = m_parts[static_cast<size_t>(i)];
        block->GetInt("drawPlane", part.m_planeOffset);
        block->GetBool("damageOnly", part.m_damageOnly);
        block->GetBool("invulnerable", part.m_invulnerable);
        block->GetBool("moveCollisionObj", part.m_moveCollisionObj);
        block->GetInt("health", part.m_health);
        char effect[DATA_VALUE_MAX + 1] = "";
        if (block->GetString("deathEffect", effect, sizeof(effect)))
            part.m_deathEffect.assign(effect, 0, SBodyPart::MAX_EFFECT_NAME);
        int32_t defIndex = -1;
        block->GetInt("defIdx", defIndex);
        if (defIndex < 0 || defIndex >= defCount)
        {
            problems.AddWarning(block, "\"defIdx\" %d names no definition (there are %d): the part has no sprite",
                                static_cast<int>(defIndex), static_cast<int>(defCount));
            // Still read, so that the tag and the settings hold; no file means no instance.
            static const CSpriteRef noSprite;
            part.m_sprite.Load(*block, noSprite, owner.drawPlane);
        }
        else
            part.m_sprite.Load(*block, m_defs[static_cast<size_t>(defIndex)], owner.drawPlane);
        part.m_tag = part.m_sprite.GetCollisionTag();
        float angle = 0.0f;
        if (block->GetFloat("angle", angle))
            part.m_sprite.SetAngle(angle);
        part.m_animated = part.m_sprite.GetPlayRate() > 0;
        part.m_sprite.Show();
        part.m_sprite.SetPosition(owner.position);
        part.m_sprite.SetScale(1.0f, 1.0f);
    }
    return complete;
}

void CObjectBody::Destroy()
{
    // Sprites before the references they draw from.
    m_parts.reset();
    m_partCount = 0;
    m_defs.reset();
    m_defCount = 0;
    m_sprite.Destroy();
    m_spriteRef.Release();
    m_shapes.reset();
    m_mass = m_health = 0;
    m_inertialDamping = 1.0f;
    m_velocityLimit = 0.0f;
    m_flashEnd = 0;
    m_animated = false;
}

CCollisionShape* CObjectBody::GetShapes(const SSpriteOwner& owner) const
{
    return owner.shapes ? owner.shapes : m_shapes.get();
}

void CObjectBody::StartFlash(CAnimatedSprite& sprite, uint32_t& flashEnd, uint32_t now)
{
    if (flashEnd != 0)
        return;
    flashEnd = now + FLASH_MS;
    if (flashEnd == 0)
        flashEnd = 1; // 0 means "not flashing"
    sprite.SetFlags(SPRITE_FLASH, true);
}

void CObjectBody::EndFlash(CAnimatedSprite& sprite, uint32_t& flashEnd, bool force, uint32_t now)
{
    if (flashEnd == 0 || (!force && !HasTimeCome(now, flashEnd)))
        return;
    flashEnd = 0;
    sprite.SetFlags(SPRITE_FLASH, false);
}

void CObjectBody::Update(const SSpriteOwner& owner)
{
    const uint32_t now = GetAnimationTime();
    CCollisionShape* shapes = GetShapes(owner);
    m_sprite.SetScale(owner.scaleX, owner.scaleY);
    EndFlash(m_sprite, m_flashEnd, false, now);
    if (m_animated)
        m_sprite.Animate();
    for (size_t i = 0; i < m_partCount; ++i)
    {
        SBodyPart& part = m_parts[i];
        part.m_sprite.SetPosition(owner.position, owner.scaleX, owner.scaleY);
        part.m_sprite.SetScale(owner.scaleX, owner.scaleY);
        if (part.m_health <= 0)
            part.m_sprite.Hide();
        if (part.m_moveCollisionObj && part.m_tag != 0 && shapes)
            if (CCollisionShape* shape = shapes->FindByTag(part.m_tag, 0))
                shape->SetPartOffset(part.m_sprite.GetOffset());
        EndFlash(part.m_sprite, part.m_flashEnd, false, now);
        if (part.m_animated)
            part.m_sprite.Animate();
    }
}

bool CObjectBody::HitPart(const SSpriteOwner& owner, int32_t damage, int& partIndex)
{
    const CCollisionShape* shapes = GetShapes(owner);
    const CCollisionShape* hit = shapes ? shapes->GetPartner() : nullptr;
    if (!hit || hit->GetTag() == 0)
        return false;
    const uint32_t now = GetAnimationTime();
    bool damaged = false;
    for (size_t i = 0; i < m_partCount; ++i)
    {
        SBodyPart& part = m_parts[i];
        if (part.m_health <= 0 || part.m_tag != hit->GetTag())
            continue;
        partIndex = static_cast<int>(i);
        if (part.m_invulnerable)
            return true;
        StartFlash(part.m_sprite, part.m_flashEnd, now);
        part.m_health -= damage;
        if (part.m_health < 1)
            DestroyPart(owner, static_cast<int>(i));
        damaged = true;
    }
    return damaged;
}

void CObjectBody::DestroyPart(const SSpriteOwner& owner, int partIndex)
{
    if (partIndex < 0 || static_cast<size_t>(partIndex) >= m_partCount)
        return;
    SBodyPart& part = m_parts[static_cast<size_t>(partIndex)];
    part.m_sprite.Hide();
    part.m_health = 0;
    if (!part.m_deathEffect.empty())
        GetEffectRequests().StartEffect(part.m_deathEffect.c_str(), owner.handle, part.m_sprite.GetPosition(),
                                        owner.velocity * static_cast<float>(GAME_TICKS_PER_SECOND));
    if (part.m_damageOnly || part.m_tag == 0)
        return;
    for (CCollisionShape* shape = GetShapes(owner); shape; shape = shape->GetNext())
        if (shape->GetTag() == part.m_tag)
            shape->SetDisabled(true);
}

void CObjectBody::Flash(bool end)
{
    const uint32_t now = GetAnimationTime();
    if (end)
        EndFlash(m_sprite, m_flashEnd, true, now);
    else
        StartFlash(m_sprite, m_flashEnd, now);
    for (size_t i = 0; i < m_partCount; ++i)
    {
        SBodyPart& part = m_parts[i];
        if (part.m_tag != 0)
            continue;
        if (end)
            EndFlash(part.m_sprite, part.m_flashEnd, true, now);
        else
            StartFlash(part.m_sprite, part.m_flashEnd, now);
    }
}

bool CObjectBody::AreTaggedPartsDestroyed() const
{
    for (size_t i = 0; i < m_partCount; ++i)
        if (m_parts[i].m_tag != 0 && m_parts[i].m_health > 0)
            return false;
    return true;
}

void CObjectBody::SetDrawPlane(int plane)
{
    m_plane = ClampSpritePlane(plane);
    m_sprite.SetPlane(m_plane);
    for (size_t i = 0; i < m_partCount; ++i)
        m_parts[i].m_sprite.SetPlane(ClampSpritePlane(static_cast<long long>(plane) + m_parts[i].m_planeOffset));
}

void CObjectBody::SetVisible(bool visible)
{
    if (visible)
        m_sprite.Show();
    else
        m_sprite.Hide();
    for (size_t i = 0; i < m_partCount; ++i)
    {
        // A destroyed part stays hidden.
        if (visible && m_parts[i].m_health > 0)
            m_parts[i].m_sprite.Show();
        else
            m_parts[i].m_sprite.Hide();
    }
}

void CObjectBody::SnapToPixels()
{
    m_sprite.SetFlags(SPRITE_SNAP, true);
    for (size_t i = 0; i < m_partCount; ++i)
        m_parts[i].m_sprite.SetFlags(SPRITE_SNAP, true);
}
