// The taskbar button's progress through the shell's ITaskbarList3.
#include "assistant/win32/TaskbarProgress.h"

#include <objbase.h>
#include <shobjidl.h>

#include "framework/win32/ComApartment.h"

namespace {

class TShellTaskbarProgress : public TTaskbarProgress {
  public:
    TShellTaskbarProgress(HWND window, ITaskbarList3* list) : FWindow(window), FList(list) {}
    ~TShellTaskbarProgress() override { FList->Release(); }
    TShellTaskbarProgress(const TShellTaskbarProgress&) = delete;
    TShellTaskbarProgress& operator=(const TShellTaskbarProgress&) = delete;

    void ShowProgress(std::uint64_t done, std::uint64_t total) override {
        FList->SetProgressState(FWindow, TBPF_NORMAL);
        FList->SetProgressValue(FWindow, done, total);
    }
    void ShowError() override {
        FList->SetProgressValue(FWindow, 1, 1);
        FList->SetProgressState(FWindow, TBPF_ERROR);
    }
    void Clear() override { FList->SetProgressState(FWindow, TBPF_NOPROGRESS); }

  private:
    // The thread stays in its apartment while the list is used.
    ComApartment FApartment;
    HWND FWindow;
    ITaskbarList3* FList;
};

} // namespace

UINT TaskbarButtonCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarButtonCreated");
    return message;
}

std::unique_ptr<TTaskbarProgress> ShellTaskbarProgress(HWND window) {
    ComApartment apartment; // for the creation; the object joins it again for its lifetime
    ITaskbarList3* list = nullptr;
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                reinterpret_cast<void**>(&list))) ||
        !list)
        return nullptr;
    if (FAILED(list->HrInit())) {
        list->Release();
        return nullptr;
    }
    return std::make_unique<TShellTaskbarProgress>(window, list);
}
