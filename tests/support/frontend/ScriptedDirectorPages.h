#pragma once
// The sequence director's pages and chat boxes in a test: pages are known by file
// name, shown one at a time until the test turns them away, and boxes wait for the
// test's OK. Files named missing never load; a box of a missing file never shows.

#include "frontend/DirectorPages.h"

#include <set>
#include <string>
#include <vector>

class CScriptedDirectorPages : public CDirectorPages
{
public:
    int LoadPage(const char* file) override
    {
        if (m_missing.count(file))
            return -1;
        m_files.push_back(file);
        return static_cast<int>(m_files.size()) - 1;
    }
    bool ShowPage(int handle) override
    {
        if (handle < 0 || handle >= static_cast<int>(m_files.size()))
            return false;
        m_shown.push_back(m_files[static_cast<size_t>(handle)]);
        m_showing = handle;
        return true;
    }
    bool IsPageShowing(int handle) const override { return handle >= 0 && handle == m_showing; }
    void ReleasePages() override
    {
        m_files.clear();
        m_showing = -1;
    }
    bool ShowChatBox(const char* file) override
    {
        if (m_missing.count(file))
            return false;
        m_boxes.push_back(file);
        m_boxWaiting = true;
        return true;
    }
    bool IsChatBoxAcknowledged() const override { return !m_boxWaiting; }
    void CloseChatBox() override { m_boxWaiting = false; }

    // ---- the test's side ----------------------------------------------------------
    void SetMissing(const std::string& file) { m_missing.insert(file); }
    // The page on show, "" for none.
    std::string GetShowingPage() const
    {
        return m_showing >= 0 ? m_files[static_cast<size_t>(m_showing)] : std::string();
    }
    void ClosePage() { m_showing = -1; }
    bool IsBoxWaiting() const { return m_boxWaiting; }
    void PressOk() { m_boxWaiting = false; }
    const std::vector<std::string>& GetShownPages() const { return m_shown; }
    const std::vector<std::string>& GetShownBoxes() const { return m_boxes; }

private:
    std::set<std::string> m_missing;
    std::vector<std::string> m_files;
    std::vector<std::string> m_shown;
    std::vector<std::string> m_boxes;
    int m_showing = -1;
    bool m_boxWaiting = false;
};
