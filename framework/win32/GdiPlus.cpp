#include "framework/win32/GdiPlus.h"

#include <stdexcept>

namespace {

ScopedGdiPlus* innermost = nullptr;

} // namespace

ScopedGdiPlus::ScopedGdiPlus(GdiPlusStart start) : outer_(innermost) {
    if (start == GdiPlusStart::Now) Start();
    innermost = this;
}

ScopedGdiPlus::~ScopedGdiPlus() {
    innermost = outer_;
    if (started_) Gdiplus::GdiplusShutdown(token_);
}

void ScopedGdiPlus::Start() {
    Gdiplus::GdiplusStartupInput input; // version 1
    if (Gdiplus::GdiplusStartup(&token_, &input, nullptr) != Gdiplus::Ok)
        throw std::runtime_error("GDI+ could not be started");
    started_ = true;
}

bool GdiPlusRunning() {
    for (const ScopedGdiPlus* s = innermost; s; s = s->outer_)
        if (s->started_) return true;
    return false;
}

void GdiPlusNeeded() {
    if (innermost && !GdiPlusRunning()) innermost->Start();
}
