// Message pumping, DIB pixel access, window capture and the GDI object count for tests.
#include "tests/support/WinTestSupport.h"

#include <winternl.h>

#include <algorithm>
#include <cstring>

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    auto end = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(1);
    }
    return true;
}

void PumpFor(int ms) {
    PumpUntil([] { return false; }, std::chrono::milliseconds(ms));
}

DibSurface::DibSurface(int width, int height) : width_(width), height_(height) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    bitmap_ = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    dc_ = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    bits_ = static_cast<std::uint32_t*>(bits);
    old_ = SelectObject(dc_, bitmap_);
}

DibSurface::~DibSurface() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
}

COLORREF DibSurface::Pixel(int x, int y) const {
    GdiFlush();
    std::uint32_t v = bits_[y * width_ + x]; // 0x00RRGGBB in memory order B, G, R
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
}

void DibSurface::Fill(COLORREF color) {
    RECT r{0, 0, width_, height_};
    HBRUSH b = CreateSolidBrush(color);
    FillRect(dc_, &r, b);
    DeleteObject(b);
}

void CaptureClient(HWND wnd, DibSurface& target) {
    RedrawWindow(wnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpFor(50);
    HDC dc = GetDC(wnd);
    BitBlt(target.dc(), 0, 0, target.width(), target.height(), dc, 0, 0, SRCCOPY);
    ReleaseDC(wnd, dc);
}

int CountGdiObjects() {
    // x64: the PEB holds the address of the GDI handle table at offset 0xF8; the table has
    // 65536 entries of 24 bytes, and a live object has a non-zero type byte at offset 14.
    auto* peb = reinterpret_cast<const unsigned char*>(NtCurrentTeb()->ProcessEnvironmentBlock);
    const unsigned char* table = nullptr;
    std::memcpy(&table, peb + 0xF8, sizeof(table));
    if (!table) return -1;
    int live = 0;
    for (int i = 0; i < 65536; ++i)
        if (table[i * 24 + 14] != 0) ++live;
    return live;
}

RECT InkBox(const DibSurface& s, RECT area, COLORREF background) {
    RECT box{area.right, area.bottom, area.left, area.top};
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (s.Pixel(x, y) != background) {
                box.left = std::min<LONG>(box.left, x);
                box.top = std::min<LONG>(box.top, y);
                box.right = std::max<LONG>(box.right, x + 1);
                box.bottom = std::max<LONG>(box.bottom, y + 1);
            }
    return box;
}

int CountKernelHandles() {
    int n = 0;
    for (ULONG_PTR value = 4; value < 0x10000; value += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++n;
    }
    return n;
}

INPUT MouseInput(POINT screen, DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    // Absolute coordinates run from 0 to 65535 across the primary screen.
    in.mi.dx = LONG((screen.x * 65535 + GetSystemMetrics(SM_CXSCREEN) / 2) /
                    (GetSystemMetrics(SM_CXSCREEN) - 1));
    in.mi.dy = LONG((screen.y * 65535 + GetSystemMetrics(SM_CYSCREEN) / 2) /
                    (GetSystemMetrics(SM_CYSCREEN) - 1));
    in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
    return in;
}

void CloseMenuSoon(UINT ms) {
    SetTimer(nullptr, 0, ms, [](HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        EndMenu();
    });
}

INPUT KeyInput(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = WORD(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    switch (vk) {
    case VK_DELETE: case VK_INSERT: case VK_HOME: case VK_END: case VK_LEFT: case VK_RIGHT:
    case VK_UP: case VK_DOWN: case VK_PRIOR: case VK_NEXT: case VK_APPS:
        in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
        break;
    default:
        break;
    }
    return in;
}

void SendClick(POINT screen, int clicks, bool right) {
    std::vector<INPUT> in{MouseInput(screen, MOUSEEVENTF_MOVE)};
    for (int i = 0; i < clicks; ++i) {
        in.push_back(MouseInput(screen, right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN));
        in.push_back(MouseInput(screen, right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP));
    }
    SendInput(UINT(in.size()), in.data(), sizeof(INPUT));
}

void SendKey(WORD vk, std::initializer_list<WORD> modifiers) {
    std::vector<INPUT> in;
    for (WORD m : modifiers)
        in.push_back(KeyInput(m, false));
    in.push_back(KeyInput(vk, false));
    in.push_back(KeyInput(vk, true));
    for (auto m = std::rbegin(modifiers); m != std::rend(modifiers); ++m)
        in.push_back(KeyInput(*m, true));
    SendInput(UINT(in.size()), in.data(), sizeof(INPUT));
}
