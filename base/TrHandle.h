// TrHandle.h - move-only owners for Win32 handles, registry keys, views,
// modules, icons, GDI objects, menus, event log sources and COM pointers.
//
// Copying is deleted everywhere: a handle has exactly one owner, and that
// owner releases it on every path, including early returns.
#ifndef TR_BASE_HANDLE_H
#define TR_BASE_HANDLE_H

#include <windows.h>

#include <utility>

namespace tr {

// Generic owner: Traits::Empty() is the "nothing held" value,
// Traits::IsEmpty() tells values that must never be released, and
// Traits::Release() gives the handle back.
template <class Traits>
class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() noexcept : m_h(Traits::Empty()) {}
    explicit UniqueHandle(Type h) noexcept : m_h(h) {}
    ~UniqueHandle() { Reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : m_h(other.Detach()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Reset(other.Detach());
        return *this;
    }

    Type Get() const noexcept { return m_h; }
    bool Valid() const noexcept { return !Traits::IsEmpty(m_h); }
    explicit operator bool() const noexcept { return Valid(); }

    Type Detach() noexcept { return std::exchange(m_h, Traits::Empty()); }
    void Reset(Type h = Traits::Empty()) noexcept {
        Type old = std::exchange(m_h, h);
        if (!Traits::IsEmpty(old)) Traits::Release(old);
    }
    // For out-parameters of API calls: releases what is held first.
    Type* Put() noexcept { Reset(); return &m_h; }

private:
    Type m_h;
};

// Owners whose only "nothing held" value is NULL, released by one call.
template <class T, auto Free>
struct NullTraits {
    using Type = T;
    static Type Empty() { return nullptr; }
    static bool IsEmpty(Type h) { return h == nullptr; }
    static void Release(Type h) { Free(h); }
};

// Kernel handles: NULL and INVALID_HANDLE_VALUE both mean "none", since the
// API family decides which of the two marks a failure.
struct KernelTraits {
    using Type = HANDLE;
    static Type Empty() { return nullptr; }
    static bool IsEmpty(Type h) { return h == nullptr || h == INVALID_HANDLE_VALUE; }
    static void Release(Type h) { ::CloseHandle(h); }
};
using Handle = UniqueHandle<KernelTraits>;

struct FindTraits {
    using Type = HANDLE;
    static Type Empty() { return INVALID_HANDLE_VALUE; }
    static bool IsEmpty(Type h) { return h == nullptr || h == INVALID_HANDLE_VALUE; }
    static void Release(Type h) { ::FindClose(h); }
};
using FindHandle = UniqueHandle<FindTraits>;

// Registry keys: the predefined roots (HKEY_LOCAL_MACHINE and friends) are
// never closed, so a RegKey may hold one of them safely.
struct RegKeyTraits {
    using Type = HKEY;
    static Type Empty() { return nullptr; }
    static bool IsEmpty(Type h) {
        return h == nullptr || h == INVALID_HANDLE_VALUE ||
               (reinterpret_cast<ULONG_PTR>(h) & 0xF0000000UL) == 0x80000000UL;
    }
    static void Release(Type h) { ::RegCloseKey(h); }
};
using RegKey = UniqueHandle<RegKeyTraits>;

using MappedView = UniqueHandle<NullTraits<void*, &::UnmapViewOfFile>>;
using Module = UniqueHandle<NullTraits<HMODULE, &::FreeLibrary>>;
using Icon = UniqueHandle<NullTraits<HICON, &::DestroyIcon>>;
using GdiObject = UniqueHandle<NullTraits<HGDIOBJ, &::DeleteObject>>;
using Window = UniqueHandle<NullTraits<HWND, &::DestroyWindow>>;

// A menu; destroying it destroys the sub-menus attached to it.
using Menu = UniqueHandle<NullTraits<HMENU, &::DestroyMenu>>;

// An event log source (RegisterEventSource).
using EventSource = UniqueHandle<NullTraits<HANDLE, &::DeregisterEventSource>>;

// A mutex this thread owns: released and closed together.
struct OwnedMutexTraits {
    using Type = HANDLE;
    static Type Empty() { return nullptr; }
    static bool IsEmpty(Type h) { return h == nullptr || h == INVALID_HANDLE_VALUE; }
    static void Release(Type h) { ::ReleaseMutex(h); ::CloseHandle(h); }
};
using OwnedMutex = UniqueHandle<OwnedMutexTraits>;

// COM interface pointer.
template <class T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& o) noexcept : m_p(std::exchange(o.m_p, nullptr)) {}
    ComPtr& operator=(ComPtr&& o) noexcept {
        if (this != &o) { Reset(); m_p = std::exchange(o.m_p, nullptr); }
        return *this;
    }
    T* Get() const noexcept { return m_p; }
    T* operator->() const noexcept { return m_p; }
    explicit operator bool() const noexcept { return m_p != nullptr; }
    void Reset() noexcept { if (m_p) { m_p->Release(); m_p = nullptr; } }
    T** Put() noexcept { Reset(); return &m_p; }
    void** PutVoid() noexcept { return reinterpret_cast<void**>(Put()); }

private:
    T* m_p = nullptr;
};

}  // namespace tr

#endif  // TR_BASE_HANDLE_H
