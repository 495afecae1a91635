#include "core/Settings.h"

#include "core/DataTree.h"

#include <strings.h>

bool IsOpenGLRendererName(const char* text)
{
    return text && strncasecmp(text, "ogl", 3) == 0;
}

bool SettingsChooseOpenGL(const CDataTree* settings)
{
    char renderer[16] = {};
    return settings && settings->GetString("r_renderer", renderer, sizeof(renderer)) && IsOpenGLRendererName(renderer);
}

CDataTree* MakeDefaultSettings()
{
    CDataTree* tree = new CDataTree();
    tree->AddString("r_renderer", "d3d");
    tree->AddBool("r_fullscreen", true);
    tree->AddInt("r_backBufferWidth", 640);
    tree->AddInt("r_colorBits", 32);
    tree->AddInt("r_depthBits", 24);
    tree->AddBool("r_hiQualityTextures", true);
    tree->AddBool("r_disableCVA", false);
    tree->AddBool("r_ultraSafeRenderMethod", false);
    tree->AddBool("r_safeRenderMethod", false);
    tree->AddBool("r_forcewindowed", false);
    tree->AddBool("r_forcesinglestage", true);
    tree->AddBool("a_disableAudio", false);
    tree->AddBool("a_force8bitSamples", false);
    tree->AddInt("a_outputFrequencyId", 1);
    tree->AddInt("a_maxSimultaneousSamples", 32);
    tree->AddInt("a_masterfxvolume", 6);
    tree->AddInt("a_mastermusicvolume", 6);
    tree->AddInt("a_mastervoicevolume", 0);
    tree->AddBool("i_forcedi5", false);
    tree->AddBool("i_fudgezrelative", false);
    return tree;
}
