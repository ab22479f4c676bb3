// Blocks of one size for objects that a map's load makes by the thousand (brushes, key/value
// pairs): taken from a free list filled a chunk at a time, instead of one heap call each. A freed
// block goes back on the list for the next object; the chunks stay for the program's life (the
// next map reuses them).
#pragma once
#include <atomic>
#include <cstddef>
#include <new>

class CBlockPool
{
public:
    explicit CBlockPool(size_t size) : m_size(size < sizeof(Block) ? sizeof(Block) : RoundUp(size)) {}
    CBlockPool(const CBlockPool&) = delete;
    CBlockPool& operator=(const CBlockPool&) = delete;

    size_t GetBlockSize() const { return m_size; }
    void* Allocate()
    {
        Lock lock(m_busy);
        if (!m_free)
            AddChunk();
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
    // Objects of the model are made on the main thread; the lock only keeps the list whole if
    // another thread ever makes one.
    class Lock
    {
    public:
        explicit Lock(std::atomic_flag& f) : m_flag(f)
        {
            while (m_flag.test_and_set(std::memory_order_acquire)) {
            }
        }
        ~Lock() { m_flag.clear(std::memory_order_release); }

    private:
        std::atomic_flag& m_flag;
    };
    static size_t RoundUp(size_t n)
    {
        const size_t a = alignof(std::max_align_t);
        return (n + a - 1) / a * a;
    }
    void AddChunk()
    {
        char* chunk = static_cast<char*>(::operator new(m_size * kChunkBlocks));
        for (size_t i = kChunkBlocks; i-- > 0;) {
            Block* b = reinterpret_cast<Block*>(chunk + i * m_size);
            b->next = m_free;
            m_free = b;
        }
    }

    const size_t m_size;
    Block* m_free = nullptr;
    std::atomic_flag m_busy = ATOMIC_FLAG_INIT;
};

// Gives a class its own pool: objects of exactly its size come from the pool, anything else (a
// derived class) from the heap. The pool is never destroyed, so an object deleted late in the
// program's exit still has somewhere to go.
template <class T> class CPooled
{
public:
    static void* operator new(size_t n)
    {
        CBlockPool& pool = Pool();
        return n <= pool.GetBlockSize() ? pool.Allocate() : ::operator new(n);
    }
    static void operator delete(void* p, size_t n)
    {
        CBlockPool& pool = Pool();
        if (n <= pool.GetBlockSize())
            pool.Free(p);
        else
            ::operator delete(p);
    }

private:
    static CBlockPool& Pool()
    {
        static CBlockPool* pool = new CBlockPool(sizeof(T));
        return *pool;
    }
};

// An allocator that takes single objects from a pool of their size (lists of more from the heap):
// for std::allocate_shared, whose one block of count and object then comes from the pool too.
template <class T> class CPoolAllocator
{
public:
    using value_type = T;
    CPoolAllocator() = default;
    template <class U> CPoolAllocator(const CPoolAllocator<U>&) {}
    T* allocate(size_t n)
    {
        return static_cast<T*>(n == 1 ? Pool().Allocate() : ::operator new(n * sizeof(T)));
    }
    void deallocate(T* p, size_t n)
    {
        if (n == 1)
            Pool().Free(p);
        else
            ::operator delete(p);
    }
    template <class U> bool operator==(const CPoolAllocator<U>&) const { return true; }
    template <class U> bool operator!=(const CPoolAllocator<U>&) const { return false; }

private:
    static CBlockPool& Pool()
    {
        static CBlockPool* pool = new CBlockPool(sizeof(T));
        return *pool;
    }
};
