#include "platform/GlApi.h"

#include <cstring>
#include <string>
#include <strings.h>

const char* const g_glRequiredNames[GL_REQUIRED_ENTRY_POINTS] = {
    "glAlphaFunc",        "glArrayElement",      "glBegin",            "glBindTexture",      "glBlendFunc",
    "glClear",            "glClearColor",        "glClearDepth",       "glClearStencil",     "glColor3f",
    "glColor4f",          "glColor4ub",          "glColorMask",        "glColorPointer",     "glCopyTexImage1D",
    "glCopyTexImage2D",   "glCopyTexSubImage1D", "glCopyTexSubImage2D", "glCullFace",        "glDeleteTextures",
    "glDepthFunc",        "glDepthMask",         "glDisable",          "glDisableClientState", "glDrawArrays",
    "glDrawElements",     "glEnable",            "glEnableClientState", "glEnd",             "glFinish",
    "glFlush",            "glFrontFace",         "glFrustum",          "glGenTextures",      "glGetBooleanv",
    "glGetDoublev",       "glGetFloatv",         "glGetError",         "glGetIntegerv",      "glGetString",
    "glHint",             "glLoadIdentity",      "glLoadMatrixf",      "glMatrixMode",       "glMultMatrixf",
    "glNormal3f",         "glNormalPointer",     "glOrtho",            "glPixelStoref",      "glPixelStorei",
    "glPolygonMode",      "glPrioritizeTextures", "glReadPixels",      "glShadeModel",       "glStencilFunc",
    "glStencilMask",      "glStencilOp",         "glTexCoord2f",       "glTexCoordPointer",  "glTexEnvf",
    "glTexEnvi",          "glTexEnvfv",          "glTexEnviv",         "glTexImage1D",       "glTexImage2D",
    "glTexParameterf",    "glTexParameteri",     "glTexParameterfv",   "glTexParameteriv",   "glVertex3f",
    "glVertex4f",         "glVertexPointer",     "glViewport",
};

namespace
{
template <typename T>
void Take(GlProcResolver resolver, const char* name, T& out)
{
    out = reinterpret_cast<T>(resolver(name));
}
} // namespace

bool LoadGlEntryPoints(GlProcResolver resolver, SGlApi& api, const char** missing)
{
    api = SGlApi();
    if (!resolver)
        return false;
    for (const char* name : g_glRequiredNames)
        if (!resolver(name))
        {
            if (missing)
                *missing = name;
            return false;
        }
    Take(resolver, "glAlphaFunc", api.AlphaFunc);
    Take(resolver, "glArrayElement", api.ArrayElement);
    Take(resolver, "glBegin", api.Begin);
    Take(resolver, "glBindTexture", api.BindTexture);
    Take(resolver, "glBlendFunc", api.BlendFunc);
    Take(resolver, "glClear", api.Clear);
    Take(resolver, "glClearColor", api.ClearColor);
    Take(resolver, "glClearDepth", api.ClearDepth);
    Take(resolver, "glColor4ub", api.Color4ub);
    Take(resolver, "glColorPointer", api.ColorPointer);
    Take(resolver, "glCopyTexSubImage2D", api.CopyTexSubImage2D);
    Take(resolver, "glCullFace", api.CullFace);
    Take(resolver, "glDeleteTextures", api.DeleteTextures);
    Take(resolver, "glDepthFunc", api.DepthFunc);
    Take(resolver, "glDepthMask", api.DepthMask);
    Take(resolver, "glDisable", api.Disable);
    Take(resolver, "glDisableClientState", api.DisableClientState);
    Take(resolver, "glDrawArrays", api.DrawArrays);
    Take(resolver, "glDrawElements", api.DrawElements);
    Take(resolver, "glEnable", api.Enable);
    Take(resolver, "glEnableClientState", api.EnableClientState);
    Take(resolver, "glEnd", api.End);
    Take(resolver, "glFinish", api.Finish);
    Take(resolver, "glFrontFace", api.FrontFace);
    Take(resolver, "glFrustum", api.Frustum);
    Take(resolver, "glGenTextures", api.GenTextures);
    Take(resolver, "glGetError", api.GetError);
    Take(resolver, "glGetIntegerv", api.GetIntegerv);
    Take(resolver, "glGetString", api.GetString);
    Take(resolver, "glHint", api.Hint);
    Take(resolver, "glLoadIdentity", api.LoadIdentity);
    Take(resolver, "glMatrixMode", api.MatrixMode);
    Take(resolver, "glOrtho", api.Ortho);
    Take(resolver, "glPixelStorei", api.PixelStorei);
    Take(resolver, "glReadPixels", api.ReadPixels);
    Take(resolver, "glShadeModel", api.ShadeModel);
    Take(resolver, "glTexCoord2f", api.TexCoord2f);
    Take(resolver, "glTexCoordPointer", api.TexCoordPointer);
    Take(resolver, "glTexEnvi", api.TexEnvi);
    Take(resolver, "glTexImage2D", api.TexImage2D);
    Take(resolver, "glTexParameteri", api.TexParameteri);
    Take(resolver, "glVertex4f", api.Vertex4f);
    Take(resolver, "glVertexPointer", api.VertexPointer);
    Take(resolver, "glViewport", api.Viewport);
    return true;
}

void ScanGlExtensions(const char* list, SGlCapabilities& caps, void (*note)(const char* line, void* user), void* user)
{
    if (!list)
        return;
    auto say = [&](const char* line) {
        if (note)
            note(line, user);
    };
    const char* p = list;
    while (*p)
    {
        while (*p == ' ')
            ++p;
        const char* start = p;
        while (*p && *p != ' ')
            ++p;
        const std::string name(start, size_t(p - start));
        if (name.empty())
            continue;
        auto is = [&](const char* wanted) { return strcasecmp(name.c_str(), wanted) == 0; };
        if (is("GL_EXT_compiled_vertex_array"))
            caps.compiledVertexArrays = true;
        else if (is("GL_EXT_bgra"))
            caps.bgra = true;
        else if (is("GL_EXT_texture_env_combine"))
        {
            caps.combine = true;
            say("found EXT_texture_env_combine");
        }
        else if (is("GL_ARB_texture_env_combine"))
        {
            caps.combine = true;
            say("found ARB_texture_env_combine");
        }
        else if (is("GL_ARB_texture_compression"))
            caps.textureCompression = true;
        else if (is("GL_ARB_multitexture"))
            caps.multitexture = true;
        // GL_ARB_texture_border_clamp is known and changes nothing.
    }
}

bool IsGlVersionBefore12(const char* version)
{
    return version && (std::strncmp(version, "1.1", 3) == 0 || std::strncmp(version, "1.2", 3) == 0);
}

bool IsSoftwareGlRenderer(const char* rendererName)
{
    if (!rendererName)
        return false;
    for (const char* known : {"llvmpipe", "softpipe", "swrast"})
        if (strcasestr(rendererName, known))
            return true;
    return false;
}
