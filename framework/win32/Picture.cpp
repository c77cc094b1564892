// TPicture: encoded bytes in, a GDI+ bitmap or a GDI bitmap out for each paint.
#include "framework/win32/Picture.h"

#include <shlwapi.h>

#include "framework/win32/GdiPlus.h"
#include "framework/win32/UniqueHandle.h"

TDecodedPicture::~TDecodedPicture() {
    image_.reset();
    if (stream_) stream_->Release();
}

std::unique_ptr<TDecodedPicture> TPicture::DecodeBytes(const std::vector<std::uint8_t>& data) {
    if (data.empty()) return nullptr;
    GdiPlusNeeded();
    IStream* stream = SHCreateMemStream(data.data(), static_cast<UINT>(data.size()));
    if (!stream) return nullptr;
    auto image = std::make_unique<Gdiplus::Bitmap>(stream);
    auto decoded = std::make_unique<TDecodedPicture>(stream, std::move(image));
    if (decoded->Image()->GetLastStatus() != Gdiplus::Ok) return nullptr;
    return decoded;
}

std::unique_ptr<TDecodedPicture> TPicture::Decode() const {
    return DecodeBytes(FData);
}

BitmapHandle TPicture::ToBitmap(COLORREF background) const {
    std::unique_ptr<TDecodedPicture> decoded = Decode();
    if (!decoded) return {};
    HBITMAP bitmap = nullptr;
    const Gdiplus::Color under(255, GetRValue(background), GetGValue(background),
                               GetBValue(background));
    if (decoded->Image()->GetHBITMAP(under, &bitmap) != Gdiplus::Ok) return {};
    return BitmapHandle(bitmap);
}

bool TPicture::LoadFromData(std::vector<std::uint8_t> data) {
    std::unique_ptr<TDecodedPicture> decoded = DecodeBytes(data);
    if (!decoded) return false;
    FWidth = static_cast<int>(decoded->Image()->GetWidth());
    FHeight = static_cast<int>(decoded->Image()->GetHeight());
    FData = std::move(data);
    Changed();
    return true;
}

// Read with the plain file API: a file stream would bring the C++ library's locale and
// stream machinery into the program for this one call.
bool TPicture::LoadFromFile(const std::wstring& fileName) {
    FileHandle file(CreateFileW(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart > MAXDWORD) return false;
    std::vector<std::uint8_t> data(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!ReadFile(file.get(), data.data(), static_cast<DWORD>(data.size()), &read, nullptr))
        return false;
    data.resize(read);
    return LoadFromData(std::move(data));
}

void TPicture::Clear() {
    if (FData.empty()) return;
    FData.clear();
    FWidth = FHeight = 0;
    Changed();
}

void TPicture::Assign(const TPicture& source) {
    if (&source == this) return;
    FData = source.FData;
    FWidth = source.FWidth;
    FHeight = source.FHeight;
    Changed();
}
