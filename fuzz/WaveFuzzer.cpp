// WAV samples: parsing, then conversion to every channel count and sample size
// a sound device may take.

#include "platform/sound/WaveFile.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SWaveData wave;
    const char* reason = nullptr;
    if (!ParseWave(data, size, wave, &reason))
        return 0;
    for (uint16_t channels = 1; channels <= 2; ++channels)
    {
        for (uint16_t bits = 8; bits <= 16; bits += 8)
        {
            std::vector<uint8_t> out(GetConvertedWaveSize(wave, channels, bits));
            ConvertWaveSamples(wave, channels, bits, out.data());
        }
    }
    return 0;
}
