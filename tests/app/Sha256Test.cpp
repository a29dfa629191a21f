#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/Sha256.h"

namespace {

std::string Hex(const Sha256Digest& digest) {
    std::string text;
    char pair[3];
    for (uint8_t byte : digest) {
        std::snprintf(pair, sizeof pair, "%02x", byte);
        text += pair;
    }
    return text;
}

// Fed in pieces of the given size, so that pieces straddle the 64-byte blocks.
std::string DigestOf(const std::string& message, size_t piece) {
    Sha256 hash;
    for (size_t at = 0; at < message.size(); at += piece) hash.Update(message.data() + at, std::min(piece, message.size() - at));
    return Hex(hash.Finish());
}

// The test vectors of FIPS 180-2, Appendix B, and the empty message.
TEST(Sha256, StandardVectorsWhateverTheFeedingPieces) {
    const std::string twoBlocks = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
    for (size_t piece : {1u, 3u, 55u, 64u, 1000u}) {
        SCOPED_TRACE(piece);
        EXPECT_EQ(DigestOf("", piece), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
        EXPECT_EQ(DigestOf("abc", piece), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
        EXPECT_EQ(DigestOf(twoBlocks, piece), "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    }
    EXPECT_EQ(DigestOf(std::string(1000000, 'a'), 4096),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

}  // namespace
