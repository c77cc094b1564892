// TGPFill's settings in an INI section: one integer per property, pictures as hex text.
#include <cstdio>
#include <functional>
#include <vector>

#include "marquee/win32/GPFill.h"

namespace {

// A property as the file sees it: its name, how to read it and how to write it.
struct TFillField {
    const wchar_t* Name;
    std::function<long long(const TGPFill&)> Get;
    std::function<void(TGPFill&, long long)> Set;
};

template <class T>
TFillField Field(const wchar_t* name, T (TGPFill::*get)() const, void (TGPFill::*set)(T)) {
    return {name, [get](const TGPFill& f) { return static_cast<long long>((f.*get)()); },
            [set](TGPFill& f, long long v) { (f.*set)(static_cast<T>(v)); }};
}

const std::vector<TFillField>& Fields() {
    static const std::vector<TFillField> fields = {
        Field(L"Color", &TGPFill::Color, &TGPFill::SetColor),
        Field(L"ColorTo", &TGPFill::ColorTo, &TGPFill::SetColorTo),
        Field(L"ColorMirror", &TGPFill::ColorMirror, &TGPFill::SetColorMirror),
        Field(L"ColorMirrorTo", &TGPFill::ColorMirrorTo, &TGPFill::SetColorMirrorTo),
        Field(L"GradientType", &TGPFill::GradientType, &TGPFill::SetGradientType),
        Field(L"GradientMirrorType", &TGPFill::GradientMirrorType, &TGPFill::SetGradientMirrorType),
        Field(L"HatchStyle", &TGPFill::HatchStyle, &TGPFill::SetHatchStyle),
        Field(L"HatchStyleMirror", &TGPFill::HatchStyleMirror, &TGPFill::SetHatchStyleMirror),
        Field(L"BackGroundPictureAspectRatio", &TGPFill::BackGroundPictureAspectRatio,
              &TGPFill::SetBackGroundPictureAspectRatio),
        Field(L"BackGroundPictureMode", &TGPFill::BackGroundPictureMode,
              &TGPFill::SetBackGroundPictureMode),
        Field(L"BackGroundPicturePosition", &TGPFill::BackGroundPicturePosition,
              &TGPFill::SetBackGroundPicturePosition),
        Field(L"BackGroundPictureLeft", &TGPFill::BackGroundPictureLeft,
              &TGPFill::SetBackGroundPictureLeft),
        Field(L"BackGroundPictureTop", &TGPFill::BackGroundPictureTop,
              &TGPFill::SetBackGroundPictureTop),
        Field(L"BackGroundPictureAspectMode", &TGPFill::BackGroundPictureAspectMode,
              &TGPFill::SetBackGroundPictureAspectMode),
        Field(L"PicturePosition", &TGPFill::PicturePosition, &TGPFill::SetPicturePosition),
        Field(L"PictureLeft", &TGPFill::PictureLeft, &TGPFill::SetPictureLeft),
        Field(L"PictureTop", &TGPFill::PictureTop, &TGPFill::SetPictureTop),
        Field(L"PictureSize", &TGPFill::PictureSize, &TGPFill::SetPictureSize),
        Field(L"PictureWidth", &TGPFill::PictureWidth, &TGPFill::SetPictureWidth),
        Field(L"PictureHeight", &TGPFill::PictureHeight, &TGPFill::SetPictureHeight),
        Field(L"PictureAspectRatio", &TGPFill::PictureAspectRatio, &TGPFill::SetPictureAspectRatio),
        Field(L"PictureAspectMode", &TGPFill::PictureAspectMode, &TGPFill::SetPictureAspectMode),
        Field(L"Opacity", &TGPFill::Opacity, &TGPFill::SetOpacity),
        Field(L"OpacityTo", &TGPFill::OpacityTo, &TGPFill::SetOpacityTo),
        Field(L"OpacityMirror", &TGPFill::OpacityMirror, &TGPFill::SetOpacityMirror),
        Field(L"OpacityMirrorTo", &TGPFill::OpacityMirrorTo, &TGPFill::SetOpacityMirrorTo),
        Field(L"BorderColor", &TGPFill::BorderColor, &TGPFill::SetBorderColor),
        Field(L"BorderOpacity", &TGPFill::BorderOpacity, &TGPFill::SetBorderOpacity),
        Field(L"BorderWidth", &TGPFill::BorderWidth, &TGPFill::SetBorderWidth),
        Field(L"Rounding", &TGPFill::Rounding, &TGPFill::SetRounding),
        Field(L"RoundingType", &TGPFill::RoundingType, &TGPFill::SetRoundingType),
        Field(L"ShadowColor", &TGPFill::ShadowColor, &TGPFill::SetShadowColor),
        Field(L"ShadowOffset", &TGPFill::ShadowOffset, &TGPFill::SetShadowOffset),
        Field(L"ShadowType", &TGPFill::ShadowType, &TGPFill::SetShadowType),
        Field(L"Angle", &TGPFill::Angle, &TGPFill::SetAngle),
        Field(L"Glow", &TGPFill::Glow, &TGPFill::SetGlow),
        Field(L"GlowGradientColor", &TGPFill::GlowGradientColor, &TGPFill::SetGlowGradientColor),
        Field(L"GlowRadialColor", &TGPFill::GlowRadialColor, &TGPFill::SetGlowRadialColor),
    };
    return fields;
}

std::wstring ToHex(const std::vector<std::uint8_t>& data) {
    static const wchar_t digits[] = L"0123456789ABCDEF";
    std::wstring text;
    text.reserve(data.size() * 2);
    for (std::uint8_t b : data) {
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text;
}

std::vector<std::uint8_t> FromHex(const std::wstring& text) {
    auto nibble = [](wchar_t c) -> int {
        if (c >= L'0' && c <= L'9') return c - L'0';
        if (c >= L'A' && c <= L'F') return c - L'A' + 10;
        if (c >= L'a' && c <= L'f') return c - L'a' + 10;
        return -1;
    };
    std::vector<std::uint8_t> data;
    if (text.size() % 2) return data;
    data.reserve(text.size() / 2);
    for (std::size_t i = 0; i < text.size(); i += 2) {
        int hi = nibble(text[i]), lo = nibble(text[i + 1]);
        if (hi < 0 || lo < 0) return {};
        data.push_back(static_cast<std::uint8_t>(hi << 4 | lo));
    }
    return data;
}

std::wstring ReadString(const std::wstring& file, const std::wstring& section, const wchar_t* key) {
    std::wstring buffer(256, L'\0');
    for (;;) {
        DWORD n = GetPrivateProfileStringW(section.c_str(), key, L"", buffer.data(),
                                           DWORD(buffer.size()), file.c_str());
        if (n + 1 < buffer.size()) {
            buffer.resize(n);
            return buffer;
        }
        buffer.resize(buffer.size() * 4);
    }
}

} // namespace

void TGPFill::SaveToFile(const std::wstring& FileName, const std::wstring& Section) const {
    for (const TFillField& f : Fields()) {
        wchar_t value[32];
        std::swprintf(value, 32, L"%lld", f.Get(*this));
        WritePrivateProfileStringW(Section.c_str(), f.Name, value, FileName.c_str());
    }
    WritePrivateProfileStringW(Section.c_str(), L"Picture", ToHex(FPicture.Data()).c_str(),
                               FileName.c_str());
    WritePrivateProfileStringW(Section.c_str(), L"BackGroundPicture",
                               ToHex(FBackGroundPicture.Data()).c_str(), FileName.c_str());
}

void TGPFill::LoadFromFile(const std::wstring& FileName, const std::wstring& Section) {
    ++FUpdateCount;
    for (const TFillField& f : Fields()) {
        std::wstring text = ReadString(FileName, Section, f.Name);
        if (text.empty()) continue; // absent: keep the current value
        f.Set(*this, std::wcstoll(text.c_str(), nullptr, 10));
    }
    auto loadPicture = [&](TFillPicture& picture, const wchar_t* key) {
        std::vector<std::uint8_t> data = FromHex(ReadString(FileName, Section, key));
        if (data.empty() || !picture.LoadFromData(std::move(data))) picture.Clear();
    };
    loadPicture(FPicture, L"Picture");
    loadPicture(FBackGroundPicture, L"BackGroundPicture");
    --FUpdateCount;
    Changed();
}
