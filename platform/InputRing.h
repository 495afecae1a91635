#pragma once
// The renderer's small queues of window input (typed keys, mouse events), filled by
// the window layer while the game is active and emptied by the GUI every frame.

#include <cstdint>

struct SMouseRingEvent
{
    int32_t x = 0;  // client coordinates of the back buffer
    int32_t y = 0;
    int32_t event = 0;
};

enum EMouseRingEvent : int32_t
{
    MOUSE_RING_MOVE = 0,
    MOUSE_RING_LEFT_DOWN = 5,
    MOUSE_RING_LEFT_UP = 6,
    MOUSE_RING_RIGHT_DOWN = 9,
    MOUSE_RING_RIGHT_UP = 10,
};

// Codes of the key ring beside typed characters. Characters are 16-bit units, so the
// pressed keys carry a bit above them: a typed '%' or '(' is never taken for an arrow.
enum EKeyRingCode : uint32_t
{
    KEY_RING_PRESSED_KEY = 0x10000,
    KEY_RING_DELETE = KEY_RING_PRESSED_KEY | 7,
    KEY_RING_LEFT = KEY_RING_PRESSED_KEY | 37,
    KEY_RING_UP = KEY_RING_PRESSED_KEY | 38,
    KEY_RING_RIGHT = KEY_RING_PRESSED_KEY | 39,
    KEY_RING_DOWN = KEY_RING_PRESSED_KEY | 40,
};

// 128 entries. A full ring keeps what it holds and drops the newest entry, so a burst
// of events between two frames never makes the ring look empty or replay old entries.
template <typename T>
class CInputRing
{
public:
    static constexpr int CAPACITY = 128;

    // False when the ring was full and the entry was dropped.
    bool Push(const T& entry)
    {
        int next = (m_write + 1) % CAPACITY;
        if (next == m_read)
            return false;
        m_entries[m_write] = entry;
        m_write = next;
        return true;
    }
    bool Pop(T& entry)
    {
        if (m_read == m_write)
            return false;
        entry = m_entries[m_read];
        m_read = (m_read + 1) % CAPACITY;
        return true;
    }
    // The newest entry still waiting, or null.
    T* PeekNewest() { return m_read == m_write ? nullptr : &m_entries[(m_write + CAPACITY - 1) % CAPACITY]; }
    bool IsEmpty() const { return m_read == m_write; }
    void Clear() { m_read = m_write = 0; }

private:
    T m_entries[CAPACITY] = {};
    int m_read = 0;
    int m_write = 0;
};
