#include "versiondb/Sha256.h"

#include <bit>

namespace versiondb {

namespace {

constexpr std::array<std::uint32_t, 64> kRoundConstants = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2,
};

// One round. The eight working variables change roles from round to round instead of moving:
// the caller passes them rotated by one each time, so only d and h are written.
inline void round(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t& d, std::uint32_t e, std::uint32_t f,
                  std::uint32_t g, std::uint32_t& h, std::uint32_t constantPlusWord)
{
    const std::uint32_t t1 =
        h + (std::rotr(e, 6) ^ std::rotr(e, 11) ^ std::rotr(e, 25)) + (g ^ (e & (f ^ g))) + constantPlusWord;
    const std::uint32_t t2 = (std::rotr(a, 2) ^ std::rotr(a, 13) ^ std::rotr(a, 22)) + ((a & b) | (c & (a | b)));
    d += t1;
    h = t1 + t2;
}

} // namespace

void Sha256::compress(State& state, const BlockWords& block)
{
    std::array<std::uint32_t, 64> w;
    for (std::size_t i = 0; i < 16; ++i) {
        w[i] = block[i];
    }
    for (std::size_t i = 16; i < 64; ++i) {
        const std::uint32_t s0 = std::rotr(w[i - 15], 7) ^ std::rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
        const std::uint32_t s1 = std::rotr(w[i - 2], 17) ^ std::rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
        w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }
    std::uint32_t a = state[0];
    std::uint32_t b = state[1];
    std::uint32_t c = state[2];
    std::uint32_t d = state[3];
    std::uint32_t e = state[4];
    std::uint32_t f = state[5];
    std::uint32_t g = state[6];
    std::uint32_t h = state[7];
    for (std::size_t i = 0; i < 64; i += 8) {
        round(a, b, c, d, e, f, g, h, kRoundConstants[i] + w[i]);
        round(h, a, b, c, d, e, f, g, kRoundConstants[i + 1] + w[i + 1]);
        round(g, h, a, b, c, d, e, f, kRoundConstants[i + 2] + w[i + 2]);
        round(f, g, h, a, b, c, d, e, kRoundConstants[i + 3] + w[i + 3]);
        round(e, f, g, h, a, b, c, d, kRoundConstants[i + 4] + w[i + 4]);
        round(d, e, f, g, h, a, b, c, kRoundConstants[i + 5] + w[i + 5]);
        round(c, d, e, f, g, h, a, b, kRoundConstants[i + 6] + w[i + 6]);
        round(b, c, d, e, f, g, h, a, kRoundConstants[i + 7] + w[i + 7]);
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
    state[4] += e;
    state[5] += f;
    state[6] += g;
    state[7] += h;
}

void Sha256::compressBuffer()
{
    BlockWords words;
    for (std::size_t i = 0; i < words.size(); ++i) {
        words[i] = (std::uint32_t{m_buffer[4 * i]} << 24) | (std::uint32_t{m_buffer[4 * i + 1]} << 16) |
                   (std::uint32_t{m_buffer[4 * i + 2]} << 8) | std::uint32_t{m_buffer[4 * i + 3]};
    }
    compress(m_state, words);
    m_buffered = 0;
}

void Sha256::add(std::span<const std::uint8_t> data)
{
    m_length += data.size();
    for (const std::uint8_t byte : data) {
        m_buffer[m_buffered++] = byte;
        if (m_buffered == kBlockSize) {
            compressBuffer();
        }
    }
}

Sha256::Digest Sha256::finish()
{
    const std::uint64_t bits = m_length * 8;
    m_buffer[m_buffered++] = 0x80;
    if (m_buffered > kBlockSize - 8) {
        while (m_buffered < kBlockSize) {
            m_buffer[m_buffered++] = 0;
        }
        compressBuffer();
    }
    while (m_buffered < kBlockSize - 8) {
        m_buffer[m_buffered++] = 0;
    }
    for (int shift = 56; shift >= 0; shift -= 8) {
        m_buffer[m_buffered++] = static_cast<std::uint8_t>(bits >> shift);
    }
    compressBuffer();
    return bytesOf(m_state);
}

Sha256::Digest Sha256::of(std::span<const std::uint8_t> data)
{
    Sha256 hash;
    hash.add(data);
    return hash.finish();
}

Sha256::Digest Sha256::bytesOf(const State& state)
{
    Digest digest;
    for (std::size_t i = 0; i < state.size(); ++i) {
        digest[4 * i] = static_cast<std::uint8_t>(state[i] >> 24);
        digest[4 * i + 1] = static_cast<std::uint8_t>(state[i] >> 16);
        digest[4 * i + 2] = static_cast<std::uint8_t>(state[i] >> 8);
        digest[4 * i + 3] = static_cast<std::uint8_t>(state[i]);
    }
    return digest;
}

} // namespace versiondb
