#include "utility/source/QelPakFileWriter.h"

#include "utility/source/QelFile.h"
#include "utility/source/QelMemoryReader.h"
#include "utility/source/QelPakFile.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace
{
void AppendU32(std::string& bytes, uint32_t value)
{
    uint8_t raw[4];
    WriteLittleU32(raw, value);
    bytes.append(reinterpret_cast<const char*>(raw), 4);
}

// The reader's limits (CQelPakFileFolder): depth below the root, and the length
// of each file's path with the root's name first. A pack beyond them would be
// written only to be refused when opened.
bool AppendFolder(const SPakSourceFolder& folder, std::string& bytes, std::string& error, int depth,
                  size_t pathLength)
{
    if (folder.m_name.size() >= 64 || !IsValidPakName(folder.m_name.data(), folder.m_name.size()))
    {
        error = "folder name \"" + folder.m_name + "\" is empty, too long or not allowed";
        return false;
    }
    if (depth > CQelPakFileFolder::kMaxDepth)
    {
        error = "folder \"" + folder.m_name + "\" nests deeper than " + std::to_string(CQelPakFileFolder::kMaxDepth) +
                " levels";
        return false;
    }
    size_t folderPathLength = pathLength ? pathLength + 1 + folder.m_name.size() : folder.m_name.size();
    if (folder.m_subfolders.size() > UINT32_MAX || folder.m_files.size() > UINT32_MAX)
    {
        error = "folder \"" + folder.m_name + "\" holds too many entries";
        return false;
    }
    std::string name = folder.m_name;
    name.resize(64, '\0');
    bytes += name;
    AppendU32(bytes, static_cast<uint32_t>(folder.m_subfolders.size()));
    AppendU32(bytes, static_cast<uint32_t>(folder.m_files.size()));
    for (const SPakSourceFolder& sub : folder.m_subfolders)
        if (!AppendFolder(sub, bytes, error, depth + 1, folderPathLength))
            return false;
    for (const SPakSourceFile& file : folder.m_files)
    {
        if (!IsValidPakName(file.m_name.data(), file.m_name.size()) || file.m_bytes.size() > UINT32_MAX)
        {
            error = "file \"" + file.m_name + "\" has a name that is not allowed or is too large";
            return false;
        }
        if (folderPathLength + 1 + file.m_name.size() > CQelPakFileFolder::kMaxPathLength)
        {
            error = "file \"" + file.m_name + "\" has a path longer than " +
                    std::to_string(CQelPakFileFolder::kMaxPathLength) + " characters";
            return false;
        }
        AppendU32(bytes, static_cast<uint32_t>(file.m_bytes.size()));
        AppendU32(bytes, static_cast<uint32_t>(file.m_name.size() + 1));
        bytes += file.m_name;
        bytes += '\0';
        bytes += file.m_bytes;
    }
    return true;
}
} // namespace

bool BuildPakFile(const SPakSourceFolder& root, std::string& bytes, std::string& error)
{
    bytes.assign("QLPK");
    AppendU32(bytes, CQelPakFile::kVersion);
    return AppendFolder(root, bytes, error, 0, 0);
}

namespace
{
bool ReadSourceFolder(const std::string& path, SPakSourceFolder& root, std::string& error, int depth)
{
    namespace fs = std::filesystem;
    // A link to a folder above would otherwise be followed until the path gives out.
    if (depth > CQelPakFileFolder::kMaxDepth)
    {
        error = path + " nests deeper than " + std::to_string(CQelPakFileFolder::kMaxDepth) + " levels";
        return false;
    }
    std::error_code code;
    fs::path folder = fs::path(path).lexically_normal();
    if (folder.filename().empty())
        folder = folder.parent_path();
    if (!fs::is_directory(folder, code))
    {
        error = path + " is not a folder";
        return false;
    }
    root = SPakSourceFolder();
    root.m_name = folder.filename().string();
    std::vector<fs::path> entries;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, code))
        entries.push_back(entry.path());
    if (code)
    {
        error = path + ": " + code.message();
        return false;
    }
    std::sort(entries.begin(), entries.end());
    for (const fs::path& entry : entries)
    {
        if (fs::is_directory(entry, code))
        {
            root.m_subfolders.emplace_back();
            if (!ReadSourceFolder(entry.string(), root.m_subfolders.back(), error, depth + 1))
                return false;
        }
        else if (fs::is_regular_file(entry, code))
        {
            std::ifstream in(entry, std::ios::binary);
            SPakSourceFile file;
            file.m_name = entry.filename().string();
            file.m_bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            if (!in.is_open() || in.bad())
            {
                error = entry.string() + " cannot be read";
                return false;
            }
            root.m_files.push_back(std::move(file));
        }
    }
    return true;
}

} // namespace

bool ReadPakSourceFolder(const std::string& path, SPakSourceFolder& root, std::string& error)
{
    return ReadSourceFolder(path, root, error, 0);
}

bool WritePakFile(const std::string& path, const std::string& bytes)
{
    // The file layer writes under a temporary name and renames on Close.
    CQelFile file;
    if (bytes.size() > UINT32_MAX || !OpenFileByPath(file, path.c_str(), FILE_OPEN_WRITE))
        return false;
    uint32_t written = 0;
    if (!file.Write(bytes.data(), static_cast<uint32_t>(bytes.size()), &written) || written != bytes.size())
    {
        file.Abandon();
        return false;
    }
    return file.Close();
}
