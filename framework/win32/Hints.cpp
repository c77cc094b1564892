// THintManager: a tracking tooltip placed under the pointer after the platform's delay.
#include "framework/win32/Hints.h"

#include <commctrl.h>

#include "framework/win32/Application.h"
#include "framework/win32/Control.h"
#include "framework/win32/Timer.h"
#include "framework/win32/WinText.h"

namespace {

// The platform's tooltip delays derive from the double-click time: the pointer rests that
// long before a tip shows, and a tip stays ten times as long.
unsigned InitialDelay() {
    return GetDoubleClickTime();
}

TOOLINFOW ToolInfo(HWND owner) {
    TOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    ti.hwnd = owner;
    ti.uId = 1;
    return ti;
}

} // namespace

THintManager::THintManager(TComponent* owner) : TComponent(owner) {
    FDelay = TComponent::Create<TTimer>(this);
    FDelay->SetEnabled(false);
    FDelay->OnTimer = [this](TObject*) { Show(); };
    FAutoHide = TComponent::Create<TTimer>(this);
    FAutoHide->SetEnabled(false);
    FAutoHide->OnTimer = [this](TObject*) { Hide(); };
}

THintManager::~THintManager() {
    if (FTooltip) DestroyWindow(FTooltip);
}

void THintManager::MouseOver(TControl* control) {
    if (control == FControl) return;
    Cancel();
    FControl = control;
    if (!control || !control->ShowHint() || control->Hint().empty()) return;
    FDelay->SetInterval(InitialDelay());
    FDelay->SetEnabled(true);
}

void THintManager::Cancel() {
    FDelay->SetEnabled(false);
    Hide();
    FControl = nullptr;
}

void THintManager::Left(HWND window) {
    // The pointer may already be over a child window, whose hint has begun.
    if (FControl && FControl->WindowHandle() == window) Cancel();
}

void THintManager::Forget(TControl* control) {
    if (control == FControl) Cancel();
}

void THintManager::EnsureTooltip() {
    if (FTooltip) return;
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    HWND owner = Application ? Application->Handle() : nullptr;
    FTooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    if (!FTooltip) return;
    TOOLINFOW ti = ToolInfo(owner);
    ti.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(FTooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    SendMessageW(FTooltip, TTM_SETMAXTIPWIDTH, 0, 400);
}

void THintManager::Show() {
    FDelay->SetEnabled(false);
    if (!FControl || !FControl->ShowHint() || FControl->Hint().empty()) return;
    EnsureTooltip();
    if (!FTooltip) return;
    FShown = FControl->Hint();
    FToolText = ToWString(FShown);
    TOOLINFOW ti = ToolInfo(GetWindow(FTooltip, GW_OWNER));
    ti.lpszText = FToolText.data();
    SendMessageW(FTooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
    // Below the pointer, clear of the cursor's own picture.
    POINT p;
    GetCursorPos(&p);
    SendMessageW(FTooltip, TTM_TRACKPOSITION, 0,
                 MAKELPARAM(p.x, p.y + GetSystemMetrics(SM_CYCURSOR) / 2 + 4));
    SendMessageW(FTooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
    FAutoHide->SetInterval(InitialDelay() * 10);
    FAutoHide->SetEnabled(true);
}

void THintManager::Hide() {
    FAutoHide->SetEnabled(false);
    FShown.clear();
    if (!FTooltip) return;
    TOOLINFOW ti = ToolInfo(GetWindow(FTooltip, GW_OWNER));
    SendMessageW(FTooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
}
