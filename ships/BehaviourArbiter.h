#pragma once
// The decision layer of the objects that have more than one way to act (the station,
// the enemy fighter, the mothership and the bosses). An owner holds one arbiter with
// its context and up to five behaviours. Once per decision interval the arbiter has
// every behaviour score itself and picks the best (score times weight; ties to the
// one added first); on every frame it runs the chosen behaviour through its start,
// update and stop states. The behaviours read and write their owner through the
// context; the arbiter knows nothing of what they do.
//
//   arbiter.Setup(std::make_unique<CMyContext>(owner), nullptr, 500);
//   arbiter.AddBehaviour(std::make_unique<CDockBehaviour>());   // order breaks ties
//   ...
//   arbiter.Update(game->GetTime());                            // every frame

#include <cstdint>
#include <memory>

class CBehaviourArbiter;
class CBehaviourContext;

// The context's run state, as the arbiter reads it.
enum EBehaviourRunState : int32_t
{
    BEHAVIOUR_START = 0,    // the current behaviour's Start runs next
    BEHAVIOUR_RUNNING = 1,  // its Update runs every frame
    BEHAVIOUR_STOPPING = 2, // its Stop runs next
    BEHAVIOUR_STOPPED = 3,  // nothing runs; the next arbiter update decides at once
};

// What an owner may sense of the world on every arbiter update, decision or not.
class CBehaviourSensor
{
public:
    virtual ~CBehaviourSensor() = default;
    virtual void Sense() = 0;
};

class CBehaviour
{
public:
    explicit CBehaviour(int32_t key) : m_key(key) {}
    virtual ~CBehaviour() = default;
    CBehaviour(const CBehaviour&) = delete;
    CBehaviour& operator=(const CBehaviour&) = delete;

    // How much the behaviour is wanted now, written with SetScore (0: not at all). It
    // may change the context and damp the others (CBehaviourArbiter::DampOtherBehaviours).
    virtual void Score(CBehaviourContext& context) = 0;
    // One frame of the running behaviour; gives the next run state.
    virtual int32_t Update(CBehaviourContext& context) = 0;
    // Its first frame; goes on with Update.
    virtual int32_t Start(CBehaviourContext&) { return BEHAVIOUR_RUNNING; }
    // Its last frame.
    virtual int32_t Stop(CBehaviourContext&) { return BEHAVIOUR_STOPPED; }

    int32_t GetKey() const { return m_key; }
    float GetScore() const { return m_score; }
    void SetScore(float score) { m_score = score; }
    float GetWeight() const { return m_weight; }
    void SetWeight(float weight) { m_weight = weight; }

private:
    int32_t m_key;
    float m_score = 0.0f;
    float m_weight = 1.0f;
};

// The base of each owner's context: the arbiter, an optional sensor (owned) and the
// run state. Owners derive their own with the owner and what their behaviours share.
class CBehaviourContext
{
public:
    CBehaviourContext() = default;
    virtual ~CBehaviourContext() = default;
    CBehaviourContext(const CBehaviourContext&) = delete;
    CBehaviourContext& operator=(const CBehaviourContext&) = delete;

    // Refreshes the context's view of the world once per decision, before scoring.
    virtual void Update() {}

    CBehaviourArbiter* GetArbiter() const { return m_arbiter; }
    CBehaviourSensor* GetSensor() const { return m_sensor.get(); }
    int32_t GetRunState() const { return m_runState; }
    void SetRunState(int32_t state) { m_runState = state; }

private:
    friend class CBehaviourArbiter;

    CBehaviourArbiter* m_arbiter = nullptr;
    std::unique_ptr<CBehaviourSensor> m_sensor;
    int32_t m_runState = BEHAVIOUR_STOPPED;
};

class CBehaviourArbiter
{
public:
    static constexpr int SLOTS = 5;

    CBehaviourArbiter() = default;
    ~CBehaviourArbiter() = default;
    CBehaviourArbiter(const CBehaviourArbiter&) = delete;
    CBehaviourArbiter& operator=(const CBehaviourArbiter&) = delete;

    // Once, before the behaviours are added: the context (which takes the sensor,
    // if any) in the stopped state, so that the first update decides at once.
    void Setup(std::unique_ptr<CBehaviourContext> context, std::unique_ptr<CBehaviourSensor> sensor,
               uint32_t intervalMs);
    // Into the first free slot; false when all five are taken (the behaviour is
    // then dropped).
    bool AddBehaviour(std::unique_ptr<CBehaviour> behaviour);
    // Halves the weight of every behaviour whose key differs (from a Score, so that
    // the caller stands out in this round).
    void DampOtherBehaviours(int32_t key);
    // Once a frame with the game clock: the sensor senses, then either the current
    // behaviour runs by the run state, or, when the interval has passed or the run
    // state is stopped, a decision comes first. True when this call decided.
    bool Update(uint32_t now);

    CBehaviourContext* GetContext() const { return m_context.get(); }
    int GetCount() const { return m_count; }
    CBehaviour* GetBehaviour(int slot) const;
    // The behaviour being run, and the one current before the last decision.
    int GetCurrentIndex() const { return m_current; }
    int GetPreviousIndex() const { return m_previous; }
    uint32_t GetInterval() const { return m_interval; }

private:
    void Decide(uint32_t now);
    void RunCurrent();

    uint32_t m_interval = 0;
    uint32_t m_lastDecision = 0;
    // Declared first so that it goes last, after the behaviours.
    std::unique_ptr<CBehaviourContext> m_context;
    std::unique_ptr<CBehaviour> m_slots[SLOTS];
    int m_current = 0;
    int m_previous = 0;
    int m_count = 0;
};
