#pragma once
// ALSA, which SDL may load to look for a sound card, writes its own failures straight
// to standard error: eight lines on every machine without a card. They go to the
// debug output instead (TESSAVAR_DEBUG shows them); the console still says which
// sound device started, or that the game runs silent.
void RouteAlsaMessagesToDebugOutput();
