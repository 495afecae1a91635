#pragma once
// Answers the set-up dialogs from a script instead of showing them, for automated
// runs with no display. The script is a comma-separated list of "dialog:answer"
// entries; each dialog takes its own entries in order, e.g.
// "launcher:settings,setup:advanced,advanced:ok,setup:ok". A dialog with no entry
// left, or an answer that names none of its buttons, is closed.

#include "core/DialogForm.h"

#include <string>
#include <utility>
#include <vector>

class CScriptedDialogView : public CDialogView
{
public:
    explicit CScriptedDialogView(const char* script);

    int RunForm(CDialogForm& form) override;

    // Dialog names and answers in the order they were consumed.
    const std::vector<std::pair<std::string, std::string>>& GetHistory() const { return m_history; }

private:
    std::vector<std::pair<std::string, std::string>> m_entries;
    std::vector<bool> m_used;
    std::vector<std::pair<std::string, std::string>> m_history;
};
