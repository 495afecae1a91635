#pragma once
// Makes a folder the current directory for the life of the object.

#include <string>

class CCurrentDir
{
public:
    explicit CCurrentDir(const std::string& path);
    ~CCurrentDir();
    CCurrentDir(const CCurrentDir&) = delete;
    CCurrentDir& operator=(const CCurrentDir&) = delete;

private:
    std::string m_previous;
};
