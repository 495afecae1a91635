#include "tests/support/CurrentDir.h"

#include <climits>
#include <unistd.h>

CCurrentDir::CCurrentDir(const std::string& path)
{
    char buffer[PATH_MAX];
    if (getcwd(buffer, sizeof(buffer)))
        m_previous = buffer;
    if (chdir(path.c_str()) != 0)
        m_previous.clear();
}

CCurrentDir::~CCurrentDir()
{
    if (!m_previous.empty() && chdir(m_previous.c_str()) != 0)
        m_previous.clear();
}
