#pragma once
// One loaded text-page file (TextPageFile.h): its pages of lines, typed out one
// character a frame like a typewriter over the game, with a picture above the text
// and a spoken line per page. Select or a mouse button completes a page at once;
// once it is complete, the next press turns it, and after the last page the file
// stops showing and its close callback runs. Presses count only when more than
// 500 ms have passed since the last one that acted, on any page.
//
// Typing, one step a frame: tags at the typing position take no step ("[p_name]"
// starts typing the pilot's name, "[n]" shows picture n, "[-1]" takes the picture
// away; a number the picture list lacks is passed over, and a "[" that does not end
// as a tag is text); then one character of the name, or else of the line, shows. A
// line typed to its end gives way to the next; the page is complete at the first
// step that finds nothing left. Completing at once shows every line and the picture
// the page's last picture tag leaves.

#include "presentation/TextPageFile.h"

#include <cstdint>
#include <string>
#include <vector>

class CGuiManager;

// What turns pages in a frame: the select action (held or down), the mouse buttons,
// and the GUI's frame time.
struct STextPageInput
{
    bool select = false;
    bool leftButton = false;
    bool rightButton = false;
    uint32_t now = 0;
};

// Runs after the last page of a file: (user value, the file's handle).
using TextPageClosedCallback = void (*)(uint32_t userValue, int handle);

class CTextPage
{
public:
    static constexpr uint32_t KEY_DELAY_MS = 500;

    explicit CTextPage(CGuiManager& gui);
    ~CTextPage();
    CTextPage(const CTextPage&) = delete;
    CTextPage& operator=(const CTextPage&) = delete;

    // Loads the pictures (a picture that does not load fails the build, reason says
    // which) and wraps the string-table pages to the text's width.
    bool Build(const STextPageFileDesc& desc, std::string& reason);
    // Page 0, line 0, nothing typed, no picture, showing; nothing while it shows.
    void Show(int handle, TextPageClosedCallback callback, uint32_t userValue);
    bool IsShowing() const { return m_showing; }
    // One frame; keyTime is the time of the last press that acted (shared by all
    // pages). May run the close callback, as its last action.
    void Update(const STextPageInput& input, uint32_t& keyTime, const std::u16string& pilotName);
    // Text, picture and frame in GUI coordinates at the depth, while it shows.
    void Draw(float z, const std::u16string& pilotName) const;

    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    int GetPageIndex() const { return m_page; }
    int GetLineIndex() const { return m_line; }
    size_t GetTypedCount() const { return m_typed; }
    bool IsPageComplete() const { return m_complete; }
    // The picture shown (its number in the file), -1 for none.
    int32_t GetImageId() const { return m_image; }
    int GetVisibleLineCount() const { return m_visibleLines; }
    const std::vector<std::u16string>& GetLines(int page) const;
    // The lines drawn now, oldest first, as they read (tags as they show).
    std::vector<std::u16string> GetShownLines(const std::u16string& pilotName) const;

private:
    struct SPage
    {
        std::vector<std::u16string> lines;
        std::string voice;
    };
    struct SImage
    {
        int32_t id = 0;
        int texture = -1;
        int width = 0;
        int height = 0;
        bool alignLeft = false;
    };

    void ReleaseImages();
    void Step(const std::u16string& pilotName);
    void CompleteAtOnce();
    // Applies the tag at the typing position; false when there is none.
    bool TakeTag();
    void ApplyImageTag(int32_t image);
    void Turn(uint32_t& keyTime, uint32_t now);
    // The line as it shows with `count` units typed; the name stands for "[p_name]",
    // only `nameShown` of it for a tag that ends at count while the name is typed.
    std::u16string ShowLine(const std::u16string& line, size_t count, const std::u16string& pilotName) const;
    const SImage* FindImage(int32_t id) const;

    CGuiManager& m_gui;
    std::vector<SPage> m_pages;
    std::vector<SImage> m_images;
    int m_fontIndex = 1;
    int m_x = 0;
    int m_y = 0;
    int m_width = 0;
    int m_imageHeight = 0;
    int m_textHeight = 0;
    int m_visibleLines = 0;

    int m_page = 0;
    int m_line = 0;
    size_t m_typed = 0;
    bool m_complete = false;
    bool m_showing = false;
    int32_t m_image = -1;
    bool m_typingName = false;
    size_t m_nameTyped = 0;
    int m_handle = -1;
    TextPageClosedCallback m_callback = nullptr;
    uint32_t m_userValue = 0;
};
