#include "platform/SdlClipboard.h"

#include "core/Clipboard.h"
#include "platform/SdlVideo.h"

#include <SDL.h>

namespace
{
// The game's clipboard texts are ASCII codes; SDL speaks UTF-8, so anything else
// is replaced on the way out and dropped on the way in.
// The clipboard lives in SDL's video subsystem; the renderer has normally started
// it already, otherwise it is started here.
bool HasVideo()
{
    return SDL_WasInit(SDL_INIT_VIDEO) != 0 || AcquireSdlVideo();
}

class CSdlClipboardHook : public CClipboardHook
{
public:
    EClipboardResult SetText(const char* text) override
    {
        if (!HasVideo())
            return EClipboardResult::OpenFailed;
        std::string ascii;
        for (; *text; ++text)
            ascii += (static_cast<unsigned char>(*text) < 128) ? *text : '?';
        return SDL_SetClipboardText(ascii.c_str()) == 0 ? EClipboardResult::Ok : EClipboardResult::OpenFailed;
    }

    EClipboardResult GetText(std::string& text) override
    {
        if (!HasVideo())
            return EClipboardResult::OpenFailed;
        if (!SDL_HasClipboardText())
            return EClipboardResult::NoText;
        char* utf8 = SDL_GetClipboardText();
        if (!utf8)
            return EClipboardResult::NoText;
        text.clear();
        for (const char* at = utf8; *at; ++at)
            if (static_cast<unsigned char>(*at) < 128)
                text += *at;
        SDL_free(utf8);
        return EClipboardResult::Ok;
    }
};

CSdlClipboardHook s_sdlHook;
} // namespace

CClipboardHook* GetSdlClipboardHook()
{
    return &s_sdlHook;
}
