// The audio system and the renderer register console variables that point into
// themselves; once one is deleted, every console request that names them must find
// nothing (run under AddressSanitizer, a read of the freed object fails the test).

#include "core/Console.h"
#include "platform/AudioSystem.h"
#include "platform/D3D8Renderer.h"
#include "tests/support/core/ScopedConsole.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace
{
int CountNamed(const CConsole& console, const std::string& prefix)
{
    int count = 0;
    for (const SConsoleVariable& variable : console.GetVariables())
        count += variable.name.compare(0, prefix.size(), prefix) == 0;
    return count;
}

std::string LastLine(const CConsole& console)
{
    return console.GetLineCount() ? console.GetLine(console.GetLineCount() - 1) : "";
}

// Lists and sets after the owner went: nothing of it may be listed or reached.
void ExpectOwnerGone(CConsole& console, const char* variable)
{
    int before = console.GetLineCount();
    console.ExecuteLine("/listvars");
    for (int i = before; i < console.GetLineCount(); ++i)
        EXPECT_EQ(std::string(console.GetLine(i)).find(variable), std::string::npos) << console.GetLine(i);
    console.ExecuteLine((std::string("/set ") + variable + " 1").c_str());
    EXPECT_EQ(LastLine(console), std::string("Unknown variable - ") + variable);
    console.ExecuteLine((std::string("/show ") + variable).c_str());
    EXPECT_EQ(LastLine(console), std::string("Unknown variable - ") + variable);
}
} // namespace

TEST(ConsoleOwners, ADeletedAudioSystemLeavesNothingInTheConsole)
{
    CScopedConsole console;
    auto first = std::make_unique<CAudioSystem>();
    {
        CAudioSystem second; // the same names behind the first
        EXPECT_EQ(CountNamed(console.Get(), "a_"), 8);
        console->ExecuteLine("/set a_disableAudio true");
        EXPECT_TRUE(first->IsDisabled());
        EXPECT_FALSE(second.IsDisabled());
    }
    EXPECT_EQ(CountNamed(console.Get(), "a_"), 4);
    first.reset();
    EXPECT_EQ(CountNamed(console.Get(), "a_"), 0);
    ExpectOwnerGone(console.Get(), "a_disableAudio");
    ExpectOwnerGone(console.Get(), "a_maxSimultaneousSamples");
    console->ExecuteLine("/audiorestart");
    EXPECT_EQ(LastLine(console.Get()), "unknown command \"/audiorestart\"");
}

TEST(ConsoleOwners, ARendererRegistersOnceHoweverOftenItOpensAndTakesItAllWithIt)
{
    CScopedConsole console;
    auto renderer = std::make_unique<CD3D8Renderer>();
    renderer->SetDefaultSettings();
    const_cast<SDisplaySettings&>(renderer->GetSettings()).fullScreen = false;
    ASSERT_TRUE(renderer->Open("Tessavar", nullptr));
    renderer->Close();
    ASSERT_TRUE(renderer->Open("Tessavar", nullptr));
    EXPECT_EQ(CountNamed(console.Get(), "r_"), 11);
    console->ExecuteLine("/set r_backBufferWidth 800");
    EXPECT_EQ(renderer->GetPendingSettings().width, 800);
    // The shell's own variable that points into the renderer goes with it too.
    renderer->GetConsoleEntries().AddVariable(&console.Get(), "textureusage", renderer->GetTextureUsageCounter(),
                                              CONSOLE_VAR_UINT);

    renderer.reset();
    EXPECT_TRUE(console->GetVariables().empty());
    ExpectOwnerGone(console.Get(), "r_backBufferWidth");
    ExpectOwnerGone(console.Get(), "r_fullscreen");
    ExpectOwnerGone(console.Get(), "textureusage");
}
