// The assistant window's layout: every control in creation order with its stored
// properties and wiring. The layout carries the German texts.
#include "assistant/core/ProductConfig.h"
#include "assistant/core/Texts.h"
#include "assistant/win32/FormColors.h"
#include "assistant/win32/MainForm.h"
#include "framework/win32/StartupTrace.h"

namespace {

constexpr TColor kHeaderText = 11399932; // 0x00ADF2FC
constexpr TColor kNoteYellow = 13892094; // 0x00D3F9FE
constexpr TAnchors kLeftTopRight = akLeft | akTop | akRight;
constexpr TAnchors kLeftTop = akLeft | akTop;

TFontDesc Verdana(int height, TFontStyles style = 0, TColor color = clWindowText) {
    return TFontDesc{u"Verdana", height, style, color, DEFAULT_CHARSET_VALUE};
}

const TFormTexts& LayoutTexts() {
    return FormTexts(TLanguage::German);
}

// A rich-text label with the settings all six share.
TRichLabel* MakeRichLabel(TForm1* form, TWinControl* parent, RECT bounds) {
    auto* label = TComponent::Create<TRichLabel>(form);
    label->BeginLoading(); // laid out once, when the form has set every property
    label->SetParent(parent);
    label->SetAutoSize(false);
    label->SetBounds(bounds.left, bounds.top, bounds.right, bounds.bottom);
    label->SetThemeMode(ttmNone);
    label->SetWordWrap(true);
    return label;
}

// A step heading: transparent on the window's white, in the window's font.
TRichLabel* MakeStepLabel(TForm1* form, RECT bounds, std::u16string_view caption) {
    TRichLabel* label = MakeRichLabel(form, form, bounds);
    label->SetAnchors(kLeftTopRight);
    label->SetTransparent(true);
    label->SetCaption(std::u16string(caption));
    return label;
}

TFlatPanel* MakePanel(TForm1* form, RECT bounds, TColor color, int tabOrder) {
    auto* panel = TComponent::Create<TFlatPanel>(form);
    panel->SetParent(form);
    panel->SetBounds(bounds.left, bounds.top, bounds.right, bounds.bottom);
    panel->SetAnchors(kLeftTop);
    panel->SetBorderType(fbtNone);
    panel->SetAlign(alNone);
    panel->SetBevelOuter(bvNone);
    panel->SetTransparentXPThemes(false);
    panel->SetColor(color);
    panel->SetTabOrder(tabOrder);
    panel->SetTabStop(false);
    return panel;
}

} // namespace

TForm1::TForm1(TComponent* owner) : TForm(owner) {
    CreateLayout();
    DoCreate();
}

void TForm1::CreateLayout() {
    SetBorderStyle(bsDialog);
    SetCaption(std::u16string(LayoutTexts().Caption));
    SetColor(clWhite);
    Font().Assign(Verdana(-13));
    SetPosition(poMainFormCenter);
    SetClientSize(445, 592);
    startup_trace::Mark("layout: window frame"); // the first call that needs the display
    OnCreate = [this](TObject* sender) { FormCreate(sender); };
    CreateSteps();
    startup_trace::Mark("layout: steps");
    CreateHeader();
    startup_trace::Mark("layout: header");
    CreateInputs();
    startup_trace::Mark("layout: field and button");
    CreateBusyPanel();
    startup_trace::Mark("layout: busy panel");
    CreateDownload();
}

void TForm1::CreateSteps() {
    const TFormTexts& texts = LayoutTexts();
    RichLabel2 = MakeStepLabel(this, {16, 82, 411, 70}, texts.Step1);

    RichLabel5 = MakeRichLabel(this, this, {0, 527, 445, 65});
    RichLabel5->SetAlign(alBottom);
    RichLabel5->SetColor(kNoteYellow);
    RichLabel5->SetTransparent(false);
    RichLabel5->SetBorderWidth(16);
    RichLabel5->SetCaption(std::u16string(texts.BottomNote));

    RichLabel3 = MakeRichLabel(this, this, {16, 152, 411, 27});
    RichLabel3->SetAnchors(kLeftTopRight);
    RichLabel3->SetCursor(crHandPoint);
    RichLabel3->SetColor(clWhite);
    RichLabel3->SetTransparent(false);
    RichLabel3->SetIsHTML(false);
    RichLabel3->SetLinkColor(kHeaderBlue);
    RichLabel3->SetAlignment(taCenter);
    RichLabel3->Font().Assign(Verdana(-19, fsUnderline, kHeaderBlue));
    RichLabel3->SetCaption(std::u16string(texts.SignupLink));
    RichLabel3->OnClick = [this](TObject* sender) { RichLabel3Click(sender); };

    RichLabel4 = MakeStepLabel(this, {16, 212, 411, 92}, texts.Step2);

    Label1 = Create<TLabel>(this);
    Label1->SetParent(this);
    Label1->SetAutoSize(false);
    Label1->SetBounds(0, 318, 120, 16);
    Label1->SetAnchors(kLeftTop);
    Label1->SetAlignment(taRightJustify);
    Label1->Font().Assign(Verdana(-13));
    Label1->SetCaption(std::u16string(texts.CustomerLabel));

    RichLabel6 = MakeStepLabel(this, {16, 375, 411, 74}, texts.Step3);
}

void TForm1::CreateHeader() {
    FlatPanel1 = MakePanel(this, {0, 0, 445, 65}, kHeaderBlue, 0);
    FlatPanel1->SetAnchors(kLeftTopRight);
    FlatPanel1->SetThemeMode(ttmNone);

    RichLabel1 = MakeRichLabel(this, FlatPanel1, {16, 3, 411, 59});
    RichLabel1->SetAnchors(kLeftTopRight);
    RichLabel1->SetTransparent(false);
    RichLabel1->SetParentColor(true);
    RichLabel1->SetLayout(tlCenter);
    RichLabel1->Font().Assign(Verdana(-15, 0, kHeaderText));
}

void TForm1::CreateInputs() {
    FlatEdit1 = Create<TFlatEdit>(this);
    FlatEdit1->SetParent(this);
    FlatEdit1->SetBounds(126, 314, 193, 24);
    FlatEdit1->SetAnchors(kLeftTop);
    FlatEdit1->SetFlat(true);
    FlatEdit1->SetBorderColorDkShadow(clWhite);
    FlatEdit1->SetBorderColorFace(clWhite);
    FlatEdit1->SetBorderColorShadow(kFieldBlue);
    FlatEdit1->SetBorderColorHighlight(kFieldBlue);
    FlatEdit1->SetBorderColorWindow(kFieldBlue);
    FlatEdit1->SetThemeMode(ttmNone);
    FlatEdit1->SetTabOrder(1);

    Button1 = Create<TButton>(this);
    Button1->SetParent(this);
    Button1->SetBounds(126, 461, 193, 38);
    Button1->SetAnchors(kLeftTop);
    Button1->Font().Assign(Verdana(-13));
    Button1->SetTabOrder(2);
    Button1->SetCaption(std::u16string(LayoutTexts().DownloadButton));
    Button1->OnClick = [this](TObject* sender) { Button1Click(sender); };
}

void TForm1::CreateBusyPanel() {
    FlatPanel2 = MakePanel(this, {0, 82, 445, 417}, clWhite, 3);
    FlatPanel2->SetVisible(false);

    BusyMarqueeUserSynchronization = Create<TBusyMarquee>(this);
    TBusyMarquee* busy = BusyMarqueeUserSynchronization;
    busy->SetParent(FlatPanel2);
    // A band across the panel: the dots run its whole width, above the progress and clear
    // of where the field and the download button lie under the panel.
    busy->SetBounds(0, 100, 445, 40);
    busy->SetAnimationStretchFactor(1.7f);
    busy->Bullets().SetColor(clBlack);
    busy->ReadStylePreset(0);
    TGPFill& fill = busy->Fill();
    fill.BeginUpdate();
    fill.SetColor(0xFFFFFF);
    fill.SetColorMirror(clNone);
    fill.SetColorMirrorTo(clNone);
    fill.SetGradientType(gtSolid);
    fill.SetGradientMirrorType(gtSolid);
    fill.SetBorderColor(0xFFFFFF);
    fill.SetRounding(0);
    fill.SetShadowOffset(0);
    fill.SetGlow(gmNone);
    fill.EndUpdate();
}

void TForm1::CreateDownload() {
    HTTPGetUpdate = Create<THTTPGet>(this);
    HTTPGetUpdate->SetAcceptTypes(std::string(ProductConfig::AcceptTypes));
    HTTPGetUpdate->SetAgent(std::string(ProductConfig::Agent));
    HTTPGetUpdate->SetBinaryData(true);
    HTTPGetUpdate->SetUseCache(false);
    HTTPGetUpdate->SetReferer(std::string(ProductConfig::Referer));
    HTTPGetUpdate->SetWaitThread(true);
    HTTPGetUpdate->OnDoneFile = [this](TObject* sender, const std::string& fileName,
                                       std::int32_t fileSize) {
        HTTPGetUpdateDoneFile(sender, fileName, fileSize);
    };
    HTTPGetUpdate->OnError = [this](TObject* sender) { HTTPGetUpdateError(sender); };
    CreateProgress();
}
