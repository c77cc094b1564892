// TRegistryKey: RegCreateKeyExW / RegSetValueExW / RegCloseKey on the current user's hive.
#include "assistant/win32/Registry.h"

#include "framework/win32/WinText.h"

TRegistryKey::TRegistryKey(std::u16string path) {
    if (!path.empty() && path.front() == u'\\') path.erase(0, 1);
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, AsWide(path), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) == ERROR_SUCCESS)
        FKey.reset(key);
}

bool TRegistryKey::WriteString(const std::u16string& name, const std::u16string& value) {
    if (!FKey) return false;
    DWORD bytes = DWORD((value.size() + 1) * sizeof(char16_t));
    return RegSetValueExW(FKey.get(), AsWide(name), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(value.c_str()), bytes) == ERROR_SUCCESS;
}
