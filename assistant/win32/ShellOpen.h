// Opening a file or an address with the shell's "open" verb, as the platform documents it.
#pragma once
#include <windows.h>

#include <string>

// Opens `target` (a program, a document or an address) with the verb "open", no
// parameters, shown normally, the window `owner` as owner. The calling thread is in a
// single-threaded apartment during the call (a browser or file handler may be a COM
// server); the call returns only when the start has been handed over (the program may end
// right after it) and shows no error box of the shell's own. True when it was started.
bool ShellOpen(HWND owner, const std::u16string& target);
