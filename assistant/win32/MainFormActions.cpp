// TForm1's handlers: open the sign-up page, download the installer (the busy panel covers
// the steps meanwhile), start it or report the failure and its cause, store the customer
// number.
#include <windows.h>

#include <memory>

#include "assistant/core/FailureMessage.h"
#include "assistant/core/Texts.h"
#include "assistant/win32/LongPath.h"
#include "assistant/win32/MainForm.h"
#include "assistant/win32/Registry.h"
#include "assistant/win32/ShellOpen.h"
#include "framework/core/Exception.h"
#include "framework/win32/Application.h"
#include "framework/win32/WinText.h"

namespace {

constexpr std::size_t kCustomerNumberLength = 10;
// OK button, exclamation icon, system-modal, brought to the foreground.
constexpr UINT kFailureBoxFlags = MB_OK | MB_ICONEXCLAMATION | MB_SYSTEMMODAL | MB_SETFOREGROUND;

} // namespace

void TForm1::RichLabel3Click(TObject*) {
    RegLink = SignupAddress(SystemLanguage(), SignupCode);
    ShellOpen(Handle(), RegLink);
}

void TForm1::Button1Click(TObject*) {
    DeletePreviousInstaller();
    HTTPGetUpdate->SetUserName(WideToAnsi(FlatEdit1->Text()));
    // Assistive technology names the busy indicator by the action it stands for.
    BusyMarqueeUserSynchronization->SetAccessibleName(Button1->Caption());
    FlatPanel2->SetVisible(true);
    const bool started = BeginProgress(); // false in a click repeated during the download
    HTTPGetUpdate->GetFile();
    if (started && EndCancelledTry()) return; // a cancelled try stores nothing
    StoreCustomerNumber();
}

void TForm1::DeletePreviousInstaller() {
    try {
        const std::u16string& target = HTTPGetUpdate->TargetPath();
        if (FileExistsAt(target)) DeleteFileW(AsWide(target));
    } catch (...) {
        // A leftover that cannot be removed makes the download fail and report that.
    }
}

void TForm1::StoreCustomerNumber() {
    std::u16string number = FlatEdit1->Text();
    if (ClientRegKey.empty() || number.size() != kCustomerNumberLength) return;
    TRegistryKey key(ClientRegKey);
    if (!key.WriteString(ClientRegValue, number))
        throw TException(RegistryErrorText(ClientRegValue));
}

// The installer is started under its UTF-16 name (the 8-bit FileName may not name it) while
// the component still holds it against change. Only a success status of more than 2200 bytes
// is taken for the installer, and it is started only when the publisher signed it; a program
// signed by anyone else (or not at all) is deleted and reported as such. An error page of any
// size is not started.
void TForm1::HTTPGetUpdateDoneFile(TObject*, const std::string&, std::int32_t FileSize) {
    // The form holds the finished file against change from here until it has started or
    // refused it, also while a close question keeps the outcome waiting for the answer.
    auto held = std::make_shared<FileHandle>(HTTPGetUpdate->TakeHeldFile());
    if (DeferWhileAsking([this, FileSize, held] { StartOrReport(FileSize, *held); })) return;
    StartOrReport(FileSize, *held);
}

void TForm1::StartOrReport(std::int32_t FileSize, FileHandle& held) {
    EndProgress();
    TFailureKind failure = FailureOfDeliveredFile(HTTPGetUpdate->Status(), FileSize);
    if (failure == TFailureKind::fkNone) {
        const TInstallerVerdict verdict = CheckInstaller(held);
        if (verdict == TInstallerVerdict::ivNotSignedByPublisher) return ShowUntrustedInstaller();
        if (verdict == TInstallerVerdict::ivStart && StartInstaller(HTTPGetUpdate->TargetPath()))
            ExitProcess(0); // at once: the installer takes over, nothing is left to save
        // No program, or not one the shell can start (a proxy's page sent as a success): the
        // service's problem; the window stays for another try.
        failure = TFailureKind::fkService;
    }
    ShowFailure(failure);
}

bool TForm1::StartInstaller(const std::u16string& path) {
    return ShellOpen(Handle(), path);
}

void TForm1::HTTPGetUpdateError(TObject*) {
    if (DeferWhileAsking([this] { HTTPGetUpdateError(this); })) return;
    EndProgress();
    if (FTry.Cancelled) return; // the user stopped it: nothing to report
    ShowFailure(FailureOfError(HTTPGetUpdate->FailureReason(), HTTPGetUpdate->Status()));
}

void TForm1::ShowUntrustedInstaller() {
    ShowFailureBox(UntrustedInstallerText(SystemLanguage(), InstallerPublisher));
}

// The failure message naming the cause, in the language of the moment; none for a download
// the user cancelled.
void TForm1::ShowFailure(TFailureKind kind) {
    if (kind == TFailureKind::fkNone) return;
    const TLanguage language = SystemLanguage();
    TFailureDetails details;
    details.Status = HTTPGetUpdate->Status();
    details.Folder = FolderOf(HTTPGetUpdate->TargetPath());
    details.ErrorCode = HTTPGetUpdate->FailureCode();
    ShowFailureBox(FailureMessageText(language, kind, details));
}

void TForm1::ShowFailureBox(const std::u16string& text) {
    TaskbarShowsFailure(true);
    Application->MessageBox(text, std::u16string(FailureTexts(SystemLanguage()).Caption),
                            kFailureBoxFlags);
    TaskbarShowsFailure(false);
}
