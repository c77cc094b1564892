// What a client of accessible objects does in every test program: address a child, read a
// number or a text answer. Header-only, so that the in-process tests and the probe program
// (which links nothing of the project) share it.
#pragma once
#include <windows.h>

#include <oleacc.h>

#include <optional>
#include <string>

#include "framework/win32/UniqueHandle.h"

using Accessible = ComRef<IAccessible>;

// The VARIANT that addresses child `id` (CHILDID_SELF for the object itself).
inline VARIANT ChildId(long id) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

// A number answer (role, state, child id), or -1 when the answer holds none.
inline long NumberIn(const VARIANT& v) {
    return v.vt == VT_I4 ? v.lVal : -1;
}

// A text answer; takes the string over. Nothing when the object gave none.
inline std::optional<std::wstring> TakeText(HRESULT hr, BSTR text) {
    std::optional<std::wstring> out;
    if (hr == S_OK && text) out.emplace(text, SysStringLen(text));
    SysFreeString(text);
    return out;
}

inline long RoleOf(IAccessible* a, long id = CHILDID_SELF) {
    VARIANT v;
    VariantInit(&v);
    a->get_accRole(ChildId(id), &v);
    return NumberIn(v);
}

inline long StateOf(IAccessible* a, long id = CHILDID_SELF) {
    VARIANT v;
    VariantInit(&v);
    a->get_accState(ChildId(id), &v);
    return NumberIn(v);
}
