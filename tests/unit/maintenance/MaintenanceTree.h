#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <map>
#include <optional>
#include <utility>

namespace maintenancetest {

// 번호 -> (성경구절, 본문) of every record of a version.
using Records = std::map<int, std::pair<QVariant, QVariant>>;

// A test's own install folder with the program folder "manager" inside it.
class MaintenanceTree
{
public:
    MaintenanceTree();

    [[nodiscard]] QString installFolder() const;
    [[nodiscard]] QString programFolder() const { return path(QStringLiteral("manager")); }
    [[nodiscard]] QString path(const QString& name) const; // the install folder, the separator and the name
    [[nodiscard]] QString scratchPath() const { return programFolder() + QDir::separator() + "temp.mdb"; }
    [[nodiscard]] QStringList installEntries() const; // but "manager"
    [[nodiscard]] QStringList programEntries() const;

    // A version of count records, 번호 1..count, 성경구절 "창 1:i", a text in most of them.
    [[nodiscard]] QString makeVersion(const QString& name, int count) const;
    // Rewrites the texts of every other record twice, so that the file holds free pages.
    static void churn(const QString& path);
    // Every record, or nothing when the file does not open with the password.
    [[nodiscard]] static std::optional<Records> read(const QString& path);
    // Runs SQL on a closed file without the engine; the first column of its rows, joined, or the error.
    [[nodiscard]] static QString sql(const QString& path, const QString& statements);
    [[nodiscard]] static QString integrityOf(const QString& path) { return sql(path, "PRAGMA integrity_check"); }
    [[nodiscard]] static QByteArray bytes(const QString& path);
    static void write(const QString& path, const QByteArray& content);

private:
    QTemporaryDir m_root;
};

} // namespace maintenancetest
