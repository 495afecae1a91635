// Unpacking speed against OpenJPEG's own command-line decoder at its best.
//
// Generates a resource pack of JPEG-2000 images (a few large RGBA ones, many small),
// then, RUNS times in turn,
//   1. unpacks it with the kestrup program (one child process), and
//   2. decodes the same images, loose in a folder, with one opj_decompress process
//      over the folder (-ImgDir, TGA output, -threads at the core count),
// and prints the median wall time and peak resident memory of both and their ratios.
//
//   bench_kestrup_unpack [--large N] [--small N] [--side PIXELS] [--runs N]

#include "benchmarks/ChildProcess.h"
#include "utility/source/QelJpeg2000.h"
#include "utility/source/QelPakFileWriter.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace
{
namespace fs = std::filesystem;

// Smooth shapes with some grain, so the images pack about as well as drawn art.
std::vector<uint8_t> DrawPicture(uint32_t width, uint32_t height, uint32_t seed)
{
    std::vector<uint8_t> pixels(size_t(width) * height * 4);
    uint32_t noise = seed * 2654435761u + 1;
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)
        {
            noise = noise * 1664525u + 1013904223u;
            uint8_t grain = uint8_t((noise >> 24) & 7);
            float fx = float(x) / float(width);
            float fy = float(y) / float(height);
            uint8_t* p = &pixels[(size_t(y) * width + x) * 4];
            p[0] = uint8_t(127 + 120 * std::sin(fx * 9 + float(seed))) + grain;
            p[1] = uint8_t(127 + 120 * std::cos(fy * 7 + fx * 3)) + grain;
            p[2] = uint8_t(255 * fx * fy) + grain;
            p[3] = uint8_t(std::min(255.0f, 400 * (1 - std::fabs(fx - 0.5f) - std::fabs(fy - 0.5f))));
        }
    return pixels;
}

bool WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    return bool(out);
}

// Writes the resource pack (as "pack.bin") and the same images loose into work/loose.
bool GeneratePack(const fs::path& work, long largeCount, long smallCount, uint32_t largeSide)
{
    std::printf("Generating %ld large (%u x %u) and %ld small images...\n", largeCount, largeSide, largeSide,
                smallCount);
    SPakSourceFolder root{"data", {SPakSourceFolder{"big", {}, {}}, SPakSourceFolder{"small", {}, {}}}, {}};
    uint64_t compressed = 0;
    uint64_t raw = 0;
    for (long i = 0; i < largeCount + smallCount; ++i)
    {
        bool large = i < largeCount;
        uint32_t width = large ? largeSide : 32 + uint32_t(i * 37 % 225);
        uint32_t height = large ? largeSide : 32 + uint32_t(i * 53 % 225);
        bool alpha = large || i % 2 == 0;
        std::vector<uint8_t> pixels = DrawPicture(width, height, uint32_t(i));
        std::vector<uint8_t> encoded;
        if (!EncodeJpeg2000(pixels.data(), width, height, alpha, true, encoded))
        {
            std::fprintf(stderr, "encoding failed\n");
            return false;
        }
        std::string bytes(encoded.begin(), encoded.end());
        std::string name = "img" + std::to_string(i) + ".jp2";
        WriteBytes((work / "loose" / name).string(), bytes);
        compressed += bytes.size();
        raw += uint64_t(width) * height * (alpha ? 4 : 3);
        root.m_subfolders[large ? 0 : 1].m_files.push_back({name, std::move(bytes)});
    }
    std::string pack;
    std::string error;
    if (!BuildPakFile(root, pack, error))
    {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    std::printf("%ld images: %.1f MB JPEG-2000, %.1f MB as TGA\n", largeCount + smallCount, double(compressed) / 1e6,
                double(raw) / 1e6);
    std::fflush(stdout);
    return WriteBytes((work / "pack.bin").string(), pack);
}

long ArgValue(int argc, char** argv, const char* name, long fallback)
{
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], name) == 0)
            return std::atol(argv[i + 1]);
    return fallback;
}
} // namespace

int main(int argc, char** argv)
{
    const long largeCount = ArgValue(argc, argv, "--large", 3);
    const long smallCount = ArgValue(argc, argv, "--small", 200);
    const uint32_t largeSide = uint32_t(ArgValue(argc, argv, "--side", 2048));
    const long runs = std::max(1L, ArgValue(argc, argv, "--runs", 3));
    const std::string kestrup = (fs::canonical("/proc/self/exe").parent_path() / "kestrup").string();

    char pattern[] = "/tmp/kestrup-bench-XXXXXX";
    if (!mkdtemp(pattern))
        return 1;
    const fs::path work(pattern);
    const fs::path loose = work / "loose";
    fs::create_directories(loose);

    // Made in a child process: a forked process starts with its parent's resident
    // memory, so the measured programs are started from a parent that stays small.
    std::fflush(nullptr);
    pid_t generator = fork();
    if (generator == 0)
        _exit(GeneratePack(work, largeCount, smallCount, largeSide) ? 0 : 1);
    int generated = 1;
    waitpid(generator, &generated, 0);
    if (!WIFEXITED(generated) || WEXITSTATUS(generated) != 0)
        return 1;

    // Runs in turn, so a change in the machine's load falls on both alike; medians.
    const std::string threads = std::to_string(std::max(1u, std::thread::hardware_concurrency()));
    std::vector<bench::SRunResult> ours;
    std::vector<bench::SRunResult> theirs;
    for (long run = 0; run < runs; ++run)
    {
        // The unpacker deletes its pack when it succeeds: a fresh copy each run.
        fs::copy_file(work / "pack.bin", work / "TessavarSprites.pak", fs::copy_options::overwrite_existing);
        fs::remove(work / "tessavar.001");
        ours.push_back(bench::RunChild({kestrup}, work.string(), {{"KESTRUP_HEADLESS", "1"}}));

        // opj_decompress writes beside its inputs and would read its own outputs next time.
        for (const fs::directory_entry& entry : fs::directory_iterator(loose))
            if (entry.path().extension() != ".jp2")
                fs::remove(entry.path());
        theirs.push_back(bench::RunChild(
            {"opj_decompress", "-ImgDir", "loose", "-OutFor", "tga", "-threads", threads, "-quiet"}, work.string()));
    }
    const bench::SRunResult a = bench::Median(ours);
    const bench::SRunResult b = bench::Median(theirs);

    std::printf("%-44s %10s %14s   (medians of %ld runs in turn)\n", "", "seconds", "peak memory", runs);
    std::printf("%-44s %10.2f %11.1f MB%s\n", "kestrup (whole pack)", a.m_seconds, double(a.m_peakKb) / 1024,
                a.m_ok ? "" : "  FAILED");
    const std::string label = "opj_decompress -ImgDir -threads " + threads;
    std::printf("%-44s %10.2f %11.1f MB%s\n", label.c_str(), b.m_seconds, double(b.m_peakKb) / 1024,
                b.m_ok ? "" : "  FAILED");
    std::printf("kestrup / opj_decompress: time %.2f (aim: at most 0.30), peak memory %.2f (aim: at most 2)\n",
                a.m_seconds / b.m_seconds, double(a.m_peakKb) / double(b.m_peakKb));
    std::error_code ignored;
    fs::remove_all(work, ignored);
    return a.m_ok && b.m_ok ? 0 : 1;
}
