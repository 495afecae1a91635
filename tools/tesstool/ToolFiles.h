#pragma once
// Writing tesstool's output files through the game's file layer: a temporary name
// of its own beside the target, flushed to disk and renamed over it, so a failed
// or interrupted write keeps the previous file and two writers never share a name.

#include <cstdint>
#include <string>
#include <vector>

bool WriteToolFile(const std::string& path, const std::vector<uint8_t>& bytes);

// Why a file given to read cannot be opened ("No such file or directory", "it is a
// folder"), or empty when it can.
std::string DescribeUnreadable(const std::string& path);
