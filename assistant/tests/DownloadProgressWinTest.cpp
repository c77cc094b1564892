// The download as the window shows it, against the test server, whose installer path
// delivers the installer slowly (2 KB/s): the text line and the bar follow the bytes, the
// taskbar button's progress goes to a stand-in, Escape on the focused Cancel button stops
// the try at once without a message, and a failed try shows the error state on the
// taskbar while its message is open.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "assistant/win32/MainForm.h"
#include "framework/win32/Application.h"
#include "framework/win32/WinText.h"
#include "tests/support/WinTestSupport.h"

namespace {

struct TaskbarCall {
    char Kind; // 'p' progress, 'e' error, 'c' cleared
    std::uint64_t Done = 0, Total = 0;
};

class StandInTaskbar : public TTaskbarProgress {
  public:
    explicit StandInTaskbar(std::vector<TaskbarCall>& calls) : FCalls(calls) {}
    void ShowProgress(std::uint64_t done, std::uint64_t total) override {
        FCalls.push_back({'p', done, total});
    }
    void ShowError() override { FCalls.push_back({'e'}); }
    void Clear() override { FCalls.push_back({'c'}); }

  private:
    std::vector<TaskbarCall>& FCalls;
};

// What the test's timer saw while the button's handler waited for the try.
struct Watch {
    TForm1* Form = nullptr;
    std::vector<TaskbarCall>* Calls = nullptr;
    DWORD Start = 0;
    DWORD CancelAt = 0; // when Escape was sent; 0: never
    bool CancelWhenMoving = false;
    std::vector<std::u16string> Texts; // the text line, each new one
    std::u16string TextAtCancel;
    bool FocusOnCancel = false;
    std::vector<std::wstring> Boxes; // captions of message boxes that opened
    char LastCallWhenBoxOpened = 0;
};
Watch* watch = nullptr;

BOOL CALLBACK FindBox(HWND wnd, LPARAM found) {
    wchar_t cls[16] = {};
    GetClassNameW(wnd, cls, 16);
    if (IsWindowVisible(wnd) && std::wstring(cls) == L"#32770") {
        *reinterpret_cast<HWND*>(found) = wnd;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK Look(HWND, UINT, UINT_PTR, DWORD) {
    Watch& w = *watch;
    const std::u16string& text = w.Form->ProgressLabel->Caption();
    if (w.Texts.empty() || w.Texts.back() != text) w.Texts.push_back(text);
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindBox, LPARAM(&box));
    if (box) {
        wchar_t caption[128] = {};
        GetWindowTextW(box, caption, 128);
        w.Boxes.push_back(caption);
        w.LastCallWhenBoxOpened = w.Calls->empty() ? 0 : w.Calls->back().Kind;
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        return;
    }
    const auto share = w.Form->ProgressBar->Share();
    if (w.CancelWhenMoving && !w.CancelAt && GetTickCount() - w.Start > 1500 && share &&
        *share > 0) {
        w.TextAtCancel = text;
        HWND focus = GetFocus();
        w.FocusOnCancel = focus == w.Form->CancelButton->Handle();
        w.CancelAt = GetTickCount();
        SendMessageW(focus, WM_KEYDOWN, VK_ESCAPE, 0);
        SendMessageW(focus, WM_KEYUP, VK_ESCAPE, 0);
    }
}

std::u16string TargetPath(TForm1* form) {
    return form->HTTPGetUpdate->TargetPath();
}

bool Exists(const std::u16string& path) {
    return GetFileAttributesW(AsWide(path)) != INVALID_FILE_ATTRIBUTES;
}

bool NumberStored() {
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Kestrune\\Lumvora", 0, KEY_READ, &key))
        return false;
    const bool stored =
        RegQueryValueExW(key, L"CustomerID", nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(key);
    return stored;
}

class DownloadProgressWin : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!std::getenv("LV_TEST_HTTP_LOG")) GTEST_SKIP() << "needs the test server wrapper";
        RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Kestrune\\Lumvora", L"CustomerID");
        Form = App.CreateForm<TForm1>();
        // A name the shell cannot start: a try that ran to its end shows the failure
        // message (which the test's timer closes) instead of starting the installer and
        // ending the test program.
        Form->HTTPGetUpdate->SetTargetPath(Form->GetTempDir() + u"lv-progress-test.bin");
        Form->Taskbar = std::make_unique<StandInTaskbar>(Calls);
        Form->Show();
        PumpFor(50);
        W.Form = Form;
        W.Calls = &Calls;
        watch = &W;
        Timer = SetTimer(nullptr, 0, 100, Look);
    }
    void TearDown() override {
        if (Timer) KillTimer(nullptr, Timer);
        watch = nullptr;
    }

    TApplication App;
    TForm1* Form = nullptr;
    std::vector<TaskbarCall> Calls;
    Watch W;
    UINT_PTR Timer = 0;
};

} // namespace

TEST_F(DownloadProgressWin, EscapeOnTheCancelButtonStopsTheTryAtOnceAndLeavesNothing) {
    Form->FlatEdit1->SetText(u"1234567890");
    W.CancelWhenMoving = true;
    W.Start = GetTickCount();
    Form->Button1Click(Form->Button1);
    const DWORD returned = GetTickCount();

    ASSERT_NE(W.CancelAt, 0u) << "the download never moved";
    EXPECT_TRUE(W.FocusOnCancel) << "the Cancel button had no focus";
    EXPECT_LT(returned - W.CancelAt, 1500u) << "the try did not stop at once";
    EXPECT_GE(W.Texts.size(), 3u) << "the text line did not move";
    // The installer is padded to 16384 bytes: "N KB of 16 KB".
    EXPECT_NE(W.TextAtCancel.find(u" KB of 16 KB"), std::u16string::npos)
        << WideToAnsi(W.TextAtCancel);
    EXPECT_TRUE(W.Boxes.empty()) << "a message box opened";
    EXPECT_FALSE(Exists(TargetPath(Form))) << "the partial file is left";
    EXPECT_FALSE(NumberStored());
    EXPECT_FALSE(Form->FlatPanel2->Visible());
    EXPECT_EQ(GetFocus(), Form->Button1->Handle());

    // The taskbar: the share of 16384 bytes, growing, then no progress; no error.
    ASSERT_GE(Calls.size(), 2u);
    std::uint64_t last = 0;
    for (std::size_t i = 0; i + 1 < Calls.size(); ++i) {
        EXPECT_EQ(Calls[i].Kind, 'p') << i;
        EXPECT_EQ(Calls[i].Total, 16384u) << i;
        EXPECT_GE(Calls[i].Done, last) << i;
        last = Calls[i].Done;
    }
    EXPECT_GT(last, 0u);
    EXPECT_LT(last, 16384u);
    EXPECT_EQ(Calls.back().Kind, 'c');

    // The window is ready for another try, which starts afresh.
    W = Watch{};
    W.Form = Form;
    W.Calls = &Calls;
    W.CancelWhenMoving = true;
    W.Start = GetTickCount();
    Form->Button1Click(Form->Button1);
    ASSERT_NE(W.CancelAt, 0u) << "the second try never moved";
    EXPECT_FALSE(Exists(TargetPath(Form)));
    EXPECT_TRUE(W.Boxes.empty());
}

TEST_F(DownloadProgressWin, AFailedTryShowsTheErrorOnTheTaskbarWhileItsMessageIsOpen) {
    Form->FlatEdit1->SetText(u"123"); // refused: the server's answer is a small page
    Form->Button1Click(Form->Button1);
    ASSERT_EQ(W.Boxes.size(), 1u);
    EXPECT_EQ(W.LastCallWhenBoxOpened, 'e');
    ASSERT_FALSE(Calls.empty());
    EXPECT_EQ(Calls.back().Kind, 'c') << "progress is left on the taskbar after the message";
    EXPECT_FALSE(Form->FlatPanel2->Visible());
}
