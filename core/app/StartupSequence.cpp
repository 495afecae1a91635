#include "core/app/StartupSequence.h"

#include <cstdio>
#include <new>

EStepResult CStartupSequence::Run(const SStartupStep* steps, size_t count)
{
    m_ownFailure[0] = '\0';
    try
    {
        m_begun.reserve(m_begun.size() + count);
    }
    catch (const std::bad_alloc&)
    {
        std::snprintf(m_ownFailure, sizeof(m_ownFailure), "Error during startup - out of memory");
        return EStepResult::Failed;
    }
    for (size_t i = 0; i < count; ++i)
    {
        const SStartupStep& step = steps[i];
        m_begun.push_back(&step);
        EStepResult result = step.start ? step.start() : EStepResult::Continue;
        if (result == EStepResult::Continue && m_injectedFailure == i + 1)
        {
            std::snprintf(m_ownFailure, sizeof(m_ownFailure),
                          "Error during startup - %s failed (injected)", step.name);
            result = EStepResult::Failed;
        }
        if (result != EStepResult::Continue)
            return result;
    }
    return EStepResult::Continue;
}

void CStartupSequence::TearDown(ETeardownReason reason)
{
    while (!m_begun.empty())
    {
        const SStartupStep* step = m_begun.back();
        m_begun.pop_back();
        if (!step->stop)
            continue;
        if (m_stopObserver)
            m_stopObserver(step->name);
        step->stop(reason);
    }
}
