// THintManager: shows a control's Hint in the platform's tooltip window once the pointer has
// rested on it for the platform's delay, and hides it when the pointer leaves, a button or
// key is pressed, or it has shown for a while. One per application.
#pragma once
#include <windows.h>

#include <string>

#include "framework/win32/Component.h"

class TControl;
class TTimer;

class THintManager : public TComponent {
  public:
    explicit THintManager(TComponent* owner);
    ~THintManager() override;

    // The pointer moved over `control` (nullptr: over nothing that is ours).
    void MouseOver(TControl* control);
    // A press, a key or the pointer leaving: the hint goes and waits for the next rest.
    void Cancel();
    // The pointer left a window: a hint of a control drawn in it goes.
    void Left(HWND window);
    // A control is going away.
    void Forget(TControl* control);

    // The tooltip window and the text it shows while visible (for inspection).
    HWND TooltipWindow() const { return FTooltip; }
    const std::u16string& ShownText() const { return FShown; }

  private:
    void Show();
    void Hide();
    void EnsureTooltip();

    TControl* FControl = nullptr;
    HWND FTooltip = nullptr;
    TTimer* FDelay = nullptr;    // waits for the pointer to rest
    TTimer* FAutoHide = nullptr; // ends a hint that has shown long enough
    std::u16string FShown;
    std::wstring FToolText; // the buffer the tooltip reads
};
