#include "platform/d3d8/SoftWorkerPool.h"

#include <new>
#include <system_error>

CSoftWorkerPool::CSoftWorkerPool(uint32_t threadCount)
{
    // A thread the system refuses leaves the pool smaller: the work is shared out by the
    // count of threads it really has.
    try
    {
        m_threads.reserve(threadCount > 1 ? threadCount - 1 : 0);
        for (uint32_t i = 1; i < threadCount; ++i)
            m_threads.emplace_back(&CSoftWorkerPool::WorkerLoop, this, i);
    }
    catch (const std::system_error&)
    {
    }
    catch (const std::bad_alloc&)
    {
    }
}

CSoftWorkerPool::~CSoftWorkerPool()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_quit = true;
    }
    m_start.notify_all();
    for (std::thread& thread : m_threads)
        thread.join();
}

void CSoftWorkerPool::Run(JobFunction job, void* context)
{
    if (m_threads.empty())
    {
        job(context, 0);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_job = job;
        m_context = context;
        m_pending = static_cast<uint32_t>(m_threads.size());
        ++m_generation;
    }
    m_start.notify_all();
    job(context, 0);
    std::unique_lock<std::mutex> lock(m_mutex);
    m_done.wait(lock, [this] { return m_pending == 0; });
}

void CSoftWorkerPool::WorkerLoop(uint32_t index)
{
    uint64_t seen = 0;
    for (;;)
    {
        JobFunction job;
        void* context;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_start.wait(lock, [&] { return m_quit || m_generation != seen; });
            if (m_quit)
                return;
            seen = m_generation;
            job = m_job;
            context = m_context;
        }
        job(context, index);
        bool last;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            last = --m_pending == 0;
        }
        if (last)
            m_done.notify_one();
    }
}
