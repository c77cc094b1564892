// CheckInstallerTrust: WinVerifyTrust checks the signature against the file's bytes; on
// Windows it also refuses a chain that does not end in a trusted root, but this Wine answers
// S_OK for any intact signature (self-signed, or from an authority it does not know), so the
// signer's chain status is read from the verification's own provider data and must be clean
// on every platform. The signer's name is compared last, case and all.
#include "assistant/win32/InstallerTrust.h"

#include <softpub.h>
#include <wincrypt.h>
#include <wintrust.h>

#include <vector>

#include "framework/win32/WinText.h"

namespace {

// One verification; its state is closed again when the object goes, whatever it answered.
class TVerification {
  public:
    TVerification(HANDLE file, const std::u16string& path) {
        FFile.cbStruct = sizeof FFile;
        FFile.pcwszFilePath = AsWide(path);
        FFile.hFile = file;
        FData.cbStruct = sizeof FData;
        FData.dwUIChoice = WTD_UI_NONE;
        FData.fdwRevocationChecks = WTD_REVOKE_NONE;
        FData.dwUnionChoice = WTD_CHOICE_FILE;
        FData.pFile = &FFile;
        FData.dwStateAction = WTD_STATEACTION_VERIFY;
        // Only what is cached locally: no certificate or list is fetched from a server.
        FData.dwProvFlags = WTD_REVOCATION_CHECK_NONE | WTD_CACHE_ONLY_URL_RETRIEVAL;
        Result = WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &FAction, &FData);
    }
    ~TVerification() {
        FData.dwStateAction = WTD_STATEACTION_CLOSE;
        WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &FAction, &FData);
    }
    TVerification(const TVerification&) = delete;
    TVerification& operator=(const TVerification&) = delete;

    // The first signer of the verified signature, or none.
    CRYPT_PROVIDER_SGNR* Signer() const {
        CRYPT_PROVIDER_DATA* provider = WTHelperProvDataFromStateData(FData.hWVTStateData);
        return provider ? WTHelperGetProvSignerFromChain(provider, 0, FALSE, 0) : nullptr;
    }

    LONG Result = 0;

  private:
    GUID FAction = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    WINTRUST_FILE_INFO FFile{};
    WINTRUST_DATA FData{};
};

std::u16string CommonName(PCCERT_CONTEXT cert) {
    void* oid = const_cast<char*>(szOID_COMMON_NAME);
    DWORD size = CertGetNameStringW(cert, CERT_NAME_ATTR_TYPE, 0, oid, nullptr, 0);
    if (size <= 1) return {};
    std::vector<wchar_t> name(size);
    CertGetNameStringW(cert, CERT_NAME_ATTR_TYPE, 0, oid, name.data(), size);
    return std::u16string(reinterpret_cast<const char16_t*>(name.data()));
}

} // namespace

TInstallerTrust CheckInstallerTrust(HANDLE file, const std::u16string& path,
                                    std::u16string_view publisher) {
    TInstallerTrust trust;
    if (publisher.empty()) {
        trust.Verdict = TInstallerVerdict::ivStart;
        return trust;
    }
    TVerification check(file, path);
    trust.VerifyResult = check.Result;
    if (check.Result == TRUST_E_SUBJECT_FORM_UNKNOWN) {
        trust.Verdict = TInstallerVerdict::ivNotAProgram;
        return trust;
    }
    CRYPT_PROVIDER_SGNR* signer = check.Signer();
    if (!signer) return trust;
    if (signer->pChainContext)
        trust.ChainStatus = signer->pChainContext->TrustStatus.dwErrorStatus;
    else
        trust.ChainStatus = CERT_TRUST_IS_PARTIAL_CHAIN;
    if (CRYPT_PROVIDER_CERT* leaf = WTHelperGetProvCertFromChain(signer, 0); leaf && leaf->pCert)
        trust.Signer = CommonName(leaf->pCert);
    if (check.Result == ERROR_SUCCESS && trust.ChainStatus == CERT_TRUST_NO_ERROR &&
        trust.Signer == publisher)
        trust.Verdict = TInstallerVerdict::ivStart;
    return trust;
}
