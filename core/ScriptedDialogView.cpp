#include "core/ScriptedDialogView.h"

#include <cstdio>
#include <strings.h>

namespace
{
std::string Trim(const std::string& text)
{
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}
} // namespace

CScriptedDialogView::CScriptedDialogView(const char* script)
{
    std::string text = script ? script : "";
    size_t start = 0;
    while (start <= text.size())
    {
        size_t comma = text.find(',', start);
        if (comma == std::string::npos)
            comma = text.size();
        std::string entry = Trim(text.substr(start, comma - start));
        size_t colon = entry.find(':');
        if (colon != std::string::npos)
            m_entries.emplace_back(Trim(entry.substr(0, colon)), Trim(entry.substr(colon + 1)));
        else if (!entry.empty())
            std::fprintf(stderr, "TESSAVAR_DIALOGS: '%s' is not dialog:answer\n", entry.c_str());
        start = comma + 1;
    }
    m_used.assign(m_entries.size(), false);
}

int CScriptedDialogView::RunForm(CDialogForm& form)
{
    for (size_t i = 0; i < m_entries.size(); ++i)
    {
        if (m_used[i] || strcasecmp(m_entries[i].first.c_str(), form.GetName().c_str()) != 0)
            continue;
        m_used[i] = true;
        const std::string& answer = m_entries[i].second;
        m_history.emplace_back(form.GetName(), answer);
        for (const SDialogControl& control : form.GetControls())
        {
            if (control.kind == EDialogControlKind::Button && strcasecmp(control.answer.c_str(), answer.c_str()) == 0)
                return control.id;
        }
        std::fprintf(stderr, "TESSAVAR_DIALOGS: the %s dialog has no answer '%s'; it is closed\n",
                     form.GetName().c_str(), answer.c_str());
        return form.GetCancelButton();
    }
    std::fprintf(stderr, "TESSAVAR_DIALOGS: no answer left for the %s dialog; it is closed\n",
                 form.GetName().c_str());
    m_history.emplace_back(form.GetName(), std::string());
    return form.GetCancelButton();
}
