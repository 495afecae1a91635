#include "ships/EngineFlameSet.h"

#include "core/DefinitionProblems.h"
#include "tests/ships/DockingFixtures.h"
#include "tests/support/ships/ShipWorldHarness.h"
#include "tests/support/world/EffectScene.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
class EngineFlameSetTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_harness.StartLevel());
        m_owner = m_harness.Spawn(OBJECT_DUMB, 2000, 2000);
    }

    // Engines of compact text: "engine0 { angle 90; fallOff 45 }".
    bool Parse(const std::string& engines, int count)
    {
        std::unique_ptr<CDataTree> node = ParseBlock(DefinitionText(
            "engines { numEngines " + std::to_string(count) + "; sprite { spriteFile dummy } " + engines + " }"));
        CDefinitionProblems problems;
        return node && m_flames.Parse(*node, *m_harness.Find(m_owner), problems);
    }

    bool LitFor(const CVector2D& thrust, int32_t index = 0)
    {
        m_flames.Update(*m_harness.Find(m_owner), thrust, nullptr);
        return m_flames.GetFlame(index)->lit;
    }

    CShipWorldHarness m_harness;
    int32_t m_owner = NO_OBJECT;
    CEngineFlameSet m_flames;
};

TEST_F(EngineFlameSetTest, LightsWithinTheFallOffOfItsAngle)
{
    ASSERT_TRUE(Parse("engine0 { angle 90; fallOff 45 }", 1));
    struct SCase
    {
        float heading;
        bool lit;
    };
    // 45 and 135 themselves are the edges (float headings land either side of them).
    const SCase cases[] = {{44.5f, false}, {45.5f, true}, {90.0f, true}, {134.5f, true},
                           {135.5f, false}, {270.0f, false}, {0.0f, false}};
    for (const SCase& c : cases)
    {
        CVector2D thrust;
        thrust.SetFromAngle(c.heading);
        EXPECT_EQ(LitFor(thrust), c.lit) << c.heading;
    }
    EXPECT_FALSE(LitFor(CVector2D())) << "no thrust, no motion: dark";
    m_flames.SetAllEnabled(true);
    EXPECT_TRUE(LitFor(CVector2D())) << "all on";
    m_flames.SetAllEnabled(false);
    m_flames.SetAllHidden(true);
    CVector2D thrust;
    thrust.SetFromAngle(90.0f);
    EXPECT_FALSE(LitFor(thrust)) << "all hidden";
}

TEST_F(EngineFlameSetTest, CoastingBrakesAgainstTheMotion)
{
    ASSERT_TRUE(Parse("engine0 { angle 0; fallOff 30 } engine1 { angle 180; fallOff 30 }", 2));
    CGameObject& owner = *m_harness.Find(m_owner);
    // Moving left 2 units a tick with no thrust: the engine facing right brakes.
    owner.GetBody().velocity = CVector2D(-2.0f, 0.0f);
    EXPECT_TRUE(LitFor(CVector2D(), 0));
    EXPECT_FALSE(m_flames.GetFlame(1)->lit);
    EXPECT_TRUE(m_flames.IsBraking());
    // At a unit a tick it coasts dark.
    owner.GetBody().velocity = CVector2D(-1.0f, 0.0f);
    EXPECT_FALSE(LitFor(CVector2D(), 0));
    EXPECT_FALSE(m_flames.IsBraking());
}

TEST_F(EngineFlameSetTest, UnrotatedFlamesCycleTheirFramesAndWrap)
{
    ASSERT_TRUE(Parse("engine0 { angle 0; fallOff 90; rotated false; startFrame 2; endFrame 4 }"
                      " engine1 { angle 0; fallOff 90; rotated false; startFrame 3; endFrame 3 }",
                      2));
    std::vector<int> frames;
    std::vector<int> still;
    for (int i = 0; i < 5; ++i)
    {
        m_harness.RunFrame();
        LitFor(CVector2D(1.0f, 0.0f));
        frames.push_back(m_flames.GetFlame(0)->frame);
        still.push_back(m_flames.GetFlame(1)->frame);
    }
    EXPECT_EQ(frames, (std::vector<int>{3, 4, 2, 3, 4}));
    EXPECT_EQ(still, (std::vector<int>{3, 3, 3, 3, 3}));
}
} // namespace
