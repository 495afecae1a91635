#pragma once
// How the player's files (saves, records) reach the disk: whole files made in memory
// first, then written under a temporary name in the same folder, flushed and renamed
// over the old file by the file layer, so a failed write leaves the previous file.
// Tests put a layer of their own in place to make writes fail.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CFileInterface;

class CFileWriteLayer
{
public:
    virtual ~CFileWriteLayer() = default;
    // A file open for writing under a temporary name: Close makes it the file's
    // contents; destroying it unclosed abandons it. Null when it cannot be opened.
    virtual std::unique_ptr<CFileInterface> OpenForWriting(const std::string& path);
};

// The layer in use: the game's file layer unless a test installed another (null puts
// the game's back).
CFileWriteLayer& GetFileWriteLayer();
void SetFileWriteLayer(CFileWriteLayer* layer);

// One file written whole; false (the old file kept) when any part fails.
bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes);

// Reads a whole file from the disk (not the packs); false when it cannot be read or
// holds more than `limit` bytes.
bool ReadWholeUserFile(const std::string& path, std::vector<uint8_t>& bytes, size_t limit);
