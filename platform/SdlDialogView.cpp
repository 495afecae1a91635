#include "platform/SdlDialogView.h"

#include "core/DialogFormInput.h"
#include "platform/DialogFont.h"
#include "platform/MessageBox.h"
#include "platform/SdlVideo.h"

#include <SDL.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

// The one window of the dialogs, kept from form to form: a key held down when one
// form ends keeps its state in the same window, so its auto-repeats are known for
// what they are and never act in the next form.
struct SDialogWindow
{
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    std::vector<SDL_Scancode> heldKeys; // keys that ended an earlier form, until released
};

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

// One form in the dialogs' window until a button ends it.
class CFormWindow
{
public:
    CFormWindow(CDialogForm& form, SDialogWindow& window)
        : m_form(form), m_input(form), m_window(window), m_renderer(window.renderer)
    {
    }

    int Run();

private:
    void Draw();
    void SetColour(const SDL_Color& colour);
    void FillRect(const SDL_Rect& rect, const SDL_Color& colour);
    void FrameRect(const SDL_Rect& rect, const SDL_Color& colour);
    void DrawText(int x, int y, const std::string& text, const SDL_Color& colour);
    void DrawControl(const SDialogControl& control, bool focused, bool pressed);
    void DrawComboList(const SDialogControl& combo);
    void OnKeyDown(const SDL_KeyboardEvent& key);
    void OnKey(const SDL_Keysym& key);

    CDialogForm& m_form;
    CDialogFormInput m_input;
    SDialogWindow& m_window;
    SDL_Renderer* m_renderer;
};

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
            OnKeyDown(event.key);
            break;
        case SDL_KEYUP:
        {
            std::vector<SDL_Scancode>& held = m_window.heldKeys;
            held.erase(std::remove(held.begin(), held.end(), event.key.keysym.scancode), held.end());
            break;
        }
        default:
            break;
        }
        Draw();
    }
    return m_input.GetResult() ? m_input.GetResult() : m_form.GetCancelButton();
}

// A form takes only fresh presses: an auto-repeat, or a key still held from the press
// that ended the form before, does nothing.
void CFormWindow::OnKeyDown(const SDL_KeyboardEvent& key)
{
    std::vector<SDL_Scancode>& held = m_window.heldKeys;
    if (key.repeat || std::find(held.begin(), held.end(), key.keysym.scancode) != held.end())
        return;
    OnKey(key.keysym);
    if (m_input.GetResult() != 0)
        held.push_back(key.keysym.scancode);
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

} // namespace

CSdlDialogView::CSdlDialogView() = default;

CSdlDialogView::~CSdlDialogView()
{
    if (!m_window)
        return;
    if (m_window->renderer)
        SDL_DestroyRenderer(m_window->renderer);
    if (m_window->window)
        SDL_DestroyWindow(m_window->window);
    ReleaseSdlVideo();
}

int CSdlDialogView::RunForm(CDialogForm& form)
{
    if (!CanShowWindows())
    {
        std::fprintf(stderr, "No display for the %s dialog: it answers as its default button\n",
                     form.GetCaption().c_str());
        return form.GetDefaultButton();
    }
    if (!m_window)
    {
        if (!AcquireSdlVideo())
        {
            std::fprintf(stderr, "The %s dialog answers as its default button\n", form.GetCaption().c_str());
            return form.GetDefaultButton();
        }
        m_window.reset(new SDialogWindow());
    }
    SDialogWindow& shown = *m_window;
    // The drawing surface follows the window's size: it is made anew for each form.
    if (shown.renderer)
        SDL_DestroyRenderer(shown.renderer);
    shown.renderer = nullptr;
    if (!shown.window)
        shown.window = SDL_CreateWindow(form.GetCaption().c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                        form.GetWidth(), form.GetHeight(), 0);
    else
    {
        SDL_SetWindowTitle(shown.window, form.GetCaption().c_str());
        int width = 0, height = 0;
        SDL_GetWindowSize(shown.window, &width, &height);
        if (width != form.GetWidth() || height != form.GetHeight())
        {
            SDL_SetWindowSize(shown.window, form.GetWidth(), form.GetHeight());
            SDL_SetWindowPosition(shown.window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
        }
    }
    if (shown.window)
        shown.renderer = SDL_CreateRenderer(shown.window, -1, SDL_RENDERER_SOFTWARE);
    if (!shown.renderer)
    {
        std::fprintf(stderr, "The %s dialog could not be shown (%s): it answers as its default button\n",
                     form.GetCaption().c_str(), SDL_GetError());
        return form.GetDefaultButton();
    }
    SDL_ShowWindow(shown.window);
    SDL_RaiseWindow(shown.window);
    CFormWindow window(form, shown);
    return window.Run();
}
