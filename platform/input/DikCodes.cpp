#include "platform/input/DikCodes.h"

#include <SDL_scancode.h>
#include <array>

namespace
{
struct SKeyEntry
{
    SDL_Scancode scancode;
    uint8_t code;
    const char* name;
};

// Every key a key map can hold.
constexpr SKeyEntry KEYS[] = {
    {SDL_SCANCODE_ESCAPE, 0x01, "Esc"},       {SDL_SCANCODE_1, 0x02, "1"},
    {SDL_SCANCODE_2, 0x03, "2"},              {SDL_SCANCODE_3, 0x04, "3"},
    {SDL_SCANCODE_4, 0x05, "4"},              {SDL_SCANCODE_5, 0x06, "5"},
    {SDL_SCANCODE_6, 0x07, "6"},              {SDL_SCANCODE_7, 0x08, "7"},
    {SDL_SCANCODE_8, 0x09, "8"},              {SDL_SCANCODE_9, 0x0A, "9"},
    {SDL_SCANCODE_0, 0x0B, "0"},              {SDL_SCANCODE_MINUS, 0x0C, "-"},
    {SDL_SCANCODE_EQUALS, 0x0D, "="},         {SDL_SCANCODE_BACKSPACE, 0x0E, "Backspace"},
    {SDL_SCANCODE_TAB, 0x0F, "Tab"},          {SDL_SCANCODE_Q, 0x10, "Q"},
    {SDL_SCANCODE_W, 0x11, "W"},              {SDL_SCANCODE_E, 0x12, "E"},
    {SDL_SCANCODE_R, 0x13, "R"},              {SDL_SCANCODE_T, 0x14, "T"},
    {SDL_SCANCODE_Y, 0x15, "Y"},              {SDL_SCANCODE_U, 0x16, "U"},
    {SDL_SCANCODE_I, 0x17, "I"},              {SDL_SCANCODE_O, 0x18, "O"},
    {SDL_SCANCODE_P, 0x19, "P"},              {SDL_SCANCODE_LEFTBRACKET, 0x1A, "["},
    {SDL_SCANCODE_RIGHTBRACKET, 0x1B, "]"},   {SDL_SCANCODE_RETURN, 0x1C, "Enter"},
    {SDL_SCANCODE_LCTRL, 0x1D, "Left Ctrl"},  {SDL_SCANCODE_A, 0x1E, "A"},
    {SDL_SCANCODE_S, 0x1F, "S"},              {SDL_SCANCODE_D, 0x20, "D"},
    {SDL_SCANCODE_F, 0x21, "F"},              {SDL_SCANCODE_G, 0x22, "G"},
    {SDL_SCANCODE_H, 0x23, "H"},              {SDL_SCANCODE_J, 0x24, "J"},
    {SDL_SCANCODE_K, 0x25, "K"},              {SDL_SCANCODE_L, 0x26, "L"},
    {SDL_SCANCODE_SEMICOLON, 0x27, ";"},      {SDL_SCANCODE_APOSTROPHE, 0x28, "'"},
    {SDL_SCANCODE_GRAVE, 0x29, "`"},          {SDL_SCANCODE_LSHIFT, 0x2A, "Left Shift"},
    {SDL_SCANCODE_BACKSLASH, 0x2B, "\\"},     {SDL_SCANCODE_Z, 0x2C, "Z"},
    {SDL_SCANCODE_X, 0x2D, "X"},              {SDL_SCANCODE_C, 0x2E, "C"},
    {SDL_SCANCODE_V, 0x2F, "V"},              {SDL_SCANCODE_B, 0x30, "B"},
    {SDL_SCANCODE_N, 0x31, "N"},              {SDL_SCANCODE_M, 0x32, "M"},
    {SDL_SCANCODE_COMMA, 0x33, ","},          {SDL_SCANCODE_PERIOD, 0x34, "."},
    {SDL_SCANCODE_SLASH, 0x35, "/"},          {SDL_SCANCODE_RSHIFT, 0x36, "Right Shift"},
    {SDL_SCANCODE_KP_MULTIPLY, 0x37, "Num *"}, {SDL_SCANCODE_LALT, 0x38, "Left Alt"},
    {SDL_SCANCODE_SPACE, 0x39, "Space"},      {SDL_SCANCODE_CAPSLOCK, 0x3A, "Caps Lock"},
    {SDL_SCANCODE_F1, 0x3B, "F1"},            {SDL_SCANCODE_F2, 0x3C, "F2"},
    {SDL_SCANCODE_F3, 0x3D, "F3"},            {SDL_SCANCODE_F4, 0x3E, "F4"},
    {SDL_SCANCODE_F5, 0x3F, "F5"},            {SDL_SCANCODE_F6, 0x40, "F6"},
    {SDL_SCANCODE_F7, 0x41, "F7"},            {SDL_SCANCODE_F8, 0x42, "F8"},
    {SDL_SCANCODE_F9, 0x43, "F9"},            {SDL_SCANCODE_F10, 0x44, "F10"},
    {SDL_SCANCODE_NUMLOCKCLEAR, 0x45, "Num Lock"}, {SDL_SCANCODE_SCROLLLOCK, 0x46, "Scroll Lock"},
    {SDL_SCANCODE_KP_7, 0x47, "Num 7"},       {SDL_SCANCODE_KP_8, 0x48, "Num 8"},
    {SDL_SCANCODE_KP_9, 0x49, "Num 9"},       {SDL_SCANCODE_KP_MINUS, 0x4A, "Num -"},
    {SDL_SCANCODE_KP_4, 0x4B, "Num 4"},       {SDL_SCANCODE_KP_5, 0x4C, "Num 5"},
    {SDL_SCANCODE_KP_6, 0x4D, "Num 6"},       {SDL_SCANCODE_KP_PLUS, 0x4E, "Num +"},
    {SDL_SCANCODE_KP_1, 0x4F, "Num 1"},       {SDL_SCANCODE_KP_2, 0x50, "Num 2"},
    {SDL_SCANCODE_KP_3, 0x51, "Num 3"},       {SDL_SCANCODE_KP_0, 0x52, "Num 0"},
    {SDL_SCANCODE_KP_PERIOD, 0x53, "Num Del"}, {SDL_SCANCODE_NONUSBACKSLASH, 0x56, "<"},
    {SDL_SCANCODE_F11, 0x57, "F11"},          {SDL_SCANCODE_F12, 0x58, "F12"},
    {SDL_SCANCODE_F13, 0x64, "F13"},          {SDL_SCANCODE_F14, 0x65, "F14"},
    {SDL_SCANCODE_F15, 0x66, "F15"},          {SDL_SCANCODE_KP_EQUALS, 0x8D, "Num ="},
    {SDL_SCANCODE_KP_ENTER, 0x9C, "Num Enter"}, {SDL_SCANCODE_RCTRL, 0x9D, "Right Ctrl"},
    {SDL_SCANCODE_KP_DIVIDE, 0xB5, "Num /"},  {SDL_SCANCODE_PRINTSCREEN, 0xB7, "Prnt Scrn"},
    {SDL_SCANCODE_RALT, 0xB8, "Right Alt"},   {SDL_SCANCODE_PAUSE, 0xC5, "Pause"},
    {SDL_SCANCODE_HOME, 0xC7, "Home"},        {SDL_SCANCODE_UP, 0xC8, "Up"},
    {SDL_SCANCODE_PAGEUP, 0xC9, "Page Up"},   {SDL_SCANCODE_LEFT, 0xCB, "Left"},
    {SDL_SCANCODE_RIGHT, 0xCD, "Right"},      {SDL_SCANCODE_END, 0xCF, "End"},
    {SDL_SCANCODE_DOWN, 0xD0, "Down"},        {SDL_SCANCODE_PAGEDOWN, 0xD1, "Page Down"},
    {SDL_SCANCODE_INSERT, 0xD2, "Insert"},    {SDL_SCANCODE_DELETE, 0xD3, "Delete"},
    {SDL_SCANCODE_LGUI, 0xDB, "Left Win"},    {SDL_SCANCODE_RGUI, 0xDC, "Right Win"},
    {SDL_SCANCODE_APPLICATION, 0xDD, "App Menu"},
};

struct STables
{
    std::array<uint8_t, SDL_NUM_SCANCODES> codeOf {};
    std::array<const char*, 256> nameOf {};
    STables()
    {
        for (const SKeyEntry& key : KEYS)
        {
            codeOf[key.scancode] = key.code;
            nameOf[key.code] = key.name;
        }
    }
};

const STables& Tables()
{
    static const STables s_tables;
    return s_tables;
}
} // namespace

uint8_t DikFromScancode(int sdlScancode)
{
    if (sdlScancode < 0 || sdlScancode >= SDL_NUM_SCANCODES)
        return 0;
    return Tables().codeOf[static_cast<size_t>(sdlScancode)];
}

const char* GetDikName(uint8_t code)
{
    return Tables().nameOf[code];
}
