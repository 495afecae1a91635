#include "core/DefinitionProblems.h"
#include "core/FastMath.h"
#include "presentation/CollisionTag.h"
#include "presentation/ObjectBody.h"
#include "presentation/SpriteOwner.h"
#include "tests/presentation/AnimationFixture.h"

namespace
{
// A body of four tagged shapes (LEFT, two RGHT, and one without a tag) and five
// parts: LEFT (health 20, effect "POP"; its shape goes where the part is), two RGHT
// parts and an invulnerable one between them, and an untagged light.
const char* const kBody = R"(body
{
 mass 40
 health 100
 inertialDamping 0.98
 velocitylimit 120
 bodySprite
 {
  spriteFile %TURN%
  angle 0
  playRate 10
 }
 collision
 {
  numObj 5
  s0
  {
   type rootCircle
   radius 60
   offset 0, 0
  }
  s1
  {
   type circle
   radius 8
   offset 0, 0
   collisionTag LEFT
  }
  s2
  {
   type circle
   radius 8
   offset 20, 0
   collisionTag RGHT
  }
  s3
  {
   type circle
   radius 8
   offset 20, 30
   collisionTag RGHT
  }
  s4
  {
   type circle
   radius 8
   offset 0, -30
  }
 }
 extraSprites
 {
  numDefs 1
  def0
  {
   spriteFile %DOT%
  }
  numSprites 5
  sprite0
  {
   defIdx 0
   drawPlane 1
   relativePos true
   pos -20, 0
   collisionTag LEFT
   health 20
   deathEffect POP
   moveCollisionObj true
  }
  sprite1
  {
   defIdx 0
   drawPlane 2
   relativePos true
   pos 20, 0
   collisionTag RGHT
   health 30
  }
  sprite2
  {
   defIdx 0
   collisionTag RGHT
   health 5
   invulnerable true
  }
  sprite3
  {
   defIdx 0
   collisionTag RGHT
   health 10
   damageOnly true
  }
  sprite4
  {
   defIdx 0
   health 1
   playRate 25
   playForwards true
  }
 }
}
)";

class ObjectBodyTest : public CAnimationFixture
{
protected:
    void SetUp() override
    {
        CAnimationFixture::SetUp();
        m_turn = WriteFrames("turn.spr", 8);
        m_dot = WriteFrames("dot.spr", 2);
        m_owner.handle = 0x0100002A;
        m_owner.position = CVector2D(300.0f, 200.0f);
        m_owner.velocity = CVector2D(1.0f, -2.0f);
        m_owner.drawPlane = 8;
    }
    std::string Text(std::string text) const
    {
        for (size_t at = text.find("%TURN%"); at != std::string::npos; at = text.find("%TURN%"))
            text.replace(at, 6, m_turn);
        for (size_t at = text.find("%DOT%"); at != std::string::npos; at = text.find("%DOT%"))
            text.replace(at, 5, m_dot);
        return text;
    }
    bool LoadBody(const std::string& text)
    {
        return m_body.Load(*ParseFirstBlock(Text(text)), m_owner, m_problems);
    }
    // A small shot at owner + (x, y) tested against the body, as the world's collision
    // pass does; true on contact.
    bool Shoot(float x, float y)
    {
        CCollisionCircle shot(2.0f, true);
        shot.SetPosition(m_owner.position + CVector2D(x, y));
        m_body.GetShapes()->SetPosition(m_owner.position);
        return shot.Collide(*m_body.GetShapes(), nullptr, nullptr, nullptr);
    }
    bool IsFlashing(size_t part) { return (m_body.GetPart(part).m_sprite.GetInstance()->m_flags & SPRITE_FLASH) != 0; }
    CCollisionShape* Shape(int index)
    {
        CCollisionShape* shape = m_body.GetShapes();
        for (int i = 0; i < index; ++i)
            shape = shape->GetNext();
        return shape;
    }

    std::string m_turn;
    std::string m_dot;
    SSpriteOwner m_owner;
    CDefinitionProblems m_problems;
    CObjectBody m_body;
};
} // namespace

TEST_F(ObjectBodyTest, LoadReadsConstantsSpriteShapesAndParts)
{
    ASSERT_TRUE(LoadBody(kBody)) << m_problems.Describe("body");
    EXPECT_TRUE(m_problems.IsEmpty()) << m_problems.Describe("body");
    EXPECT_EQ(m_body.GetMass(), 40);
    EXPECT_EQ(m_body.GetHealth(), 100);
    EXPECT_FLOAT_EQ(m_body.GetInertialDamping(), 0.98f);
    EXPECT_FLOAT_EQ(m_body.GetVelocityLimit(), 120.0f);
    EXPECT_EQ(m_body.GetShapes()->CountShapes(), 5);
    const SSpriteInstance* body = m_body.GetSprite().GetInstance();
    ASSERT_NE(body, nullptr);
    EXPECT_TRUE(body->IsVisible());
    EXPECT_EQ(body->m_plane, 8);
    EXPECT_EQ(body->m_frame, 0u) << "an animated body starts at frame 0";
    ASSERT_EQ(m_body.GetPartCount(), 5u);
    const struct
    {
        int plane;
        const char* tag;
        int32_t health;
        const char* effect;
    } parts[] = {{9, "LEFT", 20, "POP"}, {10, "RGHT", 30, ""}, {8, "RGHT", 5, ""}, {8, "RGHT", 10, ""}, {8, "", 1, ""}};
    for (size_t i = 0; i < 5; ++i)
    {
        const SBodyPart& part = m_body.GetPart(i);
        ASSERT_NE(part.m_sprite.GetInstance(), nullptr) << i;
        EXPECT_EQ(part.m_sprite.GetInstance()->m_plane, parts[i].plane) << i;
        EXPECT_TRUE(part.m_sprite.IsVisible()) << i;
        EXPECT_EQ(part.m_tag, PackCollisionTag(parts[i].tag)) << i;
        EXPECT_EQ(part.m_health, parts[i].health) << i;
        EXPECT_EQ(part.m_deathEffect, parts[i].effect) << i;
    }
    EXPECT_TRUE(m_body.GetPart(2).m_invulnerable);
    EXPECT_TRUE(m_body.GetPart(3).m_damageOnly);
    EXPECT_TRUE(m_body.GetPart(4).m_animated);
}

// A hit of 30 on a part of health 20 destroys it: it is hidden, its death effect
// starts at its place with the owner's velocity per second, and its shapes stop
// colliding.
TEST_F(ObjectBodyTest, DestroyedPartStartsItsEffectAndStopsColliding)
{
    ASSERT_TRUE(LoadBody(kBody));
    m_body.Update(m_owner);
    ASSERT_TRUE(Shoot(-20.0f, 0.0f));
    int index = -1;
    ASSERT_TRUE(m_body.HitPart(m_owner, 30, index));
    EXPECT_EQ(index, 0);
    const SBodyPart& part = m_body.GetPart(0);
    EXPECT_EQ(part.m_health, 0);
    EXPECT_FALSE(part.m_sprite.IsVisible());
    ASSERT_EQ(m_effects.m_requests.size(), 1u);
    const CRecordedEffects::SRequest& effect = m_effects.m_requests[0];
    EXPECT_EQ(effect.name, "POP");
    EXPECT_EQ(effect.owner, 0x0100002A);
    EXPECT_EQ(effect.position.x, 280.0f);
    EXPECT_EQ(effect.position.y, 200.0f);
    EXPECT_EQ(effect.velocity.x, 25.0f);
    EXPECT_EQ(effect.velocity.y, -50.0f);
    EXPECT_TRUE(Shape(1)->IsDisabled());
    EXPECT_FALSE(Shoot(-20.0f, 0.0f)) << "the destroyed part's shape no longer collides";
    EXPECT_FALSE(m_body.AreTaggedPartsDestroyed());
}

// A hit walks the parts of the shape's tag in order: each takes the damage, until an
// invulnerable one reports the hit and stops the walk without damage. A damage-only
// part keeps its shapes when destroyed.
TEST_F(ObjectBodyTest, InvulnerablePartStopsTheWalk)
{
    ASSERT_TRUE(LoadBody(kBody));
    m_body.Update(m_owner);
    ASSERT_TRUE(Shoot(20.0f, 30.0f));
    int index = -1;
    ASSERT_TRUE(m_body.HitPart(m_owner, 12, index));
    EXPECT_EQ(index, 2);
    EXPECT_EQ(m_body.GetPart(1).m_health, 18);
    EXPECT_EQ(m_body.GetPart(2).m_health, 5);
    EXPECT_EQ(m_body.GetPart(3).m_health, 10) << "behind the invulnerable part";

    m_body.GetPart(2).m_invulnerable = false;
    m_clock.m_now += 100;
    ASSERT_TRUE(Shoot(20.0f, 30.0f));
    ASSERT_TRUE(m_body.HitPart(m_owner, 40, index));
    EXPECT_EQ(index, 3);
    for (size_t i = 1; i < 4; ++i)
        EXPECT_EQ(m_body.GetPart(i).m_health, 0) << i;
    EXPECT_TRUE(m_effects.m_requests.empty()) << "no part of this tag has an effect";
    EXPECT_TRUE(Shape(2)->IsDisabled());
    EXPECT_TRUE(Shape(3)->IsDisabled()) << "every shape of the tag";
    EXPECT_FALSE(m_body.AreTaggedPartsDestroyed());
    ASSERT_FALSE(Shoot(20.0f, 0.0f));
    m_body.DestroyPart(m_owner, 0);
    EXPECT_TRUE(m_body.AreTaggedPartsDestroyed());
    EXPECT_FALSE(Shape(4)->IsDisabled());
}

TEST_F(ObjectBodyTest, DamageOnlyPartKeepsItsShapes)
{
    std::string text = kBody;
    text.replace(text.find("   health 30\n"), 13, "   health 30\n   damageOnly true\n");
    ASSERT_TRUE(LoadBody(text));
    m_body.GetPart(2).m_invulnerable = false;
    m_body.GetPart(2).m_damageOnly = true;
    ASSERT_TRUE(Shoot(20.0f, 0.0f));
    int index = -1;
    ASSERT_TRUE(m_body.HitPart(m_owner, 50, index));
    EXPECT_EQ(m_body.GetPart(3).m_health, 0);
    EXPECT_FALSE(Shape(2)->IsDisabled());
    EXPECT_FALSE(Shape(3)->IsDisabled());
}

// No part is hit without a recorded contact, through an untagged shape, or when every
// part of the tag is gone; bad part indices are ignored.
TEST_F(ObjectBodyTest, HitsThatFindNoPart)
{
    ASSERT_TRUE(LoadBody(kBody));
    m_body.Update(m_owner);
    int index = -7;
    EXPECT_FALSE(m_body.HitPart(m_owner, 5, index)) << "no contact recorded";
    ASSERT_TRUE(Shoot(0.0f, -30.0f));
    EXPECT_FALSE(m_body.HitPart(m_owner, 5, index)) << "an untagged shape";
    EXPECT_EQ(index, -7);
    ASSERT_TRUE(Shoot(-20.0f, 0.0f));
    m_body.DestroyPart(m_owner, 0);
    m_body.DestroyPart(m_owner, -1);
    m_body.DestroyPart(m_owner, 5);
    EXPECT_FALSE(m_body.HitPart(m_owner, 5, index)) << "its part is destroyed";
    EXPECT_EQ(m_effects.m_requests.size(), 1u);
}

// Two hits 20 ms apart flash the part once, ending 50 ms after the first; the body's
// flash takes the untagged parts along.
TEST_F(ObjectBodyTest, FlashesLastFiftyMilliseconds)
{
    ASSERT_TRUE(LoadBody(kBody));
    m_body.Update(m_owner);
    const uint32_t start = m_clock.m_now;
    int index = -1;
    ASSERT_TRUE(Shoot(-20.0f, 0.0f));
    ASSERT_TRUE(m_body.HitPart(m_owner, 1, index));
    EXPECT_TRUE(IsFlashing(0));
    m_clock.m_now = start + 20;
    ASSERT_TRUE(m_body.HitPart(m_owner, 1, index));
    EXPECT_EQ(m_body.GetPart(0).m_flashEnd, start + 50);
    m_clock.m_now = start + 49;
    m_body.Update(m_owner);
    EXPECT_TRUE(IsFlashing(0));
    m_clock.m_now = start + 50;
    m_body.Update(m_owner);
    EXPECT_FALSE(IsFlashing(0));
    EXPECT_EQ(m_body.GetPart(0).m_health, 18);

    m_body.Flash(false);
    const uint32_t bodyFlags = m_body.GetSprite().GetInstance()->m_flags;
    EXPECT_NE(bodyFlags & SPRITE_FLASH, 0u);
    EXPECT_TRUE(IsFlashing(4)) << "the untagged part flashes with the body";
    EXPECT_FALSE(IsFlashing(1)) << "tagged parts flash only when hit";
    m_body.Flash(true);
    EXPECT_EQ(m_body.GetSprite().GetInstance()->m_flags & SPRITE_FLASH, 0u);
    EXPECT_FALSE(IsFlashing(4));
}

// Parts follow the owner at their scaled offsets, moving their shapes where asked;
// parts without health are hidden; animated sprites animate.
TEST_F(ObjectBodyTest, UpdateFollowsTheOwner)
{
    ASSERT_TRUE(LoadBody(kBody));
    m_owner.scaleX = 2.0f;
    m_owner.scaleY = 0.5f;
    m_body.GetPart(1).m_health = 0;
    m_clock.m_now += 100;
    m_body.Update(m_owner);
    const SSpriteInstance* left = m_body.GetPart(0).m_sprite.GetInstance();
    EXPECT_EQ(left->m_x, 260.0f);
    EXPECT_EQ(left->m_y, 200.0f);
    EXPECT_EQ(left->m_scaleX, 2.0f);
    EXPECT_EQ(m_body.GetSprite().GetInstance()->m_scaleY, 0.5f);
    EXPECT_EQ(Shape(1)->GetPartOffset().x, -20.0f) << "moveCollisionObj: the part's offset";
    EXPECT_EQ(Shape(2)->GetPartOffset().x, 0.0f);
    EXPECT_FALSE(m_body.GetPart(1).m_sprite.IsVisible());
    EXPECT_EQ(m_body.GetSprite().GetInstance()->m_frame, 1u);
    EXPECT_EQ(m_body.GetPart(4).m_sprite.GetInstance()->m_frame, 1u);

    m_body.SetDrawPlane(12);
    EXPECT_EQ(m_body.GetSprite().GetInstance()->m_plane, 12);
    EXPECT_EQ(left->m_plane, 13);
    m_body.SetDrawPlane(19);
    EXPECT_EQ(m_body.GetPart(1).m_sprite.GetInstance()->m_plane, 20) << "kept within the planes";
    m_body.SnapToPixels();
    EXPECT_NE(left->m_flags & SPRITE_SNAP, 0u);
    m_body.SetVisible(false);
    EXPECT_FALSE(m_body.GetSprite().IsVisible());
    m_body.SetVisible(true);
    EXPECT_TRUE(m_body.GetPart(0).m_sprite.IsVisible());
    EXPECT_FALSE(m_body.GetPart(1).m_sprite.IsVisible()) << "a destroyed part stays hidden";
    m_body.Destroy();
    EXPECT_EQ(m_bank->GetLiveInstanceCount(), 0);
}

// The world keeps the velocity limit as a whole number: what it cannot hold is
// brought within 0..1e9 as it is read.
TEST_F(ObjectBodyTest, VelocityLimitIsKeptWithinWhatTheWorldHolds)
{
    const struct
    {
        const char* written;
        float read;
    } cases[] = {{"0", 0.0f},         {"250.5", 250.5f},       {"-5", 0.0f},
                 {"1.0e39", 1.0e9f},  {"-1.0e39", 0.0f},       {"3000000000", 1.0e9f},
                 {"0.0e9999", 0.0f}}; // too large for a float, infinite, and 0 x infinity
    for (const auto& c : cases)
    {
        std::string text = kBody;
        text.replace(text.find("velocitylimit 120"), 17, std::string("velocitylimit ") + c.written);
        CDefinitionProblems problems;
        CObjectBody body;
        ASSERT_TRUE(body.Load(*ParseFirstBlock(Text(text)), m_owner, problems)) << c.written;
        EXPECT_EQ(body.GetVelocityLimit(), c.read) << c.written;
    }
}

// The required keys and blocks, each missing, are fatal and named; counts outside the
// tables too. A part whose definition index is wrong has no sprite (a warning).
TEST_F(ObjectBodyTest, MissingKeysAreFatal)
{
    const struct
    {
        const char* remove;
        const char* replacement;
        const char* named;
    } cases[] = {
        {" mass 40\n", "", "\"mass\""},
        {" health 100\n", "", "\"health\""},
        {" bodySprite\n", " sprite\n", "\"bodySprite\""},
        {" collision\n", " shapes\n", "\"collision\""},
        {"  def0\n", "  defZ\n", "\"def0\""},
        {"  sprite4\n", "  spriteX\n", "\"sprite4\""},
        {"  numSprites 5\n", "  numSprites 65\n", "numSprites"},
        {"   radius 60\n", "", "\"radius\""},
    };
    for (const auto& c : cases)
    {
        std::string text = kBody;
        text.replace(text.find(c.remove), std::string(c.remove).size(), c.replacement);
        CDefinitionProblems problems;
        CObjectBody body;
        EXPECT_FALSE(body.Load(*ParseFirstBlock(Text(text)), m_owner, problems)) << c.named;
        EXPECT_TRUE(problems.HasFatal()) << c.named;
        EXPECT_NE(problems.Describe("body").find(c.named), std::string::npos) << problems.Describe("body");
    }
    std::string text = kBody;
    text.replace(text.find("   defIdx 0\n   drawPlane 2"), 12, "   defIdx 3\n");
    ASSERT_TRUE(LoadBody(text));
    EXPECT_FALSE(m_problems.HasFatal());
    ASSERT_EQ(m_problems.GetAll().size(), 1u);
    EXPECT_EQ(m_body.GetPart(1).m_sprite.GetInstance(), nullptr);
    EXPECT_EQ(m_body.GetPart(1).m_tag, PackCollisionTag("RGHT"));
    EXPECT_FALSE(m_body.AreTaggedPartsDestroyed());

    CObjectBody bare;
    CDefinitionProblems problems;
    std::string plain = kBody;
    plain.erase(plain.find(" extraSprites"), plain.rfind("}\n}") - plain.find(" extraSprites") + 2);
    ASSERT_TRUE(bare.Load(*ParseFirstBlock(Text(plain)), m_owner, problems)) << problems.Describe("b") << plain;
    EXPECT_EQ(bare.GetPartCount(), 0u);
    EXPECT_TRUE(bare.AreTaggedPartsDestroyed()) << "a body without tagged parts";
}

// An owner that took the body's chain gives it with every call: hits, moved shapes
// and disabled shapes are then the owner's.
TEST_F(ObjectBodyTest, ShapesTakenByTheOwnerServeThroughIt)
{
    ASSERT_TRUE(LoadBody(kBody));
    CollisionChain taken = m_body.TakeShapes();
    ASSERT_TRUE(taken);
    EXPECT_EQ(m_body.GetShapes(), nullptr);
    m_owner.shapes = taken.get();
    m_body.Update(m_owner);
    EXPECT_EQ(taken->GetNext()->GetPartOffset().x, -20.0f);
    CCollisionCircle shot(2.0f, true);
    shot.SetPosition(m_owner.position + CVector2D(-20.0f, 0.0f));
    taken->SetPosition(m_owner.position);
    ASSERT_TRUE(shot.Collide(*taken, nullptr, nullptr, nullptr));
    int index = -1;
    ASSERT_TRUE(m_body.HitPart(m_owner, 25, index));
    EXPECT_EQ(index, 0);
    EXPECT_TRUE(taken->GetNext()->IsDisabled());
}

// A body that cannot be read ends the program with a failure status, naming the file,
// the line and the key.
TEST_F(ObjectBodyTest, BrokenBodyEndsTheProgramNamingTheKey)
{
    std::string text = kBody;
    text.replace(text.find(" mass 40\n"), 9, "");
    auto node = ParseFirstBlock(Text(text));
    EXPECT_EXIT(
        {
            CDefinitionProblems problems;
            if (!m_body.Load(*node, m_owner, problems))
                EndOnBrokenDefinition("data/enemies/scout.txt", problems);
            std::exit(0);
        },
        testing::ExitedWithCode(1), "data/enemies/scout.txt:1: missing key \"mass\" in block \"body\"");
}
