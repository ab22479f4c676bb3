// A test program that links freedblocks.cpp has the global allocation functions of that file. While
// a FreedBlockWatch lives, every block given back is filled with a pattern and kept, never handed
// out again: a later write into it changes the pattern, and the watch counts the blocks it finds so
// changed. Whatever the allocator would have done with the memory, the write is seen.
#pragma once
#include <cstddef>

class FreedBlockWatch
{
public:
    FreedBlockWatch();
    // The kept blocks are given back.
    ~FreedBlockWatch();
    FreedBlockWatch(const FreedBlockWatch&) = delete;
    FreedBlockWatch& operator=(const FreedBlockWatch&) = delete;

    // Blocks given back from now on are freed at once; those kept so far stay for the checks.
    void Stop();
    // Whether the block at p was given back while the watch kept blocks.
    bool WasFreed(const void* p) const;
    // How many kept blocks no longer hold the pattern: written after they were given back.
    size_t Written() const;
    // Whether more blocks were given back than the watch can keep (those were freed at once).
    bool Overflowed() const;
};
