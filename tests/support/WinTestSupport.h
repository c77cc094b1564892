// Helpers for tests of the Win32 layer: message pumping, pixels of a window or a DC, and the
// count of the process's live GDI objects.
#pragma once
#include <windows.h>

#include <chrono>
#include <functional>
#include <initializer_list>
#include <vector>

// Dispatches messages until `done` answers true or the time runs out; answers `done()`.
bool PumpUntil(const std::function<bool()>& done,
               std::chrono::milliseconds timeout = std::chrono::milliseconds(5000));
// Dispatches all waiting messages (repeatedly, for about `ms` milliseconds).
void PumpFor(int ms);

// A 32-bit top-down DIB section with a memory DC selected into it.
class DibSurface {
  public:
    DibSurface(int width, int height);
    ~DibSurface();
    DibSurface(const DibSurface&) = delete;
    DibSurface& operator=(const DibSurface&) = delete;
    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // The colour at a pixel as 0x00BBGGRR (COLORREF layout).
    COLORREF Pixel(int x, int y) const;
    void Fill(COLORREF color);

  private:
    int width_, height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    std::uint32_t* bits_ = nullptr;
};

// Copies the client area of a window (as painted by WM_PRINTCLIENT-free capture: the
// window is redrawn and read back from the screen).
void CaptureClient(HWND wnd, DibSurface& target);

// The smallest box of `area` holding every pixel that differs from `background` (an empty
// box, right < left, when there is none).
RECT InkBox(const DibSurface& surface, RECT area, COLORREF background);

// Live GDI objects of this process, from the GDI handle table the PEB points to.
int CountGdiObjects();

// Open kernel handles of this process (GetProcessHandleCount answers 0 under Wine): every
// handle value that GetHandleInformation accepts.
int CountKernelHandles();

// Real input through the platform's input queue (SendInput), as a user's mouse and keyboard
// would give it; the windows concerned must be on screen. The caller pumps messages after.
// A left (or right) click at a screen point; `clicks` 2 makes a double click.
void SendClick(POINT screen, int clicks = 1, bool right = false);
// The mouse at a screen point (absolute move) with the given MOUSEEVENTF_* flags.
INPUT MouseInput(POINT screen, DWORD flags);
// Closes the thread's pop-up menu `ms` milliseconds from now, once its modal loop runs: for
// tests that pop a menu up and only need to see that it came.
void CloseMenuSoon(UINT ms = 30);
// One key going down or up, marked extended where the key is one.
INPUT KeyInput(WORD vk, bool up);
// Presses and releases a virtual key with the given modifier keys held.
void SendKey(WORD vk, std::initializer_list<WORD> modifiers = {});
