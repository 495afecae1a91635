#pragma once
// Comparing a drawn picture with the expected one when two rasterisers may differ a little.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

// How far two images of width x height are apart in red, green and blue.
struct SImageDifference
{
    int maxChannel = 0;         // the largest difference in any channel of any pixel
    double differingShare = 0;  // share of pixels with any channel more than `tolerance` apart
    // Share of pixels that are also more than `neighbourTolerance` apart from every neighbour
    // of the expected pixel: what remains when an edge or texel boundary may move by one
    // pixel (the neighbour's vertex colour may differ a little, hence its own tolerance).
    double misplacedShare = 0;
};
SImageDifference CompareImages(const std::vector<uint32_t>& actual, const std::vector<uint32_t>& expected,
                               uint32_t width, int tolerance, int neighbourTolerance);

// How near the OpenGL renderer must come to the software device's pictures: 3 per channel;
// nearest sampling exactly on a texel boundary and pixels exactly on an edge may go either
// way, so a pixel also counts as placed right when it is within 16 of a neighbour of the
// expected one (neighbours differ in vertex colour too); no more than 0.5 % of the pixels
// may fail even that, and no more than 10 % may need it.
constexpr int RENDERER_CHANNEL_TOLERANCE = 3;
constexpr int RENDERER_NEIGHBOUR_TOLERANCE = 16;
constexpr double RENDERER_MISPLACED_SHARE = 0.005;
constexpr double RENDERER_DIFFERING_SHARE = 0.10;

// Compares within that tolerance and prints the figures under the name; a picture beyond it
// is written as <name>.actual.tga into the working directory for viewing.
::testing::AssertionResult IsNearRendererPicture(const std::string& name, const std::vector<uint32_t>& actual,
                                                 const std::vector<uint32_t>& expected, uint32_t width);

// The same against the golden picture tests/<folder>/golden/<name>.tga of the software
// device (the picture must have the golden's size).
::testing::AssertionResult IsNearRendererGolden(const std::string& folder, const std::string& name,
                                               const std::vector<uint32_t>& actual);
