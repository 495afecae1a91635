#include "tests/presentation/SpriteFixture.h"

#include "utility/source/QelSpritePacker.h"

std::vector<uint8_t> MakeTestFrame(uint32_t width, uint32_t height, uint32_t index)
{
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)
        {
            uint8_t* p = &pixels[(static_cast<size_t>(y) * width + x) * 4];
            p[0] = static_cast<uint8_t>(index);
            p[1] = static_cast<uint8_t>(x);
            p[2] = static_cast<uint8_t>(y);
            p[3] = static_cast<uint8_t>(200 + index);
        }
    return pixels;
}

SSpriteFileData MakeSpriteData(const SSpriteSpec& spec)
{
    std::vector<std::vector<uint8_t>> frames;
    for (uint32_t i = 0; i < spec.frames; ++i)
        frames.push_back(MakeTestFrame(spec.frameWidth, spec.frameHeight, i));
    SSpritePackOptions options;
    options.pixelFormat = spec.format;
    options.storage = spec.storage;
    options.maxPageSide = spec.pageSide;
    SSpriteFileData data;
    EXPECT_TRUE(PackSpriteFrames(frames, spec.frameWidth, spec.frameHeight, options, data));
    return data;
}

void CSpriteFixture::SetUp()
{
    m_renderer = std::make_unique<CVertexRecordingRenderer>();
    m_bank = std::make_unique<CSpriteBank>();
    ASSERT_TRUE(m_bank->Init(m_renderer.get()));
}

void CSpriteFixture::TearDown()
{
    m_bank.reset();
    m_renderer.reset();
}

std::string CSpriteFixture::WriteBytes(const std::string& name, const std::vector<uint8_t>& bytes)
{
    EXPECT_TRUE(m_dir.WriteFile(name, std::string(bytes.begin(), bytes.end())));
    return m_dir.Join(name);
}

std::string CSpriteFixture::WriteSprite(const std::string& name, const SSpriteSpec& spec)
{
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(WriteSpriteFile(MakeSpriteData(spec), bytes));
    return WriteBytes(name, bytes);
}

int CSpriteFixture::Load(const std::string& path, bool textureOption)
{
    int index = -1;
    EXPECT_TRUE(m_bank->LoadFile(path.c_str(), textureOption, index)) << path;
    return index;
}

SSpriteInstance* CSpriteFixture::Show(int plane, int file, float x, float y, uint32_t frame)
{
    SSpriteInstance* instance = nullptr;
    EXPECT_TRUE(m_bank->CreateInstance(plane, file, instance));
    if (!instance)
        return nullptr;
    instance->m_x = x;
    instance->m_y = y;
    instance->m_frame = frame;
    instance->SetVisible(true);
    return instance;
}
