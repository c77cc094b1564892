// The program's image as Windows reads it before it runs: the manifest declares the
// supported Windows versions (7 to 11), so that Windows 10 and 11 run it in their own
// context and not in the compatibility context of older programs.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

#include "framework/win32/WinText.h"

namespace {

// The text of the image's manifest resource (id 1), read from the file LV_PROGRAM_IMAGE.
std::string ProgramManifest() {
    const char* image = std::getenv("LV_PROGRAM_IMAGE");
    if (!image) return {};
    std::u16string path = u"Z:" + AnsiToWide(image);
    for (char16_t& c : path)
        if (c == u'/') c = u'\\';
    HMODULE module = LoadLibraryExW(AsWide(path), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module) return {};
    std::string text;
    if (HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24))) {
        if (HGLOBAL loaded = LoadResource(module, found))
            text.assign(static_cast<const char*>(LockResource(loaded)), SizeofResource(module, found));
    }
    FreeLibrary(module);
    return text;
}

} // namespace

TEST(ProgramImage, ManifestDeclaresWindows7To11) {
    std::string manifest = ProgramManifest();
    ASSERT_FALSE(manifest.empty()) << "no manifest in the image named by LV_PROGRAM_IMAGE";
    EXPECT_NE(manifest.find("urn:schemas-microsoft-com:compatibility.v1"), std::string::npos);
    for (const char* id : {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",   // Windows 7
                           "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",   // Windows 8
                           "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",   // Windows 8.1
                           "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})  // Windows 10 and 11
        EXPECT_NE(manifest.find(std::string("<supportedOS Id=\"") + id + "\"/>"), std::string::npos)
            << id;
    // What was there before stays: the common controls 6 and the execution level.
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
}
