#include "utility/source/QelMemoryTracker.h"

#include "utility/source/QelAssert.h"

#include <cstdlib>
#include <cstring>

CMemoryTrackerAllocContainer::~CMemoryTrackerAllocContainer()
{
    // Records only; blocks still recorded belong to their owners.
    for (SMemoryTrackerAlloc*& head : m_hashLists)
    {
        while (head)
        {
            SMemoryTrackerAlloc* next = head->m_next;
            delete head;
            head = next;
        }
    }
}

int CMemoryTrackerAllocContainer::GetListIndex(const void* address)
{
    // Blocks are 16-byte aligned on this platform, so the lowest bits carry no
    // information; fold higher bits in to use all lists.
    uintptr_t value = reinterpret_cast<uintptr_t>(address) >> 4;
    return static_cast<int>((value ^ (value >> 8) ^ (value >> 16)) & (kListCount - 1));
}

bool CMemoryTrackerAllocContainer::Allocate(const void* address, const char* typeName, size_t size,
                                            const char* file, int line)
{
    SMemoryTrackerAlloc* record = new (std::nothrow) SMemoryTrackerAlloc;
    QEL_ASSERT(record);
    if (!record)
        return false;
    record->m_address = address;
    record->m_size = size;
    record->m_file = file;
    record->m_line = line;
    std::strncpy(record->m_typeName, typeName ? typeName : "", sizeof(record->m_typeName) - 1);

    std::lock_guard<std::mutex> hold(m_lock);
    SMemoryTrackerAlloc*& head = m_hashLists[GetListIndex(address)];
    record->m_next = head;
    if (head)
        head->m_prev = record;
    head = record;
    ++m_liveCount;
    return true;
}

bool CMemoryTrackerAllocContainer::Remove(const void* address, const char* file, int line)
{
    SMemoryTrackerAlloc* found = nullptr;
    bool listEmpty = false;
    {
        std::lock_guard<std::mutex> hold(m_lock);
        int hashListIdx = GetListIndex(address);
        SMemoryTrackerAlloc*& head = m_hashLists[hashListIdx];
        listEmpty = head == nullptr;
        for (SMemoryTrackerAlloc* record = head; record; record = record->m_next)
        {
            if (record->m_address == address)
            {
                found = record;
                break;
            }
        }
        if (found)
        {
            if (found->m_prev)
                found->m_prev->m_next = found->m_next;
            else
                head = found->m_next;
            if (found->m_next)
                found->m_next->m_prev = found->m_prev;
            --m_liveCount;
        }
    }
    // Reported outside the lock: a handler may allocate.
    static bool s_ignoreEmpty = false;
    static bool s_ignoreMissing = false;
    if (listEmpty)
        ReportAssert("m_hashLists[hashListIdx]", file, line, "CMemoryTrackerAllocContainer::Remove", &s_ignoreEmpty);
    else if (!found)
        ReportAssert("pAlloc", file, line, "CMemoryTrackerAllocContainer::Remove", &s_ignoreMissing);
    delete found;
    return found != nullptr;
}

void CMemoryTrackerAllocContainer::ReleaseAll()
{
    std::lock_guard<std::mutex> hold(m_lock);
    for (SMemoryTrackerAlloc*& head : m_hashLists)
    {
        while (head)
        {
            SMemoryTrackerAlloc* next = head->m_next;
            if (std::strcmp(head->m_typeName, "malloc") == 0)
                std::free(const_cast<void*>(head->m_address));
            delete head;
            head = next;
        }
    }
    m_liveCount = 0;
}

size_t CMemoryTrackerAllocContainer::GetLiveCount() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_liveCount;
}

bool CMemoryTrackerAllocContainer::FindRecord(const void* address, SMemoryTrackerAlloc& out) const
{
    std::lock_guard<std::mutex> hold(m_lock);
    for (const SMemoryTrackerAlloc* record = m_hashLists[GetListIndex(address)]; record; record = record->m_next)
    {
        if (record->m_address == address)
        {
            out = *record;
            out.m_prev = out.m_next = nullptr;
            return true;
        }
    }
    return false;
}

CMemoryTrackerAllocContainer& GetMemoryTracker()
{
    static CMemoryTrackerAllocContainer s_tracker;
    return s_tracker;
}

void* QelDebugNew(void* pointer, const char* typeName, size_t size, const char* file, int line)
{
    if (!pointer)
    {
        static bool s_ignore = false;
        ReportAssertMessage("Memory allocation failed, ", "pObj", file, line, "QelDebugNew", &s_ignore);
        return nullptr;
    }
    GetMemoryTracker().Allocate(pointer, typeName, size, file, line);
    return pointer;
}

void QelDebugDelete(const void* pointer, const char* file, int line)
{
    static bool s_ignoreNull = false;
    static bool s_ignoreInvalid = false;
    if (!pointer)
    {
        ReportAssertMessage("Deletion of NULL pointer, ", "pObj", file, line, "QelDebugDelete", &s_ignoreNull);
        return;
    }
    if (reinterpret_cast<uintptr_t>(pointer) <= 4095)
    {
        ReportAssertMessage("Deletion of invalid pointer", "(t_uint32)pObj > 4095", file, line, "QelDebugDelete",
                            &s_ignoreInvalid);
        return;
    }
    GetMemoryTracker().Remove(pointer, file, line);
}

void* QelRealloc(void* pointer, size_t size, const char* file, int line)
{
    // The old record goes before the block may move; it comes back when the
    // reallocation fails and the old block stays live.
    SMemoryTrackerAlloc old;
    bool recorded = pointer && GetMemoryTracker().FindRecord(pointer, old);
    if (pointer)
        GetMemoryTracker().Remove(pointer, file, line);
    // A size of 0 asks for the smallest block: realloc may otherwise free the old
    // one and give null, which reads as a failure that kept it.
    void* block = std::realloc(pointer, size ? size : 1);
    if (!block)
    {
        if (recorded)
            GetMemoryTracker().Allocate(pointer, old.m_typeName, old.m_size, old.m_file, old.m_line);
        return QelDebugNew(nullptr, "realloc", size, file, line);
    }
    GetMemoryTracker().Allocate(block, "realloc", size, file, line);
    return block;
}
