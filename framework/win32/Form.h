// TForm: a top-level window built from a layout written in code, with its caption, border
// style, client size, position on screen, focus handling and creation event.
#pragma once
#include "framework/win32/WinControl.h"

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
// The border style of a control other than a form: bsNone or bsSingle of the same values.
using TBorderStyle = TFormBorderStyle;
enum TPosition { poDesigned, poDefault, poScreenCenter, poDesktopCenter, poMainFormCenter };

// The user's setting to underline accelerators at all times.
inline bool KeyboardCuesAlwaysShown() {
    BOOL on = FALSE;
    SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &on, 0);
    return on != FALSE;
}

class TForm : public TWinControl {
  public:
    explicit TForm(TComponent* owner);
    ~TForm() override;

    std::u16string Caption() const { return Text(); }
    void SetCaption(const std::u16string& caption) { SetText(caption); }
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle v);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition v) { FPosition = v; }
    // Before the window exists the frame is taken from the border style; the window checks
    // the client size once more when it is created.
    void SetClientSize(int width, int height);
    RECT ClientRect() const override;

    // The control that has (or gets, when the form is activated) the focus.
    // nullptr once that control has gone.
    TWinControl* ActiveControl() const { return FActiveControl.Get(); }
    void SetActiveControl(TWinControl* control);
    // Moves the focus to the next (or previous) tab stop, wrapping around.
    void SelectNext(bool forward);
    // The form a window belongs to (itself or an ancestor), or nullptr.
    static TForm* FormOf(HWND wnd);

    void Show();
    void Close();

    TNotifyEvent OnCreate;

    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

  protected:
    std::unique_ptr<TAccessibleModel> CreateAccessibleModel() override;
    void CreateParams(TCreateParams& params) override;
    void CreateHandleDone() override;
    // Runs OnCreate; a layout function calls it after it has created the controls.
    void DoCreate();

  private:
    void CenterOnScreen();
    RECT FrameOfStyle() const;
    static void LoadedAll(TWinControl* parent);
    std::vector<TWinControl*> TabStops();
    void RememberFocus();

    TFormBorderStyle FBorderStyle = bsSizeable;
    TPosition FPosition = poDesigned;
    TComponentRef<TWinControl> FActiveControl;
    bool FShownOnce = false;
    SIZE FClientSizeToCheck{};
    // Accelerator underlines hidden until the keyboard is used, unless the user's setting
    // always shows them.
    bool FHideAccelerators = !KeyboardCuesAlwaysShown();
};
