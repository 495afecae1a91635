#include "platform/InputScript.h"

#include "core/FileBytes.h"
#include "platform/GameWindow.h"

#include <SDL.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <strings.h>

namespace
{
bool ReadNumber(std::istringstream& in, int& value)
{
    std::string word;
    if (!(in >> word))
        return false;
    char* end = nullptr;
    long number = std::strtol(word.c_str(), &end, 10);
    if (*end || number < -100000 || number > 100000)
        return false;
    value = int(number);
    return true;
}

// SDL's key names, with "Grave" for the key that carries the backquote.
int FindScancode(std::string name)
{
    if (strcasecmp(name.c_str(), "Grave") == 0)
        return SDL_SCANCODE_GRAVE;
    SDL_Scancode code = SDL_GetScancodeFromName(name.c_str());
    return code == SDL_SCANCODE_UNKNOWN ? -1 : int(code);
}

// The rest of the line after the word, less its first blank.
std::string RestOfLine(std::istringstream& in)
{
    std::string rest;
    std::getline(in, rest);
    if (!rest.empty() && (rest[0] == ' ' || rest[0] == '\t'))
        rest.erase(0, 1);
    return rest;
}

bool ParseLine(const std::string& line, std::vector<SScriptInput>& entries, std::string& reason)
{
    std::istringstream in(line);
    int frame = 0;
    std::string what;
    if (!ReadNumber(in, frame) || frame < 0 || !(in >> what))
    {
        reason = "expected FRAME WHAT";
        return false;
    }
    SScriptInput entry;
    entry.frame = uint32_t(frame);
    if (what == "key" || what == "down" || what == "up")
    {
        std::string name = RestOfLine(in);
        entry.scancode = FindScancode(name);
        if (entry.scancode < 0)
        {
            reason = "unknown key \"" + name + "\"";
            return false;
        }
        entry.kind = what == "up" ? EScriptInput::KeyUp : EScriptInput::KeyDown;
        entries.push_back(entry);
        if (what == "key")
        {
            entry.kind = EScriptInput::KeyUp;
            entry.frame += 1;
            entries.push_back(entry);
        }
        return true;
    }
    if (what == "type")
    {
        entry.kind = EScriptInput::Text;
        entry.text = RestOfLine(in);
        entries.push_back(entry);
        return true;
    }
    if (what == "move")
    {
        entry.kind = EScriptInput::Move;
        if (ReadNumber(in, entry.x) && ReadNumber(in, entry.y))
        {
            entries.push_back(entry);
            return true;
        }
        reason = "expected move X Y";
        return false;
    }
    if (what == "press" || what == "release" || what == "click")
    {
        std::string button;
        in >> button;
        if ((button != "left" && button != "right") || !ReadNumber(in, entry.x) || !ReadNumber(in, entry.y))
        {
            reason = "expected " + what + " left|right X Y";
            return false;
        }
        entry.button = button == "left" ? 0 : 1;
        entry.kind = what == "release" ? EScriptInput::ButtonUp : EScriptInput::ButtonDown;
        entries.push_back(entry);
        if (what == "click")
        {
            entry.kind = EScriptInput::ButtonUp;
            entry.frame += 1;
            entries.push_back(entry);
        }
        return true;
    }
    reason = "unknown input \"" + what + "\"";
    return false;
}

void Post(SDL_Event& event)
{
    SDL_PushEvent(&event);
}

void PostKey(uint32_t windowId, int scancode, bool down)
{
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.timestamp = SDL_GetTicks();
    event.key.windowID = windowId;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.scancode = SDL_Scancode(scancode);
    event.key.keysym.sym = SDL_GetKeyFromScancode(SDL_Scancode(scancode));
    Post(event);
}

void PostText(uint32_t windowId, const std::string& text)
{
    SDL_Event event{};
    event.type = SDL_TEXTINPUT;
    event.text.timestamp = SDL_GetTicks();
    event.text.windowID = windowId;
    std::snprintf(event.text.text, sizeof(event.text.text), "%s", text.c_str());
    Post(event);
}

// The text a key types without modifiers (letters, digits, punctuation, space).
std::string KeyText(int scancode)
{
    SDL_Keycode key = SDL_GetKeyFromScancode(SDL_Scancode(scancode));
    if (key >= 32 && key < 127)
        return std::string(1, char(key));
    return std::string();
}

// A character typed as a player types it: its key down, the text, the key up. A
// character without a key of its own (a capital, a shifted sign) comes as text alone.
void PostTypedCharacter(uint32_t windowId, char c)
{
    SDL_Scancode scancode = SDL_GetScancodeFromKey(SDL_Keycode(static_cast<unsigned char>(c)));
    if (scancode != SDL_SCANCODE_UNKNOWN)
        PostKey(windowId, scancode, true);
    PostText(windowId, std::string(1, c));
    if (scancode != SDL_SCANCODE_UNKNOWN)
        PostKey(windowId, scancode, false);
}

void PostButton(uint32_t windowId, const SScriptInput& entry)
{
    SDL_Event event{};
    event.type = entry.kind == EScriptInput::ButtonDown ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.timestamp = SDL_GetTicks();
    event.button.windowID = windowId;
    event.button.button = entry.button == 0 ? SDL_BUTTON_LEFT : SDL_BUTTON_RIGHT;
    event.button.state = entry.kind == EScriptInput::ButtonDown ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = 1;
    event.button.x = entry.x;
    event.button.y = entry.y;
    Post(event);
}
// Back-buffer pixels to the window's: the buffer is shown letterboxed in the window.
void ToWindowPixels(void* nativeWindow, int bufferWidth, int bufferHeight, int x, int y, int& windowX, int& windowY)
{
    windowX = x;
    windowY = y;
    int width = 0, height = 0;
    if (nativeWindow)
        SDL_GetWindowSize(static_cast<SDL_Window*>(nativeWindow), &width, &height);
    SLetterbox box = ComputeLetterbox(width, height, bufferWidth, bufferHeight);
    if (box.width <= 0 || box.height <= 0)
        return;
    windowX = box.x + int(int64_t(x) * box.width / bufferWidth);
    windowY = box.y + int(int64_t(y) * box.height / bufferHeight);
}
} // namespace

bool ParseInputScript(const std::string& text, std::vector<SScriptInput>& entries, std::string& reason)
{
    entries.clear();
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line))
    {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#')
            continue;
        std::string why;
        if (!ParseLine(line.substr(first), entries, why))
        {
            reason = "line " + std::to_string(number) + ": " + why;
            entries.clear();
            return false;
        }
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const SScriptInput& a, const SScriptInput& b) { return a.frame < b.frame; });
    return true;
}

bool CInputScript::Load(const std::string& text, std::string& reason)
{
    m_next = 0;
    return ParseInputScript(text, m_entries, reason);
}

bool CInputScript::LoadFromEnvironment()
{
    const char* path = std::getenv("TESSAVAR_SCRIPT");
    if (!path || !*path)
        return true;
    std::vector<uint8_t> bytes;
    std::string reason;
    if (!ReadFileBytes(path, bytes))
        reason = "cannot be read";
    else if (Load(std::string(bytes.begin(), bytes.end()), reason))
        return true;
    std::fprintf(stderr, "TESSAVAR_SCRIPT %s: %s\n", path, reason.c_str());
    return false;
}

void CInputScript::PostFrame(uint32_t frame, void* nativeWindow, int bufferWidth, int bufferHeight)
{
    const uint32_t windowId = nativeWindow ? SDL_GetWindowID(static_cast<SDL_Window*>(nativeWindow)) : 0;
    for (; m_next < m_entries.size() && m_entries[m_next].frame <= frame; ++m_next)
    {
        const SScriptInput& entry = m_entries[m_next];
        switch (entry.kind)
        {
        case EScriptInput::KeyDown:
            PostKey(windowId, entry.scancode, true);
            if (!KeyText(entry.scancode).empty())
                PostText(windowId, KeyText(entry.scancode));
            break;
        case EScriptInput::KeyUp:
            PostKey(windowId, entry.scancode, false);
            break;
        case EScriptInput::Text:
            for (size_t i = 0; i < entry.text.size();)
            {
                // A character beyond ASCII (several UTF-8 bytes) comes as text alone.
                size_t length = 1;
                while (i + length < entry.text.size() && (entry.text[i + length] & 0xC0) == 0x80)
                    ++length;
                if (length == 1 && !(entry.text[i] & 0x80))
                    PostTypedCharacter(windowId, entry.text[i]);
                else
                    PostText(windowId, entry.text.substr(i, length));
                i += length;
            }
            break;
        case EScriptInput::Move:
        {
            int x = 0, y = 0;
            ToWindowPixels(nativeWindow, bufferWidth, bufferHeight, entry.x, entry.y, x, y);
            SDL_Event event{};
            event.type = SDL_MOUSEMOTION;
            event.motion.timestamp = SDL_GetTicks();
            event.motion.windowID = windowId;
            event.motion.x = x;
            event.motion.y = y;
            event.motion.xrel = x - m_pointerX;
            event.motion.yrel = y - m_pointerY;
            m_pointerX = x;
            m_pointerY = y;
            Post(event);
            break;
        }
        case EScriptInput::ButtonDown:
        case EScriptInput::ButtonUp:
        {
            SScriptInput at = entry;
            ToWindowPixels(nativeWindow, bufferWidth, bufferHeight, entry.x, entry.y, at.x, at.y);
            PostButton(windowId, at);
            break;
        }
        }
    }
}
