#include "ships/TurretGroup.h"

#include "core/DefinitionProblems.h"
#include "presentation/CollisionShape.h"
#include "presentation/CollisionTag.h"
#include "ships/ComponentDef.h"
#include "tests/ships/CarrierFixtures.h"
#include "tests/ships/DockingFixtures.h"
#include "tests/ships/EnemyScene.h"
#include "tests/support/presentation/RecordedEffects.h"
#include "presentation/ObjectBody.h"
#include "world/ObjectSpriteOwner.h"
#include "world/Asteroid.h"
#include "world/AsteroidField.h"
#include "world/AsteroidKinds.h"
#include "world/World.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace
{
constexpr float OWNER_X = 3000.0f;
constexpr float OWNER_Y = 3000.0f;

// One turret on the owner: compact keys ("range 500; fireRate 2").
std::string Turret(int index, const std::string& keys)
{
    return "turret" + std::to_string(index) + " { health 10; bodySpriteIdx -1; " + keys + " } ";
}

std::string Group(const std::vector<std::string>& turrets)
{
    std::string text = "turretGroup { numSpriteDefs 0; numTurrets " + std::to_string(turrets.size()) + "; ";
    for (const std::string& turret : turrets)
        text += turret;
    return DefinitionText(text + "}");
}

// A station's gem stocks, as the campaign keeps them.
class CStocks : public CTurretGemStore
{
public:
    int32_t GetStock(int stock) const override { return m_stock[stock]; }
    void AddToStock(int stock, int32_t amount) override { m_stock[stock] += amount; }
    void CountDelivered() override { ++m_delivered; }
    int32_t m_stock[4] = {};
    int m_delivered = 0;
};

class TurretGroupTest : public testing::Test
{
protected:
    TurretGroupTest() : m_scene(1, true)
    {
        m_owner = m_scene.Effects().SpawnTarget(OWNER_X, OWNER_Y, 40.0f, BAD_TEAM, 1000);
        EXPECT_TRUE(m_scene.Effects().Load(GlowEffectText()));
    }

    CGameObject& Owner() { return *m_scene.Harness().Find(m_owner); }

    bool Parse(const std::vector<std::string>& turrets)
    {
        std::unique_ptr<CDataTree> node = ParseBlock(Group(turrets));
        m_problems.Clear();
        return node && m_group.Parse(*node, Owner(), m_problems);
    }

    // An asteroid of the kind standing still at the point.
    int32_t Rock(int32_t kind, float x, float y, const CVector2D& velocity = CVector2D())
    {
        const CVector2D point(x, y);
        CGameObject* rock = SpawnAsteroid(false, kind, nullptr, &point);
        EXPECT_NE(rock, nullptr);
        if (!rock)
            return NO_OBJECT;
        m_scene.Place(rock->GetHandle(), x, y);
        rock->GetBody().velocity = velocity;
        rock->GetBody().force = CVector2D();
        return rock->GetHandle();
    }

    // A frame of the world, then the group as its owner runs it; gives Update's result.
    bool Step()
    {
        m_scene.RunFrames(1);
        m_group.Place(Owner(), nullptr, 0);
        return m_group.Update(Owner());
    }

    int32_t TargetOf(int index) { return m_group.GetTurret(index)->target; }

    CEnemyScene m_scene;
    int32_t m_owner = NO_OBJECT;
    CTurretGroup m_group;
    CDefinitionProblems m_problems;
};

TEST(TurretGeometryTest, TurnsTheShorterWayAcrossNorth)
{
    struct SCase
    {
        float angle, heading, step, after;
        bool onTarget;
    };
    const SCase cases[] = {
        {350.0f, 10.0f, 8.0f, 358.0f, false}, // 20 degrees clockwise through 0
        {10.0f, 350.0f, 8.0f, 2.0f, false},   // and back the other way
        {356.0f, 2.0f, 8.0f, 2.0f, true},     // within a step: on target
        {90.0f, 280.0f, 10.0f, 80.0f, false}, // 190 one way is 170 the other
        {0.0f, 180.0f, 0.0f, 0.0f, false},    // no step, no turn
    };
    for (const SCase& c : cases)
    {
        float angle = c.angle;
        EXPECT_EQ(TurnToward(angle, c.heading, c.step), c.onTarget) << c.angle << " -> " << c.heading;
        EXPECT_NEAR(angle, c.after, 1e-3f) << c.angle << " -> " << c.heading;
    }
}

TEST(TurretGeometryTest, ArcsRunCounterClockwiseFromTheirMinimum)
{
    struct SCase
    {
        float heading, arcMin, arcMax;
        bool inside;
    };
    const SCase cases[] = {
        {0.0f, 300.0f, 60.0f, true},     {59.0f, 300.0f, 60.0f, true},  {61.0f, 300.0f, 60.0f, false},
        {299.0f, 300.0f, 60.0f, false},  {180.0f, 300.0f, 60.0f, false}, {90.0f, 45.0f, 135.0f, true},
        {200.0f, 45.0f, 135.0f, false}, {45.0f, 45.0f, 135.0f, true},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(IsHeadingInArc(c.heading, c.arcMin, c.arcMax), c.inside)
            << c.heading << " in " << c.arcMin << ".." << c.arcMax;
    EXPECT_FLOAT_EQ(GetArcWidth(300.0f, 60.0f), 120.0f);
    EXPECT_FLOAT_EQ(GetArcWidth(-1.0f, 60.0f), 360.0f);
    EXPECT_FLOAT_EQ(GetArcWidth(45.0f, -1.0f), 360.0f);
}

TEST_F(TurretGroupTest, EachKindOfTurretTakesWhatItsRuleAllows)
{
    ASSERT_TRUE(Parse({Turret(0, "range 500; fireRate 1"), Turret(1, "range 500; fireRate 1; mining true"),
                       Turret(2, "range 500; fireRate 1; gemSuck true")}))
        << m_problems.Describe("turrets");
    const int32_t enemy = m_scene.Effects().SpawnTarget(OWNER_X + 300, OWNER_Y, 10, BAD_TEAM, 10);
    const int32_t gem = Rock(ASTEROID_RARE_GEM, OWNER_X - 100, OWNER_Y);
    const int32_t rock = Rock(ASTEROID_MEDIUM, OWNER_X, OWNER_Y + 150);
    const int32_t far = Rock(ASTEROID_NORMAL_GEM, OWNER_X + 600, OWNER_Y);
    m_group.ChooseTargets(Owner(), {enemy, gem, rock, far}, false);
    // The weapon passes the still rock (it comes no nearer) and the gem, and takes the
    // enemy; the mining beam takes the rock; the vacuum the gem within range.
    EXPECT_EQ(TargetOf(0), enemy);
    EXPECT_EQ(TargetOf(1), rock);
    EXPECT_EQ(TargetOf(2), gem);

    // A rock coming 5 units a frame nearer is the nearest target now; one leaving is not.
    const int32_t coming = Rock(ASTEROID_SMALL, OWNER_X, OWNER_Y - 200, CVector2D(0.0f, 5.0f));
    const int32_t leaving = Rock(ASTEROID_SMALL, OWNER_X - 120, OWNER_Y, CVector2D(-5.0f, 0.0f));
    m_group.ChooseTargets(Owner(), {enemy, leaving, coming}, false);
    EXPECT_EQ(TargetOf(0), coming);

    // Suppressed or with nothing to choose, every turret lets go.
    m_group.ChooseTargets(Owner(), {enemy, gem}, true);
    EXPECT_EQ(TargetOf(0), NO_OBJECT);
    EXPECT_EQ(TargetOf(2), NO_OBJECT);
    m_group.ChooseTargets(Owner(), {}, false);
    EXPECT_EQ(TargetOf(0), NO_OBJECT);
}

TEST_F(TurretGroupTest, TwoVacuumsNeverChaseOneGem)
{
    ASSERT_TRUE(Parse({Turret(0, "range 500; fireRate 1; gemSuck true"),
                       Turret(1, "range 500; fireRate 1; gemSuck true"),
                       Turret(2, "range 500; fireRate 1; gemSuck true")}))
        << m_problems.Describe("turrets");
    const int32_t near = Rock(ASTEROID_NORMAL_GEM, OWNER_X + 100, OWNER_Y);
    const int32_t farther = Rock(ASTEROID_VERY_RARE_GEM, OWNER_X + 300, OWNER_Y);
    m_group.ChooseTargets(Owner(), {farther, near}, false);
    EXPECT_EQ(TargetOf(0), near);
    EXPECT_EQ(TargetOf(1), farther);
    EXPECT_EQ(TargetOf(2), NO_OBJECT);

    // A dead or disabled vacuum holds nothing back.
    m_group.SetDisabled(true, 0);
    m_group.ChooseTargets(Owner(), {farther, near}, false);
    EXPECT_EQ(TargetOf(1), near);
    EXPECT_EQ(TargetOf(2), farther);
}

TEST_F(TurretGroupTest, FiresAtItsRateAndGlowsForTheChargeBeforeEachShot)
{
    ASSERT_TRUE(Parse({Turret(0, "range 500; fireRate 2; chargeTime 0.3; notFiringEffect glow")}))
        << m_problems.Describe("turrets");
    const int32_t enemy = m_scene.Effects().SpawnTarget(OWNER_X + 200, OWNER_Y, 10, BAD_TEAM, 10);
    m_group.ChooseTargets(Owner(), {enemy}, false);
    std::vector<uint32_t> shots;
    std::vector<uint32_t> glowStarts;
    bool glowing = false;
    for (int frame = 0; frame < 60; ++frame)
    {
        if (Step())
            shots.push_back(GetGameClock());
        const bool now = m_group.GetTurret(0)->notFiringEffect.IsRunning() &&
                         !m_group.GetTurret(0)->notFiringEffect.IsEmittingStopped();
        if (now && !glowing)
            glowStarts.push_back(GetGameClock());
        glowing = now;
    }
    ASSERT_GE(shots.size(), 3u);
    for (size_t i = 1; i < shots.size(); ++i)
        EXPECT_EQ(shots[i] - shots[i - 1], 520u) << "more than 500 ms: the 13th frame after a shot";
    // After a shot the glow waits 500 - 300 = 200 ms (it starts in the first frame past it).
    size_t checked = 0;
    for (uint32_t shot : shots)
        for (uint32_t glow : glowStarts)
            if (glow > shot && glow < shot + 520)
            {
                EXPECT_EQ(glow - shot, 240u);
                ++checked;
            }
    EXPECT_GE(checked, 2u);
}

TEST_F(TurretGroupTest, BrokenRatesAndChargesAreSafe)
{
    // No fire rate never fires; a charge longer than the interval glows at once after a shot.
    ASSERT_TRUE(Parse({Turret(0, "range 500; fireRate 0"),
                       Turret(1, "range 500; fireRate 5; chargeTime 2; notFiringEffect glow")}))
        << m_problems.Describe("turrets");
    const int32_t enemy = m_scene.Effects().SpawnTarget(OWNER_X + 200, OWNER_Y, 10, BAD_TEAM, 10);
    m_group.ChooseTargets(Owner(), {enemy}, false);
    int firstShots = 0;
    for (int frame = 0; frame < 50; ++frame)
    {
        Step();
        firstShots += m_group.GetTurret(0)->fired ? 1 : 0;
        if (m_group.GetTurret(1)->lastFire != 0 && GetGameClock() > m_group.GetTurret(1)->lastFire)
        {
            EXPECT_TRUE(m_group.GetTurret(1)->notFiringEffect.IsRunning()) << GetGameClock();
        }
    }
    EXPECT_EQ(firstShots, 0);
    EXPECT_NE(m_group.GetTurret(1)->lastFire, 0u);
}

TEST_F(TurretGroupTest, TurnsAtItsRateAndFiresOnlyOnTargetAndInArc)
{
    // 250 degrees a second: 10 a frame. Starting at the arc's minimum 300, the target at
    // heading 30 lies 90 degrees on, the shorter way through 0.
    ASSERT_TRUE(Parse({Turret(0, "range 500; fireRate 25; turnRate 250; fireAngleMinMax 300, 60")}))
        << m_problems.Describe("turrets");
    EXPECT_FLOAT_EQ(m_group.GetTurret(0)->angle, 300.0f);
    const CVector2D direction(std::cos(30.0f * 3.14159265f / 180.0f), std::sin(30.0f * 3.14159265f / 180.0f));
    const int32_t enemy =
        m_scene.Effects().SpawnTarget(OWNER_X + direction.x * 200, OWNER_Y + direction.y * 200, 10, BAD_TEAM, 10);
    m_group.ChooseTargets(Owner(), {enemy}, false);
    int frames = 0;
    while (!Step() && frames < 20)
        ++frames;
    EXPECT_EQ(frames, 8) << "8 turning frames, the 9th on target";
    EXPECT_NEAR(m_group.GetTurret(0)->angle, 30.0f, 0.01f);

    // Outside the arc it turns but never fires.
    m_scene.Place(enemy, OWNER_X - 200, OWNER_Y);
    int shots = 0;
    for (int i = 0; i < 40; ++i)
        shots += Step() ? 1 : 0;
    EXPECT_EQ(shots, 0);
}

TEST_F(TurretGroupTest, SweepsAcrossTheArcOrAFullTurnWithoutOne)
{
    // 1250 degrees a second: 50 a frame.
    ASSERT_TRUE(Parse({Turret(0, "range 500; turnRate 1250; constantSweep true; fireAngleMinMax 0, 100"),
                       Turret(1, "range 500; turnRate 1250; constantSweep true")}))
        << m_problems.Describe("turrets");
    const int32_t enemy = m_scene.Effects().SpawnTarget(OWNER_X + 200, OWNER_Y, 10, BAD_TEAM, 10);
    m_group.ChooseTargets(Owner(), {enemy}, false);
    std::vector<float> arc;
    std::vector<float> full;
    for (int i = 0; i < 10; ++i)
    {
        EXPECT_TRUE(Step()) << "a sweeping turret counts as firing";
        arc.push_back(m_group.GetTurret(0)->sweepOffset);
        full.push_back(m_group.GetTurret(1)->sweepOffset);
    }
    const std::vector<float> arcExpected = {50, 100, 150, 100, 50, 0, -50, 0, 50, 100};
    const std::vector<float> fullExpected = {50, 100, 150, 200, 250, 300, 350, 400, 350, 300};
    EXPECT_EQ(arc, arcExpected);
    EXPECT_EQ(full, fullExpected);
}

TEST_F(TurretGroupTest, AVacuumAtItsCapLeavesThatKindAlone)
{
    ASSERT_TRUE(Parse({Turret(0, "range 500; fireRate 25; gemSuck true")})) << m_problems.Describe("turrets");
    STurret& vacuum = *m_group.GetTurret(0);
    vacuum.gems[ASTEROID_RARE_GEM - ASTEROID_NORMAL_GEM] = STurret::GEM_COUNT_MAX;
    const int32_t rare = Rock(ASTEROID_RARE_GEM, OWNER_X + 30, OWNER_Y);
    m_group.ChooseTargets(Owner(), {rare}, false);
    for (int i = 0; i < 5; ++i)
        Step();
    EXPECT_NE(m_scene.Harness().Find(rare), nullptr) << "a full vacuum would lose the gem";

    const int32_t normal = Rock(ASTEROID_NORMAL_GEM, OWNER_X + 30, OWNER_Y);
    m_group.ChooseTargets(Owner(), {normal}, false);
    for (int i = 0; i < 3; ++i)
        Step();
    EXPECT_EQ(m_scene.Harness().Find(normal), nullptr);
    EXPECT_EQ(vacuum.gems[0], 1);

    // Hit, the vacuum lets three of its gems go, kinds in turn.
    vacuum.gems[0] = 1;
    vacuum.gems[5] = 4;
    vacuum.gems[2] = STurret::GEM_COUNT_MAX;
    const size_t before = m_scene.ListAsteroids().size();
    m_group.SpillGems(Owner());
    EXPECT_EQ(m_scene.ListAsteroids().size(), before + 3);
    EXPECT_EQ(vacuum.gems[0], 0);
    EXPECT_EQ(vacuum.gems[2], STurret::GEM_COUNT_MAX - 1);
    EXPECT_EQ(vacuum.gems[5], 3);
}

TEST_F(TurretGroupTest, AStationVacuumFillsTheStocksWithinTheirLimits)
{
    CStationWeaponDef def(COMPONENT_STATION_VAC);
    def.m_health = 50;
    def.m_range = 500.0f;
    def.m_fireRate = 25.0f;
    def.m_gemSuck = true;
    def.m_fireAngleMinMax = CVector2D(-1.0f, -1.0f);
    const CStationWeaponDef* fitted[] = {&def, nullptr};
    CStocks stocks;
    std::unique_ptr<CDataTree> node =
        ParseBlock(DefinitionText("turretGroup { numTurrets 2; turret0 { turretPos 0, 0 } }"));
    ASSERT_TRUE(node && m_group.ParseStation(*node, Owner(), fitted, &stocks, m_problems)) << m_problems.Describe("turrets");
    EXPECT_EQ(m_group.GetTurret(1)->health, 0) << "an empty mount is a dead turret";

    struct SCase
    {
        int32_t kind;
        int stock;
        int32_t before;
        int32_t after; // -1: left in space
    };
    const SCase cases[] = {
        {ASTEROID_NORMAL_GEM, 1, 99, 100},       {ASTEROID_NORMAL_GEM, 1, 100, -1},
        {ASTEROID_NORMAL_GEM_LARGE, 1, 94, 99},  {ASTEROID_NORMAL_GEM_LARGE, 1, 95, -1},
        {ASTEROID_RARE_GEM_LARGE, 2, 0, 5},      {ASTEROID_VERY_RARE_GEM, 3, 50, 51},
    };
    for (const SCase& c : cases)
    {
        stocks.m_stock[c.stock] = c.before;
        const int delivered = stocks.m_delivered;
        const int32_t gem = Rock(c.kind, OWNER_X + 60, OWNER_Y);
        m_group.ChooseTargets(Owner(), {gem}, false);
        for (int i = 0; i < 3; ++i)
            Step();
        const bool taken = m_scene.Harness().Find(gem) == nullptr;
        EXPECT_EQ(taken, c.after >= 0) << c.kind << " at " << c.before;
        EXPECT_EQ(stocks.m_stock[c.stock], c.after >= 0 ? c.after : c.before) << c.kind << " at " << c.before;
        EXPECT_EQ(stocks.m_delivered, delivered + (taken ? 1 : 0));
        if (!taken)
            m_scene.Harness().GetWorld().RemoveObject(gem);
        m_scene.RunFrames(1);
    }
}

TEST_F(TurretGroupTest, DamageByTagTakesTheBodyPartUnlessDamageOnly)
{
    CRecordedEffects effects;
    ASSERT_TRUE(Parse({Turret(0, "range 500; health 10; collisionTag GUN0; deathEffect boom"),
                       Turret(1, "range 500; health 10; collisionTag GUN1; damageOnly true"),
                       Turret(2, "range 500; health 10; owningCollisionTag HULL")}))
        << m_problems.Describe("turrets");
    CGameObject& owner = Owner();
    // The owner's body: its root, a shape for each gun and one for the hull, and a part
    // for each gun.
    std::unique_ptr<CDataTree> text = ParseBlock(DefinitionText(
        "BODY { mass 10; health 100; bodySprite { spriteFile dummy } collision { numObj 4;"
        " c0 { type rootCircle; radius 60; offset 0, 0 } c1 { type circle; radius 5; offset 30, 0; collisionTag GUN0 }"
        " c2 { type circle; radius 5; offset 0, 30; collisionTag GUN1 }"
        " c3 { type circle; radius 5; offset -30, 0; collisionTag HULL } }"
        " extraSprites { numDefs 0; numSprites 2; sprite0 { defIdx -1; collisionTag GUN0; health 5 }"
        " sprite1 { defIdx -1; collisionTag GUN1; health 5 } } }"));
    ASSERT_TRUE(text);
    CObjectBody body;
    CDefinitionProblems bodyProblems;
    ASSERT_TRUE(body.Load(*text, MakeSpriteOwner(owner), bodyProblems)) << bodyProblems.Describe("body");
    owner.GetBody().shape = body.TakeShapes();
    owner.PlaceShape();
    // A small probe touching the shape at the offset records the hit there.
    auto hitAt = [&](float dx, float dy) {
        CCollisionCircle probe(3.0f, true);
        probe.SetPosition(CVector2D(OWNER_X + dx, OWNER_Y + dy));
        CVector2D point;
        CVector2D data;
        EXPECT_TRUE(owner.GetBody().shape->Collide(probe, &point, &data, nullptr));
    };

    EXPECT_FALSE(m_group.Damage(owner, &body, 4, false, -1)) << "no shape was hit yet";
    hitAt(30.0f, 0.0f);
    EXPECT_TRUE(m_group.Damage(owner, &body, 4, false, -1));
    EXPECT_EQ(m_group.GetTurret(0)->health, 6);
    EXPECT_EQ(m_group.GetTurret(1)->health, 10);
    EXPECT_NE(m_group.GetTurret(0)->flashEnd, 0u);
    EXPECT_TRUE(m_group.Damage(owner, &body, 50, false, -1));
    EXPECT_EQ(m_group.GetTurret(0)->health, 0);
    EXPECT_EQ(effects.Count("boom"), 1u);
    EXPECT_EQ(body.GetPart(0).m_health, 0) << "the gun's part goes with it";
    EXPECT_TRUE(owner.GetBody().shape->FindByTag("GUN0", 0)->IsDisabled());

    // Damage-only: the turret dies, its part and shape stay.
    hitAt(0.0f, 30.0f);
    EXPECT_TRUE(m_group.Damage(owner, &body, 50, false, -1));
    EXPECT_EQ(m_group.GetTurret(1)->health, 0);
    EXPECT_EQ(body.GetPart(1).m_health, 5);
    EXPECT_FALSE(owner.GetBody().shape->FindByTag("GUN1", 0)->IsDisabled());

    // By the owning tag.
    hitAt(-30.0f, 0.0f);
    EXPECT_FALSE(m_group.Damage(owner, &body, 4, false, -1));
    EXPECT_TRUE(m_group.Damage(owner, &body, 4, true, -1));
    EXPECT_EQ(m_group.GetTurret(2)->health, 6);

    // Indices past the group are ignored; a dead turret takes nothing.
    EXPECT_FALSE(m_group.Damage(owner, &body, 4, false, 7));
    EXPECT_FALSE(m_group.Damage(owner, &body, 4, false, 0));
    EXPECT_TRUE(m_group.Damage(owner, &body, 4, false, 2));
    EXPECT_EQ(m_group.GetTurret(2)->health, 2);
    m_group.SetDisabled(true, 9);
    EXPECT_FALSE(m_group.IsDisabled());
    owner.GetBody().shape.reset();
}
} // namespace
