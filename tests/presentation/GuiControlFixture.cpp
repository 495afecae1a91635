#include "tests/presentation/GuiControlFixture.h"

#include "platform/AudioSystem.h"
#include "platform/sound/SoundDevice.h"
#include "platform/sound/WaveFile.h"
#include "presentation/GuiControl.h"
#include "presentation/GuiWindow.h"
#include "tests/presentation/GuiSkinText.h"

#include <sstream>

bool CGuiControlTest::s_keyboard = true;

namespace
{
// The sample rates that tell the default sounds apart, in the skin's order.
const char* const SOUND_NAMES[] = {"select", "backout", "incdec", "navigate", "alert"};
const uint32_t SOUND_RATES[] = {8000, 11025, 16000, 22050, 32000};

void SetKeyboard(bool enabled)
{
    CGuiControlTest::s_keyboard = enabled;
}
} // namespace

std::string CGuiControlTest::MakeFontTable()
{
    std::ostringstream table;
    table << (126 - 32 + 1) << "\n";
    for (int code = 32; code <= 126; ++code)
    {
        const int advance = code == ' ' ? 4 : (code == 'W' ? 10 : (code == 'i' ? 3 : 6));
        table << code << " 0 0 0 " << advance << " 10 " << advance << "\n";
    }
    return table.str();
}

void CGuiControlTest::SetUp()
{
    CGuiTest::SetUp();
    s_keyboard = true;
    for (const char* font : {"sysfont", "f0", "f1"})
    {
        m_folder.WritePage(std::string(font) + "000.tga", 16, 16);
        m_folder.WriteTable(font, MakeFontTable());
    }
    m_folder.WritePage("test.tga", SKIN_TEXT_TEXTURE_WIDTH, SKIN_TEXT_TEXTURE_HEIGHT);
    std::string skin = MakeSkinText();
    skin.insert(skin.rfind('}'), "\tdefault_backout backout.wav\n\tdefault_incdec incdec.wav\n"
                                 "\tdefault_navigate navigate.wav\n");
    skin = RemoveSkinKey(RemoveSkinKey(skin, "", "default_select"), "", "default_alert");
    skin.insert(skin.rfind('}'), "\tdefault_select select.wav\n\tdefault_alert alert.wav\n");
    m_folder.GetDir().WriteFile("data/gui/test.skin", skin);

    m_audio = std::make_unique<CAudioSystem>([] { return CSoundDevice::Create(ESoundOutput::Offline); });
    g_audio = m_audio.get();
    m_audio->SetDefaultSettings();
    ASSERT_TRUE(m_audio->Init());
    for (int i = 0; i < 5; ++i)
    {
        SSoundFormat format;
        format.channels = 1;
        format.rate = SOUND_RATES[i];
        format.bits = 16;
        std::vector<int16_t> samples(SOUND_RATES[i], 1000); // a second long
        std::vector<uint8_t> wave = BuildWave(format, samples.data(), uint32_t(samples.size() * 2));
        m_folder.GetDir().WriteFile(std::string(SOUND_NAMES[i]) + ".wav", std::string(wave.begin(), wave.end()));
    }
    ASSERT_TRUE(m_gui->LoadSkin("test"));
    m_gui->SetKeyboardFlagHook(&SetKeyboard);
    m_renderer->ClearRecords();
}

void CGuiControlTest::TearDown()
{
    m_gui.reset();
    m_audio.reset();
    g_audio = nullptr;
    CGuiTest::TearDown();
}

std::vector<int> CGuiControlTest::LoadLayoutText(const std::string& text, int32_t owner)
{
    m_folder.GetDir().WriteFile("data/layout.txt", text);
    std::vector<int> handles;
    EXPECT_TRUE(m_gui->LoadLayout("data/layout.txt", owner, &handles));
    return handles;
}

void CGuiControlTest::ShowWindows(const std::vector<int>& handles)
{
    for (int handle : handles)
        if (CGuiWindow* window = m_gui->GetWindow(handle))
            if (!window->GetParent())
                window->SetVisible(true);
}

void CGuiControlTest::DrawLayers()
{
    for (int layer = 0; layer < CGuiManager::LAYER_COUNT; ++layer)
        m_gui->DrawLayer(layer, 0.5f);
}

std::vector<std::string> CGuiControlTest::TakeSounds()
{
    std::vector<std::string> sounds;
    for (int channel = 0; channel < m_audio->GetChannelCount(); ++channel)
    {
        const SAudioChannel* state = m_audio->GetChannel(channel);
        if (!state || !state->buffer || state->stopped)
            continue;
        for (int i = 0; i < 5; ++i)
            if (state->frequency == SOUND_RATES[i])
                sounds.push_back(SOUND_NAMES[i]);
    }
    m_audio->StopAllChannels();
    m_audio->Update();
    return sounds;
}
