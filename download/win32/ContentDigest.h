// TContentDigest: the SHA-256 digest of bytes as they pass, from the platform's
// cryptography primitives (BCrypt).
#pragma once
#include <windows.h>

#include <bcrypt.h>

#include <array>
#include <cstddef>
#include <cstdint>

#include "framework/win32/UniqueHandle.h"

using TDigest = std::array<std::uint8_t, 32>;

class TContentDigest {
  public:
    TContentDigest();

    // False when the platform could not start or feed the digest; it then stays false.
    bool Ok() const { return FOk; }
    void Add(const void* data, std::size_t size);
    // The digest of everything added; all zero when !Ok(). Ends the digest.
    TDigest Finish();

  private:
    static void CloseAlgorithm(BCRYPT_ALG_HANDLE h) { BCryptCloseAlgorithmProvider(h, 0); }
    static void DestroyHash(BCRYPT_HASH_HANDLE h) { BCryptDestroyHash(h); }
    UniqueHandle<NullHandleTraits<BCRYPT_ALG_HANDLE, CloseAlgorithm>> FAlgorithm;
    UniqueHandle<NullHandleTraits<BCRYPT_HASH_HANDLE, DestroyHash>> FHash;
    bool FOk = false;
};
