// SHA-256 of a byte stream, fed in pieces of any size.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

using Sha256Digest = std::array<uint8_t, 32>;

class Sha256 {
public:
    Sha256();
    void Update(const void* data, size_t size);
    // The digest of everything fed so far; the object is spent afterwards.
    Sha256Digest Finish();

private:
    void Compress(const uint8_t* block);

    std::array<uint32_t, 8> state_;
    std::array<uint8_t, 64> block_{};
    size_t blockUsed_ = 0;
    uint64_t totalBytes_ = 0;
};
