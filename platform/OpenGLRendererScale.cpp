// Desktop full screen on OpenGL: the game draws its back buffer's size into the bottom-left
// corner of a window that covers the desktop, and the finished frame is scaled over the
// whole window here, as the software device's presentation does.
#include "platform/OpenGLRenderer.h"

namespace
{
int PowerOfTwoAtLeast(int value)
{
    int size = 1;
    while (size < value && size < (1 << 14))
        size <<= 1;
    return size;
}
} // namespace

void COpenGLRenderer::ReleaseScaleTexture()
{
    if (m_scaleTexture && m_gameWindow.HasGlContext())
        m_gl.DeleteTextures(1, &m_scaleTexture);
    m_scaleTexture = 0;
    m_scaleTextureWidth = m_scaleTextureHeight = 0;
}

void COpenGLRenderer::PresentScaled()
{
    const int width = m_settings.width, height = m_settings.height;
    int windowWidth = 0, windowHeight = 0;
    m_gameWindow.GetGlDrawableSize(windowWidth, windowHeight);
    if (!m_gameWindow.HasGlContext() || width <= 0 || height <= 0 || windowWidth <= 0 || windowHeight <= 0 ||
        (windowWidth == width && windowHeight == height))
        return;

    const int textureWidth = PowerOfTwoAtLeast(width), textureHeight = PowerOfTwoAtLeast(height);
    if (!m_scaleTexture || textureWidth != m_scaleTextureWidth || textureHeight != m_scaleTextureHeight)
    {
        ReleaseScaleTexture();
        m_gl.GenTextures(1, &m_scaleTexture);
        m_gl.BindTexture(gl::TEXTURE_2D, m_scaleTexture);
        m_gl.TexImage2D(gl::TEXTURE_2D, 0, GLint(gl::RGBA8), textureWidth, textureHeight, 0, gl::RGBA,
                        gl::UNSIGNED_BYTE, nullptr);
        // Nearest texels, as the software device scales its frame.
        m_gl.TexParameteri(gl::TEXTURE_2D, gl::TEXTURE_MIN_FILTER, GLint(gl::NEAREST));
        m_gl.TexParameteri(gl::TEXTURE_2D, gl::TEXTURE_MAG_FILTER, GLint(gl::NEAREST));
        m_gl.TexParameteri(gl::TEXTURE_2D, gl::TEXTURE_WRAP_S, GLint(m_clampMode));
        m_gl.TexParameteri(gl::TEXTURE_2D, gl::TEXTURE_WRAP_T, GLint(m_clampMode));
        m_scaleTextureWidth = textureWidth;
        m_scaleTextureHeight = textureHeight;
    }
    m_gl.BindTexture(gl::TEXTURE_2D, m_scaleTexture);
    m_gl.CopyTexSubImage2D(gl::TEXTURE_2D, 0, 0, 0, 0, 0, width, height);

    GLint depthTest = 0;
    m_gl.GetIntegerv(gl::DEPTH_TEST, &depthTest);
    m_gl.Disable(gl::DEPTH_TEST);
    m_gl.Disable(gl::BLEND);
    m_gl.Disable(gl::ALPHA_TEST);
    m_gl.Enable(gl::TEXTURE_2D);
    m_gl.TexEnvi(gl::TEXTURE_ENV, gl::TEXTURE_ENV_MODE, GLint(gl::REPLACE));
    m_gl.Viewport(0, 0, windowWidth, windowHeight);
    // Window pixels, y down as in the letterbox.
    LoadProjection(false, 0.0f, float(windowWidth), float(windowHeight), 0.0f, -1.0f, 1.0f);
    m_gl.ClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    m_gl.Clear(gl::COLOR_BUFFER_BIT);

    const SLetterbox box = ComputeLetterbox(windowWidth, windowHeight, width, height);
    const float left = float(box.x), right = float(box.x + box.width);
    const float top = float(box.y), bottom = float(box.y + box.height);
    // The copy's row 0 is the frame's bottom row.
    const float u = float(width) / float(textureWidth), v = float(height) / float(textureHeight);
    m_gl.Begin(gl::TRIANGLE_STRIP);
    m_gl.TexCoord2f(0.0f, v);
    m_gl.Vertex4f(left, top, 0.0f, 1.0f);
    m_gl.TexCoord2f(u, v);
    m_gl.Vertex4f(right, top, 0.0f, 1.0f);
    m_gl.TexCoord2f(0.0f, 0.0f);
    m_gl.Vertex4f(left, bottom, 0.0f, 1.0f);
    m_gl.TexCoord2f(u, 0.0f);
    m_gl.Vertex4f(right, bottom, 0.0f, 1.0f);
    m_gl.End();

    // The state the game's drawing left, as the renderer's cache describes it.
    m_gl.BindTexture(gl::TEXTURE_2D, m_boundName);
    if (!m_textureEnabled)
        m_gl.Disable(gl::TEXTURE_2D);
    m_gl.TexEnvi(gl::TEXTURE_ENV, gl::TEXTURE_ENV_MODE, GLint(m_envMode));
    if (m_blendOn)
        m_gl.Enable(gl::BLEND);
    if (m_alphaTestOn)
        m_gl.Enable(gl::ALPHA_TEST);
    if (depthTest)
        m_gl.Enable(gl::DEPTH_TEST);
    ResetViewport();
    SetOrtho2D(0.0f, 0.0f, float(width), float(height));
}
