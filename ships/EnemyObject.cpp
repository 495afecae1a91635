#include "ships/EnemyObject.h"

#include "core/Console.h"
#include "core/DataFile.h"
#include "core/DefinitionProblems.h"
#include "core/Random.h"
#include "core/TextRoutines.h"
#include "presentation/CollisionShape.h"
#include "presentation/EffectRequests.h"
#include "world/Asteroid.h"
#include "world/AsteroidField.h"
#include "world/AsteroidKinds.h"
#include "world/Game.h"
#include "world/ObjectSpriteOwner.h"
#include "world/PushGrid.h"
#include "world/World.h"

#include <climits>

namespace
{
// Problems the game can pass over go to the console; the rest end the program.
void ReportProblems(const char* where, const CDefinitionProblems& problems)
{
    if (problems.HasFatal())
        EndOnBrokenDefinition(where, problems);
    if (!g_console)
        return;
    for (const SDefinitionProblem& problem : problems.GetAll())
        g_console->Printf("%s:%u: %s", where, static_cast<unsigned>(problem.line), problem.text.c_str());
}
} // namespace

bool IsDefinitionSection(const CDataNode& node, const char* section)
{
    if (!node.IsBlock() || !section)
        return false;
    const std::u16string wanted = WidenToU16(section);
    const std::u16string& name = node.GetName();
    return name.size() >= wanted.size() && CompareWideNoCaseN(name.c_str(), wanted.c_str(), wanted.size()) == 0;
}

const CDataTree* FindDefinitionSection(const CDataNodeList& nodes, const char* section)
{
    for (const auto& node : nodes)
        if (node && IsDefinitionSection(*node, section))
            return static_cast<const CDataTree*>(node.get());
    return nullptr;
}

const CDataTree* FindDefinitionSection(const CDataTree& root, const char* section)
{
    for (size_t i = 0; i < root.GetChildCount(); ++i)
    {
        const CDataNode* node = root.GetChild(i);
        if (node && IsDefinitionSection(*node, section))
            return static_cast<const CDataTree*>(node);
    }
    return nullptr;
}

uint32_t GetGameClock()
{
    const CGame* game = GetGame();
    return game ? game->GetTime() : 0;
}

CWorld* GetRunningWorld()
{
    CGame* game = GetGame();
    return game ? game->GetWorld() : nullptr;
}

CVector2D GetCrowdPush(const CVector2D& point)
{
    const CGame* game = GetGame();
    return game && game->GetPushGrid() ? game->GetPushGrid()->GetPush(point) : CVector2D();
}

bool IsWorldOnHold()
{
    CGame* game = GetGame();
    return game && game->GetRun().shipOutOfPlay;
}

int32_t SaturatedProduct(int32_t amount, int32_t factor)
{
    const int64_t product = static_cast<int64_t>(amount) * factor;
    if (product > INT32_MAX)
        return INT32_MAX;
    if (product < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(product);
}

CAsteroid* CEnemyObject::ThrowPod(int32_t kind, bool recorded, int32_t payload) const
{
    const CVector2D where = GetPosition();
    CAsteroid* pod = SpawnAsteroid(recorded, kind, nullptr, &where);
    if (!pod)
        return nullptr;
    pod->SetCargoValue(payload);
    pod->SetDrawPlane(POD_PLANE);
    CMotionBody& body = pod->GetBody();
    CVector2D drift;
    drift.SetFromAngle(m_body.angle + static_cast<float>(GetGameRandom().Below(4) - 2));
    body.velocity = drift * POD_SPEED;
    body.damping = 1.0f;
    body.velocityLimit = POD_SPEED_LIMIT;
    body.edgeBounce = 1;
    body.additiveBounce = 1;
    return pod;
}

void DropGem(const CVector2D& point, int32_t kind)
{
    CRandom& random = GetGameRandom();
    const float x = static_cast<float>(random.Below(40) - 20);
    const float y = static_cast<float>(random.Below(40) - 20);
    const CVector2D place = point + CVector2D(x, y);
    SpawnAsteroid(false, kind, nullptr, &place);
}

void ReadEffectName(const CDataTree& section, const char* key, std::string& name)
{
    char text[DATA_VALUE_MAX + 1] = "";
    if (section.GetString(key, text, sizeof(text)))
        name.assign(text, 0, SBodyPart::MAX_EFFECT_NAME);
}

bool CEnemyObject::LoadFromFile(const char* file)
{
    CDataNodeList nodes;
    if (!file || !LoadDataFileNodes(file, nodes))
    {
        if (g_console)
            g_console->Printf("Cannot read the enemy file %s", file ? file : "(none)");
        RemoveFromWorld();
        return false;
    }
    return LoadSection(FindDefinitionSection(nodes, GetSectionName()), file);
}

void CEnemyObject::LoadFromTree(const CDataTree& tree, bool)
{
    LoadSection(FindDefinitionSection(tree, GetSectionName()), "definition");
}

void CEnemyObject::ParseDefinition(const CDataTree& section)
{
    LoadSection(&section, "definition");
}

bool CEnemyObject::LoadSection(const CDataTree* section, const char* where)
{
    if (!section)
    {
        if (g_console)
            g_console->Printf("%s has no %s section", where, GetSectionName());
        RemoveFromWorld();
        return false;
    }
    CDefinitionProblems problems;
    ReadDefinition(*section, problems);
    ReportProblems(where, problems);
    return m_loaded;
}

bool CEnemyObject::ReadDefinition(const CDataTree& section, CDefinitionProblems& problems)
{
    m_loaded = false;
    bool complete = m_objectBody.Load(section, MakeSpriteOwner(*this), problems);
    m_body.mass = m_objectBody.GetMass();
    m_body.health = m_objectBody.GetHealth();
    m_body.damping = m_objectBody.GetInertialDamping();
    m_body.velocityLimit = static_cast<int32_t>(m_objectBody.GetVelocityLimit());
    m_body.shape = m_objectBody.TakeShapes();
    if (m_body.shape && m_body.shape->IsCircle())
        m_body.radius = static_cast<const CCollisionCircle&>(*m_body.shape).GetRadius();
    PlaceShape();
    complete = ReadKeys(section, problems) && complete;
    m_loaded = complete;
    return complete;
}

void CEnemyObject::SetVisible(bool visible)
{
    m_info.shown = visible;
    m_objectBody.SetVisible(visible);
}

void CEnemyObject::FreezeBody(bool frozen)
{
    m_info.frozen = frozen;
    m_info.collidable = !frozen;
    if (frozen)
        StopMotion();
}

void CEnemyObject::StopMotion()
{
    m_body.velocity = CVector2D();
    m_body.force = CVector2D();
}

void CEnemyObject::SetDrawPlane(uint8_t plane)
{
    m_info.drawPlane = plane;
    m_objectBody.SetDrawPlane(plane);
}

void CEnemyObject::StartEffect(const std::string& name, const CVector2D& point, bool owned) const
{
    if (!name.empty())
        GetEffectRequests().StartEffect(name.c_str(), owned ? GetHandle() : NO_OBJECT, point, CVector2D());
}

void CEnemyObject::UpdateBody()
{
    m_objectBody.Update(MakeSpriteOwner(*this));
}

bool CEnemyObject::CollideBodies(CGameObject& other)
{
    CCollisionShape* mine = m_body.shape.get();
    CCollisionShape* theirs = other.GetBody().shape.get();
    if (!mine || !theirs)
        return false;
    CVector2D point;
    CVector2D normal;
    if (!mine->Collide(*theirs, &point, &normal, nullptr))
        return false;
    BounceObjects(*this, other);
    other.NotifyContact(*this, point, normal);
    if (m_body.health > 0)
        StartEffect("smallSparks", point, true);
    return true;
}

void CEnemyObject::RemoveFromWorld() const
{
    if (CWorld* world = GetRunningWorld())
        world->RemoveObject(GetHandle());
}
