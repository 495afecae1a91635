// A world file as game code uses the platform: through the renderer, input and audio
// interfaces and the TGA loader, never through a back-end. Built with every build, so a
// change that takes these interfaces away from the game's layers breaks the build.

#include "platform/AudioSystem.h"
#include "platform/CoreInput.h"
#include "platform/Renderer.h"
#include "platform/Tga.h"
#include "platform/input/DikCodes.h"

bool ProbeWorldUsesPlatform()
{
    STgaImage image;
    bool fire = g_input && g_input->IsKeyDown(Dik::SPACE);
    int sample = -1;
    if (g_audio)
        g_audio->LoadSample("data/sound/probe.wav", sample);
    return g_renderer && g_renderer->CanDraw() && fire && LoadTga("data/targas/probe.tga", image);
}
