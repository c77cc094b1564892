// Asks the platform whether it trusts a signed program: `trust_probe <file>` prints the
// answer of WinVerifyTrust (Authenticode policy, no user interface, no revocation look-up)
// as one hexadecimal line, e.g. 0x00000000, 0x80096010 (TRUST_E_BAD_DIGEST) or 0x800B0100
// (TRUST_E_NOSIGNATURE). Exit code 2 without a file argument.
#include <windows.h>

#include <softpub.h>
#include <wintrust.h>

#include <cstdio>

#include "tests/e2e/probe/ProbeSupport.h"

namespace {

// One verification: its state is closed again when the object goes.
class TrustCheck {
  public:
    explicit TrustCheck(const wchar_t* path) {
        file.pcwszFilePath = path;
        data.dwUIChoice = WTD_UI_NONE;
        data.fdwRevocationChecks = WTD_REVOKE_NONE;
        data.dwUnionChoice = WTD_CHOICE_FILE;
        data.pFile = &file;
        data.dwStateAction = WTD_STATEACTION_VERIFY;
        result = WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    }
    ~TrustCheck() {
        data.dwStateAction = WTD_STATEACTION_CLOSE;
        WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    }
    TrustCheck(const TrustCheck&) = delete;
    TrustCheck& operator=(const TrustCheck&) = delete;

    LONG result = 0;

  private:
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    WINTRUST_FILE_INFO file{sizeof(WINTRUST_FILE_INFO)};
    WINTRUST_DATA data{sizeof(WINTRUST_DATA)};
};

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) return 2;
    TrustCheck check(argv[1]);
    char line[16];
    std::snprintf(line, sizeof line, "0x%08lX", static_cast<unsigned long>(check.result));
    Print(line);
    return 0;
}
