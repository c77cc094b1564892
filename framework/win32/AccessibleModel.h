// TAccessibleModel: what one kind of control tells assistive technology (role, name, value,
// states, default action and the parts that are no controls of their own). Each control
// kind supplies one; TAccessibleObject turns it into the platform's accessible object.
#pragma once
#include <windows.h>

#include <oleacc.h>

#include <string>
#include <vector>

class TControl;
class TWinControl;

// A part of a control that is no control of its own, such as a link in a label's text: a
// child of the control's accessible object that has no object of its own.
struct TAccessibleElement {
    long Role = ROLE_SYSTEM_CLIENT;
    std::u16string Name;
    long State = 0;
    std::u16string DefaultAction;
    RECT Bounds{}; // in the control's client coordinates
};

// The default action's names, as the platform's own controls give them.
inline constexpr char16_t kActionJump[] = u"jump";
inline constexpr char16_t kActionPress[] = u"press";

class TAccessibleModel {
  public:
    explicit TAccessibleModel(TControl& control) : FControl(control) {}
    virtual ~TAccessibleModel() = default;
    TAccessibleModel(const TAccessibleModel&) = delete;
    TAccessibleModel& operator=(const TAccessibleModel&) = delete;

    TControl& Control() const { return FControl; }

    virtual long Role() const { return ROLE_SYSTEM_CLIENT; }
    // The kind's own name; a name set on the control (AccessibleName) comes first.
    virtual std::u16string Name() const { return {}; }
    virtual std::u16string Value() const { return {}; }
    // False when the value cannot be set (none, read-only or disabled).
    virtual bool SetValue(const std::u16string& value) { return false; }
    // STATE_SYSTEM_* flags: invisible, unavailable, focusable and focused from the control.
    virtual long State() const;
    // Empty when the control has no default action.
    virtual std::u16string DefaultAction() const { return {}; }
    // Runs the default action, as a click or a key would; called from the message loop.
    virtual void DoDefaultAction() {}
    virtual std::vector<TAccessibleElement> Elements() const { return {}; }
    virtual void DoElementAction(std::size_t index) {}
    // Whether the control is a text label that can name a field, and the control it is
    // bound to (its focus control); an unbound label names the control read after it.
    virtual bool IsLabel() const { return false; }
    virtual TWinControl* LabelFor() const { return nullptr; }

  protected:
    // The name a field takes from its label (see NamingLabel).
    std::u16string NameFromLabel() const;

  private:
    TControl& FControl;
};

// The child controls of `control` in reading order (none for a windowless control).
std::vector<TControl*> AccessibleChildControls(const TControl& control);
