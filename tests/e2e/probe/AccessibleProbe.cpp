// Reads another program's window the way a screen reader does, for the end-to-end tests:
// the accessible object of the window's client area (AccessibleObjectFromWindow), its
// children (AccessibleChildren) and their names, roles, states, values and default actions.
//
//   accessible_probe <caption> tree            every object, depth first, one JSON line each
//   accessible_probe <caption> do <path>       the default action of the object at <path>
//   accessible_probe <caption> set <path> <v>  sets the value of the object at <path>
//   accessible_probe <caption> hit <x> <y>     the object at a client point (accHitTest)
//   accessible_probe <caption> focus           the focused object (accFocus, to the leaf)
//   accessible_probe <caption> caret           the caret rectangle the platform reports
//   accessible_probe <caption> events          prints "ready", then each accessibility event
//                                              of the window's program until stdin closes
//
// A path is the 1-based child indices from the client object down, joined by dots ("" is
// the client object itself). Lines are UTF-8 JSON objects:
//   {"path":"3","role":30,"name":"Register now","value":null,"state":4194304,
//    "action":"jump","rect":[16,152,427,179]}
// with rectangles in the window's client coordinates. Events add "event" (the EVENT_OBJECT_*
// number) and describe the object AccessibleObjectFromEvent gives. Exit code 1 when the
// window does not appear, 3 when a call fails (the line printed says which).
#include <windows.h>

#include <oleacc.h>

#include <string>
#include <vector>

#include "framework/win32/UniqueHandle.h"
#include "tests/e2e/probe/ProbeSupport.h"
#include "tests/support/AccessibleClient.h"

namespace {

std::string Json(const std::wstring& text) {
    std::string out = "\"";
    for (char c : Utf8(text)) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (unsigned(c) < 0x20) {
            char esc[8];
            wsprintfA(esc, "\\u%04x", unsigned(c));
            out += esc;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// A BSTR answer as JSON: the text, or null when the object gave none.
std::string JsonAnswer(HRESULT hr, BSTR text) {
    const std::optional<std::wstring> answer = TakeText(hr, text);
    return answer ? Json(*answer) : "null";
}

[[noreturn]] void Fail(const char* what, HRESULT hr) {
    char line[160];
    wsprintfA(line, "{\"error\":\"%s\",\"hr\":%ld}", what, long(hr));
    Print(line);
    ExitProcess(3);
}

// An object as clients address it: an accessible object and a child id (CHILDID_SELF, or
// the id of an element without an object of its own).
struct Node {
    IAccessible* object;
    long child;
};

Accessible FromDispatch(IDispatch* dispatch) {
    ComRef<IDispatch> owned(dispatch);
    IAccessible* acc = nullptr;
    HRESULT hr = dispatch->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&acc));
    if (FAILED(hr)) Fail("QueryInterface", hr);
    return Accessible(acc);
}

// The children as AccessibleChildren gives them: objects (owned here) or element ids.
struct Children {
    std::vector<Accessible> objects; // parallel to ids; empty for elements
    std::vector<long> ids;
};

Children ChildrenOf(IAccessible* parent) {
    long count = 0;
    HRESULT hr = parent->get_accChildCount(&count);
    if (FAILED(hr)) Fail("get_accChildCount", hr);
    std::vector<VARIANT> vars(static_cast<std::size_t>(count));
    long got = 0;
    if (count > 0) {
        hr = AccessibleChildren(parent, 0, count, vars.data(), &got);
        if (FAILED(hr)) Fail("AccessibleChildren", hr);
    }
    Children children;
    for (long i = 0; i < got; ++i) {
        if (vars[i].vt == VT_DISPATCH && vars[i].pdispVal) {
            children.objects.push_back(FromDispatch(vars[i].pdispVal));
            children.ids.push_back(CHILDID_SELF);
        } else {
            children.objects.emplace_back();
            children.ids.push_back(NumberIn(vars[i]));
            VariantClear(&vars[i]);
        }
    }
    return children;
}

std::string Describe(HWND top, Node node, const std::string& path) {
    VARIANT id = ChildId(node.child);
    BSTR text = nullptr;
    std::string line = "{\"path\":\"" + path + "\"";
    line += ",\"role\":" + std::to_string(RoleOf(node.object, node.child));
    HRESULT hr = node.object->get_accName(id, &text);
    line += ",\"name\":" + JsonAnswer(hr, text);
    text = nullptr;
    hr = node.object->get_accValue(id, &text);
    line += ",\"value\":" + JsonAnswer(hr, text);
    line += ",\"state\":" + std::to_string(StateOf(node.object, node.child));
    text = nullptr;
    hr = node.object->get_accDefaultAction(id, &text);
    line += ",\"action\":" + JsonAnswer(hr, text);
    long l = 0, t = 0, w = 0, h = 0;
    hr = node.object->accLocation(&l, &t, &w, &h, id);
    POINT corner{l, t};
    ScreenToClient(top, &corner);
    line += ",\"rect\":[" + std::to_string(corner.x) + "," + std::to_string(corner.y) + "," +
            std::to_string(corner.x + w) + "," + std::to_string(corner.y + h) + "]";
    return line + "}";
}

void PrintTree(HWND top, IAccessible* object, const std::string& path) {
    Print(Describe(top, {object, CHILDID_SELF}, path));
    Children children = ChildrenOf(object);
    for (std::size_t i = 0; i < children.ids.size(); ++i) {
        const std::string childPath = (path.empty() ? "" : path + ".") + std::to_string(i + 1);
        if (children.objects[i])
            PrintTree(top, children.objects[i].get(), childPath);
        else
            Print(Describe(top, {object, children.ids[i]}, childPath));
    }
}

// Walks a path down from the client object; `keep` holds the objects on the way.
Node Walk(IAccessible* root, const std::wstring& path, std::vector<Accessible>& keep) {
    Node node{root, CHILDID_SELF};
    std::size_t pos = 0;
    while (pos < path.size()) {
        std::size_t dot = path.find(L'.', pos);
        if (dot == std::wstring::npos) dot = path.size();
        const long index = _wtol(path.substr(pos, dot - pos).c_str());
        pos = dot + 1;
        if (node.child != CHILDID_SELF) Fail("path goes below an element", E_INVALIDARG);
        Children children = ChildrenOf(node.object);
        if (index < 1 || std::size_t(index) > children.ids.size())
            Fail("no such child", E_INVALIDARG);
        if (children.objects[index - 1]) {
            keep.push_back(std::move(children.objects[index - 1]));
            node = {keep.back().get(), CHILDID_SELF};
        } else {
            node.child = children.ids[index - 1];
        }
    }
    return node;
}

std::string PathOf(const std::wstring& path) {
    return std::string(path.begin(), path.end());
}

// --- events ------------------------------------------------------------------------------------

HWND gTop = nullptr;

struct WinEvent {
    DWORD event;
    HWND wnd;
    LONG child;
};

// Events wait here until the ones before them are printed: reading an object calls into the
// other program, and while such a call waits, the next events are delivered.
std::vector<WinEvent> gQueue;
bool gPrinting = false;

void PrintEvent(const WinEvent& e) {
    IAccessible* raw = nullptr;
    VARIANT child;
    VariantInit(&child);
    HRESULT hr = AccessibleObjectFromEvent(e.wnd, OBJID_CLIENT, e.child, &raw, &child);
    const std::string line = "{\"event\":" + std::to_string(e.event);
    if (FAILED(hr) || !raw) {
        Print(line + ",\"hr\":" + std::to_string(long(hr)) + "}");
        return;
    }
    Accessible object(raw);
    const std::string described = Describe(gTop, {raw, child.vt == VT_I4 ? child.lVal : 0}, "");
    Print(line + "," + described.substr(1)); // the object's fields after the event's
}

void CALLBACK OnEvent(HWINEVENTHOOK, DWORD event, HWND wnd, LONG objectId, LONG childId, DWORD,
                      DWORD) {
    if (objectId != OBJID_CLIENT) return; // the caret, the window frames: not ours to report
    gQueue.push_back({event, wnd, childId});
    if (gPrinting) return;
    gPrinting = true;
    while (!gQueue.empty()) {
        const WinEvent next = gQueue.front();
        gQueue.erase(gQueue.begin());
        PrintEvent(next);
    }
    gPrinting = false;
}

DWORD WINAPI WaitForStdinEnd(LPVOID mainThread) {
    char buffer[64];
    DWORD got = 0;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof buffer, &got, nullptr) && got)
        ;
    PostThreadMessageW(DWORD(reinterpret_cast<UINT_PTR>(mainThread)), WM_QUIT, 0, 0);
    return 0;
}

int ListenForEvents(HWND top) {
    gTop = top;
    DWORD process = 0;
    GetWindowThreadProcessId(top, &process);
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_CREATE, EVENT_OBJECT_END, nullptr, &OnEvent,
                                         process, 0, WINEVENT_OUTOFCONTEXT);
    if (!hook) Fail("SetWinEventHook", HRESULT_FROM_WIN32(GetLastError()));
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE); // the thread's queue exists from here on
    KernelHandle reader(CreateThread(nullptr, 0, &WaitForStdinEnd,
                                     reinterpret_cast<LPVOID>(UINT_PTR(GetCurrentThreadId())), 0,
                                     nullptr));
    SetTimer(nullptr, 0, 120000, nullptr); // never longer than two minutes
    Print("ready");
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER) break;
        DispatchMessageW(&msg);
    }
    UnhookWinEvent(hook);
    return 0;
}

int Caret(HWND top) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &info) || !info.hwndCaret)
        Fail("GetGUIThreadInfo", E_FAIL);
    RECT r = info.rcCaret;
    MapWindowPoints(info.hwndCaret, top, reinterpret_cast<POINT*>(&r), 2);
    Print("{\"rect\":[" + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
          std::to_string(r.right) + "," + std::to_string(r.bottom) + "]}");
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        Print("usage: accessible_probe <caption> tree|do|set|hit|focus|caret|events ...");
        return 2;
    }
    HWND top = FindTopLevel(argv[1]);
    if (!top) return 1;
    // Calls into the other program are made from this thread's apartment; the process ends
    // with it.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::wstring command = argv[2];
    if (command == L"events") return ListenForEvents(top);
    if (command == L"caret") return Caret(top);

    IAccessible* raw = nullptr;
    HRESULT hr = AccessibleObjectFromWindow(top, DWORD(OBJID_CLIENT), __uuidof(IAccessible),
                                            reinterpret_cast<void**>(&raw));
    if (FAILED(hr) || !raw) Fail("AccessibleObjectFromWindow", hr);
    Accessible root(raw);

    if (command == L"tree") {
        PrintTree(top, root.get(), "");
        return 0;
    }
    if (command == L"hit" && argc == 5) {
        POINT p{_wtol(argv[3]), _wtol(argv[4])};
        ClientToScreen(top, &p);
        // Down from the client object as far as the hits go, like a screen reader's mouse
        // tracking.
        Accessible current(root.release());
        for (;;) {
            VARIANT hit;
            VariantInit(&hit);
            hr = current.get()->accHitTest(p.x, p.y, &hit);
            if (FAILED(hr)) Fail("accHitTest", hr);
            if (hit.vt == VT_DISPATCH && hit.pdispVal) {
                current = FromDispatch(hit.pdispVal);
                continue;
            }
            Print(Describe(top, {current.get(), hit.vt == VT_I4 ? hit.lVal : CHILDID_SELF}, ""));
            return 0;
        }
    }
    if (command == L"focus") {
        Accessible current(root.release());
        for (;;) {
            VARIANT focus;
            VariantInit(&focus);
            hr = current.get()->get_accFocus(&focus);
            if (FAILED(hr)) Fail("get_accFocus", hr);
            if (focus.vt == VT_DISPATCH && focus.pdispVal) {
                current = FromDispatch(focus.pdispVal);
                continue;
            }
            if (focus.vt != VT_I4) Fail("no focus", S_FALSE);
            Print(Describe(top, {current.get(), focus.lVal}, ""));
            return 0;
        }
    }
    if ((command == L"do" && argc == 4) || (command == L"set" && argc == 5)) {
        std::vector<Accessible> keep;
        Node node = Walk(root.get(), argv[3], keep);
        VARIANT id = ChildId(node.child);
        if (command == L"do") {
            hr = node.object->accDoDefaultAction(id);
            if (FAILED(hr)) Fail("accDoDefaultAction", hr);
        } else {
            BSTR value = SysAllocString(argv[4]);
            hr = node.object->put_accValue(id, value);
            SysFreeString(value);
            if (FAILED(hr)) Fail("put_accValue", hr);
        }
        Print(Describe(top, node, PathOf(argv[3])));
        return 0;
    }
    Print("unknown command");
    return 2;
}
