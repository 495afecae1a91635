#include "core/DataTree.h"
#include "core/SettingsWriter.h"
#include "platform/D3D8Renderer.h"

void CRenderer::ReadSettings(const CDataTree& tree)
{
    tree.GetBool("r_fullscreen", m_settings.fullScreen);
    if (tree.GetInt("r_backBufferWidth", m_settings.width))
        m_settings.height = m_settings.width == 800 ? 600 : 480; // the height is never stored
    tree.GetInt("r_colorBits", m_settings.colourBits);
    tree.GetInt("r_depthBits", m_settings.depthBits);
    tree.GetBool("r_hiQualityTextures", m_settings.hiQualityTextures);
    tree.GetBool("r_disableCVA", m_settings.disableCva);
    tree.GetBool("r_ultraSafeRenderMethod", m_settings.ultraSafeRenderMethod);
    tree.GetBool("r_safeRenderMethod", m_settings.safeRenderMethod);
    tree.GetBool("r_forcewindowed", m_settings.forceWindowed);
    if (m_settings.forceWindowed)
        m_settings.fullScreen = false;
    m_pending = m_settings;
}

void CRenderer::WriteSettings(CSettingsWriter& writer, CDataTree& tree)
{
    // A window made only while the game was inactive does not change the setting.
    const bool fullScreen = m_settings.fullScreen || m_wasFullScreen;
    writer.WriteBool(tree, "r_fullscreen", &fullScreen);
    writer.WriteInt(tree, "r_backBufferWidth", &m_settings.width);
    writer.WriteInt(tree, "r_colorBits", &m_settings.colourBits);
    writer.WriteInt(tree, "r_depthBits", &m_settings.depthBits);
    writer.WriteBool(tree, "r_hiQualityTextures", &m_settings.hiQualityTextures);
    writer.WriteBool(tree, "r_disableCVA", &m_settings.disableCva);
    writer.WriteBool(tree, "r_ultraSafeRenderMethod", &m_settings.ultraSafeRenderMethod);
    writer.WriteBool(tree, "r_safeRenderMethod", &m_settings.safeRenderMethod);
    writer.WriteBool(tree, "r_forcewindowed", &m_settings.forceWindowed);
}

void CD3D8Renderer::ReadSettings(const CDataTree& tree)
{
    CRenderer::ReadSettings(tree);
    m_forceSingleStage = true;
    tree.GetBool("r_forcesinglestage", m_forceSingleStage);
}

void CD3D8Renderer::WriteSettings(CSettingsWriter& writer, CDataTree& tree)
{
    CRenderer::WriteSettings(writer, tree);
    writer.WriteBool(tree, "r_forcesinglestage", &m_forceSingleStage);
    writer.WriteBool(tree, "r_runOnce", &m_settings.runOnce);
}
