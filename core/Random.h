#pragma once
// The game's one random generator: every random choice of the simulation draws
// from it, so one seed and the same input replay a run exactly on any machine.
// A 64-bit linear congruential state whose high bits give 31-bit numbers (the
// library's rand() may give only 15 bits, too few for "rand() % 60000").

#include <cstddef>
#include <cstdint>
#include <vector>

class CRandom
{
public:
    static constexpr uint32_t MAX = 0x7FFFFFFF;

    explicit CRandom(uint32_t seed = 1) { Seed(seed); }
    void Seed(uint32_t seed);
    // 0 to MAX.
    uint32_t Next();
    // 0 to range - 1; 0 when range is 0 or negative, so no caller divides by zero.
    int32_t Below(int32_t range);
    // min to max - 1 (the maximum excluded, as the data's ranges are drawn); min
    // when the range is empty.
    int32_t Between(int32_t min, int32_t max);
    // 0 to 1, 1 excluded.
    float NextFloat();

    // Tests set the draws a rule makes: the next calls of Next give these values (each
    // within 0 to MAX) before the generator goes on where it stood.
    void ScriptDraws(const std::vector<uint32_t>& values);
    size_t CountScriptedDraws() const { return m_script.size() - m_scriptAt; }

private:
    uint64_t m_state = 0;
    std::vector<uint32_t> m_script;
    size_t m_scriptAt = 0;
};

// The generator of the game.
CRandom& GetGameRandom();
// What the game draws as rand(): 0 to CRandom::MAX.
inline uint32_t GameRand()
{
    return GetGameRandom().Next();
}
// The seed of a run: TESSAVAR_SEED when it is set to a number, else the given one.
uint32_t ChooseGameSeed(uint32_t fallback);
