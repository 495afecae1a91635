#pragma once
// The settings file written at an orderly end: a fresh tree of what each device
// reports, so keys that nothing writes any more are dropped.

// Writes "%s/tessavar/Tessavar.cfg"; false when it could not be written, which the
// console says with the file's path and the system's reason.
bool SaveSettingsFile();
