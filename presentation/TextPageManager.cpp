#include "presentation/TextPageManager.h"

#include "core/Console.h"
#include "core/DataFile.h"
#include "core/DefinitionProblems.h"
#include "core/StringTable.h"
#include "presentation/SpriteBank.h"

#include <new>

CTextPageManager* g_textPages = nullptr;

CTextPageManager::CTextPageManager(CGuiManager& gui) : m_gui(gui) {}

CTextPageManager::~CTextPageManager()
{
    Destroy();
}

bool CTextPageManager::FailLoad(const char* file, const std::string& reason)
{
    m_loadFailure = std::string("The text page ") + file + ": " + reason;
    if (g_console)
        g_console->Printf("%s", m_loadFailure.c_str());
    return false;
}

bool CTextPageManager::LoadPage(const char* file, int language, int& handle)
{
    handle = -1;
    int slot = 0;
    while (slot < SLOT_COUNT && m_slots[slot])
        ++slot;
    if (slot == SLOT_COUNT)
        return FailLoad(file, "all 128 pages are loaded");
    CDataTree* tree = nullptr;
    if (!LoadDataTree(file, &tree))
    {
        m_error = ERROR_UNREADABLE;
        return FailLoad(file, "cannot be read");
    }
    STextPageFileDesc desc;
    CDefinitionProblems problems;
    const bool read = ReadTextPageFile(*tree, language, g_stringTable, desc, problems);
    FreeDataNode(&tree);
    if (!read)
        return FailLoad(file, problems.Describe(file));
    std::unique_ptr<CTextPage> page(new (std::nothrow) CTextPage(m_gui));
    std::string reason;
    if (!page)
        return FailLoad(file, "no memory");
    if (!page->Build(desc, reason))
        return FailLoad(file, reason);
    m_slots[slot] = std::move(page);
    handle = slot;
    return true;
}

CTextPage* CTextPageManager::GetPage(int handle) const
{
    return handle >= 0 && handle < SLOT_COUNT ? m_slots[handle].get() : nullptr;
}

bool CTextPageManager::ShowPage(int handle, TextPageClosedCallback callback, uint32_t userValue)
{
    CTextPage* page = GetPage(handle);
    if (!page)
    {
        m_error = ERROR_NOT_LOADED;
        return false;
    }
    page->Show(handle, callback, userValue);
    return true;
}

bool CTextPageManager::IsPageShowing(int handle)
{
    CTextPage* page = GetPage(handle);
    if (!page)
    {
        m_error = ERROR_NOT_LOADED;
        return false;
    }
    return page->IsShowing();
}

bool CTextPageManager::IsAnyPageShowing() const
{
    for (const std::unique_ptr<CTextPage>& page : m_slots)
        if (page && page->IsShowing())
            return true;
    return false;
}

void CTextPageManager::Update(const STextPageInput& input)
{
    // A close callback may load, show or free pages: each slot is read afresh.
    for (int slot = 0; slot < SLOT_COUNT; ++slot)
        if (CTextPage* page = m_slots[slot].get())
            page->Update(input, m_keyTime, m_pilotName);
}

void CTextPageManager::Draw(float z) const
{
    for (const std::unique_ptr<CTextPage>& page : m_slots)
        if (page)
            page->Draw(z, m_pilotName);
}

void CTextPageManager::DrawHook(uint32_t, float depth)
{
    if (g_textPages)
        g_textPages->Draw(depth);
}

void CTextPageManager::InstallDrawCallback(CSpriteBank& bank)
{
    bank.SetDrawHook(DRAW_PLANE, &DrawHook, 0);
}

void CTextPageManager::Destroy()
{
    for (std::unique_ptr<CTextPage>& page : m_slots)
        page.reset();
}
