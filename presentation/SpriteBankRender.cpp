// Drawing the planes: per plane its files in batches, then its groups, then its hook.

#include "presentation/SpriteBank.h"
#include "presentation/SpriteQuad.h"

#include "platform/Renderer.h"
#include "platform/VertexBuffer.h"

struct CSpriteBank::SBatch
{
    SScreenVertex* vertices = nullptr; // the locked buffer, null when none is locked
    int quads = 0;
    int texture = NO_TEXTURE;          // the batch key: texture and flash bit
    bool flash = false;
    int boundTexture = NO_TEXTURE;
    bool filter = false;
};

bool CSpriteBank::IsBlended(int32_t pixelFormat) const
{
    return pixelFormat == 1 || pixelFormat == 2 || (pixelFormat == 4 && m_renderer->GetSettings().hiQualityTextures);
}

void CSpriteBank::SetRenderState(int32_t pixelFormat, bool forGroup)
{
    const bool hiQuality = m_renderer->GetSettings().hiQualityTextures;
    switch (pixelFormat)
    {
    case 1:
        m_renderer->SetBlend(BLEND_ONE, BLEND_ONE);
        m_renderer->DisableAlphaTest();
        break;
    case 2:
        m_renderer->SetBlend(BLEND_SRC_ALPHA, BLEND_INV_SRC_ALPHA);
        if (forGroup)
            m_renderer->DisableAlphaTest();
        else
            m_renderer->SetAlphaTest(ALPHA_GREATER, 0.0f);
        break;
    case 4:
        if (hiQuality)
        {
            m_renderer->SetBlend(BLEND_SRC_ALPHA, BLEND_INV_SRC_ALPHA);
            m_renderer->DisableAlphaTest();
            break;
        }
        [[fallthrough]];
    case 3:
        m_renderer->DisableBlend();
        m_renderer->SetAlphaTest(ALPHA_GREATER_EQUAL, 0.9f);
        break;
    default:
        m_renderer->DisableBlend();
        m_renderer->DisableAlphaTest();
        break;
    }
}

void CSpriteBank::FillQuadContext(int plane, bool forGroup, SQuadContext& context) const
{
    const SDisplaySettings& settings = m_renderer->GetSettings();
    const float factor = m_planes[plane].m_movementFactor;
    context.cameraX = static_cast<float>(m_cameraX) * factor;
    context.cameraY = static_cast<float>(m_cameraY) * factor;
    context.depth = static_cast<float>(SPRITE_PLANE_COUNT - plane);
    context.screenWidth = static_cast<float>(settings.width);
    context.screenHeight = static_cast<float>(settings.height);
    context.virtualScaleX = m_scaleX;
    context.virtualScaleY = m_scaleY;
    // The vertex colour order tells the device kind: ARGB devices sample at pixel corners.
    context.colourIsArgb = m_renderer->IsColourArgb();
    context.halfPixelShift = context.colourIsArgb;
    context.snapBeforeScaling = forGroup;
}

bool CSpriteBank::Render()
{
    if (!m_renderer || !m_files)
        return true;
    const SDisplaySettings& settings = m_renderer->GetSettings();
    const float width = static_cast<float>(settings.width), height = static_cast<float>(settings.height);
    if (m_renderer->IsActive() || !settings.fullScreen)
    {
        m_renderer->SetOrtho2D(0.0f, 0.0f, width, height);
        for (int p = 0; p < SPRITE_PLANE_COUNT; ++p)
        {
            m_renderer->SetTextureModulate();
            m_renderer->EnableTexturing();
            DrawPlaneFiles(p);
            for (SSpriteGroup* group = m_planes[p].m_firstGroup; group; group = group->m_next)
                DrawGroup(*group);
            if (m_planes[p].m_drawHook)
                m_planes[p].m_drawHook(m_planes[p].m_hookValue, static_cast<float>(SPRITE_PLANE_COUNT - p));
        }
    }
    m_renderer->SetOrtho2D(0.0f, 0.0f, width, height);
    return true;
}

void CSpriteBank::DrawPlaneFiles(int plane)
{
    SSpritePlane& target = m_planes[plane];
    for (SSpriteFile* file = target.m_firstFile; file; file = file->m_planeNext[plane])
    {
        // A file with no instance left here leaves the plane after this walk.
        if (file->m_visible[plane].IsEmpty() && file->m_hidden[plane].IsEmpty())
        {
            file->m_markedForRemoval[plane] = true;
            continue;
        }
        if (file->m_visible[plane].IsEmpty())
            continue;
        if (target.m_noBlend && IsBlended(file->m_pixelFormat))
            continue;
        SetRenderState(file->m_pixelFormat, false);
        DrawFileBatches(*file, plane);
    }
    for (SSpriteFile* file = target.m_firstFile; file;)
    {
        SSpriteFile* next = file->m_planeNext[plane];
        if (file->m_markedForRemoval[plane])
            UnregisterFile(*file, plane);
        file = next;
    }
}

// Draws the batch's quads from the current buffer and moves on to the other buffer.
bool CSpriteBank::FlushBatch(SBatch& batch)
{
    CVertexBuffer* buffer = m_buffers[m_currentBuffer];
    buffer->Unlock();
    batch.vertices = nullptr;
    if (batch.texture != batch.boundTexture)
    {
        m_renderer->BindTexture(batch.texture, batch.filter);
        batch.boundTexture = batch.texture;
    }
    if (batch.flash)
        m_renderer->SetTextureColourFromVertex();
    else
        m_renderer->SetTextureModulate();
    buffer->BeginDraw();
    buffer->Draw(PRIMITIVE_LIST, batch.quads * 6);
    buffer->EndDraw();
    batch.quads = 0;
    m_currentBuffer ^= 1;
    return m_buffers[m_currentBuffer]->Lock(&batch.vertices);
}

// One file's visible list on one plane: instances sharing the first one's texture and
// flash bit in list order, then those of the next key, and so on, 100 quads a call.
void CSpriteBank::DrawFileBatches(SSpriteFile& file, int plane)
{
    SBatch batch;
    batch.filter = file.m_textureOption;
    if (!m_buffers[m_currentBuffer]->Lock(&batch.vertices))
        return;
    SQuadContext context;
    FillQuadContext(plane, false, context);
    context.halfFrameWidth = static_cast<float>(file.m_frameWidth >> 1);
    context.halfFrameHeight = static_cast<float>(file.m_frameHeight >> 1);
    const uint32_t frameCount = static_cast<uint32_t>(file.m_frames.size());
    const uint32_t pass = ++m_drawPass;

    SSpriteInstance* pending = file.m_visible[plane].m_first;
    while (pending && batch.vertices)
    {
        batch.texture = NO_TEXTURE;
        SSpriteInstance* nextPending = nullptr;
        bool keySet = false;
        for (SSpriteInstance* instance = pending; instance && batch.vertices; instance = instance->m_next)
        {
            if (instance->m_drawPass == pass)
                continue;
            // A frame the file does not have, or a page without a texture, draws nothing.
            int texture = NO_TEXTURE;
            if (instance->m_frame < frameCount)
                texture = file.m_textureIds[file.m_frames[instance->m_frame].m_page];
            if (texture == NO_TEXTURE)
            {
                instance->m_drawPass = pass;
                continue;
            }
            const bool flash = (instance->m_flags & SPRITE_FLASH) != 0;
            if (!keySet)
            {
                batch.texture = texture;
                batch.flash = flash;
                keySet = true;
            }
            if (texture != batch.texture || flash != batch.flash)
            {
                if (!nextPending)
                    nextPending = instance;
                continue;
            }
            instance->m_drawPass = pass;
            SScreenVertex corners[4];
            if (!BuildSpriteQuad(*instance, file.m_frames[instance->m_frame], context, corners))
                continue;
            SScreenVertex* out = batch.vertices + batch.quads * 6;
            out[0] = corners[0];
            out[1] = corners[1];
            out[2] = corners[2];
            out[3] = corners[2];
            out[4] = corners[1];
            out[5] = corners[3];
            if (++batch.quads == BATCH_QUADS)
                FlushBatch(batch);
        }
        if (batch.quads > 0 && batch.vertices)
            FlushBatch(batch);
        pending = nextPending;
    }
    if (batch.vertices)
        m_buffers[m_currentBuffer]->Unlock();
}

// Group members keep their list order whatever their files: one call a member, from
// 4-vertex quads in the first buffer, with corners welded to earlier ones.
void CSpriteBank::DrawGroup(SSpriteGroup& group)
{
    SSpriteInstance* member = group.m_members.m_first;
    while (member)
    {
        SScreenVertex* vertices = nullptr;
        if (!m_buffers[0]->Lock(&vertices))
            return;
        SQuadContext context;
        FillQuadContext(group.m_plane, true, context);
        SSpriteInstance* chunkStart = member;
        int quads = 0;
        for (; member && quads < GROUP_QUADS; member = member->m_next)
        {
            member->m_flags &= ~static_cast<uint32_t>(SPRITE_DRAWN);
            const SSpriteFile& file = *member->m_file;
            if (!member->IsVisible() || member->m_frame >= file.m_frames.size() ||
                file.m_textureIds[file.m_frames[member->m_frame].m_page] == NO_TEXTURE)
                continue;
            context.halfFrameWidth = static_cast<float>(file.m_frameWidth >> 1);
            context.halfFrameHeight = static_cast<float>(file.m_frameHeight >> 1);
            SScreenVertex* corners = vertices + quads * 4;
            if (!BuildSpriteQuad(*member, file.m_frames[member->m_frame], context, corners))
                continue;
            WeldQuadCorners(corners, vertices, quads * 4);
            member->m_flags |= SPRITE_DRAWN;
            ++quads;
        }
        m_buffers[0]->Unlock();
        DrawGroupQuads(chunkStart, member, quads);
    }
}

void CSpriteBank::DrawGroupQuads(SSpriteInstance* first, SSpriteInstance* end, int quads)
{
    if (quads == 0)
        return;
    CVertexBuffer* buffer = m_buffers[0];
    buffer->BeginDraw();
    int k = 0;
    for (SSpriteInstance* member = first; member != end; member = member->m_next)
    {
        if (!(member->m_flags & SPRITE_DRAWN))
            continue;
        const SSpriteFile& file = *member->m_file;
        SetRenderState(file.m_pixelFormat, true);
        m_renderer->BindTexture(file.m_textureIds[file.m_frames[member->m_frame].m_page], file.m_textureOption);
        if (member->m_flags & SPRITE_FLASH)
            m_renderer->SetTextureColourFromVertex();
        else
            m_renderer->SetTextureModulate();
        buffer->DrawIndexed(PRIMITIVE_LIST, 6, INDEX_16, &m_groupIndices[k * 6]);
        ++k;
    }
    buffer->EndDraw();
}
