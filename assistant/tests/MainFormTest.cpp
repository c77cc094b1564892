// The assistant window after creation: size, colour, every text of the system's language as
// its controls hold it, the product configuration and the installer target. The program
// runs this under an English and a German system language.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>

#include "assistant/core/ProductConfig.h"
#include "assistant/core/Texts.h"
#include "assistant/win32/MainForm.h"
#include "framework/win32/Application.h"
#include "framework/win32/WinText.h"
#include "tests/support/WinTestSupport.h"

TEST(MainForm, OpensAsTheDesignedDialog) {
    TApplication app;
    TForm1* form = app.CreateForm<TForm1>();
    HWND wnd = form->Handle();
    RECT r;
    GetClientRect(wnd, &r);
    EXPECT_EQ(r.right, 445);
    EXPECT_EQ(r.bottom, 592);
    EXPECT_EQ(form->Color(), clWhite);
    EXPECT_FALSE(GetWindowLongPtrW(wnd, GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_FALSE(form->FlatPanel2->Visible());
    // On the busy panel, top to bottom: the dots across the whole width, the progress bar,
    // its text line and the Cancel button, clear of each other and inside the panel.
    EXPECT_EQ(form->BusyMarqueeUserSynchronization->Width(), 445);
    const TControl* group[] = {form->BusyMarqueeUserSynchronization, form->ProgressBar,
                               form->ProgressLabel, form->CancelButton};
    for (std::size_t i = 0; i < std::size(group); ++i) {
        EXPECT_EQ(group[i]->Parent(), form->FlatPanel2);
        EXPECT_GE(group[i]->Left(), 0);
        EXPECT_LE(group[i]->Left() + group[i]->Width(), 445);
        EXPECT_LE(group[i]->Top() + group[i]->Height(), 417);
        if (i > 0) {
            EXPECT_GE(group[i]->Top(), group[i - 1]->Top() + group[i - 1]->Height());
        }
    }
    EXPECT_EQ(form->HTTPGetUpdate->ProgressInterval(), 250u);
    EXPECT_EQ(form->RichLabel5->Top(), 527);
    EXPECT_EQ(form->HTTPGetUpdate->Agent(), ProductConfig::Agent);

    form->Show();
    PumpFor(50);
    RECT wr;
    GetWindowRect(wnd, &wr);
    int cx = (wr.left + wr.right) / 2, cy = (wr.top + wr.bottom) / 2;
    EXPECT_NEAR(cx, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR(cy, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
}

namespace {

// The window's texts as the design fixes them, in German and English.
struct DesignTexts {
    const wchar_t* Caption;
    const char16_t *Header, *Step1, *SignupLink, *Step2, *CustomerLabel, *Step3, *BottomNote;
    const wchar_t* Button;
};

const DesignTexts kGerman{
    L"Vollversion registrieren",
    u"Kostenlose Registrierung f\u00fcr die <br><b>Vollversion von <font "
    u"size=22>Lumvora</b></font>",
    u"<B><U>Schritt 1:</U></B><br><br>Klicken Sie den folgenden Link und registrieren Sie sich:",
    u"Jetzt registrieren",
    u"<B><U>Schritt 2:</U></B><br><br>Geben Sie die Kundennummer ein, die Sie nach der "
    u"Registrierung per E-Mail erhalten haben:",
    u"Kundennummer:",
    u"<B><U>Schritt 3:</U></B><br><br>Laden Sie die Vollversion herunter und installieren Sie "
    u"diese auf Ihrem Computer:",
    u"Bitte achten Sie auf die <B>korrekte Eingabe</B> Ihrer Daten, da eine Registrierung sonst "
    u"nicht m\u00f6glich ist!",
    L"Vollversion herunterladen",
};

const DesignTexts kEnglish{
    L"Register full version",
    u"Free registration for <br><b><font size=22>Lumvora</font> (full version)</b>",
    u"<B><U>Step 1:</U></B><br><br>Click the following link and register:",
    u"Register now",
    u"<B><U>Step 2:</U></B><br><br>Enter your customer ID received by e-mail once your "
    u"registration succeeded:",
    u"Customer ID:",
    u"<B><U>Step 3:</U></B><br><br>Download and install full version on your computer:",
    u"Please pay attention to the <B>correct input of your data</B>, otherwise registration "
    u"will fail!",
    L"Download full version",
};

std::wstring WindowText(HWND wnd) {
    wchar_t text[256] = {};
    GetWindowTextW(wnd, text, 256);
    return text;
}

} // namespace

// Every text the window shows, read from its controls (the window texts where the platform
// draws them), against the design's table for the system's language.
TEST(MainForm, ShowsTheDesignedTextsOfTheSystemLanguage) {
    bool german = (GetSystemDefaultLangID() & 0x3FF) == LANG_GERMAN;
    const DesignTexts& want = german ? kGerman : kEnglish;
    TApplication app;
    TForm1* form = app.CreateForm<TForm1>();
    EXPECT_EQ(WindowText(form->Handle()), want.Caption);
    EXPECT_EQ(form->RichLabel1->Caption(), want.Header);
    EXPECT_EQ(form->RichLabel2->Caption(), want.Step1);
    EXPECT_EQ(form->RichLabel3->Caption(), want.SignupLink);
    EXPECT_EQ(form->RichLabel4->Caption(), want.Step2);
    EXPECT_EQ(form->Label1->Caption(), want.CustomerLabel);
    EXPECT_EQ(form->RichLabel6->Caption(), want.Step3);
    EXPECT_EQ(WindowText(form->Button1->Handle()), want.Button);
    EXPECT_EQ(form->RichLabel5->Caption(), want.BottomNote);
    EXPECT_EQ(WindowText(form->CancelButton->Handle()), german ? L"Abbrechen" : L"Cancel");
}

TEST(MainForm, ConfigurationAndInstallerTarget) {
    TApplication app;
    TForm1* form = app.CreateForm<TForm1>();
    EXPECT_EQ(form->ProdName, u"Lumvora");
    EXPECT_EQ(form->HTTPGetUpdate->URL(), ProductConfig::URL);
    EXPECT_EQ(form->HTTPGetUpdate->Referer(), ProductConfig::Referer);
    EXPECT_EQ(form->ClientRegKey, u"\\Software\\Kestrune\\Lumvora");
    EXPECT_EQ(form->ClientRegValue, u"CustomerID");
    EXPECT_TRUE(form->RegLink.empty());
    EXPECT_EQ(form->HTTPGetUpdate->Password(), ProductConfig::DownloadPassword);

    std::u16string temp = form->GetTempDir();
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(temp.back(), u'\\');
    EXPECT_EQ(form->HTTPGetUpdate->FileName(), WideToAnsi(temp) + "lumvoraVV.exe");
}

TEST(MainForm, MissingTempFolderGivesDriveC) {
    wchar_t saved[MAX_PATH] = {};
    GetEnvironmentVariableW(L"TEMP", saved, MAX_PATH);
    SetEnvironmentVariableW(L"TEMP", L"C:\\no such folder here");
    {
        TApplication app;
        TForm1* form = app.CreateForm<TForm1>();
        EXPECT_EQ(form->GetTempDir(), u"C:\\");
        EXPECT_EQ(form->HTTPGetUpdate->FileName(), "C:\\lumvoraVV.exe");
    }
    SetEnvironmentVariableW(L"TEMP", saved);
}

// The shell's taskbar list: the window makes it when the shell says the taskbar button
// exists, and it takes the calls; where the platform has none, the window has no taskbar
// progress and nothing fails.
TEST(MainForm, TaskbarListComesWithTheButtonOrNotAtAll) {
    TApplication app;
    TForm1* form = app.CreateForm<TForm1>();
    const bool present = ShellTaskbarProgress(form->Handle()) != nullptr;
    SendMessageW(form->Handle(), TaskbarButtonCreatedMessage(), 0, 0);
    EXPECT_EQ(form->Taskbar != nullptr, present);
    if (form->Taskbar) {
        form->Taskbar->ShowProgress(1, 2);
        form->Taskbar->ShowError();
        form->Taskbar->Clear();
    }
    std::printf("the platform's taskbar list: %s\n", present ? "present" : "missing");
}
