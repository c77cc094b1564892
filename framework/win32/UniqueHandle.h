// UniqueHandle: the one owner of a platform handle. A traits class says what type the handle
// has, which value means "no handle" and how a handle is closed; the owner closes its handle
// exactly once (on reset, on assignment and on scope exit) and can only be moved.
#pragma once
#include <windows.h>

#include <utility>

template <class Traits> class UniqueHandle {
  public:
    using pointer = typename Traits::pointer;

    UniqueHandle() = default;
    explicit UniqueHandle(pointer handle) : h_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : h_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    pointer get() const { return h_; }
    explicit operator bool() const { return h_ != Traits::invalid(); }
    // Gives the handle up without closing it.
    pointer release() { return std::exchange(h_, Traits::invalid()); }
    // Closes the owned handle (if any) and takes `handle`.
    void reset(pointer handle = Traits::invalid()) {
        pointer old = std::exchange(h_, handle);
        if (old != Traits::invalid()) Traits::close(old);
    }

  private:
    pointer h_ = Traits::invalid();
};

// Traits for handles whose empty value is nullptr.
template <class H, auto Close> struct NullHandleTraits {
    using pointer = H;
    static constexpr H invalid() { return nullptr; }
    static void close(H h) { Close(h); }
};

// Traits for handles whose empty value is INVALID_HANDLE_VALUE (files, find searches).
template <auto Close> struct InvalidHandleTraits {
    using pointer = HANDLE;
    static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE h) { Close(h); }
};

inline void CloseKernelHandle(HANDLE h) {
    CloseHandle(h);
}
inline void CloseFindHandle(HANDLE h) {
    FindClose(h);
}
inline void CloseRegistryKey(HKEY key) {
    RegCloseKey(key);
}
inline void CloseMenu(HMENU menu) {
    DestroyMenu(menu);
}
inline void CloseMemoryDC(HDC dc) {
    DeleteDC(dc);
}
template <class H> void DeleteGdiObject(H h) {
    DeleteObject(h);
}
template <class T> void ReleaseComObject(T* object) {
    object->Release();
}

// A kernel object (thread, event, mutex) from a call that answers nullptr on failure.
using KernelHandle = UniqueHandle<NullHandleTraits<HANDLE, CloseKernelHandle>>;
// A file from CreateFileW, which answers INVALID_HANDLE_VALUE on failure.
using FileHandle = UniqueHandle<InvalidHandleTraits<CloseKernelHandle>>;
// A search from FindFirstFileW.
using FindHandle = UniqueHandle<InvalidHandleTraits<CloseFindHandle>>;
using RegistryKeyHandle = UniqueHandle<NullHandleTraits<HKEY, CloseRegistryKey>>;
using MenuHandle = UniqueHandle<NullHandleTraits<HMENU, CloseMenu>>;
// A memory DC from CreateCompatibleDC.
using MemoryDCHandle = UniqueHandle<NullHandleTraits<HDC, CloseMemoryDC>>;
// A GDI object (HFONT, HBRUSH, HPEN, HBITMAP, HRGN).
template <class H> using GdiObject = UniqueHandle<NullHandleTraits<H, DeleteGdiObject<H>>>;
// One reference to a COM object (an IAccessible, an IDispatch), released once.
template <class T> using ComRef = UniqueHandle<NullHandleTraits<T*, ReleaseComObject<T>>>;
