#include "core/DefinitionProblems.h"
#include "presentation/CollisionShape.h"
#include "presentation/CollisionTag.h"
#include "presentation/SpriteAnimSet.h"
#include "presentation/SpriteOwner.h"
#include "tests/presentation/AnimationFixture.h"

namespace
{
class SpriteAnimSetTest : public CAnimationFixture
{
protected:
    void SetUp() override
    {
        CAnimationFixture::SetUp();
        m_dot = WriteFrames("dot.spr", 1);
        m_owner.position = CVector2D(500.0f, 400.0f);
        m_owner.scaleX = m_owner.scaleY = 1.0f;
        m_owner.drawPlane = 6;
    }
    // A set of three sprites of one definition and one sprite of a "dummy" one, a
    // path 100 units long at 10 units a frame, and the given tracks.
    bool LoadSet(const std::string& tracks, int trackCount, const std::string& sprites = "")
    {
        const std::string text = "anims\n{\n sprites\n {\n  numSpriteDefs 2\n  def0\n  {\n   spriteFile " + m_dot +
                                 "\n  }\n  def1\n  {\n   spriteFile dummy\n  }\n  numSprites 4\n"
                                 "  sinst0\n  {\n   defIdx 0\n   numInsts 3\n" +
                                 sprites +
                                 "  }\n  sinst1\n  {\n   defIdx 1\n  }\n }\n numPaths 1\n path0\n {\n"
                                 "  startForwards true\n  lockToPath true\n  numWP 2\n  wp0 0, 0, 0, 0\n"
                                 "  wp1 100, 0, 250, 0\n }\n numAnims " +
                                 std::to_string(trackCount) + "\n" + tracks + "}\n";
        return m_set.Load(*ParseFirstBlock(text), m_owner, m_problems);
    }
    CAnimatedSprite& Sprite(size_t index) { return m_set.GetSprites().GetSprite(index); }
    uint32_t Alpha(size_t index) { return Sprite(index).GetInstance()->m_colour >> 24; }
    void Update(int frames)
    {
        for (int i = 0; i < frames; ++i)
            m_set.Update(m_owner);
    }

    std::string m_dot;
    SSpriteOwner m_owner;
    CDefinitionProblems m_problems;
    CSpriteAnimSet m_set;
};

// Keys fading in from black over two seconds, growing from 1 to 3 wide.
const char* const kFadeKeys = "  keys\n  {\n   numKeys 2\n   time0 0\n   rgb0 0, 0, 0\n   alpha0 0\n"
                              "   scale0 1, 1\n   time1 2\n   rgb1 200, 100, 50\n   alpha1 200\n   scale1 3, 1\n";
} // namespace

TEST_F(SpriteAnimSetTest, SpritesComeFromTheirBlocksHiddenAtTheOwner)
{
    m_owner.scaleX = 0.5f;
    ASSERT_TRUE(LoadSet("", 0));
    EXPECT_TRUE(m_problems.IsEmpty()) << m_problems.Describe("set");
    ASSERT_EQ(m_set.GetSprites().GetSpriteCount(), 4u);
    for (size_t i = 0; i < 3; ++i)
    {
        const SSpriteInstance* instance = Sprite(i).GetInstance();
        ASSERT_NE(instance, nullptr) << "numInsts 3 makes three sprites of one definition";
        EXPECT_FALSE(instance->IsVisible());
        EXPECT_EQ(instance->m_plane, 6);
        EXPECT_EQ(instance->m_x, 500.0f);
        EXPECT_EQ(instance->m_scaleX, 0.5f);
        EXPECT_EQ(instance->m_file, Sprite(0).GetInstance()->m_file);
    }
    EXPECT_EQ(Sprite(3).GetInstance(), nullptr);
    EXPECT_EQ(m_bank->GetLiveInstanceCount(), 3);
    m_set.Destroy();
    EXPECT_EQ(m_bank->GetLiveInstanceCount(), 0);
}

// A start delay of 1 s keeps the sprites hidden for 25 frames of 40 ms.
TEST_F(SpriteAnimSetTest, StartDelayShowsSpritesAfterTwentyFiveFrames)
{
    ASSERT_TRUE(LoadSet(" anim0\n {\n  numSprites 3\n  offsetAnimStartTime 1\n }\n", 1));
    Update(40);
    EXPECT_FALSE(Sprite(0).IsVisible()) << "a track does nothing until it is started";
    m_set.RestartTrack(0);
    Update(25);
    EXPECT_FALSE(Sprite(0).IsVisible());
    EXPECT_TRUE(m_set.GetTrack(0).IsStartPending());
    Update(1);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_TRUE(Sprite(i).IsVisible()) << i;
    EXPECT_EQ(m_set.GetTrack(0).GetElapsedMs(), 40u) << "the delay is taken off once";
    m_set.StopTrack(0, false);
    EXPECT_FALSE(Sprite(1).IsVisible());
    m_set.RestartTrack(-1);
    Update(25);
    EXPECT_FALSE(Sprite(1).IsVisible()) << "a restart waits out the delay again";
    Update(1);
    EXPECT_TRUE(Sprite(1).IsVisible());
}

// Three sprites 0.5 s apart through the same keys, one second in; reversed, the last
// sprite leads.
TEST_F(SpriteAnimSetTest, StaggeredSpritesRunApartThroughTheKeys)
{
    for (bool reverse : {false, true})
    {
        ASSERT_TRUE(LoadSet(std::string(" anim0\n {\n  numSprites 3\n  reverse ") + (reverse ? "true" : "false") +
                                "\n" + kFadeKeys + "   offsetStartTime 0.5\n  }\n }\n",
                            1));
        m_owner.scaleX = m_owner.scaleY = 2.0f;
        m_set.RestartTrack(0);
        Update(25);
        const uint32_t alphas[3] = {100, 150, 200}; // t = 1.0, 1.5 and 2.0 (past the last key)
        for (size_t k = 0; k < 3; ++k)
        {
            const size_t index = reverse ? 2 - k : k;
            EXPECT_EQ(Alpha(index), alphas[k]) << reverse << " sprite " << index;
        }
        const size_t leader = reverse ? 2 : 0;
        EXPECT_EQ(Sprite(leader).GetInstance()->m_colour, 0x64643219u) << "(100, 100, 50, 25) at t = 1";
        EXPECT_EQ(Sprite(leader).GetInstance()->m_scaleX, 4.0f) << "key scale 2 times the owner's 2";
        EXPECT_EQ(Sprite(leader).GetInstance()->m_scaleY, 2.0f);
        EXPECT_EQ(Sprite(leader).GetInstance()->m_x, 500.0f);
        m_owner.scaleX = m_owner.scaleY = 1.0f;
    }
}

// Keys bracket the time and are interpolated; of equal times the later key holds;
// before the first and after the last key those keys hold. More than five keys: the
// first five.
TEST_F(SpriteAnimSetTest, KeysInterpolateAndEqualTimesTakeTheLaterKey)
{
    ASSERT_TRUE(LoadSet(" anim0\n {\n  numSprites 1\n  keys\n  {\n   numKeys 6\n   time0 0.5\n   alpha0 0\n"
                        "   time1 1\n   alpha1 100\n   time2 1\n   alpha2 200\n   time3 2\n   alpha3 250\n"
                        "   time4 3\n   alpha4 10\n   time5 4\n   alpha5 99\n  }\n }\n",
                        1));
    const CKeyTrack& track = m_set.GetTrack(0);
    EXPECT_EQ(track.GetKeyCount(), 5u);
    ASSERT_EQ(m_problems.GetAll().size(), 1u);
    EXPECT_FALSE(m_problems.HasFatal());
    const struct
    {
        float time, alpha;
    } cases[] = {{0.0f, 0.0f},   {0.75f, 50.0f}, {0.999f, 99.8f}, {1.0f, 200.0f},
                 {1.5f, 225.0f}, {2.5f, 130.0f}, {3.0f, 10.0f},   {9.0f, 10.0f}};
    for (const auto& c : cases)
        EXPECT_NEAR(track.Sample(c.time).m_alpha, c.alpha, 1e-3f) << c.time;
    EXPECT_EQ(track.Sample(1.5f).m_red, 255.0f) << "colours not given stay white";
    EXPECT_EQ(track.Sample(1.5f).m_scaleX, 1.0f);
}

// A pulsing track wraps by its last key's time; one whose last key is at 0 does not.
TEST_F(SpriteAnimSetTest, PulsingTracksWrapByTheLastKey)
{
    ASSERT_TRUE(LoadSet(" anim0\n {\n  numSprites 1\n  keys\n  {\n   pulseKeys true\n   numKeys 2\n   time0 0\n"
                        "   alpha0 0\n   time1 1\n   alpha1 250\n  }\n }\n anim1\n {\n  firstSpriteId 1\n"
                        "  numSprites 1\n  keys\n  {\n   pulseKeys true\n   numKeys 1\n   time0 0\n   alpha0 80\n"
                        "  }\n }\n",
                        2));
    m_set.RestartTrack(-1);
    Update(25);
    EXPECT_EQ(Alpha(0), 250u);
    Update(5); // 1.2 s: 0.2 s into the next pulse
    EXPECT_EQ(m_set.GetTrack(0).GetElapsedMs(), 200u);
    EXPECT_EQ(Alpha(0), 50u);
    EXPECT_EQ(Alpha(1), 80u);
    EXPECT_EQ(m_set.GetTrack(1).GetElapsedMs(), 1200u);
}

// A track with a path makes riders of its sprites and of its world objects when it
// starts; stopping it releases them.
TEST_F(SpriteAnimSetTest, TracksStartRidersOnTheirPath)
{
    ASSERT_TRUE(LoadSet(" anim0\n {\n  numSprites 2\n  firstGameObjId 1\n  numGameObjs 2\n  pathId 0\n }\n", 1));
    m_objects.m_objects[42].position = CVector2D(0.0f, 0.0f);
    m_set.SetObject(1, 42);
    m_set.RestartTrack(0);
    Update(1);
    CPathSlot& path = m_set.GetPath(0);
    ASSERT_NE(path.FindRider(Sprite(0)), nullptr);
    ASSERT_NE(path.FindRider(Sprite(1)), nullptr);
    EXPECT_EQ(path.FindRider(Sprite(2)), nullptr);
    ASSERT_NE(path.FindObjectRider(42), nullptr);
    EXPECT_TRUE(m_objects.m_objects[42].visible);
    EXPECT_TRUE(Sprite(1).IsVisible());
    Update(3);
    EXPECT_NEAR(Sprite(1).GetPosition().x, 530.0f, 1e-3f) << "10 units a frame after joining";
    EXPECT_NEAR(m_objects.m_objects[42].position.x, 530.0f, 1e-3f);
    m_set.StopTrack(0, true);
    EXPECT_EQ(path.FindRider(Sprite(0)), nullptr);
    EXPECT_EQ(path.FindObjectRider(42), nullptr);
    EXPECT_TRUE(Sprite(0).IsVisible());
    Update(1);
    EXPECT_EQ(Sprite(0).GetPosition().x, 500.0f) << "back at the owner once off the path";
}

// Tagged sprites move the owner's shapes of their tag to where they are; a sprite
// that stands for n shapes moves the tags "0xxx" to "n-1xxx".
TEST_F(SpriteAnimSetTest, TaggedSpritesMoveTheOwnersShapes)
{
    ASSERT_TRUE(LoadSet(" anim0\n {\n  numSprites 3\n }\n", 1,
                        "   relativePos true\n   pos 10, 5\n   collisionTag xHAT\n   numCollisionTags 3\n"));
    CollisionChain chain(new CCollisionCircle(50.0f, true));
    const char* tags[] = {"0HAT", "1HAT", "2HAT", "3HAT", "DOOR"};
    for (const char* tag : tags)
    {
        CollisionChain shape(new CCollisionCircle(5.0f, false));
        shape->SetTag(PackCollisionTag(tag));
        chain->Append(std::move(shape));
    }
    m_owner.shapes = chain.get();
    m_owner.scaleX = 2.0f;
    m_set.RestartTrack(0);
    Update(1);
    for (const char* tag : tags)
    {
        const CVector2D offset = chain->FindByTag(tag, 0)->GetPartOffset();
        const bool moved = tag[0] >= '0' && tag[0] <= '2';
        EXPECT_EQ(offset.x, moved ? 20.0f : 0.0f) << tag;
        EXPECT_EQ(offset.y, moved ? 5.0f : 0.0f) << tag;
    }
}

// Ranges outside the set are cut to what exists with a warning; counts outside the
// tables and missing numbered blocks are fatal.
TEST_F(SpriteAnimSetTest, LoadChecksIndicesAndCounts)
{
    ASSERT_TRUE(LoadSet(" anim0\n {\n  firstSpriteId 2\n  numSprites 9\n  pathId 3\n  firstGameObjId 8\n"
                        "  numGameObjs 1\n }\n anim1\n {\n  firstSpriteId -1\n  numSprites 1\n  pathId 0\n }\n",
                        2));
    EXPECT_EQ(m_set.GetTrack(0).GetFirstSprite(), 2);
    EXPECT_EQ(m_set.GetTrack(0).GetSpriteCount(), 2);
    EXPECT_EQ(m_set.GetTrack(0).GetPathId(), -1);
    EXPECT_EQ(m_set.GetTrack(1).GetSpriteCount(), 0);
    EXPECT_EQ(m_set.GetTrack(1).GetPathId(), 0);
    EXPECT_EQ(m_problems.GetAll().size(), 4u) << m_problems.Describe("set");
    EXPECT_FALSE(m_problems.HasFatal());

    const struct
    {
        const char* text;
        const char* named;
    } fatal[] = {
        {"a\n{\n numPaths 17\n}\n", "numPaths"},
        {"a\n{\n numAnims -1\n}\n", "numAnims"},
        {"a\n{\n numPaths 2\n path0\n {\n }\n}\n", "path1"},
        {"a\n{\n numAnims 1\n}\n", "anim0"},
        {"a\n{\n sprites\n {\n  numSpriteDefs 65\n }\n}\n", "numSpriteDefs"},
        {"a\n{\n sprites\n {\n  numSprites 1\n  numSpriteDefs 1\n }\n}\n", "def0"},
    };
    for (const auto& c : fatal)
    {
        CDefinitionProblems problems;
        CSpriteAnimSet set;
        EXPECT_FALSE(set.Load(*ParseFirstBlock(c.text), m_owner, problems)) << c.named;
        ASSERT_TRUE(problems.HasFatal()) << c.named;
        EXPECT_NE(problems.Describe("a").find(c.named), std::string::npos) << problems.Describe("a");
    }

    CDefinitionProblems problems;
    CSpriteAnimSet set;
    ASSERT_TRUE(set.Load(*ParseFirstBlock("a\n{\n sprites\n {\n  numSprites 3\n  sinst0\n  {\n   defIdx 4\n  }\n"
                                          " }\n}\n"),
                         m_owner, problems));
    EXPECT_EQ(set.GetSprites().GetSpriteCount(), 3u);
    EXPECT_EQ(set.GetSprites().GetSprite(0).GetInstance(), nullptr);
    EXPECT_EQ(problems.GetAll().size(), 2u) << "the bad index, and the blocks running out";
    set.Update(m_owner);
}
