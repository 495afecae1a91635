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
        : m_items(items), m_results(items.size()), m_costs(items.size()), m_started(items.size(), false),
          m_overtook(items.size(), false), m_threadCount(plan.m_threadCount)
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
        // Files further on may overtake one that waits for memory, within a share of
        // their own, so the cores a large decode leaves idle convert small files.
        m_overtakeBudget = m_budget / 4;
        // A file that needs most of the budget runs nearly alone: let the
        // decoder split it across the threads instead.
        m_largeCost = m_budget / 2;
        // Converted files waiting for the writer stay few.
        m_window = size_t(m_threadCount) * 8;
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
            if (m_overtook[index])
                m_overtaking -= m_costs[index];
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
    bool Fits(uint64_t cost, uint64_t limit) const { return m_inFlight == 0 || m_inFlight + cost <= limit; }

    // The next file to convert, in pack order where memory allows; else a later one
    // that fits beside it. False when none may start now.
    bool PickNext(size_t& index)
    {
        while (m_first < m_items.size() && m_started[m_first])
            ++m_first;
        const size_t end = std::min(m_items.size(), m_delivered + m_window);
        if (m_first >= end)
            return false;
        // The first waiting file may use the overtaking share too, so files that
        // overtook it hold it up only until they are done.
        if (Fits(m_costs[m_first], m_budget + m_overtakeBudget))
        {
            index = m_first;
            return true;
        }
        for (size_t later = m_first + 1; later < end; ++later)
        {
            if (m_started[later] || m_overtaking + m_costs[later] > m_overtakeBudget ||
                !Fits(m_costs[later], m_budget + m_overtakeBudget))
                continue;
            m_overtook[later] = true;
            m_overtaking += m_costs[later];
            index = later;
            return true;
        }
        return false;
    }

    void ConvertLoop()
    {
        for (;;)
        {
            size_t index = 0;
            {
                std::unique_lock<std::mutex> hold(m_lock);
                m_canStart.wait(hold, [&] { return m_stop || PickNext(index); });
                if (m_stop)
                    return;
                m_started[index] = true;
                m_inFlight += m_costs[index];
            }
            auto result = std::make_unique<SConvertedFile>();
            int decoderThreads = m_costs[index] >= m_largeCost ? m_threadCount : 1;
            ConvertPakFile(*m_items[index].m_file, *result, decoderThreads);
            std::lock_guard<std::mutex> hold(m_lock);
            // The decoder's memory is free again: what waits for the writer is the result.
            const uint64_t resultCost = result->m_buffer.size();
            m_inFlight = m_inFlight - m_costs[index] + resultCost;
            if (m_overtook[index])
                m_overtaking = m_overtaking - m_costs[index] + resultCost;
            m_costs[index] = resultCost;
            m_results[index] = std::move(result);
            m_ready.notify_all();
            m_canStart.notify_all();
        }
    }

    const std::vector<SExtractItem>& m_items;
    std::vector<std::unique_ptr<SConvertedFile>> m_results;
    std::vector<uint64_t> m_costs;
    std::vector<bool> m_started;
    std::vector<bool> m_overtook;
    int m_threadCount;
    uint64_t m_budget = 0;
    uint64_t m_overtakeBudget = 0;
    uint64_t m_largeCost = 0;
    size_t m_window = 0;

    std::mutex m_lock;
    std::condition_variable m_ready;
    std::condition_variable m_canStart;
    size_t m_first = 0; // no file before it waits to start
    size_t m_delivered = 0;
    uint64_t m_inFlight = 0;
    uint64_t m_overtaking = 0;
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
