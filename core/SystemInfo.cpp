#include "core/SystemInfo.h"

#include "core/Console.h"

#include <cinttypes>
#include <fstream>
#include <sched.h>
#include <sys/sysinfo.h>
#include <sys/utsname.h>
#include <unistd.h>

namespace
{
const char* const KEYBOARD_NAMES[] = {
    "        IBM PC/XT (83 key) or compatible",
    "        Olivetti \"ICO\" (102 key)",
    "        IBM PC/AT (84 key) or compatible",
    "        IBM enhanced (101/102 key) or compatible",
    "        Nokia 1050 and similar",
    "        Nokia 9140 and similar",
    "        Japanese keyboard",
};

// A value in kB from /proc/meminfo, in bytes; 0 when absent.
uint64_t ReadMemInfo(const char* key)
{
    std::ifstream in("/proc/meminfo");
    std::string name;
    uint64_t kilobytes = 0;
    std::string unit;
    while (in >> name >> kilobytes)
    {
        std::getline(in, unit);
        if (name.size() > 1 && name.compare(0, name.size() - 1, key) == 0 && name.back() == ':')
            return kilobytes * 1024u;
    }
    return 0;
}

std::string ReadPrettyOsName()
{
    std::ifstream in("/etc/os-release");
    std::string line;
    const std::string key = "PRETTY_NAME=";
    while (std::getline(in, line))
    {
        if (line.compare(0, key.size(), key) != 0)
            continue;
        std::string value = line.substr(key.size());
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        return value;
    }
    return std::string();
}
} // namespace

int GetDirectXVersion()
{
    return 0;
}

SSystemFacts GatherSystemFacts()
{
    SSystemFacts facts;

    // Windows named its family, service pack and product type here; this system's
    // counterparts are the kernel and the distribution.
    utsname names {};
    if (uname(&names) == 0)
        facts.osLines.push_back(std::string("    ") + names.sysname + " " + names.release + " " + names.machine);
    std::string pretty = ReadPrettyOsName();
    if (!pretty.empty())
        facts.osLines.push_back("    " + pretty);
    if (facts.osLines.empty())
        facts.osLines.push_back("    Some OS I don't know about");

    // No keyboard type can be asked for here.
    facts.keyboardType = 0;

    long online = sysconf(_SC_NPROCESSORS_ONLN);
    facts.cpuCount = online > 0 ? static_cast<int>(online) : 1;
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof(set), &set) == 0)
    {
        for (int cpu = 0; cpu < 64; ++cpu)
        {
            if (CPU_ISSET(cpu, &set))
                facts.activeCpuMask |= uint64_t(1) << cpu;
        }
    }

    facts.cpu = GetCpuInfo();
    GetTicksPerSecond(facts.ticksPerSecond);

    long page = sysconf(_SC_PAGESIZE);
    facts.pageSize = page > 0 ? static_cast<uint64_t>(page) : 4096u;
    facts.allocationGranularity = facts.pageSize; // mappings are placed at page granularity

    // Physical memory and swap (the page file's counterpart) from sysinfo; "virtual"
    // is the commit limit and what of it is not yet committed.
    struct sysinfo info {};
    if (sysinfo(&info) == 0)
    {
        uint64_t unit = info.mem_unit ? info.mem_unit : 1u;
        facts.totalPhysical = static_cast<uint64_t>(info.totalram) * unit;
        facts.availablePhysical = static_cast<uint64_t>(info.freeram) * unit;
        facts.totalPagefile = static_cast<uint64_t>(info.totalswap) * unit;
        facts.availablePagefile = static_cast<uint64_t>(info.freeswap) * unit;
    }
    uint64_t available = ReadMemInfo("MemAvailable");
    if (available)
        facts.availablePhysical = available;
    uint64_t commitLimit = ReadMemInfo("CommitLimit");
    uint64_t committed = ReadMemInfo("Committed_AS");
    facts.totalVirtual = commitLimit;
    facts.availableVirtual = commitLimit > committed ? commitLimit - committed : 0;

    facts.directXVersion = GetDirectXVersion();
    return facts;
}

void LogSystemFacts(const SSystemFacts& facts, CConsole& console)
{
    const char* dashes = "---------------------------------------------------------------------------";
    console.Printf("%s", dashes);
    console.Printf("Operating System Information :");
    for (const std::string& line : facts.osLines)
        console.Printf("%s", line.c_str());
    console.Printf("%s", "");
    console.Printf("Core hardware configuration :");

    console.Printf("    Keyboard :");
    if (facts.keyboardType >= 1 && facts.keyboardType <= 7)
        console.Printf("%s", KEYBOARD_NAMES[facts.keyboardType - 1]);
    else
        console.Printf("        Unknown keyboard type");

    const SCpuInfo& cpu = facts.cpu;
    console.Printf("    CPU :");
    console.Printf("        Number of CPUs = %d", facts.cpuCount);
    console.Printf("        Active CPU mask = 0x%04" PRIx64, facts.activeCpuMask);
    switch (cpu.vendorClass)
    {
    case ECpuVendor::Intel:
        console.Printf("        Manufacturer - Intel");
        break;
    case ECpuVendor::Amd:
        console.Printf("        Manufacturer - AMD");
        break;
    case ECpuVendor::Other:
        console.Printf("        Manufacturer - Other");
        break;
    }
    console.Printf("        CPU Ident = %s", cpu.vendor);
    console.Printf("        CPU Features - ");
    const struct
    {
        bool present;
        const char* line;
    } features[] = {
        {cpu.fpu, "            FPU"},
        {cpu.tsc, "            TSC"},
        {cpu.cmov, "            CMOV"},
        {cpu.mmx, "            MMX"},
        {cpu.sse, "            SSE"},
        {cpu.sse2, "            SSE2"},
        {cpu.threeDNow, "            3DNow!"},
        {cpu.extended3DNow, "            Extended 3DNow!"},
        {cpu.amdExtendedMmx, "            AMD Extended MMX"},
    };
    for (const auto& feature : features)
    {
        if (feature.present)
            console.Printf("%s", feature.line);
    }
    console.Printf("        Approximate clock speed = %" PRIu64, facts.ticksPerSecond / 1000000u);

    // Sizes are 64-bit: a machine with more than 2 GB must not read as negative.
    console.Printf("    Memory :");
    console.Printf("        Page size = %" PRIu64, facts.pageSize);
    console.Printf("        Allocation granularity = %" PRIu64, facts.allocationGranularity);
    console.Printf("        Total physical memory = %" PRIu64 ", available = %" PRIu64, facts.totalPhysical,
                   facts.availablePhysical);
    console.Printf("        Total pagefile size = %" PRIu64 ", available = %" PRIu64, facts.totalPagefile,
                   facts.availablePagefile);
    console.Printf("        Total virtual memory = %" PRIu64 ", available = %" PRIu64, facts.totalVirtual,
                   facts.availableVirtual);

    console.Printf("Multimedia :");
    console.Printf("    DirectX Version = 0x%04x", static_cast<unsigned>(facts.directXVersion));
    console.Printf("%s", dashes);
}

void LogSystemInformation(CConsole& console)
{
    LogSystemFacts(GatherSystemFacts(), console);
}
