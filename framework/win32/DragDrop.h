// TDragControl: one drag of a control onto another within the program, driven by the mouse
// messages of the window that holds the capture. A drag is pending from BeginDrag until the
// pointer has moved the threshold with the left button held; then it starts (OnStartDrag or
// OnStartDock), asks the control under the pointer whether it takes the drop (OnDragOver,
// with enter, move and leave), and ends at the release (OnDragDrop on the target that
// accepts, then OnEndDrag or OnEndDock on the source). Escape or a lost capture cancel it.
#pragma once
#include <windows.h>

class TControl;

class TDragControl {
  public:
    void Begin(TControl* source, bool immediate, int threshold);
    // The control being dragged (or pending), else nullptr.
    TControl* Source() const { return FSource; }
    bool Started() const { return FSource && FStarted; }
    // A mouse message while a drag is pending or on (screen coordinates); true when the drag
    // took it and the window should not handle it.
    bool MouseMessage(UINT msg, POINT screen);
    // Ends a started drag without a drop (Escape, capture lost); forgets a pending one.
    void Cancel();
    // The window with the capture lost it to `next`.
    void CaptureChanged(HWND next);
    // A control is going away: the drag forgets it.
    void Forget(TControl* control);

  private:
    void Start(POINT screen);
    void Move(POINT screen);
    void Finish(POINT screen, bool drop);
    void Reset();
    // The control under a screen point and the point in its client coordinates.
    static TControl* ControlAt(POINT screen, POINT& client);
    static POINT ClientPoint(TControl* control, POINT screen);

    TControl* FSource = nullptr;
    bool FStarted = false;
    POINT FPressed{};
    int FThreshold = 0;
    HWND FCaptureWindow = nullptr;
    TControl* FTarget = nullptr;
    bool FAccepted = false;
};
