#include "tests/ships/CarrierFixtures.h"

#include "presentation/CollisionShape.h"
#include "world/GameObject.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

std::vector<SPartSpec> RingParts(int count, float distance, int32_t health)
{
    std::vector<SPartSpec> parts;
    for (int i = 0; i < count; ++i)
    {
        const float angle = 6.2831853f * static_cast<float>(i) / static_cast<float>(count);
        parts.push_back({CVector2D(std::round(std::cos(angle) * distance), std::round(std::sin(angle) * distance)),
                         health});
    }
    return parts;
}

std::string PartTag(int index)
{
    char tag[8];
    std::snprintf(tag, sizeof(tag), "P%02d", index);
    return tag;
}

namespace
{
std::string Vec(const CVector2D& v)
{
    char text[64];
    std::snprintf(text, sizeof(text), "%g, %g", static_cast<double>(v.x), static_cast<double>(v.y));
    return text;
}
} // namespace

std::string CarrierBody(int32_t health, float radius, const std::vector<SPartSpec>& parts, bool core)
{
    const int shapes = 1 + static_cast<int>(parts.size()) + (core ? 1 : 0);
    std::string text = "mass 500; health " + std::to_string(health) +
                       "; inertialDamping 0.98; velocitylimit 100; bodySprite { spriteFile dummy } collision { numObj " +
                       std::to_string(shapes) + "; c0 { type rootCircle; radius " + std::to_string(radius) +
                       "; offset 0, 0 } ";
    for (size_t i = 0; i < parts.size(); ++i)
        text += "c" + std::to_string(i + 1) + " { type circle; radius 8; offset " + Vec(parts[i].pos) +
                "; collisionTag " + PartTag(static_cast<int>(i)) + " } ";
    if (core)
        text += "c" + std::to_string(parts.size() + 1) + " { type circle; radius 8; offset 0, 0; collisionTag CORE } ";
    text += "} ";
    if (!parts.empty())
    {
        text += "extraSprites { numDefs 1; def0 { spriteFile dummy } numSprites " + std::to_string(parts.size()) + "; ";
        for (size_t i = 0; i < parts.size(); ++i)
            text += "sprite" + std::to_string(i) + " { defIdx 0; relativePos true; pos " + Vec(parts[i].pos) +
                    "; collisionTag " + PartTag(static_cast<int>(i)) + "; health " +
                    std::to_string(parts[i].health) + " } ";
        text += "} ";
    }
    return text;
}

std::string CarrierSection(const std::string& name, const std::string& keys, int32_t health, float radius,
                           const std::vector<SPartSpec>& parts, bool core)
{
    return name + " { " + CarrierBody(health, radius, parts, core) + keys + " }";
}

const std::string& GlowEffectText()
{
    static const std::string text =
        DefinitionText("EFFECT { name glow; maxParticles 4; maxEmitters 8; particle { appearance { type DUMMY } } "
                       "controller { type OMNI_DIRECTION; inertia 1 } emitter { type SIMPLE_PARTICLE; "
                       "randomNumCreated 1, 1; randomLife 0.1, 0.1 } }");
    return text;
}

std::string TurretGroupKeys(const std::vector<std::string>& turretKeys)
{
    std::string text = "turretGroup { numSpriteDefs 0; numTurrets " + std::to_string(turretKeys.size()) + "; ";
    for (size_t i = 0; i < turretKeys.size(); ++i)
        text += "turret" + std::to_string(i) + " { " + (turretKeys[i].empty() ? "" : turretKeys[i] + "; ") +
                "health 10; bodySpriteIdx -1 } ";
    return text + "} ";
}

void AimHitAt(CGameObject& object, const std::string& tag)
{
    object.PlaceShape();
    CCollisionShape* shapes = object.GetBody().shape.get();
    ASSERT_NE(shapes, nullptr);
    CCollisionShape* target = shapes->FindByTag(tag.c_str(), -1);
    ASSERT_NE(target, nullptr) << tag;
    const CVector2D at = target->GetWorldPosition();
    CCollisionCircle probe(1.0f, true);
    probe.SetPosition(at);
    CVector2D point;
    CVector2D data;
    ASSERT_TRUE(shapes->Collide(probe, &point, &data, &at)) << tag;
    ASSERT_NE(shapes->GetPartner(), nullptr);
    ASSERT_EQ(shapes->GetPartner(), target) << tag;
}

std::string WriteFighterFile(CEnemyScene& scene, const std::string& name)
{
    scene.Effects().Dir().WriteFile(
        name, DefinitionText(EnemySection("ENEMY_FIGHTER", "armRange 300; defensiveRange 100; engineForce 20", 30, 10,
                                          8.0f)));
    return scene.Effects().Dir().Join(name);
}
