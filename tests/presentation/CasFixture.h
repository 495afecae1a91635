#pragma once
// The animation player on a sprite bank bound to a recording renderer, with the
// temporary folder as the current directory: animations are written from their
// readable source (or from tracks built in code) and loaded by relative name.

#include "platform/AudioSystem.h"
#include "presentation/AnimationManager.h"
#include "presentation/CasFonts.h"
#include "tests/presentation/SpriteFixture.h"
#include "tests/support/CurrentDir.h"

#include <memory>
#include <string>
#include <vector>

// Fonts that record what is drawn: every glyph 7 units wide, lines 12 high.
class CRecordingCasFonts : public CCasFontSource
{
public:
    struct SDrawn
    {
        int font; // 0..3, or 4 for the system font
        float x;
        float y;
        float z;
        std::u16string text;
        uint32_t colour;
    };

    class CRecordingFont : public CCasFont
    {
    public:
        CRecordingFont(CRecordingCasFonts& owner, int id) : m_owner(owner), m_id(id) {}
        int GetLineHeight() const override { return 12; }
        int MeasureWidth(const char16_t* text) const override; // 7 a glyph
        void DrawText(float x, float y, float z, const char16_t* text, uint32_t colour) override;

    private:
        CRecordingCasFonts& m_owner;
        int m_id;
    };

    CRecordingCasFonts();
    // Fonts 0 to 3 are loaded unless marked missing.
    CCasFont* GetFont(int index) override;
    CCasFont* GetSystemFont() override { return m_fonts[4].get(); }

    bool m_missing[4] = {};
    std::vector<SDrawn> m_drawn;

private:
    std::unique_ptr<CRecordingFont> m_fonts[5];
};

class CCasFixture : public CSpriteFixture
{
protected:
    void SetUp() override;
    void TearDown() override;

    // The bytes of a readable source (the compile must succeed).
    static std::vector<uint8_t> Compile(const std::string& source);
    // Writes the animation compiled from source, or the tracks given, under name.
    void WriteSource(const std::string& name, const std::string& source);
    void WriteAnimation(const std::string& name, const SCasAnimation& animation);
    // An 8 x 8 sprite file of the given frames, by relative name.
    std::string AddSprite(const std::string& name, uint32_t frames = 4);
    // Loads the animation and its media (both must succeed) and gives the slot.
    int LoadPlayable(const std::string& name);
    void Step(int times);
    // An audio system on the offline mixer as g_audio, and a one-second tone "beep.wav".
    CAudioSystem& StartAudio();
    SSpriteInstance* Instance(int slot, size_t track) const;

    std::unique_ptr<CCurrentDir> m_cwd;
    std::unique_ptr<CAnimationManager> m_player;
    CRecordingCasFonts m_fonts;
    std::unique_ptr<CAudioSystem> m_audio;
};
