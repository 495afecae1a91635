#include "core/CpuInfo.h"

#include "core/Clock.h"

#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <x86intrin.h>
#define TESS_HAS_CPUID 1
#else
#define TESS_HAS_CPUID 0
#endif

namespace
{
uint64_t s_ticksPerSecond = 0;

// Long enough that the two clocks' reading jitter (well under a microsecond) stays
// below a millionth of the rate; short enough that nobody waits for it.
constexpr uint32_t CALIBRATION_MS = 50;

SCpuidRegisters ReadCpuid()
{
    SCpuidRegisters registers;
#if TESS_HAS_CPUID
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    // __get_cpuid_max toggles the EFLAGS identification bit where that can fail.
    if (!__get_cpuid(0, &eax, &ebx, &ecx, &edx))
        return registers;
    registers.hasCpuid = true;
    registers.highestLeaf = eax;
    registers.vendorEbx = ebx;
    registers.vendorEdx = edx;
    registers.vendorEcx = ecx;
    if (registers.highestLeaf >= 1 && __get_cpuid(1, &eax, &ebx, &ecx, &edx))
    {
        registers.leaf1Edx = edx;
        registers.leaf1Ecx = ecx;
    }
    if (registers.highestLeaf >= 7)
    {
        __cpuid_count(7, 0, eax, ebx, ecx, edx);
        registers.leaf7Ebx = ebx;
    }
    // XGETBV exists only where the OS has set OSXSAVE.
    if (registers.leaf1Ecx & (1u << 27))
    {
        uint32_t low = 0, high = 0;
        __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
        registers.xcr0 = uint64_t(high) << 32 | low;
    }
    registers.highestExtendedLeaf = __get_cpuid_max(0x80000000u, nullptr);
    if (registers.highestExtendedLeaf >= 0x80000001u && __get_cpuid(0x80000001u, &eax, &ebx, &ecx, &edx))
        registers.extendedLeaf1Edx = edx;
#endif
    return registers;
}

uint64_t ReadSerialisedTimeStamp()
{
#if TESS_HAS_CPUID
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    __cpuid(0, eax, ebx, ecx, edx); // earlier instructions finish before the counter is read
    (void)eax;
    (void)ebx;
    (void)ecx;
    (void)edx;
#endif
    uint64_t stamp = 0;
    ReadTimeStamp(stamp);
    return stamp;
}

// One counter reading paired with the monotonic time half-way between the two clock
// readings around it.
void SampleClocks(uint64_t& stamp, uint64_t& ns)
{
    uint64_t before = GetMonotonicNs();
    stamp = ReadSerialisedTimeStamp();
    uint64_t after = GetMonotonicNs();
    ns = before + (after - before) / 2;
}

// The counter's rate against the monotonic clock across a short sleep: no core is
// kept busy, and the kernel's clock is the reference instead of a millisecond tick.
uint64_t CalibrateTimeStamp()
{
    uint64_t stamp0 = 0, ns0 = 0, stamp1 = 0, ns1 = 0;
    SampleClocks(stamp0, ns0);
    SleepMs(CALIBRATION_MS);
    SampleClocks(stamp1, ns1);
    if (ns1 <= ns0 || stamp1 <= stamp0)
        return 0;
    double rate = static_cast<double>(stamp1 - stamp0) * 1e9 / static_cast<double>(ns1 - ns0);
    return static_cast<uint64_t>(rate + 0.5);
}
} // namespace

SCpuInfo DecodeCpuid(const SCpuidRegisters& registers)
{
    SCpuInfo cpu;
    if (!registers.hasCpuid)
        return cpu;
    std::memcpy(cpu.vendor + 0, &registers.vendorEbx, 4);
    std::memcpy(cpu.vendor + 4, &registers.vendorEdx, 4);
    std::memcpy(cpu.vendor + 8, &registers.vendorEcx, 4);
    cpu.vendor[12] = '\0';
    if (std::strcmp(cpu.vendor, "GenuineIntel") == 0)
        cpu.vendorClass = ECpuVendor::Intel;
    else if (std::strcmp(cpu.vendor, "AuthenticAMD") == 0)
        cpu.vendorClass = ECpuVendor::Amd;

    if (registers.highestLeaf >= 1)
    {
        uint32_t edx = registers.leaf1Edx;
        cpu.fpu = (edx & (1u << 0)) != 0;
        cpu.tsc = (edx & (1u << 4)) != 0;
        cpu.cmov = (edx & (1u << 15)) != 0;
        cpu.mmx = (edx & (1u << 23)) != 0;
        cpu.sse = (edx & (1u << 25)) != 0;
        // The SSE2 bit means the same on every vendor's processors.
        cpu.sse2 = (edx & (1u << 26)) != 0;
        // AVX needs the OS to save the SSE and AVX register state (XCR0 bits 1 and 2).
        const uint32_t ecx = registers.leaf1Ecx;
        const bool avx = (ecx & (1u << 27)) != 0 && (ecx & (1u << 28)) != 0 && (registers.xcr0 & 6) == 6;
        cpu.avx2 = avx && registers.highestLeaf >= 7 && (registers.leaf7Ebx & (1u << 5)) != 0;
    }
    if (cpu.vendorClass == ECpuVendor::Amd && registers.highestExtendedLeaf >= 0x80000001u)
    {
        uint32_t edx = registers.extendedLeaf1Edx;
        cpu.threeDNow = (edx & (1u << 31)) != 0;
        cpu.extended3DNow = (edx & (1u << 30)) != 0;
        cpu.amdExtendedMmx = (edx & (1u << 22)) != 0;
    }
    return cpu;
}

namespace
{
SCpuInfo IdentifyCpu()
{
#if TESS_HAS_CPUID
    return DecodeCpuid(ReadCpuid());
#else
    // No CPUID here: the monotonic clock stands in for the counter.
    SCpuInfo cpu;
    cpu.fpu = true;
    cpu.tsc = true;
    return cpu;
#endif
}
} // namespace

void DetectCpu()
{
    s_ticksPerSecond = GetCpuInfo().tsc ? CalibrateTimeStamp() : 0;
}

const SCpuInfo& GetCpuInfo()
{
    static const SCpuInfo s_cpu = IdentifyCpu();
    return s_cpu;
}

void ReadTimeStamp(uint64_t& stamp)
{
#if TESS_HAS_CPUID
    stamp = __rdtsc();
#else
    stamp = GetMonotonicNs();
#endif
}

void GetTicksPerSecond(uint64_t& ticksPerSecond)
{
    ticksPerSecond = s_ticksPerSecond;
}
