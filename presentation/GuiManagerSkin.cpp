// Loading a skin: its texture, its definition, its fonts and its default sounds.

#include "presentation/GuiManager.h"

#include "core/Console.h"
#include "core/DataFile.h"
#include "core/DefinitionProblems.h"
#include "platform/Renderer.h"
#include "presentation/GuiSkinFile.h"

namespace
{
void Log(const char* text)
{
    if (g_console)
        g_console->Printf("%s", text);
}
} // namespace

bool CGuiManager::LoadSkin(const char* name)
{
    if (m_skin.texture >= 0)
        m_renderer.ReleaseTexture(m_skin.texture);
    m_skin = SGuiSkin();
    const std::string texture = GetGuiSkinTexturePath(name);
    int index = -1, width = 0, height = 0;
    if (!m_renderer.LoadTexture(texture.c_str(), true, 0, 0, 1, true, &index, &width, &height))
    {
        Log("Failed to load texture for UI skin");
        return false;
    }
    // Pieces are kept in texture units: a texture without pixels has none.
    SGuiSkinDefinition definition;
    CDefinitionProblems problems;
    CDataTree* tree = nullptr;
    bool loaded = width > 0 && height > 0 && LoadDataTree(GetGuiSkinDefinitionPath(name).c_str(), &tree) &&
                  ReadGuiSkinDefinition(*tree, definition, problems);
    FreeDataNode(&tree);
    if (loaded)
    {
        m_skin.texture = index;
        m_skin.invWidth = 1.0f / float(width);
        m_skin.invHeight = 1.0f / float(height);
        static_cast<SGuiSkinSizes&>(m_skin) = definition.sizes;
        for (int i = 0; i < GUI_PIECE_COUNT; ++i)
        {
            const SGuiSkinPiece& p = definition.pieces[i];
            m_skin.pieces[i] = SGuiUvRect{p.x * m_skin.invWidth, p.y * m_skin.invHeight, (p.x + p.w) * m_skin.invWidth,
                                          (p.y + p.h) * m_skin.invHeight};
        }
        loaded = LoadSkinFonts(definition);
    }
    if (!loaded)
    {
        Log("Entered generic fail block, parse error or failed to load .skin file");
        for (const SDefinitionProblem& problem : problems.GetAll())
            if (g_console)
                g_console->Printf("%s: %s", GetGuiSkinDefinitionPath(name).c_str(), problem.text.c_str());
        m_renderer.ReleaseTexture(index);
        m_skin = SGuiSkin();
        return false;
    }
    const EDefaultSound order[GUI_SKIN_SOUND_COUNT] = {SOUND_SELECT, SOUND_BACKOUT, SOUND_INCDEC, SOUND_NAVIGATE,
                                                      SOUND_ALERT};
    for (int i = 0; i < GUI_SKIN_SOUND_COUNT; ++i)
        SetDefaultSound(order[i], definition.sounds[i].c_str());
    return true;
}

bool CGuiManager::LoadSkinFonts(const SGuiSkinDefinition& skin)
{
    m_systemFont.Release();
    if (!m_systemFont.Load(m_renderer, skin.systemFont.c_str(), 0, 0, 0))
    {
        if (skin.systemFont == "system_font")
            Log("Failed to load system font!!");
        else if (g_console)
            g_console->Printf("Failed to load font - %s", skin.systemFont.c_str());
        return false;
    }
    for (int n = 0; n < FONT_COUNT; ++n)
    {
        const SGuiSkinFont& font = skin.fonts[n];
        m_fonts[n].Release();
        if (!font.named)
        {
            if (g_console)
                g_console->Printf("Failed to find font %d", n);
            continue;
        }
        if (!m_fonts[n].Load(m_renderer, font.name.c_str(), font.numberSpaceFixup, font.verticalSpaceFixup,
                             font.defaultVerticalFudge) &&
            g_console)
            g_console->Printf("Failed to load font - %s", font.name.c_str());
    }
    return true;
}
