#pragma once
// One Ogg Vorbis file at a time played through a small looping buffer that a thread
// of its own keeps filled. The main thread only opens files and sets request flags
// under the stream's lock; the thread does all buffer work under the same lock, one
// pass at a time with a 1 ms sleep in between.

#include "platform/OggStreamDecoder.h"

#include <cstdint>
#include <mutex>
#include <thread>

class CSoundBuffer;
class CSoundDevice;

class CAudioStream
{
public:
    static constexpr uint32_t BUFFER_BYTES = 8192;
    static constexpr uint32_t BLOCK_BYTES = 4096; // the most one decode step yields
    static constexpr uint32_t WAIT_LIMIT_MS = 2500;

    CAudioStream();
    // Ends and joins the thread before anything it uses goes away.
    ~CAudioStream();
    CAudioStream(const CAudioStream&) = delete;
    CAudioStream& operator=(const CAudioStream&) = delete;

    // The streaming buffer: mono at the rate, 8 or 16 bits, created silent.
    bool CreateBuffer(CSoundDevice& device, uint32_t rate, bool eightBit);
    // Starts the thread unless one runs; the stream is then finished (no file).
    bool StartThread();
    // Opens a 22050 or 44100 Hz Ogg Vorbis file through the file layer (disk, then
    // pack). False while another file plays or when the file cannot be used.
    bool PlayStream(const char* fileName);
    void RequestStop();
    // Silences the buffer at once and forgets the file.
    void StopNow();
    void EndThread();
    // Waits while the thread runs, at most WAIT_LIMIT_MS; true when it has ended.
    bool WaitForThread();
    void ReleaseBuffer();
    void Destroy();

    void RequestPause();
    void RequestResume();
    // The buffer's volume, set directly (the thread never changes it).
    bool SetVolume(int32_t volume);

    bool IsFinished() const;
    bool IsPaused() const;
    bool IsRunning() const;
    CSoundBuffer* GetBuffer() const { return m_buffer; }

    // For tests: the thread is not started and passes run only through RunPass, so
    // every step can be checked against an offline mixer.
    void SetManualPasses(bool manual) { m_manualPasses = manual; }
    // One pass of the thread's loop; false once the thread has ended.
    bool RunPass();
    uint32_t GetWritePosition() const;
    uint32_t GetPendingBytes() const;

private:
    enum class EFill
    {
        Filled,
        Ended,
        Error,
    };

    bool StartThreadLocked();
    // Asks the thread to end and joins it (or ends the hand-run passes).
    void JoinThread();
    void ThreadLoop();
    bool RunPassLocked(); // false on quit
    void FinishThreadLocked();
    void CloseFileLocked();
    void PauseIfRequestedLocked();
    EFill Fill(uint32_t room);
    // Writes at the write position and moves it on; null data writes silence.
    bool WriteToBuffer(const uint8_t* data, uint32_t bytes);
    uint32_t GetRoom(uint32_t play) const;
    uint8_t GetSilenceByte() const { return m_eightBit ? 0x80 : 0x00; }

    mutable std::mutex m_lock;
    std::thread m_thread;
    CSoundDevice* m_device = nullptr;
    CSoundBuffer* m_buffer = nullptr;
    bool m_eightBit = false;
    bool m_manualPasses = false;

    // Guarded by m_lock.
    bool m_quitRequest = false;
    bool m_running = false;
    bool m_paused = false;
    bool m_pauseRequest = false;
    bool m_resumeRequest = false;
    bool m_finished = true;
    bool m_stopRequest = false;
    bool m_playing = false;
    COggStreamDecoder m_decoder;
    uint8_t m_pending[BLOCK_BYTES] = {};
    uint32_t m_pendingBytes = 0;
    uint32_t m_writePosition = 0;
};
