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
        {{"tessavar", ""}, ECommandOption::None},
        // Anything else is no option: ignored, and said to be.
        {{"tessavar", "-c", "-v"}, ECommandOption::Unknown},
        {{"tessavar", "-c -v"}, ECommandOption::Unknown},
        {{"tessavar", "-cv"}, ECommandOption::Unknown},
        {{"tessavar", "c"}, ECommandOption::Unknown},
        {{"tessavar", "--help"}, ECommandOption::Unknown},
    };
    for (const SCase& c : cases)
        EXPECT_EQ(ParseCommandLine(static_cast<int>(c.argv.size()), c.argv.data()), c.expected)
            << c.argv.size() << " arguments, last " << c.argv.back();
}

TEST(CommandLine, IgnoredArgumentsAreNamedWhole)
{
    const char* one[] = {"tessavar", "--help"};
    EXPECT_EQ(DescribeIgnoredArguments(2, one), "Unknown option \"--help\" ignored (the options, one at a time: -v "
                                                "the version, -c the launcher, -u the update page)");
    const char* two[] = {"tessavar", "-c", "-v"};
    EXPECT_NE(DescribeIgnoredArguments(3, two).find("\"-c -v\""), std::string::npos);
}
