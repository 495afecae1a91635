#include "ships/BehaviourArbiter.h"

void CBehaviourArbiter::Setup(std::unique_ptr<CBehaviourContext> context, std::unique_ptr<CBehaviourSensor> sensor,
                              uint32_t intervalMs)
{
    for (std::unique_ptr<CBehaviour>& slot : m_slots)
        slot.reset();
    m_count = 0;
    m_current = 0;
    m_previous = 0;
    m_context = std::move(context);
    if (m_context)
    {
        m_context->m_arbiter = this;
        m_context->m_sensor = std::move(sensor);
        m_context->m_runState = BEHAVIOUR_STOPPED;
    }
    m_interval = intervalMs;
    m_lastDecision = 0;
}

bool CBehaviourArbiter::AddBehaviour(std::unique_ptr<CBehaviour> behaviour)
{
    if (!behaviour)
        return false;
    for (std::unique_ptr<CBehaviour>& slot : m_slots)
        if (!slot)
        {
            slot = std::move(behaviour);
            ++m_count;
            return true;
        }
    return false;
}

CBehaviour* CBehaviourArbiter::GetBehaviour(int slot) const
{
    return slot >= 0 && slot < m_count ? m_slots[slot].get() : nullptr;
}

void CBehaviourArbiter::DampOtherBehaviours(int32_t key)
{
    for (int i = 0; i < m_count; ++i)
        if (m_slots[i] && m_slots[i]->GetKey() != key)
            m_slots[i]->SetWeight(m_slots[i]->GetWeight() * 0.5f);
}

void CBehaviourArbiter::RunCurrent()
{
    CBehaviour* behaviour = GetBehaviour(m_current);
    if (!behaviour)
        return;
    CBehaviourContext& context = *m_context;
    switch (context.m_runState)
    {
    case BEHAVIOUR_START:
        context.m_runState = behaviour->Start(context);
        break;
    case BEHAVIOUR_RUNNING:
        context.m_runState = behaviour->Update(context);
        break;
    case BEHAVIOUR_STOPPING:
        context.m_runState = behaviour->Stop(context);
        break;
    default:
        // Stopped (the next update decides), or a state no behaviour should give:
        // left as it is.
        break;
    }
}

void CBehaviourArbiter::Decide(uint32_t now)
{
    m_lastDecision = now;
    CBehaviourContext& context = *m_context;
    context.Update();
    // Weights are reset only here, so a behaviour scored later may damp one scored
    // earlier and nothing undoes it in this round.
    for (int i = 0; i < m_count; ++i)
        if (m_slots[i])
            m_slots[i]->SetWeight(1.0f);
    for (int i = 0; i < m_count; ++i)
        if (m_slots[i])
            m_slots[i]->Score(context);
    int best = 0;
    float bestValue = m_slots[0] ? m_slots[0]->GetScore() * m_slots[0]->GetWeight() : 0.0f;
    for (int i = 1; i < m_count; ++i)
    {
        if (!m_slots[i])
            continue;
        const float value = m_slots[i]->GetScore() * m_slots[i]->GetWeight();
        if (value > bestValue)
        {
            bestValue = value;
            best = i;
        }
    }
    if (best != m_current && context.m_runState != BEHAVIOUR_STOPPED)
    {
        // The running behaviour stops first; the winner starts at a later decision,
        // which the stopped state brings at once.
        context.m_runState = BEHAVIOUR_STOPPING;
        return;
    }
    if (context.m_runState == BEHAVIOUR_STOPPED)
        context.m_runState = BEHAVIOUR_START;
    m_previous = m_current;
    m_current = best;
}

bool CBehaviourArbiter::Update(uint32_t now)
{
    if (!m_context)
        return false;
    if (CBehaviourSensor* sensor = m_context->GetSensor())
        sensor->Sense();
    if (m_count == 0)
        return false;
    if (now - m_lastDecision < m_interval && m_context->m_runState != BEHAVIOUR_STOPPED)
    {
        RunCurrent();
        return false;
    }
    Decide(now);
    RunCurrent();
    return true;
}
