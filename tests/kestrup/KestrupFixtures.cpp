#include "tests/kestrup/KestrupFixtures.h"

#include "utility/source/QelJpeg2000.h"

#include <gtest/gtest.h>

std::string EncodeImage(const std::vector<uint8_t>& bgra, uint32_t width, uint32_t height, bool withAlpha,
                        bool jp2File)
{
    std::vector<uint8_t> encoded;
    EXPECT_TRUE(EncodeJpeg2000(bgra.data(), width, height, withAlpha, jp2File, encoded));
    return std::string(encoded.begin(), encoded.end());
}

std::string SpriteBytes(const SSpriteFileData& sprite)
{
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(WriteSpriteFile(sprite, bytes, &error)) << error;
    return std::string(bytes.begin(), bytes.end());
}

std::string BuildPack(const SPakSourceFolder& root)
{
    std::string bytes;
    std::string error;
    EXPECT_TRUE(BuildPakFile(root, bytes, error)) << error;
    return bytes;
}

void CRecordingView::Show(const SKestrupMessage& message)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_messages.push_back(message);
}

std::string CRecordingView::GetLog() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    std::string log;
    for (const SKestrupMessage& message : m_messages)
        if (message.m_kind == SKestrupMessage::LOG)
            log += message.m_text;
    return log;
}

std::vector<SKestrupMessage> CRecordingView::GetMessages(SKestrupMessage::EKind kind) const
{
    std::lock_guard<std::mutex> hold(m_lock);
    std::vector<SKestrupMessage> found;
    for (const SKestrupMessage& message : m_messages)
        if (message.m_kind == kind)
            found.push_back(message);
    return found;
}

int RunKestrup(const std::string& folder, CRecordingView& view, int threadCount)
{
    SKestrupOptions options;
    options.m_folder = folder;
    options.m_threadCount = threadCount;
    CKestrupDlg dialog(view, options);
    if (!dialog.OnInitDialog())
        return -1;
    return dialog.RunModal(nullptr);
}
