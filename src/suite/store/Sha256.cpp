#include "suite/store/Sha256.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define QUARN_SHA256_EXTENSIONS 1
#endif

namespace quarn::suite {

namespace {

using State = std::array<uint32_t, 8>;
// Compresses `blocks` 64-byte blocks into the state.
using Compressor = void (*)(State& state, const uint8_t* data, std::size_t blocks);

alignas(16) constexpr std::array<uint32_t, 64> kRoundConstants{
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

void CompressPortable(State& state, const uint8_t* data, std::size_t blocks) {
    for (; blocks > 0; --blocks, data += 64) {
        std::array<uint32_t, 64> w;
        for (std::size_t i = 0; i < 16; ++i) {
            w[i] = uint32_t{data[4 * i]} << 24 | uint32_t{data[4 * i + 1]} << 16 |
                   uint32_t{data[4 * i + 2]} << 8 | uint32_t{data[4 * i + 3]};
        }
        for (std::size_t i = 16; i < 64; ++i) {
            const uint32_t s0 =
                std::rotr(w[i - 15], 7) ^ std::rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
            const uint32_t s1 =
                std::rotr(w[i - 2], 17) ^ std::rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
            w[i] = w[i - 16] + s0 + w[i - 7] + s1;
        }
        auto [a, b, c, d, e, f, g, h] = state;
        for (std::size_t i = 0; i < 64; ++i) {
            const uint32_t s1 = std::rotr(e, 6) ^ std::rotr(e, 11) ^ std::rotr(e, 25);
            const uint32_t choice = (e & f) ^ (~e & g);
            const uint32_t t1 = h + s1 + choice + kRoundConstants[i] + w[i];
            const uint32_t s0 = std::rotr(a, 2) ^ std::rotr(a, 13) ^ std::rotr(a, 22);
            const uint32_t majority = (a & b) ^ (a & c) ^ (b & c);
            h = g;
            g = f;
            f = e;
            e = d + t1;
            d = c;
            c = b;
            b = a;
            a = t1 + s0 + majority;
        }
        const State add{a, b, c, d, e, f, g, h};
        for (std::size_t i = 0; i < 8; ++i) {
            state[i] += add[i];
        }
    }
}

#ifdef QUARN_SHA256_EXTENSIONS
// The SHA extensions keep the working variables as two vectors, ABEF and CDGH, and do two rounds
// per instruction; the message schedule's four words at a time come from sha256msg1/msg2.
__attribute__((target("sha,ssse3,sse4.1"))) void CompressWithExtensions(State& state,
                                                                        const uint8_t* data,
                                                                        std::size_t blocks) {
    const __m128i byteSwap = _mm_set_epi64x(0x0c0d0e0f08090a0bLL, 0x0405060700010203LL);
    const __m128i dcba = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<__m128i*>(&state[0])),
                                           0xB1);  // CDAB
    __m128i cdgh = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<__m128i*>(&state[4])),
                                     0x1B);  // EFGH
    __m128i abef = _mm_alignr_epi8(dcba, cdgh, 8);
    cdgh = _mm_blend_epi16(cdgh, dcba, 0xF0);
    for (; blocks > 0; --blocks, data += 64) {
        const __m128i abefBefore = abef;
        const __m128i cdghBefore = cdgh;
        __m128i words[4];  // the schedule's last sixteen words, four to a vector
                           // Unrolled, the four words stay in registers.
#pragma GCC unroll 16
        for (std::size_t group = 0; group < 16; ++group) {
            __m128i& current = words[group % 4];
            if (group < 4) {
                current = _mm_shuffle_epi8(
                    _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 16 * group)), byteSwap);
            } else {
                // W[t] = s1(W[t-2]) + W[t-7] + s0(W[t-15]) + W[t-16], four at a time.
                const __m128i& previous = words[(group + 3) % 4];
                __m128i next = _mm_sha256msg1_epu32(current, words[(group + 1) % 4]);
                next = _mm_add_epi32(next, _mm_alignr_epi8(previous, words[(group + 2) % 4], 4));
                current = _mm_sha256msg2_epu32(next, previous);
            }
            __m128i message = _mm_add_epi32(
                current,
                _mm_load_si128(reinterpret_cast<const __m128i*>(&kRoundConstants[4 * group])));
            cdgh = _mm_sha256rnds2_epu32(cdgh, abef, message);
            message = _mm_shuffle_epi32(message, 0x0E);
            abef = _mm_sha256rnds2_epu32(abef, cdgh, message);
        }
        abef = _mm_add_epi32(abef, abefBefore);
        cdgh = _mm_add_epi32(cdgh, cdghBefore);
    }
    const __m128i feba = _mm_shuffle_epi32(abef, 0x1B);
    const __m128i dchg = _mm_shuffle_epi32(cdgh, 0xB1);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(&state[0]), _mm_blend_epi16(feba, dchg, 0xF0));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(&state[4]), _mm_alignr_epi8(dchg, feba, 8));
}

bool ProcessorHasExtensions() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("sha") && __builtin_cpu_supports("sse4.1");
}
#endif

Compressor FastestCompressor() {
#ifdef QUARN_SHA256_EXTENSIONS
    static const Compressor chosen =
        ProcessorHasExtensions() ? CompressWithExtensions : CompressPortable;
    return chosen;
#else
    return CompressPortable;
#endif
}

}  // namespace

Sha256::Sha256(Sha256Engine engine)
    : compress_(engine == Sha256Engine::Portable ? CompressPortable : FastestCompressor()),
      state_{0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
             0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19} {}

void Sha256::Add(std::string_view data) {
    length_ += data.size();
    const auto* bytes = reinterpret_cast<const uint8_t*>(data.data());
    std::size_t left = data.size();
    if (used_ > 0) {
        const std::size_t taken = std::min(left, 64 - used_);
        std::copy_n(bytes, taken, pending_.begin() + static_cast<std::ptrdiff_t>(used_));
        used_ += taken;
        bytes += taken;
        left -= taken;
        if (used_ < 64) {
            return;
        }
        compress_(state_, pending_.data(), 1);
        used_ = 0;
    }
    compress_(state_, bytes, left / 64);  // whole blocks straight from the input
    used_ = left % 64;
    std::copy_n(bytes + (left - used_), used_, pending_.begin());
}

Sha256::Hex Sha256::Finish() {
    // The 0x80 marker and the length in bits fill the last one or two blocks.
    std::fill(pending_.begin() + static_cast<std::ptrdiff_t>(used_), pending_.end(), 0);
    pending_[used_] = 0x80;
    const std::size_t lastBlocks = used_ < 56 ? 1 : 2;
    const uint64_t bits = length_ * 8;
    for (std::size_t i = 0; i < 8; ++i) {
        pending_[lastBlocks * 64 - 1 - i] = static_cast<uint8_t>(bits >> (8 * i));
    }
    compress_(state_, pending_.data(), lastBlocks);

    static constexpr char kDigits[] = "0123456789abcdef";
    Hex hex;
    for (std::size_t word = 0; word < 8; ++word) {
        for (std::size_t digit = 0; digit < 8; ++digit) {
            hex[word * 8 + digit] = kDigits[(state_[word] >> (28 - 4 * digit)) & 0xf];
        }
    }
    return hex;
}

bool Sha256::InHardware() {
#ifdef QUARN_SHA256_EXTENSIONS
    return FastestCompressor() == CompressWithExtensions;
#else
    return false;
#endif
}

std::string Sha256Hex(std::string_view data, Sha256Engine engine) {
    Sha256 digest(engine);
    digest.Add(data);
    const Sha256::Hex hex = digest.Finish();
    return {hex.begin(), hex.end()};
}

}  // namespace quarn::suite
