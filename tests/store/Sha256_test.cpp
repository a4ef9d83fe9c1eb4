#include "suite/store/Sha256.h"

#include <gtest/gtest.h>

#include <string>

namespace quarn::suite {
namespace {

// The published test vectors, and lengths around the 55/56/64-byte padding edges checked
// against the sha256sum of coreutils; the processor's extensions, where this machine has them,
// and the portable code must both give them.
TEST(Sha256, GivesThePublishedDigestsAcrossThePaddingEdges) {
    for (const Sha256Engine engine : {Sha256Engine::Fastest, Sha256Engine::Portable}) {
        SCOPED_TRACE(engine == Sha256Engine::Portable ? "portable"
                     : Sha256::InHardware()           ? "extensions"
                                                      : "fastest is portable here");
        const auto digest = [engine](std::string_view data) { return Sha256Hex(data, engine); };
        EXPECT_EQ(digest(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
        EXPECT_EQ(digest("abc"),
                  "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
        EXPECT_EQ(digest("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
                  "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
        EXPECT_EQ(digest(std::string(1000000, 'a')),
                  "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
        EXPECT_EQ(digest(std::string(55, 'x')),
                  "d5e285683cd4efc02d021a5c62014694958901005d6f71e89e0989fac77e4072");
        EXPECT_EQ(digest(std::string(56, 'x')),
                  "04c26261370ee7541549d16dee320c723e3fd14671e66a099afe0a377c16888e");
        EXPECT_EQ(digest(std::string(64, 'x')),
                  "7ce100971f64e7001e8fe5a51973ecdfe1ced42befe7ee8d5fd6219506b5393c");
        EXPECT_EQ(digest("变更"),
                  "97fb183d5d2e350863eb1188c33bb009b8b60a0c66824970301d17d15edc0217");
    }
}

// Every length over a few blocks, with bytes of every value: the two compressors agree, and
// a digest given in pieces that cross the blocks' edges is the digest of the whole.
TEST(Sha256, ExtensionsPortableCodeAndPiecesAgreeOnEveryLength) {
    std::string data;
    for (std::size_t length = 0; length < 300; ++length) {
        const std::string whole = Sha256Hex(data);
        EXPECT_EQ(whole, Sha256Hex(data, Sha256Engine::Portable)) << length;
        Sha256 pieces;
        for (std::size_t at = 0; at < data.size(); at += length % 70 + 1) {
            pieces.Add(std::string_view(data).substr(at, length % 70 + 1));
        }
        const Sha256::Hex hex = pieces.Finish();
        EXPECT_EQ(std::string(hex.begin(), hex.end()), whole) << length;
        data.push_back(static_cast<char>(length * 37 + 11));
    }
}

}  // namespace
}  // namespace quarn::suite
