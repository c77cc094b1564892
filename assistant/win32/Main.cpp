// Program entry: GDI+ for the program's lifetime, the application object, the assistant
// window, the message loop; exit code 0.
#include <windows.h>

#include "assistant/win32/MainForm.h"
#include "framework/win32/Application.h"
#include "framework/win32/GdiPlus.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    ScopedGdiPlus gdiplus;
    TApplication app;
    app.MainFormOnTaskBar = true;
    app.SetTitle(u"Optavo");
    app.CreateForm<TForm1>();
    app.Run();
    return 0;
}
