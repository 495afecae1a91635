#pragma once
// Start-up's settings: the file or the default set, then the launcher and the
// set-up dialog when the player has not run the game before or asked for them.

class CDataTree;
class CDialogView;

// The settings file at `path`, or the default set when it cannot be read. The
// launcher is due when the file is missing or its "g_runonce" is missing or false.
CDataTree* LoadSettingsOrDefaults(const char* path, bool& launcherDue);

// The launcher, and the set-up dialog when the player asks for it. True when the
// game goes on (the tree then holds what the player chose); false when he quit.
bool RunStartupDialogs(CDialogView& view, CDataTree*& settings);

// The view that start-up shows its dialogs with: TESSAVAR_DIALOGS answers them
// without a window when it is set. The caller deletes it.
CDialogView* MakeStartupDialogView();
