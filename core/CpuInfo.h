#pragma once
// Processor identification and the time stamp counter. Start-up refuses a processor
// without the counter; its rate, measured once against the monotonic clock, gives the
// clock speed that the system description reports. Nothing else times with it: frame
// pacing and the renderer's frame statistics use the monotonic clock.

#include <cstdint>

enum class ECpuVendor
{
    Intel,
    Amd,
    Other,
};

struct SCpuInfo
{
    char vendor[13] = {};    // the 12 characters of CPUID leaf 0, terminated
    ECpuVendor vendorClass = ECpuVendor::Other;
    bool fpu = false;
    bool tsc = false;
    bool cmov = false;
    bool mmx = false;
    bool sse = false;
    bool sse2 = false;
    // AVX2 with its 256-bit registers saved by the operating system: the software
    // renderer's widest span loops run only then.
    bool avx2 = false;
    bool threeDNow = false;
    bool extended3DNow = false;
    bool amdExtendedMmx = false;
};

// The raw CPUID registers that identification reads, so the decoding can be checked
// against any processor.
struct SCpuidRegisters
{
    bool hasCpuid = false;
    uint32_t highestLeaf = 0;
    uint32_t vendorEbx = 0, vendorEdx = 0, vendorEcx = 0; // leaf 0, in the order the text runs
    uint32_t leaf1Edx = 0;
    uint32_t leaf1Ecx = 0;
    uint32_t leaf7Ebx = 0;                                // leaf 7, sub-leaf 0
    uint64_t xcr0 = 0;                                    // XGETBV 0, where the OS enabled it
    uint32_t highestExtendedLeaf = 0;
    uint32_t extendedLeaf1Edx = 0;                        // leaf 0x80000001
};

SCpuInfo DecodeCpuid(const SCpuidRegisters& registers);

// Identifies this processor and measures the counter's rate.
void DetectCpu();
// This processor's identification, read on first use from any thread (DetectCpu adds
// the counter's rate only).
const SCpuInfo& GetCpuInfo();

// The counter now; on a processor family without one, the monotonic clock in nanoseconds.
void ReadTimeStamp(uint64_t& stamp);
// Counter ticks per second as measured by DetectCpu (0 before it ran).
void GetTicksPerSecond(uint64_t& ticksPerSecond);
