// GDI+ (version 1) for the lifetime of a scope object; the program holds one. With
// GdiPlusStart::OnFirstUse it is started by the first drawing or decoding that needs it
// (GdiPlusNeeded) instead of at construction, so that a program whose first window draws
// nothing with GDI+ neither loads nor starts it before that window shows. Scopes may nest;
// they belong to the user-interface thread.
#pragma once
#include <windows.h>

#include <gdiplus.h>

enum class GdiPlusStart { Now, OnFirstUse };

class ScopedGdiPlus {
  public:
    explicit ScopedGdiPlus(GdiPlusStart start = GdiPlusStart::Now);
    ScopedGdiPlus(const ScopedGdiPlus&) = delete;
    ScopedGdiPlus& operator=(const ScopedGdiPlus&) = delete;
    ~ScopedGdiPlus();

  private:
    friend void GdiPlusNeeded();
    friend bool GdiPlusRunning();
    void Start();

    ULONG_PTR token_ = 0;
    bool started_ = false;
    ScopedGdiPlus* outer_;
};

// Called before GDI+ objects are made: starts GDI+ in the innermost scope unless a scope
// already runs it. Throws std::runtime_error when GDI+ cannot be started.
void GdiPlusNeeded();
// Whether a scope has started GDI+.
bool GdiPlusRunning();
