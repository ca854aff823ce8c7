#include "versiondb/Password.h"

#include "versiondb/Sha256.h"

#include <QRandomGenerator>
#include <QSet>
#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

namespace versiondb {

namespace {

// The one place of the database password.
const QString kPassword = QStringLiteral("Brackwind4417");
constexpr int kIterations = 2000;
constexpr int kKeyLength = 32;
constexpr int kSaltLength = 16;
constexpr int kMaxIterations = 1'000'000;

std::span<const std::uint8_t> bytesOf(const QByteArray& data)
{
    return {reinterpret_cast<const std::uint8_t*>(data.constData()), static_cast<std::size_t>(data.size())};
}

// HMAC-SHA-256 of one key: the hashes after absorbing the key block XOR ipad and XOR opad.
struct HmacKeyStates
{
    Sha256 inner;
    Sha256 outer;
};

HmacKeyStates hmacKeyStates(const QByteArray& key)
{
    // A key longer than a block is replaced by its hash; a shorter one is padded with zeros.
    std::array<std::uint8_t, Sha256::kBlockSize> keyBlock{};
    if (static_cast<std::size_t>(key.size()) > keyBlock.size()) {
        const Sha256::Digest digest = Sha256::of(bytesOf(key));
        std::copy(digest.begin(), digest.end(), keyBlock.begin());
    } else {
        const std::span<const std::uint8_t> bytes = bytesOf(key);
        std::copy(bytes.begin(), bytes.end(), keyBlock.begin());
    }
    HmacKeyStates states;
    std::array<std::uint8_t, Sha256::kBlockSize> padded;
    for (std::size_t i = 0; i < keyBlock.size(); ++i) {
        padded[i] = keyBlock[i] ^ 0x36;
    }
    states.inner.add(padded);
    for (std::size_t i = 0; i < keyBlock.size(); ++i) {
        padded[i] = keyBlock[i] ^ 0x5c;
    }
    states.outer.add(padded);
    return states;
}

} // namespace

QString passwordConnect()
{
    return QStringLiteral(";pwd=") + kPassword;
}

QString passwordOf(const QString& connect)
{
    const QString key = QStringLiteral("pwd=");
    qsizetype from = 0;
    while (from <= connect.size()) {
        qsizetype end = connect.indexOf(QLatin1Char(';'), from);
        if (end < 0) {
            end = connect.size();
        }
        const QString part = connect.mid(from, end - from);
        if (part.startsWith(key, Qt::CaseInsensitive)) {
            return part.mid(key.size());
        }
        from = end + 1;
    }
    return {};
}

QByteArray deriveKey(const QByteArray& password, const QByteArray& salt, int iterations, int length)
{
    // HMAC-SHA-256 hashes its key blocks first: their states are taken once here, so that every
    // further iteration costs one compression for the inner hash and one for the outer.
    const HmacKeyStates keyStates = hmacKeyStates(password);
    // An iteration hashes one 32-byte digest after the 64-byte key block: the message fills one
    // block with its padding, of which only the first eight words change.
    Sha256::BlockWords block{};
    block[8] = 0x80000000;
    block[15] = (Sha256::kBlockSize + Sha256::kDigestSize) * 8;

    QByteArray result;
    for (quint32 blockNumber = 1; result.size() < length; ++blockNumber) {
        const std::array<std::uint8_t, 4> counter = {
            static_cast<std::uint8_t>(blockNumber >> 24), static_cast<std::uint8_t>(blockNumber >> 16),
            static_cast<std::uint8_t>(blockNumber >> 8), static_cast<std::uint8_t>(blockNumber)};
        Sha256 inner = keyStates.inner;
        inner.add(bytesOf(salt));
        inner.add(counter);
        Sha256 outer = keyStates.outer;
        outer.add(inner.finish());
        (void)outer.finish(); // the digest is wanted as words, which the state holds
        Sha256::State u = outer.state();
        Sha256::State t = u;
        for (int i = 1; i < iterations; ++i) {
            std::copy(u.begin(), u.end(), block.begin());
            Sha256::State innerState = keyStates.inner.state();
            Sha256::compress(innerState, block);
            std::copy(innerState.begin(), innerState.end(), block.begin());
            u = keyStates.outer.state();
            Sha256::compress(u, block);
            for (std::size_t j = 0; j < t.size(); ++j) {
                t[j] ^= u[j];
            }
        }
        const Sha256::Digest digest = Sha256::bytesOf(t);
        result.append(reinterpret_cast<const char*>(digest.data()), static_cast<qsizetype>(digest.size()));
    }
    return result.left(length);
}

PasswordVerifier PasswordVerifier::forDatabasePassword()
{
    PasswordVerifier v;
    v.salt.resize(kSaltLength);
    for (qsizetype i = 0; i < v.salt.size(); ++i) {
        v.salt[i] = static_cast<char>(QRandomGenerator::system()->bounded(256));
    }
    v.iterations = kIterations;
    v.key = deriveKey(kPassword.toUtf8(), v.salt, v.iterations, kKeyLength);
    return v;
}

bool PasswordVerifier::matches(const QString& password) const
{
    if (iterations < 1 || iterations > kMaxIterations || key.size() != kKeyLength || salt.isEmpty()) {
        return false;
    }
    // The derivation is slow on purpose, and a run opens files of the same verifier again and
    // again (every version made from the template carries the template's): a verifier that
    // matched once in this process matches again without it.
    static QSet<QByteArray> matched;
    const QByteArray seen =
        QByteArray::number(salt.size()) + ':' + salt + QByteArray::number(iterations) + ':' + key + password.toUtf8();
    if (matched.contains(seen)) {
        return true;
    }
    const QByteArray derived = deriveKey(password.toUtf8(), salt, iterations, kKeyLength);
    // Compared in full, whatever the first difference.
    unsigned char diff = 0;
    for (qsizetype i = 0; i < kKeyLength; ++i) {
        diff |= static_cast<unsigned char>(derived[i] ^ key[i]);
    }
    if (diff != 0) {
        return false;
    }
    matched.insert(seen);
    return true;
}

} // namespace versiondb
