// The application object: title, main form, message loop with dialog navigation, the
// application's message box and the error box for exceptions that escape a handler.
#pragma once
#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "framework/win32/Component.h"
#include "framework/win32/DragDrop.h"

class TForm;
class TControl;
class THintManager;
class TStyleManager;

class TApplication : public TComponent {
  public:
    TApplication();
    ~TApplication() override;

    const std::u16string& Title() const { return FTitle; }
    void SetTitle(const std::u16string& title);
    // The application's own hidden top-level window (created on first use): it owns the
    // message boxes shown while none of the program's windows is active.
    HWND Handle();
    // The main window gets its own taskbar button (no hidden application window).
    bool MainFormOnTaskBar = true;

    // Creates a form owned by the application; the first one becomes the main form.
    template <class F> F* CreateForm() {
        F* form = TComponent::Create<F>(this);
        if (!FMainForm) FMainForm = form;
        return form;
    }
    TForm* MainForm() const { return FMainForm.Get(); }

    // Shows the main form and processes messages until a quit request; returns its code.
    int Run();
    // Takes and handles one message if there is one; false when the queue was empty.
    bool ProcessMessage();
    void ProcessMessages();
    void Terminate(int exitCode = 0);
    bool Terminated() const { return FTerminated; }

    // MessageBoxW owned by the active window (or the application's window when none is
    // active); the thread's other windows are disabled while it is open, and the active
    // window and its focus are restored afterwards.
    int MessageBox(const std::u16string& text, const std::u16string& caption, UINT flags);
    // The standard error box: the application title as caption, the error icon.
    void ShowException(const std::exception& e);

    // Hints: the pointer moved over a control (nullptr: over none of ours); a press, a key
    // or the pointer leaving cancels; a control going away is forgotten.
    void HintMouseOver(TControl* control);
    void CancelHint();
    void HintWindowLeft(HWND window);
    void ForgetHintControl(TControl* control);
    THintManager* Hints() const { return FHints.get(); }
    // The style manager new controls link to (set by the manager itself), or nullptr.
    TStyleManager* DefaultStyleManager = nullptr;

    // The drag of one control onto another.
    TDragControl& DragControl() { return FDrag; }

  private:
    bool IsDialogKey(const MSG& msg);
    bool IsDialogChar(const MSG& msg);

    std::u16string FTitle;
    HWND FHandle = nullptr;
    std::unique_ptr<THintManager> FHints; // made on first use
    TDragControl FDrag;
    TComponentRef<TForm> FMainForm;
    bool FTerminated = false;
    int FExitCode = 0;
};

// The one application object of the process (nullptr outside TApplication's lifetime).
extern TApplication* Application;

// Reports an exception that escaped an event handler; the program carries on.
void HandleEscapedException(const std::exception& e);

// The exit code of a program whose start or message loop ended on an error.
inline constexpr int kEscapedErrorExitCode = 1;
// Runs the program's start and message loop (`body`, which answers the exit code). An error
// that escapes it reaches the standard error box, as one escaping an event handler does,
// and the answer is kEscapedErrorExitCode; nothing reaches the runtime's terminate handler.
int RunGuarded(const std::function<int()>& body);
