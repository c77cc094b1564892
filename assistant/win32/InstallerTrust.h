// Whether a downloaded installer may be started: its embedded Authenticode signature is
// intact, the signer's certificate chain ends in a root the system trusts with nothing wrong
// on the way, and the signing certificate's common name is the publisher's, exactly.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

enum class TInstallerVerdict {
    ivStart,                // signed by the publisher (or no publisher to check against)
    ivNotAProgram,          // no program image at all (an error or proxy page)
    ivNotSignedByPublisher, // a program, but unsigned, changed, or signed by anyone else
};

struct TInstallerTrust {
    TInstallerVerdict Verdict = TInstallerVerdict::ivNotSignedByPublisher;
    LONG VerifyResult = 0; // WinVerifyTrust's answer
    DWORD ChainStatus = 0; // the signer chain's trust error bits (CERT_TRUST_*), 0 when clean
    std::u16string Signer; // the signing certificate's common name, when there is a signer
};

// Checks the file open as `file` (read access; its name `path` only helps the platform pick
// the file's kind) against `publisher`. An empty publisher checks nothing: ivStart.
// Revocation is not looked up and nothing is fetched from the network (certificates and
// lists only from the local cache), so the check never waits on a server.
TInstallerTrust CheckInstallerTrust(HANDLE file, const std::u16string& path,
                                    std::u16string_view publisher);
