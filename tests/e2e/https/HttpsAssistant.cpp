// The assistant as a maker builds it who serves the installer over https: the program's own
// window and handlers, with the download address's scheme changed from "http" to "https"
// (the one line of the product configuration such a maker changes). Started by the
// end-to-end test of the flow over TLS.
#include <windows.h>

#include <string>

#include "assistant/core/ProductConfig.h"
#include "assistant/win32/MainForm.h"
#include "framework/win32/Application.h"
#include "framework/win32/GdiPlus.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    ScopedGdiPlus gdiplus(GdiPlusStart::OnFirstUse);
    TApplication app;
    app.MainFormOnTaskBar = true;
    return RunGuarded([&app] {
        TForm1* form = app.CreateForm<TForm1>();
        std::string url(ProductConfig::URL);
        form->HTTPGetUpdate->SetURL("https" + url.substr(url.find(':')));
        return app.Run();
    });
}
