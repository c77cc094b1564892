// TForm1's download progress: the bar, the text line and the Cancel button on the busy panel,
// the taskbar button's progress, cancelling a try, and the question a close request asks
// while a download runs.
#include <windows.h>

#include "assistant/core/Texts.h"
#include "assistant/win32/FormColors.h"
#include "assistant/win32/LongPath.h"
#include "assistant/win32/MainForm.h"
#include "framework/win32/Application.h"
#include "framework/win32/WinText.h"

namespace {

// Yes and No, No the default: a stray Enter lets the download go on.
constexpr UINT kCloseQuestionFlags = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;
// How long the partial file may stay held by the ending worker before it is given up on.
constexpr DWORD kDeleteRetryMs = 2000;

// The user's decimal and thousands separators.
TNumberFormat UserNumberFormat() {
    TNumberFormat format;
    wchar_t text[8];
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, text, 8) > 1)
        format.Decimal = char16_t(text[0]);
    int got = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_STHOUSAND, text, 8);
    if (got > 0) format.Thousands = got > 1 ? char16_t(text[0]) : u'\0';
    return format;
}

// Deletes the file a cancelled try left; the worker may still be closing it.
void DeletePartialFile(const std::u16string& path) {
    const DWORD start = GetTickCount();
    while (!DeleteFileW(AsWide(path))) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return;
        if (GetTickCount() - start > kDeleteRetryMs) return;
        Sleep(20);
    }
}

} // namespace

void TForm1::CreateProgress() {
    ProgressBar = Create<TFlatProgressBar>(this);
    ProgressBar->SetParent(FlatPanel2);
    ProgressBar->SetBounds(72, 156, 301, 12);
    ProgressBar->SetFrameColor(kFieldBlue);
    ProgressBar->SetBarColor(kHeaderBlue);

    ProgressLabel = Create<TLabel>(this);
    ProgressLabel->SetParent(FlatPanel2);
    ProgressLabel->SetAutoSize(false);
    ProgressLabel->SetBounds(16, 178, 413, 18);
    ProgressLabel->SetAlignment(taCenter);
    ProgressLabel->SetShowAccelChar(false);

    CancelButton = Create<TButton>(this);
    CancelButton->SetParent(FlatPanel2);
    CancelButton->SetBounds(162, 210, 121, 30);
    CancelButton->Cancel = true;
    CancelButton->SetCaption(std::u16string(DownloadTexts(TLanguage::German).CancelButton));
    CancelButton->OnClick = [this](TObject* sender) { CancelButtonClick(sender); };

    HTTPGetUpdate->SetProgressInterval(kProgressIntervalMs);
    HTTPGetUpdate->OnProgress = [this](TObject* sender, std::int32_t total, std::int32_t readed) {
        HTTPGetUpdateProgress(sender, total, readed);
    };
}

bool TForm1::BeginProgress() {
    if (FTry.Running) return false;
    FTry = TTry{};
    FTry.Running = true;
    FTry.Language = SystemLanguage();
    FTry.Format = UserNumberFormat();
    CancelButton->SetEnabled(true);
    // Assistive technology names the bar, as the busy indicator, by the action it measures.
    ProgressBar->SetAccessibleName(Button1->Caption());
    ShowProgress(-1, 0);
    SetActiveControl(CancelButton);
    return true;
}

// `total` -1: nothing has arrived yet; 0: no length announced.
void TForm1::ShowProgress(std::int64_t total, std::int64_t received) {
    TProgressState state;
    state.Started = total >= 0;
    state.Received = received;
    state.Total = total > 0 ? total : 0;
    // The component reports as a wait to ask for the rest of a lost body starts and ends.
    state.Reconnecting = HTTPGetUpdate->Reconnecting();
    if (state.Started) {
        FTry.Rate.Add(GetTickCount(), received);
        state.SecondsLeft = FTry.Rate.SecondsLeft(state.Total);
    }
    ProgressLabel->SetCaption(ProgressText(state, FTry.Language, FTry.Format));
    const int percent = PercentReceived(received, state.Total);
    if (state.Total > 0) {
        ProgressBar->SetShare(int(received >= state.Total ? 1000 : received * 1000 / state.Total));
        ProgressBar->SetValueText(PercentText(percent, FTry.Language));
        if (Taskbar) Taskbar->ShowProgress(std::uint64_t(received), std::uint64_t(state.Total));
    } else {
        ProgressBar->SetShare(state.Started ? std::nullopt : std::optional<int>(0));
        ProgressBar->SetValueText({});
    }
    // Assistive technology hears of the value at most once a second.
    if (state.Started && FTry.Announce.Due(GetTickCount()))
        ProgressBar->NotifyAccessible(EVENT_OBJECT_VALUECHANGE);
}

void TForm1::HTTPGetUpdateProgress(TObject*, std::int32_t TotalSize, std::int32_t Readed) {
    if (!FTry.Running || FTry.Cancelled) return;
    ShowProgress(TotalSize, Readed);
}

void TForm1::EndProgress() {
    if (!FlatPanel2->Visible()) return; // ended already
    FlatPanel2->SetVisible(false);
    SetActiveControl(Button1);
    if (Taskbar) Taskbar->Clear();
}

void TForm1::TaskbarShowsFailure(bool failed) {
    if (!Taskbar) return;
    if (failed)
        Taskbar->ShowError();
    else
        Taskbar->Clear();
}

void TForm1::CancelButtonClick(TObject*) {
    if (!FTry.Running || FTry.Cancelled) return;
    FTry.Cancelled = true;
    CancelButton->SetEnabled(false);
    HTTPGetUpdate->Abort();
}

bool TForm1::EndCancelledTry() {
    FTry.Running = false;
    if (!FTry.Cancelled) return false;
    DeletePartialFile(HTTPGetUpdate->TargetPath());
    EndProgress();
    if (FTry.CloseConfirmed) Application->Terminate(0);
    return true;
}

void TForm1::AskToCancelAndClose() {
    if (FTry.Asking) return;
    const TDownloadTexts& texts = DownloadTexts(FTry.Language);
    FTry.Asking = true;
    const int answer =
        Application->MessageBox(std::u16string(texts.CloseQuestion),
                                std::u16string(texts.CloseCaption), kCloseQuestionFlags);
    FTry.Asking = false;
    if (answer == IDYES) {
        FTry.CloseConfirmed = true;
        ShowWindow(Handle(), SW_HIDE); // gone at once; the transfer ends behind it
        CancelButtonClick(this);
        FTry.Cancelled = true; // also when the transfer ended while the question showed
        FTry.DeferredOutcome = nullptr;
    }
    // The transfer ended while the question showed and the user let it go on: its outcome
    // now takes its course.
    if (auto outcome = std::move(FTry.DeferredOutcome)) outcome();
}

bool TForm1::DeferWhileAsking(std::function<void()> outcome) {
    if (!FTry.Asking) return false;
    FTry.DeferredOutcome = std::move(outcome);
    return true;
}

LRESULT TForm1::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CLOSE && FTry.Running) {
        if (!FTry.Cancelled) {
            AskToCancelAndClose();
        } else if (!FTry.CloseConfirmed) {
            // Cancelled already and ending: nothing left to ask about.
            FTry.CloseConfirmed = true;
            ShowWindow(Handle(), SW_HIDE);
        }
        return 0;
    }
    if (msg == TaskbarButtonCreatedMessage() && msg != 0) {
        if (!Taskbar) Taskbar = ShellTaskbarProgress(Handle());
        return 0;
    }
    return TForm::WndProc(msg, wParam, lParam);
}
