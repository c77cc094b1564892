// The file GetFile writes: its UTF-16 name, and its protection from the moment it is
// complete until OnDoneFile has run (no other process may write, rename or delete it).
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <memory>

#include "download/tests/TestServer.h"
#include "download/win32/HTTPGet.h"
#include "download/win32/SealedFile.h"
#include "framework/win32/UniqueHandle.h"
#include "framework/win32/WinText.h"
#include "tests/support/WinTestSupport.h"

namespace {

// Runs the tamper program (LV_FILE_TAMPER) against `path`: the bits of what it changed
// (1 write, 2 rename, 4 delete), or -1 when it could not be run.
int TamperWith(const std::u16string& path) {
    const char* tamper = std::getenv("LV_FILE_TAMPER");
    if (!tamper) return -1;
    std::u16string command = u"\"Z:" + AnsiToWide(tamper) + u"\" \"" + path + u"\"";
    for (char16_t& c : command)
        if (c == u'/') c = u'\\';
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::wstring line = ToWString(command);
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return -1;
    KernelHandle thread(process.hThread), child(process.hProcess);
    WaitForSingleObject(child.get(), 30000);
    DWORD code = DWORD(-1);
    GetExitCodeProcess(child.get(), &code);
    return int(code);
}

std::u16string TempFolder(const std::u16string& name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::u16string folder = FromWide(temp) + name + u"\\";
    CreateDirectoryW(AsWide(folder), nullptr);
    return folder;
}

std::string ReadAll(const std::u16string& path) {
    FileHandle file(CreateFileW(AsWide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                0, nullptr));
    if (!file) return {};
    std::string data(GetFileSize(file.get(), nullptr), '\0');
    DWORD got = 0;
    ReadFile(file.get(), data.data(), DWORD(data.size()), &got, nullptr);
    data.resize(got);
    return data;
}

class FileTarget : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!TestServer::Available()) GTEST_SKIP() << "needs the test server wrapper";
    }

    // A component that fetches `size` pattern bytes into `path` and waits.
    std::unique_ptr<THTTPGet> Make(const std::u16string& path, int size) {
        auto get = std::make_unique<THTTPGet>(nullptr);
        get->SetURL(TestServer::Url("/t/ok-" + std::to_string(size)));
        get->SetTargetPath(path);
        get->SetBinaryData(true);
        get->SetWaitThread(true);
        get->OnError = [this](TObject*) { ++Errors; };
        DeleteFileW(AsWide(path));
        return get;
    }

    int Errors = 0;
};

} // namespace

// A user name outside the ANSI code page gives a temporary folder whose 8-bit form names
// another folder, or none: the file is written under its UTF-16 name all the same.
TEST_F(FileTarget, FolderNamesOutsideTheAnsiCodePage) {
    for (std::u16string folder : {u"lv-\u041f\u043e\u043b\u044c\u0437\u043e\u0432\u0430\u0442\u0435\u043b\u044c",
                                  u"lv-\u0141ukasz", u"lv-J\u00fcrgen"}) {
        std::u16string path = TempFolder(folder) + u"lumvoraVV.exe";
        SCOPED_TRACE(WideToAnsi(path));
        auto get = Make(path, 3000);
        std::string reported;
        get->OnDoneFile = [&](TObject*, const std::string& name, std::int32_t) { reported = name; };
        get->GetFile();
        EXPECT_EQ(Errors, 0);
        EXPECT_EQ(reported, WideToAnsi(path)) << "the event reports the 8-bit FileName";
        std::string data = ReadAll(path);
        EXPECT_EQ(data.size(), 3000u);
        EXPECT_TRUE(TestServer::IsPattern(data));
        DeleteFileW(AsWide(path));
    }
}

// While OnDoneFile runs, another process can neither write, rename nor delete the file;
// once the handler has returned it can (the control: the tamper program works).
TEST_F(FileTarget, HeldAgainstChangeUntilTheHandlerReturns) {
    std::u16string path = TempFolder(u"lv-held") + u"lumvoraVV.exe";
    auto get = Make(path, 5000);
    int duringHandler = -1;
    get->OnDoneFile = [&](TObject*, const std::string&, std::int32_t) {
        duringHandler = TamperWith(path);
    };
    get->GetFile();
    ASSERT_EQ(Errors, 0);
    EXPECT_EQ(duringHandler, 0) << "another process changed the finished file";
    EXPECT_TRUE(TestServer::IsPattern(ReadAll(path)));
    EXPECT_EQ(TamperWith(path), 1 | 2 | 4) << "after the handler the file is free again";
}

// The seal holds a file only while its content is what was written: a change between the
// writer's close and the seal is caught by the digest.
TEST(SealedFile, HoldsOnlyTheContentThatWasWritten) {
    std::u16string path = TempFolder(u"lv-seal") + u"sealed.bin";
    {
        FileHandle file(CreateFileW(AsWide(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        ASSERT_TRUE(file);
        DWORD written = 0;
        WriteFile(file.get(), "installer", 9, &written, nullptr);
    }

    auto digestOf = [](const char* text, std::size_t size) {
        TContentDigest digest;
        digest.Add(text, size);
        return digest.Finish();
    };
    EXPECT_FALSE(SealWrittenFile(path, digestOf("installe?", 9))) << "changed content was sealed";
    EXPECT_FALSE(SealWrittenFile(path, digestOf("install", 7))) << "a longer file was sealed";
    {
        FileHandle sealed = SealWrittenFile(path, digestOf("installer", 9));
        ASSERT_TRUE(sealed);
        FileHandle writer(CreateFileW(AsWide(path), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, 0, nullptr));
        EXPECT_FALSE(writer) << "the sealed file opened for writing";
        EXPECT_FALSE(DeleteFileW(AsWide(path)));
    }
    {
        // A file that someone else holds open for writing cannot be sealed at all.
        FileHandle writer(CreateFileW(AsWide(path), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(writer);
        EXPECT_FALSE(SealWrittenFile(path, digestOf("installer", 9)));
    }
    EXPECT_TRUE(DeleteFileW(AsWide(path)));
}
