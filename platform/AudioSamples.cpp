#include "platform/AudioSystem.h"

#include "core/Console.h"
#include "platform/sound/SoundDevice.h"
#include "platform/sound/WaveFile.h"
#include "utility/source/QelFile.h"

#include <memory>

namespace
{
// The whole file through the file layer (disk or pack); the buffer is given back
// with ReleaseWholeFile.
bool ReadWholeSampleFile(const char* fileName, const uint8_t*& data, uint32_t& size, bool& isCopy)
{
    std::unique_ptr<CFileInterface> file(CreateFileObject());
    if (!file || !OpenFileByPath(*file, fileName, FILE_OPEN_READ))
        return false;
    bool ok = file->ReadWholeFile(fileName, data, size, isCopy);
    file->Close();
    return ok;
}
} // namespace

bool CAudioSystem::LoadSample(const char* fileName, int& index)
{
    index = -1;
    if (m_disabled)
        return true;
    if (!fileName)
        return false;
    CWString name;
    name.AssignNarrow(fileName);
    // Only letter case is ignored: "a/b.wav" and "a\b.wav" are two samples.
    for (int i = 0; i < static_cast<int>(m_samples.size()); ++i)
    {
        if (m_samples[i].refCount > 0 && m_samples[i].name.EqualsNoCase(name))
        {
            ++m_samples[i].refCount;
            index = i;
            return true;
        }
    }
    if (!m_initialised)
        return true; // silent: the caller keeps -1
    int free = -1;
    for (int i = 0; i < static_cast<int>(m_samples.size()) && free < 0; ++i)
    {
        if (m_samples[i].refCount == 0)
            free = i;
    }
    if (free < 0)
    {
        if (g_console)
            g_console->Printf("Sample %s not loaded: all %d sample slots are in use", fileName, SAMPLE_SLOTS);
        return false;
    }
    const uint8_t* data = nullptr;
    uint32_t size = 0;
    bool isCopy = false;
    if (!ReadWholeSampleFile(fileName, data, size, isCopy))
    {
        if (g_console)
            g_console->Printf("Sample %s could not be read", fileName);
        return false;
    }
    SSampleSlot& slot = m_samples[free];
    bool ok = FillSampleBuffer(slot, fileName, data, size);
    ReleaseWholeFile(data, isCopy);
    if (!ok)
        return false;
    slot.name = name;
    slot.refCount = 1;
    index = free;
    return true;
}

bool CAudioSystem::FillSampleBuffer(SSampleSlot& slot, const char* fileName, const uint8_t* file, uint32_t size)
{
    SWaveData wave;
    const char* reason = nullptr;
    if (!ParseWave(file, size, wave, &reason))
    {
        if (g_console)
            g_console->Printf("Sample %s %s", fileName, reason);
        return false;
    }
    SSoundBufferDesc desc;
    desc.flags = SOUNDBUFFER_STATIC | SOUNDBUFFER_CTRL_FREQUENCY | SOUNDBUFFER_CTRL_PAN | SOUNDBUFFER_CTRL_VOLUME;
    desc.format.channels = m_stereoOutput ? wave.format.channels : 1;
    desc.format.bits = m_eightBitSamples ? 8 : wave.format.bits;
    desc.format.rate = wave.format.rate;
    // Sized for the converted samples: a stereo or 16-bit file may shrink.
    desc.bytes = GetConvertedWaveSize(wave, desc.format.channels, desc.format.bits);
    CSoundBuffer* buffer = m_device->CreateBuffer(desc);
    if (!buffer)
    {
        if (g_console)
            g_console->Printf("Sample %s: no sound buffer could be made", fileName);
        return false;
    }
    SSoundLock regions;
    if (!buffer->Lock(0, desc.bytes, regions))
    {
        m_device->ReleaseBuffer(buffer);
        return false;
    }
    ConvertWaveSamples(wave, desc.format.channels, desc.format.bits, regions.first);
    if (!buffer->Unlock(regions))
    {
        m_device->ReleaseBuffer(buffer);
        return false;
    }
    slot.buffer = buffer;
    slot.rate = wave.format.rate;
    return true;
}

void CAudioSystem::ReleaseSample(int index)
{
    if (index < 0 || index >= static_cast<int>(m_samples.size()))
        return;
    SSampleSlot& slot = m_samples[index];
    if (slot.refCount <= 0)
        return;
    if (--slot.refCount == 0)
    {
        // Channels still playing it hold duplicates that keep the data alive.
        if (slot.buffer && m_device)
            m_device->ReleaseBuffer(slot.buffer);
        slot.buffer = nullptr;
        slot.name.Clear();
        slot.rate = 0;
    }
}

const SSampleSlot* CAudioSystem::GetSampleSlot(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_samples.size()))
        return nullptr;
    return &m_samples[index];
}
