#include "ships/DockingPort.h"

#include "core/DefinitionProblems.h"
#include "presentation/CollisionShape.h"
#include "presentation/CollisionTag.h"
#include "presentation/ObjectBody.h"
#include "presentation/SpritePath.h"
#include "tests/ships/DockingFixtures.h"
#include "tests/support/presentation/RecordedEffects.h"
#include "ships/TurretGroup.h"
#include "tests/support/ships/ShipWorldHarness.h"
#include "tests/support/world/EffectScene.h"
#include "world/ObjectFactory.h"
#include "world/ObjectSpriteOwner.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
constexpr float OWNER_X = 2000.0f;
constexpr float OWNER_Y = 2000.0f;

void CountCall(void* argument)
{
    ++*static_cast<int*>(argument);
}

class DockingPortTest : public testing::Test
{
protected:
    void SetUp() override
    {
        RegisterObjectType(OBJECT_DUMB, &CreateObjectOf<CDockableObject>);
        ASSERT_TRUE(m_harness.StartLevel());
        m_owner = m_harness.Spawn(OBJECT_DUMB, OWNER_X, OWNER_Y);
        ASSERT_TRUE(Parse(Port(0.0f)));
    }

    bool Parse(const std::string& text)
    {
        std::unique_ptr<CDataTree> node = ParseBlock(text);
        m_port = std::make_unique<CDockingPort>();
        m_problems.Clear();
        return node && m_port->ParseDefinition(*node, *Owner(), m_problems);
    }

    CDockableObject* Owner() { return m_harness.FindAs<CDockableObject>(m_owner); }
    CDockableObject* Object(int32_t handle) { return m_harness.FindAs<CDockableObject>(handle); }

    // One frame of the world, then the port's update as its owner's move runs it.
    void Step(int frames = 1)
    {
        for (int i = 0; i < frames; ++i)
        {
            m_harness.RunFrame();
            if (CDockableObject* owner = Owner())
                m_port->Update(*owner, m_body.get());
        }
    }

    // The states the port passes through until it has stayed in one for 40 frames
    // (longer than any ride or door of the fixture).
    std::vector<int> StepUntilSettled(int most = 400)
    {
        std::vector<int> trace{m_port->GetState()};
        int still = 0;
        for (int i = 0; i < most && still < 40; ++i)
        {
            Step();
            if (m_port->GetState() == trace.back())
                ++still;
            else
            {
                trace.push_back(m_port->GetState());
                still = 0;
            }
        }
        return trace;
    }

    std::string Port(float pushOnExit, const std::string& extra = "", int tagCount = 1)
    {
        return PortText("port0", pushOnExit, extra, tagCount, m_spriteFile.GetPath());
    }

    CVector2D DoorPosition() { return m_port->GetAnimSet().GetSprites().GetSprite(0).GetPosition(); }

    CTestSpriteFile m_spriteFile;
    CShipWorldHarness m_harness;
    int32_t m_owner = NO_OBJECT;
    std::unique_ptr<CDockingPort> m_port;
    std::unique_ptr<CObjectBody> m_body;
    CDefinitionProblems m_problems;
};

TEST_F(DockingPortTest, StartsClosedWithTheDoorInItsClosedPose)
{
    EXPECT_EQ(m_port->GetState(), PORT_CLOSED);
    EXPECT_TRUE(m_problems.IsEmpty()) << m_problems.Describe("port");
    EXPECT_TRUE(m_port->GetAnimSet().GetSprites().GetSprite(0).IsVisible());
    // The door follows its owner while closed.
    Owner()->SetPosition(CVector2D(OWNER_X + 100.0f, OWNER_Y));
    Step();
    EXPECT_FLOAT_EQ(DoorPosition().x, OWNER_X + 100.0f - 16.0f);
    EXPECT_FLOAT_EQ(DoorPosition().y, OWNER_Y - 40.0f);
    EXPECT_EQ(m_port->GetEntrancePoint(*Owner()).y, OWNER_Y - 100.0f);
}

TEST_F(DockingPortTest, LaunchOpensRidesOutAndClosesWhenAsked)
{
    for (bool closeWhenDone : {false, true})
    {
        SCOPED_TRACE(closeWhenDone ? "close when done" : "stays open");
        ASSERT_TRUE(Parse(Port(0.0f)));
        const int32_t ship = m_harness.Spawn(OBJECT_DUMB, OWNER_X + 500.0f, OWNER_Y);
        m_port->TakeObject(ship, closeWhenDone, nullptr, nullptr);
        EXPECT_FALSE(Object(ship)->m_visible);
        EXPECT_TRUE(m_port->Holds(ship));

        std::vector<int> trace{m_port->GetState()};
        bool seenRiding = false;
        for (int i = 0; i < 120; ++i)
        {
            Step();
            if (m_port->GetState() != trace.back())
                trace.push_back(m_port->GetState());
            if (m_port->GetState() == PORT_LAUNCHING && !seenRiding)
            {
                seenRiding = true;
                // Seen from the start of the ride, frozen while the path carries it.
                EXPECT_TRUE(Object(ship)->m_visible);
                EXPECT_TRUE(Object(ship)->IsFrozen());
                EXPECT_EQ(m_port->GetTransit(), ship);
                // The door has opened: it stands at the far end of its path.
                EXPECT_FLOAT_EQ(DoorPosition().x, OWNER_X + 16.0f);
            }
        }
        const std::vector<int> expected = closeWhenDone
                                              ? std::vector<int>{PORT_CLOSED, PORT_OPENING, PORT_OPEN, PORT_LAUNCHING,
                                                                 PORT_OPEN, PORT_CLOSING, PORT_CLOSED}
                                              : std::vector<int>{PORT_CLOSED, PORT_OPENING, PORT_OPEN, PORT_LAUNCHING,
                                                                 PORT_OPEN};
        EXPECT_EQ(trace, expected);
        CDockableObject* launched = Object(ship);
        EXPECT_FALSE(launched->IsFrozen());
        EXPECT_TRUE(launched->m_visible);
        EXPECT_FALSE(m_port->Holds(ship));
        EXPECT_EQ(m_port->GetTransit(), NO_OBJECT);
        // It was let go at the end of the entrance path.
        EXPECT_NEAR(launched->GetPosition().x, OWNER_X, 0.01f);
        EXPECT_NEAR(launched->GetPosition().y, OWNER_Y - 100.0f, 0.01f);
        EXPECT_FLOAT_EQ(DoorPosition().x, closeWhenDone ? OWNER_X - 16.0f : OWNER_X + 16.0f);
        m_harness.GetWorld().RemoveObject(ship);
    }
}

TEST_F(DockingPortTest, SecondQueuedObjectWaitsInsideUntilTheFirstRideEnds)
{
    const int32_t first = m_harness.Spawn(OBJECT_DUMB, OWNER_X + 300.0f, OWNER_Y);
    const int32_t second = m_harness.Spawn(OBJECT_DUMB, OWNER_X - 300.0f, OWNER_Y);
    m_port->TakeObject(first, false, nullptr, nullptr);
    m_port->TakeObject(second, false, nullptr, nullptr);
    EXPECT_EQ(m_port->GetLaunchQueueLength(), 2u);

    int ridesSeen = 0;
    int32_t rider = NO_OBJECT;
    for (int i = 0; i < 120; ++i)
    {
        Step();
        if (m_port->GetState() == PORT_LAUNCHING && m_port->GetTransit() != rider)
        {
            rider = m_port->GetTransit();
            ++ridesSeen;
        }
        if (rider == first && m_port->GetState() == PORT_LAUNCHING)
        {
            // The second waits hidden at the start of the way out, the owner's middle.
            EXPECT_FALSE(Object(second)->m_visible);
            EXPECT_FLOAT_EQ(Object(second)->GetPosition().x, OWNER_X);
            EXPECT_FLOAT_EQ(Object(second)->GetPosition().y, OWNER_Y);
        }
    }
    EXPECT_EQ(ridesSeen, 2);
    EXPECT_EQ(rider, second);
    EXPECT_EQ(m_port->GetLaunchQueueLength(), 0u);
    EXPECT_TRUE(Object(second)->m_visible);
    EXPECT_NEAR(Object(second)->GetPosition().y, OWNER_Y - 100.0f, 0.01f);
}

TEST_F(DockingPortTest, PushOnExitGivesItsForceAlongTheLastSegment)
{
    struct SCase
    {
        float push;
        float forceY;
        int portMoves;
    };
    for (const SCase& c : {SCase{0.0f, 0.0f, 0}, SCase{200.0f, -200.0f, 1}})
    {
        SCOPED_TRACE(c.push);
        ASSERT_TRUE(Parse(Port(c.push)));
        const int32_t ship = m_harness.Spawn(OBJECT_DUMB, OWNER_X, OWNER_Y);
        m_port->TakeObject(ship, false, nullptr, nullptr);
        while (m_port->GetState() != PORT_LAUNCHING)
            Step();
        // Run the world alone until the ride's last frame, then watch the port's update.
        for (int i = 0; i < 200 && m_port->GetState() == PORT_LAUNCHING; ++i)
        {
            m_harness.RunFrame();
            const int movesBefore = Object(ship)->m_moves;
            m_port->Update(*Owner(), nullptr);
            if (m_port->GetState() != PORT_LAUNCHING)
            {
                EXPECT_EQ(Object(ship)->m_moves - movesBefore, c.portMoves);
                if (c.portMoves)
                {
                    EXPECT_FLOAT_EQ(Object(ship)->m_lastForce.x, 0.0f);
                    EXPECT_FLOAT_EQ(Object(ship)->m_lastForce.y, c.forceY);
                }
            }
        }
        // Mass 10: 200 / 10 / 25 = 0.8 units a tick up.
        EXPECT_FLOAT_EQ(Object(ship)->GetBody().velocity.y, c.forceY / 10.0f / 25.0f);
        m_harness.GetWorld().RemoveObject(ship);
    }
}

TEST_F(DockingPortTest, TakeInCarriesTheObjectInHidesItAndCallsBack)
{
    const int32_t ship = m_harness.Spawn(OBJECT_DUMB, OWNER_X + 20.0f, OWNER_Y - 110.0f);
    int calls = 0;
    m_port->TakeIn(ship, false, &CountCall, &calls);
    EXPECT_TRUE(m_port->Holds(ship));
    EXPECT_TRUE(Object(ship)->m_visible) << "it flies in seen";
    EXPECT_EQ(StepUntilSettled(), (std::vector<int>{PORT_CLOSED, PORT_OPENING, PORT_OPEN, PORT_TAKING_IN, PORT_OPEN}));
    CDockableObject* docked = Object(ship);
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(docked->m_visible);
    EXPECT_TRUE(docked->IsFrozen());
    EXPECT_NEAR(docked->GetPosition().x, OWNER_X, 0.01f);
    EXPECT_NEAR(docked->GetPosition().y, OWNER_Y, 0.01f);
    EXPECT_FALSE(m_port->Holds(ship));
    EXPECT_EQ(m_port->GetEntrancePath()->FindObjectRider(ship), nullptr);
}

TEST_F(DockingPortTest, ObjectsThatGoAwayAreDroppedFromQueuesAndRides)
{
    int calls = 0;
    // Queued, gone before the port has opened: dropped, never called back.
    const int32_t early = m_harness.Spawn(OBJECT_DUMB, OWNER_X, OWNER_Y - 100.0f);
    m_port->TakeIn(early, false, &CountCall, &calls);
    Step(2);
    m_harness.GetWorld().RemoveObject(early);
    EXPECT_EQ(StepUntilSettled().back(), PORT_OPEN);
    EXPECT_EQ(m_port->GetTakeInQueueLength(), 0u);
    EXPECT_EQ(calls, 0);

    // Gone during its ride out: the port is open and free again.
    const int32_t riding = m_harness.Spawn(OBJECT_DUMB, OWNER_X, OWNER_Y);
    m_port->TakeObject(riding, false, nullptr, nullptr);
    Step(3);
    ASSERT_EQ(m_port->GetState(), PORT_LAUNCHING);
    m_harness.GetWorld().RemoveObject(riding);
    Step(2);
    EXPECT_EQ(m_port->GetState(), PORT_OPEN);
    EXPECT_EQ(m_port->GetTransit(), NO_OBJECT);
    EXPECT_FALSE(m_port->Holds(riding));

    // A queued handle never taken twice.
    const int32_t ship = m_harness.Spawn(OBJECT_DUMB, OWNER_X, OWNER_Y - 100.0f);
    m_port->TakeIn(ship, false, nullptr, nullptr);
    m_port->TakeIn(ship, false, nullptr, nullptr);
    EXPECT_EQ(m_port->GetTakeInQueueLength(), 1u);
}

TEST_F(DockingPortTest, CloseAndOpenWaitWhileAnObjectRides)
{
    const int32_t ship = m_harness.Spawn(OBJECT_DUMB, OWNER_X, OWNER_Y);
    m_port->TakeObject(ship, false, nullptr, nullptr);
    while (m_port->GetState() != PORT_LAUNCHING)
        Step();
    m_port->Close();
    EXPECT_EQ(m_port->GetState(), PORT_LAUNCHING);
    m_port->Open();
    EXPECT_EQ(m_port->GetState(), PORT_LAUNCHING);
    EXPECT_EQ(StepUntilSettled().back(), PORT_OPEN);
    m_port->Close();
    EXPECT_EQ(m_port->GetState(), PORT_CLOSING);
    EXPECT_EQ(StepUntilSettled().back(), PORT_CLOSED);
    EXPECT_FLOAT_EQ(DoorPosition().x, OWNER_X - 16.0f);
}

TEST_F(DockingPortTest, StandbyAnimationLoopsWhileOpen)
{
    m_port->Open();
    StepUntilSettled();
    ASSERT_EQ(m_port->GetState(), PORT_OPEN);
    CAnimatedSprite& light = m_port->GetAnimSet().GetSprites().GetSprite(1);
    EXPECT_TRUE(light.IsVisible());
    // The light rides one unit up again and again.
    float lowest = 0.0f, highest = -10000.0f;
    for (int i = 0; i < 12; ++i)
    {
        Step();
        const float y = light.GetPosition().y - OWNER_Y;
        lowest = std::min(lowest, y);
        highest = std::max(highest, y);
    }
    EXPECT_FLOAT_EQ(highest, -30.0f);
    EXPECT_FLOAT_EQ(lowest, -31.0f);
}

TEST_F(DockingPortTest, DestroyWithEffectsHidesTheDoorHalfASecondLaterAndLetsGo)
{
    const std::string bodyText = "BODY\n{\nmass 100\nhealth 100\nbodySprite\n{\nspriteFile dummy\n}\n"
                                 "collision\n{\nnumObj 2\nc0\n{\ntype rootCircle\nradius 60\noffset 0, 0\n}\n"
                                 "c1\n{\ntype circle\nradius 8\noffset 0, 0\ncollisionTag DOOR\n}\n}\n"
                                 "extraSprites\n{\nnumDefs 1\ndef0\n{\nspriteFile dummy\n}\nnumSprites 1\n"
                                 "sprite0\n{\ndefIdx 0\ncollisionTag DOOR\nhealth 10\n}\n}\n}\n";
    std::unique_ptr<CDataTree> bodyNode = ParseBlock(bodyText);
    m_body = std::make_unique<CObjectBody>();
    CDefinitionProblems problems;
    ASSERT_TRUE(m_body->Load(*bodyNode, MakeSpriteOwner(*Owner()), problems)) << problems.Describe("body");
    ASSERT_TRUE(Parse(Port(0.0f, "deathEffect portBlast\n")));
    Owner()->GetBody().velocity = CVector2D(2.0f, 0.0f);

    const int32_t queued = m_harness.Spawn(OBJECT_DUMB, OWNER_X, OWNER_Y);
    m_port->TakeObject(queued, false, nullptr, nullptr);
    Step();
    CRecordedEffects effects;
    const CVector2D door = DoorPosition();
    m_port->Destroy(*Owner(), m_body.get(), true, false);
    EXPECT_EQ(m_port->GetState(), PORT_DESTROYED);
    // What it held is let go at once.
    EXPECT_TRUE(Object(queued)->m_visible);
    EXPECT_FALSE(Object(queued)->IsFrozen());
    EXPECT_EQ(m_port->GetLaunchQueueLength(), 0u);
    // One effect per door sprite, where the door stands, moving with the owner.
    ASSERT_EQ(effects.m_requests.size(), 1u);
    EXPECT_EQ(effects.m_requests[0].name, "portBlast");
    EXPECT_EQ(effects.m_requests[0].owner, m_owner);
    EXPECT_FLOAT_EQ(effects.m_requests[0].position.x, door.x);
    EXPECT_FLOAT_EQ(effects.m_requests[0].position.y, door.y);
    EXPECT_FLOAT_EQ(effects.m_requests[0].velocity.x, 50.0f);

    CAnimatedSprite& sprite = m_port->GetAnimSet().GetSprites().GetSprite(0);
    Owner()->GetBody().velocity = CVector2D();
    Step(12); // 480 ms
    EXPECT_TRUE(sprite.IsVisible());
    EXPECT_EQ(m_body->GetPart(0).m_health, 10);
    Step(1); // 520 ms
    EXPECT_FALSE(sprite.IsVisible());
    EXPECT_EQ(m_body->GetPart(0).m_health, 0) << "the owner's part of the door's tag goes with it";
    // A destroyed port takes nothing.
    m_port->TakeObject(queued, false, nullptr, nullptr);
    EXPECT_EQ(m_port->GetLaunchQueueLength(), 0u);
}

TEST_F(DockingPortTest, DestroyWithoutEffectHidesNowOnlyWhenAsked)
{
    for (bool hideNow : {false, true})
    {
        ASSERT_TRUE(Parse(Port(0.0f)));
        CRecordedEffects effects;
        m_port->Destroy(*Owner(), nullptr, true, hideNow);
        Step(20);
        EXPECT_EQ(m_port->GetAnimSet().GetSprites().GetSprite(0).IsVisible(), !hideNow);
        EXPECT_TRUE(effects.m_requests.empty());
    }
}

TEST_F(DockingPortTest, HitOnPortMatchesTheSpritesTags)
{
    struct SCase
    {
        int tagCount;
        const char* hitTag;
        bool onPort;
    };
    const SCase cases[] = {
        {1, "DOOR", true}, {1, "DOOX", false}, {3, "0000", true}, {3, "2000", true},
        {3, "3000", false}, {3, "D000", false}, {1, "", false},
    };
    for (const SCase& c : cases)
    {
        SCOPED_TRACE(std::string(c.hitTag) + " of " + std::to_string(c.tagCount));
        ASSERT_TRUE(Parse(Port(0.0f, "", c.tagCount)));
        // The owner's chain: a bounding root and a small tagged shape that the shot hits.
        CollisionChain chain(new CCollisionCircle(60.0f, true));
        CollisionChain part(new CCollisionCircle(8.0f, false));
        part->SetOffset(CVector2D(0.0f, -40.0f));
        part->SetTag(PackCollisionTag(c.hitTag));
        chain->Append(std::move(part));
        chain->SetPosition(Owner()->GetPosition());
        CCollisionCircle shot(3.0f, false);
        shot.SetPosition(Owner()->GetPosition() + CVector2D(0.0f, -40.0f));
        Owner()->GetBody().shape = std::move(chain);
        ASSERT_TRUE(Owner()->GetBody().shape->Collide(shot, nullptr, nullptr, nullptr));
        EXPECT_EQ(m_port->IsHitOnPort(*Owner()), c.onPort);
    }
}

TEST_F(DockingPortTest, AnimationIndicesOutsideTheSetAreCutWithWarnings)
{
    // Open animations from 7 (there are 3) and an entrance animation 9: the port opens
    // at once and objects pass at once, at its middle.
    ASSERT_TRUE(Parse(Port(0.0f, "openAnimIdx 7\nobjEntranceAnimIdx 9\n")));
    EXPECT_EQ(m_problems.GetAll().size(), 2u) << m_problems.Describe("port");
    EXPECT_FALSE(m_problems.HasFatal());
    EXPECT_EQ(m_port->GetEntrancePath(), nullptr);
    const int32_t ship = m_harness.Spawn(OBJECT_DUMB, OWNER_X + 300.0f, OWNER_Y);
    m_port->TakeObject(ship, false, nullptr, nullptr);
    // Nothing to animate: it opens and lets the object out in the first two frames.
    Step(2);
    EXPECT_EQ(m_port->GetState(), PORT_OPEN);
    EXPECT_EQ(m_port->GetLaunchQueueLength(), 0u);
    EXPECT_TRUE(Object(ship)->m_visible);
    EXPECT_FALSE(Object(ship)->IsFrozen());
    EXPECT_FLOAT_EQ(Object(ship)->GetPosition().x, OWNER_X);

    // More open animations than there are: cut to the set.
    ASSERT_TRUE(Parse(Port(0.0f, "numOpenAnims 9\n")));
    EXPECT_EQ(m_problems.GetAll().size(), 1u) << m_problems.Describe("port");
}

TEST_F(DockingPortTest, ATurretMountedOnTheDoorRidesWithIt)
{
    // Turret 0 sits 4 right and 2 below the door (port 0's animation 0); the others name
    // a port or an animation that is not there and stay on the owner. The door stands
    // 16 left of the owner and 40 above it closed, and slides to 16 right as the port
    // opens, at 160 a second: 6.4 units a frame.
    std::unique_ptr<CDataTree> node = ParseBlock(DefinitionText(
        "turretGroup { numSpriteDefs 0; numTurrets 3; "
        "turret0 { health 10; bodySpriteIdx -1; turretPos 4, 2; dockingPortMountIdx 0; dockingPortAnimIdx 0 } "
        "turret1 { health 10; bodySpriteIdx -1; turretPos 4, 2; dockingPortMountIdx 1; dockingPortAnimIdx 0 } "
        "turret2 { health 10; bodySpriteIdx -1; turretPos 4, 2; dockingPortMountIdx 0; dockingPortAnimIdx 5 } }"));
    ASSERT_NE(node, nullptr);
    CTurretGroup turrets;
    ASSERT_TRUE(turrets.Parse(*node, *Owner(), m_problems)) << m_problems.Describe("turrets");
    const auto place = [&]() { turrets.Place(*Owner(), m_port.get(), 1); };
    const auto expectAt = [&](float doorX, const char* when) {
        SCOPED_TRACE(when);
        EXPECT_NEAR(turrets.GetTurret(0)->position.x, doorX + 4.0f, 0.01f);
        EXPECT_NEAR(turrets.GetTurret(0)->position.y, OWNER_Y - 40.0f + 2.0f, 0.01f);
        for (int i : {1, 2})
        {
            EXPECT_FLOAT_EQ(turrets.GetTurret(i)->position.x, OWNER_X + 4.0f) << i;
            EXPECT_FLOAT_EQ(turrets.GetTurret(i)->position.y, OWNER_Y + 2.0f) << i;
        }
    };

    Step();
    place();
    expectAt(OWNER_X - 16.0f, "closed");
    m_port->Open();
    // Midway the turret is where the door is, not at either end.
    Step(2);
    place();
    const float midway = DoorPosition().x;
    EXPECT_GT(midway, OWNER_X - 16.0f);
    EXPECT_LT(midway, OWNER_X + 16.0f);
    expectAt(midway, "opening");
    Step(10);
    place();
    ASSERT_EQ(m_port->GetState(), PORT_OPEN);
    expectAt(OWNER_X + 16.0f, "open");
    // The door, and the turret on it, go along with the owner.
    Owner()->SetPosition(CVector2D(OWNER_X + 100.0f, OWNER_Y));
    Step();
    place();
    EXPECT_NEAR(turrets.GetTurret(0)->position.x, OWNER_X + 100.0f + 16.0f + 4.0f, 0.01f);
    EXPECT_FLOAT_EQ(turrets.GetTurret(1)->position.x, OWNER_X + 100.0f + 4.0f);
}
} // namespace
