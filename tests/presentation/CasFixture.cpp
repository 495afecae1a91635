#include "tests/presentation/CasFixture.h"

#include "core/DataFile.h"
#include "platform/AudioSystem.h"
#include "platform/sound/SoundDevice.h"
#include "platform/sound/WaveFile.h"
#include "presentation/CasFile.h"
#include "presentation/CasSource.h"

CRecordingCasFonts::CRecordingCasFonts()
{
    for (int i = 0; i < 5; ++i)
        m_fonts[i] = std::make_unique<CRecordingFont>(*this, i);
}

CCasFont* CRecordingCasFonts::GetFont(int index)
{
    return index >= 0 && index < 4 && !m_missing[index] ? m_fonts[index].get() : nullptr;
}

int CRecordingCasFonts::CRecordingFont::MeasureWidth(const char16_t* text) const
{
    return 7 * static_cast<int>(std::u16string(text).size());
}

void CRecordingCasFonts::CRecordingFont::DrawText(float x, float y, float z, const char16_t* text, uint32_t colour)
{
    m_owner.m_drawn.push_back({m_id, x, y, z, text, colour});
}

void CCasFixture::SetUp()
{
    CSpriteFixture::SetUp();
    g_spriteBank = m_bank.get();
    m_cwd = std::make_unique<CCurrentDir>(m_dir.GetPath());
    m_player = std::make_unique<CAnimationManager>();
    m_player->SetFontSource(&m_fonts);
}

void CCasFixture::TearDown()
{
    m_player.reset();
    m_audio.reset();
    g_audio = nullptr;
    m_cwd.reset();
    g_spriteBank = nullptr;
    CSpriteFixture::TearDown();
}

std::vector<uint8_t> CCasFixture::Compile(const std::string& source)
{
    CDataNodeList nodes;
    EXPECT_TRUE(ParseDataBytes(reinterpret_cast<const uint8_t*>(source.data()), source.size(), nodes));
    SCasAnimation animation;
    std::string error;
    EXPECT_FALSE(nodes.empty());
    if (nodes.empty() || !nodes[0]->IsBlock())
        return {};
    EXPECT_TRUE(CompileCasSource(*static_cast<CDataTree*>(nodes[0].get()), animation, error)) << error;
    return WriteCasAnimation(animation);
}

void CCasFixture::WriteSource(const std::string& name, const std::string& source)
{
    WriteBytes(name, Compile(source));
}

void CCasFixture::WriteAnimation(const std::string& name, const SCasAnimation& animation)
{
    WriteBytes(name, WriteCasAnimation(animation));
}

std::string CCasFixture::AddSprite(const std::string& name, uint32_t frames)
{
    SSpriteSpec spec;
    spec.frames = frames;
    WriteSprite(name, spec);
    return name;
}

int CCasFixture::LoadPlayable(const std::string& name)
{
    int slot = -1;
    EXPECT_TRUE(m_player->Load(name.c_str(), slot)) << name;
    EXPECT_TRUE(m_player->LoadMedia(slot)) << name;
    return slot;
}

void CCasFixture::Step(int times)
{
    for (int i = 0; i < times; ++i)
        m_player->Update();
}

SSpriteInstance* CCasFixture::Instance(int slot, size_t track) const
{
    const SCasAnimation* animation = m_player->GetAnimation(slot);
    return animation && track < animation->m_spriteTracks.size() ? animation->m_spriteTracks[track].m_instance
                                                                  : nullptr;
}

CAudioSystem& CCasFixture::StartAudio()
{
    m_audio = std::make_unique<CAudioSystem>([] { return CSoundDevice::Create(ESoundOutput::Offline); });
    g_audio = m_audio.get();
    m_audio->SetDefaultSettings();
    EXPECT_TRUE(m_audio->Init());
    SSoundFormat format;
    format.channels = 1;
    format.rate = 22050;
    format.bits = 16;
    std::vector<int16_t> samples(22050, 1000);
    WriteBytes("beep.wav", BuildWave(format, samples.data(), static_cast<uint32_t>(samples.size() * 2)));
    return *m_audio;
}
