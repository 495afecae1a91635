#pragma once
// The renderer kinds the program can make. Kind 0 draws on the software device; kind 1
// (OpenGL) is offered only once that renderer exists in this build.

class CRenderer;

enum ERendererKind : int
{
    RENDERER_D3D8 = 0,
    RENDERER_OPENGL = 1,
};

bool IsRendererKindAvailable(int kind);
// A new, unopened renderer of the kind, or null when the kind is not available.
CRenderer* MakeRenderer(int kind);
