#include "tests/support/AssertCapture.h"
#include "utility/source/QelAssert.h"
#include "utility/source/QelErrorLog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
std::vector<std::pair<std::string, uint32_t>> s_heard;

void Listen(const char* text, uint32_t userValue)
{
    s_heard.emplace_back(text, userValue);
}

void FailAtOneSite(bool condition)
{
    QEL_ASSERT(condition);
}

void FailAtAnotherSite(bool condition)
{
    QEL_ASSERT_MSG(condition, "Palette missing");
}
} // namespace

TEST(QelAssert, TextsOfBothForms)
{
    EXPECT_EQ(FormatAssertText(nullptr, "x > 0", "a.cpp", 12, "Run"),
              "Assert failed!\r\r\nExpression: x > 0\r\r\nFile: a.cpp\r\r\nLine: 12\r\r\nFunction: Run\r\r\n\r\r\n");
    EXPECT_EQ(FormatAssertText("Deletion of invalid pointer", "(t_uint32)pObj > 4095", "b.cpp", 7, "Free"),
              "Deletion of invalid pointer\r\r\n\r\r\nAssert failed!\r\r\nExpression: (t_uint32)pObj > 4095\r\r\n"
              "File: b.cpp\r\r\nLine: 7\r\r\nFunction: Free\r\r\n\r\r\n");
}

TEST(QelAssert, ReportReachesTheErrorLogAndTheHandler)
{
    CAssertCapture capture;
    s_heard.clear();
    ASSERT_TRUE(g_errorLog.AddListener(&Listen, 77));
    FailAtAnotherSite(false);
    FailAtAnotherSite(true); // holds: nothing reported
    g_errorLog.RemoveListener(&Listen, 77);

    ASSERT_EQ(capture.GetTexts().size(), 1u);
    const std::string& text = capture.GetTexts()[0];
    EXPECT_EQ(text.rfind("Palette missing\r\r\n\r\r\nAssert failed!\r\r\nExpression: condition\r\r\n", 0), 0u) << text;
    EXPECT_NE(text.find("Function: FailAtAnotherSite"), std::string::npos);
    ASSERT_EQ(s_heard.size(), 1u);
    EXPECT_EQ(s_heard[0].first, "Error:   " + text);
    EXPECT_EQ(s_heard[0].second, 77u);
}

TEST(QelAssert, AnIgnoredSiteStaysSilentOthersStillReport)
{
    {
        CAssertCapture capture(EAssertAnswer::IgnoreAlways);
        FailAtOneSite(false);
        EXPECT_EQ(capture.GetTexts().size(), 1u);
    }
    CAssertCapture capture(EAssertAnswer::Ignore);
    FailAtOneSite(false);
    FailAtOneSite(false);
    EXPECT_TRUE(capture.GetTexts().empty());
    FailAtAnotherSite(false);
    EXPECT_EQ(capture.GetTexts().size(), 1u);
}

TEST(QelAssert, RetryAndIgnoreGoOnAbortEndsWithStatusOne)
{
    for (EAssertAnswer answer : {EAssertAnswer::Retry, EAssertAnswer::Ignore})
    {
        CAssertCapture capture(answer);
        FailAtAnotherSite(false);
        FailAtAnotherSite(false);
        EXPECT_EQ(capture.GetTexts().size(), 2u);
    }
    EXPECT_EXIT(
        {
            CAssertCapture capture(EAssertAnswer::Abort);
            FailAtAnotherSite(false);
        },
        testing::ExitedWithCode(1), "");
}

TEST(QelErrorLog, TenListenerSlots)
{
    CErrorLog log;
    for (uint32_t i = 0; i < CErrorLog::kMaxListeners; ++i)
        EXPECT_TRUE(log.AddListener(&Listen, i));
    EXPECT_FALSE(log.AddListener(&Listen, 99));
    log.RemoveListener(&Listen, 3);
    s_heard.clear();
    log.Report("disk full");
    ASSERT_EQ(s_heard.size(), 9u);
    for (const auto& heard : s_heard)
    {
        EXPECT_EQ(heard.first, "Error:   disk full");
        EXPECT_NE(heard.second, 3u);
    }
    EXPECT_TRUE(log.AddListener(&Listen, 99)); // the freed slot is used again
}
