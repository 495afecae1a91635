#pragma once
// Comparing a drawn picture with the expected one when two rasterisers may differ a little.

#include <cstdint>
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
