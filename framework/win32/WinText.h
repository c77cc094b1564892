// Text conversions at the Win32 boundary: UTF-16 <-> wchar_t, and the ANSI code page.
#pragma once
#include <windows.h>

#include <string>

inline const wchar_t* AsWide(const std::u16string& s) {
    return reinterpret_cast<const wchar_t*>(s.c_str());
}
inline std::u16string FromWide(const wchar_t* s) {
    return s ? std::u16string(reinterpret_cast<const char16_t*>(s)) : std::u16string();
}
inline std::u16string FromWide(const wchar_t* s, size_t n) {
    return std::u16string(reinterpret_cast<const char16_t*>(s), n);
}
inline std::wstring ToWString(const std::u16string& s) {
    return std::wstring(s.begin(), s.end());
}

// UTF-16 to 8-bit text in the system's ANSI code page; unmappable characters are replaced.
inline std::string WideToAnsi(const std::u16string& s) {
    if (s.empty()) return {};
    const auto* w = reinterpret_cast<const wchar_t*>(s.data());
    int n = WideCharToMultiByte(CP_ACP, 0, w, int(s.size()), nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_ACP, 0, w, int(s.size()), out.data(), n, nullptr, nullptr);
    return out;
}

// 8-bit text in the system's ANSI code page to UTF-16.
inline std::u16string AnsiToWide(const std::string& s) {
    if (s.empty()) return {};
    int n = MultiByteToWideChar(CP_ACP, 0, s.data(), int(s.size()), nullptr, 0);
    std::u16string out(n, u'\0');
    MultiByteToWideChar(CP_ACP, 0, s.data(), int(s.size()), reinterpret_cast<wchar_t*>(out.data()),
                        n);
    return out;
}
