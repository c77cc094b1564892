// A registry key of the current user's hive, opened or created for full access, closed on
// scope exit; writes text values.
#pragma once
#include <windows.h>

#include <string>

#include "framework/win32/UniqueHandle.h"

class TRegistryKey {
  public:
    // Opens or creates HKEY_CURRENT_USER\path (a leading "\" names the hive's root). A key
    // that cannot be opened makes every write fail.
    explicit TRegistryKey(std::u16string path);

    bool IsOpen() const { return bool(FKey); }
    // Writes a REG_SZ value (with its terminating NUL); false when it could not be written.
    bool WriteString(const std::u16string& name, const std::u16string& value);

  private:
    RegistryKeyHandle FKey;
};
