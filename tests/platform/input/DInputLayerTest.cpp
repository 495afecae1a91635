#include "platform/input/DInputLayer.h"
#include "platform/input/DikCodes.h"

#include <SDL_scancode.h>
#include <gtest/gtest.h>

TEST(DikCodes, ScancodesMapToStoredKeyCodes)
{
    struct SCase
    {
        int scancode;
        uint8_t code;
        const char* name;
    } cases[] = {
        {SDL_SCANCODE_ESCAPE, 0x01, "Esc"},         {SDL_SCANCODE_A, 0x1E, "A"},
        {SDL_SCANCODE_F11, 0x57, "F11"},            {SDL_SCANCODE_F12, 0x58, "F12"},
        {SDL_SCANCODE_GRAVE, 0x29, "`"},            {SDL_SCANCODE_RCTRL, 0x9D, "Right Ctrl"},
        {SDL_SCANCODE_KP_ENTER, 0x9C, "Num Enter"}, {SDL_SCANCODE_UP, 0xC8, "Up"},
        {SDL_SCANCODE_LEFT, 0xCB, "Left"},          {SDL_SCANCODE_RIGHT, 0xCD, "Right"},
        {SDL_SCANCODE_DOWN, 0xD0, "Down"},          {SDL_SCANCODE_DELETE, 0xD3, "Delete"},
        {SDL_SCANCODE_RALT, 0xB8, "Right Alt"},     {SDL_SCANCODE_KP_DIVIDE, 0xB5, "Num /"},
    };
    for (const SCase& c : cases)
    {
        EXPECT_EQ(DikFromScancode(c.scancode), c.code) << c.name;
        EXPECT_STREQ(GetDikName(c.code), c.name);
    }
    EXPECT_EQ(DikFromScancode(SDL_SCANCODE_UNKNOWN), 0);
    EXPECT_EQ(DikFromScancode(-1), 0);
    EXPECT_EQ(DikFromScancode(SDL_NUM_SCANCODES), 0);
    EXPECT_EQ(GetDikName(0x00), nullptr);
}

TEST(DInputLayer, DataFormatRules)
{
    std::vector<SDiObjectInfo> device = {{EDiObjectKind::XAxis, 0, "x"},
                                         {EDiObjectKind::Button, 0, "b0"},
                                         {EDiObjectKind::Pov, 0, "hat"}};
    struct SCase
    {
        const char* what;
        SDiDataFormat format;
        EDiResult expected;
    } cases[] = {
        {"fits", {8, true, {{EDiObjectKind::XAxis, 0, 0, false}, {EDiObjectKind::Button, 0, 4, false}}}, EDiResult::Ok},
        {"size not in 32-bit units", {6, true, {{EDiObjectKind::XAxis, 0, 0, false}}}, EDiResult::InvalidParam},
        {"zero size", {0, true, {}}, EDiResult::InvalidParam},
        {"misaligned axis", {8, true, {{EDiObjectKind::XAxis, 0, 2, false}}}, EDiResult::InvalidParam},
        {"axis past the end", {8, true, {{EDiObjectKind::XAxis, 0, 6, false}}}, EDiResult::InvalidParam},
        {"hat past the end", {4, true, {{EDiObjectKind::Pov, 0, 4, false}}}, EDiResult::InvalidParam},
        {"button in the last byte", {4, true, {{EDiObjectKind::Button, 0, 3, false}}}, EDiResult::Ok},
        {"missing required object", {8, true, {{EDiObjectKind::YAxis, 0, 0, false}}}, EDiResult::InvalidParam},
        {"missing optional object", {8, true, {{EDiObjectKind::YAxis, 0, 0, true}}}, EDiResult::Ok},
        {"one object bound twice", {8, true, {{EDiObjectKind::XAxis, 0, 0, false}, {EDiObjectKind::XAxis, DI_ANY_INSTANCE, 4, false}}},
         EDiResult::InvalidParam},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(ValidateDiDataFormat(c.format, device, nullptr), c.expected) << c.what;

    std::vector<int> bound;
    SDiDataFormat format {8, true, {{EDiObjectKind::YAxis, 0, 0, true}, {EDiObjectKind::Pov, DI_ANY_INSTANCE, 4, false}}};
    ASSERT_EQ(ValidateDiDataFormat(format, device, &bound), EDiResult::Ok);
    EXPECT_EQ(bound, (std::vector<int> {-1, 2}));
}
