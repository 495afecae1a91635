#pragma once
// The unpacker's output: entries of the game's pack archive with "QUAR" headers,
// one after another, with no directory. Built on the game's pack writer; this
// layer keeps the list of what went in so the finished file can be checked
// against it before it replaces anything.

#include "utility/source/QelPackWriter.h"

#include <cstdint>
#include <string>
#include <vector>

struct SWrittenEntry
{
    std::string m_name;
    uint32_t m_size = 0;
};

struct SDataFileWriter
{
    SDataFileWriter() : m_writer(CPackArchiveWriter::ESignature::Quar) {}

    CPackArchiveWriter m_writer;
    std::string m_path;
    std::string m_entryName; // of the entry being written
    uint32_t m_entrySize = 0;
    std::vector<SWrittenEntry> m_entries;
};

// Opens the output for writing (under a temporary name until CloseDataFile).
bool OpenDataFile(SDataFileWriter& writer, const char* name);
// Finishes the file; false when any write, the flush or the rename failed.
bool CloseDataFile(SDataFileWriter& writer);
// Drops the unfinished output; an older file of the name stays as it was.
void AbandonDataFile(SDataFileWriter& writer);

bool BeginDataFileEntry(SDataFileWriter& writer, const char* name);
bool WriteDataFileBytes(SDataFileWriter& writer, const void* data, size_t count);
bool WriteDataFileUInt32(SDataFileWriter& writer, uint32_t value);
bool EndDataFileEntry(SDataFileWriter& writer);
bool WriteDataFileEntry(SDataFileWriter& writer, const char* name, size_t size, const void* data);

// Reads a finished output back through the game's pack archive: every entry
// written must be found with its size, and the records must fill the file
// exactly. False with a reason otherwise.
bool VerifyDataFile(const char* path, const std::vector<SWrittenEntry>& entries, std::string& error);
