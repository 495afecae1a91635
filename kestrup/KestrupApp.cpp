#include "kestrup/KestrupApp.h"

#include "kestrup/KestrupViews.h"

#include <csignal>
#include <cstdio>

namespace
{
std::atomic<bool> s_cancelRequested{false};

// Ctrl-C is the dialog's Cancel button: the dialog decides whether it closes.
extern "C" void RequestCancel(int)
{
    s_cancelRequested = true;
}
} // namespace

int CKestrupApp::InitInstance(const SKestrupOptions& options)
{
    std::unique_ptr<IKestrupView> view = IsHeadlessRun() ? CreateHeadlessView(stdout, stderr)
                                                         : CreateTerminalView(stdout, stderr);
    struct sigaction action = {};
    action.sa_handler = &RequestCancel;
    sigemptyset(&action.sa_mask);
    struct sigaction previous = {};
    sigaction(SIGINT, &action, &previous);

    int status = 1;
    {
        CKestrupDlg dialog(*view, options);
        if (dialog.OnInitDialog())
            status = dialog.RunModal(&s_cancelRequested);
    }
    sigaction(SIGINT, &previous, nullptr);
    return status;
}
