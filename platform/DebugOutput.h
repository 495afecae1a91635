#pragma once
// Diagnostic text that is meant for a developer, not the player (the console is the
// player's channel). Silent unless TESSAVAR_DEBUG is set, then on standard error;
// tests install a sink to see it.

using DebugOutputSink = void (*)(const char* text);

void DebugOutput(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Replaces the sink (null restores the default); gives the previous one.
DebugOutputSink SetDebugOutputSink(DebugOutputSink sink);
