// TAccessibleObject: the COM side of a control's accessible object. Calls arrive on the
// user-interface thread (the apartment of the control's window), in-process or from other
// programs; none lets an exception out, and after the control has gone each one answers
// that the object is disconnected.
#include "framework/win32/AccessibleObject.h"

#include <algorithm>

#include "framework/win32/ComApartment.h"
#include "framework/win32/UniqueHandle.h"
#include "framework/win32/WinControl.h"
#include "framework/win32/WinText.h"

namespace {

HRESULT ReturnText(const std::u16string& text, BSTR* out) {
    if (text.empty()) return S_FALSE;
    *out = SysAllocStringLen(AsWide(text), UINT(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

void SetLong(VARIANT* v, long value) {
    v->vt = VT_I4;
    v->lVal = value;
}

void SetObject(VARIANT* v, TAccessibleObject& object) {
    object.AddRef();
    v->vt = VT_DISPATCH;
    v->pdispVal = &object;
}

bool Contains(const RECT& r, long x, long y) {
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

RECT Offset(RECT r, long dx, long dy) {
    OffsetRect(&r, dx, dy);
    return r;
}

// A default action a client asked for: the object (kept alive until the action has run or
// been dropped) and its element, -1 for the control's own action.
struct PendingAction {
    ComRef<TAccessibleObject> Object;
    int Element;
};

std::vector<PendingAction>& PendingActions() {
    static std::vector<PendingAction> actions;
    return actions;
}

} // namespace

void TAccessibleObjectRelease::operator()(TAccessibleObject* object) const {
    object->Disconnect();
    object->Release();
}

TAccessibleObject::TAccessibleObject(TControl& control, std::unique_ptr<TAccessibleModel> model)
    : FControl(&control), FModel(std::move(model)) {}

TAccessibleObject::~TAccessibleObject() = default;

void TAccessibleObject::Disconnect() {
    FControl = nullptr;
    FModel.reset();
    CoDisconnectObject(static_cast<IAccessible*>(this), 0);
}

LRESULT TAccessibleObject::Answer(WPARAM wParam) {
    // The user-interface thread joins a single-threaded apartment when a client first asks
    // for an accessible object, so that calls from other programs are delivered through its
    // message loop, on that thread.
    static ComApartment apartment;
    return LresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(this));
}

// Each action leaves the queue before it runs: it may open a message box whose loop runs
// the next ones, or end its own control.
void TAccessibleObject::RunPendingActions() {
    std::vector<PendingAction>& actions = PendingActions();
    while (!actions.empty()) {
        PendingAction action = std::move(actions.front());
        actions.erase(actions.begin());
        TAccessibleObject& object = *action.Object.get();
        if (!object.FControl) continue; // the control has gone
        if (action.Element < 0)
            object.FModel->DoDefaultAction();
        else
            object.FModel->DoElementAction(std::size_t(action.Element));
    }
}

std::u16string TAccessibleObject::Name() const {
    const std::u16string& set = FControl->AccessibleName();
    return set.empty() ? FModel->Name() : set;
}

RECT TAccessibleObject::ScreenBounds() const {
    RECT r{};
    HWND wnd = FControl->WindowHandle();
    if (!wnd) return r;
    if (FControl->IsWindowed()) {
        GetClientRect(wnd, &r);
    } else {
        const POINT o = FControl->OriginInWindow();
        r = {o.x, o.y, o.x + FControl->Width(), o.y + FControl->Height()};
    }
    MapWindowPoints(wnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

HRESULT TAccessibleObject::Resolve(const VARIANT& child, Target& target) const {
    if (child.vt != VT_I4 || child.lVal < 0) return E_INVALIDARG;
    auto* self = const_cast<TAccessibleObject*>(this);
    if (child.lVal == CHILDID_SELF) {
        target = {self, -1};
        return S_OK;
    }
    const std::size_t id = std::size_t(child.lVal);
    const std::vector<TControl*> controls = AccessibleChildControls(*FControl);
    if (id <= controls.size()) {
        target = {&controls[id - 1]->AccessibleObject(), -1};
        return S_OK;
    }
    if (id - controls.size() <= FModel->Elements().size()) {
        target = {self, int(id - controls.size() - 1)};
        return S_OK;
    }
    return E_INVALIDARG;
}

TAccessibleElement TAccessibleObject::ElementOf(const Target& target) const {
    TAccessibleElement element = target.Object->FModel->Elements().at(std::size_t(target.Element));
    // An element is out of sight and out of reach with its control.
    element.State |=
        target.Object->FModel->State() & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_UNAVAILABLE);
    return element;
}

// Runs a call's body on a connected object; an exception becomes E_FAIL instead of crossing
// into the caller.
template <class Body> HRESULT TAccessibleObject::Connected(Body body) {
    if (!FControl) return RPC_E_DISCONNECTED;
    try {
        return body();
    } catch (...) {
        return E_FAIL;
    }
}

// --- IUnknown and IDispatch ------------------------------------------------------------------

HRESULT TAccessibleObject::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) ||
        riid == __uuidof(IAccessible)) {
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG TAccessibleObject::AddRef() {
    return ULONG(++FRefs);
}

ULONG TAccessibleObject::Release() {
    const LONG refs = --FRefs;
    if (refs == 0) delete this;
    return ULONG(refs);
}

HRESULT TAccessibleObject::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT TAccessibleObject::GetTypeInfo(UINT, LCID, ITypeInfo**) {
    return E_NOTIMPL;
}

HRESULT TAccessibleObject::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}

HRESULT TAccessibleObject::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                  UINT*) {
    return E_NOTIMPL;
}

// --- The tree ----------------------------------------------------------------------------------

HRESULT TAccessibleObject::get_accParent(IDispatch** parent) {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    return Connected([&]() -> HRESULT {
        if (TWinControl* p = FControl->Parent()) {
            TAccessibleObject& object = p->AccessibleObject();
            object.AddRef();
            *parent = &object;
            return S_OK;
        }
        // A top-level window's client object lies in the platform's window object.
        HWND wnd = FControl->WindowHandle();
        if (!wnd) return S_FALSE;
        return AccessibleObjectFromWindow(wnd, OBJID_WINDOW, __uuidof(IDispatch),
                                          reinterpret_cast<void**>(parent));
    });
}

HRESULT TAccessibleObject::get_accChildCount(long* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return Connected([&]() -> HRESULT {
        *count = long(AccessibleChildControls(*FControl).size() + FModel->Elements().size());
        return S_OK;
    });
}

HRESULT TAccessibleObject::get_accChild(VARIANT child, IDispatch** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    return Connected([&]() -> HRESULT {
        Target t;
        if (HRESULT hr = Resolve(child, t); FAILED(hr)) return hr;
        if (t.Object == this) return t.Element >= 0 ? S_FALSE : E_INVALIDARG;
        t.Object->AddRef();
        *object = t.Object;
        return S_OK;
    });
}

// --- Properties --------------------------------------------------------------------------------

HRESULT TAccessibleObject::get_accName(VARIANT child, BSTR* name) {
    if (!name) return E_POINTER;
    *name = nullptr;
    return Connected([&]() -> HRESULT {
        Target t;
        if (HRESULT hr = Resolve(child, t); FAILED(hr)) return hr;
        return ReturnText(t.Element >= 0 ? ElementOf(t).Name : t.Object->Name(), name);
    });
}

HRESULT TAccessibleObject::get_accValue(VARIANT child, BSTR* value) {
    if (!value) return E_POINTER;
    *value = nullptr;
    return Connected([&]() -> HRESULT {
        Target t;
        if (HRESULT hr = Resolve(child, t); FAILED(hr)) return hr;
        if (t.Element >= 0) return S_FALSE;
        const TAccessibleModel& model = *t.Object->FModel;
        // A masked text is not read out.
        if (model.State() & STATE_SYSTEM_PROTECTED) return E_ACCESSDENIED;
        return ReturnText(model.Value(), value);
    });
}

HRESULT TAccessibleObject::get_accDescription(VARIANT, BSTR* description) {
    if (!description) return E_POINTER;
    *description = nullptr;
    return S_FALSE;
}

HRESULT TAccessibleObject::get_accRole(VARIANT child, VARIANT* role) {
    if (!role) return E_POINTER;
    VariantInit(role);
    return Connected([&]() -> HRESULT {
        Target t;
        if (HRESULT hr = Resolve(child, t); FAILED(hr)) return hr;
        SetLong(role, t.Element >= 0 ? ElementOf(t).Role : t.Object->FModel->Role());
        return S_OK;
    });
}

HRESULT TAccessibleObject::get_accState(VARIANT child, VARIANT* state) {
    if (!state) return E_POINTER;
    VariantInit(state);
    return Connected([&]() -> HRESULT {
        Target t;
        if (HRESULT hr = Resolve(child, t); FAILED(hr)) return hr;
        SetLong(state, t.Element >= 0 ? ElementOf(t).State : t.Object->FModel->State());
        return S_OK;
    });
}

HRESULT TAccessibleObject::get_accHelp(VARIANT, BSTR* help) {
    if (!help) return E_POINTER;
    *help = nullptr;
    return S_FALSE;
}

HRESULT TAccessibleObject::get_accHelpTopic(BSTR* file, VARIANT, long* topic) {
    if (file) *file = nullptr;
    if (topic) *topic = 0;
    return E_NOTIMPL;
}

HRESULT TAccessibleObject::get_accKeyboardShortcut(VARIANT, BSTR* shortcut) {
    if (!shortcut) return E_POINTER;
    *shortcut = nullptr;
    return S_FALSE;
}

HRESULT TAccessibleObject::get_accFocus(VARIANT* focus) {
    if (!focus) return E_POINTER;
    VariantInit(focus);
    return Connected([&]() -> HRESULT {
        HWND own = FControl->IsWindowed() ? FControl->WindowHandle() : nullptr;
        HWND focused = GetFocus();
        if (!own || !focused) return S_FALSE;
        if (focused == own) {
            SetLong(focus, CHILDID_SELF);
            return S_OK;
        }
        for (TControl* c : AccessibleChildControls(*FControl)) {
            HWND wnd = c->IsWindowed() ? c->WindowHandle() : nullptr;
            if (wnd && (wnd == focused || IsChild(wnd, focused))) {
                SetObject(focus, c->AccessibleObject());
                return S_OK;
            }
        }
        return S_FALSE;
    });
}

HRESULT TAccessibleObject::get_accSelection(VARIANT* selection) {
    if (!selection) return E_POINTER;
    VariantInit(selection);
    return S_FALSE;
}

HRESULT TAccessibleObject::get_accDefaultAction(VARIANT child, BSTR* action) {
    if (!action) return E_POINTER;
    *action = nullptr;
    return Connected([&]() -> HRESULT {
        Target t;
        if (HRESULT hr = Resolve(child, t); FAILED(hr)) return hr;
        return ReturnText(t.Element >= 0 ? ElementOf(t).DefaultAction
                                         : t.Object->FModel->DefaultAction(),
                          action);
    });
}

HRESULT TAccessibleObject::put_accName(VARIANT, BSTR) {
    return E_NOTIMPL;
}

HRESULT TAccessibleObject::put_accValue(VARIANT child, BSTR value) {
    return Connected([&]() -> HRESULT {
        Target t;
        if (HRESULT hr = Resolve(child, t); FAILED(hr)) return hr;
        if (t.Element >= 0) return DISP_E_MEMBERNOTFOUND;
        const std::u16string text = value ? FromWide(value, SysStringLen(value)) : u"";
        return t.Object->FModel->SetValue(text) ? S_OK : E_ACCESSDENIED;
    });
}

// --- Place and actions -------------------------------------------------------------------------

HRESULT TAccessibleObject::accLocation(long* left, long* top, long* width, long* height,
                                       VARIANT child) {
    if (!left || !top || !width || !height) return E_POINTER;
    *left = *top = *width = *height = 0;
    return Connected([&]() -> HRESULT {
        Target t;
        if (HRESULT hr = Resolve(child, t); FAILED(hr)) return hr;
        RECT r = t.Object->ScreenBounds();
        if (t.Element >= 0) r = Offset(ElementOf(t).Bounds, r.left, r.top);
        *left = r.left;
        *top = r.top;
        *width = r.right - r.left;
        *height = r.bottom - r.top;
        return S_OK;
    });
}

HRESULT TAccessibleObject::accNavigate(long, VARIANT, VARIANT* end) {
    if (end) VariantInit(end);
    return E_NOTIMPL;
}

HRESULT TAccessibleObject::accHitTest(long x, long y, VARIANT* child) {
    if (!child) return E_POINTER;
    VariantInit(child);
    return Connected([&]() -> HRESULT {
        const RECT own = ScreenBounds();
        if (!Contains(own, x, y)) return S_FALSE;
        const std::vector<TControl*> controls = AccessibleChildControls(*FControl);
        const std::vector<TAccessibleElement> elements = FModel->Elements();
        for (std::size_t i = 0; i < elements.size(); ++i)
            if (Contains(Offset(elements[i].Bounds, own.left, own.top), x, y)) {
                SetLong(child, long(controls.size() + i + 1));
                return S_OK;
            }
        // Topmost first: windows lie above the controls drawn on their parent, and among
        // each kind a later control above an earlier one.
        if (FControl->IsWindowed()) {
            const auto& stacked = static_cast<const TWinControl&>(*FControl).Controls();
            for (bool windowed : {true, false})
                for (auto it = stacked.rbegin(); it != stacked.rend(); ++it) {
                    TControl* c = *it;
                    if (c->IsWindowed() != windowed || !c->Visible()) continue;
                    TAccessibleObject& object = c->AccessibleObject();
                    if (!Contains(object.ScreenBounds(), x, y)) continue;
                    SetObject(child, object);
                    return S_OK;
                }
        }
        SetLong(child, CHILDID_SELF);
        return S_OK;
    });
}

HRESULT TAccessibleObject::accSelect(long flags, VARIANT child) {
    return Connected([&]() -> HRESULT {
        Target t;
        if (HRESULT hr = Resolve(child, t); FAILED(hr)) return hr;
        TControl& control = *t.Object->FControl;
        if (flags != SELFLAG_TAKEFOCUS || t.Element >= 0 || !control.IsWindowed())
            return DISP_E_MEMBERNOTFOUND;
        auto& w = static_cast<TWinControl&>(control);
        if (!w.CanFocus()) return S_FALSE;
        w.SetFocus();
        return S_OK;
    });
}

// The action runs later, from the message loop: a handler may open a message box or wait for
// a download, and the client must not wait for that.
HRESULT TAccessibleObject::accDoDefaultAction(VARIANT child) {
    return Connected([&]() -> HRESULT {
        Target t;
        if (HRESULT hr = Resolve(child, t); FAILED(hr)) return hr;
        const std::u16string action =
            t.Element >= 0 ? ElementOf(t).DefaultAction : t.Object->FModel->DefaultAction();
        if (action.empty()) return DISP_E_MEMBERNOTFOUND;
        HWND wnd = t.Object->FControl->WindowHandle();
        if (!wnd) return E_FAIL;
        t.Object->AddRef();
        PendingActions().push_back({ComRef<TAccessibleObject>(t.Object), t.Element});
        if (PostMessageW(wnd, CM_ACCESSIBLEACTION, 0, 0)) return S_OK;
        PendingActions().pop_back();
        return E_FAIL;
    });
}
