#include "fuzz/FuzzSupport.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

const std::string& GetFuzzScratchFolder()
{
    static const std::string folder = [] {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/tess-fuzz-XXXXXX";
        if (!mkdtemp(&pattern[0]) || chdir(pattern.c_str()) != 0)
        {
            std::perror("fuzz scratch folder");
            std::abort();
        }
        return pattern;
    }();
    return folder;
}

std::string WriteFuzzFile(const char* name, const uint8_t* data, size_t size)
{
    std::string path = GetFuzzScratchFolder() + "/" + name;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return "";
    bool ok = size == 0 || std::fwrite(data, 1, size, file) == size;
    ok = std::fclose(file) == 0 && ok;
    return ok ? path : "";
}
