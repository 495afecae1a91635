#include "kestrup/ExtractPipeline.h"

#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

void CollectExtractItems(const CQelPakFileFolder& folder, const std::string& path, std::vector<SExtractItem>& items)
{
    const std::string folderPath = path.empty() ? std::string(folder.GetName()) : path + "/" + folder.GetName();
    for (uint32_t i = 0; i < folder.GetFileCount(); ++i)
        items.push_back({folderPath, &folder.GetFile(i)});
    for (uint32_t i = 0; i < folder.GetSubfolderCount(); ++i)
        CollectExtractItems(folder.GetSubfolder(i), folderPath, items);
}

int GetDefaultExtractThreads()
{
    unsigned count = std::thread::hardware_concurrency();
    return static_cast<int>(std::clamp(count, 1u, 16u));
}

namespace
{
class CPipeline
{
public:
    CPipeline(const std::vector<SExtractItem>& items, const SExtractPlan& plan)
        : m_items(items), m_results(items.size()), m_costs(items.size()), m_threadCount(plan.m_threadCount)
    {
        uint64_t largest = 0;
        for (size_t i = 0; i < items.size(); ++i)
        {
            m_costs[i] = EstimateConvertCost(*items[i].m_file);
            largest = std::max(largest, m_costs[i]);
        }
        // By default never more in flight than the largest single file needs
        // (with room for small files beside it): the peak stays near that of
        // converting one file after another.
        const uint64_t floor = uint64_t(48) << 20;
        m_budget = plan.m_memoryBudget ? plan.m_memoryBudget : std::max(largest + largest / 4, floor);
        // A file that needs most of the budget runs nearly alone: let the
        // decoder split it across the threads instead.
        m_largeCost = m_budget / 2;
    }

    bool Run(const ExtractDeliver& deliver)
    {
        std::vector<std::thread> threads;
        for (int i = 0; i < m_threadCount; ++i)
            threads.emplace_back([this] { ConvertLoop(); });
        bool goOn = true;
        for (size_t index = 0; index < m_items.size() && goOn; ++index)
        {
            std::unique_ptr<SConvertedFile> result;
            {
                std::unique_lock<std::mutex> hold(m_lock);
                m_ready.wait(hold, [&] { return m_results[index] != nullptr; });
                result = std::move(m_results[index]);
            }
            goOn = deliver(index, *result);
            result.reset();
            std::lock_guard<std::mutex> hold(m_lock);
            m_inFlight -= m_costs[index];
            m_delivered = index + 1;
            m_canStart.notify_all();
        }
        {
            std::lock_guard<std::mutex> hold(m_lock);
            m_stop = true;
            m_canStart.notify_all();
        }
        for (std::thread& thread : threads)
            thread.join();
        return goOn;
    }

private:
    bool CanStartNext() const
    {
        if (m_next >= m_items.size())
            return false;
        // Stored copies cost nothing but still wait their turn, so the results
        // waiting for the writer stay few.
        if (m_next - m_delivered >= size_t(m_threadCount) * 8)
            return false;
        return m_inFlight == 0 || m_inFlight + m_costs[m_next] <= m_budget;
    }

    void ConvertLoop()
    {
        for (;;)
        {
            size_t index = 0;
            {
                std::unique_lock<std::mutex> hold(m_lock);
                m_canStart.wait(hold, [&] { return m_stop || CanStartNext(); });
                if (m_stop)
                    return;
                index = m_next++;
                m_inFlight += m_costs[index];
            }
            auto result = std::make_unique<SConvertedFile>();
            int decoderThreads = m_costs[index] >= m_largeCost ? m_threadCount : 1;
            ConvertPakFile(*m_items[index].m_file, *result, decoderThreads);
            std::lock_guard<std::mutex> hold(m_lock);
            m_results[index] = std::move(result);
            m_ready.notify_all();
            m_canStart.notify_all();
        }
    }

    const std::vector<SExtractItem>& m_items;
    std::vector<std::unique_ptr<SConvertedFile>> m_results;
    std::vector<uint64_t> m_costs;
    int m_threadCount;
    uint64_t m_budget = 0;
    uint64_t m_largeCost = 0;

    std::mutex m_lock;
    std::condition_variable m_ready;
    std::condition_variable m_canStart;
    size_t m_next = 0;
    size_t m_delivered = 0;
    uint64_t m_inFlight = 0;
    bool m_stop = false;
};
} // namespace

bool RunExtractPipeline(const std::vector<SExtractItem>& items, const SExtractPlan& plan,
                        const ExtractDeliver& deliver)
{
    if (plan.m_threadCount <= 1)
    {
        for (size_t index = 0; index < items.size(); ++index)
        {
            SConvertedFile result;
            ConvertPakFile(*items[index].m_file, result);
            if (!deliver(index, result))
                return false;
        }
        return true;
    }
    CPipeline pipeline(items, plan);
    return pipeline.Run(deliver);
}
