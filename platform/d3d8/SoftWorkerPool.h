#pragma once
// A fixed set of threads that run one job at a time, each worker with its own index; the
// calling thread takes index 0 and returns when every index has finished.

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

class CSoftWorkerPool
{
public:
    using JobFunction = void (*)(void* context, uint32_t index);

    explicit CSoftWorkerPool(uint32_t threadCount);  // the caller counts as one
    ~CSoftWorkerPool();
    CSoftWorkerPool(const CSoftWorkerPool&) = delete;
    CSoftWorkerPool& operator=(const CSoftWorkerPool&) = delete;

    uint32_t GetThreadCount() const { return static_cast<uint32_t>(m_threads.size()) + 1; }
    void Run(JobFunction job, void* context);

private:
    void WorkerLoop(uint32_t index);

    std::vector<std::thread> m_threads;
    std::mutex m_mutex;
    std::condition_variable m_start;
    std::condition_variable m_done;
    uint64_t m_generation = 0;
    uint32_t m_pending = 0;
    bool m_quit = false;
    JobFunction m_job = nullptr;
    void* m_context = nullptr;
};
