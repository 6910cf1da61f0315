// TrAllocHook.cpp - linked into the allocation-failure build of the library
// with --wrap for the C allocator, so the calls of the library's own code and
// of its statically linked C++ runtime (operator new calls malloc) land here.
// Allocations of the host and of system libraries are not affected.
#define TR_ALLOC_HOOK_BUILD
#include "tests/alloc/TrAllocHook.h"

#include <cstddef>

extern "C" {
void* __real_malloc(std::size_t size);
void* __real_calloc(std::size_t count, std::size_t size);
void* __real_realloc(void* block, std::size_t size);
void __real_free(void* block);
char* __real_strdup(const char* text);
}

namespace {

bool g_armed = false;
long g_count = 0, g_failAt = 0;
const void* g_watched = nullptr;
long g_releases = 0;

// Counts one allocation; true when it is the one to fail.
bool FailsNow() { return g_armed && ++g_count == g_failAt; }

}  // namespace

extern "C" {

void* __wrap_malloc(std::size_t size) { return FailsNow() ? nullptr : __real_malloc(size); }
void* __wrap_calloc(std::size_t count, std::size_t size) { return FailsNow() ? nullptr : __real_calloc(count, size); }
// A failed realloc leaves the block as it was, as the real one does.
void* __wrap_realloc(void* block, std::size_t size) { return FailsNow() ? nullptr : __real_realloc(block, size); }
char* __wrap_strdup(const char* text) { return FailsNow() ? nullptr : __real_strdup(text); }

void __wrap_free(void* block) {
    if (block && block == g_watched) {
        ++g_releases;
        return;
    }
    __real_free(block);
}

}  // extern "C"

void TrAllocHookArm(long failAt) { g_count = 0, g_failAt = failAt, g_armed = true; }

long TrAllocHookDisarm() {
    g_armed = false;
    return g_count;
}

void TrAllocHookWatch(const void* block) { g_watched = block, g_releases = 0; }

long TrAllocHookReleases() { return g_releases; }
