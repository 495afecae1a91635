#include "kestrup/ExtractPipeline.h"
#include "tests/kestrup/KestrupFixtures.h"

#include <gtest/gtest.h>

#include <cstring>

namespace
{
// Files of one pack in memory: images of many sizes, a few large ones among them, with
// plain copies between.
struct SMemoryPack
{
    std::vector<std::string> m_names;
    std::vector<std::string> m_bytes;
    std::vector<uint32_t> m_sides; // 0 for a copied file
    std::vector<SQelPakFileFile> m_files;
    std::vector<SExtractItem> m_items;

    void Add(const std::string& name, const std::string& bytes, uint32_t side)
    {
        m_names.push_back(name);
        m_bytes.push_back(bytes);
        m_sides.push_back(side);
    }

    void Finish()
    {
        m_files.resize(m_names.size());
        for (size_t i = 0; i < m_names.size(); ++i)
        {
            m_files[i].m_name = m_names[i].c_str();
            m_files[i].m_nameSize = uint32_t(m_names[i].size() + 1);
            m_files[i].m_data = reinterpret_cast<const uint8_t*>(m_bytes[i].data());
            m_files[i].m_dataSize = uint32_t(m_bytes[i].size());
            m_items.push_back({"data", &m_files[i]});
        }
    }
};

SMemoryPack MakeMixedPack()
{
    SMemoryPack pack;
    for (uint32_t i = 0; i < 40; ++i)
    {
        // Every tenth image is large; a text file follows every seventh.
        const uint32_t side = i % 10 == 0 ? 256 : 4 + i;
        pack.Add("img" + std::to_string(i) + ".jp2", EncodeImage(MakePixels(side, side, uint8_t(i)), side, side, true),
                 side);
        if (i % 7 == 0)
            pack.Add("note" + std::to_string(i) + ".txt", "note " + std::to_string(i), 0);
    }
    pack.Finish();
    return pack;
}

TEST(ExtractPipeline, DeliversEveryFileInPackOrderWhateverTheMemoryBudget)
{
    const SMemoryPack pack = MakeMixedPack();
    const uint64_t largeCost = EstimateConvertCost(pack.m_files[0]);
    const uint64_t smallCost = EstimateConvertCost(pack.m_files[2]);
    ASSERT_GT(largeCost, smallCost * 2);
    // Room for one large file and a few small ones (small ones then overtake a large one
    // while it waits), for less than one large file, and the default.
    for (uint64_t budget : {largeCost + smallCost * 4, largeCost / 2, uint64_t(0)})
        for (int threads : {1, 4})
        {
            SCOPED_TRACE(testing::Message() << "budget " << budget << ", " << threads << " threads");
            SExtractPlan plan;
            plan.m_threadCount = threads;
            plan.m_memoryBudget = budget;
            std::vector<size_t> order;
            const bool ran = RunExtractPipeline(pack.m_items, plan, [&](size_t index, SConvertedFile& file) {
                order.push_back(index);
                EXPECT_TRUE(file.m_ok) << file.m_error;
                const uint32_t side = pack.m_sides[index];
                const size_t expected = side ? 18 + size_t(side) * side * 4 : pack.m_bytes[index].size();
                EXPECT_EQ(file.m_size, expected) << pack.m_names[index];
                if (side == 0)
                {
                    EXPECT_EQ(std::memcmp(file.m_data, pack.m_bytes[index].data(), file.m_size), 0);
                }
                return true;
            });
            EXPECT_TRUE(ran);
            ASSERT_EQ(order.size(), pack.m_items.size());
            for (size_t i = 0; i < order.size(); ++i)
                EXPECT_EQ(order[i], i);
        }
}

TEST(ExtractPipeline, AStopFromTheWriterEndsTheRun)
{
    const SMemoryPack pack = MakeMixedPack();
    for (int threads : {1, 4})
    {
        SExtractPlan plan;
        plan.m_threadCount = threads;
        size_t delivered = 0;
        EXPECT_FALSE(RunExtractPipeline(pack.m_items, plan, [&](size_t index, SConvertedFile&) {
            ++delivered;
            return index < 5;
        }));
        EXPECT_EQ(delivered, 6u);
    }
}
} // namespace
