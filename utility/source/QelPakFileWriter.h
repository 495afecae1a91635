#pragma once
// Builds resource packs (the format QelPakFile.h reads), for tools, tests and
// the sample data.

#include <cstdint>
#include <string>
#include <vector>

struct SPakSourceFile
{
    std::string m_name;
    std::string m_bytes;
};

struct SPakSourceFolder
{
    std::string m_name;
    std::vector<SPakSourceFolder> m_subfolders;
    std::vector<SPakSourceFile> m_files;
};

// The pack bytes of a tree. False (with a reason) when a name does not fit its
// record, a size does not fit 32 bits, or the tree is deeper or a path longer
// than the reader takes.
bool BuildPakFile(const SPakSourceFolder& root, std::string& bytes, std::string& error);

// Reads a folder of the disk into a tree named after the folder, entries sorted
// by name so the same folder always gives the same pack. False when it nests
// deeper than a pack may (a link back to a folder above, say).
bool ReadPakSourceFolder(const std::string& path, SPakSourceFolder& root, std::string& error);

// Writes a pack's bytes; an older file of the name stays until the new one is complete.
bool WritePakFile(const std::string& path, const std::string& bytes);
