// The r_ settings keys travel through the data tree, which is not yet in the build;
// until it is, a renderer keeps its defaults and writes nothing.
#include "platform/D3D8Renderer.h"
void CRenderer::ReadSettings(const CDataTree&) {}
void CRenderer::WriteSettings(CSettingsWriter&, CDataTree&) {}
void CD3D8Renderer::ReadSettings(const CDataTree&) {}
void CD3D8Renderer::WriteSettings(CSettingsWriter&, CDataTree&) {}
