#include "tests/presentation/FontFixture.h"

#include "platform/Tga.h"

#include <vector>

const char* const TINY_FONT_TABLE = "9\n"
                                    "65 0 4 0 6 8 7\n"
                                    "32 0 0 0 3 8 4\n"
                                    "66 0 11 0 5 8 6\n"
                                    "49 0 17 0 4 8 5\n"
                                    "1 0 22 0 4 8 5\n"
                                    "161 0 30 0 2 8 3\n"
                                    "160 0 27 0 2 8 3\n"
                                    "200 1 0 0 8 8 9\n"
                                    "65 0 40 0 1 1 1\n";

CFontFolder::CFontFolder() : m_current(m_dir.GetPath())
{
}

void CFontFolder::WritePage(const std::string& file, int width, int height)
{
    std::vector<uint8_t> pixels(size_t(width) * size_t(height) * 4, 255);
    std::vector<uint8_t> bytes = EncodeTga32(width, height, pixels.data());
    m_dir.WriteFile("data/gui/" + file, std::string(bytes.begin(), bytes.end()));
}

void CFontFolder::WriteTable(const std::string& name, const std::string& text)
{
    m_dir.WriteFile("data/gui/" + name + ".txt", text);
}

void CFontFolder::WriteTinyFont(const std::string& name)
{
    WritePage(name + "000.tga", 64, 16);
    WritePage(name + "001.tga", 16, 16);
    WriteTable(name, TINY_FONT_TABLE);
}

void CFontTest::MakeRenderer(int width, bool colourIsArgb)
{
    m_font.Release();
    m_renderer = std::make_unique<CVertexRecordingRenderer>(colourIsArgb, width);
}

void CFontTest::LoadTiny()
{
    if (!m_renderer)
        MakeRenderer();
    m_folder.WriteTinyFont();
    ASSERT_TRUE(m_font.Load(*m_renderer, "tiny", 2, 0, 3));
    m_renderer->ClearRecords();
}
