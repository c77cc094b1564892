// TForm1's handlers: open the sign-up page, download the installer (the busy panel covers
// the steps meanwhile), start it or report the failure, store the customer number.
#include <windows.h>

#include "assistant/core/Texts.h"
#include "assistant/win32/LongPath.h"
#include "assistant/win32/MainForm.h"
#include "assistant/win32/Registry.h"
#include "assistant/win32/ShellOpen.h"
#include "framework/core/Exception.h"
#include "framework/win32/Application.h"
#include "framework/win32/WinText.h"

namespace {

// Only a completed file larger than this is the installer; anything else is an error page.
constexpr std::int32_t kMinInstallerSize = 2200;
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
        throw TException(u"Fehler beim Setzen der Daten f\u00fcr '" + ClientRegValue + u"'");
}

// The installer is started under its UTF-16 name (the 8-bit FileName may not name it) while
// the component still holds it against change.
void TForm1::HTTPGetUpdateDoneFile(TObject*, const std::string&, std::int32_t FileSize) {
    if (DeferWhileAsking([this, FileSize] { HTTPGetUpdateDoneFile(this, {}, FileSize); })) return;
    EndProgress();
    if (FileSize > kMinInstallerSize && StartInstaller(HTTPGetUpdate->TargetPath()))
        ExitProcess(0); // at once: the installer takes over, nothing is left to save
    // Too small to be the installer, or not a program the shell can start (an error or
    // proxy page of any size): the try failed, and the window stays for another.
    TaskbarShowsFailure(true);
    ShowFailure();
    TaskbarShowsFailure(false);
}

bool TForm1::StartInstaller(const std::u16string& path) {
    return ShellOpen(Handle(), path);
}

void TForm1::HTTPGetUpdateError(TObject*) {
    if (DeferWhileAsking([this] { HTTPGetUpdateError(this); })) return;
    EndProgress();
    if (FTry.Cancelled) return; // the user stopped it: nothing to report
    TaskbarShowsFailure(true);
    ShowFailure();
    TaskbarShowsFailure(false);
}

void TForm1::ShowFailure() {
    const TFailureTexts& texts = FailureTexts(SystemLanguage());
    Application->MessageBox(std::u16string(texts.Text), std::u16string(texts.Caption),
                            kFailureBoxFlags);
}
