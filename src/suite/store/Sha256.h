#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace quarn::suite {

/// Which code compresses the blocks: the processor's SHA extensions where it has them (x86-64),
/// otherwise our portable code. Both give the same digest; the choice only costs or saves time.
enum class Sha256Engine { Fastest, Portable };

/// A SHA-256 digest of data given in pieces, as 64 lower-case hexadecimal digits, as PostgreSQL's
/// encode(sha256(...), 'hex') writes it. The store seals its change log with it in our own code,
/// since SQLite has no hash function in SQL.
class Sha256 {
  public:
    using Hex = std::array<char, 64>;

    explicit Sha256(Sha256Engine engine = Sha256Engine::Fastest);
    void Add(std::string_view data);
    /// The digest of everything added; the object takes nothing more after it.
    Hex Finish();

    /// Whether `Sha256Engine::Fastest` uses the processor's SHA extensions on this machine.
    static bool InHardware();

  private:
    using Compressor = void (*)(std::array<uint32_t, 8>& state, const uint8_t* data,
                                std::size_t blocks);
    Compressor compress_;
    std::array<uint32_t, 8> state_;
    std::array<uint8_t, 128> pending_{};  // the start of a block; two for the padding at the end
    std::size_t used_ = 0;
    uint64_t length_ = 0;
};

/// The digest of `data`.
std::string Sha256Hex(std::string_view data, Sha256Engine engine = Sha256Engine::Fastest);

}  // namespace quarn::suite
