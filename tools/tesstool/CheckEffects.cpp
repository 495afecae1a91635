// The effects: "data\effect.txt" and the files it lists, read by the game's effect
// cache, then what the cache takes on trust checked by hand: the sprite files of the
// particles and their frames, the beams' textures, the sound samples, and the names
// of the effects that events and lasers start.

#include "core/FileBytes.h"
#include "platform/Tga.h"
#include "platform/sound/WaveFile.h"
#include "presentation/SpriteTypes.h"
#include "tools/tesstool/DataCheck.h"
#include "utility/source/QelPackArchive.h"
#include "world/EffectCache.h"
#include "world/EffectDef.h"
#include "world/Emitter.h"
#include "world/ParticleAppearance.h"
#include "world/StraightLaserEmitter.h"

#include <map>
#include <string>
#include <vector>

namespace
{
class CEffectChecker
{
public:
    CEffectChecker(const CEffectCache& cache, CDataCheckReport& report) : m_cache(cache), m_report(report) {}

    void Check(const CEffectDef& definition)
    {
        m_definition = &definition;
        if (const CAppearance* appearance = definition.GetAppearance())
            CheckAppearance(*appearance);
        const CEmitter& emitter = *definition.GetEmitter();
        CheckSound(const_cast<CEmitter&>(emitter).GetSound().GetFileName(), "its sound");
        for (const auto& event : emitter.GetEvents())
        {
            CheckSound(event->GetSound().GetFileName(), "an event's sound");
            for (int i = 0; i < CEmitterEvent::EFFECT_NAMES; ++i)
                CheckName(event->GetEffectName(i), "an event");
        }
        if (emitter.GetKind() == EMITTER_STRAIGHT_LASER)
        {
            const auto& laser = static_cast<const CStraightLaserEmitter&>(emitter);
            CheckTexture(laser.GetTextureFile());
            CheckName(laser.GetCollisionEffect(), "collisionEffect");
            CheckName(laser.GetAttachedEffect(), "attachedEffect");
            CheckName(laser.GetLaunchEffect(), "launchEffect");
        }
    }

private:
    void Add(const std::string& text)
    {
        m_report.Add(m_definition->GetFileName(), m_definition->GetLine(),
                     std::string("effect ") + m_definition->GetName() + ": " + text);
    }

    void CheckAppearance(const CAppearance& appearance)
    {
        const std::string& file = appearance.GetSpriteFileName();
        if (appearance.GetKind() == APPEARANCE_DUMMY)
            return;
        if (file.empty())
        {
            Add("its particles name no sprite file and are unseen");
            return;
        }
        const int frames = SpriteFrames(file);
        if (frames < 0)
            return;
        const int32_t last = appearance.GetKind() == APPEARANCE_SPRITE ? appearance.GetStartFrame()
                                                                       : appearance.GetEndFrame();
        if (appearance.GetStartFrame() >= frames || last >= frames)
            Add("frames " + std::to_string(appearance.GetStartFrame()) + " to " + std::to_string(last) +
                " of a sprite with " + std::to_string(frames));
    }

    // The frame count of a sprite file as the bank reads it, or -1 (reported).
    int SpriteFrames(const std::string& file)
    {
        auto known = m_sprites.find(file);
        if (known != m_sprites.end())
            return known->second;
        int frames = -1;
        std::vector<uint8_t> bytes;
        SSpriteFile sprite;
        std::string error;
        if (!ReadFileBytes(file.c_str(), bytes))
            Add("sprite file \"" + file + "\" cannot be read");
        else if (!sprite.Read(bytes.data(), bytes.size(), error))
            Add("sprite file \"" + file + "\": " + error);
        else
            frames = static_cast<int>(sprite.m_frames.size());
        m_sprites[file] = frames;
        return frames;
    }

    void CheckSound(const char* file, const char* what)
    {
        if (!file || !file[0])
            return;
        std::vector<uint8_t> bytes;
        SWaveData wave;
        const char* reason = nullptr;
        if (!ReadFileBytes(file, bytes))
            Add(std::string(what) + " \"" + file + "\" cannot be read");
        else if (!ParseWave(bytes.data(), bytes.size(), wave, &reason))
            Add(std::string(what) + " \"" + file + "\" " + (reason ? reason : "is no WAV file"));
    }

    void CheckTexture(const std::string& file)
    {
        STgaImage image;
        if (file.empty())
            Add("a laser without \"textureFile\" draws nothing");
        else if (!LoadTga(file.c_str(), image))
            Add("texture \"" + file + "\" is not a TGA image the game reads");
    }

    void CheckName(const char* name, const char* where)
    {
        if (name && name[0] && !m_cache.FindDefinition(name))
            Add(std::string(where) + " names \"" + name + "\", which is no effect");
    }

    const CEffectCache& m_cache;
    CDataCheckReport& m_report;
    const CEffectDef* m_definition = nullptr;
    std::map<std::string, int> m_sprites;
};

void CheckEffects(CDataCheckReport& report)
{
    const char* const list = "data\\effect.txt";
    CEffectCache cache;
    if (!cache.Load(list))
    {
        report.Add("data/effect.txt", 0, "the effect list cannot be read");
        return;
    }
    // The sample sprites travel in the packs, as an installed game's do.
    const bool mounted = !g_packArchive && InitPackArchive();
    report.NoteChecked("data/effect.txt");
    for (const std::string& file : cache.GetLoadedFiles())
        report.NoteChecked(file);
    for (const SEffectFileProblems& file : cache.GetFileProblems())
        report.Add(file.file, file.problems);
    CEffectChecker checker(cache, report);
    for (int32_t i = 0; i < cache.GetDefinitionCount(); ++i)
        checker.Check(*cache.GetDefinition(i));
    if (mounted)
        FreePackArchive();
}

CDataChecker s_effects("effects", &CheckEffects);
} // namespace
