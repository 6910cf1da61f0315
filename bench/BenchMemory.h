// BenchMemory.h - how much heap a piece of work leaves held, and how high
// the heap grew while it ran.
#ifndef TR_BENCH_MEMORY_H
#define TR_BENCH_MEMORY_H

#include <cstddef>

namespace bench {

struct HeapGrowth {
    double held;  // bytes in use at the end beyond those at the mark, per-block overhead included
    double peak;  // the highest the heap grew above the mark meanwhile
};

// Starts a measurement. Natively every allocation between the two calls is
// counted, so both figures are exact (the measured work must free only what
// it allocated itself). On Windows the library allocates from its own C++
// runtime, out of reach of the program: 'held' walks the process heaps,
// 'peak' is the growth of the private memory in use (the heap hands its
// pages back only when blocks are freed, so while a load only adds records
// this is the high-water mark).
void MarkHeap();
HeapGrowth HeapSinceMark();

// Lets the C runtime's heap finish with what was just freed (merging free
// blocks, giving memory back), so that work of a teardown done after a clock
// stopped does not land in the next measurement.
void SettleHeap();

}  // namespace bench

#endif  // TR_BENCH_MEMORY_H
