#include "core/Console.h"
#include "core/SystemInfo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

namespace
{
constexpr uint32_t Word(const char* four)
{
    return uint32_t(uint8_t(four[0])) | uint32_t(uint8_t(four[1])) << 8 | uint32_t(uint8_t(four[2])) << 16 |
           uint32_t(uint8_t(four[3])) << 24;
}

SCpuidRegisters Vendor(const char* text)
{
    SCpuidRegisters registers;
    registers.hasCpuid = true;
    registers.highestLeaf = 1;
    registers.vendorEbx = Word(text);
    registers.vendorEdx = Word(text + 4);
    registers.vendorEcx = Word(text + 8);
    return registers;
}

// Every line the log prints; the ring keeps only 13, so a console that collects
// every line stands in.
std::vector<std::string> LogLines(const SSystemFacts& facts)
{
    std::vector<std::string> lines;
    struct CCollector : CConsole
    {
        std::vector<std::string>* out;
        void Printf(const char* format, ...) override __attribute__((format(printf, 2, 3)))
        {
            char text[LINE_SIZE];
            va_list args;
            va_start(args, format);
            std::vsnprintf(text, sizeof(text), format, args);
            va_end(args);
            out->push_back(text);
        }
    } collector;
    collector.out = &lines;
    LogSystemFacts(facts, collector);
    return lines;
}

bool Contains(const std::vector<std::string>& lines, const std::string& line)
{
    for (const std::string& l : lines)
    {
        if (l == line)
            return true;
    }
    return false;
}
} // namespace

TEST(CpuInfo, DecodesVendorAndFeatureBits)
{
    SCpuidRegisters intel = Vendor("GenuineIntel");
    intel.leaf1Edx = (1u << 0) | (1u << 4) | (1u << 23) | (1u << 26);
    intel.highestExtendedLeaf = 0x80000001u;
    intel.extendedLeaf1Edx = 0xFFFFFFFFu; // AMD-only bits are not read for Intel
    SCpuInfo cpu = DecodeCpuid(intel);
    EXPECT_STREQ(cpu.vendor, "GenuineIntel");
    EXPECT_EQ(cpu.vendorClass, ECpuVendor::Intel);
    EXPECT_TRUE(cpu.fpu && cpu.tsc && cpu.mmx && cpu.sse2);
    EXPECT_FALSE(cpu.cmov || cpu.sse || cpu.threeDNow || cpu.extended3DNow || cpu.amdExtendedMmx);

    SCpuidRegisters amd = Vendor("AuthenticAMD");
    amd.leaf1Edx = (1u << 15) | (1u << 25) | (1u << 26);
    amd.highestExtendedLeaf = 0x80000001u;
    amd.extendedLeaf1Edx = (1u << 31) | (1u << 22);
    cpu = DecodeCpuid(amd);
    EXPECT_EQ(cpu.vendorClass, ECpuVendor::Amd);
    EXPECT_TRUE(cpu.cmov && cpu.sse && cpu.sse2 && cpu.threeDNow && cpu.amdExtendedMmx);
    EXPECT_FALSE(cpu.fpu || cpu.tsc || cpu.extended3DNow);

    // Without the extended leaf the AMD extras stay off.
    amd.highestExtendedLeaf = 0x80000000u;
    EXPECT_FALSE(DecodeCpuid(amd).threeDNow);

    SCpuidRegisters other = Vendor("CentaurHauls");
    other.leaf1Edx = 1u << 4;
    EXPECT_EQ(DecodeCpuid(other).vendorClass, ECpuVendor::Other);

    // Leaf 1 missing: no feature, hence no counter.
    other.highestLeaf = 0;
    EXPECT_FALSE(DecodeCpuid(other).tsc);
}

TEST(CpuInfo, Avx2NeedsTheFeatureBitsAndTheSystemsRegisterSaving)
{
    struct SCase
    {
        const char* name;
        uint32_t highestLeaf;
        uint32_t leaf1Ecx;
        uint32_t leaf7Ebx;
        uint64_t xcr0;
        bool avx2;
    };
    const uint32_t osxsaveAvx = (1u << 27) | (1u << 28);
    const SCase cases[] = {
        {"everything", 7, osxsaveAvx, 1u << 5, 0x7, true},
        {"leaf 7 not there", 6, osxsaveAvx, 1u << 5, 0x7, false},
        {"no AVX2 bit", 7, osxsaveAvx, ~(1u << 5), 0x7, false},
        {"no AVX bit", 7, 1u << 27, 1u << 5, 0x7, false},
        {"OS does not save the registers (no OSXSAVE)", 7, 1u << 28, 1u << 5, 0x7, false},
        {"OS saves SSE state only", 7, osxsaveAvx, 1u << 5, 0x3, false},
        {"OS saves AVX state only", 7, osxsaveAvx, 1u << 5, 0x5, false},
    };
    for (const SCase& c : cases)
    {
        SCpuidRegisters registers = Vendor("AuthenticAMD");
        registers.highestLeaf = c.highestLeaf;
        registers.leaf1Edx = 1u << 26;
        registers.leaf1Ecx = c.leaf1Ecx;
        registers.leaf7Ebx = c.leaf7Ebx;
        registers.xcr0 = c.xcr0;
        EXPECT_EQ(DecodeCpuid(registers).avx2, c.avx2) << c.name;
    }
}

TEST(CpuInfo, NoCpuidMeansNoTimeStampCounter)
{
    SCpuidRegisters none;
    none.leaf1Edx = 0xFFFFFFFFu;
    SCpuInfo cpu = DecodeCpuid(none);
    EXPECT_FALSE(cpu.tsc);
    EXPECT_STREQ(cpu.vendor, "");
}

TEST(CpuInfo, ThisMachineHasACalibratedCounter)
{
    DetectCpu();
    ASSERT_TRUE(GetCpuInfo().tsc);
    uint64_t rate = 0;
    GetTicksPerSecond(rate);
    // Any processor of the last decades counts between 100 MHz and 10 GHz.
    EXPECT_GT(rate, 100000000u);
    EXPECT_LT(rate, 10000000000u);
    uint64_t first = 0, second = 0;
    ReadTimeStamp(first);
    ReadTimeStamp(second);
    EXPECT_GE(second, first);
}

TEST(SystemInfo, LogListsOnlyPresentFeaturesAndLargeMemory)
{
    SSystemFacts facts;
    facts.osLines = {"    Linux 6.1 x86_64"};
    facts.keyboardType = 4;
    facts.cpuCount = 2;
    facts.activeCpuMask = 3;
    facts.cpu = DecodeCpuid(Vendor("AuthenticAMD"));
    facts.cpu.fpu = facts.cpu.tsc = facts.cpu.threeDNow = true;
    facts.ticksPerSecond = 2400123456u;
    facts.pageSize = 4096;
    facts.allocationGranularity = 4096;
    facts.totalPhysical = 25769803776u; // 24 GiB
    facts.availablePhysical = 3221225472u;

    std::vector<std::string> lines = LogLines(facts);
    ASSERT_GE(lines.size(), 20u);
    EXPECT_EQ(lines.front(), std::string(75, '-'));
    EXPECT_EQ(lines.back(), std::string(75, '-'));
    EXPECT_EQ(lines[1], "Operating System Information :");
    EXPECT_EQ(lines[2], "    Linux 6.1 x86_64");
    EXPECT_EQ(lines[3], "");
    EXPECT_EQ(lines[4], "Core hardware configuration :");

    for (const char* line : {"        IBM enhanced (101/102 key) or compatible", "        Number of CPUs = 2",
                             "        Active CPU mask = 0x0003", "        Manufacturer - AMD",
                             "        CPU Ident = AuthenticAMD", "            FPU", "            TSC",
                             "            3DNow!", "        Approximate clock speed = 2400",
                             "        Total physical memory = 25769803776, available = 3221225472",
                             "    DirectX Version = 0x0000"})
        EXPECT_TRUE(Contains(lines, line)) << line;
    for (const char* absent : {"            CMOV", "            MMX", "            SSE", "            SSE2",
                               "            Extended 3DNow!", "            AMD Extended MMX"})
        EXPECT_FALSE(Contains(lines, absent)) << absent;

    // The feature lines follow their heading directly, in the fixed order.
    auto heading = std::find(lines.begin(), lines.end(), "        CPU Features - ");
    ASSERT_NE(heading, lines.end());
    EXPECT_EQ(*(heading + 1), "            FPU");
    EXPECT_EQ(*(heading + 2), "            TSC");
    EXPECT_EQ(*(heading + 3), "            3DNow!");
}

TEST(SystemInfo, KeyboardTypesOutsideTheTableAreUnknown)
{
    for (int type : {0, 8, -1})
    {
        SSystemFacts facts;
        facts.keyboardType = type;
        EXPECT_TRUE(Contains(LogLines(facts), "        Unknown keyboard type")) << type;
    }
    SSystemFacts facts;
    facts.keyboardType = 2;
    EXPECT_TRUE(Contains(LogLines(facts), "        Olivetti \"ICO\" (102 key)"));
}

TEST(SystemInfo, GatheredFactsDescribeThisMachine)
{
    DetectCpu();
    SSystemFacts facts = GatherSystemFacts();
    EXPECT_FALSE(facts.osLines.empty());
    EXPECT_GE(facts.cpuCount, 1);
    EXPECT_NE(facts.activeCpuMask, 0u);
    EXPECT_GT(facts.totalPhysical, 0u);
    EXPECT_LE(facts.availablePhysical, facts.totalPhysical);
    EXPECT_GT(facts.pageSize, 0u);
    EXPECT_TRUE(facts.cpu.tsc);
}
