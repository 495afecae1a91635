#include "world/EffectCache.h"

#include "core/Console.h"
#include "core/DataFile.h"
#include "core/DataTree.h"
#include "world/EffectDef.h"
#include "world/Emitter.h"
#include "world/Game.h"
#include "world/GameFlowLink.h"
#include "world/GameObject.h"
#include "world/Quadtree.h"
#include "world/TextPageLink.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <strings.h>

namespace
{
bool IsEffectBlockName(const std::u16string& name)
{
    static const char16_t prefix[] = u"EFFECT";
    if (name.size() < 6)
        return false;
    for (size_t i = 0; i < 6; ++i)
    {
        char16_t c = name[i];
        if (c >= u'a' && c <= u'z')
            c = static_cast<char16_t>(c - u'a' + u'A');
        if (c != prefix[i])
            return false;
    }
    return true;
}
} // namespace

CEffectCache::CEffectCache()
{
    for (CEffect*& slot : m_live)
        slot = nullptr;
}

CEffectCache::~CEffectCache()
{
    FreeAll();
}

bool CEffectCache::Load(const char* fileName)
{
    FreeAll();
    m_fileProblems.clear();
    m_loadedFiles.clear();
    CDataNodeList nodes;
    if (!fileName || !LoadDataFileNodes(fileName, nodes))
    {
        if (g_console)
            g_console->Printf("Failed to load the effect list %s", fileName ? fileName : "");
        return false;
    }
    SEffectFileProblems report;
    report.file = fileName;
    for (const std::unique_ptr<CDataNode>& node : nodes)
    {
        const CDataTree* block = node->IsBlock() ? static_cast<const CDataTree*>(node.get()) : nullptr;
        if (!block || !block->HasName(u"EFFECT_CACHE"))
            continue;
        int32_t count = 0;
        block->GetInt("numEffects", count);
        if (count < 0 || count > MAX_FILES)
        {
            report.problems.AddFatal(block, "numEffects %d is outside 0..%d: the list is left out",
                                     static_cast<int>(count), static_cast<int>(MAX_FILES));
            continue;
        }
        for (int32_t i = 0; i < count; ++i)
        {
            char key[24];
            char file[DATA_VALUE_MAX + 1] = "";
            std::snprintf(key, sizeof(key), "effect%d", static_cast<int>(i));
            if (!block->GetString(key, file, sizeof(file)) || !file[0])
            {
                report.problems.AddFatal(block, "\"%s\" is missing", key);
                continue;
            }
            if (!LoadFile(file))
                report.problems.AddFatal(block, "effect file %s cannot be read", file);
        }
    }
    ReportProblems(report);
    return true;
}

bool CEffectCache::LoadFile(const char* fileName)
{
    CDataNodeList nodes;
    if (!fileName || !LoadDataFileNodes(fileName, nodes))
    {
        if (g_console)
            g_console->Printf("Failed to load effect file %s", fileName ? fileName : "");
        return false;
    }
    SEffectFileProblems report;
    report.file = fileName;
    ReadEffectNodes(nodes, report);
    m_loadedFiles.push_back(fileName);
    ReportProblems(report);
    return true;
}

bool CEffectCache::LoadFromBytes(const std::string& bytes, const char* name)
{
    CDataNodeList nodes;
    if (!ParseDataBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), nodes))
        return false;
    SEffectFileProblems report;
    report.file = name ? name : "";
    ReadEffectNodes(nodes, report);
    ReportProblems(report);
    return true;
}

void CEffectCache::ReadEffectNodes(const CDataNodeList& nodes, SEffectFileProblems& report)
{
    for (const std::unique_ptr<CDataNode>& node : nodes)
    {
        if (!node->IsBlock())
            continue;
        const CDataTree& block = static_cast<const CDataTree&>(*node);
        // "EFFECT..." blocks; an effect list among them is no effect.
        if (!IsEffectBlockName(block.GetName()) || block.HasName(u"EFFECT_CACHE"))
            continue;
        char name[DATA_VALUE_MAX + 1] = "";
        if (!block.GetString("name", name, sizeof(name)))
            report.problems.AddWarning(&block, "an effect without \"name\"");
        char upper[CEffectDef::NAME_SIZE];
        UpperCaseEffectName(name, upper, sizeof(upper));
        if (FindDefinitionByName(upper))
        {
            report.problems.AddWarning(&block, "a second effect named %s is ignored (the first one counts)", upper);
            continue;
        }
        if (GetDefinitionCount() >= MAX_DEFINITIONS)
        {
            report.problems.AddFatal(&block, "more than %d effects: %s is left out", static_cast<int>(MAX_DEFINITIONS),
                                     upper);
            continue;
        }
        std::unique_ptr<CEffectDef> definition(new (std::nothrow) CEffectDef(*this));
        if (!definition)
            continue;
        definition->SetSource(report.file, block.GetLine());
        if (definition->Read(block, upper, report.problems))
            m_definitions.push_back(std::move(definition));
    }
}

void CEffectCache::ReportProblems(const SEffectFileProblems& report)
{
    if (report.problems.IsEmpty())
        return;
    if (g_console)
        for (const SDefinitionProblem& problem : report.problems.GetAll())
            g_console->Printf("%s:%u: %s", report.file.c_str(), static_cast<unsigned>(problem.line),
                              problem.text.c_str());
    m_fileProblems.push_back(report);
}

CEffectDef* CEffectCache::FindDefinitionByName(const char* name) const
{
    char upper[NAME_COMPARE + 1];
    UpperCaseEffectName(name ? name : "", upper, sizeof(upper));
    for (const std::unique_ptr<CEffectDef>& definition : m_definitions)
        if (std::strncmp(definition->GetName(), upper, NAME_COMPARE) == 0)
            return definition.get();
    return nullptr;
}

const CEffectDef* CEffectCache::FindDefinition(const char* name) const
{
    return FindDefinitionByName(name);
}

CEffectDef* CEffectCache::GetDefinition(int32_t index) const
{
    return index >= 0 && index < GetDefinitionCount() ? m_definitions[static_cast<size_t>(index)].get() : nullptr;
}

CEffect* CEffectCache::SpawnEffect(const char* name, CGameObject* owner, bool recyclable,
                                   bool forceRecyclableUntracked, bool untracked)
{
    return SpawnEffect(name, SEffectOwner::Of(owner), recyclable, forceRecyclableUntracked, untracked);
}

CEffect* CEffectCache::SpawnEffect(const char* name, const SEffectOwner& owner, bool recyclable,
                                   bool forceRecyclableUntracked, bool untracked)
{
    CEffectDef* definition = FindDefinitionByName(name);
    if (!definition || !definition->GetEmitter())
        return nullptr;
    CEffect* effect = definition->GetEmitter()->AcquireEffect(owner);
    if (!effect)
        return nullptr;
    if (forceRecyclableUntracked)
    {
        effect->SetRecyclable(true);
        return effect;
    }
    if (untracked)
        return effect;
    for (CEffect*& slot : m_live)
    {
        if (!slot)
        {
            slot = effect;
            effect->SetRecyclable(recyclable);
            return effect;
        }
    }
    // No live slot: the instance goes back to its pool rather than being lost to it.
    effect->MakeIdle();
    return nullptr;
}

void CEffectCache::RemoveLiveEffect(CEffect* effect)
{
    if (!effect)
        return;
    for (CEffect*& slot : m_live)
        if (slot == effect)
            slot = nullptr;
    effect->ClearUseStamp();
}

int32_t CEffectCache::CountLiveEffects() const
{
    int32_t count = 0;
    for (CEffect* slot : m_live)
        count += slot ? 1 : 0;
    return count;
}

CEffect* CEffectCache::GetLiveEffect(int32_t slot) const
{
    return slot >= 0 && slot < LIVE_SLOTS ? m_live[slot] : nullptr;
}

bool CEffectCache::IsStandingStill() const
{
    CGame* game = GetGame();
    if (!game)
        return true;
    const CGameFlowLink& flow = game->GetGameFlow();
    return game->GetTextPages().IsAnyPageShowing() || flow.GetMode() == GAME_MODE_IN_GAME_MENU ||
           flow.IsExitWarningOpen();
}

void CEffectCache::Update()
{
    if (IsStandingStill())
        return;
    const uint32_t now = GetGame()->GetTime();
    for (size_t i = 0; i < m_definitions.size(); ++i)
        m_definitions[i]->Update(now);
    // Effects spawned meanwhile take free slots and are updated when the walk gets there.
    for (int32_t slot = 0; slot < LIVE_SLOTS; ++slot)
        if (CEffect* effect = m_live[slot])
            effect->Update();
    for (STimedPush& push : m_pushes)
        if (push.IsActive())
            UpdateTimedPush(push, now);
}

void CEffectCache::UpdateTimedPush(STimedPush& push, uint32_t now)
{
    if (static_cast<int32_t>(now - push.end) > 0)
    {
        push = STimedPush();
        return;
    }
    // A push without growing time is at its full radius at once.
    const float growth = push.end == push.start
                             ? 1.0f
                             : static_cast<float>(now - push.start) / static_cast<float>(push.end - push.start);
    const float radius = growth * static_cast<float>(push.radius);
    CGame* game = GetGame();
    if (!(radius > 0.0f) || !game || !game->GetQuadtree())
        return;
    std::vector<CGameObject*> objects;
    game->GetQuadtree()->QueryObjects(push.centre, radius, objects, true, true);
    for (CGameObject* object : objects)
    {
        object->TakeDamage(push.sourceType, nullptr, 2, push.damage);
        CVector2D away = object->GetPosition() - push.centre;
        if (away.x != 0.0f || away.y != 0.0f)
        {
            away.Normalise();
            object->GetBody().velocity += away * (radius * static_cast<float>(push.damage) * 2.5f);
        }
    }
}

STimedPush& CEffectCache::TakeTimedPush()
{
    STimedPush* taken = nullptr;
    for (STimedPush& push : m_pushes)
    {
        if (!push.IsActive())
        {
            taken = &push;
            break;
        }
        if (!taken || push.start < taken->start)
            taken = &push;
    }
    taken->sourceType = 0;
    return *taken;
}

void CEffectCache::Reset()
{
    for (const std::unique_ptr<CEffectDef>& definition : m_definitions)
    {
        CEmitter* emitter = definition->GetEmitter();
        if (!emitter)
            continue;
        for (int32_t i = 0; i < emitter->GetPoolSize(); ++i)
        {
            emitter->GetPoolEffect(i)->MakeTrailChildrenIdle();
            emitter->GetPoolEffect(i)->ReleaseAttachedChildren();
        }
        emitter->ResetOwn();
        // A delayed event must not fire into the next level.
        emitter->ClearDelayedEvents();
    }
    for (const std::unique_ptr<CEffectDef>& definition : m_definitions)
        if (CEmitter* emitter = definition->GetEmitter())
            for (int32_t i = 0; i < emitter->GetPoolSize(); ++i)
                emitter->GetPoolEffect(i)->Release(true);
    for (STimedPush& push : m_pushes)
        push = STimedPush();
    for (CEffect*& slot : m_live)
        slot = nullptr;
}

void CEffectCache::FreeAll()
{
    Reset();
    m_definitions.clear();
    for (CEffect*& slot : m_live)
        slot = nullptr;
}
