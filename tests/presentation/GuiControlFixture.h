#pragma once
// The GUI manager of GuiFixture.h with a skin loaded (GuiSkinText.h's pieces and sizes
// on a 128 x 160 texture), the fonts the skin names, an offline audio system whose
// five default sounds can be told apart, and layouts loaded from text.
//
// Every font ("sysfont", "f0", "f1") has glyphs for the codes 32 to 126, 10 pixels
// high: a space advances 4, "W" 10, "i" 3 and every other character 6 (its width the
// same as its advance).

#include "platform/AudioSystem.h"
#include "presentation/GuiManager.h"
#include "tests/presentation/FontFixture.h"
#include "tests/presentation/GuiFixture.h"

#include <memory>
#include <string>
#include <vector>

class CGuiControlTest : public CGuiTest
{
public:
    // Whether the game's keyboard controls were last turned on (true) or off.
    static bool s_keyboard;

protected:
    void SetUp() override;
    void TearDown() override;

    // The glyph table of the fixture's fonts.
    static std::string MakeFontTable();

    // Writes the text as "data/layout.txt" and loads it; the handles made.
    std::vector<int> LoadLayoutText(const std::string& text, int32_t owner = 0);
    // The control of the id among the handles, as its class (null when it is not one).
    template <typename T>
    T* Find(const std::vector<int>& handles, int controlId) const
    {
        return dynamic_cast<T*>(m_gui->GetControl(m_gui->FindControlInLayout(handles, controlId)));
    }
    // Shows every top-level window among the handles.
    void ShowWindows(const std::vector<int>& handles);
    // Draws the four layers.
    void DrawLayers();

    // The default sounds played since the last call, by name ("select", "backout",
    // "incdec", "navigate", "alert"), in channel order.
    std::vector<std::string> TakeSounds();

    CFontFolder m_folder;
    std::unique_ptr<CAudioSystem> m_audio;
};
