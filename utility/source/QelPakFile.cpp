#include "utility/source/QelPakFile.h"

#include "utility/source/QelAssert.h"
#include "utility/source/QelErrorLog.h"
#include "utility/source/QelMemoryReader.h"
#include "utility/source/QelMemoryTracker.h"

#include <cstring>

namespace
{
constexpr size_t kFolderNameSize = 64;
constexpr size_t kFolderHeaderSize = kFolderNameSize + 8;
// The smallest file record: two sizes and a one-letter name with its NUL.
constexpr size_t kSmallestFileRecord = 8 + 2;

std::string OffsetText(size_t offset)
{
    return "at offset " + std::to_string(offset);
}
} // namespace

bool IsValidPakName(const char* name, size_t length)
{
    if (length == 0 || (length == 1 && name[0] == '.') || (length == 2 && name[0] == '.' && name[1] == '.'))
        return false;
    for (size_t i = 0; i < length; ++i)
    {
        unsigned char c = static_cast<unsigned char>(name[i]);
        if (c < 0x20 || c == 0x7f || c == '/' || c == '\\')
            return false;
    }
    return true;
}

bool CQelPakFileFolder::Read(CQelMemoryReader& reader, int depth, size_t pathLength, std::string& error)
{
    Free();
    size_t at = reader.GetPosition();
    if (depth > kMaxDepth)
    {
        error = "folders nest deeper than " + std::to_string(kMaxDepth) + " levels " + OffsetText(at);
        return false;
    }
    const uint8_t* header = nullptr;
    if (!reader.ReadInPlace(kFolderHeaderSize, header))
    {
        error = "folder record " + OffsetText(at) + " runs past the end of the pack";
        return false;
    }
    const char* name = reinterpret_cast<const char*>(header);
    size_t nameLength = strnlen(name, kFolderNameSize);
    if (nameLength == kFolderNameSize || !IsValidPakName(name, nameLength))
    {
        error = "folder record " + OffsetText(at) + " has no valid name";
        return false;
    }
    size_t folderPathLength = pathLength ? pathLength + 1 + nameLength : nameLength;
    uint32_t subfolderCount = ReadLittleU32(header + kFolderNameSize);
    uint32_t fileCount = ReadLittleU32(header + kFolderNameSize + 4);
    // Every record needs some bytes: counts that the rest of the pack cannot
    // hold are refused before anything is allocated for them.
    uint64_t needed = uint64_t(subfolderCount) * kFolderHeaderSize + uint64_t(fileCount) * kSmallestFileRecord;
    if (needed > reader.GetRemaining())
    {
        error = "folder \"" + std::string(name, nameLength) + "\" " + OffsetText(at) +
                " counts more records than the pack holds";
        return false;
    }

    m_record = header;
    m_name = name;
    if (subfolderCount)
    {
        m_subfolders = QEL_NEW_ARRAY(CQelPakFileFolder, subfolderCount);
        if (!m_subfolders)
        {
            error = "out of memory";
            Free();
            return false;
        }
        m_subfolderCount = subfolderCount;
        for (uint32_t i = 0; i < subfolderCount; ++i)
        {
            if (!m_subfolders[i].Read(reader, depth + 1, folderPathLength, error))
            {
                Free();
                return false;
            }
        }
    }
    if (fileCount)
    {
        m_files = QEL_NEW_ARRAY(SQelPakFileFile, fileCount);
        if (!m_files)
        {
            error = "out of memory";
            Free();
            return false;
        }
        m_fileCount = fileCount;
        for (uint32_t i = 0; i < fileCount; ++i)
        {
            SQelPakFileFile& file = m_files[i];
            size_t fileAt = reader.GetPosition();
            const uint8_t* name8 = nullptr;
            bool ok = reader.ReadU32(file.m_dataSize) && reader.ReadU32(file.m_nameSize) &&
                      reader.ReadInPlace(file.m_nameSize, name8) && reader.ReadInPlace(file.m_dataSize, file.m_data);
            if (!ok)
            {
                error = "file record " + OffsetText(fileAt) + " runs past the end of the pack";
                Free();
                return false;
            }
            file.m_name = reinterpret_cast<const char*>(name8);
            // The name must end at its NUL and nowhere before it.
            size_t length = file.m_nameSize ? strnlen(file.m_name, file.m_nameSize) : 0;
            if (file.m_nameSize < 2 || length != file.m_nameSize - 1 || !IsValidPakName(file.m_name, length))
            {
                error = "file record " + OffsetText(fileAt) + " has no valid name";
                Free();
                return false;
            }
            if (folderPathLength + 1 + length > kMaxPathLength)
            {
                error = "file \"" + std::string(file.m_name) + "\" " + OffsetText(fileAt) + " has a path longer than " +
                        std::to_string(kMaxPathLength) + " characters";
                Free();
                return false;
            }
        }
    }
    return true;
}

void CQelPakFileFolder::Free()
{
    QEL_DELETE_ARRAY(m_subfolders);
    QEL_DELETE_ARRAY(m_files);
    m_subfolders = nullptr;
    m_files = nullptr;
    m_subfolderCount = 0;
    m_fileCount = 0;
    m_record = nullptr;
    m_name = nullptr;
}

uint32_t CQelPakFileFolder::CountFiles() const
{
    uint32_t count = m_fileCount;
    for (uint32_t i = 0; i < m_subfolderCount; ++i)
        count += m_subfolders[i].CountFiles();
    return count;
}

bool CQelPakFile::Fail(const char* fileName, const std::string& reason)
{
    m_lastError = std::string(fileName) + ": " + reason;
    g_errorLog.Report(m_lastError.c_str());
    return false;
}

bool CQelPakFile::Open(const char* fileName)
{
    CQelMappedFile* mapping = QEL_NEW(CQelMappedFile);
    if (!mapping)
        return Fail(fileName, "out of memory");
    if (!mapping->Map(fileName))
    {
        QEL_DELETE(mapping);
        return Fail(fileName, "cannot be opened");
    }
    CQelMemoryReader reader;
    reader.Open(mapping->GetData(), mapping->GetSize());
    char magic[4] = {};
    uint32_t version = 0;
    if (!reader.Read(magic, 4) || std::memcmp(magic, "QLPK", 4) != 0 || !reader.ReadU32(version))
    {
        QEL_DELETE(mapping);
        return Fail(fileName, "is not a resource pack");
    }
    if (version != kVersion)
    {
        QEL_DELETE(mapping);
        return Fail(fileName, "has an unknown version");
    }
    CQelPakFileFolder* root = QEL_NEW(CQelPakFileFolder);
    std::string error = "out of memory";
    if (!root || !root->Read(reader, 0, 0, error))
    {
        QEL_DELETE(root);
        QEL_DELETE(mapping);
        return Fail(fileName, error);
    }
    m_pakFileRoots.push_back(root);
    m_mappings.push_back(mapping);
    m_lastError.clear();
    return true;
}

bool CQelPakFile::GetRootFolder(const CQelPakFileFolder*& root) const
{
    QEL_ASSERT_AS(!m_pakFileRoots.empty(), "this->m_pakFileRoots.HowManyItems()");
    if (m_pakFileRoots.empty())
        return false;
    root = m_pakFileRoots.front();
    return true;
}

void CQelPakFile::Close()
{
    for (CQelPakFileFolder* root : m_pakFileRoots)
        QEL_DELETE(root);
    m_pakFileRoots.clear();
    for (CQelMappedFile* mapping : m_mappings)
        QEL_DELETE(mapping);
    m_mappings.clear();
}
