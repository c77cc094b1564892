// The download's progress on the window's taskbar button: an interface the window talks to
// (a test puts a stand-in in its place), and the shell's taskbar list behind it.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>

class TTaskbarProgress {
  public:
    virtual ~TTaskbarProgress() = default;
    // The share done, in the normal state.
    virtual void ShowProgress(std::uint64_t done, std::uint64_t total) = 0;
    // The try failed: the error state over the whole button.
    virtual void ShowError() = 0;
    // No progress.
    virtual void Clear() = 0;
};

// The message the shell sends a window once its taskbar button exists (and again after the
// taskbar has been re-created); the taskbar list may be used from then on.
UINT TaskbarButtonCreatedMessage();

// The shell's taskbar list for `window`'s button; nullptr where the platform has none.
std::unique_ptr<TTaskbarProgress> ShellTaskbarProgress(HWND window);
