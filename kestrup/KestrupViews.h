#pragma once
// The two faces of the unpacker's dialog on a terminal: an interactive one with
// the log scrolling above a progress bar and the ten-stage picture, and a plain
// one for scripts (log lines only). Message boxes become messages on standard
// error with the same caption and text.

#include "kestrup/KestrupDlg.h"

#include <cstdio>
#include <memory>
#include <string>

// The log's line breaks ("\r\r\n", a soft break of the original log box) as "\n".
std::string ToTerminalText(const std::string& text);

// True when the program runs for a script: $KESTRUP_HEADLESS set (not "0"), or
// standard output is no terminal.
bool IsHeadlessRun();

std::unique_ptr<IKestrupView> CreateTerminalView(FILE* out, FILE* errors);
std::unique_ptr<IKestrupView> CreateHeadlessView(FILE* out, FILE* errors);
