// Small encoded pictures for tests: a PNG file, in memory, of w x h pixels whose colours
// (with alpha, 0xAARRGGBB) a function gives. Needs GDI+ started.
#pragma once
#include <windows.h>

#include <gdiplus.h>

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string_view>
#include <vector>

inline std::vector<std::uint8_t> PngFile(int w, int h,
                                         const std::function<std::uint32_t(int, int)>& argb) {
    Gdiplus::Bitmap image(w, h, PixelFormat32bppARGB);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.SetPixel(x, y, Gdiplus::Color(argb(x, y)));
    UINT count = 0, size = 0;
    Gdiplus::GetImageEncodersSize(&count, &size);
    std::vector<std::uint8_t> buffer(size);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    Gdiplus::GetImageEncoders(count, size, encoders);
    const CLSID* png = nullptr;
    for (UINT i = 0; i < count; ++i)
        if (std::wstring_view(encoders[i].MimeType) == L"image/png") png = &encoders[i].Clsid;
    IStream* stream = nullptr;
    if (!png || CreateStreamOnHGlobal(nullptr, TRUE, &stream) != S_OK)
        throw std::runtime_error("no PNG encoder");
    std::vector<std::uint8_t> data;
    if (image.Save(stream, png, nullptr) == Gdiplus::Ok) {
        STATSTG stat{};
        stream->Stat(&stat, STATFLAG_NONAME);
        data.resize(static_cast<std::size_t>(stat.cbSize.QuadPart));
        LARGE_INTEGER start{};
        stream->Seek(start, STREAM_SEEK_SET, nullptr);
        ULONG read = 0;
        stream->Read(data.data(), static_cast<ULONG>(data.size()), &read);
        data.resize(read);
    }
    stream->Release();
    return data;
}

// A PNG of one opaque colour (0x00BBGGRR).
inline std::vector<std::uint8_t> SolidPng(int w, int h, COLORREF c) {
    const std::uint32_t argb =
        0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    return PngFile(w, h, [&](int, int) { return argb; });
}
