// Reads another program's memory as the platform reports it to a task manager: finds the
// top-level window with the given caption, opens its process and prints its working set,
// peak working set and private bytes, in bytes, on one line ("ws=… peak=… private=…").
//   working_set_probe <caption>
// Exit code 1 when no such window exists or the process cannot be read.
#include <windows.h>

#include <psapi.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::puts("usage: working_set_probe <caption>");
        return 2;
    }
    HWND wnd = FindWindowW(nullptr, argv[1]);
    DWORD pid = 0;
    if (!wnd || !GetWindowThreadProcessId(wnd, &pid)) return 1;
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process) return 1;
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof(pmc);
    const BOOL ok = GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc),
                                         sizeof(pmc));
    CloseHandle(process);
    if (!ok) return 1;
    std::printf("ws=%llu peak=%llu private=%llu\n",
                static_cast<unsigned long long>(pmc.WorkingSetSize),
                static_cast<unsigned long long>(pmc.PeakWorkingSetSize),
                static_cast<unsigned long long>(pmc.PrivateUsage));
    return 0;
}
