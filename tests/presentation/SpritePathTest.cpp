#include "core/DefinitionProblems.h"
#include "presentation/AnimatedSprite.h"
#include "presentation/SpriteOwner.h"
#include "presentation/SpritePath.h"
#include "presentation/SpriteRef.h"
#include "tests/presentation/AnimationFixture.h"

#include <vector>

namespace
{
class SpritePathTest : public CAnimationFixture
{
protected:
    void SetUp() override
    {
        CAnimationFixture::SetUp();
        ASSERT_TRUE(m_ref.SetFile(WriteFrames("dot.spr", 1).c_str(), true));
        m_owner.position = CVector2D(1000.0f, 1000.0f);
        m_owner.drawPlane = 5;
    }
    void LoadPath(const std::string& keys)
    {
        m_slot.Load(*ParseFirstBlock("path\n{\n" + keys + "}\n"), m_problems);
    }
    // A shown sprite on plane 5 standing at owner + (x, y).
    void PlaceSprite(CAnimatedSprite& sprite, float x, float y)
    {
        sprite.Init(m_ref, 5);
        sprite.Show();
        sprite.SetPosition(m_owner.position + CVector2D(x, y));
    }
    // The sprite's place relative to the owner.
    CVector2D Relative(const CAnimatedSprite& sprite) const { return sprite.GetPosition() - m_owner.position; }

    CSpriteRef m_ref;
    SSpriteOwner m_owner;
    CDefinitionProblems m_problems;
    CPathSlot m_slot;
};

const char* const kThreeInARow = " lockToPath true\n numWP 3\n wp0 0, 0, 250, 0\n wp1 10, 0, 250, 0\n"
                                 " wp2 20, 0, 250, 0\n";
} // namespace

// A rider moves by the target waypoint's speed a frame; the step left over when it
// arrives is carried into the next frame's step; at the end of a plain path it stops.
TEST_F(SpritePathTest, ArrivalCarriesTheRestOfTheStep)
{
    LoadPath(" startForwards true\n lockToPath true\n numWP 3\n wp0 0, 0, 0, 0\n wp1 100, 0, 300, 0\n"
             " wp2 100, 50, 500, 0\n");
    CAnimatedSprite sprite;
    PlaceSprite(sprite, 7.0f, 7.0f);
    ASSERT_TRUE(m_slot.AddSpriteRider(sprite, m_owner));
    m_slot.Update(m_owner);
    EXPECT_NEAR(Relative(sprite).x, 0.0f, 1e-4f) << "locked to the first waypoint";
    EXPECT_NEAR(Relative(sprite).y, 0.0f, 1e-4f);
    const float expected[][2] = {{12, 0},  {24, 0},  {36, 0},  {48, 0},   {60, 0},   {72, 0},  {84, 0},
                                 {96, 0},  {100, 0}, {100, 28}, {100, 48}, {100, 50}, {100, 50}};
    for (size_t frame = 0; frame < sizeof(expected) / sizeof(expected[0]); ++frame)
    {
        EXPECT_TRUE(m_slot.IsRunning()) << frame;
        m_slot.Update(m_owner);
        EXPECT_NEAR(Relative(sprite).x, expected[frame][0], 1e-3f) << "frame " << frame;
        EXPECT_NEAR(Relative(sprite).y, expected[frame][1], 1e-3f) << "frame " << frame;
    }
    EXPECT_FALSE(m_slot.IsRunning());
    EXPECT_EQ(m_slot.FindRider(sprite)->m_waypoint, 2);
}

// Three waypoints 10 apart, reached one a frame: what happens past either end.
TEST_F(SpritePathTest, EndsStopLoopOrTurnBack)
{
    const struct
    {
        const char* keys;
        float x[7];
    } cases[] = {
        {" startForwards true\n", {0, 10, 20, 20, 20, 20, 20}},
        {" startForwards true\n loop true\n", {0, 10, 20, 0, 10, 20, 0}},
        {" startForwards true\n reverse true\n", {0, 10, 20, 10, 0, 10, 20}},
        {" startForwards true\n reverse true\n loop true\n", {0, 10, 20, 10, 0, 10, 20}},
        {"", {20, 10, 0, 0, 0, 0, 0}},
        {" loop true\n", {20, 10, 0, 20, 10, 0, 20}},
        {" reverse true\n", {20, 10, 0, 10, 20, 10, 0}},
    };
    for (const auto& c : cases)
    {
        CPathSlot slot;
        slot.Load(*ParseFirstBlock(std::string("path\n{\n") + kThreeInARow + c.keys + "}\n"), m_problems);
        CAnimatedSprite sprite;
        PlaceSprite(sprite, 0.0f, 0.0f);
        ASSERT_TRUE(slot.AddSpriteRider(sprite, m_owner));
        for (size_t frame = 0; frame < 7; ++frame)
        {
            slot.Update(m_owner);
            EXPECT_NEAR(Relative(sprite).x, c.x[frame], 1e-4f) << c.keys << "frame " << frame;
        }
    }
    EXPECT_TRUE(m_problems.IsEmpty());
}

// A rider that is not locked travels to the start waypoint at its speed (at least one
// unit a frame, never past it) and is on the path once nearer than its arrival distance.
TEST_F(SpritePathTest, JoiningTravelsToTheStart)
{
    const struct
    {
        const char* start; // the start waypoint
        float fromY;
        int framesToJoin;
        float joinedY;
    } cases[] = {
        {"0, 0, 50, 5", 100.0f, 48, 4.0f}, // 2 units a frame until within 5
        {"0, 0, 0, 0", 10.0f, 10, 0.0f},   // speed 0 still moves 1 unit a frame
        {"0, 0, 1000, 0", 30.0f, 1, 0.0f}, // 40 a frame, but only the 30 that are left
        {"0, 0, 10, 50", 30.0f, 1, 30.0f}, // already near enough: joins where it is
    };
    for (const auto& c : cases)
    {
        CPathSlot slot;
        slot.Load(*ParseFirstBlock(std::string("path\n{\n startForwards true\n numWP 2\n wp0 ") + c.start +
                                   "\n wp1 0, -100, 25, 0\n}\n"),
                  m_problems);
        CAnimatedSprite sprite;
        PlaceSprite(sprite, 0.0f, c.fromY);
        ASSERT_TRUE(slot.AddSpriteRider(sprite, m_owner));
        for (int frame = 1; frame < c.framesToJoin; ++frame)
        {
            slot.Update(m_owner);
            ASSERT_TRUE(slot.FindRider(sprite)->m_joining) << c.start << " frame " << frame;
        }
        slot.Update(m_owner);
        EXPECT_FALSE(slot.FindRider(sprite)->m_joining) << c.start;
        EXPECT_NEAR(Relative(sprite).y, c.joinedY, 1e-3f) << c.start;
        EXPECT_EQ(slot.FindRider(sprite)->m_waypoint, 0);
        slot.Update(m_owner);
        EXPECT_NEAR(Relative(sprite).y, c.joinedY - 1.0f, 1e-3f) << "then along the path at wp1's speed";
    }
}

// Positions on a relative path turn with the owner; every path position is shown at
// the owner's scale.
TEST_F(SpritePathTest, RelativePathsTurnAndScaleWithTheOwner)
{
    LoadPath(" relative true\n lockToPath true\n numWP 1\n wp0 10, 0, 0, 0\n");
    CAnimatedSprite sprite;
    PlaceSprite(sprite, 0.0f, 0.0f);
    ASSERT_TRUE(m_slot.AddSpriteRider(sprite, m_owner));
    m_owner.scaleX = m_owner.scaleY = 2.0f;
    const struct
    {
        float angle, x, y;
    } cases[] = {{0.0f, 20.0f, 0.0f}, {90.0f, 0.0f, 20.0f}, {180.0f, -20.0f, 0.0f}, {270.0f, 0.0f, -20.0f}};
    for (const auto& c : cases)
    {
        m_owner.angle = c.angle;
        m_slot.Update(m_owner);
        m_slot.Update(m_owner);
        EXPECT_NEAR(Relative(sprite).x, c.x, 1e-3f) << c.angle;
        EXPECT_NEAR(Relative(sprite).y, c.y, 1e-3f) << c.angle;
    }
    EXPECT_FALSE(m_slot.IsRunning()) << "one waypoint holds its riders";
}

// Arriving at a waypoint with a plane puts the rider on that plane plus the owner's
// (kept within the planes); a waypoint without one leaves the plane as it is.
TEST_F(SpritePathTest, WaypointPlanesMoveRiders)
{
    LoadPath(std::string(kThreeInARow) + " startForwards true\n wp0DrawPlane 30\n wp1DrawPlane 3\n");
    m_objects.m_objects[77].position = m_owner.position;
    CAnimatedSprite sprite;
    PlaceSprite(sprite, 0.0f, 0.0f);
    ASSERT_TRUE(m_slot.AddSpriteRider(sprite, m_owner));
    ASSERT_TRUE(m_slot.AddObjectRider(77, m_owner));
    m_slot.Update(m_owner); // joined at wp0: joining is no arrival
    EXPECT_EQ(sprite.GetInstance()->m_plane, 5);
    m_slot.Update(m_owner); // wp1
    EXPECT_EQ(sprite.GetInstance()->m_plane, 8);
    EXPECT_EQ(m_objects.m_objects[77].plane, 8);
    m_slot.Update(m_owner); // wp2: no plane
    EXPECT_EQ(sprite.GetInstance()->m_plane, 8);

    CPathSlot looping;
    looping.Load(*ParseFirstBlock(std::string("p\n{\n") + kThreeInARow + " wp1DrawPlane 30\n}\n"), m_problems);
    CAnimatedSprite other;
    PlaceSprite(other, 0.0f, 0.0f);
    ASSERT_TRUE(looping.AddSpriteRider(other, m_owner));
    looping.Update(m_owner); // joined at wp2 (starting backwards)
    looping.Update(m_owner); // wp1
    EXPECT_EQ(other.GetInstance()->m_plane, 20);
}

// Riders are world objects held by handle or sprites: five at most, none on a path
// without waypoints, and an object that went away is dropped.
TEST_F(SpritePathTest, RidersAreCheckedAndDroppedWhenTheyVanish)
{
    LoadPath(" lockToPath true\n numWP 1\n wp0 5, 5, 0, 0\n");
    CAnimatedSprite sprites[6];
    for (int i = 0; i < 6; ++i)
    {
        PlaceSprite(sprites[i], 0.0f, 0.0f);
        EXPECT_EQ(m_slot.AddSpriteRider(sprites[i], m_owner), i < 5) << i;
    }
    EXPECT_FALSE(m_slot.AddSpriteRider(sprites[0], m_owner)) << "rides already";
    m_slot.ReleaseSpriteRider(sprites[4]);
    m_objects.m_objects[9].position = CVector2D(0.0f, 0.0f);
    EXPECT_FALSE(m_slot.AddObjectRider(8, m_owner)) << "no such object";
    ASSERT_TRUE(m_slot.AddObjectRider(9, m_owner));
    m_slot.Update(m_owner);
    EXPECT_EQ(m_objects.m_objects[9].position.x, 1005.0f);
    EXPECT_EQ(m_objects.m_objects[9].position.y, 1005.0f);
    m_objects.m_objects.erase(9);
    m_slot.Update(m_owner);
    EXPECT_EQ(m_slot.FindObjectRider(9), nullptr);
    EXPECT_NE(m_slot.FindRider(sprites[0]), nullptr);
    m_slot.ReleaseAll();
    EXPECT_EQ(m_slot.FindRider(sprites[0]), nullptr);

    CPathSlot empty;
    empty.Load(*ParseFirstBlock("path\n{\n numWP 0\n}\n"), m_problems);
    EXPECT_FALSE(empty.AddSpriteRider(sprites[5], m_owner)) << "a path without waypoints carries nothing";
    empty.Update(m_owner);
    EXPECT_TRUE(m_problems.IsEmpty());
    CPathSlot shorter;
    shorter.Load(*ParseFirstBlock("path\n{\n numWP 3\n wp0 1, 1, 1, 1\n}\n"), m_problems);
    EXPECT_EQ(shorter.GetPath().GetWaypointCount(), 1u);
    ASSERT_EQ(m_problems.GetAll().size(), 1u);
    EXPECT_NE(m_problems.GetAll()[0].text.find("\"wp1\""), std::string::npos);
    EXPECT_FALSE(m_problems.HasFatal());
}

// A reversed path takes riders the other way round: from its far end back to the
// start; a parked rider stands still where riders in the current sense start.
TEST_F(SpritePathTest, ReversedSenseAndParkedRiders)
{
    const struct
    {
        bool startForwards;
        bool reversed;
        float x[4];
    } cases[] = {
        {true, false, {0, 10, 20, 20}},
        {true, true, {20, 10, 0, 0}},
        {false, false, {20, 10, 0, 0}},
        {false, true, {0, 10, 20, 20}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(std::string(c.startForwards ? "forwards" : "backwards") + (c.reversed ? ", reversed" : ""));
        LoadPath(std::string(kThreeInARow) + (c.startForwards ? " startForwards true\n" : ""));
        m_slot.SetReversed(c.reversed);
        EXPECT_FLOAT_EQ(m_slot.GetStartPoint(0.0f).x, c.x[0]);
        CAnimatedSprite sprite;
        PlaceSprite(sprite, 50.0f, 50.0f);
        ASSERT_TRUE(m_slot.AddSpriteRider(sprite, m_owner));
        for (float x : c.x)
        {
            m_slot.Update(m_owner);
            EXPECT_NEAR(Relative(sprite).x, x, 1e-4f);
        }
        EXPECT_FALSE(m_slot.IsRunning());

        // Parked: at the start, not running, and it stays there while the owner moves.
        CAnimatedSprite parked;
        PlaceSprite(parked, 50.0f, 50.0f);
        ASSERT_TRUE(m_slot.ParkSpriteRider(parked, m_owner));
        EXPECT_NEAR(Relative(parked).x, c.x[0], 1e-4f);
        EXPECT_NEAR(Relative(parked).y, 0.0f, 1e-4f);
        EXPECT_FALSE(m_slot.IsRunning());
        m_owner.position += CVector2D(30.0f, 0.0f);
        m_slot.Update(m_owner);
        EXPECT_NEAR(Relative(parked).x, c.x[0], 1e-4f);
        m_owner.position -= CVector2D(30.0f, 0.0f);
        m_slot.ReleaseAll();
        m_slot.SetReversed(false);
    }
}
