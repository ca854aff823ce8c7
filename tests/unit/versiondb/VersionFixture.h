#pragma once

#include "versiondb/Error.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Readable failure messages.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace versiondbtest {

// A test's own folder, with helpers to make and inspect version files in it.
class VersionFixture : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

public:
    [[nodiscard]] QString path(const QString& name) const { return m_dir.filePath(name); }
    [[nodiscard]] QString folder() const { return m_dir.path(); }

    // A version file with records 1..count: 번호 i, 권 1 + (i - 1) / 100, 장 1, 절 i, 성경구절 "창 1:i", 본문 Null.
    QString makeVersion(const QString& name, int count) const;

    // The bytes of a file, for "nothing changed" checks.
    [[nodiscard]] static QByteArray bytes(const QString& path);
    // The entries of the test's folder.
    [[nodiscard]] QStringList entries() const;

private:
    QTemporaryDir m_dir;
};

// The error number that running f raises, or 0 when it raises none.
template <typename F> int errorOf(F&& f)
{
    try {
        f();
    } catch (const versiondb::Error& e) {
        return e.Number();
    }
    return 0;
}

// Adds one record (번호, 성경구절, 본문) to a closed version file through SQLite itself.
void insertRaw(const QString& path, int number, const QString& reference, const QString& text);

// The result of SQLite's integrity check of a closed file (opened for writing, so that it leaves no side file).
[[nodiscard]] QString integrityOf(const QString& path);

} // namespace versiondbtest
