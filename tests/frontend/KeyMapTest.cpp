// "keymap.dat": its 100 bytes field by field, the round trip through the file layer,
// and the defaults that stand in for whatever cannot be used.

#include "frontend/KeyMap.h"
#include "tests/support/TempDir.h"
#include "tests/support/frontend/FailingWriteLayer.h"
#include "tests/support/world/WorldHarness.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace
{
// Q, W, E, R, up, down, left, right, Return.
const int32_t DEFAULT_KEYS[9] = {16, 17, 18, 19, 200, 208, 203, 205, 28};

uint32_t ReadU32At(const std::vector<uint8_t>& bytes, size_t at)
{
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}

void WriteU32At(std::vector<uint8_t>& bytes, size_t at, uint32_t value)
{
    ASSERT_LE(at + 4, bytes.size());
    for (size_t i = 0; i < 4; ++i)
        bytes.at(at + i) = static_cast<uint8_t>(value >> (8 * i));
}

// A map unlike the defaults in every field: keys 30 to 38, dead zone 5, joystick 0,
// bindings of both kinds.
SKeyMap MakeCustomMap()
{
    SKeyMap map;
    for (int i = 0; i < 9; ++i)
        map.keys[i] = 30 + i;
    map.deadZoneStep = 5;
    map.joystick = 0;
    map.bindings[0] = {3, true, false, false};
    map.bindings[4] = {1, false, true, true};
    map.bindings[7] = {0, false, false, false};
    return map;
}

// A pad of two axis pairs and eight buttons.
SScriptedJoystick MakePad()
{
    SScriptedJoystick pad;
    pad.state.numAxisPairs = 2;
    pad.state.numButtons = 8;
    return pad;
}

void ExpectDefaultKeys(const SKeyMap& map)
{
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(map.keys[i], DEFAULT_KEYS[i]) << "action " << i;
}

void ExpectDefaultBindings(const SKeyMap& map)
{
    const SKeyMap defaults;
    for (int i = 0; i < 8; ++i)
        EXPECT_TRUE(AreBindingsEqual(map.bindings[i], defaults.bindings[i])) << "binding " << i;
}
} // namespace

TEST(KeyMap, DefaultsAreTheKeysAndBindingsOutOfTheBox)
{
    const SKeyMap map;
    ExpectDefaultKeys(map);
    EXPECT_EQ(map.deadZoneStep, 2);
    EXPECT_EQ(map.joystick, -1);
    // Buttons 0 to 3 for actions 0 to 3; the first pair's second axis up and down
    // for thrust and reverse, its first axis for the turns.
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_TRUE(map.bindings[i].isButton);
        EXPECT_EQ(map.bindings[i].number, i);
    }
    const bool positive[4] = {false, true, false, true};
    const bool first[4] = {false, false, true, true};
    for (int i = 4; i < 8; ++i)
    {
        EXPECT_FALSE(map.bindings[i].isButton);
        EXPECT_EQ(map.bindings[i].number, 0);
        EXPECT_EQ(map.bindings[i].positive, positive[i - 4]);
        EXPECT_EQ(map.bindings[i].firstAxis, first[i - 4]);
    }
}

TEST(KeyMap, BytesLieFieldByFieldLittleEndian)
{
    const std::vector<uint8_t> bytes = EncodeKeyMap(MakeCustomMap());
    ASSERT_EQ(bytes.size(), 100u);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(ReadU32At(bytes, 4 * static_cast<size_t>(i)), 30u + static_cast<uint32_t>(i));
    EXPECT_EQ(ReadU32At(bytes, 36), 5u);
    EXPECT_EQ(ReadU32At(bytes, 40), 0u);
    // Binding 0 at 44: button 3; binding 4 at 44 + 28: pair 1, positive, first axis.
    EXPECT_EQ(ReadU32At(bytes, 44), 3u);
    EXPECT_EQ(bytes[48], 1);
    EXPECT_EQ(bytes[49], 0);
    EXPECT_EQ(bytes[50], 0);
    EXPECT_EQ(ReadU32At(bytes, 72), 1u);
    EXPECT_EQ(bytes[76], 0);
    EXPECT_EQ(bytes[77], 1);
    EXPECT_EQ(bytes[78], 1);
    // No joystick is stored as -1.
    SKeyMap none;
    EXPECT_EQ(ReadU32At(EncodeKeyMap(none), 40), 0xFFFFFFFFu);
}

TEST(KeyMap, RoundTripsThroughTheFile)
{
    CTempDir folder;
    CScriptedInput input;
    input.m_joysticks.push_back(MakePad());
    const SKeyMap written = MakeCustomMap();
    const std::string path = folder.Join("keymap.dat");
    ASSERT_TRUE(SaveKeyMapFile(path.c_str(), written));

    SKeyMap read;
    std::string reason;
    EXPECT_EQ(LoadKeyMapFile(path.c_str(), &input, read, &reason), EKeyMapRead::Read) << reason;
    EXPECT_EQ(EncodeKeyMap(read), EncodeKeyMap(written));
    std::string bytes;
    ASSERT_TRUE(folder.ReadFile("keymap.dat", bytes));
    EXPECT_EQ(bytes.size(), 100u);
}

TEST(KeyMap, DamagedFilesGiveTheWholeDefaultMap)
{
    const std::vector<uint8_t> good = EncodeKeyMap(MakeCustomMap());
    struct SCase
    {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    std::vector<SCase> cases;
    cases.push_back({"empty", {}});
    cases.push_back({"a byte short", std::vector<uint8_t>(good.begin(), good.end() - 1)});
    std::vector<uint8_t> longer = good;
    longer.push_back(0);
    cases.push_back({"a byte too many", longer});
    std::vector<uint8_t> above = good;
    WriteU32At(above, 12, 256); // action 3, after three good codes
    cases.push_back({"a key code of 256", above});
    std::vector<uint8_t> negative = good;
    WriteU32At(negative, 32, 0xFFFFFFFFu); // action 8 as -1: above 255 unsigned
    cases.push_back({"a negative key code", negative});

    CScriptedInput input;
    input.m_joysticks.push_back(MakePad());
    for (const SCase& c : cases)
    {
        SCOPED_TRACE(c.what);
        SKeyMap map;
        std::string reason;
        EXPECT_EQ(ParseKeyMap(c.bytes.data(), c.bytes.size(), &input, map, &reason), EKeyMapRead::DefaultsWhole);
        EXPECT_FALSE(reason.empty());
        ExpectDefaultKeys(map);
        EXPECT_EQ(map.deadZoneStep, 2);
        EXPECT_EQ(map.joystick, -1);
        ExpectDefaultBindings(map);
    }

    // A missing file reads the same way.
    CTempDir folder;
    SKeyMap map = MakeCustomMap();
    EXPECT_EQ(LoadKeyMapFile(folder.Join("keymap.dat").c_str(), &input, map), EKeyMapRead::DefaultsWhole);
    ExpectDefaultKeys(map);
}

TEST(KeyMap, KeyCodesUpTo255AreKept)
{
    SKeyMap custom = MakeCustomMap();
    custom.keys[0] = 255;
    custom.keys[1] = 0;
    const std::vector<uint8_t> bytes = EncodeKeyMap(custom);
    SKeyMap map;
    ParseKeyMap(bytes.data(), bytes.size(), nullptr, map);
    EXPECT_EQ(map.keys[0], 255);
    EXPECT_EQ(map.keys[1], 0);
}

TEST(KeyMap, TheDeadZoneIsCutIntoItsRange)
{
    const struct
    {
        uint32_t stored;
        int32_t read;
    } cases[] = {{0, 0}, {7, 7}, {10, 10}, {11, 10}, {0x7FFFFFFF, 10}, {0xFFFFFFFFu, 10}};
    for (const auto& c : cases)
    {
        std::vector<uint8_t> bytes = EncodeKeyMap(SKeyMap());
        WriteU32At(bytes, 36, c.stored);
        SKeyMap map;
        ParseKeyMap(bytes.data(), bytes.size(), nullptr, map);
        EXPECT_EQ(map.deadZoneStep, c.read) << "stored " << c.stored;
    }
}

// The joystick and its bindings against the devices present: a pad of two pairs and
// eight buttons (active unless said), the file's joystick 0 unless said.
TEST(KeyMap, BindingsAreKeptOnlyWhenTheirJoystickIsThereAndTheyFit)
{
    struct SCase
    {
        const char* what;
        int pads;
        bool active;
        uint32_t joystick;
        SJoystickBinding changed; // put on action 2
        int flagAt;               // a flag byte of binding 2 set to 2 (-1 none)
        EKeyMapRead result;
        int32_t joystickRead;
        bool bindingsKept;
    };
    const SCase cases[] = {
        {"fits", 1, true, 0, {7, true, false, false}, -1, EKeyMapRead::Read, 0, true},
        {"the last axis pair", 1, true, 0, {1, false, true, false}, -1, EKeyMapRead::Read, 0, true},
        {"no joystick stored", 1, true, 0xFFFFFFFFu, {7, true, false, false}, -1, EKeyMapRead::Read, -1, false},
        {"a button beyond the count", 1, true, 0, {8, true, false, false}, -1, EKeyMapRead::DefaultBindings, 0, false},
        {"an axis pair beyond the count", 1, true, 0, {2, false, false, false}, -1, EKeyMapRead::DefaultBindings, 0,
         false},
        {"a negative number", 1, true, 0, {-1, true, false, false}, -1, EKeyMapRead::DefaultBindings, 0, false},
        {"a flag byte of 2", 1, true, 0, {1, true, false, false}, 5, EKeyMapRead::DefaultBindings, 0, false},
        {"the joystick is not active", 1, false, 0, {1, true, false, false}, -1, EKeyMapRead::DefaultBindings, 0,
         false},
        {"the joystick has gone", 0, true, 0, {1, true, false, false}, -1, EKeyMapRead::DefaultBindings, -1, false},
        {"an index beyond the devices", 2, true, 2, {1, true, false, false}, -1, EKeyMapRead::DefaultBindings, -1,
         false},
        {"an index below -1", 1, true, 0xFFFFFFFEu, {1, true, false, false}, -1, EKeyMapRead::DefaultBindings, -1,
         false},
    };
    for (const SCase& c : cases)
    {
        SCOPED_TRACE(c.what);
        CScriptedInput input;
        for (int i = 0; i < c.pads; ++i)
        {
            input.m_joysticks.push_back(MakePad());
            input.m_joysticks.back().active = c.active;
        }
        SKeyMap stored = MakeCustomMap();
        stored.bindings[2] = c.changed;
        std::vector<uint8_t> bytes = EncodeKeyMap(stored);
        WriteU32At(bytes, 40, c.joystick);
        if (c.flagAt >= 0)
            bytes[44 + 2 * 7 + static_cast<size_t>(c.flagAt)] = 2;

        SKeyMap map;
        EXPECT_EQ(ParseKeyMap(bytes.data(), bytes.size(), &input, map), c.result);
        EXPECT_EQ(map.joystick, c.joystickRead);
        // Keys and dead zone stand whatever becomes of the joystick.
        EXPECT_EQ(map.keys[3], 33);
        EXPECT_EQ(map.deadZoneStep, 5);
        if (c.bindingsKept)
        {
            EXPECT_TRUE(AreBindingsEqual(map.bindings[2], c.changed));
        }
        else
            ExpectDefaultBindings(map);
    }
}

TEST(KeyMap, BindingsCompareDirectionsOnlyForAxes)
{
    const SJoystickBinding button = {2, true, false, false};
    EXPECT_TRUE(AreBindingsEqual(button, {2, true, true, true}));
    EXPECT_FALSE(AreBindingsEqual(button, {3, true, false, false}));
    EXPECT_FALSE(AreBindingsEqual(button, {2, false, false, false}));
    const SJoystickBinding axis = {1, false, true, false};
    EXPECT_TRUE(AreBindingsEqual(axis, {1, false, true, false}));
    EXPECT_FALSE(AreBindingsEqual(axis, {1, false, false, false}));
    EXPECT_FALSE(AreBindingsEqual(axis, {1, false, true, true}));
}

TEST(KeyMap, AFailedSaveKeepsTheOldFile)
{
    CTempDir folder;
    const std::string path = folder.Join("keymap.dat");
    ASSERT_TRUE(SaveKeyMapFile(path.c_str(), MakeCustomMap()));
    for (int failure = 0; failure < 2; ++failure)
    {
        CFailingWriteLayer failing;
        if (failure == 0)
            failing.FailWrite(1);
        else
            failing.FailClose(1);
        EXPECT_FALSE(SaveKeyMapFile(path.c_str(), SKeyMap())) << "failure " << failure;
    }
    SKeyMap map;
    CScriptedInput input;
    input.m_joysticks.push_back(MakePad());
    EXPECT_EQ(LoadKeyMapFile(path.c_str(), &input, map), EKeyMapRead::Read);
    EXPECT_EQ(EncodeKeyMap(map), EncodeKeyMap(MakeCustomMap()));
}
