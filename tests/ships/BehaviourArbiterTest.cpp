#include "ships/BehaviourArbiter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
using Log = std::vector<std::string>;

// A behaviour whose score and returned states the test sets, writing down each call.
class CScriptedBehaviour : public CBehaviour
{
public:
    CScriptedBehaviour(int32_t key, const std::string& name, Log& log) : CBehaviour(key), m_name(name), m_log(log) {}

    void Score(CBehaviourContext& context) override
    {
        m_log.push_back(m_name + ".Score");
        SetScore(m_score);
        if (m_damp)
            context.GetArbiter()->DampOtherBehaviours(GetKey());
    }
    int32_t Update(CBehaviourContext&) override
    {
        m_log.push_back(m_name + ".Update");
        return m_updateResult;
    }
    int32_t Start(CBehaviourContext& context) override
    {
        m_log.push_back(m_name + ".Start");
        return CBehaviour::Start(context);
    }
    int32_t Stop(CBehaviourContext& context) override
    {
        m_log.push_back(m_name + ".Stop");
        return CBehaviour::Stop(context);
    }

    float m_score = 0.0f;
    bool m_damp = false;
    int32_t m_updateResult = BEHAVIOUR_RUNNING;

private:
    std::string m_name;
    Log& m_log;
};

class CLoggingContext : public CBehaviourContext
{
public:
    explicit CLoggingContext(Log& log) : m_log(log) {}
    void Update() override { m_log.push_back("context.Update"); }

private:
    Log& m_log;
};

class CLoggingSensor : public CBehaviourSensor
{
public:
    explicit CLoggingSensor(Log& log) : m_log(log) {}
    void Sense() override { m_log.push_back("Sense"); }

private:
    Log& m_log;
};

class BehaviourArbiterTest : public testing::Test
{
protected:
    static constexpr uint32_t INTERVAL = 500;

    void SetUp() override
    {
        m_arbiter.Setup(std::make_unique<CLoggingContext>(m_log), nullptr, INTERVAL);
    }

    CScriptedBehaviour* Add(int32_t key, const std::string& name, float score)
    {
        auto behaviour = std::make_unique<CScriptedBehaviour>(key, name, m_log);
        behaviour->m_score = score;
        CScriptedBehaviour* raw = behaviour.get();
        EXPECT_TRUE(m_arbiter.AddBehaviour(std::move(behaviour)));
        return raw;
    }

    // What one update did: its calls, without the scoring rounds' context refresh.
    Log Step(uint32_t now, bool expectDecision)
    {
        m_log.clear();
        EXPECT_EQ(m_arbiter.Update(now), expectDecision) << "at " << now;
        return m_log;
    }

    Log m_log;
    CBehaviourArbiter m_arbiter;
};

TEST_F(BehaviourArbiterTest, LoneBehaviourStartsAtOnceRunsEachFrameAndRestartsWhenItStops)
{
    CScriptedBehaviour* only = Add(7, "a", 0.0f);
    // The first update decides at once (the context starts stopped), even at time 0.
    EXPECT_EQ(Step(0, true), (Log{"context.Update", "a.Score", "a.Start"}));
    EXPECT_EQ(Step(40, false), (Log{"a.Update"}));
    EXPECT_EQ(Step(80, false), (Log{"a.Update"}));
    // It ends itself: the next update decides without waiting for the interval.
    only->m_updateResult = BEHAVIOUR_STOPPED;
    EXPECT_EQ(Step(120, false), (Log{"a.Update"}));
    only->m_updateResult = BEHAVIOUR_RUNNING;
    EXPECT_EQ(Step(160, true), (Log{"context.Update", "a.Score", "a.Start"}));
    // Once the interval has passed since that decision, it is scored again and,
    // winning again while running, goes on with Update.
    EXPECT_EQ(Step(659, false), (Log{"a.Update"}));
    EXPECT_EQ(Step(660, true), (Log{"context.Update", "a.Score", "a.Update"}));
}

TEST_F(BehaviourArbiterTest, BestProductWinsTiesGoToTheFirstAdded)
{
    struct SCase
    {
        const char* name;
        float scores[3];
        bool damp[3];
        int winner;
    };
    const SCase cases[] = {
        {"highest score", {0.2f, 0.9f, 0.5f}, {false, false, false}, 1},
        {"equal scores: first added", {0.5f, 0.5f, 0.5f}, {false, false, false}, 0},
        {"all zero: slot 0", {0.0f, 0.0f, 0.0f}, {false, false, false}, 0},
        {"tie behind the first: the earlier of the two", {0.1f, 0.6f, 0.6f}, {false, false, false}, 1},
        // A later scorer's damping halves the earlier ones, its own weight stays 1.
        {"later damper beats equal earlier", {0.5f, 0.5f, 0.0f}, {false, true, false}, 1},
        // An earlier damper's damping of a later one stands too: nothing resets it.
        {"earlier damper beats equal later", {0.5f, 0.5f, 0.0f}, {true, false, false}, 0},
        // Both damp: each halves the other, so the products are 0.25 and 0.25: the first.
        {"both damp", {0.5f, 0.5f, 0.0f}, {true, true, false}, 0},
        // Damping does not lift a behaviour above a clearly better one.
        {"damper still loses to double", {1.0f, 0.4f, 0.0f}, {false, true, false}, 0},
    };
    for (const SCase& c : cases)
    {
        Log log;
        CBehaviourArbiter arbiter;
        arbiter.Setup(std::make_unique<CLoggingContext>(log), nullptr, INTERVAL);
        CScriptedBehaviour* added[3];
        for (int i = 0; i < 3; ++i)
        {
            auto behaviour = std::make_unique<CScriptedBehaviour>(i, std::string(1, static_cast<char>('a' + i)), log);
            behaviour->m_score = c.scores[i];
            behaviour->m_damp = c.damp[i];
            added[i] = behaviour.get();
            ASSERT_TRUE(arbiter.AddBehaviour(std::move(behaviour)));
        }
        EXPECT_TRUE(arbiter.Update(0)) << c.name;
        EXPECT_EQ(arbiter.GetCurrentIndex(), c.winner) << c.name;
        EXPECT_EQ(log.back(), std::string(1, static_cast<char>('a' + c.winner)) + ".Start") << c.name;
        if (c.damp[1] && !c.damp[0])
        {
            EXPECT_FLOAT_EQ(added[0]->GetWeight(), 0.5f) << c.name;
            EXPECT_FLOAT_EQ(added[1]->GetWeight(), 1.0f) << c.name;
        }
    }
}

TEST_F(BehaviourArbiterTest, SwitchStopsTheOldOneNowAndStartsTheNewOneAtTheNextUpdate)
{
    CScriptedBehaviour* a = Add(1, "a", 1.0f);
    CScriptedBehaviour* b = Add(2, "b", 0.5f);
    Step(0, true);
    Step(40, false);
    ASSERT_EQ(m_arbiter.GetCurrentIndex(), 0);

    a->m_score = 0.1f;
    b->m_score = 0.8f;
    // The decision at the interval stops a in the same update; b is not started yet
    // and a is still the current one.
    EXPECT_EQ(Step(500, true), (Log{"context.Update", "a.Score", "b.Score", "a.Stop"}));
    EXPECT_EQ(m_arbiter.GetCurrentIndex(), 0);
    EXPECT_EQ(m_arbiter.GetContext()->GetRunState(), BEHAVIOUR_STOPPED);
    // The stopped state forces the next decision at once, 40 ms later.
    EXPECT_EQ(Step(540, true), (Log{"context.Update", "a.Score", "b.Score", "b.Start"}));
    EXPECT_EQ(m_arbiter.GetCurrentIndex(), 1);
    EXPECT_EQ(m_arbiter.GetPreviousIndex(), 0);
    EXPECT_EQ(Step(580, false), (Log{"b.Update"}));
}

TEST_F(BehaviourArbiterTest, BehaviourThatTakesFramesToStopKeepsStoppingUntilItSaysStopped)
{
    class CSlowStop : public CScriptedBehaviour
    {
    public:
        using CScriptedBehaviour::CScriptedBehaviour;
        int32_t Stop(CBehaviourContext& context) override
        {
            CScriptedBehaviour::Stop(context);
            return ++m_stops < 3 ? BEHAVIOUR_STOPPING : BEHAVIOUR_STOPPED;
        }
        int m_stops = 0;
    };
    auto slow = std::make_unique<CSlowStop>(1, "a", m_log);
    slow->m_score = 1.0f;
    CSlowStop* a = slow.get();
    ASSERT_TRUE(m_arbiter.AddBehaviour(std::move(slow)));
    CScriptedBehaviour* b = Add(2, "b", 0.0f);
    Step(0, true);
    a->m_score = 0.0f;
    b->m_score = 1.0f;
    EXPECT_EQ(Step(500, true).back(), "a.Stop");
    EXPECT_EQ(Step(540, false), (Log{"a.Stop"}));
    EXPECT_EQ(Step(580, false), (Log{"a.Stop"}));
    EXPECT_EQ(Step(620, true).back(), "b.Start");
}

TEST_F(BehaviourArbiterTest, StandingClockMakesNoDecisionsButFramesStillRun)
{
    Add(1, "a", 1.0f);
    Step(1000, true);
    for (int frame = 0; frame < 40; ++frame)
        EXPECT_EQ(Step(1000, false), (Log{"a.Update"}));
    // A clock that went back (a new level) is far past the interval as unsigned.
    EXPECT_EQ(Step(200, true).front(), "context.Update");
}

TEST_F(BehaviourArbiterTest, SensorSensesOnEveryUpdateAndWithoutBehaviours)
{
    CBehaviourArbiter arbiter;
    arbiter.Setup(std::make_unique<CLoggingContext>(m_log), std::make_unique<CLoggingSensor>(m_log), INTERVAL);
    EXPECT_FALSE(arbiter.Update(0));
    EXPECT_EQ(m_log, (Log{"Sense"}));
    EXPECT_NE(arbiter.GetContext()->GetSensor(), nullptr);

    auto behaviour = std::make_unique<CScriptedBehaviour>(1, "a", m_log);
    ASSERT_TRUE(arbiter.AddBehaviour(std::move(behaviour)));
    m_log.clear();
    arbiter.Update(40);
    arbiter.Update(80);
    EXPECT_EQ(m_log, (Log{"Sense", "context.Update", "a.Score", "a.Start", "Sense", "a.Update"}));
}

TEST_F(BehaviourArbiterTest, SixthBehaviourIsRefusedAndContextKnowsItsArbiter)
{
    for (int i = 0; i < CBehaviourArbiter::SLOTS; ++i)
        Add(i, "b" + std::to_string(i), 0.0f);
    EXPECT_FALSE(m_arbiter.AddBehaviour(std::make_unique<CScriptedBehaviour>(9, "extra", m_log)));
    EXPECT_EQ(m_arbiter.GetCount(), CBehaviourArbiter::SLOTS);
    EXPECT_EQ(m_arbiter.GetBehaviour(CBehaviourArbiter::SLOTS), nullptr);
    EXPECT_EQ(m_arbiter.GetContext()->GetArbiter(), &m_arbiter);
}

TEST_F(BehaviourArbiterTest, UnknownRunStateIsLeftAlone)
{
    CScriptedBehaviour* a = Add(1, "a", 1.0f);
    Step(0, true);
    a->m_updateResult = 9;
    Step(40, false);
    EXPECT_EQ(Step(80, false), Log{});
    EXPECT_EQ(m_arbiter.GetContext()->GetRunState(), 9);
    // The next decision keeps the winner in its state: still nothing runs.
    EXPECT_EQ(Step(500, true), (Log{"context.Update", "a.Score"}));
}
} // namespace
