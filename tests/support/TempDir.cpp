#include "tests/support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

CTempDir::CTempDir()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/tess-test-XXXXXX";
    if (char* made = mkdtemp(pattern.data()))
        m_path = made;
}

CTempDir::~CTempDir()
{
    std::error_code ignored;
    if (!m_path.empty())
        std::filesystem::remove_all(m_path, ignored);
}

bool CTempDir::WriteFile(const std::string& name, const std::string& bytes) const
{
    std::filesystem::path path(Join(name));
    std::error_code ignored;
    std::filesystem::create_directories(path.parent_path(), ignored);
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool CTempDir::ReadFile(const std::string& name, std::string& bytes) const
{
    std::ifstream in(Join(name), std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}
