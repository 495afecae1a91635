#pragma once
// Converts the files of a resource pack on several threads while one writer
// stores them strictly in pack order. Work in flight is limited by an estimate
// of the memory each conversion takes, so a few large images never decode all
// at once while many small ones do.

#include "kestrup/PakFileConvert.h"
#include "utility/source/QelPakFile.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct SExtractItem
{
    std::string m_folderPath; // the folder names from the root down, joined by "/"
    const SQelPakFileFile* m_file = nullptr;
};

// Lists a folder's files, then those of each subfolder in order: the order in
// which entries are stored. An empty path makes the folder the root.
void CollectExtractItems(const CQelPakFileFolder& folder, const std::string& path, std::vector<SExtractItem>& items);

struct SExtractPlan
{
    int m_threadCount = 1;          // converting threads; 1 converts on the caller's thread
    uint64_t m_memoryBudget = 0;    // estimated bytes in flight; 0 picks one from the items
};

// Gets each converted file, in item order, on the calling thread; false stops the run.
using ExtractDeliver = std::function<bool(size_t index, SConvertedFile& file)>;

// Converts every item and delivers it. A failed conversion is delivered too (with
// m_ok false) so the writer reports it in its place. False when a delivery said stop.
bool RunExtractPipeline(const std::vector<SExtractItem>& items, const SExtractPlan& plan,
                        const ExtractDeliver& deliver);

// The number of converting threads for this machine.
int GetDefaultExtractThreads();
