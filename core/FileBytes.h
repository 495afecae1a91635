#pragma once
// Whole files as bytes through the file layer (disk first, then the pack archive
// for reads). Writing replaces the file only when every byte was written.

#include <cstdint>
#include <vector>

bool ReadFileBytes(const char* path, std::vector<uint8_t>& bytes);
bool WriteFileBytes(const char* path, const std::vector<uint8_t>& bytes);
