#include "core/app/StartupSequence.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
// What the fake steps did, in order: "+name" for a start, "-name" for a stop (with "!"
// when the stop came at an orderly shutdown).
std::vector<std::string> s_log;
EStepResult s_bResult = EStepResult::Continue;

EStepResult StartA()
{
    s_log.push_back("+a");
    return EStepResult::Continue;
}
void StopA(ETeardownReason reason)
{
    s_log.push_back(reason == ETeardownReason::Shutdown ? "-a!" : "-a");
}
EStepResult StartB()
{
    s_log.push_back("+b");
    return s_bResult;
}
void StopB(ETeardownReason reason)
{
    s_log.push_back(reason == ETeardownReason::Shutdown ? "-b!" : "-b");
}
EStepResult StartCheck()
{
    s_log.push_back("+check");
    return EStepResult::Continue;
}
EStepResult StartC()
{
    s_log.push_back("+c");
    return EStepResult::Continue;
}
void StopC(ETeardownReason)
{
    s_log.push_back("-c");
}

const SStartupStep STEPS[] = {
    {"a", &StartA, &StopA},
    {"b", &StartB, &StopB},
    {"check", &StartCheck, nullptr},
    {"c", &StartC, &StopC},
};

std::vector<std::string> s_observed;
void Observe(const char* name)
{
    s_observed.push_back(name);
}
} // namespace

TEST(StartupSequence, TeardownUndoesWhatBeganLastFirstWhateverEndedTheRun)
{
    using V = std::vector<std::string>;
    const struct
    {
        const char* name;
        EStepResult bResult;
        size_t injectAt;
        EStepResult expected;
        V log; // starts, then the teardown after the run
    } cases[] = {
        // A step that fails or ends the run is undone too: it may have made half of its thing.
        {"b fails", EStepResult::Failed, 0, EStepResult::Failed, {"+a", "+b", "-b", "-a"}},
        {"b ends silently", EStepResult::EndSilently, 0, EStepResult::EndSilently, {"+a", "+b", "-b", "-a"}},
        {"injected at a", EStepResult::Continue, 1, EStepResult::Failed, {"+a", "-a"}},
        {"injected at the check", EStepResult::Continue, 3, EStepResult::Failed, {"+a", "+b", "+check", "-b", "-a"}},
        {"injected at the last", EStepResult::Continue, 4, EStepResult::Failed,
         {"+a", "+b", "+check", "+c", "-c", "-b", "-a"}},
        {"all run", EStepResult::Continue, 0, EStepResult::Continue, {"+a", "+b", "+check", "+c", "-c", "-b", "-a"}},
    };
    for (const auto& c : cases)
    {
        s_log.clear();
        s_bResult = c.bResult;
        CStartupSequence sequence;
        sequence.SetInjectedFailure(c.injectAt);
        EXPECT_EQ(sequence.Run(STEPS, std::size(STEPS)), c.expected) << c.name;
        EXPECT_EQ(std::string(sequence.GetOwnFailure()).empty(), c.injectAt == 0) << c.name;
        sequence.TearDown(ETeardownReason::StartupEnded);
        EXPECT_EQ(s_log, c.log) << c.name;
        EXPECT_TRUE(sequence.IsEmpty()) << c.name;
        sequence.TearDown(ETeardownReason::StartupEnded); // a second teardown finds nothing
        EXPECT_EQ(s_log, c.log) << c.name;
    }
    s_bResult = EStepResult::Continue;
}

TEST(StartupSequence, ShutdownPassesItsReasonAndTheObserverSeesEachStop)
{
    s_log.clear();
    s_observed.clear();
    CStartupSequence sequence;
    sequence.SetStopObserver(&Observe);
    sequence.SetInjectedFailure(2);
    ASSERT_EQ(sequence.Run(STEPS, std::size(STEPS)), EStepResult::Failed);
    EXPECT_STREQ(sequence.GetOwnFailure(), "Error during startup - b failed (injected)");
    sequence.TearDown(ETeardownReason::StartupEnded);

    s_log.clear();
    sequence.SetInjectedFailure(0);
    ASSERT_EQ(sequence.Run(STEPS, std::size(STEPS)), EStepResult::Continue);
    EXPECT_STREQ(sequence.GetOwnFailure(), "");
    sequence.TearDown(ETeardownReason::Shutdown);
    EXPECT_EQ(s_log, (std::vector<std::string>{"+a", "+b", "+check", "+c", "-c", "-b!", "-a!"}));
    // Steps without a stop are not reported.
    EXPECT_EQ(s_observed, (std::vector<std::string>{"b", "a", "c", "b", "a"}));
}
