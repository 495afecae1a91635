#include "presentation/CollisionShape.h"

#include "core/Collision.h"
#include "presentation/CollisionTag.h"

CCollisionShape::~CCollisionShape()
{
    // Unlinked one at a time so a long chain never recurses deeply.
    CollisionChain rest = std::move(m_next);
    while (rest)
        rest = std::move(rest->m_next);
}

void CCollisionShape::CopyFrom(const CCollisionShape& shape)
{
    m_offset = shape.m_offset;
    m_world = shape.m_world;
    m_partOffset = shape.m_partOffset;
    // A circle stays a circle and a rectangle a rectangle: the kind says which class a shape is.
    if (IsCircle() == shape.IsCircle())
        m_kind = shape.m_kind;
    m_tag = shape.m_tag;
    m_disabled = shape.m_disabled;
}

void CCollisionCircle::CopyFrom(const CCollisionShape& shape)
{
    CCollisionShape::CopyFrom(shape);
    if (const CCollisionCircle* circle = dynamic_cast<const CCollisionCircle*>(&shape))
        m_radius = circle->m_radius;
}

void CCollisionRect::CopyFrom(const CCollisionShape& shape)
{
    CCollisionShape::CopyFrom(shape);
    if (const CCollisionRect* rect = dynamic_cast<const CCollisionRect*>(&shape))
    {
        m_width = rect->m_width;
        m_height = rect->m_height;
        m_angle = rect->m_angle;
    }
}

CCollisionShape* CCollisionCircle::MakeCopy() const
{
    CCollisionCircle* copy = new CCollisionCircle(m_radius, false);
    copy->CopyFrom(*this);
    return copy;
}

CCollisionShape* CCollisionRect::MakeCopy() const
{
    CCollisionRect* copy = new CCollisionRect(m_width, m_height, m_angle);
    copy->CopyFrom(*this);
    return copy;
}

void CCollisionShape::SetPosition(const CVector2D& owner)
{
    m_world = owner + m_offset + m_partOffset;
    for (CCollisionShape* shape = m_next.get(); shape; shape = shape->m_next.get())
        shape->m_world = m_world + shape->m_offset + shape->m_partOffset;
}

CCollisionShape* CCollisionShape::FindByTag(uint32_t tag, int n)
{
    if (m_tag == tag)
        return this;
    int seen = 0;
    for (CCollisionShape* shape = m_next.get(); shape; shape = shape->m_next.get())
    {
        if (shape->m_tag != tag)
            continue;
        if (n == -1 || seen == n)
            return shape;
        ++seen;
    }
    return nullptr;
}

CCollisionShape* CCollisionShape::FindByTag(const char* tag, int n)
{
    return FindByTag(PackCollisionTag(tag), n);
}

CollisionChain CCollisionShape::CloneChain() const
{
    CollisionChain first(MakeCopy());
    if (CCollisionCircle* circle = dynamic_cast<CCollisionCircle*>(first.get()))
        circle->SetRoot(true);
    for (const CCollisionShape* shape = m_next.get(); shape; shape = shape->m_next.get())
        first->Append(CollisionChain(shape->MakeCopy()));
    return first;
}

void CCollisionShape::Append(CollisionChain shape)
{
    CCollisionShape* last = this;
    while (last->m_next)
        last = last->m_next.get();
    last->m_next = std::move(shape);
}

int CCollisionShape::CountShapes() const
{
    int count = 0;
    for (const CCollisionShape* shape = this; shape; shape = shape->m_next.get())
        ++count;
    return count;
}

bool CCollisionShape::TestPair(CCollisionShape& other, CVector2D& point, CVector2D& data)
{
    m_partner = nullptr;
    other.m_partner = nullptr;
    if (m_disabled || other.m_disabled)
        return false;
    CVector2D normal;
    bool contact = false;
    if (IsCircle() && other.IsCircle())
    {
        contact = CollideCircles(m_world, static_cast<CCollisionCircle*>(this)->GetRadius(), other.m_world,
                                 static_cast<CCollisionCircle&>(other).GetRadius(), normal, point);
    }
    else if (IsCircle() || other.IsCircle())
    {
        // The circle goes first, whichever shape it is.
        CCollisionCircle& circle = static_cast<CCollisionCircle&>(IsCircle() ? *this : other);
        CCollisionRect& rect = static_cast<CCollisionRect&>(IsCircle() ? other : *this);
        contact = CollideCircleBox(circle.m_world, circle.GetRadius(), rect.m_world, rect.GetAngle(), rect.GetWidth(),
                                   rect.GetHeight(), normal, point);
    }
    else
    {
        CCollisionRect& a = static_cast<CCollisionRect&>(*this);
        CCollisionRect& b = static_cast<CCollisionRect&>(other);
        contact = CollideBoxes(a.m_world, a.GetAngle(), a.GetWidth(), a.GetHeight(), b.m_world, b.GetAngle(),
                               b.GetWidth(), b.GetHeight(), point);
    }
    if (!contact)
        return false;
    data = normal;
    m_partner = this;
    other.m_partner = &other;
    return true;
}

bool CCollisionShape::Collide(CCollisionShape& other, CVector2D* point, CVector2D* data, const CVector2D* reference)
{
    if (m_next || other.m_next)
        return CollideChains(other, point, data, reference);
    CVector2D hitPoint;
    CVector2D hitData;
    if (!TestPair(other, hitPoint, hitData))
        return false;
    if (point)
        *point = hitPoint;
    if (data)
        *data = hitData;
    return true;
}

// Only shapes inside the bounding circle count as contacts, so two objects whose
// roots merely overlap do not touch. A chain that is nothing but its root has no
// other outline: its root then stands for the outline too, or such an object could
// never touch a chain of several shapes.
bool CCollisionShape::CollideChains(CCollisionShape& other, CVector2D* point, CVector2D* data,
                                    const CVector2D* reference)
{
    m_partner = nullptr;
    other.m_partner = nullptr;
    const bool thisAlone = !m_next;
    const bool otherAlone = !other.m_next;
    const CVector2D from = reference ? *reference : m_world;

    bool found = false;
    float bestDistance = 0.0f;
    CVector2D bestPoint;
    CVector2D bestData;
    CCollisionShape* bestA = nullptr;
    CCollisionShape* bestB = nullptr;

    for (CCollisionShape* a = this; a; a = a->m_next.get())
    {
        const bool aOutline = !a->IsRoot() || thisAlone;
        bool outlineOfOtherTouched = false;
        for (CCollisionShape* b = &other; b; b = b->m_next.get())
        {
            CVector2D hitPoint;
            CVector2D hitData;
            const bool bOutline = !b->IsRoot() || otherAlone;
            if (a->TestPair(*b, hitPoint, hitData))
            {
                if (bOutline)
                    outlineOfOtherTouched = true;
                if (aOutline && bOutline)
                {
                    CVector2D d = hitPoint - from;
                    float distance = d.Dot(d);
                    if (!found || distance < bestDistance)
                    {
                        found = true;
                        bestDistance = distance;
                        bestPoint = hitPoint;
                        bestData = hitData;
                        bestA = a;
                        bestB = b;
                    }
                }
            }
            else if (b->IsRoot())
                break; // outside the other's bounding circle
        }
        if (a->IsRoot() && !outlineOfOtherTouched)
            break;
    }
    if (!found)
    {
        m_partner = nullptr;
        other.m_partner = nullptr;
        return false;
    }
    if (point)
        *point = bestPoint;
    if (data)
        *data = bestData;
    m_partner = bestA;
    other.m_partner = bestB;
    return true;
}
