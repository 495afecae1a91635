#include "core/DataFile.h"
#include "core/DefinitionProblems.h"
#include "presentation/CollisionShape.h"
#include "presentation/CollisionTag.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
// The first block of a data-tree text.
std::unique_ptr<CDataTree> ParseBlock(const std::string& text)
{
    CDataNodeList nodes;
    ParseDataBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size(), nodes);
    if (nodes.empty())
        return nullptr;
    return std::unique_ptr<CDataTree>(static_cast<CDataTree*>(nodes.front().release()));
}

CollisionChain Circle(float x, float y, float radius, bool root = false, const char* tag = nullptr)
{
    CollisionChain shape(new CCollisionCircle(radius, root));
    shape->SetOffset(CVector2D(x, y));
    if (tag)
        shape->SetTag(PackCollisionTag(tag));
    return shape;
}

// A root circle at the origin of the owner, then the given shapes.
CollisionChain Chain(float rootRadius, std::initializer_list<CCollisionShape*> inner)
{
    CollisionChain root = Circle(0, 0, rootRadius, true);
    for (CCollisionShape* shape : inner)
        root->Append(CollisionChain(shape));
    return root;
}

CCollisionShape* InnerCircle(float x, float y, float radius, const char* tag = nullptr)
{
    return Circle(x, y, radius, false, tag).release();
}

void ExpectPoint(const CVector2D& point, float x, float y)
{
    EXPECT_NEAR(point.x, x, 1e-4f);
    EXPECT_NEAR(point.y, y, 1e-4f);
}
} // namespace

TEST(CollisionTag, FirstFourCharactersFirstLowest)
{
    EXPECT_EQ(PackCollisionTag("GUNSHIP"), PackCollisionTag("GUNS"));
    EXPECT_EQ(PackCollisionTag("AB"), 0x4241u);
    EXPECT_EQ(PackCollisionTag("NOSE"), 0x45534F4Eu);
    EXPECT_EQ(PackCollisionTag(""), 0u);
    EXPECT_EQ(PackCollisionTag(nullptr), 0u);
}

TEST(CollisionShapeReader, ReadsTheChainRootFirst)
{
    // The root is listed second: it still heads the chain; a second root is a circle.
    std::unique_ptr<CDataTree> block = ParseBlock("collision\n{\n numObj 5\n"
                                                  " s0\n {\n  type circle\n  radius 20\n  offset 0, -12\n"
                                                  "  collisionTag NOSECONE\n }\n"
                                                  " s1\n {\n  type rootCircle\n  radius 40\n  offset 1, 2\n }\n"
                                                  " s2\n {\n  type rectangle\n  width 30\n  height 8\n"
                                                  "  angle 90\n  offset 0, 10\n  disable true\n }\n"
                                                  " s3\n {\n  type rootCircle\n  radius 5\n  offset 3, 3\n }\n"
                                                  " s4\n {\n  type triangle\n  offset 0, 0\n }\n"
                                                  " unread\n {\n  type circle\n }\n}\n");
    ASSERT_TRUE(block);
    CDefinitionProblems problems;
    CollisionChain chain = ReadCollisionShapes(*block, problems);
    ASSERT_TRUE(chain);
    ASSERT_EQ(chain->CountShapes(), 4);

    const CCollisionShape* root = chain.get();
    EXPECT_EQ(root->GetKind(), COLLISION_ROOT_CIRCLE);
    EXPECT_EQ(static_cast<const CCollisionCircle*>(root)->GetRadius(), 40.0f);
    ExpectPoint(root->GetOffset(), 1, 2);

    const CCollisionShape* nose = root->GetNext();
    EXPECT_EQ(nose->GetKind(), COLLISION_CIRCLE);
    EXPECT_EQ(nose->GetTag(), PackCollisionTag("NOSE"));
    EXPECT_FALSE(nose->IsDisabled());

    const CCollisionShape* box = nose->GetNext();
    ASSERT_EQ(box->GetKind(), COLLISION_RECTANGLE);
    const CCollisionRect* rect = static_cast<const CCollisionRect*>(box);
    EXPECT_NEAR(rect->GetAngle(), 1.5708f, 1e-4f);
    EXPECT_EQ(rect->GetWidth(), 30.0f);
    EXPECT_EQ(rect->GetHeight(), 8.0f);
    EXPECT_TRUE(rect->IsDisabled());

    EXPECT_EQ(box->GetNext()->GetKind(), COLLISION_CIRCLE); // the second root
    EXPECT_EQ(box->GetNext()->GetNext(), nullptr);

    // The unknown type is reported, with its line, but is not fatal.
    ASSERT_EQ(problems.GetAll().size(), 1u);
    EXPECT_FALSE(problems.HasFatal());
    EXPECT_EQ(problems.GetAll()[0].line, 32u); // the block "s4"
    EXPECT_NE(problems.GetAll()[0].text.find("triangle"), std::string::npos);
}

TEST(CollisionShapeReader, MissingRequiredKeysAreFatal)
{
    struct SCase
    {
        const char* shape;
        const char* key;
    } cases[] = {
        {"  radius 4\n  offset 0, 0\n", "type"},
        {"  type circle\n  offset 0, 0\n", "radius"},
        {"  type rootCircle\n  radius 3\n", "offset"},
        {"  type rectangle\n  height 3\n  offset 0, 0\n", "width"},
        {"  type rectangle\n  width 3\n  offset 0, 0\n", "height"},
    };
    for (const SCase& c : cases)
    {
        std::unique_ptr<CDataTree> block =
            ParseBlock(std::string("collision\n{\n numObj 1\n s0\n {\n") + c.shape + " }\n}\n");
        ASSERT_TRUE(block);
        CDefinitionProblems problems;
        EXPECT_FALSE(ReadCollisionShapes(*block, problems)) << c.key;
        ASSERT_EQ(problems.GetAll().size(), 1u) << c.key;
        EXPECT_TRUE(problems.GetAll()[0].fatal);
        EXPECT_EQ(problems.GetAll()[0].line, 4u) << c.key;
        EXPECT_NE(problems.GetAll()[0].text.find(std::string("\"") + c.key + "\""), std::string::npos)
            << problems.GetAll()[0].text;
    }

    // More blocks asked for than there are.
    std::unique_ptr<CDataTree> block =
        ParseBlock("collision\n{\n numObj 2\n s0\n {\n  type rootCircle\n  radius 3\n  offset 0, 0\n }\n}\n");
    CDefinitionProblems problems;
    EXPECT_FALSE(ReadCollisionShapes(*block, problems));
    EXPECT_TRUE(problems.HasFatal());
    EXPECT_EQ(problems.Describe("data/x.txt"), "data/x.txt:1: numObj is 2 but there are only 1 shape blocks\n");

    // No shapes at all is no problem, and no chain.
    std::unique_ptr<CDataTree> empty = ParseBlock("collision\n{\n numObj 0\n}\n");
    CDefinitionProblems none;
    EXPECT_FALSE(ReadCollisionShapes(*empty, none));
    EXPECT_TRUE(none.IsEmpty());
}

TEST(CollisionShapeReader, KeepsAtMostFortyInnerShapes)
{
    std::string text = "c\n{\n numObj 43\n r\n {\n  type rootCircle\n  radius 90\n  offset 0, 0\n }\n";
    for (int i = 0; i < 42; ++i)
        text += " s\n {\n  type circle\n  radius 1\n  offset 0, 0\n }\n";
    std::unique_ptr<CDataTree> block = ParseBlock(text + "}\n");
    CDefinitionProblems problems;
    CollisionChain chain = ReadCollisionShapes(*block, problems);
    ASSERT_TRUE(chain);
    EXPECT_EQ(chain->CountShapes(), 41);
    EXPECT_FALSE(problems.HasFatal());
    EXPECT_EQ(problems.GetAll().size(), 1u);
}

TEST(CollisionShape, PositionsFollowTheFirstShape)
{
    CollisionChain chain = Circle(1, 2, 50, true);
    chain->SetPartOffset(CVector2D(10, 0));
    chain->Append(Circle(3, 0, 5));
    chain->GetNext()->SetPartOffset(CVector2D(0, 5));
    chain->SetPosition(CVector2D(100, 100));
    ExpectPoint(chain->GetWorldPosition(), 111, 102);
    ExpectPoint(chain->GetNext()->GetWorldPosition(), 114, 107);
}

TEST(CollisionShape, ChainsTouchOnlyThroughTheirOutlines)
{
    // Roots overlap (80 < 100) but the inner circles are far apart.
    CollisionChain a = Chain(50, {InnerCircle(-30, 0, 5)});
    CollisionChain b = Chain(50, {InnerCircle(30, 0, 5)});
    a->SetPosition(CVector2D(0, 0));
    b->SetPosition(CVector2D(80, 0));
    CVector2D point(7, 7);
    EXPECT_FALSE(a->Collide(*b, &point, nullptr, nullptr));
    EXPECT_EQ(a->GetPartner(), nullptr);
    EXPECT_EQ(b->GetPartner(), nullptr);
    ExpectPoint(point, 7, 7);

    // Move B so its inner circle reaches A's: (20, 0) r 5 against (25, 0) r 5.
    CollisionChain c = Chain(50, {InnerCircle(20, 0, 5)});
    CollisionChain d = Chain(50, {InnerCircle(-20, 0, 5)});
    c->SetPosition(CVector2D(0, 0));
    d->SetPosition(CVector2D(45, 0));
    CVector2D normal;
    ASSERT_TRUE(c->Collide(*d, &point, &normal, nullptr));
    ExpectPoint(point, 22.5f, 0);  // middle of the overlap
    ExpectPoint(normal, -1, 0);    // from d's circle towards c's
    EXPECT_EQ(c->GetPartner(), c->GetNext());
    EXPECT_EQ(d->GetPartner(), d->GetNext());

    // Roots apart: nothing, even for shapes that reach outside their root.
    CollisionChain e = Chain(5, {InnerCircle(20, 0, 5)});
    CollisionChain f = Chain(5, {InnerCircle(-20, 0, 5)});
    e->SetPosition(CVector2D(0, 0));
    f->SetPosition(CVector2D(45, 0));
    EXPECT_FALSE(e->Collide(*f, &point, nullptr, nullptr));
}

TEST(CollisionShape, NearestContactToTheReferenceWins)
{
    // Two touching pairs: (a1, b2) meet at x 32.5, (a2, b1) at x 62.5.
    CCollisionShape* a1 = InnerCircle(30, 0, 10);
    CCollisionShape* a2 = InnerCircle(60, 0, 10);
    CCollisionShape* b1 = InnerCircle(-25, 0, 10);
    CCollisionShape* b2 = InnerCircle(-55, 0, 10);
    CollisionChain a = Chain(100, {a1, a2});
    CollisionChain b = Chain(100, {b1, b2});
    a->SetPosition(CVector2D(0, 0));
    b->SetPosition(CVector2D(90, 0));

    CVector2D point;
    ASSERT_TRUE(a->Collide(*b, &point, nullptr, nullptr)); // from A's root at (0, 0)
    ExpectPoint(point, 32.5f, 0);
    EXPECT_EQ(a->GetPartner(), a1);
    EXPECT_EQ(b->GetPartner(), b2);

    CVector2D reference(100, 0);
    ASSERT_TRUE(a->Collide(*b, &point, nullptr, &reference));
    ExpectPoint(point, 62.5f, 0);
    EXPECT_EQ(a->GetPartner(), a2);
    EXPECT_EQ(b->GetPartner(), b1);

    // A disabled shape never touches: with a2 off, the other pair is all there is.
    a2->SetDisabled(true);
    ASSERT_TRUE(a->Collide(*b, &point, nullptr, &reference));
    ExpectPoint(point, 32.5f, 0);
    a1->SetDisabled(true);
    EXPECT_FALSE(a->Collide(*b, &point, nullptr, &reference));
    EXPECT_EQ(a->GetPartner(), nullptr);
}

TEST(CollisionShape, EqualDistancesKeepTheFirstContact)
{
    // Both pairs meet exactly 30 units from A's root.
    CCollisionShape* a1 = InnerCircle(0, 30, 10);
    CCollisionShape* a2 = InnerCircle(0, -30, 10);
    CCollisionShape* b1 = InnerCircle(-40, 30, 10);
    CCollisionShape* b2 = InnerCircle(-40, -30, 10);
    CollisionChain a = Chain(100, {a1, a2});
    CollisionChain b = Chain(100, {b1, b2});
    a->SetPosition(CVector2D(0, 0));
    b->SetPosition(CVector2D(40, 0));
    CVector2D point;
    ASSERT_TRUE(a->Collide(*b, &point, nullptr, nullptr));
    EXPECT_EQ(a->GetPartner(), a1);
    EXPECT_EQ(b->GetPartner(), b1);
    ExpectPoint(point, 0, 30);
}

TEST(CollisionShape, ARootAloneStandsForItsOutline)
{
    CollisionChain lone = Circle(0, 0, 10, true);
    CollisionChain ship = Chain(30, {InnerCircle(-10, 0, 6)});
    lone->SetPosition(CVector2D(0, 0));
    ship->SetPosition(CVector2D(25, 0)); // inner circle at (15, 0): 15 < 10 + 6
    CVector2D point;
    EXPECT_TRUE(lone->Collide(*ship, &point, nullptr, nullptr));
    EXPECT_EQ(lone->GetPartner(), lone.get());
    EXPECT_EQ(ship->GetPartner(), ship->GetNext());
    EXPECT_TRUE(ship->Collide(*lone, &point, nullptr, nullptr));
    EXPECT_EQ(ship->GetPartner(), ship->GetNext());

    ship->SetPosition(CVector2D(45, 0)); // inner circle at (35, 0); the roots still overlap
    EXPECT_FALSE(lone->Collide(*ship, &point, nullptr, nullptr));
    EXPECT_FALSE(ship->Collide(*lone, &point, nullptr, nullptr));
}

TEST(CollisionShape, PairTestsOfEveryKind)
{
    // A box of half size 10 x 5 at the origin and a circle of radius 3 at (12.5, 0).
    CollisionChain box(new CCollisionRect(10, 5, 0));
    CollisionChain circle = Circle(12.5f, 0, 3);
    box->SetPosition(CVector2D(0, 0));
    circle->SetPosition(CVector2D(0, 0));
    CVector2D point;
    CVector2D normal;
    // Either order passes the circle first: the normal points from the box to the circle.
    ASSERT_TRUE(box->Collide(*circle, &point, &normal, nullptr));
    ExpectPoint(normal, 1, 0);
    ExpectPoint(point, 9.5f, 0);
    EXPECT_EQ(box->GetPartner(), box.get());
    EXPECT_EQ(circle->GetPartner(), circle.get());
    ASSERT_TRUE(circle->Collide(*box, &point, &normal, nullptr));
    ExpectPoint(normal, 1, 0);

    // Two boxes: one reaching 2 units into the other's right side.
    CollisionChain other(new CCollisionRect(4, 4, 0));
    other->SetPosition(CVector2D(12, 0));
    ASSERT_TRUE(box->Collide(*other, &point, &normal, nullptr));
    ExpectPoint(point, 9, 0); // the mean of the overlap x 8..10, y -4..4
    other->SetPosition(CVector2D(15, 0));
    EXPECT_FALSE(box->Collide(*other, &point, &normal, nullptr));

    // A disabled single shape touches nothing and clears both partners.
    other->SetPosition(CVector2D(12, 0));
    other->SetDisabled(true);
    EXPECT_FALSE(box->Collide(*other, &point, &normal, nullptr));
    EXPECT_EQ(box->GetPartner(), nullptr);
}

TEST(CollisionShape, FindByTag)
{
    CCollisionShape* s1 = InnerCircle(0, 0, 1, "GUNS");
    CCollisionShape* s2 = InnerCircle(0, 0, 1, "WING");
    CCollisionShape* s3 = InnerCircle(0, 0, 1, "GUNS");
    CCollisionShape* s4 = InnerCircle(0, 0, 1, "GUNSHIP");
    CollisionChain chain = Chain(10, {s1, s2, s3, s4});
    struct SCase
    {
        const char* tag;
        int n;
        CCollisionShape* found;
    } cases[] = {
        {"GUNS", 0, s1}, {"GUNS", 1, s3}, {"GUNS", 2, s4}, {"GUNS", 3, nullptr}, {"GUNS", -1, s1},
        {"WING", 0, s2}, {"WING", 1, nullptr}, {"TAIL", -1, nullptr},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(chain->FindByTag(c.tag, c.n), c.found) << c.tag << " " << c.n;
    // The first shape answers for any n when its own tag matches.
    chain->SetTag(PackCollisionTag("CORE"));
    EXPECT_EQ(chain->FindByTag("CORE", 5), chain.get());
}

TEST(CollisionShape, CloneCopiesSettingsNotPartners)
{
    CollisionChain chain = Circle(1, 2, 30, false, "BODY"); // made as a plain circle
    CCollisionRect* rect = new CCollisionRect(6, 4, 0.5f);
    rect->SetOffset(CVector2D(3, 4));
    rect->SetPartOffset(CVector2D(1, 1));
    rect->SetDisabled(true);
    chain->Append(CollisionChain(rect));
    chain->SetPosition(CVector2D(10, 10));
    CollisionChain target = Circle(12, 14, 5, true);
    target->SetPosition(CVector2D(0, 0));
    CVector2D point;
    chain->Collide(*target, &point, nullptr, nullptr);

    CollisionChain copy = chain->CloneChain();
    ASSERT_EQ(copy->CountShapes(), 2);
    EXPECT_EQ(copy->GetKind(), COLLISION_ROOT_CIRCLE);
    EXPECT_EQ(copy->GetTag(), PackCollisionTag("BODY"));
    EXPECT_EQ(static_cast<CCollisionCircle*>(copy.get())->GetRadius(), 30.0f);
    ExpectPoint(copy->GetWorldPosition(), 11, 12);
    EXPECT_EQ(copy->GetPartner(), nullptr);
    const CCollisionRect* rectCopy = static_cast<const CCollisionRect*>(copy->GetNext());
    ASSERT_EQ(rectCopy->GetKind(), COLLISION_RECTANGLE);
    EXPECT_EQ(rectCopy->GetAngle(), 0.5f);
    EXPECT_EQ(rectCopy->GetWidth(), 6.0f);
    EXPECT_TRUE(rectCopy->IsDisabled());
    ExpectPoint(rectCopy->GetPartOffset(), 1, 1);
    EXPECT_NE(static_cast<const CCollisionShape*>(rectCopy), rect);

    // CopyFrom between classes keeps each shape's own class.
    CCollisionCircle circle(2, false);
    circle.CopyFrom(*rect);
    EXPECT_EQ(circle.GetKind(), COLLISION_CIRCLE);
    EXPECT_TRUE(circle.IsDisabled());
    ExpectPoint(circle.GetOffset(), 3, 4);
}

TEST(DefinitionProblemsDeathTest, BrokenDefinitionEndsWithFailure)
{
    CDefinitionProblems problems;
    problems.AddMissingKey(nullptr, "radius");
    EXPECT_EXIT(EndOnBrokenDefinition("data/ship.txt", problems), testing::ExitedWithCode(1),
                "data/ship.txt:0: missing key \"radius\"");
}
