#include "presentation/SpriteTypes.h"

#include "utility/source/QelSpriteFormat.h"

void SSpriteInstanceList::Append(SSpriteInstance* instance)
{
    instance->m_prev = m_last;
    instance->m_next = nullptr;
    if (m_last)
        m_last->m_next = instance;
    else
        m_first = instance;
    m_last = instance;
    instance->m_list = this;
    ++m_count;
}

void SSpriteInstanceList::Remove(SSpriteInstance* instance)
{
    if (instance->m_prev)
        instance->m_prev->m_next = instance->m_next;
    else
        m_first = instance->m_next;
    if (instance->m_next)
        instance->m_next->m_prev = instance->m_prev;
    else
        m_last = instance->m_prev;
    instance->m_prev = instance->m_next = nullptr;
    instance->m_list = nullptr;
    --m_count;
}

void SSpriteInstance::SetVisible(bool visible)
{
    if (visible == IsVisible())
        return;
    if (visible)
        m_flags |= SPRITE_VISIBLE;
    else
        m_flags &= ~static_cast<uint32_t>(SPRITE_VISIBLE);
    if (m_group || !m_file || m_plane < 0 || !m_list)
        return;
    m_list->Remove(this);
    (visible ? m_file->m_visible : m_file->m_hidden)[m_plane].Append(this);
}

bool SSpriteFile::Read(const uint8_t* data, size_t size, std::string& error)
{
    SSpriteFileData parsed;
    if (!ParseSpriteFile(data, size, parsed, &error))
        return false;
    m_pixelFormat = parsed.pixelFormat;
    m_pages.resize(parsed.pages.size());
    for (size_t p = 0; p < parsed.pages.size(); ++p)
    {
        m_pages[p].m_width = parsed.pages[p].width;
        m_pages[p].m_height = parsed.pages[p].height;
        m_pages[p].m_pixels = std::move(parsed.pages[p].pixels);
    }
    m_frames.resize(parsed.frames.size());
    for (size_t f = 0; f < parsed.frames.size(); ++f)
    {
        const SSpriteFrameData& source = parsed.frames[f];
        const SSpritePage& page = m_pages[source.page];
        SSpriteFrame& frame = m_frames[f];
        frame.m_page = source.page;
        frame.m_leftU = source.leftU;
        frame.m_topV = source.topV;
        frame.m_rightU = source.leftU + static_cast<float>(parsed.frameWidth) / static_cast<float>(page.m_width);
        frame.m_bottomV = source.topV + static_cast<float>(parsed.frameHeight) / static_cast<float>(page.m_height);
    }
    m_frameHeight = parsed.frameHeight;
    m_frameWidth = parsed.frameWidth; // last: the slot counts as used from here on
    return true;
}

void SSpriteFile::Clear()
{
    m_name.clear();
    m_pages.clear();
    m_pages.shrink_to_fit();
    m_textureIds.clear();
    m_frames.clear();
    m_frames.shrink_to_fit();
    m_pixelFormat = 0x7FFFFFFF;
    m_frameWidth = 0;
    m_frameHeight = 0;
    m_refCount = 0;
}
