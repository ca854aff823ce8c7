#pragma once

#include <QByteArray>
#include <QString>

namespace versiondb {

// The connect string that opens every version database: ";pwd=" and the database password.
[[nodiscard]] QString passwordConnect();

// The password of a connect string (the text after "pwd=" up to the next ";"), empty when it has none.
[[nodiscard]] QString passwordOf(const QString& connect);

// What a version file keeps of its password: a salted key derivation, never the password itself.
struct PasswordVerifier
{
    QByteArray salt;
    int iterations = 0;
    QByteArray key;

    // A new verifier of the database password with a fresh salt.
    [[nodiscard]] static PasswordVerifier forDatabasePassword();
    // True when password derives to this verifier's key.
    [[nodiscard]] bool matches(const QString& password) const;
};

// PBKDF2 with HMAC-SHA-256.
[[nodiscard]] QByteArray deriveKey(const QByteArray& password, const QByteArray& salt, int iterations, int length);

} // namespace versiondb
