#include "core/DataFile.h"
#include "core/DefinitionProblems.h"
#include "frontend/Hud.h"
#include "frontend/HudFile.h"
#include "tests/frontend/HudFixture.h"

#include <string>

namespace
{
class HudTest : public CHudFixture
{
protected:
    // The number of bars the HUD draws (each bar one or two rectangles).
    size_t CountDrawnRects()
    {
        m_harness.GetRenderer().ClearRecords();
        m_harness.GetGame().GetHud().Draw(GetLink().GetCameraX(), GetLink().GetCameraY());
        return m_harness.GetRenderer().m_draws.size();
    }

    std::string ShownIcons()
    {
        std::string shown;
        for (int i = 0; i < CHudStationIcons::ICON_COUNT; ++i)
            shown += GetHud().GetStationIcons().IsShown(i) ? char('0' + i) : '-';
        return shown;
    }

    std::string VisibleIcons()
    {
        std::string visible;
        for (int i = 0; i < CHudStationIcons::ICON_COUNT; ++i)
        {
            const CAnimatedSprite* icon = GetHud().GetStationIcons().GetIcon(i);
            visible += icon && icon->IsVisible() ? char('0' + i) : '-';
        }
        return visible;
    }
};
} // namespace

// Block names match without case and by the start of the name, in the gauges' order,
// then the radar and the icons.
TEST(HudFile, PartsByNamePrefix)
{
    const struct
    {
        const char16_t* name;
        int part;
    } cases[] = {
        {u"HEALTH_BAR", HUD_GAUGE_HEALTH},
        {u"health_bar_left", HUD_GAUGE_HEALTH},
        {u"STATION_HEALTH_BAR", HUD_GAUGE_STATION_HEALTH},
        {u"GEM_BAR", HUD_GAUGE_GEMS},
        {u"Station_NGem_Bar", HUD_GAUGE_STATION_NORMAL_GEMS},
        {u"STATION_RGEM_BAR", HUD_GAUGE_STATION_RARE_GEMS},
        {u"STATION_VRGEM_BAR", HUD_GAUGE_STATION_VERY_RARE_GEMS},
        {u"BATTERY_BAR", HUD_GAUGE_BATTERY},
        {u"SHIELD_BAR", HUD_GAUGE_SHIELD},
        {u"ENERGY_BAR", HUD_GAUGE_ENERGY},
        {u"radar", HUD_PART_RADAR},
        {u"STATION_ICONS", HUD_PART_STATION_ICONS},
        {u"STATION", HUD_PART_NONE},
        {u"HEALTH", HUD_PART_NONE},
        {u"", HUD_PART_NONE},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindHudPart(c.name), c.part);
}

// What the game passes over is a problem for the check: an unknown block, a part
// given twice (the later wins), parts left out.
TEST(HudFile, ProblemsOfTheFile)
{
    const std::string text = "HEALTH_BAR\n{\n barWidth 8\n barHeight 60\n offset -20, -10\n}\n"
                             "COMPASS\n{\n}\n"
                             "HEALTH_BAR\n{\n barWidth 12\n barHeight 60\n offset -20, -10\n}\n";
    CDataNodeList nodes;
    ASSERT_TRUE(ParseDataBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size(), nodes));
    SHudFileDesc desc;
    CDefinitionProblems problems;
    ReadHudFile(nodes, desc, problems);
    EXPECT_TRUE(desc.hasGauge[HUD_GAUGE_HEALTH]);
    EXPECT_EQ(desc.gauges[HUD_GAUGE_HEALTH].barWidth, 12);
    EXPECT_FALSE(desc.hasGauge[HUD_GAUGE_SHIELD]);
    EXPECT_FALSE(desc.hasRadar);
    const std::string all = problems.Describe("hud.txt");
    EXPECT_NE(all.find("hud.txt:7: the HUD has no part"), std::string::npos) << all;
    EXPECT_NE(all.find("hud.txt:10: a second HEALTH_BAR"), std::string::npos) << all;
    EXPECT_NE(all.find("no RADAR block"), std::string::npos) << all;
    EXPECT_NE(all.find("no STATION_ICONS block"), std::string::npos) << all;
    EXPECT_FALSE(problems.HasFatal());
}

// Showing the HUD shows every gauge and station icon, but the station's gauges (4
// to 7) and icons stay hidden while the director's station-gauges gate is closed;
// hiding it hides all.
TEST_F(HudTest, VisibilityFollowsTheStationGaugesGate)
{
    ASSERT_TRUE(StartLevel(MakeHudText()));
    GetLink().Show(true);
    for (int gauge = 0; gauge < HUD_GAUGE_COUNT; ++gauge)
        EXPECT_TRUE(GetHud().GetGauge(gauge).IsShown()) << gauge;
    EXPECT_EQ(ShownIcons(), "012345");

    m_director.m_gates[GATE_STATION_GAUGES] = false;
    GetLink().Show(true);
    for (int gauge = 0; gauge < HUD_GAUGE_COUNT; ++gauge)
        EXPECT_EQ(GetHud().GetGauge(gauge).IsShown(), gauge < 4 || gauge > 7) << gauge;
    EXPECT_EQ(ShownIcons(), "------");

    GetLink().Show(false);
    EXPECT_FALSE(GetLink().IsVisible());
    for (int gauge = 0; gauge < HUD_GAUGE_COUNT; ++gauge)
        EXPECT_FALSE(GetHud().GetGauge(gauge).IsShown()) << gauge;
    EXPECT_FALSE(GetHud().GetRadar().IsVisible());
}

// The gauges draw their bars only while the HUD is visible, the player ship is in
// play, no sequence plays and the director and the game flow let the HUD draw.
TEST_F(HudTest, BarsDrawOnlyWhenNothingHoldsThemBack)
{
    ASSERT_TRUE(StartLevel(MakeHudText()));
    for (int gauge = 0; gauge < HUD_GAUGE_COUNT; ++gauge)
        GetLink().SetGauge(gauge, 100.0f, 50.0f);
    EXPECT_EQ(CountDrawnRects(), 0u);
    GetLink().Show(true);
    m_harness.RunFrame();
    EXPECT_EQ(CountDrawnRects(), 2u * HUD_GAUGE_COUNT);

    m_harness.GetGame().GetRun().shipOutOfPlay = true;
    EXPECT_EQ(CountDrawnRects(), 0u);
    m_harness.GetGame().GetRun().shipOutOfPlay = false;
    m_director.m_sequencePlaying = true;
    EXPECT_EQ(CountDrawnRects(), 0u);
    m_director.m_sequencePlaying = false;
    m_director.m_letsHudDraw = false;
    EXPECT_EQ(CountDrawnRects(), 0u);
    m_director.m_letsHudDraw = true;

    // A ship without shield or battery: those gauges hide.
    GetLink().HideGauge(HUD_GAUGE_SHIELD);
    GetLink().SetGauge(HUD_GAUGE_BATTERY, 0.0f, 0.0f);
    EXPECT_EQ(CountDrawnRects(), 2u * HUD_GAUGE_COUNT - 2u - 1u);
    EXPECT_FALSE(GetLink().IsGaugeFlashing(HUD_GAUGE_BATTERY));

    // A low hull flashes its gauge (every gauge of the sample flashes below a quarter).
    GetLink().SetGauge(HUD_GAUGE_HEALTH, 100.0f, 10.0f);
    m_harness.RunFrame();
    EXPECT_TRUE(GetLink().IsGaugeFlashing(HUD_GAUGE_HEALTH));
    EXPECT_FALSE(GetLink().IsGaugeFlashing(HUD_GAUGE_ENERGY));
}

// Icon 5 sums up the station's warnings: it shows while any of icons 0 to 3 is
// shown (the ammunition icon 4 does not count).
TEST_F(HudTest, SummaryIconFollowsTheFirstFour)
{
    ASSERT_TRUE(StartLevel(MakeHudText()));
    GetLink().Show(true);
    GetLink().ClearStationIcons();
    m_harness.RunFrame();
    EXPECT_EQ(ShownIcons(), "------");

    const struct
    {
        int icon;
        const char* shown;
    } steps[] = {{0, "0----5"}, {1, "01---5"}, {-1, "-1---5"}, {3, "-1-3-5"}, {-1, "---3-5"}, {-1, "------"}};
    int toHide[] = {-1, -1, 0, -1, 1, 3};
    for (size_t i = 0; i < std::size(steps); ++i)
    {
        if (steps[i].icon >= 0)
            GetLink().ShowStationIcon(steps[i].icon);
        if (toHide[i] >= 0)
            GetLink().HideStationIcon(toHide[i]);
        m_harness.RunFrame();
        EXPECT_EQ(ShownIcons(), steps[i].shown) << i;
    }
    GetLink().SetAmmoIcon(HUD_AMMO_SHOWN);
    m_harness.RunFrame();
    EXPECT_EQ(ShownIcons(), "----4-");
    GetLink().SetAmmoIcon(HUD_AMMO_HIDDEN);
    m_harness.RunFrame();
    EXPECT_EQ(ShownIcons(), "------");
}

// A flashing icon flips whenever more than 500 ms of game time have passed since
// its last flip; steady icons take their shown state at each 500 ms phase. Icons sit
// at the screen's bottom-right corner plus their "iconPos".
TEST_F(HudTest, StationIconsFlashAndStandInTheirPlaces)
{
    ASSERT_TRUE(StartLevel(MakeHudText()));
    GetLink().Show(true);
    GetLink().ClearStationIcons();
    m_harness.RunFrame();
    GetLink().SetStationIconFlashing(true, HUD_ICON_STATION_ATTENTION);
    std::string attention;
    for (int frame = 0; frame < 28; ++frame)
    {
        m_harness.RunFrame();
        attention += VisibleIcons()[HUD_ICON_STATION_ATTENTION] == '2' ? 'V' : '-';
    }
    // Stamped on the frame it began; the first flip comes on the 13th frame after
    // (520 ms), the next 13 frames later. Until the first flip the icon keeps the
    // state it had (hidden), apart from the steady phases, which leave it alone.
    EXPECT_EQ(attention, "-------------VVVVVVVVVVVVV--");
    EXPECT_TRUE(GetHud().GetStationIcons().IsFlashing(HUD_ICON_STATION_ATTENTION));

    const CAnimatedSprite* icon = GetHud().GetStationIcons().GetIcon(3);
    ASSERT_NE(icon, nullptr);
    EXPECT_FLOAT_EQ(icon->GetPosition().x, static_cast<float>(GetLink().GetCameraX()) + 640.0f - 56.0f);
    EXPECT_FLOAT_EQ(icon->GetPosition().y, static_cast<float>(GetLink().GetCameraY()) + 480.0f - 100.0f);
    EXPECT_EQ(icon->GetFrame(), 3u);

    GetLink().SetStationIconFlashing(false, HUD_ICON_STATION_ATTENTION);
    m_harness.RunFrames(13);
    EXPECT_EQ(VisibleIcons()[HUD_ICON_STATION_ATTENTION], '2') << "steady and shown";
}

// A station-icon file of four frames makes four icons: the summary icon and the
// ammunition icon do not exist, and asking for them does nothing.
TEST_F(HudTest, FewerIconFramesThanIcons)
{
    ASSERT_TRUE(StartLevel(MakeHudText(), 4));
    EXPECT_EQ(GetHud().GetStationIcons().GetIconCount(), 4);
    GetLink().Show(true);
    GetLink().SetAmmoIcon(HUD_AMMO_FLASHING);
    GetLink().ShowStationIcon(HUD_ICON_SUMMARY);
    m_harness.RunFrames(3);
    EXPECT_EQ(ShownIcons(), "0123--");
    EXPECT_EQ(GetHud().GetStationIcons().GetIcon(HUD_ICON_SUMMARY), nullptr);
}

// A bar of its own takes one gauge's block of the file (the gem gauges of the game
// flow and the screens), placed where its screen puts it.
TEST_F(HudTest, AGaugeOfTheFileForABarOfItsOwn)
{
    ASSERT_TRUE(StartLevel(MakeHudText()));
    CHudBar bar;
    ASSERT_TRUE(LoadHudGauge(bar, HUD_GAUGE_STATION_RARE_GEMS));
    EXPECT_EQ(bar.GetBarWidth(), 8);
    EXPECT_EQ(bar.GetBarHeight(), 60);
    bar.SetPosition(CVector2D(500.0f, 80.0f));
    EXPECT_FLOAT_EQ(bar.GetAnchor().y, 72.0f); // one 8-pixel icon above
    EXPECT_FALSE(LoadHudGauge(bar, HUD_GAUGE_COUNT));
    EXPECT_FALSE(LoadHudGauge(bar, HUD_GAUGE_HEALTH, "data/none.txt"));
    ASSERT_TRUE(m_dir.WriteFile("data/other.txt", "RADAR\n{\n}\n"));
    EXPECT_FALSE(LoadHudGauge(bar, HUD_GAUGE_HEALTH, "data/other.txt"));
    EXPECT_EQ(bar.GetBarWidth(), 8) << "a refused load leaves the bar alone";
}

// Without "data/hud.txt" the HUD exists with its defaults and draws nothing.
TEST_F(HudTest, MissingFileLeavesDefaults)
{
    m_cwd = std::make_unique<CCurrentDir>(m_dir.GetPath());
    ASSERT_TRUE(m_harness.StartLevel());
    ASSERT_NE(GetGameHud()->GetHud(), nullptr);
    GetLink().Show(true);
    const int32_t ship = Spawn(OBJECT_PLAYER_SHIP, 10.0f, 10.0f);
    m_harness.RunFrames(2);
    EXPECT_NE(m_harness.Find(ship), nullptr);
    EXPECT_EQ(CountDrawnRects(), 0u);
    EXPECT_EQ(GetHud().GetStationIcons().GetIconCount(), 0);
}
