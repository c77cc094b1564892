// TPicture: encoded bytes in, a GDI+ bitmap or a GDI bitmap out for each paint.
#include "framework/win32/Picture.h"

#include <shlwapi.h>

#include <filesystem>
#include <fstream>
#include <iterator>

TDecodedPicture::~TDecodedPicture() {
    image_.reset();
    if (stream_) stream_->Release();
}

std::unique_ptr<TDecodedPicture> TPicture::DecodeBytes(const std::vector<std::uint8_t>& data) {
    if (data.empty()) return nullptr;
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

bool TPicture::LoadFromFile(const std::wstring& fileName) {
    std::ifstream in(std::filesystem::path(fileName), std::ios::binary);
    return in && LoadFromStream(in);
}

bool TPicture::LoadFromStream(std::istream& in) {
    std::vector<std::uint8_t> data((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
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
