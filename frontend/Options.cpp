#include "frontend/Options.h"

#include "core/Console.h"
#include "frontend/FatalError.h"
#include "frontend/MusicOutput.h"
#include "frontend/ScreenTime.h"
#include "frontend/UserFiles.h"
#include "platform/AudioSystem.h"
#include "platform/CoreInput.h"
#include "platform/Renderer.h"
#include "utility/source/QelFile.h"
#include "world/Controls.h"

COptions::COptions(CControls& controls) : m_controls(controls), m_random(GetScreenTime())
{
    MakeDefaultMusicLists(m_lists);
    m_musicLevel = GetMusic().GetVolume();
    m_nextUpdate = GetScreenTime() + NO_UPDATE_MS;

    if (GetUserDataFolder(m_keyMapPath))
        m_keyMapPath += KEY_MAP_FILE;
    std::string reason;
    if (LoadKeyMapFile(m_keyMapPath.c_str(), g_input, m_keyMap, &reason) != EKeyMapRead::Read && g_console &&
        FileExists("", m_keyMapPath.c_str()))
        g_console->Printf("The key map %s %s: the defaults stand in", m_keyMapPath.c_str(), reason.c_str());
    ApplyKeyMap();
    ReadSettings();
}

COptions::~COptions()
{
    GetMusic().SetVolume(m_musicLevel);
}

// ---- display and sound -------------------------------------------------------------

void COptions::ReadSettings()
{
    if (g_renderer)
    {
        const SDisplaySettings& display = g_renderer->GetSettings();
        m_display.is800x600 = display.width == 800;
        m_display.fullScreen = display.fullScreen;
        m_display.hiQualityTextures = display.hiQualityTextures;
        m_display.colourBits = display.colourBits;
    }
    if (g_audio)
    {
        m_sound.disabled = g_audio->IsDisabled();
        m_sound.frequencyId = g_audio->GetOutputFrequencyId();
    }
    for (int i = 0; i < CControls::ACTION_COUNT; ++i)
        m_keyMap.keys[i] = m_controls.GetKey(i);
    // The joystick of the key map may have gone since.
    if (m_keyMap.joystick != SKeyMap::NO_JOYSTICK &&
        !DoBindingsFit(m_keyMap.bindings, CControls::JOYSTICK_ACTIONS, g_input, m_keyMap.joystick))
    {
        if (!g_input || m_keyMap.joystick >= g_input->GetJoystickCount())
            m_keyMap.joystick = SKeyMap::NO_JOYSTICK;
        m_keyMap.SetDefaultBindings();
        ApplyKeyMap();
    }
}

bool COptions::Apply()
{
    if (m_displayChanged && g_renderer)
    {
        if (!ApplyDisplay())
        {
            ReportFatalError("Error", DISPLAY_FAILURE);
            return false;
        }
        m_displayChanged = false;
        GetMusic().SetVolume(GetMusic().GetVolume());
    }
    if (m_soundChanged && g_audio)
    {
        if (!g_audio->ApplyOutputSettings(m_sound.disabled, m_sound.frequencyId) && g_console)
            g_console->Printf("The sound could not be started again");
        m_soundChanged = false;
    }
    return true;
}

// The new mode; when the renderer refuses it, the mode that ran before. What the
// renderer ends up with is read back, so the screen shows what is in effect.
bool COptions::ApplyDisplay()
{
    const SDisplaySettings previous = g_renderer->GetSettings();
    SDisplaySettings& pending = g_renderer->GetPendingSettings();
    pending = previous;
    pending.width = m_display.is800x600 ? 800 : 640;
    pending.height = m_display.is800x600 ? 600 : 480;
    pending.fullScreen = m_display.fullScreen;
    pending.hiQualityTextures = m_display.hiQualityTextures;
    pending.colourBits = m_display.colourBits;
    bool reset = g_renderer->ResetDisplay();
    if (!reset)
    {
        if (g_console)
            g_console->Printf("The display could not be set up with the new options; the previous ones stay");
        g_renderer->GetPendingSettings() = previous;
        reset = g_renderer->ResetDisplay();
    }
    ReadSettings();
    return reset;
}

// ---- key map -----------------------------------------------------------------------

void COptions::ApplyKeyMap()
{
    for (int i = 0; i < CControls::ACTION_COUNT; ++i)
        m_controls.SetKey(i, m_keyMap.keys[i]);
    m_controls.SetJoystick(m_keyMap.joystick);
    m_controls.SetDeadZoneStep(m_keyMap.deadZoneStep);
    for (int i = 0; i < CControls::JOYSTICK_ACTIONS; ++i)
        m_controls.SetBinding(i, m_keyMap.bindings[i]);
}

bool COptions::SaveKeyMap()
{
    if (m_keyMapPath.empty())
        return false;
    if (SaveKeyMapFile(m_keyMapPath.c_str(), m_keyMap))
        return true;
    if (g_console)
        g_console->Printf("The key map %s could not be written", m_keyMapPath.c_str());
    return false;
}
