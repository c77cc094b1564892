// ExpandLongPath, FolderExists and the temporary-folder rule.
#include "assistant/win32/LongPath.h"

#include <windows.h>

#include "assistant/core/PathText.h"
#include "framework/win32/UniqueHandle.h"
#include "framework/win32/WinText.h"

namespace {

std::u16string FullPath(const std::u16string& path) {
    std::wstring buf(MAX_PATH, L'\0');
    DWORD n = GetFullPathNameW(AsWide(path), DWORD(buf.size()), buf.data(), nullptr);
    if (n >= buf.size()) {
        buf.assign(n, L'\0');
        n = GetFullPathNameW(AsWide(path), DWORD(buf.size()), buf.data(), nullptr);
    }
    if (n == 0 || n >= buf.size()) return path;
    return FromWide(buf.c_str(), n);
}

} // namespace

std::u16string ExpandLongPath(const std::u16string& path) {
    std::u16string full = FullPath(path);
    std::size_t firstSlash = full.find(u'\\');
    if (firstSlash == std::u16string::npos) return full;
    std::u16string result = full.substr(0, firstSlash + 1);
    std::u16string rest = full.substr(firstSlash + 1);
    while (!rest.empty()) {
        std::size_t slash = rest.find(u'\\');
        std::u16string component = rest.substr(0, slash);
        WIN32_FIND_DATAW fd;
        FindHandle search(FindFirstFileW(AsWide(result + component), &fd));
        if (!bool(search)) {
            result += rest;
            break;
        }
        fd.cFileName[MAX_PATH - 1] = L'\0';
        result += FromWide(fd.cFileName);
        if (slash != std::u16string::npos) result += u'\\';
        rest.erase(0, slash == std::u16string::npos ? rest.size() : slash + 1);
    }
    return result;
}

bool FolderExists(const std::u16string& path) {
    DWORD attrs = GetFileAttributesW(AsWide(path));
    if (attrs == INVALID_FILE_ATTRIBUTES) {
        DWORD err = GetLastError();
        return !(err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND ||
                 err == ERROR_INVALID_NAME);
    }
    if (!(attrs & FILE_ATTRIBUTE_DIRECTORY)) return false;
    if (!(attrs & FILE_ATTRIBUTE_REPARSE_POINT)) return true;
    FileHandle folder(CreateFileW(AsWide(path), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return bool(folder);
}

bool FileExistsAt(const std::u16string& path) {
    DWORD attrs = GetFileAttributesW(AsWide(path));
    if (attrs == INVALID_FILE_ATTRIBUTES) {
        DWORD err = GetLastError();
        if (err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND || err == ERROR_INVALID_NAME)
            return false;
        WIN32_FIND_DATAW fd;
        FindHandle search(FindFirstFileW(AsWide(path), &fd));
        return bool(search) && !(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    if (attrs & FILE_ATTRIBUTE_DIRECTORY) return false;
    if (!(attrs & FILE_ATTRIBUTE_REPARSE_POINT)) return true;
    FileHandle target(CreateFileW(AsWide(path), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    return bool(target) || GetLastError() == ERROR_SHARING_VIOLATION;
}

std::u16string TempDirFrom(const std::u16string& unexpanded) {
    wchar_t buf[MAX_PATH];
    DWORD n = ExpandEnvironmentStringsW(AsWide(unexpanded), buf, MAX_PATH);
    if (n == 0 || n > MAX_PATH) return u"C:\\";
    std::u16string folder = ExpandLongPath(TrimControlAndSpace(FromWide(buf)));
    if (folder.empty() || !FolderExists(folder)) return u"C:\\";
    return WithTrailingBackslash(folder);
}
