#include "presentation/SpriteBank.h"

#include "core/Console.h"
#include "platform/Renderer.h"
#include "platform/VertexBuffer.h"
#include "utility/source/QelFile.h"

#include <memory>
#include <new>
#include <strings.h>
#include <vector>

CSpriteBank* g_spriteBank = nullptr;
float g_virtualScaleX = 1.0f;
float g_virtualScaleY = 1.0f;

namespace
{
// The renderer's callbacks carry a 32-bit user value, too small for a pointer, so
// banks bound to a renderer are found through this table.
const int kMaxBanks = 8;
CSpriteBank* s_banks[kMaxBanks] = {};

bool ReadWholeSpriteFile(const char* name, std::vector<uint8_t>& bytes)
{
    std::unique_ptr<CFileInterface> file(CreateFileObject());
    if (!file || !file->Open("", name, FILE_OPEN_READ))
        return false;
    bytes.resize(file->GetFileSize());
    uint32_t read = 0;
    bool ok = bytes.empty() || (file->Read(bytes.data(), static_cast<uint32_t>(bytes.size()), &read) &&
                                read == bytes.size());
    file->Close();
    return ok;
}
} // namespace

CSpriteBank::CSpriteBank()
{
    for (int k = 0; k < GROUP_QUADS; ++k)
    {
        const uint16_t base = static_cast<uint16_t>(k * 4);
        const uint16_t order[6] = {0, 1, 2, 2, 1, 3};
        for (int i = 0; i < 6; ++i)
            m_groupIndices[k * 6 + i] = static_cast<uint16_t>(base + order[i]);
    }
}

CSpriteBank::~CSpriteBank()
{
    Shutdown();
}

bool CSpriteBank::Init(CRenderer* renderer)
{
    if (!renderer || m_renderer)
        return false;
    int id = 0;
    while (id < kMaxBanks && s_banks[id])
        ++id;
    if (id == kMaxBanks)
        return false;
    m_renderer = renderer;
    ComputeScaleFactors();

    m_files.reset(new (std::nothrow) SSpriteFile[SPRITE_FILE_SLOTS]);
    m_instances.reset(new (std::nothrow) SSpriteInstance[SPRITE_INSTANCE_COUNT]);
    bool ok = m_files && m_instances;
    if (ok)
    {
        m_freeList = SSpriteInstanceList();
        for (int i = 0; i < SPRITE_INSTANCE_COUNT; ++i)
            m_freeList.Append(&m_instances[i]);
        for (SSpritePlane& plane : m_planes)
        {
            plane.m_movementFactor = 1.0f;
            plane.m_noBlend = 0;
        }
        const int bytes = BUFFER_VERTICES * static_cast<int>(sizeof(SScreenVertex));
        ok = renderer->CreateVertexBuffer(bytes, &m_buffers[0]) && renderer->CreateVertexBuffer(bytes, &m_buffers[1]);
    }
    if (ok)
    {
        m_bankId = id;
        s_banks[id] = this;
        ok = renderer->AddTextureRestoreCallback(&CSpriteBank::RestoreCallback, static_cast<uint32_t>(id));
    }
    if (!ok)
    {
        Shutdown();
        return false;
    }
    if (g_console)
        m_consoleEntries.AddFunction(g_console, "/shownumsprites", &CSpriteBank::ShowNumSpritesCommand, nullptr);
    return true;
}

void CSpriteBank::Shutdown()
{
    if (!m_renderer)
        return;
    m_consoleEntries.RemoveAll();
    ShowTestSprite(nullptr);
    for (CVertexBuffer*& buffer : m_buffers)
    {
        if (buffer)
            m_renderer->DestroyVertexBuffer(buffer);
        buffer = nullptr;
    }
    if (m_files)
        for (int i = 0; i < SPRITE_FILE_SLOTS; ++i)
            ReleaseTextures(m_files[i]);
    for (SSpritePlane& plane : m_planes)
    {
        for (SSpriteGroup* group = plane.m_firstGroup; group;)
        {
            SSpriteGroup* next = group->m_next;
            delete group;
            group = next;
        }
        plane = SSpritePlane();
    }
    m_files.reset();
    m_instances.reset();
    m_freeList = SSpriteInstanceList();
    m_liveInstances = 0;
    if (m_bankId >= 0)
    {
        m_renderer->RemoveTextureRestoreCallback(&CSpriteBank::RestoreCallback, static_cast<uint32_t>(m_bankId));
        s_banks[m_bankId] = nullptr;
        m_bankId = -1;
    }
    m_renderer = nullptr;
}

void CSpriteBank::ComputeScaleFactors()
{
    const SDisplaySettings& settings = m_renderer->GetSettings();
    m_scaleX = static_cast<float>(settings.width) / static_cast<float>(m_virtualWidth);
    m_scaleY = static_cast<float>(settings.height) / static_cast<float>(m_virtualHeight);
    g_virtualScaleX = m_scaleX;
    g_virtualScaleY = m_scaleY;
}

int CSpriteBank::GetTextureKind(int32_t pixelFormat) const
{
    switch (pixelFormat)
    {
    case 2:
        return TEXTURE_ALPHA;
    case 3:
        return TEXTURE_ONE_BIT_ALPHA;
    case 4:
        return m_renderer->GetSettings().hiQualityTextures ? TEXTURE_ALPHA : TEXTURE_ONE_BIT_ALPHA;
    default:
        return TEXTURE_OPAQUE;
    }
}

bool CSpriteBank::MakePageTexture(const SSpriteFile& file, size_t page, int& id) const
{
    const SSpritePage& source = file.m_pages[page];
    id = NO_TEXTURE;
    return m_renderer->CreateTexture(false, 0, 0, GetTextureKind(file.m_pixelFormat), file.m_textureOption,
                                     static_cast<int>(source.m_width), static_cast<int>(source.m_height), 0,
                                     source.m_pixels.data(), nullptr, &id);
}

bool CSpriteBank::CreateTextures(SSpriteFile& file)
{
    file.m_textureIds.assign(file.m_pages.size(), NO_TEXTURE);
    for (size_t p = 0; p < file.m_pages.size(); ++p)
        if (!MakePageTexture(file, p, file.m_textureIds[p]))
        {
            ReleaseTextures(file);
            return false;
        }
    return true;
}

void CSpriteBank::ReleaseTextures(SSpriteFile& file)
{
    for (int& id : file.m_textureIds)
    {
        if (id != NO_TEXTURE && m_renderer)
            m_renderer->ReleaseTexture(id);
        id = NO_TEXTURE;
    }
}

bool CSpriteBank::IsValidSlot(int index) const
{
    return m_files && index >= 0 && index < SPRITE_FILE_SLOTS && m_files[index].IsUsed();
}

const SSpriteFile* CSpriteBank::GetFile(int index) const
{
    return IsValidSlot(index) ? &m_files[index] : nullptr;
}

bool CSpriteBank::LoadFile(const char* name, bool textureOption, int& index)
{
    if (!m_files || !name)
        return false;
    int freeSlot = -1;
    for (int i = 0; i < SPRITE_FILE_SLOTS; ++i)
    {
        if (m_files[i].IsUsed() && strcasecmp(m_files[i].m_name.c_str(), name) == 0)
        {
            ++m_files[i].m_refCount;
            index = i;
            return true;
        }
        if (freeSlot < 0 && !m_files[i].IsUsed())
            freeSlot = i;
    }
    if (freeSlot < 0)
    {
        if (g_console)
            g_console->Printf("Sprite file %s: all %d sprite slots are in use", name, SPRITE_FILE_SLOTS);
        return false;
    }

    SSpriteFile& file = m_files[freeSlot];
    std::vector<uint8_t> bytes;
    std::string error;
    if (!ReadWholeSpriteFile(name, bytes))
        error = "cannot be read";
    else
        file.Read(bytes.data(), bytes.size(), error);
    if (!file.IsUsed())
    {
        if (g_console)
            g_console->Printf("Sprite file %s: %s", name, error.c_str());
        file.Clear();
        return false;
    }
    file.m_textureOption = textureOption;
    file.m_name = name;
    for (int p = 0; p < SPRITE_PLANE_COUNT; ++p)
    {
        file.m_registered[p] = false;
        file.m_planePrev[p] = file.m_planeNext[p] = nullptr;
    }
    index = freeSlot;
    if (!CreateTextures(file))
    {
        if (g_console)
            g_console->Printf("Sprite file %s: the renderer refused a page texture", name);
        file.Clear();
        return false;
    }
    file.m_refCount = 1;
    return true;
}

void CSpriteBank::FreeSlot(SSpriteFile& file)
{
    for (int p = 0; p < SPRITE_PLANE_COUNT; ++p)
        if (file.m_registered[p])
            UnregisterFile(file, p);
    ReleaseTextures(file);
    file.Clear();
}

void CSpriteBank::ReleaseFile(int index)
{
    if (!IsValidSlot(index))
        return;
    SSpriteFile& file = m_files[index];
    if (file.m_refCount > 1)
    {
        --file.m_refCount;
        return;
    }
    // Instances still pointing at the file would be left dangling: keep it instead.
    if (file.m_instanceCount > 0)
    {
        if (g_console)
            g_console->Printf("Sprite file %s released with %u instances alive; kept", file.m_name.c_str(),
                              file.m_instanceCount);
        return;
    }
    FreeSlot(file);
}

int CSpriteBank::GetFrameCount(int index) const
{
    return IsValidSlot(index) ? static_cast<int>(m_files[index].m_frames.size()) : -1;
}

void CSpriteBank::GetFrameSize(int index, uint32_t& width, uint32_t& height) const
{
    if (!IsValidSlot(index))
        return;
    width = m_files[index].m_frameWidth;
    height = m_files[index].m_frameHeight;
}

bool CSpriteBank::RestoreTextures()
{
    if (!m_renderer || !m_files)
        return false;
    ComputeScaleFactors();
    bool ok = true;
    for (int i = 0; i < SPRITE_FILE_SLOTS; ++i)
    {
        SSpriteFile& file = m_files[i];
        if (!file.IsUsed() || file.m_pages.empty())
            continue;
        // The old indices died with the display; a page that cannot be made again
        // draws nothing rather than whatever texture took its old index.
        file.m_textureIds.assign(file.m_pages.size(), NO_TEXTURE);
        for (size_t p = 0; p < file.m_pages.size(); ++p)
            if (!MakePageTexture(file, p, file.m_textureIds[p]))
            {
                ReleaseTextures(file);
                ok = false;
                break;
            }
    }
    return ok;
}

void CSpriteBank::RestoreCallback(uint32_t userValue)
{
    if (userValue < static_cast<uint32_t>(kMaxBanks) && s_banks[userValue])
        s_banks[userValue]->RestoreTextures();
}

// Both commands act on the process's bank: the console outlives any other.
void CSpriteBank::ShowNumSpritesCommand(void*, const char*)
{
    if (g_spriteBank && g_console)
        g_console->Printf("NumSpriteInstances = %d", g_spriteBank->m_liveInstances);
}

void CSpriteBank::ShowSpriteCommand(void*, const char* arguments)
{
    if (g_spriteBank)
        g_spriteBank->ShowTestSprite(arguments);
}

void CSpriteBank::ShowTestSprite(const char* name)
{
    if (m_testInstance)
        DestroyInstance(m_testInstance);
    if (m_testFile >= 0)
        ReleaseFile(m_testFile);
    m_testInstance = nullptr;
    m_testFile = -1;
    if (!name || !*name || !m_renderer)
        return;
    int index = -1;
    if (!LoadFile(name, true, index))
        return;
    SSpriteInstance* instance = nullptr;
    if (!CreateInstance(14, index, instance))
    {
        ReleaseFile(index);
        return;
    }
    const SDisplaySettings& settings = m_renderer->GetSettings();
    instance->m_x = static_cast<float>(m_cameraX) + static_cast<float>(settings.width) * 0.5f;
    instance->m_y = static_cast<float>(m_cameraY) + static_cast<float>(settings.height) * 0.5f;
    instance->m_frame = 0;
    instance->m_colour = 0xFFFFFFFF;
    instance->m_scaleX = 1.0f;
    instance->m_scaleY = 1.0f;
    instance->SetVisible(true);
    m_testFile = index;
    m_testInstance = instance;
}
