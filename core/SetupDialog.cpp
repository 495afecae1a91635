#include "core/SetupDialog.h"

#include "core/DataTree.h"
#include "core/Settings.h"

namespace
{
constexpr int COLUMN_1 = 220;
constexpr int COLUMN_2 = 420;

void AddRadioRow(CDialogForm& form, int y, const char* label, int firstId, const char* firstText, int secondId,
                 const char* secondText)
{
    form.AddLabel(16, y, label);
    form.AddRadioButton(firstId, firstId, COLUMN_1, y, firstText);
    form.AddRadioButton(secondId, firstId, COLUMN_2, y, secondText);
}

bool ReadBool(const CDataTree& settings, const char* key, bool fallback)
{
    bool value = fallback;
    settings.GetBool(key, value);
    return value;
}

// Checks one of a pair of radio buttons.
void CheckEither(CDialogForm& form, bool first, int firstId, int secondId)
{
    form.SetChecked(first ? firstId : secondId, true);
}
} // namespace

CDialogForm MakeSetupForm()
{
    CDialogForm form("setup", "Initial Setup", 620, 356);
    form.AddLabel(16, 16, "Renderer");
    form.AddComboBox(SETUP_RENDERER, COLUMN_1, 16, 200, {"Direct3D", "OpenGL"});
    AddRadioRow(form, 56, "Display", SETUP_FULLSCREEN, "Fullscreen", SETUP_WINDOWED, "Windowed");
    AddRadioRow(form, 88, "Resolution", SETUP_WIDTH_640, "640 x 480", SETUP_WIDTH_800, "800 x 600");
    AddRadioRow(form, 120, "Colour depth", SETUP_COLOUR_32, "32 bit", SETUP_COLOUR_16, "16 bit");
    AddRadioRow(form, 152, "Texture quality", SETUP_TEXTURES_32, "32 bit", SETUP_TEXTURES_16, "16 bit");
    AddRadioRow(form, 184, "Input", SETUP_DIRECTINPUT_8, "DirectInput 8", SETUP_DIRECTINPUT_5, "DirectInput 5");
    form.AddCheckBox(SETUP_ENABLE_AUDIO, 16, 224, "Enable Audio");
    form.AddCheckBox(SETUP_FORCE_Z_RELATIVE, 16, 256, "Force Z Axis Relative");
    form.AddButton(SETUP_BUTTON_START, 16, 308, 170, "Start Game!", "ok");
    form.AddButton(SETUP_BUTTON_ADVANCED, 202, 308, 130, "Advanced", "advanced");
    form.AddButton(SETUP_BUTTON_QUIT, 348, 308, 90, "Quit", "cancel");
    form.SetDefaultButton(SETUP_BUTTON_START);
    form.SetCancelButton(SETUP_BUTTON_QUIT);
    return form;
}

void ShowSettingsInSetupForm(CDataTree& settings, CDialogForm& form)
{
    if (!settings.FindValue("r_renderer"))
        settings.SetString("r_renderer", "d3d");
    form.Select(SETUP_RENDERER, SettingsChooseOpenGL(&settings) ? 1 : 0);

    CheckEither(form, ReadBool(settings, "r_fullscreen", true), SETUP_FULLSCREEN, SETUP_WINDOWED);
    int32_t width = 0;
    settings.GetInt("r_backBufferWidth", width);
    CheckEither(form, width != 800, SETUP_WIDTH_640, SETUP_WIDTH_800);
    int32_t bits = 0;
    settings.GetInt("r_colorBits", bits);
    CheckEither(form, bits != 16, SETUP_COLOUR_32, SETUP_COLOUR_16);
    CheckEither(form, ReadBool(settings, "r_hiQualityTextures", true), SETUP_TEXTURES_32, SETUP_TEXTURES_16);
    form.SetChecked(SETUP_ENABLE_AUDIO, !ReadBool(settings, "a_disableAudio", false));
    CheckEither(form, !ReadBool(settings, "i_forcedi5", false), SETUP_DIRECTINPUT_8, SETUP_DIRECTINPUT_5);
    form.SetChecked(SETUP_FORCE_Z_RELATIVE, ReadBool(settings, "i_fudgezrelative", false));
}

void WriteSetupFormToSettings(const CDialogForm& form, CDataTree& settings)
{
    settings.SetString("r_renderer", form.GetSelection(SETUP_RENDERER) == 1 ? "ogl" : "d3d");
    settings.SetBool("r_fullscreen", form.IsChecked(SETUP_FULLSCREEN));
    settings.SetInt("r_backBufferWidth", form.IsChecked(SETUP_WIDTH_800) ? 800 : 640);
    settings.SetInt("r_colorBits", form.IsChecked(SETUP_COLOUR_16) ? 16 : 32);
    settings.SetBool("r_hiQualityTextures", form.IsChecked(SETUP_TEXTURES_32));
    settings.SetBool("a_disableAudio", !form.IsChecked(SETUP_ENABLE_AUDIO));
    settings.SetBool("i_forcedi5", form.IsChecked(SETUP_DIRECTINPUT_5));
    settings.SetBool("i_fudgezrelative", form.IsChecked(SETUP_FORCE_Z_RELATIVE));
    settings.SetBool("a_force8bitSamples", false);
}

bool ShowSetupDialog(CDialogView& view, CDataTree*& settings)
{
    if (!settings)
        settings = new CDataTree();
    CDialogForm form = MakeSetupForm();
    ShowSettingsInSetupForm(*settings, form);
    for (;;)
    {
        switch (view.RunForm(form))
        {
        case SETUP_BUTTON_START:
            WriteSetupFormToSettings(form, *settings);
            return true;
        case SETUP_BUTTON_ADVANCED:
            ShowAdvancedDialog(view, *settings);
            break;
        default:
            return false; // "Quit" or the window closed
        }
    }
}

CDialogForm MakeAdvancedForm()
{
    CDialogForm form("advanced", "Advanced OpenGL Options", 440, 168);
    form.AddCheckBox(ADVANCED_DISABLE_CVA, 16, 16, "Disable Compiled Vertex Arrays");
    form.AddCheckBox(ADVANCED_SAFE_RENDER, 16, 48, "Safe Render Method");
    form.AddCheckBox(ADVANCED_ULTRA_SAFE_RENDER, 16, 80, "Ultra-safe Render Method");
    form.AddButton(ADVANCED_BUTTON_OK, 16, 124, 90, "OK", "ok");
    form.AddButton(ADVANCED_BUTTON_CANCEL, 122, 124, 110, "Cancel", "cancel");
    form.SetDefaultButton(ADVANCED_BUTTON_OK);
    form.SetCancelButton(ADVANCED_BUTTON_CANCEL);
    return form;
}

void ShowSettingsInAdvancedForm(const CDataTree& settings, CDialogForm& form)
{
    form.SetChecked(ADVANCED_DISABLE_CVA, ReadBool(settings, "r_disableCVA", false));
    form.SetChecked(ADVANCED_SAFE_RENDER, ReadBool(settings, "r_safeRenderMethod", false));
    form.SetChecked(ADVANCED_ULTRA_SAFE_RENDER, ReadBool(settings, "r_ultraSafeRenderMethod", false));
}

void WriteAdvancedFormToSettings(const CDialogForm& form, CDataTree& settings)
{
    settings.SetBool("r_disableCVA", form.IsChecked(ADVANCED_DISABLE_CVA));
    settings.SetBool("r_safeRenderMethod", form.IsChecked(ADVANCED_SAFE_RENDER));
    settings.SetBool("r_ultraSafeRenderMethod", form.IsChecked(ADVANCED_ULTRA_SAFE_RENDER));
}

void ShowAdvancedDialog(CDialogView& view, CDataTree& settings)
{
    CDialogForm form = MakeAdvancedForm();
    ShowSettingsInAdvancedForm(settings, form);
    if (view.RunForm(form) == ADVANCED_BUTTON_OK)
        WriteAdvancedFormToSettings(form, settings);
}
