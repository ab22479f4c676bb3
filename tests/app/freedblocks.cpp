// The global allocation functions of a test program that watches for writes into freed memory.
// Outside a watch they are plain malloc and free.
#include "freedblocks.h"
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <new>

namespace {

const unsigned char kPattern = 0xDD;
const size_t kMaxKept = 1 << 20;

std::atomic<bool> s_keeping{false};
std::atomic_flag s_lock = ATOMIC_FLAG_INIT;
void** s_kept = nullptr; // malloc'd while a watch lives
size_t s_count = 0;
bool s_overflowed = false;

class Lock
{
public:
    Lock()
    {
        while (s_lock.test_and_set(std::memory_order_acquire)) {
        }
    }
    ~Lock() { s_lock.clear(std::memory_order_release); }
};

void* Allocate(size_t n)
{
    void* p = std::malloc(n ? n : 1);
    if (!p)
        throw std::bad_alloc();
    return p;
}

void Release(void* p) noexcept
{
    if (!p)
        return;
    if (s_keeping.load(std::memory_order_acquire)) {
        Lock lock;
        if (s_keeping.load(std::memory_order_relaxed)) {
            if (s_count < kMaxKept) {
                std::memset(p, kPattern, _msize(p));
                s_kept[s_count++] = p;
                return;
            }
            s_overflowed = true;
        }
    }
    std::free(p);
}

} // namespace

void* operator new(size_t n) { return Allocate(n); }
void* operator new[](size_t n) { return Allocate(n); }
void* operator new(size_t n, const std::nothrow_t&) noexcept { return std::malloc(n ? n : 1); }
void* operator new[](size_t n, const std::nothrow_t&) noexcept { return std::malloc(n ? n : 1); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, size_t) noexcept { Release(p); }
void operator delete[](void* p, size_t) noexcept { Release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Release(p); }

FreedBlockWatch::FreedBlockWatch()
{
    Lock lock;
    s_kept = static_cast<void**>(std::malloc(kMaxKept * sizeof(void*)));
    s_count = 0;
    s_overflowed = false;
    s_keeping.store(s_kept != nullptr, std::memory_order_release);
}

FreedBlockWatch::~FreedBlockWatch()
{
    Stop();
    Lock lock;
    for (size_t i = 0; i < s_count; ++i)
        std::free(s_kept[i]);
    std::free(s_kept);
    s_kept = nullptr;
    s_count = 0;
}

void FreedBlockWatch::Stop()
{
    Lock lock;
    s_keeping.store(false, std::memory_order_release);
}

bool FreedBlockWatch::WasFreed(const void* p) const
{
    Lock lock;
    for (size_t i = 0; i < s_count; ++i)
        if (s_kept[i] == p)
            return true;
    return false;
}

size_t FreedBlockWatch::Written() const
{
    Lock lock;
    size_t written = 0;
    for (size_t i = 0; i < s_count; ++i) {
        const unsigned char* b = static_cast<const unsigned char*>(s_kept[i]);
        const size_t size = _msize(s_kept[i]);
        for (size_t k = 0; k < size; ++k)
            if (b[k] != kPattern) {
                ++written;
                break;
            }
    }
    return written;
}

bool FreedBlockWatch::Overflowed() const
{
    Lock lock;
    return s_overflowed;
}
