// The program's version information as the platform reads it from the built file
// (GetFileVersionInfoW / VerQueryValueW): the fixed part, the language and the strings that
// the file's properties show. LV_VERSION_PROGRAM names the file (a Unix path, reached through
// drive Z:); the build's version number comes in as LV_VERSION_MAJOR/MINOR/PATCH.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "assistant/core/ProductConfig.h"
#include "framework/win32/WinText.h"

namespace {

std::u16string Utf8ToWide(const std::string& s) {
    int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), nullptr, 0);
    std::u16string out(n, u'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.data(), int(s.size()), reinterpret_cast<wchar_t*>(out.data()),
                        n);
    return out;
}

std::u16string Number(unsigned n) {
    std::string s = std::to_string(n);
    return std::u16string(s.begin(), s.end());
}

const std::u16string VersionText =
    Number(LV_VERSION_MAJOR) + u"." + Number(LV_VERSION_MINOR) + u"." + Number(LV_VERSION_PATCH);

class VersionInfo : public testing::Test {
  protected:
    void SetUp() override {
        const char* unixPath = std::getenv("LV_VERSION_PROGRAM");
        ASSERT_NE(unixPath, nullptr) << "LV_VERSION_PROGRAM names no program";
        path = Utf8ToWide(std::string("Z:") + unixPath);
        DWORD ignored = 0;
        DWORD size = GetFileVersionInfoSizeW(AsWide(path), &ignored);
        ASSERT_NE(size, 0u) << unixPath << " has no version information";
        block.resize(size);
        ASSERT_TRUE(GetFileVersionInfoW(AsWide(path), 0, size, block.data()));
    }

    // The value at `subBlock` and its length (in bytes for binary values, in characters with
    // the closing zero for strings); nullptr when the block has no such value.
    const void* Query(const std::u16string& subBlock, UINT& length) {
        void* value = nullptr;
        length = 0;
        if (!VerQueryValueW(block.data(), AsWide(subBlock), &value, &length)) return nullptr;
        return value;
    }

    // The one language and code page the translation list names, as "040904b0".
    std::u16string TranslationKey() {
        UINT length = 0;
        auto* pairs = static_cast<const WORD*>(Query(u"\\VarFileInfo\\Translation", length));
        if (!pairs || length < 2 * sizeof(WORD)) return {};
        char key[9];
        std::snprintf(key, sizeof key, "%04x%04x", pairs[0], pairs[1]);
        return Utf8ToWide(key);
    }

    std::u16string StringValue(const std::u16string& name) {
        UINT length = 0;
        auto* text = static_cast<const wchar_t*>(
            Query(u"\\StringFileInfo\\" + TranslationKey() + u"\\" + name, length));
        return text ? FromWide(text) : u"(missing)";
    }

    std::u16string FileName() const { return path.substr(path.find_last_of(u"/\\") + 1); }

    std::u16string path;
    std::vector<BYTE> block;
};

} // namespace

TEST_F(VersionInfo, FixedPartCarriesTheBuildVersionOfAReleasedProgram) {
    UINT length = 0;
    auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(Query(u"\\", length));
    ASSERT_NE(fixed, nullptr);
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, VS_FFI_SIGNATURE);
    const DWORD high = MAKELONG(LV_VERSION_MINOR, LV_VERSION_MAJOR);
    const DWORD low = MAKELONG(0, LV_VERSION_PATCH);
    EXPECT_EQ(fixed->dwFileVersionMS, high);
    EXPECT_EQ(fixed->dwFileVersionLS, low);
    EXPECT_EQ(fixed->dwProductVersionMS, high);
    EXPECT_EQ(fixed->dwProductVersionLS, low);
    EXPECT_EQ(fixed->dwFileFlags & fixed->dwFileFlagsMask, 0u) << "marked debug or pre-release";
    EXPECT_EQ(fixed->dwFileOS, DWORD(VOS_NT_WINDOWS32));
    EXPECT_EQ(fixed->dwFileType, DWORD(VFT_APP));
}

TEST_F(VersionInfo, OneEnglishUnicodeStringTable) {
    UINT length = 0;
    ASSERT_NE(Query(u"\\VarFileInfo\\Translation", length), nullptr);
    EXPECT_EQ(length, 2 * sizeof(WORD)) << "more than one language";
    EXPECT_EQ(TranslationKey(), u"040904b0"); // US English, UTF-16
}

TEST_F(VersionInfo, StringsNameProductMakerVersionAndFile) {
    const std::u16string company = u"" LV_COMPANY_NAME;
    const std::u16string file = FileName();
    const struct {
        const char16_t* name;
        std::u16string expected;
    } rows[] = {
        {u"CompanyName", company},
        {u"ProductName", std::u16string(ProductConfig::ProdName)},
        {u"FileDescription", u"" LV_FILE_DESCRIPTION},
        {u"FileVersion", VersionText},
        {u"ProductVersion", VersionText},
        {u"OriginalFilename", file},
        {u"InternalName", file.substr(0, file.rfind(u'.'))},
        {u"LegalCopyright", u"Copyright \u00A9 " + Number(LV_COPYRIGHT_YEAR) + u" " + company},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(StringValue(row.name), row.expected) << ToWString(row.name).c_str();
    }
}
