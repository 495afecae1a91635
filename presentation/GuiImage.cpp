#include "presentation/GuiImage.h"

#include "platform/Renderer.h"
#include "presentation/GuiDraw.h"
#include "presentation/GuiManager.h"

#include <algorithm>

CGuiImageTexture::~CGuiImageTexture()
{
    Release();
}

bool CGuiImageTexture::Load(CGuiManager& manager, const std::string& file, int kind)
{
    Release();
    m_manager = &manager;
    int index = -1, width = 0, height = 0;
    if (file.empty() || !manager.GetRenderer().LoadTexture(file.c_str(), false, 0, 0, kind, true, &index, &width,
                                                           &height))
        return false;
    m_texture = index;
    m_width = width;
    m_height = height;
    return true;
}

void CGuiImageTexture::Release()
{
    if (m_texture >= 0 && m_manager)
        m_manager->GetRenderer().ReleaseTexture(m_texture);
    m_texture = -1;
    m_width = m_height = 0;
}

// ---- static image ---------------------------------------------------------------

CGuiStaticImage::CGuiStaticImage(const SGuiStaticImageDesc& desc)
    : m_file(desc.imageName), m_alphaTest(desc.alphaTest), m_alphaBlend(desc.alphaBlend)
{
    SetFromDesc(desc);
    std::copy(desc.uvs, desc.uvs + 4, m_uvs);
}

bool CGuiStaticImage::Initialise()
{
    // A picture that is not there leaves the control without one (the screen may set
    // another later); only the size it would have given stays 0.
    if (!m_file.empty() && SetImage(m_file.c_str()))
    {
        if (m_rect.w == 0)
            m_rect.w = m_image.GetWidth();
        if (m_rect.h == 0)
            m_rect.h = m_image.GetHeight();
    }
    return true;
}

bool CGuiStaticImage::SetImage(const char* file)
{
    if (!m_manager)
        return false;
    m_file = file ? file : "";
    const int kind = m_alphaTest ? 2 : (m_alphaBlend ? 1 : 0);
    return m_image.Load(*m_manager, m_file, kind);
}

bool CGuiStaticImage::Draw(float z)
{
    if (!m_visible || !m_manager || m_image.GetTexture() < 0)
        return true;
    return DrawGuiTexture(m_manager->GetRenderer(), m_image.GetTexture(), GetScreenRect(), m_uvs,
                          m_enabled ? GUI_COLOUR_WHITE : GUI_COLOUR_DISABLED, z, m_alphaBlend, m_alphaTest);
}

// ---- image button ---------------------------------------------------------------

CGuiImageButton::CGuiImageButton(const SGuiImageButtonDesc& desc)
    : CGuiPushControl(desc.stick), m_file(desc.imageName), m_alphaTest(desc.alphaTest), m_alphaBlend(desc.alphaBlend),
      m_bordered(desc.bordered)
{
    SetFromDesc(desc);
    std::copy(desc.uvs, desc.uvs + 4, m_uvs);
}

bool CGuiImageButton::Initialise()
{
    const int kind = m_alphaBlend ? 1 : (m_alphaTest ? 2 : 0);
    if (!m_file.empty() && m_image.Load(*m_manager, m_file, kind))
    {
        const SGuiSkin& skin = m_manager->GetSkin();
        if (m_rect.w == 0)
            m_rect.w = m_image.GetWidth() + (m_bordered ? 2 * skin.buttonBorderWidth : 0);
        if (m_rect.h == 0)
            m_rect.h = m_image.GetHeight() + (m_bordered ? 2 * skin.buttonBorderHeight : 0);
    }
    return true;
}

bool CGuiImageButton::PointerClick(const SGuiPoint&)
{
    return Click(false);
}

bool CGuiImageButton::Draw(float z)
{
    if (!m_visible || !m_manager)
        return true;
    const uint32_t colour = GetDrawColour();
    SGuiRect rect = GetScreenRect();
    bool drawn = true;
    if (m_bordered)
    {
        const SGuiSkin& skin = m_manager->GetSkin();
        drawn = m_manager->DrawFrame(rect, GetWindowFramePieces(0), skin.buttonBorderWidth, skin.buttonBorderHeight,
                                     colour, z, false, true, false);
        rect = SGuiRect{rect.x + skin.buttonBorderWidth, rect.y + skin.buttonBorderHeight,
                        rect.w - 2 * skin.buttonBorderWidth, rect.h - 2 * skin.buttonBorderHeight};
    }
    if (m_image.GetTexture() >= 0)
        drawn = DrawGuiTexture(m_manager->GetRenderer(), m_image.GetTexture(), rect, m_uvs, colour, z, m_alphaBlend,
                               m_alphaTest) &&
                drawn;
    return drawn;
}
