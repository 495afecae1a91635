// The sample start-up logo as the build makes it, played from the program folder:
// its emblem comes out of the unpacked resource pack and its chime is a loose file.

#include "tests/presentation/CasFixture.h"

#include "utility/source/QelPackArchive.h"

namespace
{
class SampleSequence : public CCasFixture
{
protected:
    void SetUp() override
    {
        CCasFixture::SetUp();
        StartAudio();
        m_cwd.reset();
        m_cwd = std::make_unique<CCurrentDir>(TESS_BIN_DIR);
        ASSERT_TRUE(InitPackArchive());
        ASSERT_NE(g_packArchive, nullptr);
    }

    void TearDown() override
    {
        CCasFixture::TearDown();
        FreePackArchive();
    }
};
} // namespace

TEST_F(SampleSequence, TheLogoFadesTheEmblemInAndOutWithItsTitleAndChime)
{
    int slot = LoadPlayable("data\\animations\\logo\\logo.cas");
    ASSERT_GE(slot, 0);
    EXPECT_EQ(m_player->GetLength(slot), 75u);
    SSpriteInstance* emblem = Instance(slot, 0);
    ASSERT_NE(emblem, nullptr);
    EXPECT_EQ(emblem->m_plane, 18);
    const SCasAnimation* logo = m_player->GetAnimation(slot);
    ASSERT_EQ(logo->m_textTracks.size(), 1u);
    ASSERT_EQ(logo->m_soundTracks.size(), 1u);
    const SCasTextTrack& title = logo->m_textTracks[0];
    const SCasSoundTrack& chime = logo->m_soundTracks[0];
    ASSERT_GE(chime.m_sample, 0);

    ASSERT_TRUE(m_player->Play(slot, false));
    Step(1); // step 0: small and transparent, the title hidden, no sound yet
    EXPECT_TRUE(emblem->IsVisible());
    EXPECT_EQ(emblem->m_x, 320.0f);
    EXPECT_EQ(emblem->m_y, 210.0f);
    EXPECT_FLOAT_EQ(emblem->m_scaleX, 0.7f);
    EXPECT_EQ(emblem->m_colour, 0x00FFFFFFu);
    EXPECT_EQ(title.m_colourValue >> 24, 0u);
    EXPECT_FALSE(chime.m_playing);
    Step(6); // step 6: the chime
    EXPECT_TRUE(chime.m_playing);
    Step(14); // step 20: the emblem is opaque
    EXPECT_EQ(emblem->m_colour, 0xFFFFFFFFu);
    Step(4); // step 24: full size, the title nearly in (14 of its 15 steps)
    EXPECT_FLOAT_EQ(emblem->m_scaleX, 1.0f);
    EXPECT_EQ(title.m_colourValue, 0xEEFFE08Cu);
    Step(1); // step 25: the title in
    EXPECT_EQ(title.m_colourValue, 0xFFFFE08Cu);
    m_fonts.m_drawn.clear();
    m_player->Draw();
    ASSERT_EQ(m_fonts.m_drawn.size(), 1u);
    EXPECT_EQ(m_fonts.m_drawn[0].text, u"TESSAVAR");
    Step(49); // step 74: faded out, and the sequence is over
    EXPECT_EQ(emblem->m_colour >> 24, 0u);
    EXPECT_EQ(title.m_colourValue >> 24, 0u);
    EXPECT_GE(m_player->GetCurrentFrame(slot), m_player->GetLength(slot));
}
