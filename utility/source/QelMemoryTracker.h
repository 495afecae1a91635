#pragma once
// The utility library's memory tracker: every block allocated through it is
// recorded with its type name, size and the source file and line that made it,
// so leaks and bad deletes can be named. It never refuses an allocation itself.

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <new>

struct SMemoryTrackerAlloc
{
    const void* m_address = nullptr;
    size_t m_size = 0;
    const char* m_file = nullptr;
    int m_line = 0;
    char m_typeName[64] = {};
    SMemoryTrackerAlloc* m_prev = nullptr;
    SMemoryTrackerAlloc* m_next = nullptr;
};

class CMemoryTrackerAllocContainer
{
public:
    static constexpr int kListCount = 256;

    CMemoryTrackerAllocContainer() = default;
    ~CMemoryTrackerAllocContainer();
    CMemoryTrackerAllocContainer(const CMemoryTrackerAllocContainer&) = delete;
    CMemoryTrackerAllocContainer& operator=(const CMemoryTrackerAllocContainer&) = delete;

    // Records a block at the head of its address's list.
    bool Allocate(const void* address, const char* typeName, size_t size, const char* file, int line);
    // Forgets the record of a block; reports an assertion and gives false when
    // the address was never recorded.
    bool Remove(const void* address, const char* file, int line);
    // Forgets every record, freeing the blocks recorded with the type name "malloc".
    void ReleaseAll();

    // For diagnostics and tests: the records now held, and one block's record.
    size_t GetLiveCount() const;
    bool FindRecord(const void* address, SMemoryTrackerAlloc& out) const;

private:
    static int GetListIndex(const void* address);

    mutable std::mutex m_lock; // the worker and the terminal thread both allocate
    SMemoryTrackerAlloc* m_hashLists[kListCount] = {};
    size_t m_liveCount = 0;
};

CMemoryTrackerAllocContainer& GetMemoryTracker();

// Records a block the caller just allocated (a null pointer reports "Memory
// allocation failed, " instead) and gives the pointer back.
void* QelDebugNew(void* pointer, const char* typeName, size_t size, const char* file, int line);
// Forgets a block's record before the caller frees it; null and addresses below
// 4096 are reported.
void QelDebugDelete(const void* pointer, const char* file, int line);
// Reallocates a block made with malloc; the new block is recorded as "realloc".
// When reallocation fails the old block and its record stay as they were. A size
// of 0 gives a smallest block, never null.
void* QelRealloc(void* pointer, size_t size, const char* file, int line);

// Tracked allocation and release. Allocation failure gives null, never an exception.
#define QEL_NEW(Type) \
    static_cast<Type*>(QelDebugNew(new (std::nothrow) Type(), #Type, sizeof(Type), __FILE__, __LINE__))
#define QEL_NEW_WITH(Type, ...) \
    static_cast<Type*>(QelDebugNew(new (std::nothrow) Type(__VA_ARGS__), #Type, sizeof(Type), __FILE__, __LINE__))
#define QEL_NEW_ARRAY(Type, count)                                                        \
    static_cast<Type*>(QelDebugNew(new (std::nothrow) Type[count](), #Type, sizeof(Type) * (count), \
                                   __FILE__, __LINE__))
#define QEL_DELETE(pointer)                              \
    do                                                   \
    {                                                    \
        if (pointer)                                     \
            QelDebugDelete(pointer, __FILE__, __LINE__); \
        delete (pointer);                                \
    } while (0)
#define QEL_DELETE_ARRAY(pointer)                        \
    do                                                   \
    {                                                    \
        if (pointer)                                     \
            QelDebugDelete(pointer, __FILE__, __LINE__); \
        delete[] (pointer);                              \
    } while (0)
