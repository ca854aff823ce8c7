// The key derivation of the password verifier and the SHA-256 beneath it, against published vectors.

#include "versiondb/Password.h"

#include "versiondb/Sha256.h"

#include <gtest/gtest.h>

using namespace versiondb;

TEST(DeriveKey, matchesThePublishedPbkdf2Sha256Vectors)
{
    EXPECT_EQ(deriveKey("password", "salt", 4096, 32).toHex(),
              QByteArray("c5e478d59288c841aa530db6845c4c8d962893a001ce4e11a4963873aa98134a"));
    // A key longer than one block of the hash.
    EXPECT_EQ(deriveKey("passwordPASSWORDpassword", "saltSALTsaltSALTsaltSALTsaltSALTsalt", 4096, 40).toHex(),
              QByteArray("348c89dbcbd32b2f32d814b8116e84cf2b17347ebc1800181c4e2a1fb8dd53e1c635518c7dac47e9"));
}

TEST(Sha256, hashesTheStandardVectorsWholeOrInPieces)
{
    const QByteArray twoBlocks("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq");
    const auto span = [](const QByteArray& b) {
        return std::span(reinterpret_cast<const std::uint8_t*>(b.constData()), static_cast<std::size_t>(b.size()));
    };
    const auto hex = [](const Sha256::Digest& d) {
        return QByteArray(reinterpret_cast<const char*>(d.data()), qsizetype(d.size())).toHex();
    };
    EXPECT_EQ(hex(Sha256::of(span(twoBlocks))),
              QByteArray("248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"));
    Sha256 pieces;
    for (qsizetype at = 0, step = 1; at < twoBlocks.size(); at += step, step = step * 2 % 37 + 1) {
        pieces.add(span(twoBlocks.mid(at, step)));
    }
    EXPECT_EQ(hex(pieces.finish()), hex(Sha256::of(span(twoBlocks))));
}
