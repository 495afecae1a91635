// The sequence director: its sequences (skipping, still pictures, refusals, what a
// covering one closes), its block of a save game, and the campaign's chats (their
// order, their spacing, the rules per zone and the gem cap of the drive sections).

#include "frontend/AlienNodeChats.h"
#include "frontend/GameFlow.h"
#include "frontend/LoadingScreen.h"
#include "frontend/MainMenuScreen.h"
#include "frontend/SequenceDirector.h"
#include "frontend/SequenceTable.h"
#include "frontend/StationPlacement.h"
#include "platform/input/DikCodes.h"
#include "presentation/GuiManager.h"
#include "tests/support/frontend/FrontEndHarness.h"
#include "tests/support/frontend/ScriptedDirectorPages.h"
#include "tests/support/platform/VertexRecordingRenderer.h"
#include "world/Game.h"
#include "world/GameObject.h"
#include "world/ObjectFactory.h"
#include "world/World.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <memory>
#include <vector>

namespace
{
class CStandInStation : public CGameObject
{
public:
    CStandInStation() : CGameObject(OBJECT_STATION) { m_body.health = 1000; }
};

// A mothership of a configuration (its boss key).
class CStandInMothership : public CGameObject
{
public:
    CStandInMothership() : CGameObject(OBJECT_ENEMY_MOTHERSHIP) { m_body.health = 100; }
    int32_t GetBossKey() const override { return s_nextKey; }
    static int32_t s_nextKey;
};
int32_t CStandInMothership::s_nextKey = 2;

class SequenceDirectorTest : public ::testing::Test
{
protected:
    SequenceDirectorTest()
    {
        m_director = std::make_unique<CSequenceDirector>(m_harness.GetGame(), m_harness.GetFlow(), m_pages);
        m_director->Install();
    }
    ~SequenceDirectorTest() override
    {
        m_director.reset();
        RegisterObjectType(OBJECT_STATION, nullptr);
        RegisterObjectType(OBJECT_ENEMY_MOTHERSHIP, nullptr);
    }

    // In flight, the campaign's chats running, a station in place and settled.
    void StartCampaignFlight()
    {
        RegisterObjectType(OBJECT_STATION, &CreateObjectOf<CStandInStation>);
        ASSERT_TRUE(m_harness.StartFlight());
        ASSERT_TRUE(m_harness.GetFlow().MakeStation());
        CGameObject* station = m_harness.GetGame().GetWorld()->GetObject(m_harness.GetGame().GetStationHandle());
        ASSERT_NE(station, nullptr);
        station->SetWarpState(WARP_NONE);
        m_director->PreloadChatPages();
        m_director->SetProgressStage(STAGE_CAMPAIGN);
    }

    CHarnessZones& Zones() { return m_harness.GetWorld().GetZones(); }

    // The vertices the GUI's four layers draw now.
    size_t DrawGuiLayers()
    {
        CVertexRecordingRenderer& renderer = m_harness.GetWorld().GetRenderer();
        renderer.ClearRecords();
        for (int layer = 0; layer < CGuiManager::LAYER_COUNT; ++layer)
            m_harness.GetGui().DrawLayer(layer, 0.5f);
        size_t vertices = 0;
        for (const SRecordedDraw& draw : renderer.m_draws)
            vertices += draw.vertices.size();
        return vertices;
    }

    // Runs frames until a page shows (at most the count); the page, or "".
    std::string RunUntilPage(int frames)
    {
        for (int i = 0; i < frames && m_pages.GetShowingPage().empty(); ++i)
            m_harness.RunFrame();
        return m_pages.GetShowingPage();
    }

    CFrontEndHarness m_harness;
    CScriptedDirectorPages m_pages;
    std::unique_ptr<CSequenceDirector> m_director;
};

void PutI32(std::vector<uint8_t>& bytes, size_t offset, int32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + static_cast<size_t>(i)] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
}
} // namespace

// ---- sequences -------------------------------------------------------------------------

TEST_F(SequenceDirectorTest, TheLogoCoversTheGameAndIsSkippedOnlyAfterHalfASecond)
{
    ASSERT_TRUE(m_director->PlaySequence(SEQUENCE_LOGO, true, -1));
    EXPECT_TRUE(m_director->IsCoveringSequencePlaying());
    EXPECT_FALSE(m_director->IsGateOpen(GATE_WORLD_UPDATE));
    EXPECT_FALSE(m_director->IsGateOpen(GATE_GUI_KEYBOARD));
    // Return from the start: twelve frames are 480 ms, still within the half second.
    m_harness.PressKey(Dik::RETURN);
    m_harness.RunFrames(12);
    EXPECT_TRUE(m_director->IsSequencePlaying());
    EXPECT_EQ(m_harness.GetFlow().GetCurrentScreenId(), SCREEN_NONE);
    m_harness.RunFrames(2);
    EXPECT_NE(m_director->GetSequenceIndex(), SEQUENCE_LOGO);
    EXPECT_TRUE(m_director->IsGateOpen(GATE_WORLD_UPDATE));
    EXPECT_TRUE(m_director->IsGateOpen(GATE_GUI_KEYBOARD));
    m_harness.ReleaseKey(Dik::RETURN);
    m_harness.RunFrame();
    EXPECT_EQ(m_harness.GetFlow().GetCurrentScreenId(), SCREEN_MAIN_MENU);
}

TEST_F(SequenceDirectorTest, TheLogoEndsByItselfAfterItsSeventyFiveSteps)
{
    ASSERT_TRUE(m_director->PlaySequence(SEQUENCE_LOGO, true, -1));
    m_harness.RunFrames(74);
    EXPECT_TRUE(m_director->IsSequencePlaying());
    EXPECT_EQ(m_director->GetSequenceFrame(), 74);
    m_harness.RunFrame();
    // The main menu comes, over the first frame of its backdrop.
    EXPECT_EQ(m_harness.GetFlow().GetCurrentScreenId(), SCREEN_MAIN_MENU);
    EXPECT_EQ(m_director->GetSequenceIndex(), SEQUENCE_MAIN_START);
    EXPECT_TRUE(m_director->IsStillPicture());
    EXPECT_EQ(m_director->GetSequenceFrame(), 0);
}

TEST_F(SequenceDirectorTest, AStillPictureStaysOnItsFrameAndLeavesTheGatesAlone)
{
    ASSERT_TRUE(m_director->PlaySequence(SEQUENCE_LOGO, false, CDirectorFlowLink::LAST_FRAME));
    EXPECT_TRUE(m_director->IsStillPicture());
    EXPECT_EQ(m_director->GetSequenceFrame(), 74);
    EXPECT_TRUE(m_director->IsGateOpen(GATE_WORLD_UPDATE));
    EXPECT_TRUE(m_director->IsGateOpen(GATE_GUI_KEYBOARD));
    m_harness.PressKey(Dik::RETURN);
    m_harness.RunFrames(100);
    EXPECT_TRUE(m_director->IsSequencePlaying());
    EXPECT_EQ(m_director->GetSequenceFrame(), 74);
    m_director->StopSequence();
    EXPECT_FALSE(m_director->IsSequencePlaying());
    EXPECT_TRUE(m_director->IsGateOpen(GATE_WORLD_UPDATE));
    EXPECT_TRUE(m_director->IsGateOpen(GATE_GUI_KEYBOARD));
}

TEST_F(SequenceDirectorTest, ANewGamesIntroRefusesASkipForHalfASecondAfterItsLoadingScreen)
{
    m_harness.RunFrame();
    m_harness.WaitForInputGate();
    m_harness.Activate(SCREEN_MAIN_MENU, CMainMenuScreen::NEW_GAME);
    m_harness.Activate(SCREEN_MAIN_MENU, CMainMenuScreen::START_WITH_TUTORIAL);
    for (int i = 0; i < 20 && m_director->GetSequenceIndex() != SEQUENCE_INTRO; ++i)
        m_harness.RunFrame();
    ASSERT_EQ(m_director->GetSequenceIndex(), SEQUENCE_INTRO);
    // The loading screen stood for its two seconds before the intro's first frame;
    // the half second starts with that frame: Return through twelve frames (480 ms)
    // does not skip it, the fourteenth does.
    EXPECT_GE(m_harness.GetClock().GetSleptMs(), LOADING_SCREEN_MIN_MS);
    m_harness.PressKey(Dik::RETURN);
    m_harness.RunFrames(12);
    EXPECT_EQ(m_director->GetSequenceIndex(), SEQUENCE_INTRO);
    m_harness.RunFrames(2);
    EXPECT_NE(m_director->GetSequenceIndex(), SEQUENCE_INTRO);
}

TEST_F(SequenceDirectorTest, AFullScreenSequenceHidesTheScreensUnderItUntilItEnds)
{
    // The game's skin, so that the main menu's windows draw.
    ASSERT_TRUE(m_harness.GetGui().LoadSkin("defaultSkin"));
    m_harness.RunFrame();
    ASSERT_EQ(m_harness.GetFlow().GetCurrentScreenId(), SCREEN_MAIN_MENU);
    m_director->StopSequence();
    const size_t menu = DrawGuiLayers();
    ASSERT_GT(menu, 0u);
    // A still picture of a full-screen sequence and a looping backdrop leave them.
    struct SCase
    {
        int index;
        int startFrame;
    };
    for (const SCase& c : {SCase{SEQUENCE_LOGO, CDirectorFlowLink::LAST_FRAME}, SCase{SEQUENCE_BRIDGE, -1}})
    {
        ASSERT_TRUE(m_director->PlaySequence(c.index, false, c.startFrame));
        EXPECT_EQ(DrawGuiLayers(), menu) << c.index;
        m_director->StopSequence();
    }
    // The intro hides them until it is skipped.
    ASSERT_TRUE(m_director->PlaySequence(SEQUENCE_INTRO, false, -1));
    EXPECT_EQ(DrawGuiLayers(), 0u);
    m_harness.RunFrames(13);
    EXPECT_EQ(DrawGuiLayers(), 0u);
    m_harness.TapKey(Dik::RETURN);
    ASSERT_FALSE(m_director->IsSequencePlaying());
    EXPECT_EQ(DrawGuiLayers(), menu);
    // The logo until its 75 steps have played.
    ASSERT_TRUE(m_director->PlaySequence(SEQUENCE_LOGO, true, -1));
    m_harness.RunFrames(74);
    EXPECT_EQ(DrawGuiLayers(), 0u);
    m_harness.RunFrame();
    EXPECT_NE(m_director->GetSequenceIndex(), SEQUENCE_LOGO);
    EXPECT_GT(DrawGuiLayers(), 0u);
}

TEST_F(SequenceDirectorTest, ASequenceIsRefusedWhileAnotherPlaysAndForIndicesWithoutAFile)
{
    for (int index : {-1, 1, 9, 27})
        EXPECT_FALSE(m_director->PlaySequence(index, false, -1)) << index;
    ASSERT_TRUE(m_director->PlaySequence(SEQUENCE_LOGO, true, -1));
    EXPECT_FALSE(m_director->PlaySequence(SEQUENCE_INTRO, false, -1));
    EXPECT_EQ(m_director->GetSequenceIndex(), SEQUENCE_LOGO);
    EXPECT_EQ(m_director->GetSequenceFrame(), 0);
}

TEST_F(SequenceDirectorTest, ALoopingBackdropIsNeverSkippedAndCoversNothing)
{
    // Before the first frame: no screen takes the keys, and the front end waits.
    ASSERT_TRUE(m_director->PlaySequence(SEQUENCE_BRIDGE, false, -1));
    EXPECT_FALSE(m_director->IsCoveringSequencePlaying());
    m_harness.PressKey(Dik::RETURN);
    m_harness.RunFrames(130);
    EXPECT_TRUE(m_director->IsSequencePlaying());
    EXPECT_TRUE(m_director->IsGateOpen(GATE_GUI_KEYBOARD));
    // Its 100 steps came round once: step 130 is step 30.
    EXPECT_EQ(m_director->GetSequenceFrame(), 30);
}

TEST_F(SequenceDirectorTest, ThePodHintShowsWhileTheShipIsOutOfPlayUntilTheFrontEndRuns)
{
    constexpr uint32_t POD_HINT = 0xa1000005u;
    ASSERT_TRUE(m_harness.StartFlight());
    SRunState& run = m_harness.GetGame().GetRun();
    m_director->OnEquipmentPodCollected(false);
    m_harness.RunFrame();
    run.shipOutOfPlay = true;
    EXPECT_EQ(m_director->GetHintText(), POD_HINT);
    // With the ship in play the line is the tutorial's (none outside it).
    run.shipOutOfPlay = false;
    EXPECT_EQ(m_director->GetHintText(), 0u);
    // A visit to the front end ends it: the next flight's warp-in shows nothing.
    m_harness.GetFlow().EnterFrontEnd();
    m_harness.RunFrame();
    ASSERT_EQ(m_harness.GetFlow().GetMode(), GAME_MODE_FRONT_END);
    m_harness.RunFrame();
    m_harness.GetFlow().EnterFlight();
    m_harness.RunFrame();
    ASSERT_EQ(m_harness.GetFlow().GetMode(), GAME_MODE_FLIGHT);
    run.shipOutOfPlay = true;
    EXPECT_EQ(m_director->GetHintText(), 0u);
}

TEST(SequenceTable, OnlyTheGamesOwnFullScreenSequencesCover)
{
    for (int index = 0; index < SEQUENCE_COUNT; ++index)
    {
        const bool expected = index != 1 && (index < 10 || index > 22);
        EXPECT_EQ(IsCoveringSequence(index), expected) << index;
    }
}

// ---- the save block ----------------------------------------------------------------------

TEST_F(SequenceDirectorTest, TheSaveBlockRoundTripsFieldByField)
{
    std::vector<uint8_t> block(SDirectorBlock::SIZE, 0);
    PutI32(block, 0, 0);   // stage 0: loads as the campaign's
    PutI32(block, 4, 5);   // a tutorial step: never carried over
    PutI32(block, 8, 40);  // a chat page: cannot resume
    block[13] = 1;         // visit byte 2: chat 31 shown
    block[21] = 1;         // visit byte 11: chat 63 shown
    block[23] = 1;         // boss byte 4: chat 40 shown
    block[31] = 1;         // boss byte 12: the last boss may come
    block[42] = 1;         // front-end byte 10: the trigger of zone-map chat 5
    PutI32(block, 52, 2);  // the last zone that had its arrival box
    block[68] = 1;         // flight byte 17 (chat 57), stored after byte 18
    PutI32(block, 69, 1);  // the last zone that had chat 28
    PutI32(block, 73, -1); // ... chat 60
    block[77] = 1;         // flight byte 28: chat 59 shown
    const uint8_t tail[] = {4, 0, 0, 0, 'V', '_', 'S', 0, 1}; // the strike is spent
    std::copy(std::begin(tail), std::end(tail), block.begin() + 79);
    ASSERT_TRUE(m_director->ReadState(block.data(), block.size()));

    EXPECT_EQ(m_director->GetProgressStage(), STAGE_CAMPAIGN);
    EXPECT_EQ(m_director->GetTutorialStep(), -1);
    EXPECT_EQ(m_director->GetChatPage(), -1);
    EXPECT_TRUE(m_director->GetFlag(DIRECTOR_VISIT_CHAT, 2));
    EXPECT_FALSE(m_director->GetFlag(DIRECTOR_VISIT_CHAT, 1));
    EXPECT_TRUE(m_director->GetFlag(DIRECTOR_VISIT_CHAT, 11));
    EXPECT_TRUE(m_director->GetFlag(DIRECTOR_BOSS_CHAT, 4));
    EXPECT_TRUE(m_director->GetFlag(DIRECTOR_BOSS_CHAT, 12));
    EXPECT_TRUE(m_director->GetFlag(DIRECTOR_FRONT_END_CHAT, 5));
    EXPECT_EQ(m_director->GetLastZone(2), 2);
    EXPECT_TRUE(m_director->GetFlag(DIRECTOR_FLIGHT_CHAT, 17));
    EXPECT_FALSE(m_director->GetFlag(DIRECTOR_FLIGHT_CHAT, 18));
    EXPECT_EQ(m_director->GetLastZone(0), 1);
    EXPECT_EQ(m_director->GetLastZone(1), -1);
    EXPECT_TRUE(m_director->GetFlag(DIRECTOR_FLIGHT_CHAT, 28));

    std::vector<uint8_t> written;
    m_director->WriteState(written);
    std::vector<uint8_t> expected = block;
    PutI32(expected, 0, STAGE_CAMPAIGN);
    PutI32(expected, 4, -1);
    PutI32(expected, 8, -1);
    EXPECT_EQ(written, expected);
}

TEST_F(SequenceDirectorTest, AnOlderBlockWithoutItsTailLoadsWithTheStrikeNotSpent)
{
    m_director->SetProgressStage(STAGE_CAMPAIGN);
    m_director->SetFlag(DIRECTOR_VISIT_CHAT, 3, true);
    std::vector<uint8_t> saved;
    m_director->WriteState(saved);
    ASSERT_EQ(saved.size(), 88u);
    EXPECT_EQ(saved[87], 0);
    const std::vector<uint8_t> older(saved.begin(), saved.begin() + 79);

    m_director->OnStationStrikeDone();
    std::vector<uint8_t> spent;
    m_director->WriteState(spent);
    EXPECT_EQ(spent[87], 1);
    ASSERT_TRUE(m_director->ReadState(older.data(), older.size()));
    EXPECT_TRUE(m_director->GetFlag(DIRECTOR_VISIT_CHAT, 3));
    std::vector<uint8_t> again;
    m_director->WriteState(again);
    EXPECT_EQ(again, saved);
}

TEST_F(SequenceDirectorTest, ABlockOfAnotherSizeOrAWrongTailIsRefusedAndChangesNothing)
{
    m_director->SetProgressStage(STAGE_TUTORIAL);
    m_director->SetFlag(DIRECTOR_BOSS_CHAT, 3, true);
    std::vector<uint8_t> good;
    m_director->WriteState(good);
    for (size_t size : {size_t(0), size_t(78), size_t(80), size_t(87), size_t(89)})
    {
        std::vector<uint8_t> block(good);
        block.resize(size + 1, 0);
        EXPECT_FALSE(m_director->ReadState(block.data(), size)) << size;
    }
    struct SCase
    {
        size_t at;
        uint8_t value;
    };
    for (const SCase& wrong : {SCase{79, 5}, SCase{83, 'W'}, SCase{86, '!'}, SCase{87, 2}})
    {
        std::vector<uint8_t> block(good);
        block[wrong.at] = wrong.value;
        EXPECT_FALSE(m_director->ReadState(block.data(), block.size())) << wrong.at;
    }
    EXPECT_EQ(m_director->GetProgressStage(), STAGE_TUTORIAL);
    EXPECT_TRUE(m_director->GetFlag(DIRECTOR_BOSS_CHAT, 3));
}

TEST_F(SequenceDirectorTest, ANewGameResetsTheGatesToTheirStartingValues)
{
    m_director->SetGate(GATE_STEERING, false);
    m_director->SetGate(GATE_TUTORIAL_START, true);
    m_director->ResetForNewGame();
    for (int gate = 0; gate < DIRECTOR_GATE_COUNT; ++gate)
        EXPECT_EQ(m_director->IsGateOpen(gate), gate >= 3 && gate <= 12) << gate;
    EXPECT_EQ(m_director->GetProgressStage(), STAGE_NONE);
    EXPECT_EQ(m_director->GetTutorialStep(), -1);
}

// ---- the campaign's chats --------------------------------------------------------------------

TEST_F(SequenceDirectorTest, ChatsComeInTheirOrderAtLeastThreeSecondsApart)
{
    StartCampaignFlight();
    m_director->OpenGate(GATE_CARGO_CHAT);              // chat 56
    m_director->RaiseFlag(DIRECTOR_FLIGHT_CHAT, 30);    // a worm: chat 60
    EXPECT_EQ(RunUntilPage(3), "data\\chat\\ingame56.txt");
    EXPECT_FALSE(m_director->IsGateOpen(GATE_WORLD_UPDATE));
    m_pages.ClosePage();
    m_harness.RunFrame();
    EXPECT_EQ(m_director->GetChatPage(), -1);
    EXPECT_TRUE(m_director->IsGateOpen(GATE_WORLD_UPDATE));
    // 3000 ms are 75 frames of game time.
    EXPECT_EQ(RunUntilPage(74), "");
    EXPECT_EQ(RunUntilPage(2), "data\\chat\\ingame60.txt");
    EXPECT_EQ(m_director->GetLastZone(1), 0);
}

TEST_F(SequenceDirectorTest, AMotherhipsChatFliesToItAndOneThatHasGoneShowsNothing)
{
    StartCampaignFlight();
    // The minelayer (configuration 1) is there, the drone carrier is not.
    RegisterObjectType(OBJECT_ENEMY_MOTHERSHIP, &CreateObjectOf<CStandInMothership>);
    CStandInMothership::s_nextKey = 1;
    int32_t handle = -1;
    ASSERT_TRUE(m_harness.GetGame().GetWorld()->CreateObject(OBJECT_ENEMY_MOTHERSHIP, handle));
    m_director->RaiseFlag(DIRECTOR_FLIGHT_CHAT, 2);
    m_director->RaiseFlag(DIRECTOR_FLIGHT_CHAT, 0);
    EXPECT_EQ(RunUntilPage(60), "data\\chat\\ingame21.txt");
    EXPECT_EQ(m_harness.GetGame().GetCamera().GetFollowed(), handle);
    m_pages.ClosePage();
    m_harness.RunFrames(80);
    // Chat 22's mothership is not in the world: it ends at once, marked shown.
    EXPECT_TRUE(m_director->GetFlag(DIRECTOR_FLIGHT_CHAT, 3));
    EXPECT_EQ(m_pages.GetShownPages().size(), 1u);
    EXPECT_EQ(m_director->GetChatPage(), -1);
}

TEST_F(SequenceDirectorTest, TheMiningChatComesOnceInZoneZeroAndOnceInEachLaterZone)
{
    StartCampaignFlight();
    RegisterObjectType(OBJECT_ENEMY_MOTHERSHIP, &CreateObjectOf<CStandInMothership>);
    CStandInMothership::s_nextKey = 2;
    int32_t handle = -1;
    ASSERT_TRUE(m_harness.GetGame().GetWorld()->CreateObject(OBJECT_ENEMY_MOTHERSHIP, handle));
    m_director->RaiseFlag(DIRECTOR_FLIGHT_CHAT, 10);
    const struct
    {
        int zone;
        const char* page; // "" for none
    } visits[] = {
        {0, "data\\chat\\ingame26.txt"}, {0, ""}, {1, "data\\chat\\ingame27.txt"},
        {1, ""},                         {2, "data\\chat\\ingame27.txt"}, {0, ""},
    };
    for (const auto& visit : visits)
    {
        Zones().m_zone = visit.zone;
        EXPECT_EQ(RunUntilPage(120), visit.page) << visit.zone;
        m_pages.ClosePage();
        m_harness.RunFrames(80);
    }
}

TEST_F(SequenceDirectorTest, ThePrizeChatComesOnlyInAZoneAboveTheLastThatHadIt)
{
    StartCampaignFlight();
    const struct
    {
        int zone;
        const char* page;
    } visits[] = {{0, "data\\chat\\ingame28.txt"}, {1, "data\\chat\\ingame28.txt"}, {0, ""}, {1, ""}};
    for (const auto& visit : visits)
    {
        Zones().m_zone = visit.zone;
        m_harness.RunFrame();
        // The zone's carrier left its wreck pod (a zone change clears it).
        m_director->RaiseFlag(DIRECTOR_VISIT_CHAT, 0);
        EXPECT_EQ(RunUntilPage(100), visit.page) << visit.zone;
        m_pages.ClosePage();
        m_harness.RunFrames(80);
    }
}

TEST_F(SequenceDirectorTest, ADriveSectionRaisesTheGemStocksByFiftyUpToAHundred)
{
    StartCampaignFlight();
    CCampaignFlowLink& campaign = m_harness.GetFlow().GetCampaign();
    campaign.SetGemStock(0, 70);
    campaign.SetGemStock(1, 10);
    campaign.SetGemStock(2, 100);
    m_director->SetBossGoFlags();
    Zones().SetZoneFlag(ZONE_FLAG_BOSS_NODE_SHOWN, true);
    Zones().m_atBossNode = true;
    m_director->RaiseFlag(DIRECTOR_BOSS_CHAT, 1); // the station took in the drive pod
    EXPECT_EQ(RunUntilPage(3), "data\\chat\\ingame49.txt");
    m_pages.ClosePage();
    m_harness.RunFrame();
    EXPECT_EQ(m_director->GetSequenceIndex(), 4);
    EXPECT_EQ(campaign.GetGemStock(0), 70);
    m_harness.RunFrames(120);
    EXPECT_FALSE(m_director->IsSequencePlaying());
    EXPECT_EQ(campaign.GetGemStock(0), 100);
    EXPECT_EQ(campaign.GetGemStock(1), 60);
    EXPECT_EQ(campaign.GetGemStock(2), 100);
    EXPECT_FALSE(m_director->GetFlag(DIRECTOR_BOSS_CHAT, 1));
}

TEST_F(SequenceDirectorTest, AChatWhosePageIsMissingIsSkippedAndTheNextFollows)
{
    m_pages.SetMissing("data\\chat\\ingame56.txt");
    StartCampaignFlight();
    m_director->OpenGate(GATE_CARGO_CHAT);
    m_director->RaiseFlag(DIRECTOR_FLIGHT_CHAT, 30);
    m_harness.RunFrames(3);
    EXPECT_EQ(m_director->GetChatPage(), -1);
    EXPECT_TRUE(m_director->IsGateOpen(GATE_WORLD_UPDATE));
    EXPECT_TRUE(m_director->GetFlag(DIRECTOR_FLIGHT_CHAT, 16));
    EXPECT_EQ(RunUntilPage(80), "data\\chat\\ingame60.txt");
}

// ---- the station beside the queen ----------------------------------------------------------

TEST(AlienNodeChats, EachNodeShowsItsFirstChatThenItsThanksOnceItsBusinessIsRewarded)
{
    struct SCase
    {
        int zone;
        bool secondNode;
        bool firstVisit;
        bool rewarded;
        bool broken;
        int chat;
    };
    const SCase cases[] = {
        {0, false, true, false, false, 30},  {0, false, false, false, false, -1}, {0, false, false, true, false, 31},
        {0, true, false, false, false, -1},  {0, true, false, false, true, 63},   {1, false, true, false, false, 32},
        {1, false, false, false, false, -1}, {1, false, false, true, false, 33},  {3, false, true, true, false, 36},
        {3, false, false, true, false, 37},  {4, false, true, false, false, 38},  {4, false, false, true, false, -1},
        {2, true, false, true, true, -1}, // only zone 0 has a second alien node
        {5, false, true, false, false, -1},
    };
    for (const SCase& c : cases)
    {
        SAlienNodeVisit visit;
        visit.zone = c.zone;
        visit.secondNode = c.secondNode;
        visit.firstVisit = c.firstVisit;
        visit.rewarded = c.rewarded;
        visit.brokenStationHandled = c.broken;
        EXPECT_EQ(ChooseAlienNodeChat(visit), c.chat)
            << c.zone << c.secondNode << c.firstVisit << c.rewarded << c.broken;
    }
}

TEST(StationPlacement, TheSpotMovesToAThousandFromTheQueenTurningUntilItIsInsideTheWorld)
{
    const struct
    {
        CVector2D queen;
        CVector2D spot;
        float world;
        CVector2D expected;
    } cases[] = {
        // 200 away: on along the same line by 800.
        {{500, 500}, {700, 500}, 4000, {1500, 500}},
        // 1500 away: back towards her by 500.
        {{1000, 1000}, {2500, 1000}, 4000, {2000, 1000}},
        // At the world's right edge: 0 and 45 degrees leave the world, 90 does not.
        {{3900, 100}, {3950, 100}, 4000, {3950, 1050}},
        // A world too small for any of the eight: the spot itself.
        {{50, 50}, {60, 50}, 100, {60, 50}},
    };
    for (const auto& c : cases)
    {
        const CVector2D place = PlaceStationNearQueen(c.queen, c.spot, c.world);
        EXPECT_NEAR(place.x, c.expected.x, 0.01f) << c.spot.x << "," << c.spot.y;
        EXPECT_NEAR(place.y, c.expected.y, 0.01f) << c.spot.x << "," << c.spot.y;
    }
}
