// SealWrittenFile: between the writer's close and this open another process could have
// changed or replaced the file; the digest of what is there now, read through the sealing
// handle, tells.
#include "download/win32/SealedFile.h"

#include <array>

#include "framework/win32/WinText.h"

FileHandle SealWrittenFile(const std::u16string& path, const TDigest& written) {
    FileHandle file(CreateFileW(AsWide(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return {};
    TContentDigest digest;
    std::array<char, 64 * 1024> buffer;
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer.data(), DWORD(buffer.size()), &got, nullptr)) return {};
        if (got == 0) break;
        digest.Add(buffer.data(), got);
    }
    TDigest now = digest.Finish();
    if (!digest.Ok() || now != written) return {};
    return file;
}
