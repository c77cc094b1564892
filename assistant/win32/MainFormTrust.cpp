// TForm1's check of the finished installer before its start (see InstallerTrust.h).
#include "assistant/win32/InstallerTrust.h"
#include "assistant/win32/MainForm.h"
#include "framework/win32/WinText.h"

TInstallerVerdict TForm1::CheckInstaller(FileHandle& held) {
    const std::u16string& path = HTTPGetUpdate->TargetPath();
    TInstallerTrust trust = CheckInstallerTrust(held.get(), path, InstallerPublisher);
    if (trust.Verdict == TInstallerVerdict::ivNotSignedByPublisher) {
        // Nobody may start it later by mistake: let go of it and remove it.
        held.reset();
        DeleteFileW(AsWide(path));
    }
    return trust.Verdict;
}
