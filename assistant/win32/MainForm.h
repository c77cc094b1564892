// TForm1: the assistant window. Its layout is built in code (MainFormLayout.cpp), its
// creation handler fills in the product configuration, the texts of the system's language
// and the installer target (MainForm.cpp), and its four handlers carry out the three steps
// (MainFormActions.cpp).
#pragma once
#include <cstdint>
#include <string>

#include "assistant/core/FailureMessage.h"
#include "assistant/core/Language.h"
#include "assistant/win32/InstallerTrust.h"
#include "download/win32/HTTPGet.h"
#include "flatctl/win32/FlatEdit.h"
#include "flatctl/win32/FlatPanel.h"
#include "framework/win32/Form.h"
#include "framework/win32/StdCtrls.h"
#include "marquee/win32/BusyMarquee.h"
#include "richlabel/win32/RichLabel.h"

// The language of the system right now (evaluated afresh on every call).
TLanguage SystemLanguage();

class TForm1 : public TForm {
  public:
    explicit TForm1(TComponent* owner);

    TRichLabel* RichLabel2 = nullptr;
    TFlatPanel* FlatPanel1 = nullptr;
    TRichLabel* RichLabel1 = nullptr;
    TRichLabel* RichLabel5 = nullptr;
    TRichLabel* RichLabel3 = nullptr;
    TRichLabel* RichLabel4 = nullptr;
    TLabel* Label1 = nullptr;
    TFlatEdit* FlatEdit1 = nullptr;
    TButton* Button1 = nullptr;
    TRichLabel* RichLabel6 = nullptr;
    THTTPGet* HTTPGetUpdate = nullptr;
    TFlatPanel* FlatPanel2 = nullptr;
    TBusyMarquee* BusyMarqueeUserSynchronization = nullptr;

    std::u16string RegLink;
    std::u16string ProdName;
    std::u16string SignupCode;
    std::u16string ClientRegKey;
    std::u16string ClientRegValue;
    // The common name the installer's signer must bear; empty starts it unchecked.
    std::u16string InstallerPublisher;

    // The user's temporary folder, ending with "\" (or "C:\").
    std::u16string GetTempDir() const;

    void FormCreate(TObject* Sender);
    void RichLabel3Click(TObject* Sender);
    void Button1Click(TObject* Sender);
    void HTTPGetUpdateDoneFile(TObject* Sender, const std::string& FileName, std::int32_t FileSize);
    void HTTPGetUpdateError(TObject* Sender);

  private:
    void CreateLayout();
    void CreateSteps();
    void CreateHeader();
    void CreateInputs();
    void CreateBusyPanel();
    void CreateDownload();
    void ApplyTexts(TLanguage language);
    void DeletePreviousInstaller();
    void StoreCustomerNumber();
    // Starts the downloaded installer with the shell; false when it could not be started.
    bool StartInstaller(const std::u16string& path);
    // Whether the finished installer, held by the download, may be started; a file refused
    // for its signature is deleted (MainFormTrust.cpp).
    TInstallerVerdict CheckInstaller();
    void ShowFailure(TFailureKind kind);
    void ShowUntrustedInstaller();
};
