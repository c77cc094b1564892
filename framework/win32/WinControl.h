// TWinControl: a control with a window of its own, the parent of other controls; it paints
// and routes mouse input to its windowless children. TCustomControl adds a Paint method.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "framework/win32/Canvas.h"
#include "framework/win32/Control.h"

struct TCreateParams {
    std::wstring WinClassName;             // own class, registered on first use
    const wchar_t* SysClassName = nullptr; // a system class (e.g. L"BUTTON"), subclassed
    std::wstring Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    UINT ClassStyle = CS_DBLCLKS;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
};

// Sent back to a child control by its parent for WM_COMMAND / WM_NOTIFY it received from
// it, so that the control handles its own notifications (same wParam and lParam).
inline constexpr UINT CN_COMMAND = WM_APP + 0x3F00;
inline constexpr UINT CN_NOTIFY = WM_APP + 0x3F01;
// Posted to a window when assistive technology asked for the default action of it or of a
// windowless control on it; the actions run when it arrives.
inline constexpr UINT CM_ACCESSIBLEACTION = WM_APP + 0x3F02;

class TWinControl : public TControl {
  public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    bool IsWindowed() const override { return true; }
    void SetParent(TWinControl* parent) override;

    HWND Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }
    void HandleNeeded();
    HWND WindowHandle() const override { return FHandle; }
    // Destroys and creates the window again (with its windowed children), e.g. after a
    // change of a creation-time style.
    void RecreateWnd();

    RECT ClientRect() const override;
    const std::vector<TControl*>& Controls() const { return FControls; }
    // The topmost visible windowless child at a client point, or nullptr.
    TControl* ControlAtPos(POINT p, bool allowDisabled = false) const;

    // Inner margin on every side of the area that aligned children fill.
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int v);
    void AlignControls();

    std::u16string Text() const;
    void SetText(const std::u16string& text);

    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool v) { FTabStop = v; }
    int TabOrder() const { return FTabOrder; }
    void SetTabOrder(int v);
    // Windowed descendants in tab order (depth first).
    void GetTabOrderList(std::vector<TWinControl*>& list);
    virtual bool CanFocus() const;
    // Offers a dialog character to the visible, enabled controls inside this one.
    bool DialogChar(char16_t ch) override;
    bool Focused() const;
    void SetFocus();
    // Whether the pointer is over this window (its own area, not a child window's): set, and
    // MouseEnter called, at the first mouse move; cleared, and MouseLeave called, when the
    // platform reports that the pointer has left.
    bool MouseInside() const { return FMouseInside; }

    void Invalidate() override;
    // How often the window has painted itself at the system's request (WM_PAINT without a
    // DC, whoever handles it); a child that keeps a copy of this window's painting takes a
    // new count to mean the copy may be out of date.
    unsigned PaintCount() const { return FPaintCount; }
    void SetVisible(bool v) override;
    void SetEnabled(bool v) override;

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    // The window procedure of this control; unhandled messages go to DefaultHandler.
    virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultHandler(UINT msg, WPARAM wParam, LPARAM lParam);
    static TWinControl* FromHandle(HWND wnd);

  protected:
    virtual void CreateParams(TCreateParams& params);
    virtual void CreateWnd();
    // Called once the window exists (first creation and every re-creation).
    virtual void CreateHandleDone() {}
    // The area that aligned children fill (client rectangle less the border width).
    virtual void AdjustClientRect(RECT& r) const;
    // Paints the window's own content; windowless children are painted after it.
    virtual void PaintWindow(HDC dc) {}
    virtual bool EraseBackground(HDC dc);
    void PaintControls(HDC dc);
    // A WM_COMMAND this control's window sent to its parent.
    virtual void CommandNotify(WORD code) {}
    // A WM_NOTIFY this control's window sent to its parent; answers the notification's result.
    virtual LRESULT Notify(const NMHDR& header) { return 0; }
    virtual void Resized();
    void UpdateWindowBounds() override;
    void FontChanged() override;
    void ColorChanged() override;
    void EnabledChanged() override;
    void VisibleChanged() override;

  public:
    static LRESULT CALLBACK StaticWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

  private:
    friend class TControl;
    LRESULT MouseMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT MouseActivateMessage(WPARAM wParam, LPARAM lParam);
    bool SetCursorMessage(LPARAM lParam);
    void SetMouseControl(TControl* control);
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    // Asks the platform for WM_MOUSELEAVE once the pointer leaves the window (once per entry).
    void TrackMouseLeave();
    void AttachHandle(HWND wnd);
    void CreateChildHandles();
    void PlaceInStackingOrder();

    HWND FHandle = nullptr;
    WNDPROC FDefWndProc = nullptr; // DefWindowProcW, or the system class's procedure
    bool FSubclassed = false;      // a window of a system class (e.g. BUTTON)
    std::vector<TControl*> FControls;
    TControl* FCaptureControl = nullptr;
    TControl* FMouseControl = nullptr;
    bool FTrackingLeave = false;
    bool FMouseInside = false;
    int FBorderWidth = 0;
    bool FTabStop = false;
    int FTabOrder = 0;
    unsigned FPaintCount = 0;
    std::u16string FText; // kept while no window exists
};

// A windowed control that paints itself through a canvas.
class TCustomControl : public TWinControl {
  public:
    using TWinControl::TWinControl;

  protected:
    void PaintWindow(HDC dc) override;
};
