#include "core/app/CommandLine.h"

#include <gtest/gtest.h>

TEST(CommandLine, OnlyTheWholeArgumentIsAnOption)
{
    struct SCase
    {
        std::vector<const char*> argv;
        ECommandOption expected;
    } cases[] = {
        {{"tessavar"}, ECommandOption::None},
        {{"tessavar", "-v"}, ECommandOption::ShowVersion},
        {{"tessavar", "-V"}, ECommandOption::ShowVersion},
        {{"tessavar", "-c"}, ECommandOption::ForceLauncher},
        {{"tessavar", "-C"}, ECommandOption::ForceLauncher},
        {{"tessavar", "-u"}, ECommandOption::OpenUpdatePage},
        {{"tessavar", "-c", "-v"}, ECommandOption::None},
        {{"tessavar", "-c -v"}, ECommandOption::None},
        {{"tessavar", "-cv"}, ECommandOption::None},
        {{"tessavar", "c"}, ECommandOption::None},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(ParseCommandLine(static_cast<int>(c.argv.size()), c.argv.data()), c.expected)
            << c.argv.size() << " arguments, last " << c.argv.back();
}
