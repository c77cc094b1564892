// ComApartment: the calling thread in a single-threaded COM apartment while the object
// lives. A thread that is in one already only counts it up and, at the end, down again;
// the apartment is left only by the object that joined it.
#pragma once
#include <windows.h>

#include <objbase.h>

class ComApartment {
  public:
    // `flags` are added to COINIT_APARTMENTTHREADED (COINIT_DISABLE_OLE1DDE, say).
    explicit ComApartment(DWORD flags = 0)
        : FResult(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | flags)) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (SUCCEEDED(FResult)) CoUninitialize();
    }

  private:
    HRESULT FResult;
};
