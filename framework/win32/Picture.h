// TPicture: one image in any format GDI+ decodes (BMP, PNG, JPEG, GIF, ICO ...), loaded from
// a file, a stream or bytes. It keeps the encoded bytes and decodes them afresh for each
// paint, so no GDI+ object outlives a paint.
#pragma once
#include <windows.h>

#include <gdiplus.h>

#include <cstdint>
#include <istream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/Object.h"
#include "framework/win32/Gdi.h"

// A decoded picture; the stream it was read from stays alive with it.
class TDecodedPicture {
  public:
    TDecodedPicture(IStream* stream, std::unique_ptr<Gdiplus::Bitmap> image)
        : stream_(stream), image_(std::move(image)) {}
    TDecodedPicture(const TDecodedPicture&) = delete;
    TDecodedPicture& operator=(const TDecodedPicture&) = delete;
    ~TDecodedPicture();
    Gdiplus::Bitmap* Image() const { return image_.get(); }

  private:
    IStream* stream_;
    std::unique_ptr<Gdiplus::Bitmap> image_;
};

class TPicture : public TObject {
  public:
    bool Empty() const { return FData.empty(); }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    const std::vector<std::uint8_t>& Data() const { return FData; }

    // Each takes an encoded image; false (and the picture unchanged) when GDI+ cannot
    // decode it.
    bool LoadFromData(std::vector<std::uint8_t> data);
    bool LoadFromFile(const std::wstring& fileName);
    // Inline, so that only a program that reads pictures from a C++ stream carries the
    // C++ library's stream and locale code.
    bool LoadFromStream(std::istream& in) {
        return LoadFromData(std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)),
                                                      std::istreambuf_iterator<char>()));
    }
    void Clear();
    void Assign(const TPicture& source);

    // The image decoded for one paint; nullptr when empty or undecodable.
    std::unique_ptr<TDecodedPicture> Decode() const;
    // The image laid over a solid colour (its transparent parts show the colour) as a GDI
    // bitmap of the picture's size, for one paint; empty when empty or undecodable.
    BitmapHandle ToBitmap(COLORREF background) const;

    TNotifyEvent OnChange;

  private:
    static std::unique_ptr<TDecodedPicture> DecodeBytes(const std::vector<std::uint8_t>& data);
    void Changed() {
        if (OnChange) OnChange(this);
    }

    std::vector<std::uint8_t> FData;
    int FWidth = 0;
    int FHeight = 0;
};
