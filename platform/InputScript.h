#pragma once
// Player input by frame for automated runs (TESSAVAR_SCRIPT names the file). The
// script's keys, text and pointer are posted to the window's event queue as the
// system would post them for a player, so they reach the game through the same
// pump, input devices and GUI rings as real input.
//
// One entry a line, "FRAME WHAT ARGUMENTS"; blank lines and lines starting with "#"
// are skipped. FRAME counts the game's frames from 0 (the first frame after
// start-up); an entry takes effect in that frame.
//   key NAME            the key goes down in FRAME (typing its character, if it has
//                       one) and up in FRAME + 1
//   down NAME / up NAME the key goes down / up
//   type TEXT           the rest of the line typed in FRAME, a key press a character
//   move X Y            the pointer to X, Y (pixels of the window's back buffer)
//   press BUTTON X Y    BUTTON (left or right) goes down at X, Y
//   release BUTTON X Y  ... and up
//   click BUTTON X Y    down in FRAME, up in FRAME + 1, at X, Y
// Key names are SDL's ("A", "Return", "Escape", "Space", "Left", "F11",
// "Left Shift", ...; any letter case), and "Grave" for the key left of "1".

#include <cstdint>
#include <string>
#include <vector>

enum class EScriptInput
{
    KeyDown,
    KeyUp,
    Text,
    Move,
    ButtonDown,
    ButtonUp,
};

struct SScriptInput
{
    uint32_t frame = 0;
    EScriptInput kind = EScriptInput::KeyDown;
    int scancode = 0;       // keys: SDL scancode
    std::string text;       // typed text (UTF-8)
    int button = 0;         // 0 left, 1 right
    int x = 0, y = 0;
};

// Parses a whole script into entries in frame order (entries of one frame keep the
// order of their lines). False, with the line and reason, on anything it cannot read.
bool ParseInputScript(const std::string& text, std::vector<SScriptInput>& entries, std::string& reason);

class CInputScript
{
public:
    // Reads the file named by TESSAVAR_SCRIPT; true when there is none. False (with
    // a message on standard error) when it cannot be read or parsed.
    bool LoadFromEnvironment();
    bool Load(const std::string& text, std::string& reason);
    bool IsEmpty() const { return m_entries.empty(); }
    // Posts the entries up to a frame to the event queue of the window (the
    // renderer's window handle, showing a back buffer of the given size), before
    // that frame runs.
    void PostFrame(uint32_t frame, void* nativeWindow, int bufferWidth, int bufferHeight);

private:
    std::vector<SScriptInput> m_entries;
    size_t m_next = 0;
    int m_pointerX = 0; // where the last move left the pointer (window pixels)
    int m_pointerY = 0;
};
