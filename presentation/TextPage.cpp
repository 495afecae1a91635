#include "presentation/TextPage.h"

#include "platform/AudioSystem.h"
#include "platform/Renderer.h"
#include "presentation/GuiDraw.h"
#include "presentation/GuiManager.h"
#include "presentation/GuiText.h"

#include <algorithm>

namespace
{
// The conversation set's pieces after its eight frame pieces.
constexpr int CONVERSATION_BACKGROUND = GUI_PIECE_CONVERSATION + 8;
constexpr int CONVERSATION_FLASHY = GUI_PIECE_CONVERSATION + 9;
} // namespace

CTextPage::CTextPage(CGuiManager& gui) : m_gui(gui) {}

CTextPage::~CTextPage()
{
    ReleaseImages();
}

void CTextPage::ReleaseImages()
{
    for (const SImage& image : m_images)
        if (image.texture >= 0)
            m_gui.GetRenderer().ReleaseTexture(image.texture);
    m_images.clear();
}

bool CTextPage::Build(const STextPageFileDesc& desc, std::string& reason)
{
    ReleaseImages();
    m_pages.clear();
    for (const STextPageImageDesc& source : desc.images)
    {
        SImage image;
        image.id = source.id;
        image.alignLeft = source.alignLeft;
        if (!m_gui.GetRenderer().LoadTexture(source.file.c_str(), false, 0, 0, TEXTURE_ALPHA, true, &image.texture,
                                             &image.width, &image.height))
        {
            reason = "picture " + std::to_string(source.id) + " \"" + source.file + "\" does not load";
            ReleaseImages();
            return false;
        }
        m_images.push_back(image);
    }
    m_fontIndex = desc.fontIndex;
    m_x = desc.x;
    m_y = desc.y;
    m_width = desc.width;
    m_imageHeight = desc.imageHeight;
    m_textHeight = desc.textHeight;
    const CFont& font = m_gui.GetFontOrSystem(m_fontIndex);
    const int step = font.GetGlyphHeight(u'W') + font.GetVerticalSpaceFixup();
    m_visibleLines = step > 0 ? std::max(0, m_textHeight / step - 1) : 0;
    const int wrapWidth = m_width - 2 * m_gui.GetSkin().conversationBorderWidth;
    for (const STextPageSource& source : desc.pages)
    {
        SPage page;
        if (source.fromTable)
        {
            page.lines = WrapGuiText(source.text, font, wrapWidth);
            page.voice = source.voice;
        }
        else
            page.lines = source.lines;
        m_pages.push_back(std::move(page));
    }
    return true;
}

void CTextPage::Show(int handle, TextPageClosedCallback callback, uint32_t userValue)
{
    if (m_showing)
        return;
    m_page = 0;
    m_line = 0;
    m_typed = 0;
    m_complete = false;
    m_image = -1;
    m_typingName = false;
    m_nameTyped = 0;
    m_handle = handle;
    m_callback = callback;
    m_userValue = userValue;
    m_showing = true;
}

const CTextPage::SImage* CTextPage::FindImage(int32_t id) const
{
    for (const SImage& image : m_images)
        if (image.id == id)
            return &image;
    return nullptr;
}

void CTextPage::ApplyImageTag(int32_t image)
{
    if (image == -1)
        m_image = -1;
    else if (FindImage(image))
        m_image = image;
}

bool CTextPage::TakeTag()
{
    const std::u16string& line = m_pages[m_page].lines[m_line];
    if (m_typed >= line.size())
        return false;
    size_t length = 0;
    int32_t image = 0;
    switch (FindTextPageTag(line.c_str() + m_typed, line.size() - m_typed, length, image))
    {
    case TEXT_PAGE_PILOT_TAG:
        m_typingName = true;
        m_nameTyped = 0;
        break;
    case TEXT_PAGE_IMAGE_TAG:
        ApplyImageTag(image);
        break;
    default:
        return false;
    }
    m_typed += length;
    return true;
}

void CTextPage::Step(const std::u16string& pilotName)
{
    for (;;)
    {
        const std::vector<std::u16string>& lines = m_pages[m_page].lines;
        if (m_line >= static_cast<int>(lines.size()))
        {
            m_complete = true;
            return;
        }
        if (m_typingName)
        {
            if (m_nameTyped < pilotName.size())
            {
                ++m_nameTyped;
                return;
            }
            m_typingName = false;
        }
        if (TakeTag())
            continue;
        if (m_typed < lines[m_line].size())
        {
            ++m_typed;
            return;
        }
        ++m_line;
        m_typed = 0;
    }
}

void CTextPage::CompleteAtOnce()
{
    const std::vector<std::u16string>& lines = m_pages[m_page].lines;
    for (; m_line < static_cast<int>(lines.size()); ++m_line, m_typed = 0)
        while (m_typed < lines[m_line].size())
            if (!TakeTag())
                ++m_typed;
    m_typed = 0;
    m_typingName = false;
    m_complete = true;
}

void CTextPage::Turn(uint32_t& keyTime, uint32_t now)
{
    const bool last = m_page + 1 >= static_cast<int>(m_pages.size());
    if (last && g_audio)
        g_audio->StopVoiceNow();
    keyTime = now;
    ++m_page;
    m_line = 0;
    m_typed = 0;
    m_complete = false;
    m_typingName = false;
    m_nameTyped = 0;
    if (!last)
        return;
    m_page = 0;
    m_showing = false;
    // The callback may show, load or free pages, this one too: nothing follows it.
    if (m_callback)
        m_callback(m_userValue, m_handle);
}

void CTextPage::Update(const STextPageInput& input, uint32_t& keyTime, const std::u16string& pilotName)
{
    if (!m_showing)
        return;
    const bool pressed = input.select || input.leftButton || input.rightButton;
    const bool ready = input.now - keyTime > KEY_DELAY_MS;
    if (m_complete)
    {
        if (pressed && ready)
            Turn(keyTime, input.now);
        return;
    }
    const SPage& page = m_pages[m_page];
    if (m_line == 0 && m_typed == 0 && !m_typingName && !page.voice.empty() && g_audio)
    {
        g_audio->StopVoiceNow();
        g_audio->PlayVoice(page.voice.c_str());
    }
    if (pressed && ready)
    {
        keyTime = input.now;
        CompleteAtOnce();
    }
    else
        Step(pilotName);
}

const std::vector<std::u16string>& CTextPage::GetLines(int page) const
{
    static const std::vector<std::u16string> none;
    return page >= 0 && page < static_cast<int>(m_pages.size()) ? m_pages[page].lines : none;
}

std::u16string CTextPage::ShowLine(const std::u16string& line, size_t count, const std::u16string& pilotName) const
{
    std::u16string out;
    for (size_t i = 0; i < count && i < line.size();)
    {
        size_t length = 0;
        int32_t image = 0;
        const ETextPageTag tag = FindTextPageTag(line.c_str() + i, line.size() - i, length, image);
        if (tag == TEXT_PAGE_PILOT_TAG)
            out += m_typingName && i + length == count ? pilotName.substr(0, m_nameTyped) : pilotName;
        else if (tag == TEXT_PAGE_NO_TAG)
        {
            out += line[i];
            length = 1;
        }
        i += length;
    }
    return out;
}

std::vector<std::u16string> CTextPage::GetShownLines(const std::u16string& pilotName) const
{
    std::vector<std::u16string> shown;
    if (!m_showing)
        return shown;
    const std::vector<std::u16string>& lines = m_pages[m_page].lines;
    if (lines.empty())
        return shown;
    const int last = static_cast<int>(lines.size()) - 1;
    const int current = std::min(m_line, last);
    const size_t typed = m_line > last ? lines[last].size() : m_typed;
    for (int i = std::max(0, current - m_visibleLines); i < current; ++i)
        shown.push_back(ShowLine(lines[i], lines[i].size(), pilotName));
    shown.push_back(ShowLine(lines[current], typed, pilotName));
    return shown;
}

void CTextPage::Draw(float z, const std::u16string& pilotName) const
{
    if (!m_showing)
        return;
    const SGuiSkin& skin = m_gui.GetSkin();
    const int borderW = skin.conversationBorderWidth;
    const int borderH = skin.conversationBorderHeight;
    const int top = m_y + m_imageHeight;
    m_gui.DrawSkinPiece(SGuiRect{m_x + borderW, top + borderH, m_width, m_textHeight},
                        CONVERSATION_BACKGROUND, GUI_COLOUR_WHITE, z, true, false);

    const CFont& font = m_gui.GetFontOrSystem(m_fontIndex);
    const int step = font.GetGlyphHeight(u'W') + font.GetVerticalSpaceFixup();
    int y = top + borderH;
    for (const std::u16string& line : GetShownLines(pilotName))
    {
        font.DrawTextWide(static_cast<float>(m_x + borderW), static_cast<float>(y), z, line.c_str(),
                          GUI_COLOUR_WHITE);
        y += step;
    }

    if (const SImage* image = FindImage(m_image))
    {
        const int x = image->alignLeft ? m_x : m_x + m_width - 2 * borderW - image->width;
        const float uvs[4] = {0.0f, 0.0f, 1.0f, 1.0f};
        DrawGuiTexture(m_gui.GetRenderer(), image->texture, SGuiRect{x, m_y, image->width, image->height}, uvs,
                       GUI_COLOUR_WHITE, z, true, false);
    }

    const SGuiFramePieces pieces{GUI_PIECE_CONVERSATION + 0, GUI_PIECE_CONVERSATION + 1, GUI_PIECE_CONVERSATION + 2,
                                 GUI_PIECE_CONVERSATION + 3, GUI_PIECE_CONVERSATION + 4, GUI_PIECE_CONVERSATION + 5,
                                 GUI_PIECE_CONVERSATION + 6, GUI_PIECE_CONVERSATION + 7, CONVERSATION_BACKGROUND};
    m_gui.DrawFrame(SGuiRect{m_x, top, m_width + 2 * borderW, m_textHeight + 2 * borderH}, pieces, borderW, borderH,
                    GUI_COLOUR_WHITE, z, false, true, false);

    if (m_complete)
    {
        const int flashyW = skin.conversationFlashyWidth;
        const int flashyH = skin.conversationFlashyHeight;
        m_gui.DrawSkinPiece(SGuiRect{m_x + borderW + (m_width - flashyW) / 2, top + borderH + m_textHeight - flashyH,
                                     flashyW, flashyH},
                            CONVERSATION_FLASHY, m_gui.GetHighlightColour(), z, true, false);
    }
}
