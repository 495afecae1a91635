#pragma once
// The description of the machine that start-up writes to the console.

#include "core/CpuInfo.h"

#include <cstdint>
#include <string>
#include <vector>

class CConsole;

// What the log reports, gathered from the system or made up by a test.
struct SSystemFacts
{
    std::vector<std::string> osLines; // each already indented
    int keyboardType = 0;             // 1 to 7 as the keyboard type table, 0 unknown
    int cpuCount = 0;
    uint64_t activeCpuMask = 0;
    SCpuInfo cpu;
    uint64_t ticksPerSecond = 0;
    uint64_t pageSize = 0;
    uint64_t allocationGranularity = 0;
    uint64_t totalPhysical = 0, availablePhysical = 0;
    uint64_t totalPagefile = 0, availablePagefile = 0;
    uint64_t totalVirtual = 0, availableVirtual = 0;
    int directXVersion = 0;
};

// 0x0100 x major + minor of the installed DirectX; none exists here, so 0.
int GetDirectXVersion();

// Facts of this machine; the CPU part as DetectCpu found it.
SSystemFacts GatherSystemFacts();
void LogSystemFacts(const SSystemFacts& facts, CConsole& console);
void LogSystemInformation(CConsole& console);
