#pragma once

#include "versiondb/Error.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <gtest/gtest.h>
#include <map>

// Readable failure messages.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace versiondbtest {

// 번호 -> (성경구절, 본문) of every record of a version.
using Records = std::map<int, std::pair<QVariant, QVariant>>;

// A test's own folder, with helpers to make and inspect version files in it.
class VersionFixture : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

public:
    [[nodiscard]] QString path(const QString& name) const { return m_dir.filePath(name); }
    [[nodiscard]] QString folder() const { return m_dir.path(); }

    // A version file with records 1..count: 번호 i, 권 1 + (i - 1) / 100, 장 1, 절 i, 성경구절 "창 1:i", 본문
    // Null, or with texts: every third verse a text, long ones and the letters "null" among them.
    QString makeVersion(const QString& name, int count, bool withTexts = false) const;

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

// Every record of a version file, read through the engine.
[[nodiscard]] Records read(const QString& path);

// Runs SQL on a closed file through SQLite itself (opened for writing, so that it
// leaves no side file); the first column of the rows, joined, or the error.
[[nodiscard]] QString sql(const QString& path, const QString& statements);

// The result of SQLite's integrity check of a closed file.
[[nodiscard]] inline QString integrityOf(const QString& path)
{
    return sql(path, QStringLiteral("PRAGMA integrity_check"));
}

} // namespace versiondbtest
