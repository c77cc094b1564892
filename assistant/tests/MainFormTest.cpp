// The assistant window after creation: size, colour, caption in the system's language, the
// product configuration and the installer target.
#include <gtest/gtest.h>

#include <windows.h>

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
    EXPECT_EQ(form->Caption(), FormTexts(SystemLanguage()).Caption);
    EXPECT_EQ(form->Label1->Caption(), FormTexts(SystemLanguage()).CustomerLabel);
    EXPECT_EQ(form->RichLabel1->Caption(), HeaderCaption(SystemLanguage(), u"Lumvora"));
    EXPECT_FALSE(form->FlatPanel2->Visible());
    EXPECT_EQ(form->BusyMarqueeUserSynchronization->Width(), 445);
    EXPECT_EQ(form->BusyMarqueeUserSynchronization->Height(), 417);
    EXPECT_EQ(form->RichLabel5->Top(), 527);
    EXPECT_EQ(form->HTTPGetUpdate->Agent(), "Optavo HTTPGet");

    form->Show();
    PumpFor(50);
    RECT wr;
    GetWindowRect(wnd, &wr);
    int cx = (wr.left + wr.right) / 2, cy = (wr.top + wr.bottom) / 2;
    EXPECT_NEAR(cx, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR(cy, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
}

TEST(MainForm, ConfigurationAndInstallerTarget) {
    TApplication app;
    TForm1* form = app.CreateForm<TForm1>();
    EXPECT_EQ(form->ProdName, u"Lumvora");
    EXPECT_EQ(form->HTTPGetUpdate->URL(),
              "http://" + std::string(ProductConfig::DownloadHost) + "/download/lumvoraVV.exe");
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
