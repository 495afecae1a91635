#include "core/app/SpriteBankStartup.h"

#include "platform/Renderer.h"
#include "presentation/SpriteBank.h"

#include <new>

bool StartSpriteBank(const char*& failure)
{
    g_spriteBank = new (std::nothrow) CSpriteBank();
    if (!g_spriteBank)
    {
        failure = "Error during startup - code 0x8000000d";
        return false;
    }
    if (!g_spriteBank->Init(g_renderer))
    {
        failure = "Error during startup - code 0x8000000e";
        return false;
    }
    return true;
}

void StopSpriteBank()
{
    if (!g_spriteBank)
        return;
    g_spriteBank->Shutdown();
    delete g_spriteBank;
    g_spriteBank = nullptr;
}

void DrawSpriteBank(float scrollX, float scrollY)
{
    if (!g_spriteBank)
        return;
    // Whole units, truncated toward zero.
    g_spriteBank->SetCameraPosition(static_cast<int32_t>(scrollX), static_cast<int32_t>(scrollY));
    g_spriteBank->Render();
}
