// BenchMemory.cpp - heap figures: a walk of the process heaps on Windows,
// a counting operator new natively.
#include "bench/BenchMemory.h"

#ifdef _WIN32
#include <windows.h>
#include <malloc.h>
#include <psapi.h>
#else
#include <malloc.h>

#include <cstdlib>
#include <new>
#endif

namespace bench {

#ifdef _WIN32
namespace {

double HeapInUse() {
    double busy = 0;
    HANDLE heaps[256];
    const DWORD count = ::GetProcessHeaps(256, heaps);
    for (DWORD i = 0; i < count && i < 256; ++i) {
        if (!::HeapLock(heaps[i])) continue;
        PROCESS_HEAP_ENTRY entry = {};
        while (::HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) busy += entry.cbData + entry.cbOverhead;
        ::HeapUnlock(heaps[i]);
    }
    return busy;
}

double PrivateInUse() {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    ::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                           sizeof(counters));
    return static_cast<double>(counters.PagefileUsage);
}

double g_heapMark, g_privateMark;

}  // namespace

void MarkHeap() {
    g_heapMark = HeapInUse();
    g_privateMark = PrivateInUse();
}

HeapGrowth HeapSinceMark() { return {HeapInUse() - g_heapMark, PrivateInUse() - g_privateMark}; }

void SettleHeap() { _heapmin(); }

#else
namespace {

// The benchmark runs on one thread: plain counters. Allocations are counted
// only between MarkHeap and HeapSinceMark, so timed work pays nothing for
// them; what the measured piece of work frees, it allocated itself.
bool g_counting = false;
std::size_t g_live = 0, g_peak = 0;

// The allocator's own header comes on top of what malloc_usable_size gives.
constexpr std::size_t kHeader = sizeof(std::size_t);

void* Counted(std::size_t size) {
    void* p = std::malloc(size ? size : 1);
    if (!p) throw std::bad_alloc();
    if (g_counting) {
        g_live += malloc_usable_size(p) + kHeader;
        if (g_live > g_peak) g_peak = g_live;
    }
    return p;
}

void Uncounted(void* p) {
    if (!p) return;
    if (g_counting) g_live -= malloc_usable_size(p) + kHeader;
    std::free(p);
}

}  // namespace

void MarkHeap() {
    g_live = g_peak = 0;
    g_counting = true;
}

HeapGrowth HeapSinceMark() {
    g_counting = false;
    return {static_cast<double>(g_live), static_cast<double>(g_peak)};
}

void SettleHeap() { malloc_trim(0); }
#endif

}  // namespace bench

#ifndef _WIN32
void* operator new(std::size_t size) { return bench::Counted(size); }
void* operator new[](std::size_t size) { return bench::Counted(size); }
void operator delete(void* p) noexcept { bench::Uncounted(p); }
void operator delete[](void* p) noexcept { bench::Uncounted(p); }
void operator delete(void* p, std::size_t) noexcept { bench::Uncounted(p); }
void operator delete[](void* p, std::size_t) noexcept { bench::Uncounted(p); }
#endif
