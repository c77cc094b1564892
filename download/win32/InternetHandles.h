// Owning wrappers for the handles of one transfer: WinInet handles and the target file.
#pragma once
#include <windows.h>

#include <wininet.h>

#include <utility>

// One WinInet handle, closed with InternetCloseHandle.
class TInternetHandle {
  public:
    TInternetHandle() = default;
    explicit TInternetHandle(HINTERNET h) : FHandle(h) {}
    ~TInternetHandle() { Close(); }
    TInternetHandle(const TInternetHandle&) = delete;
    TInternetHandle& operator=(const TInternetHandle&) = delete;
    TInternetHandle& operator=(TInternetHandle&& other) noexcept {
        if (this != &other) {
            Close();
            FHandle = std::exchange(other.FHandle, nullptr);
        }
        return *this;
    }

    HINTERNET Get() const { return FHandle; }
    void Close() {
        if (FHandle) InternetCloseHandle(std::exchange(FHandle, nullptr));
    }

  private:
    HINTERNET FHandle = nullptr;
};

// A file handle from CreateFileW, closed with CloseHandle.
class TFileHandle {
  public:
    TFileHandle() = default;
    explicit TFileHandle(HANDLE h) : FHandle(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
    ~TFileHandle() { Close(); }
    TFileHandle(const TFileHandle&) = delete;
    TFileHandle& operator=(const TFileHandle&) = delete;
    TFileHandle& operator=(TFileHandle&& other) noexcept {
        if (this != &other) {
            Close();
            FHandle = std::exchange(other.FHandle, nullptr);
        }
        return *this;
    }

    HANDLE Get() const { return FHandle; }
    explicit operator bool() const { return FHandle != nullptr; }
    void Close() {
        if (FHandle) CloseHandle(std::exchange(FHandle, nullptr));
    }

  private:
    HANDLE FHandle = nullptr;
};
