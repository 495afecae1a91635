#include "platform/OggStreamDecoder.h"

#include "utility/source/QelFile.h"

#include <vorbis/vorbisfile.h>

#include <cstdio>
#include <new>

struct SOggState
{
    OggVorbis_File file;
    bool open = false;
};

namespace
{
size_t ReadCallback(void* buffer, size_t size, size_t count, void* source)
{
    auto* file = static_cast<CFileInterface*>(source);
    if (size == 0 || count == 0)
        return 0;
    size_t wanted = size * count;
    if (wanted > UINT32_MAX)
        wanted = UINT32_MAX - UINT32_MAX % size;
    uint32_t read = 0;
    if (!file->Read(buffer, static_cast<uint32_t>(wanted), &read))
        return 0;
    return read / size;
}

// The stream is read forward only.
int SeekCallback(void*, ogg_int64_t, int)
{
    return -1;
}

int CloseCallback(void* source)
{
    auto* file = static_cast<CFileInterface*>(source);
    file->Close();
    delete file;
    return 0;
}

long TellCallback(void*)
{
    return -1;
}
} // namespace

COggStreamDecoder::COggStreamDecoder() : m_state(new SOggState) {}

COggStreamDecoder::~COggStreamDecoder()
{
    Close();
}

bool COggStreamDecoder::Open(const char* fileName)
{
    Close();
    if (!fileName)
        return false;
    CFileInterface* file = CreateFileObject();
    if (!file)
        return false;
    if (!OpenFileByPath(*file, fileName, FILE_OPEN_READ))
    {
        delete file;
        return false;
    }
    ov_callbacks callbacks = {&ReadCallback, &SeekCallback, &CloseCallback, &TellCallback};
    if (ov_open_callbacks(file, &m_state->file, nullptr, 0, callbacks) != 0)
    {
        // A failed open leaves the file to its caller.
        CloseCallback(file);
        return false;
    }
    m_state->open = true;
    return true;
}

void COggStreamDecoder::Close()
{
    if (m_state->open)
    {
        ov_clear(&m_state->file); // closes the file through the callback
        m_state->open = false;
    }
}

bool COggStreamDecoder::IsOpen() const
{
    return m_state->open;
}

uint32_t COggStreamDecoder::GetRate() const
{
    if (!m_state->open)
        return 0;
    vorbis_info* info = ov_info(&m_state->file, -1);
    return info ? static_cast<uint32_t>(info->rate) : 0;
}

long COggStreamDecoder::Read(uint8_t* out, uint32_t bytes, bool eightBit)
{
    if (!m_state->open)
        return OV_EINVAL;
    int section = 0;
    return ov_read(&m_state->file, reinterpret_cast<char*>(out), static_cast<int>(bytes), 0, eightBit ? 1 : 2,
                   eightBit ? 0 : 1, &section);
}
