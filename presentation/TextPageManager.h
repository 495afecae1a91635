#pragma once
// The process-wide owner of the loaded text-page files (g_textPages): 128 slots, a
// file's handle being its slot, the pilot's name that "[p_name]" stands for, and the
// error code of the last refused request. Made at start-up after the game; each
// frame Update advances every page that shows, and the pages draw as the hook of
// sprite-bank plane 17. While any page shows, the world, the effects and the game
// clock stand still.

#include "presentation/TextPage.h"

#include <cstdint>
#include <memory>
#include <string>

class CGuiManager;
class CSpriteBank;

class CTextPageManager
{
public:
    static constexpr int SLOT_COUNT = 128;
    static constexpr int DRAW_PLANE = 17;

    enum EError
    {
        ERROR_NONE = 0,
        ERROR_NOT_LOADED = 1, // a handle that is not a loaded page
        ERROR_UNREADABLE = 4, // a page file that cannot be read
    };

    explicit CTextPageManager(CGuiManager& gui);
    ~CTextPageManager();
    CTextPageManager(const CTextPageManager&) = delete;
    CTextPageManager& operator=(const CTextPageManager&) = delete;

    // Reads and builds the file into the lowest free slot. False when every slot is
    // taken, the file cannot be read (error 4) or the page cannot be built (the
    // reason is kept, and said on the console); the slot stays free then.
    bool LoadPage(const char* file, int language, int& handle);
    // Starts the file's first page unless it shows already. False (error 1) for a
    // handle that is not a loaded page.
    bool ShowPage(int handle, TextPageClosedCallback callback, uint32_t userValue);
    // False (error 1 for a handle that is not a loaded page) unless it shows.
    bool IsPageShowing(int handle);
    bool IsAnyPageShowing() const;
    // Once a frame: every showing page types, completes or turns.
    void Update(const STextPageInput& input);
    // Draws the showing pages as the hook of plane 17.
    void InstallDrawCallback(CSpriteBank& bank);
    // Frees every page.
    void Destroy();
    void Draw(float z) const;

    void SetPilotName(const std::u16string& name) { m_pilotName = name; }
    const std::u16string& GetPilotName() const { return m_pilotName; }
    int GetErrorCode() const { return m_error; }
    const std::string& GetLoadFailure() const { return m_loadFailure; }
    // The loaded page of the handle, or null.
    CTextPage* GetPage(int handle) const;
    uint32_t GetKeyTime() const { return m_keyTime; }

private:
    static void DrawHook(uint32_t userValue, float depth);
    bool FailLoad(const char* file, const std::string& reason);

    CGuiManager& m_gui;
    std::u16string m_pilotName;
    int m_error = ERROR_NONE;
    std::unique_ptr<CTextPage> m_slots[SLOT_COUNT];
    uint32_t m_keyTime = 0;
    std::string m_loadFailure;
};

extern CTextPageManager* g_textPages;
