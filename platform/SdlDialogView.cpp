#include "platform/SdlDialogView.h"

#include "core/DialogFormInput.h"
#include "platform/DialogFont.h"
#include "platform/MessageBox.h"

#include <SDL.h>
#include <cstdio>
#include <string>
#include <vector>

namespace
{
constexpr int PIXEL = 2;                                   // screen pixels per font pixel
constexpr int CELL_WIDTH = (DIALOG_GLYPH_WIDTH + 1) * PIXEL;  // 12
constexpr int GLYPH_HEIGHT = DIALOG_GLYPH_HEIGHT * PIXEL;     // 14
constexpr int BOX = 16;                                    // check box and radio size

const SDL_Color PAPER = {236, 233, 226, 255};
const SDL_Color INK = {20, 20, 20, 255};
const SDL_Color FIELD = {255, 255, 255, 255};
const SDL_Color EDGE = {110, 110, 110, 255};
const SDL_Color FOCUS = {40, 90, 200, 255};
const SDL_Color PRESSED = {200, 200, 200, 255};
const SDL_Color HIGHLIGHT = {40, 90, 200, 255};
const SDL_Color HIGHLIGHT_TEXT = {255, 255, 255, 255};

// One form in a window of its own until a button ends it.
class CFormWindow
{
public:
    explicit CFormWindow(CDialogForm& form) : m_form(form), m_input(form) {}
    ~CFormWindow() { Close(); }

    bool Open();
    int Run();

private:
    void Close();
    void Draw();
    void SetColour(const SDL_Color& colour);
    void FillRect(const SDL_Rect& rect, const SDL_Color& colour);
    void FrameRect(const SDL_Rect& rect, const SDL_Color& colour);
    void DrawText(int x, int y, const std::string& text, const SDL_Color& colour);
    void DrawControl(const SDialogControl& control, bool focused, bool pressed);
    void DrawComboList(const SDialogControl& combo);
    void OnKey(const SDL_Keysym& key);

    CDialogForm& m_form;
    CDialogFormInput m_input;
    SDL_Window* m_window = nullptr;
    SDL_Renderer* m_renderer = nullptr;
};

bool CFormWindow::Open()
{
    m_window = SDL_CreateWindow(m_form.GetCaption().c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                m_form.GetWidth(), m_form.GetHeight(), 0);
    if (!m_window)
        return false;
    m_renderer = SDL_CreateRenderer(m_window, -1, SDL_RENDERER_SOFTWARE);
    if (!m_renderer)
        return false;
    SDL_RaiseWindow(m_window);
    return true;
}

void CFormWindow::Close()
{
    if (m_renderer)
        SDL_DestroyRenderer(m_renderer);
    if (m_window)
        SDL_DestroyWindow(m_window);
    m_renderer = nullptr;
    m_window = nullptr;
}

int CFormWindow::Run()
{
    Draw();
    SDL_Event event;
    while (m_input.GetResult() == 0 && SDL_WaitEvent(&event))
    {
        switch (event.type)
        {
        case SDL_QUIT:
            m_input.OnClose();
            break;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_CLOSE)
                m_input.OnClose();
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (event.button.button == SDL_BUTTON_LEFT)
                m_input.OnMouseDown(event.button.x, event.button.y);
            break;
        case SDL_MOUSEBUTTONUP:
            if (event.button.button == SDL_BUTTON_LEFT)
                m_input.OnMouseUp(event.button.x, event.button.y);
            break;
        case SDL_KEYDOWN:
            OnKey(event.key.keysym);
            break;
        default:
            break;
        }
        Draw();
    }
    return m_input.GetResult() ? m_input.GetResult() : m_form.GetCancelButton();
}

void CFormWindow::SetColour(const SDL_Color& colour)
{
    SDL_SetRenderDrawColor(m_renderer, colour.r, colour.g, colour.b, colour.a);
}

void CFormWindow::FillRect(const SDL_Rect& rect, const SDL_Color& colour)
{
    SetColour(colour);
    SDL_RenderFillRect(m_renderer, &rect);
}

void CFormWindow::FrameRect(const SDL_Rect& rect, const SDL_Color& colour)
{
    SetColour(colour);
    SDL_RenderDrawRect(m_renderer, &rect);
}

void CFormWindow::DrawText(int x, int y, const std::string& text, const SDL_Color& colour)
{
    SetColour(colour);
    for (char character : text)
    {
        const char* const* rows = GetDialogGlyph(character);
        int top = y + GetDialogGlyphDrop(character) * PIXEL;
        for (int row = 0; row < DIALOG_GLYPH_HEIGHT; ++row)
        {
            for (int column = 0; column < DIALOG_GLYPH_WIDTH; ++column)
            {
                if (rows[row][column] != '#')
                    continue;
                SDL_Rect dot = {x + column * PIXEL, top + row * PIXEL, PIXEL, PIXEL};
                SDL_RenderFillRect(m_renderer, &dot);
            }
        }
        x += CELL_WIDTH;
    }
}

SDL_Rect ControlRect(const SDialogControl& control)
{
    return SDL_Rect {control.x, control.y, control.width, control.height};
}

SDL_Rect ComboItemRect(const SDialogControl& combo, int item)
{
    SDL_Rect rect;
    CDialogFormInput::GetComboItemRect(combo, item, rect.x, rect.y, rect.w, rect.h);
    return rect;
}

void CFormWindow::DrawControl(const SDialogControl& control, bool focused, bool pressed)
{
    SDL_Rect rect = ControlRect(control);
    int textY = control.y + (control.height - GLYPH_HEIGHT) / 2;
    switch (control.kind)
    {
    case EDialogControlKind::Label:
        DrawText(control.x, textY, control.text, INK);
        break;
    case EDialogControlKind::Button:
    {
        FillRect(rect, pressed ? PRESSED : FIELD);
        FrameRect(rect, EDGE);
        if (control.id == m_form.GetDefaultButton())
            FrameRect(SDL_Rect {rect.x - 1, rect.y - 1, rect.w + 2, rect.h + 2}, INK);
        int textWidth = static_cast<int>(control.text.size()) * CELL_WIDTH - PIXEL;
        DrawText(rect.x + (rect.w - textWidth) / 2, rect.y + (rect.h - GLYPH_HEIGHT) / 2, control.text, INK);
        if (focused)
            FrameRect(SDL_Rect {rect.x + 3, rect.y + 3, rect.w - 6, rect.h - 6}, FOCUS);
        break;
    }
    case EDialogControlKind::CheckBox:
    case EDialogControlKind::RadioButton:
    {
        SDL_Rect box = {control.x, control.y + (control.height - BOX) / 2, BOX, BOX};
        bool radio = control.kind == EDialogControlKind::RadioButton;
        if (radio)
        {
            // A round mark: rows of a circle.
            for (int dy = 0; dy < BOX; ++dy)
            {
                float fy = static_cast<float>(dy) - (BOX - 1) / 2.0f;
                for (int dx = 0; dx < BOX; ++dx)
                {
                    float fx = static_cast<float>(dx) - (BOX - 1) / 2.0f;
                    float d2 = fx * fx + fy * fy;
                    if (d2 <= 56.0f)
                    {
                        const SDL_Color& c = d2 >= 42.0f ? EDGE : (control.checked && d2 <= 9.0f ? INK : FIELD);
                        SetColour(c);
                        SDL_RenderDrawPoint(m_renderer, box.x + dx, box.y + dy);
                    }
                }
            }
        }
        else
        {
            FillRect(box, FIELD);
            FrameRect(box, EDGE);
            if (control.checked)
            {
                SetColour(INK);
                for (int t = 0; t < 2; ++t)
                {
                    SDL_RenderDrawLine(m_renderer, box.x + 3, box.y + 8 + t, box.x + 6, box.y + 11 + t);
                    SDL_RenderDrawLine(m_renderer, box.x + 6, box.y + 11 + t, box.x + 12, box.y + 4 + t);
                }
            }
        }
        DrawText(control.x + BOX + 8, textY, control.text, INK);
        if (focused)
            FrameRect(SDL_Rect {control.x + BOX + 4, control.y, control.width - BOX - 2, control.height}, FOCUS);
        break;
    }
    case EDialogControlKind::ComboBox:
    {
        FillRect(rect, FIELD);
        FrameRect(rect, focused ? FOCUS : EDGE);
        if (control.selection >= 0 && control.selection < static_cast<int>(control.items.size()))
            DrawText(rect.x + 6, textY, control.items[static_cast<size_t>(control.selection)], INK);
        // The drop-down arrow.
        SetColour(INK);
        int ax = rect.x + rect.w - 18;
        int ay = rect.y + rect.h / 2 - 2;
        for (int row = 0; row < 5; ++row)
            SDL_RenderDrawLine(m_renderer, ax + row, ay + row, ax + 9 - row, ay + row);
        break;
    }
    }
}

void CFormWindow::DrawComboList(const SDialogControl& combo)
{
    for (int item = 0; item < static_cast<int>(combo.items.size()); ++item)
    {
        SDL_Rect rect = ComboItemRect(combo, item);
        bool chosen = item == combo.selection;
        FillRect(rect, chosen ? HIGHLIGHT : FIELD);
        DrawText(rect.x + 6, rect.y + (rect.h - GLYPH_HEIGHT) / 2, combo.items[static_cast<size_t>(item)],
                 chosen ? HIGHLIGHT_TEXT : INK);
    }
    SDL_Rect all = ComboItemRect(combo, 0);
    all.h *= static_cast<int>(combo.items.size());
    FrameRect(all, EDGE);
}

void CFormWindow::Draw()
{
    SetColour(PAPER);
    SDL_RenderClear(m_renderer);
    const std::vector<SDialogControl>& controls = m_form.GetControls();
    for (size_t i = 0; i < controls.size(); ++i)
    {
        int index = static_cast<int>(i);
        DrawControl(controls[i], index == m_input.GetFocus(), index == m_input.GetPressedButton());
    }
    if (m_input.GetOpenCombo() >= 0)
        DrawComboList(controls[static_cast<size_t>(m_input.GetOpenCombo())]);
    SDL_RenderPresent(m_renderer);
}

void CFormWindow::OnKey(const SDL_Keysym& key)
{
    switch (key.sym)
    {
    case SDLK_TAB:
        m_input.OnKey((key.mod & KMOD_SHIFT) ? EDialogKey::ShiftTab : EDialogKey::Tab);
        break;
    case SDLK_ESCAPE:
        m_input.OnKey(EDialogKey::Escape);
        break;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        m_input.OnKey(EDialogKey::Enter);
        break;
    case SDLK_SPACE:
        m_input.OnKey(EDialogKey::Space);
        break;
    case SDLK_UP:
        m_input.OnKey(EDialogKey::Up);
        break;
    case SDLK_DOWN:
        m_input.OnKey(EDialogKey::Down);
        break;
    case SDLK_LEFT:
        m_input.OnKey(EDialogKey::Left);
        break;
    case SDLK_RIGHT:
        m_input.OnKey(EDialogKey::Right);
        break;
    default:
        break;
    }
}

// Forms of buttons only are asked as a message box.
int RunAsMessageBox(const CDialogForm& form)
{
    std::string text;
    std::vector<SDL_MessageBoxButtonData> buttons;
    for (const SDialogControl& control : form.GetControls())
    {
        if (control.kind == EDialogControlKind::Label)
            text += (text.empty() ? "" : "\n") + control.text;
        else
        {
            Uint32 flags = 0;
            if (control.id == form.GetDefaultButton())
                flags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
            if (control.id == form.GetCancelButton())
                flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
            buttons.push_back(SDL_MessageBoxButtonData {flags, control.id, control.text.c_str()});
        }
    }
    SDL_MessageBoxData data = {};
    data.flags = SDL_MESSAGEBOX_INFORMATION | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
    data.title = form.GetCaption().c_str();
    data.message = text.c_str();
    data.numbuttons = static_cast<int>(buttons.size());
    data.buttons = buttons.data();
    int pressed = -1;
    if (SDL_ShowMessageBox(&data, &pressed) != 0)
        return 0;
    return pressed >= 0 ? pressed : form.GetCancelButton(); // -1: the box was closed
}
} // namespace

int CSdlDialogView::RunForm(CDialogForm& form)
{
    if (!CanShowWindows() || SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
    {
        std::fprintf(stderr, "No display for the %s dialog: it answers as its default button\n",
                     form.GetCaption().c_str());
        return form.GetDefaultButton();
    }
    int result = 0;
    if (form.HasOnlyButtons())
        result = RunAsMessageBox(form);
    if (result == 0)
    {
        CFormWindow window(form);
        if (window.Open())
            result = window.Run();
        else
        {
            std::fprintf(stderr, "The %s dialog could not be shown (%s): it answers as its default button\n",
                         form.GetCaption().c_str(), SDL_GetError());
            result = form.GetDefaultButton();
        }
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return result;
}
