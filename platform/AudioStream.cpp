#include "platform/AudioStream.h"

#include "platform/DebugOutput.h"
#include "platform/sound/SoundDevice.h"

#include <chrono>
#include <cstring>
#include <system_error>

CAudioStream::CAudioStream() = default;

CAudioStream::~CAudioStream()
{
    Destroy();
}

bool CAudioStream::CreateBuffer(CSoundDevice& device, uint32_t rate, bool eightBit)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_buffer)
        return false;
    SSoundBufferDesc desc;
    desc.flags = SOUNDBUFFER_ACCURATE_POSITION | SOUNDBUFFER_CTRL_POSITION_NOTIFY | SOUNDBUFFER_CTRL_VOLUME;
    desc.bytes = BUFFER_BYTES;
    desc.format.channels = 1;
    desc.format.rate = rate;
    desc.format.bits = eightBit ? 8 : 16;
    m_buffer = device.CreateBuffer(desc);
    if (!m_buffer)
        return false;
    m_buffer->SetVolume(SOUND_VOLUME_SILENT);
    m_device = &device;
    m_eightBit = eightBit;
    m_writePosition = 0;
    return true;
}

bool CAudioStream::StartThread()
{
    std::lock_guard<std::mutex> guard(m_lock);
    return StartThreadLocked();
}

bool CAudioStream::StartThreadLocked()
{
    if (m_running)
        return true;
    if (!m_buffer)
        return false;
    DebugOutput("Streaming thread is not currently running\n");
    // A thread that ended by itself (after an error) has left the lock for good once
    // it cleared the running flag, so joining it here cannot wait on us.
    if (m_thread.joinable())
        m_thread.join();
    m_quitRequest = false;
    m_paused = false;
    m_pauseRequest = false;
    m_resumeRequest = false;
    m_stopRequest = false;
    m_finished = true;
    if (!m_manualPasses)
    {
        try
        {
            m_thread = std::thread(&CAudioStream::ThreadLoop, this);
        }
        catch (const std::system_error&)
        {
            return false;
        }
    }
    m_running = true;
    return true;
}

bool CAudioStream::PlayStream(const char* fileName)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_running && !m_finished && !m_stopRequest)
        return false; // a file is playing
    DebugOutput("Entered PlayStream\n");
    if (!StartThreadLocked())
        return false;
    // Here the stream is finished, or a stop the thread has not reached yet is
    // carried out now, so the new file never waits for a pass.
    DebugOutput("Streaming thread was playing NULL, beginning new ogg stream\n");
    CloseFileLocked();
    if (!m_decoder.Open(fileName))
        return false;
    uint32_t rate = m_decoder.GetRate();
    if (rate != 44100 && rate != 22050)
    {
        m_decoder.Close();
        return false;
    }
    m_stopRequest = false;
    m_finished = false;
    return true;
}

void CAudioStream::RequestStop()
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_running)
        m_stopRequest = true;
}

void CAudioStream::StopNow()
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_buffer)
        return;
    m_buffer->Stop();
    CloseFileLocked();
    m_playing = false;
    SSoundLock regions;
    if (!m_buffer->Lock(0, BUFFER_BYTES, regions))
    {
        DebugOutput("The lock failed, generally this is considered a bad thing\n");
        return;
    }
    std::memset(regions.first, GetSilenceByte(), regions.firstBytes);
    if (!m_buffer->Unlock(regions))
        DebugOutput("You just did something that DSound didn't like\n");
}

void CAudioStream::EndThread()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_quitRequest = true;
}

bool CAudioStream::WaitForThread()
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(WAIT_LIMIT_MS);
    for (;;)
    {
        {
            std::lock_guard<std::mutex> guard(m_lock);
            if (!m_running)
                break;
        }
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (m_thread.joinable())
        m_thread.join();
    return true;
}

void CAudioStream::JoinThread()
{
    EndThread();
    if (m_thread.joinable())
        m_thread.join();
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_running)
        FinishThreadLocked(); // passes that ran by hand, or none at all
}

void CAudioStream::ReleaseBuffer()
{
    // Nothing may touch the buffer any more.
    JoinThread();
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_buffer && m_device)
        m_device->ReleaseBuffer(m_buffer);
    m_buffer = nullptr;
    m_device = nullptr;
}

void CAudioStream::Destroy()
{
    ReleaseBuffer();
}

void CAudioStream::RequestPause()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_resumeRequest = false;
    if (!m_paused)
        m_pauseRequest = true;
}

void CAudioStream::RequestResume()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_pauseRequest = false;
    if (m_paused)
        m_resumeRequest = true;
}

bool CAudioStream::SetVolume(int32_t volume)
{
    return m_buffer && m_buffer->SetVolume(volume);
}

bool CAudioStream::IsFinished() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_finished;
}

bool CAudioStream::IsPaused() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_paused;
}

bool CAudioStream::IsRunning() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_running;
}

uint32_t CAudioStream::GetWritePosition() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_writePosition;
}

uint32_t CAudioStream::GetPendingBytes() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_pendingBytes;
}

bool CAudioStream::RunPass()
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_running)
        return false;
    return RunPassLocked();
}

void CAudioStream::ThreadLoop()
{
    for (;;)
    {
        {
            std::lock_guard<std::mutex> guard(m_lock);
            if (!RunPassLocked())
                return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

bool CAudioStream::RunPassLocked()
{
    if (!m_quitRequest && !m_finished)
    {
        if (m_stopRequest)
        {
            CloseFileLocked();
        }
        else if (!m_paused)
        {
            uint32_t play = 0;
            if (!m_buffer->GetCurrentPosition(&play, nullptr))
                m_quitRequest = true;
            else if (!m_playing)
            {
                // The first fill of a file: start the buffer where it began.
                uint32_t start = m_writePosition;
                EFill result = Fill(GetRoom(play));
                if (result == EFill::Error)
                    m_quitRequest = true;
                else if (result == EFill::Ended)
                    CloseFileLocked();
                if (!m_quitRequest)
                {
                    if (m_buffer->SetCurrentPosition(start) && m_buffer->Play(true))
                        m_playing = true;
                    else
                        m_quitRequest = true;
                }
            }
            else if (play != m_writePosition)
            {
                EFill result = Fill(GetRoom(play));
                if (result == EFill::Error)
                    m_quitRequest = true;
                else if (result == EFill::Ended)
                    CloseFileLocked();
            }
            if (m_stopRequest)
                CloseFileLocked();
            PauseIfRequestedLocked();
        }
    }
    else if (!m_quitRequest && !m_paused)
    {
        // No file: what has played is overwritten with silence, so the looping
        // buffer goes quiet once the tail of the last file is out. A write position
        // that has caught up with the cursor has nothing to silence: the whole ring
        // may still be waiting to play.
        uint32_t play = 0;
        if (!m_buffer->GetCurrentPosition(&play, nullptr))
            m_quitRequest = true;
        else if (play != m_writePosition && !WriteToBuffer(nullptr, GetRoom(play)))
            m_quitRequest = true;
        PauseIfRequestedLocked();
    }
    if (!m_quitRequest && m_paused && m_resumeRequest)
    {
        m_resumeRequest = false;
        m_paused = false;
        if (!m_buffer->Play(true))
            m_quitRequest = true;
    }
    if (m_quitRequest)
    {
        FinishThreadLocked();
        return false;
    }
    return true;
}

void CAudioStream::FinishThreadLocked()
{
    m_buffer->Stop();
    CloseFileLocked();
    // Whoever waits for the end of the file (the music logic) hears of it even when a
    // decoding error ended the thread; the next thread starts the buffer afresh.
    m_playing = false;
    m_paused = false;
    m_running = false;
    DebugOutput("Stopping streaming thread\n");
}

void CAudioStream::CloseFileLocked()
{
    m_decoder.Close();
    m_pendingBytes = 0; // never played at the start of the next file
    m_finished = true;
    m_stopRequest = false;
}

void CAudioStream::PauseIfRequestedLocked()
{
    if (m_pauseRequest)
    {
        m_pauseRequest = false;
        m_paused = true;
        m_buffer->Stop();
    }
}

uint32_t CAudioStream::GetRoom(uint32_t play) const
{
    return m_writePosition < play ? play - m_writePosition : play - m_writePosition + BUFFER_BYTES;
}

CAudioStream::EFill CAudioStream::Fill(uint32_t room)
{
    for (;;)
    {
        if (m_pendingBytes)
        {
            if (m_pendingBytes > room)
                return EFill::Filled;
            if (!WriteToBuffer(m_pending, m_pendingBytes))
                return EFill::Error;
            room -= m_pendingBytes;
            m_pendingBytes = 0;
        }
        long decoded = m_decoder.Read(m_pending, BLOCK_BYTES, m_eightBit);
        if (decoded == 0)
            return EFill::Ended;
        if (decoded < 0)
            return EFill::Error;
        m_pendingBytes = static_cast<uint32_t>(decoded);
    }
}

bool CAudioStream::WriteToBuffer(const uint8_t* data, uint32_t bytes)
{
    SSoundLock regions;
    if (!m_buffer->Lock(m_writePosition, bytes, regions))
    {
        DebugOutput("The lock failed, generally this is considered a bad thing\n");
        return false;
    }
    if (data)
    {
        std::memcpy(regions.first, data, regions.firstBytes);
        if (regions.secondBytes)
            std::memcpy(regions.second, data + regions.firstBytes, regions.secondBytes);
    }
    else
    {
        std::memset(regions.first, GetSilenceByte(), regions.firstBytes);
        if (regions.secondBytes)
            std::memset(regions.second, GetSilenceByte(), regions.secondBytes);
    }
    if (!m_buffer->Unlock(regions))
    {
        DebugOutput("You just did something that DSound didn't like\n");
        return false;
    }
    m_writePosition = (m_writePosition + bytes) % BUFFER_BYTES;
    return true;
}
