#pragma once
// The renderer kinds the program can make: kind 0 draws on the software device, kind 1
// through OpenGL.

class CRenderer;

enum ERendererKind : int
{
    RENDERER_D3D8 = 0,
    RENDERER_OPENGL = 1,
};

bool IsRendererKindAvailable(int kind);
// A new, unopened renderer of the kind, or null when the kind is not available.
CRenderer* MakeRenderer(int kind);

// Tests put a maker of their own in front of the real one; null restores it.
using RendererMaker = CRenderer* (*)(int kind);
void SetRendererMaker(RendererMaker maker);
