// ".cas" animations: the reader, the writer on what it read, and the player
// stepping and drawing the file's tracks (played whole and as a range) without media.

#include "presentation/AnimationManager.h"
#include "presentation/CasFile.h"
#include "presentation/CasFonts.h"
#include "fuzz/FuzzSupport.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace
{
class CNullFont : public CCasFont
{
public:
    int GetLineHeight() const override { return 13; }
    int MeasureWidth(const char16_t* text) const override
    {
        int width = 0;
        while (*text++)
            width += 9;
        return width;
    }
    void DrawText(float, float, float, const char16_t*, uint32_t) override {}
};

class CNullFonts : public CCasFontSource
{
public:
    CCasFont* GetFont(int index) override { return index == 1 ? &m_font : nullptr; }
    CCasFont* GetSystemFont() override { return &m_font; }

private:
    CNullFont m_font;
};

void Play(CAnimationManager& player, int slot, uint32_t length)
{
    player.Play(slot, true);
    player.CentreText(slot);
    for (int i = 0; i < 260; ++i)
    {
        player.Update();
        player.Draw();
    }
    player.PlayRange(slot, length / 2, length + 3, true);
    for (int i = 0; i < 40; ++i)
        player.Update();
    player.PlayRange(slot, UINT32_MAX, UINT32_MAX - 1, false);
    player.Update();
    player.Stop(slot);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SCasAnimation animation;
    std::string error;
    if (!ReadCasAnimation(data, size, animation, error))
    {
        if (error.empty() || !animation.m_spriteTracks.empty() || !animation.m_textTracks.empty() ||
            !animation.m_soundTracks.empty())
            std::abort(); // a refused file says why and keeps nothing
        return 0;
    }
    uint32_t longest = 0;
    for (const SCasSpriteTrack& track : animation.m_spriteTracks)
        longest = std::max(longest, track.m_clock.m_length);
    for (const SCasTextTrack& track : animation.m_textTracks)
        longest = std::max(longest, track.m_clock.m_length);
    for (const SCasSoundTrack& track : animation.m_soundTracks)
        longest = std::max(longest, track.m_clock.m_length);
    if (animation.m_length != longest)
        std::abort();

    // What was read writes back to a file that reads the same.
    const std::vector<uint8_t> written = WriteCasAnimation(animation);
    SCasAnimation again;
    if (!ReadCasAnimation(written.data(), written.size(), again, error) || WriteCasAnimation(again) != written)
        std::abort();

    const std::string path = WriteFuzzFile("input.cas", data, size);
    if (path.empty())
        return 0;
    CNullFonts fonts;
    CAnimationManager player;
    player.SetFontSource(&fonts);
    int slot = -1;
    if (!player.Load("input.cas", slot))
        std::abort();
    Play(player, slot, animation.m_length);
    return 0;
}
