// The resource pack as the unpacker reads it: the folder tree, then every file
// converted (JPEG-2000 images to TGA, sprite pages to raw) in pack order.

#include "fuzz/FuzzSupport.h"
#include "kestrup/ExtractPipeline.h"
#include "utility/source/QelPakFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string path = WriteFuzzFile("fuzz.pak", data, size);
    if (path.empty())
        return 0;
    CQelPakFile pak;
    const CQelPakFileFolder* root = nullptr;
    if (!pak.Open(path.c_str()))
        return 0;
    if (!pak.GetRootFolder(root))
        std::abort();
    std::vector<SExtractItem> items;
    CollectExtractItems(*root, "", items);
    if (items.size() != root->CountFiles())
        std::abort();
    SExtractPlan plan;
    plan.m_threadCount = 1;
    RunExtractPipeline(items, plan, [](size_t, SConvertedFile& file) {
        if (file.m_ok && !file.m_data && file.m_size)
            std::abort();
        return true;
    });
    return 0;
}
