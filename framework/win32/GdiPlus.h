// Starts GDI+ (version 1) for the lifetime of the object; the program holds one.
#pragma once
#include <windows.h>

#include <gdiplus.h>

#include <stdexcept>

class ScopedGdiPlus {
  public:
    ScopedGdiPlus() {
        Gdiplus::GdiplusStartupInput input; // version 1
        if (Gdiplus::GdiplusStartup(&token_, &input, nullptr) != Gdiplus::Ok)
            throw std::runtime_error("GDI+ could not be started");
    }
    ScopedGdiPlus(const ScopedGdiPlus&) = delete;
    ScopedGdiPlus& operator=(const ScopedGdiPlus&) = delete;
    ~ScopedGdiPlus() { Gdiplus::GdiplusShutdown(token_); }

  private:
    ULONG_PTR token_ = 0;
};
