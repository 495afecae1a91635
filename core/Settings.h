#pragma once
// The player's technical settings, "Tessavar.cfg" in the user folder: a data tree
// whose keys carry their owner's prefix (r_ renderer, a_ audio, i_ input, g_ game).
// Start-up reads it (or makes the default set); each device reads its own keys.

class CDataTree;

constexpr const char* SETTINGS_FILE_NAME = "Tessavar.cfg";

// The one rule for "r_renderer", used by start-up and the set-up dialog alike: the
// first three characters "ogl" in any case choose OpenGL, anything else (and no
// value) the other kind.
bool IsOpenGLRendererName(const char* text);
bool SettingsChooseOpenGL(const CDataTree* settings);

// The set made when no file exists. "g_runonce" is absent, so the launcher shows.
CDataTree* MakeDefaultSettings();
