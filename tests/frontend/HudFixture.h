#pragma once
// A running level with the real HUD installed: the world harness (recording
// renderer, sprite bank, game) started in a temporary program folder that holds
// "data/hud.txt" and its sprites, objects of the kinds the radar colours, and a
// director whose gates and sequence the test sets.

#include "frontend/GameHud.h"
#include "tests/support/CurrentDir.h"
#include "tests/support/TempDir.h"
#include "tests/support/world/WorldHarness.h"
#include "world/DirectorLink.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

class CTestDirector : public CDirectorLink
{
public:
    bool IsGateOpen(int gate) const override { return gate < 0 || gate >= DIRECTOR_GATE_COUNT || m_gates[gate]; }
    bool IsSequencePlaying() const override { return m_sequencePlaying; }
    bool LetsHudDraw() const override { return m_letsHudDraw; }

    bool m_gates[DIRECTOR_GATE_COUNT] = {true, true, true, true, true, true, true, true,
                                         true, true, true, true, true, true, true};
    bool m_sequencePlaying = false;
    bool m_letsHudDraw = true;
};

// An object of any type; asteroids carry the kind the test gives them.
class CRadarTestObject : public CGameObject
{
public:
    explicit CRadarTestObject(EObjectType type) : CGameObject(type) {}
    int32_t GetAsteroidKind() const override { return m_kind; }
    int32_t m_kind = -1;
};

// A sprite file of `frames` frames of width x height pixels.
bool WriteTestSprite(const CTempDir& dir, const std::string& name, uint32_t width, uint32_t height, uint32_t frames);

class CHudFixture : public ::testing::Test
{
protected:
    // The sample layout: gauges with 8 x 8 icons 20 pixels apart along the bottom,
    // a 64 x 64 radar frame with 4 x 4 blips, and six station icons 12 pixels apart.
    static std::string MakeHudText();

    void SetUp() override;
    void TearDown() override;
    // Writes the files (a station-icon sprite of `iconFrames` frames) and starts the
    // level with the HUD; false when it does not start.
    bool StartLevel(const std::string& hudText, uint32_t iconFrames = 6);
    int32_t Spawn(EObjectType type, float x, float y, int32_t asteroidKind = -1);

    CHud& GetHud() { return *GetGameHud()->GetHud(); }
    CGameHud& GetLink() { return *GetGameHud(); }

    CTempDir m_dir;
    CWorldHarness m_harness;
    CTestDirector m_director;
    std::unique_ptr<CCurrentDir> m_cwd;
};
