// TForm1: the assistant window, built from its layout in code; FormCreate fills in the
// product configuration, the texts of the system's language and the installer target.
#pragma once
#include <string>

#include "assistant/core/Language.h"
#include "framework/win32/Form.h"
#include "framework/win32/StdCtrls.h"

// The language of the system right now (evaluated afresh on every call).
TLanguage SystemLanguage();

// Download settings the window fills in at creation (URL, target file, credentials).
struct TDownloadSettings {
    std::string URL;
    std::string FileName;
    std::string Password;
};

class TForm1 : public TForm {
  public:
    explicit TForm1(TComponent* owner);

    TLabel* Label1 = nullptr;
    TButton* Button1 = nullptr;

    std::u16string RegLink;
    std::u16string ProdName;
    std::u16string SignupCode;
    std::u16string ClientRegKey;
    std::u16string ClientRegValue;
    TDownloadSettings Download;

    // The user's temporary folder, ending with "\" (or "C:\").
    std::u16string GetTempDir() const;

  private:
    void CreateLayout();
    void FormCreate(TObject* Sender);
    void ApplyTexts(TLanguage language);
};
