#include "core/Console.h"
#include "core/app/Application.h"

#include <gtest/gtest.h>

TEST(QuitCommand, TypedQuitSetsTheQuitFlagAndNothingElseDoes)
{
    CConsole console;
    console.RegisterFunction("/quit", &QuitCommand, nullptr);
    bool flag = false;
    console.RegisterVariable("constrainmouse", &flag, CONSOLE_VAR_BOOL);
    console.SetOpen(true);

    // A line that starts with a blank names no command, and variable requests with
    // an empty name touch no command either.
    for (const char* line : {" /quit", "   ", "/set  true", "/show ", "/listfuncs", "quit"})
    {
        GetAppState().quit = false;
        console.ExecuteLine(line);
        EXPECT_FALSE(GetAppState().quit) << '"' << line << '"';
    }
    for (const char* line : {"/quit", "/q", "/QUIT now"})
    {
        GetAppState().quit = false;
        for (const char* c = line; *c; ++c)
            console.KeyChar(static_cast<unsigned char>(*c));
        console.KeyChar(13);
        EXPECT_TRUE(GetAppState().quit) << line;
    }
    GetAppState().quit = false;
}
