// TControl: bounds, alignment, anchors, visibility, font, colour, cursor and mouse events,
// shared by windowless (TGraphicControl) and windowed (TWinControl) controls.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "framework/core/Color.h"
#include "framework/core/ControlTypes.h"
#include "framework/win32/Component.h"
#include "framework/win32/Font.h"
#include "framework/win32/Menus.h"

class TWinControl;
class TCanvas;
class TAccessibleModel;
class TAccessibleObject;

// Cuts a control's accessible object off and gives up the control's reference to it.
struct TAccessibleObjectRelease {
    void operator()(TAccessibleObject* object) const;
};

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

enum TAnchorKind : std::uint8_t { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = std::uint8_t;

// Cursor identifiers (negative: stock cursors).
enum TCursor : int {
    crDefault = 0,
    crNone = -1,
    crArrow = -2,
    crCross = -3,
    crIBeam = -4,
    crSizeNESW = -6,
    crSizeNS = -7,
    crSizeNWSE = -8,
    crSizeWE = -9,
    crHourGlass = -11,
    crDrag = -12,
    crNoDrop = -13,
    crNo = -18,
    crAppStart = -19,
    crHandPoint = -21,
    crSizeAll = -22,
};

enum TMouseButton { mbLeft, mbRight, mbMiddle };

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton, TShiftState, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState, int X, int Y)>;
// MousePos in screen coordinates; setting Handled ends the context-menu request.
using TContextPopupEvent = std::function<void(TObject* Sender, POINT MousePos, bool& Handled)>;

// What a mouse press does to the window it lands in: maDefault leaves it to the platform.
enum TMouseActivate { maDefault, maActivate, maActivateAndEat, maNoActivate, maNoActivateAndEat };
// X, Y in the control's client coordinates; HitTest is the platform's hit-test code.
using TMouseActivateEvent =
    std::function<void(TObject* Sender, TMouseButton, TShiftState, int X, int Y, int HitTest,
                       TMouseActivate& MouseActivate)>;

// Dragging one control onto another within the program. dmAutomatic starts a drag with a
// left press (once the pointer has moved the platform's drag distance); dkDock makes it a
// dock drag, which fires the dock events instead of the drag-over and drop events.
enum TDragMode { dmManual, dmAutomatic };
enum TDragKind { dkDrag, dkDock };
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
// X, Y in the receiving control's client coordinates; Source is the control being dragged.
using TDragOverEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y,
                                          TDragState State, bool& Accept)>;
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y)>;
// Target is the control that took the drop, or nullptr when none did.
using TEndDragEvent = std::function<void(TObject* Sender, TObject* Target, int X, int Y)>;

// Reading order of a control's text: right-to-left reading (and, for bdRightToLeft, the
// alignment mirrored too) or the usual left to right.
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

// Smallest and largest width and height a control may take; 0 means no limit. Every way
// the bounds change (SetBounds, alignment, anchors) is held to them.
struct TSizeConstraints {
    int MinWidth = 0, MinHeight = 0, MaxWidth = 0, MaxHeight = 0;
    int ClampWidth(int w) const;
    int ClampHeight(int h) const;
};

// Control style flags.
enum TControlStyleFlag : std::uint32_t {
    csOpaque = 1,          // paints its whole client area: the parent need not erase under it
    csClickEvents = 2,     // a left press and release inside it is a click
    csAcceptsControls = 4, // may parent other controls
};

// True when `caption` marks `ch` (in either case) as its accelerator.
bool IsAccel(char16_t ch, const std::u16string& caption);

// The stock cursor for a cursor identifier (nullptr for crDefault/crNone).
HCURSOR CursorHandle(TCursor c);

// Shift state from the MK_* flags of a mouse message plus the keyboard's Alt state.
TShiftState ShiftFromMouseKeys(WPARAM keys);
TShiftState KeyboardShiftState();

class TControl : public TComponent {
  public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* parent);
    virtual bool IsWindowed() const { return false; }

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    RECT BoundsRect() const { return {FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }
    void SetBounds(int left, int top, int width, int height);
    void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
    void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
    void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
    void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
    virtual RECT ClientRect() const { return {0, 0, FWidth, FHeight}; }
    int ClientWidth() const;
    int ClientHeight() const;

    const TSizeConstraints& Constraints() const { return FConstraints; }
    // Takes the new limits and applies them to the current size at once.
    void SetConstraints(const TSizeConstraints& c);

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign v);
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors v);

    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool v);
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool v);
    // Visible here and in every parent.
    bool Showing() const;

    TFont& Font() { return FFont; }
    const TFont& Font() const { return FFont; }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool v);
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool v);
    // The hint shown over the control while ShowHint holds; ShowHint follows the parent's
    // while ParentShowHint is set (the default); a form's is off unless set.
    const std::u16string& Hint() const { return FHint; }
    void SetHint(const std::u16string& v) { FHint = v; }
    bool ShowHint() const;
    void SetShowHint(bool v);
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool v) { FParentShowHint = v; }

    // The parent's reading order while ParentBiDiMode is set (the default).
    TBiDiMode BiDiMode() const;
    void SetBiDiMode(TBiDiMode v);
    bool ParentBiDiMode() const { return FParentBiDiMode; }
    void SetParentBiDiMode(bool v);
    bool UseRightToLeftReading() const { return BiDiMode() != bdLeftToRight; }
    bool UseRightToLeftAlignment() const { return BiDiMode() == bdRightToLeft; }
    // DrawText flags for the reading order: DT_RTLREADING when reading right to left, and
    // the horizontal alignment in `flags` mirrored for bdRightToLeft.
    UINT DrawTextBiDiModeFlags(UINT flags) const;

    // The menu shown on a context-menu request over this control (unless OnContextPopup
    // handles it); cleared when the menu is destroyed.
    TPopupMenu* PopupMenu() const { return FPopupMenu.Get(); }
    void SetPopupMenu(TPopupMenu* menu);

    TDragMode DragMode() const { return FDragMode; }
    void SetDragMode(TDragMode v) { FDragMode = v; }
    TDragKind DragKind() const { return FDragKind; }
    void SetDragKind(TDragKind v) { FDragKind = v; }
    // The pointer over a control that accepts the drop (crNoDrop over any other).
    TCursor DragCursor() const { return FDragCursor; }
    void SetDragCursor(TCursor v) { FDragCursor = v; }
    // Starts dragging this control: at once, or once the pointer has moved `threshold`
    // pixels (-1: the platform's drag distance) with the left button held.
    void BeginDrag(bool immediate, int threshold = -1);
    bool Dragging() const;
    // Asked while something is dragged over this control: fires OnDragOver (accepting by
    // default when it is set); true when the control would take the drop.
    virtual bool DragOver(TControl* source, int x, int y, TDragState state);
    virtual void DragDrop(TControl* source, int x, int y);
    virtual void DoStartDrag();
    virtual void DoEndDrag(TControl* target, int x, int y);

    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor v) { FCursor = v; }

    std::uint32_t ControlStyle() const { return FControlStyle; }
    void SetControlStyle(std::uint32_t v) { FControlStyle = v; }

    // Position of this control's client origin in the nearest window's client area.
    POINT OriginInWindow() const;
    // The window this control is drawn on (its own for windowed controls).
    virtual HWND WindowHandle() const;

    virtual void Invalidate();
    void Repaint();
    // Paints a windowless control; windowed controls paint in their own window.
    virtual void Paint(TCanvas& canvas) {}

    // Mouse input in this control's client coordinates (routed by the parent window for
    // windowless controls).
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void Click();
    virtual void DblClick();
    // A dialog character (Alt+letter, or a letter the focused control does not want): true
    // when this control (or one inside it) took it as its accelerator.
    virtual bool DialogChar(char16_t ch) { return false; }
    // True while the window's keyboard cues hide accelerator underlines.
    bool AcceleratorsHidden() const;
    // A press that may activate the window (WM_MOUSEACTIVATE); fires OnMouseActivate.
    virtual TMouseActivate MouseActivate(TMouseButton button, TShiftState shift, int x, int y,
                                         int hitTest);
    // The platform's context-menu request over this control (the menu key, Shift+F10 or the
    // one that follows a right-click), at a screen point ((-1, -1) from the keyboard). Fires
    // OnContextPopup; true when the request was handled, otherwise the window's default
    // handling goes on (it passes the request to the parent window).
    virtual bool ContextPopup(POINT screen);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnResize;
    TMouseActivateEvent OnMouseActivate;
    TNotifyEvent OnStartDrag;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    TEndDragEvent OnEndDrag;
    TNotifyEvent OnStartDock;
    TEndDragEvent OnEndDock;
    TContextPopupEvent OnContextPopup;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

    // The layout has set all of this control's stored properties (the form calls it once,
    // before its creation handler).
    virtual void Loaded() {}

    // Accessibility. The name assistive technology gives the control; empty: its kind's own
    // (a caption, or the label read before a field).
    const std::u16string& AccessibleName() const { return FAccessibleName; }
    void SetAccessibleName(const std::u16string& v);
    // The object assistive technology reads for this control, made on first use; it is cut
    // off from its clients when the control goes.
    TAccessibleObject& AccessibleObject();
    // Tells assistive technology that this control changed (EVENT_OBJECT_NAMECHANGE ...).
    void NotifyAccessible(DWORD event);

    // Called by the parent when it changed its own size (anchors).
    void ParentResized(int parentWidth, int parentHeight);
    // Called by the parent when its font or colour changed.
    virtual void ParentFontChanged();
    virtual void ParentColorChanged();

  protected:
    // What this kind of control tells assistive technology.
    virtual std::unique_ptr<TAccessibleModel> CreateAccessibleModel();
    virtual void BoundsChanged() {}
    // The size changed; fires OnResize (windowed controls once their window has its size).
    virtual void Resize();
    virtual void FontChanged() { Invalidate(); }
    virtual void ColorChanged() { Invalidate(); }
    virtual void EnabledChanged() { Invalidate(); }
    virtual void VisibleChanged();
    // Moves an existing window to the bounds (windowed controls).
    virtual void UpdateWindowBounds() {}
    void RememberAnchorDistances();

    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    TSizeConstraints FConstraints;
    TAlign FAlign = alNone;
    TAnchors FAnchors = akLeft | akTop;
    bool FVisible = true;
    bool FEnabled = true;
    TFont FFont;
    bool FParentFont = true;
    TColor FColor = clBtnFace;
    bool FParentColor = true;
    TCursor FCursor = crDefault;
    TComponentRef<TPopupMenu> FPopupMenu;
    TBiDiMode FBiDiMode = bdLeftToRight;
    bool FParentBiDiMode = true;
    TDragMode FDragMode = dmManual;
    TDragKind FDragKind = dkDrag;
    TCursor FDragCursor = crDrag;
    std::u16string FHint;
    bool FShowHint = false;
    bool FParentShowHint = true;
    std::uint32_t FControlStyle = csClickEvents;
    bool FClicking = false;

  private:
    friend class TWinControl;
    int FAnchorRight = 0;  // distance of the right edge from the parent's right at layout
    int FAnchorBottom = 0; // distance of the bottom edge from the parent's bottom at layout
    bool FAnchoring = false;
    int FResizedWidth = 0, FResizedHeight = 0; // the size OnResize last reported
    std::u16string FAccessibleName;
    std::unique_ptr<TAccessibleObject, TAccessibleObjectRelease> FAccessible;
};

// A control without a window of its own: painted by its parent and given the parent's
// mouse input by hit test.
class TGraphicControl : public TControl {
  public:
    using TControl::TControl;
};
