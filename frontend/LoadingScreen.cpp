#include "frontend/LoadingScreen.h"

#include "core/RealTimeClock.h"
#include "frontend/FrontEndScreen.h"
#include "platform/Renderer.h"
#include "presentation/GuiManager.h"
#include "presentation/SpriteBank.h"

namespace
{
constexpr const char* LOADING_SPRITE = "data/frontend/loading.spr";
constexpr int LOADING_PLANE = 19;
constexpr float LOADING_X = 300.0f;
constexpr float LOADING_Y = 240.0f;
constexpr float TEXT_RIGHT = 415.0f;
constexpr float TEXT_Y = 290.0f;

CSpriteBank* s_bank = nullptr;
int s_file = -1;
SSpriteInstance* s_instance = nullptr;
bool s_shown = false;
uint32_t s_shownAt = 0;

void LoadPicture()
{
    // A picture of a sprite bank that has gone with its instances is forgotten.
    if (s_bank && s_bank != g_spriteBank)
    {
        s_instance = nullptr;
        s_file = -1;
        s_bank = nullptr;
    }
    if (s_bank || !g_spriteBank)
        return;
    s_bank = g_spriteBank;
    if (!s_bank->LoadFile(LOADING_SPRITE, true, s_file))
    {
        s_file = -1;
        return;
    }
    if (!s_bank->CreateInstance(LOADING_PLANE, s_file, s_instance))
        s_instance = nullptr;
    if (s_instance)
    {
        s_instance->m_x = LOADING_X;
        s_instance->m_y = LOADING_Y;
        s_instance->m_flags |= SPRITE_VIRTUAL;
    }
}

void DrawFrame()
{
    if (!g_renderer)
        return;
    g_renderer->BeginScene();
    if (!g_renderer->CanDraw())
        return;
    if (g_spriteBank)
    {
        // The picture is placed in screen units whatever the camera says.
        g_spriteBank->SetCameraPosition(0, 0);
        g_spriteBank->Render();
    }
    if (g_gui)
    {
        CFont& font = g_gui->GetSystemFont();
        std::u16string text = LookUpText(LOADING_TEXT_ID);
        const float width = static_cast<float>(font.MeasureTextWide(text.c_str()));
        font.DrawDataTextWide(TEXT_RIGHT - width, TEXT_Y, 0.0f, text.c_str(), 0xFFFFFFFF);
    }
    g_renderer->EndScene();
}
} // namespace

void ShowLoadingScreen()
{
    LoadPicture();
    if (s_instance)
        s_instance->SetVisible(true);
    if (g_gui && !s_shown)
        g_gui->ShowMouseCursor(false);
    s_shown = true;
    DrawFrame();
    s_shownAt = GetScreenTime();
}

void HideLoadingScreen()
{
    if (!s_shown)
        return;
    const uint32_t due = s_shownAt + LOADING_SCREEN_MIN_MS;
    const uint32_t now = GetScreenTime();
    if (!HasTimeCome(now, due))
        GetRealTimeClock().Sleep(due - now);
    if (s_instance)
        s_instance->SetVisible(false);
    if (g_gui)
        g_gui->ShowMouseCursor(true);
    s_shown = false;
}

bool IsLoadingScreenShown()
{
    return s_shown;
}

void ReleaseLoadingScreen()
{
    if (s_bank)
    {
        if (s_instance)
            s_bank->DestroyInstance(s_instance);
        if (s_file >= 0)
            s_bank->ReleaseFile(s_file);
    }
    s_instance = nullptr;
    s_file = -1;
    s_bank = nullptr;
    s_shown = false;
}
