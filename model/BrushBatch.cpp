#include "BrushBatch.h"
#include "Brush.h"
#include <windows.h>
#include <xmmintrin.h>
#include <algorithm>
#include <new>
#include <system_error>
#include <thread>

// The x87 control word (precision, rounding, exception masks): the long double arithmetic of the
// geometry (CVector::Normalize) runs under it, as the single and double arithmetic runs under MXCSR.
static unsigned short GetX87ControlWord()
{
    unsigned short word;
    __asm__ __volatile__("fnstcw %0" : "=m"(word));
    return word;
}

static void SetX87ControlWord(unsigned short word)
{
    __asm__ __volatile__("fldcw %0" : : "m"(word));
}

CBrushBatch::FloatState CBrushBatch::FloatState::OfThisThread()
{
    return FloatState{_mm_getcsr(), GetX87ControlWord()};
}

void CBrushBatch::FloatState::MakeThisThreads() const
{
    _mm_setcsr(csr);
    SetX87ControlWord(x87);
}

namespace {
// Brushes are handed to the workers hundreds at a time (a wake-up costs more than many a brush's
// clip), and taken a few at a time, so that a worker held up by the system holds few.
enum { kPublishEvery = 512, kMostTakenAtOnce = 16, kOutOfMemory = -2 };
// More workers than this gain nothing: the reading thread's own work is the longer.
enum { kMostWorkers = 3 };

// The slim lock and its condition variable: under Wine they wait in the process, where the
// library mutex and condition of the thread runtime go through the server on every wait and wake
// (which cost more than the clips they handed over). The program is built for systems that may
// lack them: they are looked up, and without them there are no workers.
struct SlimLocks
{
    void(WINAPI* acquire)(SRWLOCK*) = nullptr;
    void(WINAPI* release)(SRWLOCK*) = nullptr;
    BOOL(WINAPI* sleep)(CONDITION_VARIABLE*, SRWLOCK*, DWORD, ULONG) = nullptr;
    void(WINAPI* wakeAll)(CONDITION_VARIABLE*) = nullptr;
    void(WINAPI* wakeOne)(CONDITION_VARIABLE*) = nullptr;

    bool Load()
    {
        HMODULE k = GetModuleHandleA("kernel32.dll");
        if (!k)
            return false;
        acquire = reinterpret_cast<decltype(acquire)>(
            reinterpret_cast<void*>(GetProcAddress(k, "AcquireSRWLockExclusive")));
        release = reinterpret_cast<decltype(release)>(
            reinterpret_cast<void*>(GetProcAddress(k, "ReleaseSRWLockExclusive")));
        sleep = reinterpret_cast<decltype(sleep)>(
            reinterpret_cast<void*>(GetProcAddress(k, "SleepConditionVariableSRW")));
        wakeAll = reinterpret_cast<decltype(wakeAll)>(
            reinterpret_cast<void*>(GetProcAddress(k, "WakeAllConditionVariable")));
        wakeOne = reinterpret_cast<decltype(wakeOne)>(
            reinterpret_cast<void*>(GetProcAddress(k, "WakeConditionVariable")));
        return acquire && release && sleep && wakeAll && wakeOne;
    }
};
} // namespace

// The worker threads: made on the first open that hands over a brush, kept for the program's life
// (an open does not pay for making threads). A worker with nothing to do sleeps on the condition.
class CWindingWorkers
{
public:
    static CWindingWorkers& Get()
    {
        static CWindingWorkers* workers = new CWindingWorkers;
        return *workers;
    }
    int Count() const { return m_count; }

    // While the reader reads, one worker takes a whole block; at its end, all of them share.
    void Push(std::vector<CBrushBatch::Entry*>& entries, CBrushBatch& batch, bool last)
    {
        Lock();
        m_queue.insert(m_queue.end(), entries.begin(), entries.end());
        batch.m_outstanding += entries.size();
        if (last)
            ++m_finishing;
        if (m_idle > 0) {
            if (last)
                m_api.wakeAll(&m_work);
            else
                m_api.wakeOne(&m_work);
        }
        Unlock();
    }

    // Until the batch's entries are all built; with help, the calling thread builds queued ones
    // itself meanwhile.
    void Wait(CBrushBatch& batch, bool help)
    {
        if (m_count == 0)
            return; // every entry was built as it was added
        Lock();
        for (;;) {
            if (help && m_head < m_queue.size()) {
                CBrushBatch::Entry* e = nullptr;
                Take(&e, 1);
                Unlock();
                BuildUnderReaderSettings(*e);
                Lock();
                Done(&e, 1);
                continue;
            }
            if (batch.m_outstanding == 0)
                break;
            m_api.sleep(&m_done, &m_lock, INFINITE, 0);
        }
        if (help)
            --m_finishing;
        Unlock();
    }

private:
    CWindingWorkers()
    {
        // The processors this process may run on (a process held to fewer than the machine has
        // gains nothing from more threads).
        int processors = 0;
        DWORD_PTR mine = 0, all = 0;
        if (GetProcessAffinityMask(GetCurrentProcess(), &mine, &all))
            for (; mine; mine &= mine - 1)
                ++processors;
        if (processors == 0) {
            SYSTEM_INFO info;
            GetSystemInfo(&info);
            processors = static_cast<int>(info.dwNumberOfProcessors);
        }
        const int wanted = m_api.Load() ? std::min(processors - 1, static_cast<int>(kMostWorkers)) : 0;
        for (int i = 0; i < wanted; ++i) {
            try {
                std::thread(&CWindingWorkers::Run, this).detach();
            } catch (std::system_error&) {
                break; // fewer workers; the reading thread builds what they do not
            }
            ++m_count;
        }
    }

    void Run()
    {
        CBrushBatch::Entry* taken[kMostTakenAtOnce];
        Lock();
        for (;;) {
            while (m_head == m_queue.size()) {
                ++m_idle;
                m_api.sleep(&m_work, &m_lock, INFINITE, 0);
                --m_idle;
            }
            // A share of what waits, so that the last brushes of a load are spread over the
            // threads (the reading thread's among them) rather than left to one.
            const size_t waiting = m_queue.size() - m_head;
            const size_t share =
                m_finishing ? std::max<size_t>(1, waiting / static_cast<size_t>(m_count + 1)) : waiting;
            const size_t n = Take(taken, std::min<size_t>(share, kMostTakenAtOnce));
            Unlock();
            for (size_t i = 0; i < n; ++i)
                BuildUnderReaderSettings(*taken[i]);
            Lock();
            Done(taken, n);
        }
    }

    // With the lock held.
    size_t Take(CBrushBatch::Entry** out, size_t most)
    {
        const size_t n = std::min(most, m_queue.size() - m_head);
        for (size_t i = 0; i < n; ++i)
            out[i] = m_queue[m_head + i];
        m_head += n;
        if (m_head == m_queue.size()) {
            m_queue.clear();
            m_head = 0;
        }
        return n;
    }

    // With the lock held.
    void Done(CBrushBatch::Entry** entries, size_t n)
    {
        for (size_t i = 0; i < n; ++i)
            if (--entries[i]->batch->m_outstanding == 0)
                m_api.wakeAll(&m_done);
    }

    // The rounding, the precision and the treatment of tiny values of the thread that read the
    // brush, so that the points come out as that thread would have made them.
    static void BuildUnderReaderSettings(CBrushBatch::Entry& e)
    {
        const CBrushBatch::FloatState own = CBrushBatch::FloatState::OfThisThread();
        const CBrushBatch::FloatState& reader = e.batch->m_float;
        const bool differ = own != reader;
        if (differ)
            reader.MakeThisThreads();
        CBrushBatch::Build(e);
        if (differ)
            own.MakeThisThreads();
    }

    void Lock() { m_api.acquire(&m_lock); }
    void Unlock() { m_api.release(&m_lock); }

    SlimLocks m_api;
    SRWLOCK m_lock = SRWLOCK_INIT;
    CONDITION_VARIABLE m_work = CONDITION_VARIABLE_INIT; // entries queued
    CONDITION_VARIABLE m_done = CONDITION_VARIABLE_INIT; // a batch's last entry built
    std::vector<CBrushBatch::Entry*> m_queue;
    size_t m_head = 0;
    int m_idle = 0;
    int m_count = 0;
    int m_finishing = 0; // readers waiting for the last entries of their batches
};

CBrushBatch::CBrushBatch() : m_float(FloatState::OfThisThread()) {}

CBrushBatch::~CBrushBatch()
{
    m_unpublished.clear();
    WaitForWorkers();
}

int CBrushBatch::GetWorkerCount()
{
    return CWindingWorkers::Get().Count();
}

void CBrushBatch::Build(Entry& entry)
{
    try {
        entry.result = entry.brush->BuildReadWindings();
    } catch (std::bad_alloc&) {
        entry.result = kOutOfMemory;
    }
}

void CBrushBatch::Add(const Entry& entry)
{
    if (m_count == m_chunks.size() * kChunk)
        m_chunks.emplace_back(new Entry[kChunk]);
    Entry& e = At(m_count);
    e = entry;
    ++m_count;
    e.batch = this;
    e.result = -1;
    if (GetWorkerCount() == 0) {
        Build(e);
        return;
    }
    m_unpublished.push_back(&e);
    if (m_unpublished.size() >= kPublishEvery)
        Publish();
}

void CBrushBatch::Publish(bool last)
{
    if (m_unpublished.empty() && !last)
        return;
    CWindingWorkers::Get().Push(m_unpublished, *this, last);
    m_unpublished.clear();
}

void CBrushBatch::WaitForWorkers()
{
    // Workers only ever see entries that are in the list.
    if (m_count == 0)
        return;
    CWindingWorkers::Get().Wait(*this, false);
}

void CBrushBatch::Finish()
{
    // Without workers every entry was built as it was added.
    if (m_count > 0 && GetWorkerCount() > 0) {
        Publish(true);
        CWindingWorkers::Get().Wait(*this, true);
    }
    for (size_t i = 0; i < m_count; ++i)
        if (At(i).result == kOutOfMemory)
            throw std::bad_alloc();
}

void CBrushBatch::Abandon()
{
    m_unpublished.clear();
    WaitForWorkers();
    m_count = 0;
    m_taken = 0;
}

void CBrushBatch::TakeFailures(const Entity* owner, std::vector<const Entry*>& failed)
{
    for (; m_taken < m_count && At(m_taken).owner == owner; ++m_taken)
        if (At(m_taken).result >= 0)
            failed.push_back(&At(m_taken));
}
