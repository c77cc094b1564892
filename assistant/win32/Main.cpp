// Program entry: GDI+ for the program's lifetime, the application object, the assistant
// window, the message loop; exit code 0, or 1 after an error that reached the top.
#include <windows.h>

#include "assistant/win32/MainForm.h"
#include "framework/win32/Application.h"
#include "framework/win32/GdiPlus.h"
#include "framework/win32/StartupTrace.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    startup_trace::Mark("entry");
    // The first window draws nothing with GDI+: it starts with the busy indicator's first
    // paint.
    ScopedGdiPlus gdiplus(GdiPlusStart::OnFirstUse);
    TApplication app;
    app.MainFormOnTaskBar = true;
    app.SetTitle(u"Optavo");
    // An error on the way (the first window cannot be created) reaches the error box and
    // ends the program with a non-zero exit code.
    return RunGuarded([&app] {
        app.CreateForm<TForm1>();
        startup_trace::Mark("form created");
        return app.Run();
    });
}
