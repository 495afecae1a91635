#include "core/Clipboard.h"
#include "core/Console.h"
#include "tests/support/core/ScopedConsole.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace
{
class CFakeClipboard : public CClipboardHook
{
public:
    EClipboardResult SetText(const char* text) override
    {
        if (m_result == EClipboardResult::Ok)
            m_text = text;
        return m_result;
    }
    EClipboardResult GetText(std::string& text) override
    {
        text = m_text;
        return m_result;
    }

    std::string m_text;
    EClipboardResult m_result = EClipboardResult::Ok;
};

class ClipboardText : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetClipboardHook(&m_fake);
    }
    void TearDown() override
    {
        SetClipboardHook(nullptr);
    }
    std::string LastLine() const
    {
        return m_console->GetLineCount() ? m_console->GetLine(m_console->GetLineCount() - 1) : "";
    }

    CFakeClipboard m_fake;
    CScopedConsole m_console;
};
} // namespace

TEST_F(ClipboardText, CopyKeepsTheFirst127Characters)
{
    std::string text(200, 'x');
    text[126] = 'A';
    text[127] = 'B';
    ASSERT_TRUE(CopyTextToClipboard(text.c_str()));
    EXPECT_EQ(m_fake.m_text.size(), 127u);
    EXPECT_EQ(m_fake.m_text.back(), 'A');
}

TEST_F(ClipboardText, PasteSkipsBlanksAndCommentsAndStaysTerminated)
{
    m_fake.m_text = "  \t// a note\n\r 0123456789abcdef";
    char buffer[CLIPBOARD_TEXT_SIZE];
    ASSERT_TRUE(PasteTextFromClipboard(buffer));
    EXPECT_STREQ(buffer, "0123456789abcdef");

    m_fake.m_text = std::string(300, 'z');
    std::memset(buffer, 'q', sizeof(buffer));
    ASSERT_TRUE(PasteTextFromClipboard(buffer));
    EXPECT_EQ(std::strlen(buffer), 127u);
}

TEST_F(ClipboardText, FailuresAreReportedOnTheConsole)
{
    struct SCase
    {
        EClipboardResult result;
        bool copy;
        const char* message;
    } cases[] = {
        {EClipboardResult::OpenFailed, true, "Failed to open clipboard!"},
        {EClipboardResult::EmptyFailed, true, "Failed to empty clipboard!"},
        {EClipboardResult::OpenFailed, false, "Failed to open clipboard!"},
        {EClipboardResult::NoText, false, "Failed to get clipboard data, is it really text?"},
    };
    for (const SCase& c : cases)
    {
        m_fake.m_result = c.result;
        char buffer[CLIPBOARD_TEXT_SIZE] = "kept";
        EXPECT_FALSE(c.copy ? CopyTextToClipboard("code") : PasteTextFromClipboard(buffer));
        EXPECT_EQ(LastLine(), c.message);
        EXPECT_STREQ(buffer, "kept");
    }
    SetClipboardHook(nullptr);
    EXPECT_FALSE(CopyTextToClipboard("code"));
    EXPECT_EQ(LastLine(), "Failed to open clipboard!");
}
