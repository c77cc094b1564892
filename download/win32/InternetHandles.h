// The owner of a WinInet handle, closed with InternetCloseHandle.
#pragma once
#include <windows.h>

#include <wininet.h>

#include "framework/win32/UniqueHandle.h"

inline void CloseInternetHandle(HINTERNET h) {
    InternetCloseHandle(h);
}

using InternetHandle = UniqueHandle<NullHandleTraits<HINTERNET, CloseInternetHandle>>;
