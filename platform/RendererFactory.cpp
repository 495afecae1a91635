#include "platform/RendererFactory.h"

#include "platform/D3D8Renderer.h"
#include "platform/OpenGLRenderer.h"

#include <new>

namespace
{
RendererMaker s_maker = nullptr;
} // namespace

void SetRendererMaker(RendererMaker maker)
{
    s_maker = maker;
}

bool IsRendererKindAvailable(int kind)
{
    return kind == RENDERER_D3D8 || kind == RENDERER_OPENGL;
}

CRenderer* MakeRenderer(int kind)
{
    if (s_maker)
        return s_maker(kind);
    if (kind == RENDERER_D3D8)
        return new (std::nothrow) CD3D8Renderer();
    if (kind == RENDERER_OPENGL)
        return new (std::nothrow) COpenGLRenderer();
    return nullptr;
}
