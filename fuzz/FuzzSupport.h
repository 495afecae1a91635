#pragma once
// Helpers shared by the fuzz harnesses. Readers that take a path rather than
// bytes get the input through a file in a private scratch folder, which is
// also the current directory, so anything a reader opens by a relative name
// stays inside it.

#include <cstddef>
#include <cstdint>
#include <string>

// Creates the scratch folder (once) and makes it the current directory.
const std::string& GetFuzzScratchFolder();

// Writes the bytes to NAME in the scratch folder; the path, or "" on failure.
std::string WriteFuzzFile(const char* name, const uint8_t* data, size_t size);
