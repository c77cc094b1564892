// TForm1's creation handler: product configuration, texts of the system's language and
// the installer target.
#include "assistant/win32/MainForm.h"

#include "assistant/core/PathText.h"
#include "assistant/core/ProductConfig.h"
#include "assistant/core/Texts.h"
#include "assistant/win32/LongPath.h"
#include "framework/win32/WinText.h"

TLanguage SystemLanguage() {
    return LanguageFromLangId(GetSystemDefaultLangID());
}

void TForm1::FormCreate(TObject*) {
    TLanguage language = SystemLanguage();
    ProdName = std::u16string(ProductConfig::ProdName);
    HTTPGetUpdate->SetURL(std::string(ProductConfig::URL));
    SignupCode = std::u16string(ProductConfig::SignupCode);
    ClientRegKey = std::u16string(ProductConfig::ClientRegKey);
    ClientRegValue = std::u16string(ProductConfig::ClientRegValue);
    InstallerPublisher = std::u16string(ProductConfig::InstallerPublisher);
    ApplyTexts(language);
    std::u16string tempDir = GetTempDir();
    std::u16string target = tempDir + AnsiToWide(FileNameFromUrl(HTTPGetUpdate->URL()));
    HTTPGetUpdate->SetTargetPath(target);
    HTTPGetUpdate->SetPassword(std::string(ProductConfig::DownloadPassword));
}

// Every text of the window from the texts table, in either language. The layout was built
// with the German ones, which the controls keep without a new layout when they are the same.
void TForm1::ApplyTexts(TLanguage language) {
    RichLabel1->SetCaption(HeaderCaption(language, ProdName));
    CancelButton->SetCaption(std::u16string(DownloadTexts(language).CancelButton));
    const TFormTexts& texts = FormTexts(language);
    SetCaption(std::u16string(texts.Caption));
    RichLabel2->SetCaption(std::u16string(texts.Step1));
    RichLabel3->SetCaption(std::u16string(texts.SignupLink));
    RichLabel4->SetCaption(std::u16string(texts.Step2));
    Label1->SetCaption(std::u16string(texts.CustomerLabel));
    RichLabel6->SetCaption(std::u16string(texts.Step3));
    Button1->SetCaption(std::u16string(texts.DownloadButton));
    RichLabel5->SetCaption(std::u16string(texts.BottomNote));
}

std::u16string TForm1::GetTempDir() const {
    return TempDirFrom(u"%temp%");
}
