#include "platform/RendererFactory.h"

#include "platform/D3D8Renderer.h"

#include <new>

bool IsRendererKindAvailable(int kind)
{
    return kind == RENDERER_D3D8;
}

CRenderer* MakeRenderer(int kind)
{
    if (kind == RENDERER_D3D8)
        return new (std::nothrow) CD3D8Renderer();
    return nullptr;
}
