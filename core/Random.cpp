#include "core/Random.h"

#include <cstdlib>

void CRandom::Seed(uint32_t seed)
{
    m_script.clear();
    m_scriptAt = 0;
    // Spread the seed so that near seeds start far apart.
    uint64_t z = static_cast<uint64_t>(seed) + 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    m_state = z ^ (z >> 31);
}

uint32_t CRandom::Next()
{
    if (m_scriptAt < m_script.size())
        return m_script[m_scriptAt++] & MAX;
    m_state = m_state * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<uint32_t>(m_state >> 33);
}

void CRandom::ScriptDraws(const std::vector<uint32_t>& values)
{
    m_script = values;
    m_scriptAt = 0;
}

int32_t CRandom::Below(int32_t range)
{
    if (range <= 0)
        return 0;
    return static_cast<int32_t>(Next() % static_cast<uint32_t>(range));
}

int32_t CRandom::Between(int32_t min, int32_t max)
{
    if (max <= min)
        return min;
    int64_t span = static_cast<int64_t>(max) - min;
    if (span > MAX)
        span = MAX;
    return static_cast<int32_t>(min + static_cast<int64_t>(Next() % static_cast<uint32_t>(span)));
}

float CRandom::NextFloat()
{
    return static_cast<float>(Next() >> 7) * (1.0f / 16777216.0f);
}

CRandom& GetGameRandom()
{
    static CRandom random;
    return random;
}

uint32_t ChooseGameSeed(uint32_t fallback)
{
    const char* text = std::getenv("TESSAVAR_SEED");
    if (!text || !*text)
        return fallback;
    char* end = nullptr;
    unsigned long long value = std::strtoull(text, &end, 10);
    if (*end != '\0' || value > 0xFFFFFFFFull)
        return fallback;
    return static_cast<uint32_t>(value);
}
