#pragma once
// Fixtures for the unpacker's tests: pictures, JPEG-2000 images and sprite files
// made with the game's own encoders, resource packs, and a dialog view that
// records what the worker showed.

#include "kestrup/KestrupDlg.h"
#include "tests/support/SpriteFiles.h"
#include "utility/source/QelPakFileWriter.h"
#include "utility/source/QelSpriteFormat.h"

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

std::string EncodeImage(const std::vector<uint8_t>& bgra, uint32_t width, uint32_t height, bool withAlpha,
                        bool jp2File = true);

std::string SpriteBytes(const SSpriteFileData& sprite);

std::string BuildPack(const SPakSourceFolder& root);

class CRecordingView : public IKestrupView
{
public:
    void Show(const SKestrupMessage& message) override;
    void ShowCancelRefused() override { ++m_cancelRefused; }

    std::string GetLog() const;
    std::vector<SKestrupMessage> GetMessages(SKestrupMessage::EKind kind) const;
    int m_cancelRefused = 0;

private:
    mutable std::mutex m_lock;
    std::vector<SKestrupMessage> m_messages;
};

// Runs the whole dialog on a folder; gives the exit status.
int RunKestrup(const std::string& folder, CRecordingView& view, int threadCount = 2);
