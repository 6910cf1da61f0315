// TrSharedBlock.cpp - the named 8-byte block through which every process of
// the product finds the server and client windows.
//
// The lock is a try-lock: a mutex that exists only while one operation runs.
// Whoever finds it already existing fails at once instead of waiting, so a
// caller sees an occasional 0 under contention and treats it as "no block".
#include "include/TrCommon.h"
#include "base/TrHandle.h"

namespace {

constexpr char kMapName[] = "TrCommon1999 FileMap";
constexpr char kMutexName[] = "TrCommon1999 Mutex";

enum class Mode { RegisterServer, OpenExisting, Clear, Probe };

// Set by every successful mapping and never cleared. The mapping handle and
// view of this process's first success stay open until the process ends, so
// the block outlives the call that created it (a view alone would not keep the
// name findable for other processes).
bool g_bMapped = false;

struct ProcessMapping {
    tr::Handle map;
    tr::MappedView view;
};
ProcessMapping& KeptMapping() {
    static ProcessMapping kept;  // given back only when the process ends
    return kept;
}

// The kept mapping must outlive a host that frees the library before it
// ends, and a later load of the library must find it rather than map the
// block again. So the first success also pins this module: FreeLibrary then
// leaves it loaded, with its one mapping and the flag, until the process
// ends, and every later load is the same module again.
void KeepForTheProcess(HANDLE hMap) {
    ProcessMapping& kept = KeptMapping();
    HANDLE hDup = nullptr;
    if (::DuplicateHandle(::GetCurrentProcess(), hMap, ::GetCurrentProcess(), &hDup, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
        kept.map.Reset(hDup);
        kept.view.Reset(::MapViewOfFile(hDup, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(TR_SHARED_BLOCK)));
    }
    HMODULE self = nullptr;
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                         reinterpret_cast<LPCSTR>(&KeepForTheProcess), &self);
}

// What one operation holds: the lock, and the mapping opened for this call.
struct OpenBlock {
    tr::OwnedMutex lock;
    tr::Handle map;
    tr::MappedView view;
    TR_SHARED_BLOCK* Block() const { return static_cast<TR_SHARED_BLOCK*>(view.Get()); }
};

bool OpenSharedBlock(Mode mode, OpenBlock& out) {
    // 1. The try-lock. ERROR_ALREADY_EXISTS means someone else is inside an
    // operation; ERROR_INVALID_HANDLE means the name is another kind of object.
    HANDLE hMutex = ::CreateMutexA(nullptr, TRUE, kMutexName);
    const DWORD mutexError = ::GetLastError();
    if (!hMutex) return false;
    if (mutexError == ERROR_ALREADY_EXISTS) {
        ::CloseHandle(hMutex);  // not ours to release: we do not own it
        return false;
    }
    out.lock.Reset(hMutex);

    // 2. The block itself, backed by the paging file.
    tr::Handle map(::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                        sizeof(TR_SHARED_BLOCK), kMapName));
    const bool existed = ::GetLastError() == ERROR_ALREADY_EXISTS;
    if (!map) return false;

    // 3. The mode decides whether an existing block is wanted.
    switch (mode) {
    case Mode::RegisterServer: if (existed) return false; break;
    case Mode::OpenExisting:   if (!existed) return false; break;
    case Mode::Clear:          break;
    case Mode::Probe:          if (existed) return false; return true;  // map closes: no block left
    }

    // 4. Map the whole block.
    tr::MappedView view(::MapViewOfFile(map.Get(), FILE_MAP_ALL_ACCESS, 0, 0, sizeof(TR_SHARED_BLOCK)));
    if (!view) return false;

    if (mode == Mode::RegisterServer) {
        auto* block = static_cast<TR_SHARED_BLOCK*>(view.Get());
        block->dwServer = 0;
        block->dwClient = 0;
    }

    // 6. The first success of the process keeps its own mapping for life.
    if (!g_bMapped) KeepForTheProcess(map.Get());
    g_bMapped = true;
    out.map = std::move(map);
    out.view = std::move(view);
    return true;
}

// Window handles are 32-bit values on every Windows: the block keeps the low
// half, and the handle comes back sign-extended, as Windows itself widens a
// 32-bit window value (LongToHandle).
DWORD ToWord(HWND h) { return static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(h)); }
HWND FromWord(DWORD w) { return static_cast<HWND>(LongToHandle(static_cast<LONG>(w))); }

}  // namespace

extern "C" {

int TRCOMAPI TrComCreateSharedMemory(void) {
    OpenBlock b;
    return OpenSharedBlock(Mode::Probe, b) ? 1 : 0;
}

int TRCOMAPI TrComSetServer(HWND hServer) {
    OpenBlock b;
    if (!OpenSharedBlock(Mode::RegisterServer, b)) return 0;
    b.Block()->dwServer = ToWord(hServer);
    return 1;
}

int TRCOMAPI TrComSetClient(HWND hClient) {
    OpenBlock b;
    if (!OpenSharedBlock(Mode::OpenExisting, b)) return 0;
    b.Block()->dwClient = ToWord(hClient);
    return 1;
}

int TRCOMAPI TrComGetServer(HWND* phServer) {
    if (!phServer) return 0;
    OpenBlock b;
    if (!OpenSharedBlock(Mode::OpenExisting, b)) return 0;
    *phServer = FromWord(b.Block()->dwServer);
    return 1;
}

int TRCOMAPI TrComGetClient(HWND* phClient) {
    if (!phClient) return 0;
    OpenBlock b;
    if (!OpenSharedBlock(Mode::OpenExisting, b)) return 0;
    *phClient = FromWord(b.Block()->dwClient);
    return 1;
}

int TRCOMAPI TrComDeleteSharedMemory(void) {
    if (!g_bMapped) return 1;
    OpenBlock b;
    if (OpenSharedBlock(Mode::Clear, b)) {
        b.Block()->dwServer = 0;
        b.Block()->dwClient = 0;
    }
    return 1;
}

}  // extern "C"
