#include "core/DefinitionProblems.h"
#include "presentation/HudBar.h"
#include "presentation/HudContext.h"
#include "tests/presentation/AnimationFixture.h"

#include <string>

namespace
{
class CTestHudContext : public CHudContext
{
public:
    bool IsHudVisible() const override { return m_visible; }
    bool LetsHudDraw() const override { return m_letsDraw; }
    int32_t GetCameraX() const override { return m_cameraX; }
    int32_t GetCameraY() const override { return m_cameraY; }

    bool m_visible = true;
    bool m_letsDraw = true;
    int32_t m_cameraX = 100;
    int32_t m_cameraY = 50;
};

void ExpectPoint(const CVector2D& point, float x, float y)
{
    EXPECT_FLOAT_EQ(point.x, x);
    EXPECT_FLOAT_EQ(point.y, y);
}

// A drawn rectangle as the renderer received it.
struct SRect
{
    float x, y, w, h;
    uint32_t colour;
};

class HudBarTest : public CAnimationFixture
{
protected:
    void SetUp() override
    {
        CAnimationFixture::SetUp();
        m_savedRenderer = g_renderer;
        g_renderer = m_renderer.get();
        InstallHudContext(&m_context);
        SSpriteSpec spec;
        spec.frameWidth = 16;
        spec.frameHeight = 16;
        spec.frames = 3;
        m_iconFile = WriteSprite("icon.spr", spec);
    }
    void TearDown() override
    {
        InstallHudContext(nullptr);
        g_renderer = m_savedRenderer;
        g_virtualScaleX = g_virtualScaleY = 1.0f;
        CAnimationFixture::TearDown();
    }

    // A 8 x 60 gauge whose 16-pixel icon sits 20 left and 10 up from the corner.
    void LoadBar(const std::string& extraKeys = "")
    {
        auto node = ParseFirstBlock("HEALTH_BAR\n{\n icon\n {\n  spriteFile " + m_iconFile +
                                    "\n }\n startFrame 2\n barWidth 8\n barHeight 60\n offset -20, -10\n" +
                                    extraKeys + "}\n");
        ASSERT_TRUE(node);
        m_bar.Load(*node);
    }

    std::vector<SRect> DrawBar(float originX, float originY, bool scaled)
    {
        m_renderer->ClearRecords();
        m_bar.Draw(originX, originY, scaled);
        std::vector<SRect> rects;
        for (const SRecordedDraw& draw : m_renderer->m_draws)
        {
            EXPECT_EQ(draw.vertices.size(), 4u);
            const SScreenVertex& a = draw.vertices.front();
            const SScreenVertex& d = draw.vertices.back();
            rects.push_back({a.x, a.y, d.x - a.x, d.y - a.y, a.colour});
        }
        return rects;
    }

    uint32_t Grey(float level) const { return m_renderer->PackColour(level, level, level, 1.0f); }

    CTestHudContext m_context;
    CRenderer* m_savedRenderer = nullptr;
    std::string m_iconFile;
    CHudBar m_bar;
};
} // namespace

// The fill is value / maximum of the bar's height, rounded up; values beyond the
// maximum fill it, values below 0 leave it empty, and a maximum of 0 or less (a ship
// without shield or battery) gives an empty bar instead of a share of nothing.
TEST_F(HudBarTest, FillHeightFollowsTheShareOfTheMaximum)
{
    LoadBar();
    const struct
    {
        float maximum, value;
        float storedValue;
        int32_t fill;
    } cases[] = {
        {100.0f, 150.0f, 100.0f, 60}, {100.0f, -5.0f, 0.0f, 0},  {100.0f, 50.0f, 50.0f, 30},
        {100.0f, 33.0f, 33.0f, 20},   {3.0f, 1.0f, 1.0f, 20},     {100.0f, 0.5f, 0.5f, 1},
        {0.0f, 5.0f, 0.0f, 0},        {-10.0f, 5.0f, 0.0f, 0},
    };
    for (const auto& c : cases)
    {
        m_bar.SetValue(c.maximum, c.value);
        EXPECT_EQ(m_bar.GetValue(), c.storedValue) << c.maximum << " " << c.value;
        EXPECT_EQ(m_bar.GetFillHeight(), c.fill) << c.maximum << " " << c.value;
    }
}

// The icon stands at the camera plus the screen's bottom-right corner plus its
// offset; the bar's anchor is one icon height above it, and drawing with the camera
// as the origin puts the bar back at its screen place: centred on the icon, its
// bottom at the anchor, the fill from the bottom.
TEST_F(HudBarTest, BarDrawsAboveItsIconInScreenPixels)
{
    LoadBar();
    m_bar.SetValue(100.0f, 50.0f);
    m_bar.Show();
    m_bar.Update();
    ExpectPoint(m_bar.GetIcon().GetPosition(), 720.0f, 520.0f);
    ExpectPoint(m_bar.GetAnchor(), 720.0f, 504.0f);
    EXPECT_EQ(m_bar.GetIcon().GetFrame(), 2u);

    std::vector<SRect> rects = DrawBar(100.0f, 50.0f, false);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_FLOAT_EQ(rects[0].x, 616.0f);
    EXPECT_FLOAT_EQ(rects[0].y, 394.0f);
    EXPECT_FLOAT_EQ(rects[0].w, 8.0f);
    EXPECT_FLOAT_EQ(rects[0].h, 60.0f);
    EXPECT_EQ(rects[0].colour, Grey(0.37f));
    EXPECT_FLOAT_EQ(rects[1].x, 616.0f);
    EXPECT_FLOAT_EQ(rects[1].y, 424.0f);
    EXPECT_FLOAT_EQ(rects[1].w, 8.0f);
    EXPECT_FLOAT_EQ(rects[1].h, 30.0f);
    EXPECT_EQ(rects[1].colour, Grey(0.62f));

    // Scaled for a screen of twice the width and one and a half the height.
    g_virtualScaleX = 2.0f;
    g_virtualScaleY = 1.5f;
    rects = DrawBar(100.0f, 50.0f, true);
    ASSERT_EQ(rects.size(), 2u);
    EXPECT_FLOAT_EQ(rects[0].x, 1232.0f);
    EXPECT_FLOAT_EQ(rects[0].y, 591.0f);
    EXPECT_FLOAT_EQ(rects[0].w, 16.0f);
    EXPECT_FLOAT_EQ(rects[0].h, 90.0f);
    EXPECT_FLOAT_EQ(rects[1].y, 636.0f);
    EXPECT_FLOAT_EQ(rects[1].h, 45.0f);

    // An empty gauge, and one of no maximum, draw only the background.
    m_bar.SetValue(0.0f, 0.0f);
    EXPECT_EQ(DrawBar(100.0f, 50.0f, false).size(), 1u);
}

// A front-end screen places its gauge itself; the galaxy map's blinking gauge shows
// its fill every other 250 ms.
TEST_F(HudBarTest, PlacedAndBlinkingGauges)
{
    LoadBar();
    m_bar.SetPosition(CVector2D(300.0f, 200.0f));
    ExpectPoint(m_bar.GetIcon().GetPosition(), 300.0f, 200.0f);
    ExpectPoint(m_bar.GetAnchor(), 300.0f, 184.0f);

    m_bar.SetupMapGauge();
    EXPECT_EQ(m_bar.GetBarWidth(), 5);
    EXPECT_EQ(m_bar.GetBarHeight(), 50);
    EXPECT_EQ(m_bar.GetMaximum(), 1.0f);
    std::string fills;
    for (int tick = 0; tick < 15; ++tick)
    {
        m_bar.Blink();
        fills += m_bar.IsFillShown() ? 'F' : '-';
        AdvanceTicks(1);
    }
    // The clock starts at 1000 ms: the first call flips; then each flip waits until
    // more than 250 ms have passed, the seventh 40 ms tick.
    EXPECT_EQ(fills, "FFFFFFF-------F");
}

// Below flashOnLessThan (or above flashOnGreaterThan) of the maximum the icon flips
// whenever more than 250 ms of game time have passed since its last flip; otherwise
// it shows steadily. A gauge of no maximum never flashes.
TEST_F(HudBarTest, IconFlashesByThresholds)
{
    const struct
    {
        const char* keys;
        float maximum, value;
        bool flashes;
    } cases[] = {
        {" flashOnLessThan 0.25\n", 100.0f, 20.0f, true},
        {" flashOnLessThan 0.25\n", 100.0f, 30.0f, false},
        {" flashOnLessThan 0.25\n", 100.0f, 25.0f, false},
        {" flashOnGreaterThan 0.8\n", 100.0f, 90.0f, true},
        {" flashOnGreaterThan 0.8\n", 100.0f, 70.0f, false},
        {" flashOnLessThan 0.25\n flashOnGreaterThan 0.8\n", 100.0f, 95.0f, true},
        {" flashOnLessThan 0.25\n", 0.0f, 0.0f, false},
        {" flashOnLessThan 0.25\n", -1.0f, 0.0f, false},
        {"", 100.0f, 0.0f, false},
    };
    for (const auto& c : cases)
    {
        LoadBar(c.keys);
        m_bar.SetValue(c.maximum, c.value);
        m_bar.Show();
        std::string shown;
        for (int tick = 0; tick < 21; ++tick)
        {
            m_bar.Update();
            EXPECT_EQ(m_bar.IsFlashing(), c.flashes) << c.keys << c.value;
            shown += m_bar.GetIcon().IsVisible() ? 'V' : '-';
            AdvanceTicks(1);
        }
        // Flips at 1000 ms (the stamp starts at 0), 1280 and 1560.
        EXPECT_EQ(shown, c.flashes ? "VVVVVVV-------VVVVVVV" : "VVVVVVVVVVVVVVVVVVVVV") << c.keys << c.value;
    }
}

// Show works only while the HUD is visible; Hide takes icon and bar away; while the
// director or the game flow hold the HUD back nothing updates or draws.
TEST_F(HudBarTest, ShownOnlyWithTheHud)
{
    LoadBar();
    m_bar.SetValue(10.0f, 10.0f);
    m_context.m_visible = false;
    m_bar.Show();
    EXPECT_FALSE(m_bar.IsShown());
    m_bar.Update();
    EXPECT_FALSE(m_bar.GetIcon().IsVisible());
    EXPECT_TRUE(DrawBar(0.0f, 0.0f, false).empty());

    m_context.m_visible = true;
    m_bar.Show();
    m_context.m_letsDraw = false;
    m_bar.Update();
    EXPECT_FALSE(m_bar.GetIcon().IsVisible());
    EXPECT_TRUE(DrawBar(0.0f, 0.0f, false).empty());

    m_context.m_letsDraw = true;
    m_bar.Update();
    EXPECT_TRUE(m_bar.GetIcon().IsVisible());
    EXPECT_EQ(DrawBar(0.0f, 0.0f, false).size(), 2u);
    m_bar.Hide();
    EXPECT_FALSE(m_bar.GetIcon().IsVisible());
    EXPECT_TRUE(DrawBar(0.0f, 0.0f, false).empty());
}

// What the reader puts in range, each with a problem for the check.
TEST_F(HudBarTest, ReaderPutsValuesInRange)
{
    const struct
    {
        const char* keys;
        int32_t width, height, startFrame;
        float offsetX, flashBelow;
        size_t problems;
    } cases[] = {
        {"barWidth 8\nbarHeight 60\noffset -20, -10\n", 8, 60, 0, -20.0f, 0.0f, 0},
        {"barHeight 60\noffset -20, -10\n", 0, 60, 0, -20.0f, 0.0f, 1},
        {"barWidth -3\nbarHeight 99999\noffset -20, -10\n", 0, HUD_BAR_MAX_SIZE, 0, -20.0f, 0.0f, 2},
        {"barWidth 8\nbarHeight 60\n", 8, 60, 0, 0.0f, 0.0f, 1},
        {"barWidth 8\nbarHeight 60\noffset 1.0e39, 2\n", 8, 60, 0, 0.0f, 0.0f, 1},
        {"barWidth 8\nbarHeight 60\noffset 1, 2\nstartFrame -4\n", 8, 60, 0, 1.0f, 0.0f, 1},
        {"barWidth 8\nbarHeight 60\noffset 1, 2\nflashOnLessThan 1.0e39\n", 8, 60, 0, 1.0f, 0.0f, 1},
        {"barWidth 8\nbarHeight 60\noffset 1, 2\nflashOnLessThan 0.3\n", 8, 60, 0, 1.0f, 0.3f, 0},
    };
    for (const auto& c : cases)
    {
        auto node = ParseFirstBlock(std::string("g\n{\n") + c.keys + "}\n");
        ASSERT_TRUE(node);
        SHudBarDesc desc;
        CDefinitionProblems problems;
        ReadHudBarDesc(*node, desc, problems);
        EXPECT_EQ(desc.barWidth, c.width) << c.keys;
        EXPECT_EQ(desc.barHeight, c.height) << c.keys;
        EXPECT_EQ(desc.startFrame, c.startFrame) << c.keys;
        EXPECT_EQ(desc.offsetX, c.offsetX) << c.keys;
        EXPECT_FLOAT_EQ(desc.flashBelow, c.flashBelow) << c.keys;
        EXPECT_EQ(problems.GetAll().size(), c.problems) << c.keys << problems.Describe("g");
        EXPECT_FALSE(problems.HasFatal());
    }
}
