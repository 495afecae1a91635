#pragma once
// A sample a control plays of its own (a button's select or backout sound), loaded by
// file name; a control without one plays the skin's default.

#include <string>

class CGuiSample
{
public:
    CGuiSample() = default;
    ~CGuiSample();
    CGuiSample(const CGuiSample&) = delete;
    CGuiSample& operator=(const CGuiSample&) = delete;

    // Loads the named sample (empty: none), giving back the one held before.
    void Load(const std::string& name);
    // After the audio system restarted without any samples: the name looked up again.
    void Resolve();
    // The sample's id, or the fallback when there is none.
    int Get(int fallback) const { return m_sample >= 0 ? m_sample : fallback; }

private:
    std::string m_name;
    int m_sample = -1;
};
