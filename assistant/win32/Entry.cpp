// The image's entry point. Before the C runtime starts (and with it every static
// constructor), the program restricts where DLLs are looked for to the system folder, so
// that a DLL of a system name put beside the program (a Downloads folder, where web pages
// drop files too) is never loaded; then it hands over to the C runtime's own entry, which
// calls wWinMain.
#include <windows.h>

#include <initializer_list>

extern "C" int WinMainCRTStartup(void);

namespace {

// LOAD_LIBRARY_SEARCH_SYSTEM32 for every later load by name, the delay-loaded DLLs and the
// platform's own loads included. SetDefaultDllDirectories is looked up at run time: a
// Windows 7 without its update lacks it, and then at least the current folder leaves the
// search.
void RestrictDllSearchToSystemFolder() {
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
    auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel32, "SetDefaultDllDirectories")));
    if (!setDefault || !setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) SetDllDirectoryW(L"");
}

// Wine resolves the delay imports of its own system DLLs by the ordinary search order,
// whatever the default directories say: its input-method code fetches ole32 at the first
// window and its drawing code msimg32 at the first paint, the program's folder first. Under
// Wine these two are loaded from the system folder before, so that those loads by name find
// them loaded (Windows resolves its own DLLs' imports through the default directories).
void PreloadWhatWineFetchesByName() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (!ntdll || !GetProcAddress(ntdll, "wine_get_version")) return;
    for (const wchar_t* name : {L"ole32.dll", L"msimg32.dll"})
        LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

} // namespace

extern "C" int LvRestrictedEntry(void) {
    RestrictDllSearchToSystemFolder();
    PreloadWhatWineFetchesByName();
    return WinMainCRTStartup();
}
