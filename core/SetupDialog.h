#pragma once
// The "Initial Setup" dialog and its "Advanced OpenGL Options": what each control
// shows from the settings tree and what each writes back when confirmed.

#include "core/DialogForm.h"

class CDataTree;

// Control ids of "Initial Setup".
enum
{
    SETUP_BUTTON_START = 1,
    SETUP_BUTTON_QUIT = 2,
    SETUP_BUTTON_ADVANCED = 3,
    SETUP_RENDERER = 1002,       // combo: "Direct3D", "OpenGL"
    SETUP_FULLSCREEN = 1031,
    SETUP_WINDOWED = 1030,
    SETUP_WIDTH_640 = 1033,
    SETUP_WIDTH_800 = 1032,
    SETUP_COLOUR_32 = 1035,
    SETUP_COLOUR_16 = 1034,
    SETUP_TEXTURES_32 = 1041,
    SETUP_TEXTURES_16 = 1040,
    SETUP_ENABLE_AUDIO = 1028,
    SETUP_DIRECTINPUT_8 = 1047,
    SETUP_DIRECTINPUT_5 = 1046,
    SETUP_FORCE_Z_RELATIVE = 1048,
};

// Control ids of "Advanced OpenGL Options".
enum
{
    ADVANCED_BUTTON_OK = 1,
    ADVANCED_BUTTON_CANCEL = 2,
    ADVANCED_DISABLE_CVA = 1000,
    ADVANCED_SAFE_RENDER = 1001,
    ADVANCED_ULTRA_SAFE_RENDER = 1002,
};

CDialogForm MakeSetupForm();
// Sets the controls from the tree; a missing "r_renderer" is added as "d3d".
void ShowSettingsInSetupForm(CDataTree& settings, CDialogForm& form);
// What "Start Game!" writes.
void WriteSetupFormToSettings(const CDialogForm& form, CDataTree& settings);
// True for "Start Game!", false for "Quit" or a closed window. The tree is edited in
// place; without one a new tree is made (and given to the caller either way).
bool ShowSetupDialog(CDialogView& view, CDataTree*& settings);

CDialogForm MakeAdvancedForm();
void ShowSettingsInAdvancedForm(const CDataTree& settings, CDialogForm& form);
void WriteAdvancedFormToSettings(const CDialogForm& form, CDataTree& settings);
// "OK" writes the three keys; "Cancel" or closing writes nothing.
void ShowAdvancedDialog(CDialogView& view, CDataTree& settings);
