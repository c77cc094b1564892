// The check before the start, in-process: the signed stand-in installer (signed at build
// time by the test authority, which the test prefix trusts, for the configured publisher),
// an unsigned program (this test itself) and a page, each checked through a handle held as
// the download holds the finished file, against the publisher, names close to it, and none.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

#include "assistant/core/ProductConfig.h"
#include "assistant/win32/InstallerTrust.h"
#include "framework/win32/UniqueHandle.h"
#include "framework/win32/WinText.h"

namespace {

// A file named by a Unix path in the environment, reached through drive Z:.
std::u16string FileFromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (!value) return {};
    std::u16string path = u"Z:" + AnsiToWide(value);
    for (char16_t& c : path)
        if (c == u'/') c = u'\\';
    return path;
}

std::u16string OwnImage() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return FromWide(path);
}

// A page of more than 2200 bytes, as an error or proxy page arrives under the installer's name.
std::u16string WritePage() {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    std::u16string path = FromWide(folder) + u"lv-trust-page.exe";
    FileHandle file(
        CreateFileW(AsWide(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    std::string page = "<html><body>" + std::string(3000, 'x') + "</body></html>";
    DWORD written = 0;
    WriteFile(file.get(), page.data(), DWORD(page.size()), &written, nullptr);
    return path;
}

TInstallerTrust Check(const std::u16string& path, std::u16string_view publisher) {
    FileHandle held(CreateFileW(AsWide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                0, nullptr));
    EXPECT_TRUE(held) << "cannot open the file";
    return CheckInstallerTrust(held.get(), path, publisher);
}

} // namespace

TEST(InstallerTrust, OnlyTheConfiguredPublisherThroughATrustedChainMayStart) {
    const std::u16string signedInstaller = FileFromEnvironment("LV_SIGNED_INSTALLER");
    ASSERT_FALSE(signedInstaller.empty()) << "LV_SIGNED_INSTALLER is not set";
    const std::u16string publisher(ProductConfig::InstallerPublisher);
    ASSERT_FALSE(publisher.empty());
    std::u16string lower = publisher;
    for (char16_t& c : lower)
        if (c >= u'A' && c <= u'Z') c = char16_t(c - u'A' + u'a');
    const std::u16string unsignedProgram = OwnImage(), page = WritePage();

    using V = TInstallerVerdict;
    struct Row {
        const char* what;
        const std::u16string& path;
        std::u16string publisher;
        V want;
    } rows[] = {
        {"signed by the publisher", signedInstaller, publisher, V::ivStart},
        {"publisher in other case", signedInstaller, lower, V::ivNotSignedByPublisher},
        {"publisher with more words", signedInstaller, publisher + u" Ltd",
         V::ivNotSignedByPublisher},
        {"unsigned program", unsignedProgram, publisher, V::ivNotSignedByPublisher},
        {"page", page, publisher, V::ivNotAProgram},
        // An empty publisher switches the check off: anything may be started.
        {"unsigned, no publisher", unsignedProgram, u"", V::ivStart},
        {"page, no publisher", page, u"", V::ivStart},
    };
    for (const Row& row : rows) {
        TInstallerTrust trust = Check(row.path, row.publisher);
        EXPECT_EQ(int(trust.Verdict), int(row.want))
            << row.what << ": WinVerifyTrust " << std::hex << trust.VerifyResult << ", chain "
            << trust.ChainStatus;
    }
    TInstallerTrust trust = Check(signedInstaller, publisher);
    EXPECT_EQ(trust.Signer, publisher);
    EXPECT_EQ(trust.ChainStatus, 0u);
    EXPECT_EQ(trust.VerifyResult, 0);
    DeleteFileW(AsWide(page));
}
