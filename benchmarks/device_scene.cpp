// Speed of the software 3D device on a busy frame of the game's kind at 800 x 600: a
// full-screen textured backdrop, 2000 alpha-blended, vertex-coloured, linearly filtered
// 32 x 32 sprites and 1500 text-sized quads, drawn in batches of at most 1020 vertices in
// the renderer's states (depth test off, sprites alpha tested above 0.1). Runs the SSE2 span
// loops and the fastest ones this processor has (AVX2 where it can), each on one thread and
// on every hardware thread, in turn for a number of rounds, and prints the median
// milliseconds per frame of each and whether every run drew the same frame.
//
//   bench_device_scene [frames [threads [rounds]]]   (threads 0: every hardware thread)

#include "benchmarks/BusyScene.h"
#include "core/CpuInfo.h"
#include "platform/d3d8/SoftD3DDevice.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <thread>
#include <vector>

namespace
{
constexpr uint32_t kWidth = busy::WIDTH;
constexpr uint32_t kHeight = busy::HEIGHT;
constexpr uint32_t kSprites = busy::SPRITES;
constexpr uint32_t kGlyphs = busy::GLYPHS;
constexpr uint32_t kBatchVertices = busy::BATCH_VERTICES;

CSoftTexture* MakeTexture(CSoftD3DDevice* device, uint32_t size, uint32_t kind)
{
    CSoftTexture* texture = nullptr;
    if (!device->CreateTexture(size, size, ESoftFormat::A8R8G8B8, &texture))
        return nullptr;
    SSoftLockedRect locked;
    texture->LockRect(locked);
    for (uint32_t y = 0; y < size; ++y)
    {
        uint32_t* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.bits) + y * locked.pitch);
        for (uint32_t x = 0; x < size; ++x)
            row[x] = busy::Texel(kind, x, y);
    }
    texture->UnlockRect();
    return texture;
}

using SScene = busy::SScene<SSoftVertex>;

SScene MakeScene()
{
    return busy::MakeScene<SSoftVertex>(-0.5f, true);
}

void DrawBatches(CSoftD3DDevice* device, CSoftVertexBuffer* buffer, const std::vector<SSoftVertex>& vertices)
{
    const uint32_t perBatch = kBatchVertices / 6 * 6;
    for (size_t first = 0; first < vertices.size(); first += perBatch)
    {
        const uint32_t count = static_cast<uint32_t>(std::min<size_t>(perBatch, vertices.size() - first));
        void* data = nullptr;
        buffer->Lock(&data);
        std::memcpy(data, vertices.data() + first, count * sizeof(SSoftVertex));
        buffer->Unlock();
        device->SetStreamSource(buffer, sizeof(SSoftVertex));
        device->DrawPrimitive(SOFT_PT_TRIANGLELIST, 0, count / 3);
    }
}

struct SResult
{
    double msPerFrame;    // median wall time
    double cpuMsPerFrame; // processor time of all the drawing threads, mean
    uint64_t checksum;
};

double ProcessCpuMs()
{
    timespec now = {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

SResult Run(uint32_t threads, ESpanLoops loops, int frames)
{
    SSoftAdapterProfile profile = CSoftD3D::GetDefaultProfile();
    CSoftD3D* d3d = CSoftD3D::Create(profile);
    SSoftPresentParams params;
    params.backBufferWidth = kWidth;
    params.backBufferHeight = kHeight;
    params.backBufferFormat = ESoftFormat::X8R8G8B8;
    params.autoDepthStencil = true;
    params.depthFormat = ESoftFormat::D16;
    CSoftD3DDevice* device = nullptr;
    if (!d3d->CreateDevice(params, &device))
    {
        std::fprintf(stderr, "device creation failed\n");
        std::exit(1);
    }
    device->SetWorkerThreads(threads);
    device->SetSpanLoops(loops);
    device->SetVertexFormat(SOFT_FVF_SCREEN);
    CSoftTexture* backdrop = MakeTexture(device, 256, 0);
    CSoftTexture* sprites[4];
    for (uint32_t i = 0; i < 4; ++i)
        sprites[i] = MakeTexture(device, 64, i + 1);
    CSoftTexture* font = MakeTexture(device, 128, 5);
    CSoftVertexBuffer* buffer = nullptr;
    device->CreateVertexBuffer(kBatchVertices * sizeof(SSoftVertex), &buffer);
    const SScene scene = MakeScene();

    auto drawFrame = [&] {
        device->Clear(SOFT_CLEAR_TARGET | SOFT_CLEAR_ZBUFFER, 0xFF000000, 1.0f);
        device->BeginScene();
        device->SetTextureStageState(0, SOFT_TSS_MINFILTER, SOFT_TEXF_LINEAR);
        device->SetTextureStageState(0, SOFT_TSS_MAGFILTER, SOFT_TEXF_LINEAR);
        device->SetTextureStageState(0, SOFT_TSS_ALPHAOP, SOFT_TOP_MODULATE);
        device->SetTextureStageState(0, SOFT_TSS_ADDRESSU, SOFT_TADDRESS_CLAMP);
        device->SetTextureStageState(0, SOFT_TSS_ADDRESSV, SOFT_TADDRESS_CLAMP);
        device->SetRenderState(SOFT_RS_ZENABLE, 0);
        device->SetRenderState(SOFT_RS_ALPHABLENDENABLE, 0);
        device->SetRenderState(SOFT_RS_ALPHATESTENABLE, 0);
        device->SetTexture(0, backdrop);
        DrawBatches(device, buffer, scene.backdrop);
        device->SetRenderState(SOFT_RS_ALPHABLENDENABLE, 1);
        device->SetRenderState(SOFT_RS_SRCBLEND, SOFT_BLEND_SRCALPHA);
        device->SetRenderState(SOFT_RS_DESTBLEND, SOFT_BLEND_INVSRCALPHA);
        device->SetRenderState(SOFT_RS_ALPHATESTENABLE, 1);
        device->SetRenderState(SOFT_RS_ALPHAFUNC, SOFT_CMP_GREATER);
        device->SetRenderState(SOFT_RS_ALPHAREF, 26);
        for (uint32_t i = 0; i < 4; ++i)
        {
            device->SetTexture(0, sprites[i]);
            DrawBatches(device, buffer, scene.sprites[i]);
        }
        device->SetTexture(0, font);
        DrawBatches(device, buffer, scene.glyphs);
        device->EndScene();
        device->Present();
    };

    for (int i = 0; i < 3; ++i)
        drawFrame();
    std::vector<double> times;
    const double cpuStart = ProcessCpuMs();
    for (int i = 0; i < frames; ++i)
    {
        const auto start = std::chrono::steady_clock::now();
        drawFrame();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    const double cpuMs = (ProcessCpuMs() - cpuStart) / frames;
    std::sort(times.begin(), times.end());

    SResult result{times[times.size() / 2], cpuMs, 1469598103934665603ull};
    CSoftSurface* surface = nullptr;
    device->CreateImageSurface(kWidth, kHeight, ESoftFormat::A8R8G8B8, &surface);
    device->GetFrontBuffer(surface);
    for (size_t i = 0; i < size_t{kWidth} * kHeight; ++i)
        result.checksum = (result.checksum ^ surface->GetPixels()[i]) * 1099511628211ull;
    surface->Release();

    device->SetTexture(0, nullptr);
    device->SetStreamSource(nullptr, 0);
    buffer->Release();
    font->Release();
    for (CSoftTexture* texture : sprites)
        texture->Release();
    backdrop->Release();
    device->Release();
    d3d->Release();
    return result;
}
}  // namespace

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 40;
    const uint32_t threads = argc > 2 ? static_cast<uint32_t>(std::max(0, std::atoi(argv[2]))) : 0;
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;
    const bool avx2 = GetCpuInfo().avx2;
    const uint32_t all = threads ? threads : std::max(1u, std::thread::hardware_concurrency());
    std::printf("device_scene: %ux%u, backdrop + %u sprites 32x32 + %u glyph quads, %d frames a run, medians of "
                "%d rounds in turn; this processor %s AVX2\n",
                kWidth, kHeight, kSprites, kGlyphs, frames, rounds, avx2 ? "has" : "has no");
    struct SConfig
    {
        const char* loops;
        ESpanLoops kind;
        uint32_t threads;
        std::vector<double> ms;
        std::vector<double> cpuMs;
    };
    std::vector<SConfig> configs = {{"SSE2", ESpanLoops::Sse2, 1, {}, {}}, {"SSE2", ESpanLoops::Sse2, all, {}, {}}};
    if (avx2)
    {
        configs.push_back({"AVX2", ESpanLoops::Best, 1, {}, {}});
        configs.push_back({"AVX2", ESpanLoops::Best, all, {}, {}});
    }
    uint64_t checksum = 0;
    bool same = true;
    for (int round = 0; round < rounds; ++round)
        for (SConfig& config : configs)
        {
            const SResult result = Run(config.threads, config.kind, frames);
            config.ms.push_back(result.msPerFrame);
            config.cpuMs.push_back(result.cpuMsPerFrame);
            if (checksum == 0)
                checksum = result.checksum;
            same = same && result.checksum == checksum;
        }
    for (SConfig& config : configs)
    {
        std::sort(config.ms.begin(), config.ms.end());
        std::sort(config.cpuMs.begin(), config.cpuMs.end());
        std::printf("  %s loops, %2u thread(s): %7.2f ms per frame, %7.2f ms of processor time\n", config.loops,
                    config.threads, config.ms[config.ms.size() / 2], config.cpuMs[config.cpuMs.size() / 2]);
    }
    std::printf("frame checksum %016llx: %s\n", static_cast<unsigned long long>(checksum),
                same ? "the same in every run" : "DIFFERENT between runs");
    return same ? 0 : 1;
}
