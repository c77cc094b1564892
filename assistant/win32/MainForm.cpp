// TForm1: the window's layout and its creation handler.
#include "assistant/win32/MainForm.h"

#include "assistant/core/PathText.h"
#include "assistant/core/ProductConfig.h"
#include "assistant/core/Texts.h"
#include "assistant/win32/LongPath.h"
#include "framework/win32/WinText.h"

namespace {

const TFontDesc kVerdana13{u"Verdana", -13, 0, clWindowText, DEFAULT_CHARSET};

} // namespace

TLanguage SystemLanguage() {
    return LanguageFromLangId(GetSystemDefaultLangID());
}

TForm1::TForm1(TComponent* owner) : TForm(owner) {
    CreateLayout();
    DoCreate();
}

void TForm1::CreateLayout() {
    const TFormTexts& german = FormTexts(TLanguage::German);
    SetBorderStyle(bsDialog);
    SetCaption(std::u16string(german.Caption));
    SetColor(clWhite);
    Font().Assign(kVerdana13);
    SetPosition(poMainFormCenter);
    SetClientSize(445, 592);
    OnCreate = [this](TObject* sender) { FormCreate(sender); };

    Label1 = Create<TLabel>(this);
    Label1->SetParent(this);
    Label1->SetAutoSize(false);
    Label1->SetBounds(0, 318, 120, 16);
    Label1->SetAlignment(taRightJustify);
    Label1->Font().Assign(kVerdana13);
    Label1->SetCaption(std::u16string(german.CustomerLabel));

    Button1 = Create<TButton>(this);
    Button1->SetParent(this);
    Button1->SetBounds(126, 461, 193, 38);
    Button1->Font().Assign(kVerdana13);
    Button1->SetTabOrder(2);
    Button1->SetCaption(std::u16string(german.DownloadButton));
}

void TForm1::FormCreate(TObject*) {
    TLanguage language = SystemLanguage();
    ProdName = std::u16string(ProductConfig::ProdName);
    Download.URL = std::string(ProductConfig::URL);
    SignupCode = std::u16string(ProductConfig::SignupCode);
    ClientRegKey = std::u16string(ProductConfig::ClientRegKey);
    ClientRegValue = std::u16string(ProductConfig::ClientRegValue);
    ApplyTexts(language);
    std::u16string tempDir = GetTempDir();
    Download.FileName = WideToAnsi(tempDir + AnsiToWide(FileNameFromUrl(Download.URL)));
    Download.Password = std::string(ProductConfig::DownloadPassword);
}

void TForm1::ApplyTexts(TLanguage language) {
    if (language == TLanguage::German) return;
    const TFormTexts& texts = FormTexts(language);
    SetCaption(std::u16string(texts.Caption));
    Label1->SetCaption(std::u16string(texts.CustomerLabel));
    Button1->SetCaption(std::u16string(texts.DownloadButton));
}

std::u16string TForm1::GetTempDir() const {
    return TempDirFrom(u"%temp%");
}
