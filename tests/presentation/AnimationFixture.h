#pragma once
// A sprite bank that sprite references load into (it is g_spriteBank while a test
// runs), a game clock the test moves, and data-tree text parsed into blocks.

#include "core/DataTree.h"
#include "presentation/AnimationClock.h"
#include "presentation/RiderObjects.h"
#include "tests/presentation/SpriteFixture.h"
#include "tests/support/presentation/RecordedEffects.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class CFakeAnimationClock : public CAnimationClock
{
public:
    uint32_t GetGameTimeMs() const override { return m_now; }
    uint32_t m_now = 1000;
};

// World objects by handle, for paths to carry.
class CFakeRiderObjects : public CRiderObjects
{
public:
    struct SObject
    {
        CVector2D position;
        int plane = -1;
        bool visible = false;
    };

    bool GetObjectPosition(int32_t handle, CVector2D& position) const override;
    void SetObjectPosition(int32_t handle, const CVector2D& position) override;
    void SetObjectDrawPlane(int32_t handle, int plane) override;
    void SetObjectVisible(int32_t handle, bool visible) override;

    std::map<int32_t, SObject> m_objects;
};

// The first block of a data-tree text (null when there is none).
std::unique_ptr<CDataTree> ParseFirstBlock(const std::string& text);

class CAnimationFixture : public CSpriteFixture
{
protected:
    void SetUp() override;
    void TearDown() override;

    // A sprite file of `frames` frames of 8 x 8 pixels in the temporary folder.
    std::string WriteFrames(const std::string& name, uint32_t frames);
    // Game frames of 40 ms.
    void AdvanceTicks(int ticks) { m_clock.m_now += static_cast<uint32_t>(ticks) * GAME_TICK_MS; }

    CFakeAnimationClock m_clock;
    CFakeRiderObjects m_objects;
    CRecordedEffects m_effects;
    CSpriteBank* m_savedBank = nullptr;
};
