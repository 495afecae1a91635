// Drawing the text tracks of the playing animations.

#include "presentation/AnimationManager.h"

#include "presentation/CasFonts.h"
#include "presentation/Font.h"

#include <cmath>

namespace
{
// GUI font 0 to 3 when it is there; the system font for -1, any other index and a
// font that is not loaded.
CCasFont* PickFont(CCasFontSource& fonts, int32_t index)
{
    CCasFont* font = index >= 0 && index <= 3 ? fonts.GetFont(index) : nullptr;
    return font ? font : fonts.GetSystemFont();
}

void DrawTextTrack(const SCasTextTrack& track, CCasFont& font)
{
    const int lineHeight = font.GetLineHeight();
    const float left = std::round(track.m_x);
    const float top = std::round(track.m_y);
    char16_t shown[CFont::FORMAT_BUFFER];
    for (size_t i = 0; i < track.m_shownLines.size(); ++i)
    {
        // Lines come from data: shown as a format without arguments would show them
        // ("%%" as "%"), never used as one.
        CopyDataText(track.m_shownLines[i].GetText(), shown, CFont::FORMAT_BUFFER);
        float x = left;
        if (track.m_centred)
            x = static_cast<float>(320 - font.MeasureWidth(shown) / 2);
        const float y = top + static_cast<float>(i) * static_cast<float>(lineHeight);
        font.DrawText(x, y, track.m_z, shown, track.m_colourValue);
    }
}
} // namespace

void CAnimationManager::Draw()
{
    if (!m_fonts)
        return;
    for (const SCasAnimation* animation : m_playing)
        DrawAnimation(*animation);
}

void CAnimationManager::DrawAnimation(const SCasAnimation& animation)
{
    for (const SCasTextTrack& track : animation.m_textTracks)
    {
        if (CCasFont* font = PickFont(*m_fonts, track.m_font))
            DrawTextTrack(track, *font);
    }
}
