#pragma once
// A failure after start-up that the game cannot go on from (the display cannot be
// set up again). The application shell installs the message box and notes that the
// program ends with a failing status; without it the message goes to the console and
// standard error. The caller then asks the game flow to quit.

using FatalErrorHandler = void (*)(const char* caption, const char* text);

// Null puts the default back.
void SetFatalErrorHandler(FatalErrorHandler handler);
void ReportFatalError(const char* caption, const char* text);
