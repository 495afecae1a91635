// The sprite bank's per-frame cost: instances come and go from the fixed pool without
// the heap, and a frame of many sprites is batched and drawn through the Direct3D 8
// renderer on the software device (800 x 600, in a window; SDL_VIDEODRIVER=dummy works).

#include "platform/D3D8Renderer.h"
#include "presentation/SpriteBank.h"
#include "utility/source/QelSpriteFormat.h"
#include "utility/source/QelSpritePacker.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{
// An 8-frame, 32 x 32 alpha-blended sprite file in a temporary folder.
std::string WriteSampleSprite()
{
    char folder[] = "/tmp/tess_bench_XXXXXX";
    if (!mkdtemp(folder))
        return "";
    std::vector<std::vector<uint8_t>> frames;
    for (uint32_t f = 0; f < 8; ++f)
    {
        std::vector<uint8_t> pixels(32 * 32 * 4);
        for (uint32_t i = 0; i < 32 * 32; ++i)
        {
            float dx = float(i % 32) - 15.5f, dy = float(i / 32) - 15.5f;
            float d = std::sqrt(dx * dx + dy * dy) / 16.0f;
            pixels[i * 4 + 0] = uint8_t(f * 30);
            pixels[i * 4 + 1] = uint8_t(i % 32 * 8);
            pixels[i * 4 + 2] = uint8_t(i / 32 * 8);
            pixels[i * 4 + 3] = d < 1.0f ? uint8_t(255 * (1.0f - d)) : 0;
        }
        frames.push_back(std::move(pixels));
    }
    SSpritePackOptions options;
    options.pixelFormat = 2;
    options.maxPageSide = 128;
    SSpriteFileData data;
    std::vector<uint8_t> bytes;
    if (!PackSpriteFrames(frames, 32, 32, options, data) || !WriteSpriteFile(data, bytes))
        return "";
    std::string path = std::string(folder) + "/bench.spr";
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return "";
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    return path;
}

struct SScene
{
    CD3D8Renderer renderer;
    CSpriteBank bank;
    int file = -1;
    std::string path;

    bool Open()
    {
        renderer.SetDefaultSettings();
        renderer.GetPendingSettings().fullScreen = false;
        const_cast<SDisplaySettings&>(renderer.GetSettings()).fullScreen = false;
        path = WriteSampleSprite();
        return !path.empty() && renderer.Open("Tessavar", nullptr) && bank.Init(&renderer) &&
               bank.LoadFile(path.c_str(), true, file);
    }
    ~SScene()
    {
        bank.Shutdown();
        renderer.Close();
        if (!path.empty())
        {
            std::remove(path.c_str());
            rmdir(path.substr(0, path.rfind('/')).c_str());
        }
    }
};

void InstancesComeAndGo(benchmark::State& state)
{
    SScene scene;
    if (!scene.Open())
    {
        state.SkipWithError("no renderer");
        return;
    }
    const int64_t count = state.range(0);
    std::vector<SSpriteInstance*> instances(size_t(count), nullptr);
    for (auto _ : state)
    {
        for (int64_t i = 0; i < count; ++i)
        {
            scene.bank.CreateInstance(int(i % 21), scene.file, instances[size_t(i)]);
            instances[size_t(i)]->SetVisible(true);
        }
        for (SSpriteInstance* instance : instances)
            scene.bank.DestroyInstance(instance);
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(InstancesComeAndGo)->Arg(1000)->Arg(20000);

void FrameOfSprites(benchmark::State& state)
{
    SScene scene;
    if (!scene.Open())
    {
        state.SkipWithError("no renderer");
        return;
    }
    const int64_t count = state.range(0);
    for (int64_t i = 0; i < count; ++i)
    {
        SSpriteInstance* instance = nullptr;
        scene.bank.CreateInstance(int(8 + i % 4), scene.file, instance);
        instance->m_x = float((i * 37) % 860) - 30.0f;
        instance->m_y = float((i * 53) % 660) - 30.0f;
        instance->m_frame = uint32_t(i % 8);
        instance->m_colour = 0xFFFFFFFF;
        instance->m_scaleX = instance->m_scaleY = 1.0f;
        instance->m_rotation = float(i % 7) * 0.3f;
        instance->SetVisible(true);
    }
    for (auto _ : state)
    {
        scene.renderer.Tick();
        scene.renderer.BeginScene();
        scene.bank.Render();
        scene.renderer.EndScene();
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(FrameOfSprites)->Arg(500)->Arg(2000)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
