#pragma once
// The options (screen 14): the window size, full screen, texture detail and colour
// depth, the sound and its output rate, and the effects and music levels, with the
// way to the controls screen.
//
// The levels act at once. A change of the display or the sound only marks it and
// enables Apply and Cancel: Apply hands the settings to the renderer and the audio
// system (COptions::Apply, which puts the previous display back when the new one
// cannot be set up), Cancel reads the settings in effect again. Should the display
// come back in no form at all, the program ends.

#include "frontend/FrontEndScreen.h"

class COptions;

class COptionsScreen : public CFrontEndScreen
{
public:
    static constexpr const char* LAYOUT = "data/frontend/options.txt";

    enum EControl : int
    {
        BACK = 14001,
        FULL_SCREEN = 14002,
        TEXTURES = 14003,
        COLOUR = 14004,
        SOUND = 14005,      // 0 off, else the output frequency id + 1
        EFFECTS = 14006,
        MUSIC = 14007,
        CONTROLS = 14008,
        APPLY = 14009,
        CANCEL = 14010,
        RESOLUTION = 14011, // 0 640 x 480, 1 800 x 600
        VOICE_LABEL = 14100,
        VOICE = 14101,
    };

    explicit COptionsScreen(CGameFlow& flow);

    void Show() override;
    void Hide() override;

protected:
    void HandleEvent(int32_t controlId, int32_t event, int32_t value) override;

private:
    COptions& GetOptions() const;
    // The controls from the options' settings and the audio system's levels.
    void FillControls();
    // The lists' choices into the options' settings.
    void ReadControls();
    void SetApplyEnabled(bool enabled);
    void SetLevels();
    void ApplyChanges();
    void CancelChanges();
    // Activating a setting moves the focus to the next one.
    void FocusNext(int32_t controlId);
    int GetSelection(int controlId) const;
    void SetSelection(int controlId, int selection);
};
