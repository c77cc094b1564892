// How the window hands a file or an address to the shell: the call the shell receives (the
// program's own delay-load of shell32 lets the test see it instead of the shell) and the
// apartment the calling thread is in at that moment.
#include <gtest/gtest.h>

#include <windows.h>

#include <delayimp.h>
#include <objbase.h>
#include <shellapi.h>

#include <cstring>
#include <string>
#include <vector>

#include "assistant/win32/MainForm.h"
#include "framework/win32/Application.h"
#include "framework/win32/WinText.h"

namespace {

struct ShellCall {
    ULONG Mask = 0;
    HWND Owner = nullptr;
    std::u16string Verb, File;
    bool Parameters = false, Folder = false;
    int Show = 0;
    APTTYPE Apartment = APTTYPE(-1);
};
std::vector<ShellCall> calls;

BOOL WINAPI SpyShellExecuteExW(SHELLEXECUTEINFOW* info) {
    ShellCall call;
    call.Mask = info->fMask;
    call.Owner = info->hwnd;
    call.Verb = FromWide(info->lpVerb);
    call.File = FromWide(info->lpFile);
    call.Parameters = info->lpParameters && *info->lpParameters;
    call.Folder = info->lpDirectory && *info->lpDirectory;
    call.Show = info->nShow;
    APTTYPEQUALIFIER qualifier;
    if (FAILED(CoGetApartmentType(&call.Apartment, &qualifier))) call.Apartment = APTTYPE(-1);
    calls.push_back(call);
    info->hInstApp = reinterpret_cast<HINSTANCE>(42);
    return TRUE;
}

// Resolves the program's delay-loaded ShellExecuteExW to the spy.
FARPROC WINAPI SpyOnShell(unsigned notify, PDelayLoadInfo info) {
    if (notify == dliNotePreGetProcAddress && info->dlp.fImportByName &&
        std::strcmp(info->dlp.szProcName, "ShellExecuteExW") == 0)
        return reinterpret_cast<FARPROC>(&SpyShellExecuteExW);
    return nullptr;
}

} // namespace

// The sign-up link: "open" with the address, shown normally, the window as owner; the
// thread in a single-threaded apartment during the call and out of it afterwards; the
// call synchronous (the program may end right after a start) and without the shell's own
// error box (a failed start is the program's to report, or not).
TEST(ShellStart, TheLinkIsOpenedAsThePlatformDocumentsIt) {
    __pfnDliNotifyHook2 = SpyOnShell;
    calls.clear();
    TApplication app;
    TForm1* form = app.CreateForm<TForm1>();
    form->RichLabel3Click(form->RichLabel3);

    ASSERT_EQ(calls.size(), 1u) << "the shell was not called through ShellExecuteExW";
    const ShellCall& call = calls[0];
    EXPECT_EQ(call.Mask & (SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI),
              ULONG(SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI));
    EXPECT_EQ(call.Verb, u"open");
    EXPECT_EQ(call.File, form->RegLink);
    EXPECT_FALSE(call.Parameters);
    EXPECT_FALSE(call.Folder);
    EXPECT_EQ(call.Show, SW_SHOW);
    EXPECT_EQ(call.Owner, form->Handle());
    EXPECT_TRUE(call.Apartment == APTTYPE_STA || call.Apartment == APTTYPE_MAINSTA)
        << "apartment type " << int(call.Apartment);
    APTTYPE after;
    APTTYPEQUALIFIER qualifier;
    EXPECT_EQ(CoGetApartmentType(&after, &qualifier), CO_E_NOTINITIALIZED)
        << "the thread stayed in the apartment it joined for the call";
}
