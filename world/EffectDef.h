#pragma once
// One effect definition: its upper-case name and the three parts that its section's
// type words choose: the appearance of a particle, the controller that moves it, and
// the emitter that makes particles (or beams), fires events and owns the live effects.
//
//   EFFECT
//   {
//       name          SPARK
//       maxParticles  64        // particle pool (0 for a laser)
//       maxEmitters   4         // live effects of this definition
//       particle   { appearance { type SPRITE ... } }
//       controller { type OMNI_DIRECTION ... }
//       emitter    { type SIMPLE_PARTICLE ... }
//   }

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class CAppearance;
class CController;
class CDataTree;
class CDefinitionProblems;
class CEffectCache;
class CEmitter;

class CEffectDef
{
public:
    static constexpr size_t NAME_SIZE = 48; // 47 characters and the terminator
    // Pools a definition may ask for; more refuses the definition.
    static constexpr int32_t MAX_PARTICLES = 4096;
    static constexpr int32_t MAX_EMITTERS = 300;

    // The cache that owns the definition: its effects leave its live table and its
    // triggers spawn through it.
    explicit CEffectDef(CEffectCache& cache);
    ~CEffectDef();
    CEffectDef(const CEffectDef&) = delete;
    CEffectDef& operator=(const CEffectDef&) = delete;

    // The name (already upper-cased) and the section's parts. False (with a problem)
    // for an emitter type that is not supported or pools out of range.
    bool Read(const CDataTree& section, const char* name, CDefinitionProblems& problems);
    // Once a frame before the live effects: the controller's frame and the delayed
    // event triggers that are due.
    void Update(uint32_t now);

    const char* GetName() const { return m_name; }
    CEffectCache& GetCache() const { return m_cache; }
    // Where the definition was read: the file and the line of its section.
    const std::string& GetFileName() const { return m_fileName; }
    uint32_t GetLine() const { return m_line; }
    void SetSource(const std::string& fileName, uint32_t line)
    {
        m_fileName = fileName;
        m_line = line;
    }
    CAppearance* GetAppearance() const { return m_appearance.get(); }
    CController* GetController() const { return m_controller.get(); }
    CEmitter* GetEmitter() const { return m_emitter.get(); }
    int32_t GetMaxParticles() const { return m_maxParticles; }
    int32_t GetMaxEmitters() const { return m_maxEmitters; }

private:
    CEffectCache& m_cache;
    char m_name[NAME_SIZE] = "";
    std::string m_fileName;
    uint32_t m_line = 0;
    int32_t m_maxParticles = 0;
    int32_t m_maxEmitters = 0;
    // Destroyed emitter first: its particles' sprites use the appearance's file.
    std::unique_ptr<CAppearance> m_appearance;
    std::unique_ptr<CController> m_controller;
    std::unique_ptr<CEmitter> m_emitter;
};

// Copies the name upper-cased into the buffer (cut to fit, always terminated).
void UpperCaseEffectName(const char* name, char* out, size_t size);
