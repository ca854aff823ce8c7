// The key derivation of the password verifier and the SHA-256 beneath it.

#include "versiondb/Password.h"

#include "versiondb/Sha256.h"

#include <QMessageAuthenticationCode>
#include <gtest/gtest.h>

using namespace versiondb;

namespace {

// PBKDF2-HMAC-SHA-256 as the standard writes it, one Qt HMAC per iteration.
QByteArray referenceKey(const QByteArray& password, const QByteArray& salt, int iterations, int length)
{
    QByteArray result;
    for (quint32 block = 1; result.size() < length; ++block) {
        QByteArray counter(4, '\0');
        for (int k = 0; k < 4; ++k) {
            counter[k] = char(block >> (24 - 8 * k));
        }
        QByteArray u = QMessageAuthenticationCode::hash(salt + counter, password, QCryptographicHash::Sha256);
        QByteArray t = u;
        for (int i = 1; i < iterations; ++i) {
            u = QMessageAuthenticationCode::hash(u, password, QCryptographicHash::Sha256);
            for (qsizetype j = 0; j < t.size(); ++j) {
                t[j] = char(t[j] ^ u[j]);
            }
        }
        result += t;
    }
    return result.left(length);
}

QByteArray hexOf(const Sha256::Digest& digest)
{
    return QByteArray(reinterpret_cast<const char*>(digest.data()), qsizetype(digest.size())).toHex();
}

} // namespace

TEST(DeriveKey, equalsTheStraightforwardDerivation)
{
    const QByteArray longPassword = QByteArray("a password longer than one block of the hash, ").repeated(3);
    const QByteArray passwords[] = {QByteArray(), QByteArray("Brackwind4417"), QByteArray(64, 'k'), QByteArray(65, 'k'),
                                    longPassword, QByteArray("\0\xff\x80", 3)};
    const QByteArray salts[] = {QByteArray(),
                                QByteArray("\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0b\x0c\x0d\x0e\x0f\x10", 16),
                                QByteArray(55, 's'), QByteArray(60, 's'), QByteArray(130, '\xa5')};
    const struct
    {
        int iterations;
        int length;
    } shapes[] = {{1, 32}, {2, 32}, {2000, 32}, {1, 48}, {3, 48}, {2, 16}, {2, 96}};
    for (const QByteArray& password : passwords) {
        for (const QByteArray& salt : salts) {
            for (const auto& [iterations, length] : shapes) {
                EXPECT_EQ(deriveKey(password, salt, iterations, length).toHex(),
                          referenceKey(password, salt, iterations, length).toHex())
                    << "password " << password.toHex().constData() << " salt " << salt.toHex().constData()
                    << " iterations " << iterations << " length " << length;
            }
        }
    }
}

TEST(Sha256, hashesTheStandardVectors)
{
    const auto hashOf = [](const QByteArray& message) {
        return hexOf(Sha256::of(
            {reinterpret_cast<const std::uint8_t*>(message.constData()), static_cast<std::size_t>(message.size())}));
    };
    const std::pair<QByteArray, QByteArray> cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {QByteArray(1'000'000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& [message, digest] : cases) {
        EXPECT_EQ(hashOf(message), digest) << message.left(60).constData();
    }
    // Added piece by piece, across block boundaries, the digest is the same.
    const QByteArray message = QByteArray("0123456789").repeated(20);
    Sha256 pieces;
    for (qsizetype at = 0, step = 1; at < message.size(); at += step, step = step * 2 % 97 + 1) {
        const QByteArray piece = message.mid(at, step);
        pieces.add({reinterpret_cast<const std::uint8_t*>(piece.constData()), static_cast<std::size_t>(piece.size())});
    }
    EXPECT_EQ(hexOf(pieces.finish()), hashOf(message));
}
