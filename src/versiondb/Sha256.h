#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace versiondb {

// SHA-256 whose chaining state can be copied and resumed. The password verifier needs this to
// absorb the HMAC key blocks once and then start every iteration from the saved states.
class Sha256
{
public:
    static constexpr std::size_t kBlockSize = 64;
    static constexpr std::size_t kDigestSize = 32;

    // The eight chaining words; after the last block they are the digest, word by word, big-endian.
    using State = std::array<std::uint32_t, 8>;
    // One 64-byte block read as sixteen big-endian words.
    using BlockWords = std::array<std::uint32_t, 16>;
    using Digest = std::array<std::uint8_t, kDigestSize>;

    static constexpr State kInitialState = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                            0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

    // Absorbs one block into state.
    static void compress(State& state, const BlockWords& block);

    void add(std::span<const std::uint8_t> data);
    // The chaining state: only whole blocks of the data added have reached it; after finish it is the
    // digest as words.
    [[nodiscard]] const State& state() const { return m_state; }
    // The digest of everything added; the hash is spent afterwards.
    [[nodiscard]] Digest finish();

    [[nodiscard]] static Digest of(std::span<const std::uint8_t> data);
    [[nodiscard]] static Digest bytesOf(const State& state);

private:
    void compressBuffer();

    State m_state = kInitialState;
    std::array<std::uint8_t, kBlockSize> m_buffer{};
    std::size_t m_buffered = 0;
    std::uint64_t m_length = 0;
};

} // namespace versiondb
