#pragma once
// A temporary folder that lives as long as the object, for tests that write files.

#include <string>

class CTempDir
{
public:
    CTempDir();
    ~CTempDir();
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;

    const std::string& GetPath() const { return m_path; }
    // Path of a file inside the folder.
    std::string Join(const std::string& name) const { return m_path + "/" + name; }
    // Writes bytes to a file inside the folder, creating missing parent folders.
    bool WriteFile(const std::string& name, const std::string& bytes) const;
    bool ReadFile(const std::string& name, std::string& bytes) const;

private:
    std::string m_path;
};
