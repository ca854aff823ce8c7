#include "versiondb/Password.h"

#include <QMessageAuthenticationCode>
#include <QMutex>
#include <QRandomGenerator>
#include <QSet>

namespace versiondb {

namespace {

// The one place of the database password.
const QString kPassword = QStringLiteral("Brackwind4417");
constexpr int kIterations = 2000;
constexpr int kKeyLength = 32;
constexpr int kSaltLength = 16;
constexpr int kMaxIterations = 1'000'000;

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
    // PBKDF2 (RFC 8018) over Qt's HMAC: QPasswordDigestor would bring in QtNetwork.
    QMessageAuthenticationCode mac(QCryptographicHash::Sha256, password);
    QByteArray result;
    for (quint32 block = 1; result.size() < length; ++block) {
        mac.reset();
        mac.addData(salt);
        const char counter[4] = {char(block >> 24), char(block >> 16), char(block >> 8), char(block)};
        mac.addData(counter, 4);
        QByteArray u = mac.result();
        QByteArray t = u;
        for (int i = 1; i < iterations; ++i) {
            mac.reset();
            mac.addData(u);
            u = mac.result();
            for (qsizetype j = 0; j < t.size(); ++j) {
                t[j] = static_cast<char>(t[j] ^ u[j]);
            }
        }
        result += t;
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
    // matched once in this process matches again without it. Versions are opened on several threads at once (the
    // main window's list, a run's worker), so the set is shared under a lock.
    static QSet<QByteArray> matched;
    static QMutex matchedLock;
    const QByteArray seen =
        QByteArray::number(salt.size()) + ':' + salt + QByteArray::number(iterations) + ':' + key + password.toUtf8();
    if (const QMutexLocker locker(&matchedLock); matched.contains(seen)) {
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
    const QMutexLocker locker(&matchedLock);
    matched.insert(seen);
    return true;
}

} // namespace versiondb
