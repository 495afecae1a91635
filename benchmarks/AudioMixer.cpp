// The mixer's share of the audio thread: every channel busy plus both streams,
// mixed in the blocks the output device asks for.

#include "platform/sound/SoundDevice.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace
{
std::unique_ptr<CSoundDevice> MakeBusyDevice(int channels)
{
    std::unique_ptr<CSoundDevice> device = CSoundDevice::Create(ESoundOutput::Offline);
    device->SetCooperativeLevel(nullptr, ESoundCooperation::Priority);
    SSoundBufferDesc primary;
    primary.flags = SOUNDBUFFER_PRIMARY;
    SSoundFormat output;
    output.rate = 44100;
    device->CreateBuffer(primary)->SetFormat(output);

    SSoundBufferDesc sample;
    sample.flags = SOUNDBUFFER_STATIC | SOUNDBUFFER_CTRL_FREQUENCY | SOUNDBUFFER_CTRL_PAN | SOUNDBUFFER_CTRL_VOLUME;
    sample.bytes = 22050 * 4;
    sample.format.channels = 2;
    sample.format.rate = 22050;
    CSoundBuffer* original = device->CreateBuffer(sample);
    for (int i = 0; i < channels; ++i)
    {
        CSoundBuffer* copy = device->DuplicateBuffer(original);
        copy->SetFrequency(11025 + 1000 * i);
        copy->SetPan(i * 300 - 5000);
        copy->SetVolume(-100 * i);
        copy->Play(true);
    }
    SSoundBufferDesc ring;
    ring.flags = SOUNDBUFFER_CTRL_VOLUME | SOUNDBUFFER_ACCURATE_POSITION;
    ring.bytes = 8192;
    ring.format.channels = 1;
    for (uint32_t rate : {22050u, 44100u})
    {
        ring.format.rate = rate;
        device->CreateBuffer(ring)->Play(true);
    }
    return device;
}

void MixBlock(benchmark::State& state)
{
    std::unique_ptr<CSoundDevice> device = MakeBusyDevice(static_cast<int>(state.range(0)));
    std::vector<int16_t> out(512 * 2);
    for (auto _ : state)
    {
        device->MixOffline(out.data(), 512);
        benchmark::DoNotOptimize(out.data());
    }
    // Frames mixed per second of work; real time needs 44100.
    state.SetItemsProcessed(state.iterations() * 512);
}
BENCHMARK(MixBlock)->Arg(0)->Arg(8)->Arg(32)->Arg(64);
} // namespace

BENCHMARK_MAIN();
