#pragma once
// Vertices kept by the caller across frames, made and given back through the renderer
// (CRenderer::CreateVertexBuffer / DestroyVertexBuffer).

#include "platform/ScreenVertex.h"

class CVertexBuffer
{
public:
    virtual ~CVertexBuffer() = default;
    // The storage, for filling; false when already locked.
    virtual bool Lock(SScreenVertex** vertices) = 0;
    virtual bool Unlock() = 0;
    // Draws by index (kind EIndexKind); every index must name a vertex of the buffer.
    virtual bool DrawIndexed(int primitive, int indexCount, int indexKind, const void* indices) = 0;
    // Draws the first vertexCount vertices.
    virtual bool Draw(int primitive, int vertexCount) = 0;
    virtual bool IsLocked() = 0;
    virtual void BeginDraw() = 0;
    virtual void EndDraw() = 0;
};
