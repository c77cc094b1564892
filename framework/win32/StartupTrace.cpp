#include "framework/win32/StartupTrace.h"

#include <windows.h>

#include "framework/win32/UniqueHandle.h"

namespace startup_trace {
namespace {

struct Phase {
    const char* name;
    double ms;
};

constexpr int kMaxPhases = 32;

struct Trace {
    wchar_t path[MAX_PATH]{};
    bool active = false;
    bool written = false;
    ULONGLONG created = 0; // 100 ns units since 1601
    Phase phases[kMaxPhases]{};
    int count = 0;
};

ULONGLONG AsInteger(FILETIME t) {
    return (ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

Trace& State() {
    static Trace trace = [] {
        Trace t;
        DWORD n = GetEnvironmentVariableW(L"LV_STARTUP_TRACE", t.path, MAX_PATH);
        FILETIME created, exited, kernel, user;
        t.active = n > 0 && n < MAX_PATH &&
                   GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
        t.created = AsInteger(created);
        return t;
    }();
    return trace;
}

double MillisecondsSinceCreation(const Trace& t) {
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    return double(AsInteger(now) - t.created) / 10000.0;
}

void Write(const Trace& t) {
    FileHandle file(CreateFileW(t.path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    for (int i = 0; i < t.count; ++i) {
        // wsprintfA (no floating point): the C library's formatted output would add
        // hundreds of kilobytes to the program.
        char line[96];
        const int hundredths = int(t.phases[i].ms * 100 + 0.5);
        int len = wsprintfA(line, "%s\t%d.%02d\n", t.phases[i].name, hundredths / 100,
                            hundredths % 100);
        DWORD written = 0;
        WriteFile(file.get(), line, DWORD(len), &written, nullptr);
    }
}

} // namespace

bool Active() {
    return State().active;
}

void Mark(const char* phase) {
    Trace& t = State();
    if (!t.active || t.written || t.count == kMaxPhases) return;
    t.phases[t.count++] = {phase, MillisecondsSinceCreation(t)};
}

void FirstPaintDone() {
    Trace& t = State();
    if (!t.active || t.written) return;
    Mark("first paint");
    Write(t);
    t.written = true;
}

} // namespace startup_trace
