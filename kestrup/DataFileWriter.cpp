#include "kestrup/DataFileWriter.h"

#include "utility/source/QelPackArchive.h"
#include "utility/source/QelPathResolve.h"

#include <sys/stat.h>

#include <map>

bool OpenDataFile(SDataFileWriter& writer, const char* name)
{
    writer.m_path = name;
    writer.m_entries.clear();
    return writer.m_writer.Open(name);
}

bool CloseDataFile(SDataFileWriter& writer)
{
    return writer.m_writer.Close();
}

void AbandonDataFile(SDataFileWriter& writer)
{
    writer.m_writer.Abandon();
}

bool BeginDataFileEntry(SDataFileWriter& writer, const char* name)
{
    writer.m_entryName = name;
    writer.m_entrySize = 0;
    return writer.m_writer.BeginEntry(name);
}

bool WriteDataFileBytes(SDataFileWriter& writer, const void* data, size_t count)
{
    if (count > UINT32_MAX - writer.m_entrySize || !writer.m_writer.WriteBytes(data, static_cast<uint32_t>(count)))
        return false;
    writer.m_entrySize += static_cast<uint32_t>(count);
    return true;
}

bool WriteDataFileUInt32(SDataFileWriter& writer, uint32_t value)
{
    uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                        static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    return WriteDataFileBytes(writer, bytes, sizeof(bytes));
}

bool EndDataFileEntry(SDataFileWriter& writer)
{
    uint32_t before = writer.m_writer.GetEntryCount();
    if (!writer.m_writer.EndEntry() || writer.m_writer.GetEntryCount() != before + 1)
        return false;
    writer.m_entries.push_back({writer.m_entryName, writer.m_entrySize});
    return true;
}

bool WriteDataFileEntry(SDataFileWriter& writer, const char* name, size_t size, const void* data)
{
    return BeginDataFileEntry(writer, name) && WriteDataFileBytes(writer, data, size) && EndDataFileEntry(writer);
}

bool VerifyDataFile(const char* path, const std::vector<SWrittenEntry>& entries, std::string& error)
{
    struct stat info;
    std::string resolved = ResolvePathNoCase(path);
    if (stat(resolved.c_str(), &info) != 0)
    {
        error = "the output file is missing";
        return false;
    }
    uint64_t expectedSize = 0;
    std::map<std::string, uint32_t> lastSizes; // a later entry of a name hides an earlier one
    for (const SWrittenEntry& entry : entries)
    {
        expectedSize += PACK_RECORD_HEADER_SIZE + entry.m_name.size() + entry.m_size;
        lastSizes[entry.m_name] = entry.m_size;
    }
    if (uint64_t(info.st_size) != expectedSize)
    {
        error = "the output file holds " + std::to_string(info.st_size) + " bytes instead of " +
                std::to_string(expectedSize);
        return false;
    }
    if (entries.empty())
        return true;
    CPackArchive archive;
    if (!archive.MountMainPack(resolved.c_str()))
    {
        error = "the output file does not mount as a pack";
        return false;
    }
    for (const auto& [name, size] : lastSizes)
    {
        const SPackEntry* found = archive.FindPackEntry(name.c_str());
        if (!found || found->size != size)
        {
            error = "entry " + name + " does not read back";
            return false;
        }
    }
    size_t found = 0;
    archive.ForEachEntry([&](const SPackEntry&) { ++found; });
    if (found != lastSizes.size())
    {
        error = "the output file holds " + std::to_string(found) + " entries instead of " +
                std::to_string(lastSizes.size());
        return false;
    }
    return true;
}
