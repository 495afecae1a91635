#include "core/Console.h"
#include "core/ConsoleRegistrations.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace
{
// Every line the ring holds, oldest first.
std::vector<std::string> Lines(const CConsole& console)
{
    std::vector<std::string> lines;
    for (int i = 0; i < console.GetLineCount(); ++i)
        lines.push_back(console.GetLine(i));
    return lines;
}

std::string LastLine(const CConsole& console)
{
    return console.GetLineCount() ? console.GetLine(console.GetLineCount() - 1) : "";
}

void Type(CConsole& console, const std::string& text)
{
    for (char c : text)
        console.KeyChar(static_cast<unsigned char>(c));
}

struct SCallRecord
{
    std::vector<std::string> calls;
};

void RecordQuit(void* user, const char* arguments)
{
    static_cast<SCallRecord*>(user)->calls.push_back(std::string("quit:") + arguments);
}

void RecordShowTiming(void* user, const char* arguments)
{
    static_cast<SCallRecord*>(user)->calls.push_back(std::string("showtiming:") + arguments);
}

void RecordShowMouse(void* user, const char* arguments)
{
    static_cast<SCallRecord*>(user)->calls.push_back(std::string("showmouse:") + arguments);
}
} // namespace

TEST(Console, RingKeepsTheLastThirteenLinesOldestFirst)
{
    CConsole console;
    for (int i = 1; i <= 14; ++i)
        console.Printf("line %d", i);
    std::vector<std::string> lines = Lines(console);
    ASSERT_EQ(lines.size(), 13u);
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(lines[static_cast<size_t>(i)], "line " + std::to_string(i + 2));

    // Many turns round the ring keep the order.
    for (int i = 15; i <= 40; ++i)
        console.Printf("line %d", i);
    EXPECT_EQ(Lines(console).front(), "line 28");
    EXPECT_EQ(LastLine(console), "line 40");
    EXPECT_EQ(console.GetLine(13), nullptr);
    EXPECT_EQ(console.GetLine(-1), nullptr);
}

TEST(Console, LongLineKeepsItsFirst255Characters)
{
    CConsole console;
    std::string longText(300, 'x');
    longText[254] = 'A';
    longText[255] = 'B';
    console.Printf("%s", longText.c_str());
    std::string kept = LastLine(console);
    EXPECT_EQ(kept.size(), 255u);
    EXPECT_EQ(kept.back(), 'A');
}

TEST(Console, RegistrationRefusesMissingParts)
{
    CConsole console;
    bool flag = false;
    EXPECT_FALSE(console.RegisterFunction(nullptr, &RecordQuit, nullptr));
    EXPECT_FALSE(console.RegisterFunction("", &RecordQuit, nullptr));
    EXPECT_FALSE(console.RegisterFunction("/quit", nullptr, nullptr));
    EXPECT_FALSE(console.RegisterVariable(nullptr, &flag, CONSOLE_VAR_BOOL));
    EXPECT_FALSE(console.RegisterVariable("", &flag, CONSOLE_VAR_BOOL));
    EXPECT_FALSE(console.RegisterVariable("flag", nullptr, CONSOLE_VAR_BOOL));
    EXPECT_TRUE(console.GetFunctions().empty());
    EXPECT_TRUE(console.GetVariables().empty());

    EXPECT_TRUE(console.RegisterFunction("/quit", &RecordQuit, nullptr));
    EXPECT_TRUE(console.RegisterVariable("flag", &flag, CONSOLE_VAR_BOOL));
}

TEST(Console, TypingOnlyWhileOpenAndStopsAtSeventyNineCharacters)
{
    CConsole console;
    Type(console, "abc");
    EXPECT_STREQ(console.GetInputLine(), ""); // closed: typing does nothing

    console.SetOpen(true);
    Type(console, std::string(79, 'a'));
    console.KeyChar('z'); // the 80th character is ignored
    EXPECT_EQ(std::string(console.GetInputLine()), std::string(79, 'a'));

    console.KeyChar(8);
    console.KeyChar('z');
    EXPECT_EQ(std::string(console.GetInputLine()), std::string(78, 'a') + "z");
}

TEST(Console, ConsoleKeyOpensAndClosesAndKeepsTheLine)
{
    CConsole console;
    EXPECT_FALSE(console.IsOpen()); // closed until the player opens it
    EXPECT_FALSE(console.OnKeyPressed(0x57)); // any other key is the game's
    EXPECT_FALSE(console.IsOpen());
    EXPECT_TRUE(console.OnKeyPressed(CConsole::TOGGLE_KEY_CODE));
    EXPECT_TRUE(console.IsOpen());
    Type(console, "/sh");
    EXPECT_TRUE(console.OnKeyPressed(CConsole::TOGGLE_KEY_CODE));
    EXPECT_FALSE(console.IsOpen());
    Type(console, "ow");
    console.OnKeyPressed(CConsole::TOGGLE_KEY_CODE);
    EXPECT_STREQ(console.GetInputLine(), "/sh");
}

TEST(Console, TypedCharactersBackspaceAndIgnoredCodes)
{
    CConsole console;
    console.SetOpen(true);
    console.KeyChar(8); // backspace on an empty line
    EXPECT_STREQ(console.GetInputLine(), "");
    for (int c : {int('a'), int('`'), 9, 31, 128, 200, int('b'), int('~'), 127})
        console.KeyChar(c);
    EXPECT_STREQ(console.GetInputLine(), "ab~\x7f");
}

TEST(Console, EnterEchoesRunsAndClearsTheLine)
{
    CConsole console;
    SCallRecord record;
    console.RegisterFunction("/quit", &RecordQuit, &record);
    console.SetOpen(true);
    Type(console, "/quit now");
    console.KeyChar(13);
    EXPECT_STREQ(console.GetInputLine(), "");
    EXPECT_EQ(LastLine(console), "/quit now");
    ASSERT_EQ(record.calls.size(), 1u);
    EXPECT_EQ(record.calls[0], "quit:now");

    // An empty line is echoed as an empty line and runs nothing.
    console.KeyChar(13);
    EXPECT_EQ(LastLine(console), "");
    EXPECT_EQ(record.calls.size(), 1u);
}

TEST(Console, TypedLineIsNeverAFormat)
{
    CConsole console;
    console.ExecuteLine("%s%s%n%x");
    std::vector<std::string> lines = Lines(console);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "%s%s%n%x");
    EXPECT_EQ(lines[1], "unknown command \"%s%s%n%x\"");
}

TEST(Console, CommandsMatchByPrefixInRegistrationOrder)
{
    CConsole console;
    SCallRecord record;
    console.RegisterFunction("/quit", &RecordQuit, &record);
    console.RegisterFunction("/showtiming", &RecordShowTiming, &record);
    console.RegisterFunction("/showmouse", &RecordShowMouse, &record);

    const struct
    {
        const char* line;
        const char* expectedCall; // nullptr: no command runs
    } cases[] = {
        {"/quit", "quit:"},
        {"/QU", "quit:"},                            // prefix, any case
        {"/sho true", "showtiming:true"},             // first registered match wins
        {"/showm   yes  no", "showmouse:yes  no"},   // blanks after the name are skipped
        {"/showmouse", "showmouse:"},
        {"/showmousex true", nullptr},               // longer than every name
        {"/q\tx", nullptr},                           // a tab is part of the name
        {" /quit", nullptr},                          // leading blank: no name, no match
        {"   ", nullptr},
        {"quit", nullptr},
    };
    for (const auto& c : cases)
    {
        record.calls.clear();
        console.ExecuteLine(c.line);
        if (c.expectedCall)
        {
            ASSERT_EQ(record.calls.size(), 1u) << c.line;
            EXPECT_EQ(record.calls[0], c.expectedCall) << c.line;
        }
        else
        {
            EXPECT_TRUE(record.calls.empty()) << c.line;
            std::string line(c.line);
            std::string token = line.substr(0, line.find(' '));
            EXPECT_EQ(LastLine(console), "unknown command \"" + token + "\"") << c.line;
        }
    }
}

TEST(Console, SetParsesEachTypeAndLeavesBadValuesAlone)
{
    CConsole console;
    bool constrainMouse = false;
    int32_t level = 5;
    uint32_t usage = 7;
    float scale = 1.5f;
    console.RegisterVariable("constrainmouse", &constrainMouse, CONSOLE_VAR_BOOL);
    console.RegisterVariable("level", &level, CONSOLE_VAR_INT);
    console.RegisterVariable("textureusage", &usage, CONSOLE_VAR_UINT);
    console.RegisterVariable("scale", &scale, CONSOLE_VAR_FLOAT);

    console.ExecuteLine("/set constrain 1");
    EXPECT_FALSE(constrainMouse);
    console.ExecuteLine("/set constrain yes");
    EXPECT_FALSE(constrainMouse);
    console.ExecuteLine("/set constrain true");
    EXPECT_TRUE(constrainMouse);
    console.ExecuteLine("/SET  CONSTRAINMOUSE   FALSE");
    EXPECT_FALSE(constrainMouse);

    const struct
    {
        const char* line;
        int32_t level;
        uint32_t usage;
    } numbers[] = {
        {"/set level -12", -12, 7},
        {"/set level +40", 40, 7},
        {"/set level 12x", 40, 7},
        {"/set level 2147483648", 40, 7}, // out of range
        {"/set level", 40, 7},            // no value
        {"/set textureusage 4294967295", 40, 4294967295u},
        {"/set textureusage -1", 40, 4294967295u},
        {"/set textureusage 4294967296", 40, 4294967295u},
        {"/set tex 3", 40, 3u},
    };
    for (const auto& n : numbers)
    {
        console.ExecuteLine(n.line);
        EXPECT_EQ(level, n.level) << n.line;
        EXPECT_EQ(usage, n.usage) << n.line;
    }

    console.ExecuteLine("/set scale 2.25");
    EXPECT_FLOAT_EQ(scale, 2.25f);
    console.ExecuteLine("/set scale fast");
    EXPECT_FLOAT_EQ(scale, 2.25f);
}

TEST(Console, UnknownOrEmptyVariableNamesAreReported)
{
    CConsole console;
    bool flag = false;
    console.RegisterVariable("flag", &flag, CONSOLE_VAR_BOOL);
    const struct
    {
        const char* line;
        const char* message;
    } cases[] = {
        {"/set nothing true", "Unknown variable - nothing"},
        {"/show flags", "Unknown variable - flags"},
        {"/set ", "Unknown variable - "},   // an empty name matches nothing
        {"/show  ", "Unknown variable - "},
    };
    for (const auto& c : cases)
    {
        console.ExecuteLine(c.line);
        EXPECT_EQ(LastLine(console), c.message) << c.line;
    }
    EXPECT_FALSE(flag);
}

TEST(Console, ShowAndListMessages)
{
    CConsole console;
    bool constrainMouse = true;
    int32_t level = -3;
    uint32_t textureUsage = 123456;
    float scale = 0.5f;
    SCallRecord record;
    console.RegisterVariable("constrainmouse", &constrainMouse, CONSOLE_VAR_BOOL);
    console.RegisterVariable("level", &level, CONSOLE_VAR_INT);
    console.RegisterVariable("textureusage", &textureUsage, CONSOLE_VAR_UINT);
    console.RegisterVariable("scale", &scale, CONSOLE_VAR_FLOAT);
    console.RegisterFunction("/quit", &RecordQuit, &record);
    console.RegisterFunction("/showtiming", &RecordShowTiming, &record);

    const struct
    {
        const char* line;
        const char* message;
    } shows[] = {
        {"/show constrain", "constrainmouse = <boolean>true"},
        {"/show level", "level = <int>-3"},
        {"/show textureusage", "textureusage = <uint>123456"},
        {"/Show sc", "scale = <float>0.500000"},
    };
    for (const auto& s : shows)
    {
        console.ExecuteLine(s.line);
        EXPECT_EQ(LastLine(console), s.message) << s.line;
    }

    int before = console.GetLineCount();
    console.ExecuteLine("/listvars");
    std::vector<std::string> lines = Lines(console);
    std::vector<std::string> listed(lines.begin() + before + 1, lines.end());
    EXPECT_EQ(listed, (std::vector<std::string> {
                          "Var - constrainmouse : type - <boolean> : value = true",
                          "Var - level : type - <int> : value = -3",
                          "Var - scale : type - <float> : value = 0.500000",
                      }));

    console.ExecuteLine("/listfuncs");
    lines = Lines(console);
    EXPECT_EQ(std::vector<std::string>(lines.end() - 2, lines.end()),
              (std::vector<std::string> {"Function - /quit", "Function - /showtiming"}));
    EXPECT_TRUE(record.calls.empty());
}

namespace
{
// An object that puts a variable and a command into the console and takes them out again
// when it goes, as the audio system, the renderer and the sprite bank do.
struct SOwner
{
    SOwner(CConsole& into, const char* variable, const char* command) : console(into)
    {
        console.RegisterVariable(variable, &value, CONSOLE_VAR_INT, this);
        console.RegisterFunction(command, &Report, this, this);
    }
    ~SOwner() { console.UnregisterOwner(this); }
    static void Report(void* user, const char*)
    {
        SOwner* owner = static_cast<SOwner*>(user);
        owner->console.Printf("value %d", owner->value);
    }
    CConsole& console;
    int32_t value = 0;
};

// A command that deletes its own owner while it runs (a restart that remakes its object).
struct SSelfDeleting
{
    static void Run(void* user, const char*) { delete static_cast<SOwner*>(user); }
};
} // namespace

TEST(Console, AnOwnerTakesItsRegistrationsWithItAndLeavesTheOthers)
{
    CConsole console;
    bool flag = false;
    console.RegisterVariable("flag", &flag, CONSOLE_VAR_BOOL); // no owner: stays
    auto first = std::make_unique<SOwner>(console, "level", "/report");
    SOwner second(console, "level", "/report"); // the same names, behind the first
    console.ExecuteLine("/set level 5");
    EXPECT_EQ(first->value, 5);
    EXPECT_EQ(second.value, 0);

    EXPECT_EQ(console.UnregisterOwner(nullptr), 0);
    first.reset();
    EXPECT_EQ(console.GetVariables().size(), 2u);
    EXPECT_EQ(console.GetFunctions().size(), 1u);
    // Every request now reaches the second owner or nothing; none reads the first.
    console.ExecuteLine("/set level 7");
    EXPECT_EQ(second.value, 7);
    console.ExecuteLine("/report");
    EXPECT_EQ(LastLine(console), "value 7");
    console.ExecuteLine("/listvars");
    EXPECT_EQ(LastLine(console), "Var - level : type - <int> : value = 7");
    EXPECT_EQ(console.UnregisterOwner(&second), 2);
    EXPECT_EQ(console.UnregisterOwner(&second), 0);
    console.ExecuteLine("/show level");
    EXPECT_EQ(LastLine(console), "Unknown variable - level");
    console.ExecuteLine("/set flag true");
    EXPECT_TRUE(flag);
}

TEST(Console, ACommandMayTakeAwayItsOwnRegistrationsWhileItRuns)
{
    CConsole console;
    SOwner* owner = new SOwner(console, "level", "/report");
    console.RegisterFunction("/restart", &SSelfDeleting::Run, owner, owner);
    console.ExecuteLine("/restart");
    EXPECT_TRUE(console.GetFunctions().empty());
    EXPECT_TRUE(console.GetVariables().empty());
    console.ExecuteLine("/restart");
    EXPECT_EQ(LastLine(console), "unknown command \"/restart\"");
}

TEST(ConsoleRegistrations, EitherSideMayGoFirstAndAnotherConsoleTakesThemAll)
{
    int32_t level = 3;
    auto holder = std::make_unique<CConsoleRegistrations>();
    {
        CConsole first;
        EXPECT_FALSE(holder->AddVariable(nullptr, "level", &level, CONSOLE_VAR_INT));
        ASSERT_TRUE(holder->AddVariable(&first, "level", &level, CONSOLE_VAR_INT));
        CConsole second;
        // Moving to another console takes the entries out of the first one.
        ASSERT_TRUE(holder->AddVariable(&second, "level", &level, CONSOLE_VAR_INT));
        EXPECT_TRUE(first.GetVariables().empty());
        EXPECT_EQ(second.GetVariables().size(), 1u);
        holder->RemoveAll();
        EXPECT_TRUE(second.GetVariables().empty());
        ASSERT_TRUE(holder->AddVariable(&first, "level", &level, CONSOLE_VAR_INT));
        EXPECT_EQ(holder->GetConsole(), &first);
    } // both consoles go while the holder still has an entry in one
    EXPECT_EQ(holder->GetConsole(), nullptr);
    holder.reset(); // nothing left to reach

    CConsole console;
    {
        CConsoleRegistrations scoped;
        scoped.AddVariable(&console, "level", &level, CONSOLE_VAR_INT);
        scoped.AddFunction(&console, "/quit", &RecordQuit, nullptr);
    }
    EXPECT_TRUE(console.GetVariables().empty());
    EXPECT_TRUE(console.GetFunctions().empty());
}
