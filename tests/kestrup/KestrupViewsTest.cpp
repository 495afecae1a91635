#include "kestrup/KestrupViews.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace
{
std::string ReadAll(FILE* file)
{
    std::fflush(file);
    std::rewind(file);
    std::string text;
    char buffer[256];
    size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof(buffer), file)) > 0)
        text.append(buffer, count);
    return text;
}

SKestrupMessage Message(SKestrupMessage::EKind kind, const std::string& text = "", uint32_t value = 0)
{
    SKestrupMessage message;
    message.m_kind = kind;
    message.m_text = text;
    message.m_value = value;
    if (kind == SKestrupMessage::FATAL_BOX)
        message.m_caption = "Fatal Error";
    return message;
}

// What the worker of a short failed run shows.
void ShowRun(IKestrupView& view)
{
    view.Show(Message(SKestrupMessage::PROGRESS_RANGE, "", 2));
    view.Show(Message(SKestrupMessage::LOG, "Found 2 files in pak file...\r\r\n"));
    view.Tick();
    view.Show(Message(SKestrupMessage::LOG, "Extracting file - 1/2 - "));
    view.Tick();
    view.Show(Message(SKestrupMessage::LOG, "ok!\r\r\n"));
    view.Show(Message(SKestrupMessage::PROGRESS_POSITION, "", 1));
    view.Show(Message(SKestrupMessage::PICTURE, "", 5));
    view.Tick();
    view.Show(Message(SKestrupMessage::FATAL_BOX, "Failed to create the output data file.\nPlease ensure"));
    view.ShowCancelRefused();
    view.Tick();
}
} // namespace

TEST(KestrupViews, LogBreaksBecomeNewlines)
{
    EXPECT_EQ(ToTerminalText("a\r\r\nb\r\r\n\r\r\nc"), "a\nb\n\nc");
    EXPECT_EQ(ToTerminalText("no break\r\n"), "no break\r\n");
}

TEST(KestrupViews, HeadlessViewWritesPlainLinesAndBoxesOnStandardError)
{
    FILE* out = std::tmpfile();
    FILE* errors = std::tmpfile();
    {
        auto view = CreateHeadlessView(out, errors);
        ShowRun(*view);
    }
    EXPECT_EQ(ReadAll(out), "Found 2 files in pak file...\nExtracting file - 1/2 - ok!\n");
    std::string errorText = ReadAll(errors);
    EXPECT_EQ(errorText.rfind("Fatal Error: Failed to create the output data file.\nPlease ensure\n", 0), 0u)
        << errorText;
    EXPECT_NE(errorText.find("cannot be cancelled"), std::string::npos);
    std::fclose(out);
    std::fclose(errors);
}

TEST(KestrupViews, TerminalViewKeepsTheLogAboveTheProgressBar)
{
    FILE* out = std::tmpfile();
    FILE* errors = std::tmpfile();
    {
        auto view = CreateTerminalView(out, errors);
        ShowRun(*view);
    }
    std::string text = ReadAll(out);
    // Complete log lines are printed whole, after the status line was cleared.
    EXPECT_EQ(text.rfind("Found 2 files in pak file...\n", 0), 0u) << text;
    EXPECT_NE(text.find("\r\033[KExtracting file - 1/2 - ok!\n"), std::string::npos) << text;
    // The bar: half of the files done, stage 6 of the ten pictures.
    EXPECT_NE(text.find("[###############...............] 1/2  stage [######....]"), std::string::npos) << text;
    // A line in progress shows beside the bar until it is complete.
    EXPECT_NE(text.find("0/2  stage [..........] Extracting file - 1/2 - "), std::string::npos) << text;
    EXPECT_EQ(text.substr(text.size() - 4), "\r\033[K"); // the status line is gone at the end
    EXPECT_NE(ReadAll(errors).find("Fatal Error: Failed to create the output data file."), std::string::npos);
    std::fclose(out);
    std::fclose(errors);
}
