// A sampling profile of one phase (-p): a second thread stops the timed thread about once a
// millisecond, notes where it was and lets it go on. The addresses are written relative to the
// program's image, with their counts, most frequent first; a symbol tool turns them into function
// names (x86_64-w64-mingw32-addr2line -f -C -e morvane_bench.exe 0x<rva>...).
#pragma once
#include <windows.h>
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <map>
#include <thread>

class CBenchProfile
{
public:
    // Starts sampling the calling thread.
    CBenchProfile()
    {
        HANDLE self = GetCurrentThread();
        DuplicateHandle(GetCurrentProcess(), self, GetCurrentProcess(), &m_target, 0, FALSE, DUPLICATE_SAME_ACCESS);
        m_base = reinterpret_cast<uintptr_t>(GetModuleHandleA(nullptr));
        m_thread = std::thread([this] { Run(); });
    }
    ~CBenchProfile()
    {
        Stop();
        CloseHandle(m_target);
    }
    void Stop()
    {
        if (!m_thread.joinable())
            return;
        m_stop = true;
        m_thread.join();
    }
    // The top lines: rva, samples, share.
    void Print(FILE* out, size_t top) const
    {
        std::vector<std::pair<uintptr_t, unsigned>> sorted(m_counts.begin(), m_counts.end());
        std::sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
        std::fprintf(out, "profile: %u samples (%u in system libraries, counted at the program's call)\n", m_samples, m_outside);
        for (size_t i = 0; i < sorted.size() && i < top; ++i)
            std::fprintf(out, "  0x%llx %6u %5.1f%%\n", static_cast<unsigned long long>(sorted[i].first),
                         sorted[i].second, m_samples ? 100.0 * sorted[i].second / m_samples : 0.0);
    }

private:
    void Run()
    {
        while (!m_stop) {
            Sleep(1);
            if (SuspendThread(m_target) == static_cast<DWORD>(-1))
                continue;
            CONTEXT context;
            context.ContextFlags = CONTEXT_FULL;
            bool got = GetThreadContext(m_target, &context) != 0;
            // A sample in a system library (beyond the image's first 16 MB) is counted at the
            // program's call into it: the stack is unwound while the thread still stands.
            bool outside = false;
            for (int depth = 0; got && depth < 32 && context.Rip - m_base >= (16u << 20); ++depth) {
                outside = true;
                DWORD64 imageBase = 0;
                PRUNTIME_FUNCTION fn = RtlLookupFunctionEntry(context.Rip, &imageBase, nullptr);
                if (!fn) {
                    // A leaf function: its return address is on top of the stack.
                    context.Rip = *reinterpret_cast<DWORD64*>(context.Rsp);
                    context.Rsp += 8;
                    continue;
                }
                void* handlerData = nullptr;
                DWORD64 frame = 0;
                RtlVirtualUnwind(UNW_FLAG_NHANDLER, imageBase, context.Rip, fn, &context, &handlerData, &frame,
                                 nullptr);
            }
            // Resumed before anything is counted: the stopped thread may hold the heap's lock.
            ResumeThread(m_target);
            if (!got)
                continue;
            ++m_samples;
            uintptr_t rva = static_cast<uintptr_t>(context.Rip) - m_base;
            if (outside)
                ++m_outside;
            if (rva < (16u << 20))
                ++m_counts[rva];
        }
    }

    HANDLE m_target = nullptr;
    uintptr_t m_base = 0;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::map<uintptr_t, unsigned> m_counts;
    unsigned m_samples = 0;
    unsigned m_outside = 0;
};
