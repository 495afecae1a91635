#pragma once
// The loading picture: shown over whatever the screen holds while start-up or a
// change between flight and the front end does its work, and kept up for at least
// two seconds of real time so that it never merely flickers.

#include <cstdint>

// Loads "data/frontend/loading.spr" the first time, shows it on plane 19 at (300, 240)
// with the loading text right-aligned to x = 415 at y = 290 in the GUI's system font,
// hides the GUI's pointer and draws one whole frame at once.
void ShowLoadingScreen();
// Waits until the picture has been up for two seconds, hides it and shows the pointer
// again. Nothing when it is not shown.
void HideLoadingScreen();
bool IsLoadingScreenShown();
// Gives the picture back to the sprite bank (before the bank goes).
void ReleaseLoadingScreen();

constexpr uint32_t LOADING_SCREEN_MIN_MS = 2000;
constexpr uint32_t LOADING_TEXT_ID = 0x7a000004;
