// Pools for the classes of the model that a map's load makes by the thousand.
#pragma once
#include "afxpool.h"

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
