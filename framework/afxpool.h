// Blocks of one size for objects that a program makes by the thousand (a map's brushes and
// key/value pairs, the nodes of the lists that hold them): taken from a free list filled a chunk
// at a time, instead of one heap call each. A freed block goes back on the list for the next
// object; the chunks stay for the program's life (the next map reuses them).
#pragma once
#include <windows.h>
#include <cstddef>
#include <new>

class CBlockPool
{
public:
    explicit CBlockPool(size_t size) : m_size(size < sizeof(Block) ? sizeof(Block) : RoundUp(size))
    {
        InitializeCriticalSection(&m_busy);
    }
    CBlockPool(const CBlockPool&) = delete;
    CBlockPool& operator=(const CBlockPool&) = delete;

    size_t GetBlockSize() const { return m_size; }
    void* Allocate()
    {
        void* p = TryAllocate();
        if (!p)
            throw std::bad_alloc();
        return p;
    }
    // Null when no chunk could be had.
    void* TryAllocate()
    {
        Lock lock(m_busy);
        if (!m_free && !AddChunk())
            return nullptr;
        Block* b = m_free;
        m_free = b->next;
        return b;
    }
    void Free(void* p)
    {
        if (!p)
            return;
        Lock lock(m_busy);
        Block* b = static_cast<Block*>(p);
        b->next = m_free;
        m_free = b;
    }

private:
    struct Block
    {
        Block* next;
    };
    enum { kChunkBlocks = 256 };
    // Objects and lists are mostly made on the main thread; the lock keeps the free list whole when
    // another thread makes or frees one (a thread that finds it taken waits without spinning).
    class Lock
    {
    public:
        explicit Lock(CRITICAL_SECTION& cs) : m_cs(cs) { EnterCriticalSection(&m_cs); }
        ~Lock() { LeaveCriticalSection(&m_cs); }
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        CRITICAL_SECTION& m_cs;
    };
    static size_t RoundUp(size_t n)
    {
        const size_t a = alignof(std::max_align_t);
        return (n + a - 1) / a * a;
    }
    bool AddChunk()
    {
        char* chunk = static_cast<char*>(::operator new(m_size * kChunkBlocks, std::nothrow));
        if (!chunk)
            return false;
        for (size_t i = kChunkBlocks; i-- > 0;) {
            Block* b = reinterpret_cast<Block*>(chunk + i * m_size);
            b->next = m_free;
            m_free = b;
        }
        return true;
    }

    const size_t m_size;
    Block* m_free = nullptr;
    CRITICAL_SECTION m_busy;
};

