#include "tests/support/ImageCompare.h"

#include "tests/support/GoldenImage.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

SImageDifference CompareImages(const std::vector<uint32_t>& actual, const std::vector<uint32_t>& expected,
                               uint32_t width, int tolerance, int neighbourTolerance)
{
    SImageDifference result;
    if (actual.size() != expected.size() || actual.empty() || width == 0 || actual.size() % width != 0)
    {
        result.maxChannel = 255;
        result.differingShare = result.misplacedShare = 1.0;
        return result;
    }
    // Red, green and blue: what the screen shows.
    auto distance = [](uint32_t a, uint32_t b) {
        int worst = 0;
        for (int shift = 0; shift < 24; shift += 8)
            worst = std::max(worst, std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)));
        return worst;
    };
    const int w = int(width), h = int(actual.size() / width);
    size_t differing = 0, misplaced = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
        {
            const uint32_t pixel = actual[size_t(y * w + x)];
            const int worst = distance(pixel, expected[size_t(y * w + x)]);
            result.maxChannel = std::max(result.maxChannel, worst);
            if (worst <= tolerance)
                continue;
            ++differing;
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy)
                for (int dx = -1; dx <= 1 && !near; ++dx)
                {
                    const int nx = x + dx, ny = y + dy;
                    near = nx >= 0 && ny >= 0 && nx < w && ny < h &&
                           distance(pixel, expected[size_t(ny * w + nx)]) <= neighbourTolerance;
                }
            if (!near)
                ++misplaced;
        }
    result.differingShare = double(differing) / double(actual.size());
    result.misplacedShare = double(misplaced) / double(actual.size());
    return result;
}

::testing::AssertionResult IsNearRendererPicture(const std::string& name, const std::vector<uint32_t>& actual,
                                                 const std::vector<uint32_t>& expected, uint32_t width)
{
    const SImageDifference difference =
        CompareImages(actual, expected, width, RENDERER_CHANNEL_TOLERANCE, RENDERER_NEIGHBOUR_TOLERANCE);
    std::printf("%-12s largest channel difference %3d; beyond %d: %.2f%% of pixels, %.2f%% not even at a "
                "neighbour\n",
                name.c_str(), difference.maxChannel, RENDERER_CHANNEL_TOLERANCE, difference.differingShare * 100.0,
                difference.misplacedShare * 100.0);
    if (difference.misplacedShare <= RENDERER_MISPLACED_SHARE && difference.differingShare <= RENDERER_DIFFERING_SHARE)
        return ::testing::AssertionSuccess();
    if (width > 0 && !actual.empty())
        WriteImageTga(name + ".actual.tga", width, uint32_t(actual.size() / width), actual);
    return ::testing::AssertionFailure() << name << ": " << difference.differingShare * 100.0 << "% of pixels beyond "
                                         << RENDERER_CHANNEL_TOLERANCE << ", " << difference.misplacedShare * 100.0
                                         << "% not even at a neighbour";
}

::testing::AssertionResult IsNearRendererGolden(const std::string& folder, const std::string& name,
                                               const std::vector<uint32_t>& actual)
{
    uint32_t width = 0, height = 0;
    std::vector<uint32_t> golden;
    if (!ReadImageTga(std::string(TESS_SOURCE_DIR) + "/tests/" + folder + "/golden/" + name + ".tga", width, height,
                      golden))
        return ::testing::AssertionFailure() << "the golden picture " << name << " cannot be read";
    if (actual.size() != golden.size())
        return ::testing::AssertionFailure() << name << ": " << actual.size() << " pixels drawn, " << golden.size()
                                             << " in the golden picture";
    return IsNearRendererPicture(name, actual, golden, width);
}
