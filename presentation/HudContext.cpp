#include "presentation/HudContext.h"

#include "platform/Renderer.h"

namespace
{
const CHudContext s_noGame;
const CHudContext* s_context = &s_noGame;
} // namespace

void InstallHudContext(const CHudContext* context)
{
    s_context = context ? context : &s_noGame;
}

const CHudContext& GetHudContext()
{
    return *s_context;
}

void GetHudScreenSize(float& width, float& height)
{
    width = 640.0f;
    height = 480.0f;
    if (!g_renderer)
        return;
    width = static_cast<float>(g_renderer->GetSettings().width);
    height = static_cast<float>(g_renderer->GetSettings().height);
}
