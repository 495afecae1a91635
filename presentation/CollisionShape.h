#pragma once
// Chains of collision shapes: a root circle that bounds the object, then circles
// and rotated rectangles that follow its outline, in file order. The holder keeps
// the first shape; each shape owns the rest of the chain behind it.
//
// Rectangle widths and heights are half extents, as the data gives them.

#include "core/Vector2D.h"

#include <cstdint>
#include <memory>

class CDataTree;
class CDefinitionProblems;

enum ECollisionShapeKind : int32_t
{
    COLLISION_ROOT_CIRCLE = 0,
    COLLISION_CIRCLE = 1,
    COLLISION_RECTANGLE = 2,
};

class CCollisionShape;
using CollisionChain = std::unique_ptr<CCollisionShape>;

class CCollisionShape
{
public:
    // Shapes besides the root that one definition may hold.
    static constexpr int MAX_INNER_SHAPES = 40;

    // Deletes the rest of the chain too.
    virtual ~CCollisionShape();
    CCollisionShape(const CCollisionShape&) = delete;
    CCollisionShape& operator=(const CCollisionShape&) = delete;

    // Called on a chain's first shape: two single shapes get the pair test, longer
    // chains the chain test. The contact point and data (the contact normal where
    // the test gives one, else zero) are written only on contact; the reference
    // point picks the nearest of several contacts (null: this chain's first shape).
    // After a chain contact the two first shapes' partners are the shapes that touched.
    virtual bool Collide(CCollisionShape& other, CVector2D* point, CVector2D* data, const CVector2D* reference);
    // Offsets, world position, part offset, kind, tag, disabled and the sizes of
    // the kind (when the other shape is of the same class).
    virtual void CopyFrom(const CCollisionShape& shape);

    // Chain operations, called on the first shape.
    // The first shape sits at owner + its offset + its part offset; every later one
    // at the first shape's place + its own offset + its part offset.
    void SetPosition(const CVector2D& owner);
    // The first shape when its tag matches; else the n-th matching shape behind it
    // (from 0), or the first of them for n = -1; null when none.
    CCollisionShape* FindByTag(uint32_t tag, int n);
    CCollisionShape* FindByTag(const char* tag, int n);
    // The same shapes with their settings, without partners; the first is made a root.
    CollisionChain CloneChain() const;
    // Puts the shape at the end of the chain.
    void Append(CollisionChain shape);
    int CountShapes() const;

    // The pair test of two single shapes; partners are set to themselves on contact.
    bool TestPair(CCollisionShape& other, CVector2D& point, CVector2D& data);

    CCollisionShape* GetNext() const { return m_next.get(); }
    CCollisionShape* GetPartner() const { return m_partner; }
    ECollisionShapeKind GetKind() const { return m_kind; }
    bool IsRoot() const { return m_kind == COLLISION_ROOT_CIRCLE; }
    bool IsCircle() const { return m_kind != COLLISION_RECTANGLE; }
    uint32_t GetTag() const { return m_tag; }
    void SetTag(uint32_t tag) { m_tag = tag; }
    bool IsDisabled() const { return m_disabled; }
    void SetDisabled(bool disabled) { m_disabled = disabled; }
    const CVector2D& GetOffset() const { return m_offset; }
    void SetOffset(const CVector2D& offset) { m_offset = offset; }
    const CVector2D& GetPartOffset() const { return m_partOffset; }
    void SetPartOffset(const CVector2D& offset) { m_partOffset = offset; }
    const CVector2D& GetWorldPosition() const { return m_world; }

protected:
    explicit CCollisionShape(ECollisionShapeKind kind) : m_kind(kind) {}
    virtual CCollisionShape* MakeCopy() const = 0;

    CollisionChain m_next;
    CCollisionShape* m_partner = nullptr;
    CVector2D m_offset;
    CVector2D m_world;
    CVector2D m_partOffset;
    ECollisionShapeKind m_kind;
    uint32_t m_tag = 0;
    bool m_disabled = false;

private:
    bool CollideChains(CCollisionShape& other, CVector2D* point, CVector2D* data, const CVector2D* reference);
};

class CCollisionCircle : public CCollisionShape
{
public:
    CCollisionCircle(float radius, bool root)
        : CCollisionShape(root ? COLLISION_ROOT_CIRCLE : COLLISION_CIRCLE), m_radius(radius)
    {
    }
    void CopyFrom(const CCollisionShape& shape) override;
    float GetRadius() const { return m_radius; }
    void SetRadius(float radius) { m_radius = radius; }
    // Root or plain circle.
    void SetRoot(bool root) { m_kind = root ? COLLISION_ROOT_CIRCLE : COLLISION_CIRCLE; }

protected:
    CCollisionShape* MakeCopy() const override;

private:
    float m_radius;
};

class CCollisionRect : public CCollisionShape
{
public:
    // Half extents; the angle in radians.
    CCollisionRect(float width, float height, float angle)
        : CCollisionShape(COLLISION_RECTANGLE), m_width(width), m_height(height), m_angle(angle)
    {
    }
    void CopyFrom(const CCollisionShape& shape) override;
    float GetWidth() const { return m_width; }
    float GetHeight() const { return m_height; }
    float GetAngle() const { return m_angle; }
    void SetAngle(float radians) { m_angle = radians; }

protected:
    CCollisionShape* MakeCopy() const override;

private:
    float m_width;
    float m_height;
    float m_angle;
};

// Reads the chain of a "collision"-style block: "numObj" then the first numObj
// child blocks, whatever their names. The first "rootCircle" heads the chain (a
// later one is a plain circle), the other shapes follow in file order, at most
// MAX_INNER_SHAPES of them. A missing block, "type" or required key is a fatal
// problem and gives null; an unknown type word makes no shape (a warning). Null
// also when the blocks make no shape.
CollisionChain ReadCollisionShapes(const CDataTree& node, CDefinitionProblems& problems);
