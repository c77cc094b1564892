// TAccessibleObject: the platform's accessible object (IAccessible) of one control, built on
// the control kind's TAccessibleModel. Its children are the control's child controls in
// reading order (each with an object of its own), then the model's elements.
#pragma once
#include <windows.h>

#include <oleacc.h>

#include <memory>
#include <vector>

#include "framework/win32/AccessibleModel.h"

class TAccessibleObject final : public IAccessible {
  public:
    // One reference, held by the control.
    TAccessibleObject(TControl& control, std::unique_ptr<TAccessibleModel> model);
    TAccessibleObject(const TAccessibleObject&) = delete;
    TAccessibleObject& operator=(const TAccessibleObject&) = delete;

    // The control is going: every later call fails as disconnected, and remote clients lose
    // their connection.
    void Disconnect();
    // Runs the default actions clients asked for, oldest first (CM_ACCESSIBLEACTION).
    static void RunPendingActions();
    // The answer to WM_GETOBJECT for this object (LresultFromObject).
    LRESULT Answer(WPARAM wParam);
    // The control's model (only while connected).
    const TAccessibleModel& Model() const { return *FModel; }
    // The name set on the control, else the model's.
    std::u16string Name() const;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDispatch: no type information; clients use the IAccessible methods.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override;
    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

  private:
    ~TAccessibleObject();

    // What a child identifier names: an object (this one or a child control's) itself, or
    // one of this object's elements.
    struct Target {
        TAccessibleObject* Object = nullptr;
        int Element = -1; // -1: the object itself
    };
    template <class Body> HRESULT Connected(Body body);
    // S_OK and the target, or E_INVALIDARG for an identifier that names nothing.
    HRESULT Resolve(const VARIANT& child, Target& target) const;
    // The element a target names (only for Element >= 0).
    TAccessibleElement ElementOf(const Target& target) const;
    RECT ScreenBounds() const;

    LONG FRefs = 1;
    TControl* FControl;
    std::unique_ptr<TAccessibleModel> FModel;
};
