// TrAllocHook.h - the controls of the allocation-failure build of the library
// (TrCommonAllocHook.dll): every allocation made by the library's own code
// and by its C++ runtime is counted while armed, and the chosen one fails.
#ifndef TR_TESTS_ALLOCHOOK_H
#define TR_TESTS_ALLOCHOOK_H

#ifdef TR_ALLOC_HOOK_BUILD
#define TR_ALLOC_HOOK_API extern "C" __declspec(dllexport)
#else
#define TR_ALLOC_HOOK_API extern "C" __declspec(dllimport)
#endif

// Starts counting; allocation number 'failAt' from here on fails (operator
// new throws std::bad_alloc, malloc, calloc, realloc and strdup give NULL).
// 0 only counts.
TR_ALLOC_HOOK_API void TrAllocHookArm(long failAt);
// Stops counting and gives the number of allocations since TrAllocHookArm.
TR_ALLOC_HOOK_API long TrAllocHookDisarm();
// From now on the library's releases of 'block' are counted instead of done,
// so a caller's block stays valid to look at; TrAllocHookReleases tells how
// many there were. Watching another block forgets the previous one.
TR_ALLOC_HOOK_API void TrAllocHookWatch(const void* block);
TR_ALLOC_HOOK_API long TrAllocHookReleases();

#endif  // TR_TESTS_ALLOCHOOK_H
