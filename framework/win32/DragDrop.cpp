// TDragControl: the drag's states and the events it fires, in the framework's usual order.
#include "framework/win32/DragDrop.h"

#include <cstdlib>

#include "framework/win32/Control.h"
#include "framework/win32/WinControl.h"

void TDragControl::Begin(TControl* source, bool immediate, int threshold) {
    if (FSource || !source || !source->WindowHandle()) return;
    FSource = source;
    FStarted = false;
    GetCursorPos(&FPressed);
    FThreshold = threshold >= 0 ? threshold : GetSystemMetrics(SM_CXDRAG);
    FCaptureWindow = source->WindowHandle();
    if (GetCapture() != FCaptureWindow) SetCapture(FCaptureWindow);
    if (immediate) Start(FPressed);
}

bool TDragControl::MouseMessage(UINT msg, POINT screen) {
    if (!FSource) return false;
    switch (msg) {
    case WM_MOUSEMOVE:
        if (!FStarted) {
            if (std::abs(screen.x - FPressed.x) < FThreshold &&
                std::abs(screen.y - FPressed.y) < FThreshold)
                return false;
            Start(screen);
        }
        Move(screen);
        return true;
    case WM_LBUTTONUP:
        if (!FStarted) {
            // Released before the drag began: an ordinary click.
            Reset();
            return false;
        }
        Finish(screen, true);
        return true;
    default:
        return FStarted; // other buttons do nothing while a drag is on
    }
}

void TDragControl::Cancel() {
    if (!FSource) return;
    if (!FStarted) {
        Reset();
        return;
    }
    POINT p;
    GetCursorPos(&p);
    Finish(p, false);
}

void TDragControl::CaptureChanged(HWND next) {
    if (FSource && next != FCaptureWindow) Cancel();
}

void TDragControl::Forget(TControl* control) {
    if (control == FTarget) FTarget = nullptr;
    if (control == FSource) Reset();
}

void TDragControl::Start(POINT screen) {
    FStarted = true;
    FSource->DoStartDrag();
}

void TDragControl::Move(POINT screen) {
    if (!FSource || FSource->DragKind() == dkDock) {
        // There are no dock sites: a dock drag is never taken.
        SetCursor(CursorHandle(crNoDrop));
        return;
    }
    POINT at;
    TControl* target = ControlAt(screen, at);
    if (target != FTarget) {
        if (FTarget) {
            POINT old = ClientPoint(FTarget, screen);
            FTarget->DragOver(FSource, old.x, old.y, dsDragLeave);
        }
        FTarget = target;
        FAccepted = target && target->DragOver(FSource, at.x, at.y, dsDragEnter);
    } else if (target) {
        FAccepted = target->DragOver(FSource, at.x, at.y, dsDragMove);
    }
    SetCursor(CursorHandle(FAccepted ? FSource->DragCursor() : crNoDrop));
}

void TDragControl::Finish(POINT screen, bool drop) {
    TControl* source = FSource;
    TControl* target = drop && FAccepted ? FTarget : nullptr;
    TControl* left = !target ? FTarget : nullptr;
    Reset();
    if (left && source->DragKind() == dkDrag) {
        POINT p = ClientPoint(left, screen);
        left->DragOver(source, p.x, p.y, dsDragLeave);
    }
    POINT p = ClientPoint(target ? target : source, screen);
    if (target) target->DragDrop(source, p.x, p.y);
    source->DoEndDrag(target, p.x, p.y);
}

void TDragControl::Reset() {
    HWND capture = FCaptureWindow;
    FSource = nullptr;
    FStarted = false;
    FTarget = nullptr;
    FAccepted = false;
    FCaptureWindow = nullptr;
    if (capture && GetCapture() == capture) ReleaseCapture();
}

TControl* TDragControl::ControlAt(POINT screen, POINT& client) {
    TWinControl* window = nullptr;
    for (HWND w = WindowFromPoint(screen); w && !window; w = GetParent(w))
        window = TWinControl::FromHandle(w);
    if (!window || !window->Enabled()) return nullptr;
    POINT p = screen;
    ScreenToClient(window->Handle(), &p);
    TControl* target = window->ControlAtPos(p);
    if (!target) target = window;
    client = ClientPoint(target, screen);
    return target;
}

POINT TDragControl::ClientPoint(TControl* control, POINT screen) {
    ScreenToClient(control->WindowHandle(), &screen);
    POINT origin = control->OriginInWindow();
    return {screen.x - origin.x, screen.y - origin.y};
}
