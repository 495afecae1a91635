#pragma once
// Start-up as one ordered list of steps, and teardown as the same list run backwards.
// Each step makes (or checks) one thing and names how to undo it. The sequence keeps the
// steps that ran, so a failure, a silent end and the orderly shutdown all take down
// exactly what exists, last made first, and cannot drift apart as steps are added.

#include <cstddef>
#include <vector>

enum class EStepResult
{
    Continue,    // go on with the next step
    Failed,      // start-up failed (the step has set the message)
    EndSilently, // the program ends without a message (a second copy, the player quit)
};

// Why the steps are being undone: only an orderly end keeps what the run settled (the
// settings file is written then, never after a failure).
enum class ETeardownReason
{
    StartupEnded,
    Shutdown,
};

struct SStartupStep
{
    const char* name;
    EStepResult (*start)();
    // Undoes whatever start made, also when start failed halfway or made nothing; null
    // when there is nothing to undo.
    void (*stop)(ETeardownReason reason);
};

class CStartupSequence
{
public:
    // Runs the steps in order until one does not continue, and gives its result. A step
    // counts as begun before its start runs, so a failing step's own stop runs too when
    // the caller tears down.
    EStepResult Run(const SStartupStep* steps, size_t count);
    // The stops of the begun steps, last first; each runs once.
    void TearDown(ETeardownReason reason);
    bool IsEmpty() const { return m_begun.empty(); }

    // The message of a failure that no step set: an injected one, or no memory for the
    // list of begun steps ("" when there was none).
    const char* GetOwnFailure() const { return m_ownFailure; }

    // Test seam: the step at this position (1 the first, 0 none) fails after its start
    // has run, with the message "Error during startup - <name> failed (injected)".
    void SetInjectedFailure(size_t position) { m_injectedFailure = position; }
    // Test seam: called with each step's name as its stop runs.
    void SetStopObserver(void (*observer)(const char* name)) { m_stopObserver = observer; }

private:
    std::vector<const SStartupStep*> m_begun;
    size_t m_injectedFailure = 0;
    char m_ownFailure[160] = {};
    void (*m_stopObserver)(const char* name) = nullptr;
};
