#pragma once
// Golden images for rendering tests: 32-bit TGA files (top row first, blue, green, red,
// alpha bytes) under tests/<folder>/golden/, written run-length encoded; plain ones read too.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

// Pixels given as blue, green, red, alpha bytes (as screenshots hold them) as 0xAARRGGBB.
std::vector<uint32_t> ArgbFromBgraBytes(const std::vector<uint8_t>& bytes);

bool WriteImageTga(const std::string& path, uint32_t width, uint32_t height, const std::vector<uint32_t>& argb);
bool ReadImageTga(const std::string& path, uint32_t& width, uint32_t& height, std::vector<uint32_t>& argb);

// Compares an image with tests/<folder>/golden/<name>.tga. On a mismatch the image is written
// as <name>.actual.tga into the working directory for viewing. With TESS_UPDATE_GOLDENS=1 in
// the environment the golden is rewritten instead (review the change before committing it).
// `tolerance` is the largest difference allowed in any channel.
::testing::AssertionResult MatchesGolden(const std::string& folder, const std::string& name, uint32_t width,
                                         uint32_t height, const std::vector<uint32_t>& argb, int tolerance = 0);
