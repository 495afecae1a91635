#pragma once
// Web pages the front end opens in the player's browser: the hints page and the
// online score page. They go through one opener (the desktop's, xdg-open) that tests
// replace.

#include <string>

constexpr const char* HINTS_PAGE = "https://tessavar.invalid/hints";
constexpr const char* SCORE_PAGE = "https://tessavar.invalid/scores";

// False when the address could not be handed over.
using WebPageOpener = bool (*)(const char* address);
// Null puts the desktop's opener back.
void SetWebPageOpener(WebPageOpener opener);
bool OpenWebPage(const char* address);

// The score page with the pilot's score code: "<page>?score=<CODE>&exe=1", the code
// upper-cased. Once per program run: a second call does nothing and gives false. A
// full-screen game drops to a window first; the caller flushes the controls.
bool SubmitScoreOnline(const std::string& scoreCode, const char* page = SCORE_PAGE);
// Tests: the next call may open the page again.
void ResetScoreSubmission();
