#include "frontend/WebPages.h"

#include "platform/Renderer.h"
#include "utility/source/QelShellPaths.h"

#include <cctype>

namespace
{
WebPageOpener s_opener = nullptr;
bool s_scoreSubmitted = false;
} // namespace

void SetWebPageOpener(WebPageOpener opener)
{
    s_opener = opener;
}

bool OpenWebPage(const char* address)
{
    if (!address || !*address)
        return false;
    return s_opener ? s_opener(address) : OpenWithShell(address);
}

bool SubmitScoreOnline(const std::string& scoreCode, const char* page)
{
    if (s_scoreSubmitted)
        return false;
    s_scoreSubmitted = true;
    std::string code;
    for (char c : scoreCode)
        code.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
    const std::string address = std::string(page ? page : SCORE_PAGE) + "?score=" + code + "&exe=1";
    // The browser must be seen: a full-screen game goes to a window first.
    if (g_renderer && g_renderer->GetSettings().fullScreen)
    {
        g_renderer->GetPendingSettings() = g_renderer->GetSettings();
        g_renderer->GetPendingSettings().fullScreen = false;
        g_renderer->ResetDisplay();
    }
    return OpenWebPage(address.c_str());
}

void ResetScoreSubmission()
{
    s_scoreSubmitted = false;
}
