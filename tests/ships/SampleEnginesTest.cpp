// The sample enemies' engine flames, read from the sources themselves: each flame sits
// on the far side of the hull from where it pushes, so that it burns outward; its
// drawn flame (tip to the upper left) is mirrored toward its own corner; and the
// flames together answer a thrust in any direction.

#include "core/DataFile.h"
#include "core/DataTree.h"
#include "ships/EnemyObject.h"
#include "ships/EnemyTargets.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace
{
struct SFlame
{
    CVector2D pos;
    float angle = 0.0f;
    float fallOff = 0.0f;
    bool invertX = false;
    bool invertY = false;
};

// The flames of a sample file's engines block; false when the file or block is missing.
bool ReadFlames(const std::string& file, const char* section, std::vector<SFlame>& flames)
{
    std::ifstream in(std::string(TESS_SOURCE_DIR) + "/data-src/enemies/" + file, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    CDataNodeList nodes;
    if (bytes.empty() || !ParseDataBytes(bytes.data(), bytes.size(), nodes))
        return false;
    const CDataTree* definition = FindDefinitionSection(nodes, section);
    const CDataTree* engines = definition ? definition->FindBlock("engines") : nullptr;
    int32_t count = 0;
    if (!engines || !engines->GetInt("numEngines", count))
        return false;
    for (int32_t i = 0; i < count; ++i)
    {
        const CDataTree* engine = engines->FindBlock(("engine" + std::to_string(i)).c_str());
        if (!engine)
            return false;
        SFlame flame;
        engine->GetVec2("pos", flame.pos);
        engine->GetFloat("angle", flame.angle);
        engine->GetFloat("fallOff", flame.fallOff);
        engine->GetBool("invertX", flame.invertX);
        engine->GetBool("invertY", flame.invertY);
        flames.push_back(flame);
    }
    return true;
}
} // namespace

TEST(SampleEngines, FlamesBurnOutwardAndAnswerEveryThrust)
{
    struct SOwner
    {
        const char* file;
        const char* section;
    };
    const SOwner owners[] = {{"carrier.txt", "ENEMY_MOTHERSHIP"},
                             {"bossrain.txt", "RAIN_BOSS"},
                             {"bosstron.txt", "TRON_BOSS"},
                             {"bossdisc.txt", "DISC_BOSS"}};
    for (const SOwner& owner : owners)
    {
        std::vector<SFlame> flames;
        ASSERT_TRUE(ReadFlames(owner.file, owner.section, flames)) << owner.file;
        ASSERT_FALSE(flames.empty()) << owner.file;
        for (size_t i = 0; i < flames.size(); ++i)
        {
            const SFlame& flame = flames[i];
            // A flame pushes toward the hull's middle from where it sits.
            const float inward = HeadingOf(CVector2D(-flame.pos.x, -flame.pos.y));
            EXPECT_LT(std::fabs(TurnBetween(inward, flame.angle)), 30.0f) << owner.file << " engine" << i;
            EXPECT_EQ(flame.invertX, flame.pos.x > 0.0f) << owner.file << " engine" << i;
            EXPECT_EQ(flame.invertY, flame.pos.y > 0.0f) << owner.file << " engine" << i;
        }
        for (int heading = 0; heading < 360; heading += 5)
        {
            bool lit = false;
            for (const SFlame& flame : flames)
                lit = lit || std::fabs(TurnBetween(static_cast<float>(heading), flame.angle)) < flame.fallOff;
            EXPECT_TRUE(lit) << owner.file << " dark for a thrust toward " << heading;
        }
    }
}
