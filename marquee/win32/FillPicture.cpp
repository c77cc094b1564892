// TFillPicture: encoded bytes in, a GDI+ bitmap out for each paint.
#include "marquee/win32/FillPicture.h"

#include <shlwapi.h>

#include <filesystem>
#include <fstream>
#include <iterator>

TDecodedPicture::~TDecodedPicture() {
    image_.reset();
    if (stream_) stream_->Release();
}

std::unique_ptr<TDecodedPicture> TFillPicture::DecodeBytes(const std::vector<std::uint8_t>& data) {
    if (data.empty()) return nullptr;
    IStream* stream = SHCreateMemStream(data.data(), static_cast<UINT>(data.size()));
    if (!stream) return nullptr;
    auto image = std::make_unique<Gdiplus::Bitmap>(stream);
    auto decoded = std::make_unique<TDecodedPicture>(stream, std::move(image));
    if (decoded->Image()->GetLastStatus() != Gdiplus::Ok) return nullptr;
    return decoded;
}

std::unique_ptr<TDecodedPicture> TFillPicture::Decode() const {
    return DecodeBytes(FData);
}

bool TFillPicture::LoadFromData(std::vector<std::uint8_t> data) {
    std::unique_ptr<TDecodedPicture> decoded = DecodeBytes(data);
    if (!decoded) return false;
    FWidth = static_cast<int>(decoded->Image()->GetWidth());
    FHeight = static_cast<int>(decoded->Image()->GetHeight());
    FData = std::move(data);
    Changed();
    return true;
}

bool TFillPicture::LoadFromFile(const std::wstring& fileName) {
    std::ifstream in(std::filesystem::path(fileName), std::ios::binary);
    if (!in) return false;
    std::vector<std::uint8_t> data((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
    return LoadFromData(std::move(data));
}

void TFillPicture::Clear() {
    if (FData.empty()) return;
    FData.clear();
    FWidth = FHeight = 0;
    Changed();
}

void TFillPicture::Assign(const TFillPicture& source) {
    if (&source == this) return;
    FData = source.FData;
    FWidth = source.FWidth;
    FHeight = source.FHeight;
    Changed();
}
