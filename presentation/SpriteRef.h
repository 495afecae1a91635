#pragma once
// A counted reference to a sprite file of the bank: the file's slot and the frame size
// and count that animation uses. Game objects and screens hold these instead of slots.
// A reference cannot be copied (both copies would release the file); arrays of them
// are made element by element, each starting empty.

#include <cstddef>
#include <cstdint>
#include <memory>

class CDataTree;
class CDefinitionProblems;
class CSpriteBank;

class CSpriteRef
{
public:
    // The file name that stands for "no file".
    static constexpr const char* NO_FILE = "dummy";

    CSpriteRef() = default;
    ~CSpriteRef() { Release(); }
    CSpriteRef(const CSpriteRef&) = delete;
    CSpriteRef& operator=(const CSpriteRef&) = delete;

    // Keys "spriteFile" and the optional "width", "height" and "numFrames", which
    // stand in for the file's own frame size and count where given. False for "dummy",
    // a missing name or a file that does not load (the reference is then empty).
    bool Load(const CDataTree& node, bool textureOption);
    // Loads the file through g_spriteBank and takes its frame size and count. False
    // for "dummy" or a file that does not load.
    bool SetFile(const char* name, bool textureOption);
    // Gives the file back; the reference is empty afterwards.
    void Release();

    bool HasFile() const { return m_file >= 0; }
    int32_t GetFile() const { return m_file; }
    // The bank that holds the file (null while empty).
    CSpriteBank* GetBank() const { return m_bank; }
    uint16_t GetFrameWidth() const { return m_frameWidth; }
    uint16_t GetFrameHeight() const { return m_frameHeight; }
    uint16_t GetFrameCount() const { return m_frameCount; }
    // The frames that sprites of the reference animate and turn through from now on
    // (an object that keeps some of the file's frames for another use).
    void SetFrameCount(uint16_t count) { m_frameCount = count; }

private:
    bool LoadNamed(const char* name, bool textureOption);

    CSpriteBank* m_bank = nullptr;
    int32_t m_file = -1;
    uint16_t m_frameWidth = 0;
    uint16_t m_frameHeight = 0;
    uint16_t m_frameCount = 0;
};

// The sprite references of the numbered blocks "def0", "def1", ... (texture option 1)
// that `countKey` counts, for sprite sets and the parts of bodies. A count outside
// 0..max or a missing block is fatal (false).
bool LoadSpriteRefList(const CDataTree& node, const char* countKey, int32_t max, std::unique_ptr<CSpriteRef[]>& refs,
                       size_t& count, CDefinitionProblems& problems);
