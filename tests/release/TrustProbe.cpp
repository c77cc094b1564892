// Asks the platform whether it trusts a signed program, as the assistant asks before it
// starts the installer (assistant/win32/InstallerTrust.cpp): `trust_probe <file>` prints one
// line: WinVerifyTrust's answer (Authenticode policy, no user interface, no revocation
// look-up), e.g. 0x00000000, 0x80096010 (TRUST_E_BAD_DIGEST) or 0x800B0100
// (TRUST_E_NOSIGNATURE); the signer chain's trust error bits (0x00000000 when it ends in a
// trusted root, 0x00000020 for an untrusted root, 0x00010000 for a partial chain); and the
// signer's common name. S_OK alone says nothing about the authority under this Wine, which
// gives it for any intact signature. Exit code 2 without a file argument.
#include <windows.h>

#include <cstdio>
#include <string>

#include "assistant/win32/InstallerTrust.h"
#include "framework/win32/UniqueHandle.h"
#include "framework/win32/WinText.h"
#include "tests/e2e/probe/ProbeSupport.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) return 2;
    std::u16string path = FromWide(argv[1]);
    FileHandle file(
        CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    // Any publisher: the probe reports what the check sees, not a verdict.
    TInstallerTrust trust = CheckInstallerTrust(file.get(), path, u"?");
    char line[64];
    std::snprintf(line, sizeof line, "0x%08lX 0x%08lX ",
                  static_cast<unsigned long>(trust.VerifyResult),
                  static_cast<unsigned long>(trust.ChainStatus));
    std::string signer;
    for (char16_t c : trust.Signer)
        signer += c < 0x80 ? char(c) : '?';
    Print(line + signer);
    return 0;
}
