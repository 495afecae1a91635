#include "frontend/OptionsScreen.h"

#include "frontend/GameFlow.h"
#include "frontend/Options.h"
#include "platform/AudioSystem.h"
#include "presentation/GuiListButton.h"
#include "world/Backdrop.h"
#include "world/Game.h"

namespace
{
// The settings in the order that activating one moves down.
constexpr int SETTINGS_ORDER[] = {COptionsScreen::RESOLUTION, COptionsScreen::FULL_SCREEN,
                                  COptionsScreen::TEXTURES,   COptionsScreen::COLOUR,
                                  COptionsScreen::SOUND,      COptionsScreen::EFFECTS,
                                  COptionsScreen::MUSIC};

bool IsDisplayControl(int32_t id)
{
    return id == COptionsScreen::RESOLUTION || id == COptionsScreen::FULL_SCREEN || id == COptionsScreen::TEXTURES ||
           id == COptionsScreen::COLOUR;
}

bool IsLevelControl(int32_t id)
{
    return id == COptionsScreen::EFFECTS || id == COptionsScreen::MUSIC || id == COptionsScreen::VOICE;
}
} // namespace

COptionsScreen::COptionsScreen(CGameFlow& flow) : CFrontEndScreen(flow, SCREEN_OPTIONS, LAYOUT)
{
}

COptions& COptionsScreen::GetOptions() const
{
    return m_flow.GetOptions();
}

void COptionsScreen::Show()
{
    ShowPage();
    m_page.Focus(RESOLUTION);
    m_page.SetVisible(VOICE_LABEL, false);
    m_page.SetVisible(VOICE, false);
    m_flow.GetGame().GetBackdrop().Show(true);
    GetOptions().ReadSettings();
    FillControls();
    SetApplyEnabled(false);
    ArmInputGate();
}

// The backdrop shows only while the screen is current.
void COptionsScreen::Hide()
{
    CFrontEndScreen::Hide();
    m_flow.GetGame().GetBackdrop().Show(false);
}

int COptionsScreen::GetSelection(int controlId) const
{
    const CGuiListButton* list = m_page.FindList(controlId);
    return list ? list->GetSelection() : 0;
}

void COptionsScreen::SetSelection(int controlId, int selection)
{
    if (CGuiListButton* list = m_page.FindList(controlId))
        list->SetSelection(selection);
}

void COptionsScreen::FillControls()
{
    COptions& options = GetOptions();
    const SOptionsDisplay& display = options.GetDisplay();
    const SOptionsSound& sound = options.GetSound();
    SetSelection(RESOLUTION, display.is800x600 ? 1 : 0);
    SetSelection(FULL_SCREEN, display.fullScreen ? 1 : 0);
    SetSelection(TEXTURES, display.hiQualityTextures ? 1 : 0);
    SetSelection(COLOUR, display.colourBits == 32 ? 1 : 0);
    SetSelection(SOUND, sound.disabled ? 0 : sound.frequencyId + 1);
    SetSelection(EFFECTS, g_audio ? g_audio->GetFxVolume() : 0);
    // The player's level, not what a fade has made of it now.
    SetSelection(MUSIC, options.GetMusicLevel());
    SetSelection(VOICE, g_audio ? g_audio->GetVoiceVolume() : 0);
}

void COptionsScreen::ReadControls()
{
    SOptionsDisplay& display = GetOptions().GetDisplay();
    display.is800x600 = GetSelection(RESOLUTION) == 1;
    display.fullScreen = GetSelection(FULL_SCREEN) == 1;
    display.hiQualityTextures = GetSelection(TEXTURES) == 1;
    display.colourBits = GetSelection(COLOUR) == 1 ? 32 : 16;
    SOptionsSound& sound = GetOptions().GetSound();
    const int choice = GetSelection(SOUND);
    sound.disabled = choice == 0;
    if (choice > 0)
        sound.frequencyId = choice - 1;
}

void COptionsScreen::SetApplyEnabled(bool enabled)
{
    m_page.SetEnabled(APPLY, enabled);
    m_page.SetEnabled(CANCEL, enabled);
}

// The levels act at once; the music's is kept by the options, which fade to it.
void COptionsScreen::SetLevels()
{
    const int music = GetSelection(MUSIC);
    GetOptions().SetMusicLevel(music);
    if (!g_audio)
        return;
    g_audio->SetFxVolume(GetSelection(EFFECTS));
    g_audio->SetMusicVolume(music);
    g_audio->SetVoiceVolume(GetSelection(VOICE));
}

void COptionsScreen::ApplyChanges()
{
    COptions& options = GetOptions();
    if (!options.IsDisplayChanged() && !options.IsSoundChanged())
        return;
    ReadControls();
    if (!options.Apply())
    {
        // Neither the new display nor the previous one could be set up.
        m_flow.RequestQuit();
        return;
    }
    options.ReadSettings();
    FillControls();
    SetApplyEnabled(false);
    m_page.Focus(BACK);
}

void COptionsScreen::CancelChanges()
{
    COptions& options = GetOptions();
    options.SetDisplayChanged(false);
    options.SetSoundChanged(false);
    options.ReadSettings();
    FillControls();
    SetApplyEnabled(false);
    m_page.Focus(BACK);
}

void COptionsScreen::FocusNext(int32_t controlId)
{
    if (controlId == MUSIC)
    {
        m_page.Focus(m_page.IsEnabled(APPLY) ? APPLY : CONTROLS);
        return;
    }
    constexpr int count = static_cast<int>(sizeof(SETTINGS_ORDER) / sizeof(SETTINGS_ORDER[0]));
    for (int i = 0; i + 1 < count; ++i)
        if (SETTINGS_ORDER[i] == controlId)
            m_page.Focus(SETTINGS_ORDER[i + 1]);
}

void COptionsScreen::HandleEvent(int32_t controlId, int32_t event, int32_t value)
{
    if (event == GUI_EVENT_ACTION)
    {
        if (FocusBackOnBackAction(event, value, BACK) || (value != GUI_ACTION_LEFT && value != GUI_ACTION_RIGHT))
            return;
        if (IsDisplayControl(controlId) || controlId == SOUND)
        {
            if (controlId == SOUND)
                GetOptions().SetSoundChanged(true);
            else
                GetOptions().SetDisplayChanged(true);
            SetApplyEnabled(true);
        }
        else if (IsLevelControl(controlId))
            SetLevels();
        return;
    }
    if (event != GUI_EVENT_ACTIVATED)
        return;
    switch (controlId)
    {
    case BACK:
        HidePage();
        m_flow.GetGame().GetBackdrop().Show(false);
        m_flow.SetScreen(SCREEN_MAIN_MENU);
        break;
    case CONTROLS:
        HidePage();
        m_flow.SetScreen(SCREEN_CONTROLS);
        break;
    case APPLY:
        ApplyChanges();
        break;
    case CANCEL:
        CancelChanges();
        break;
    default:
        FocusNext(controlId);
        break;
    }
}
