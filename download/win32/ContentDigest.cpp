// TContentDigest: SHA-256 through BCrypt, the hash object's memory kept by the platform.
#include "download/win32/ContentDigest.h"

#include <limits>

TContentDigest::TContentDigest() {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    if (!BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0)))
        return;
    FAlgorithm.reset(algorithm);
    BCRYPT_HASH_HANDLE hash = nullptr;
    if (!BCRYPT_SUCCESS(BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0))) return;
    FHash.reset(hash);
    FOk = true;
}

void TContentDigest::Add(const void* data, std::size_t size) {
    auto* bytes = static_cast<PUCHAR>(const_cast<void*>(data));
    while (FOk && size > 0) {
        ULONG part = ULONG(std::min<std::size_t>(size, std::numeric_limits<ULONG>::max()));
        FOk = BCRYPT_SUCCESS(BCryptHashData(FHash.get(), bytes, part, 0));
        bytes += part;
        size -= part;
    }
}

TDigest TContentDigest::Finish() {
    TDigest digest{};
    if (FOk) FOk = BCRYPT_SUCCESS(BCryptFinishHash(FHash.get(), digest.data(), ULONG(digest.size()), 0));
    if (!FOk) digest.fill(0);
    FHash.reset();
    return digest;
}
