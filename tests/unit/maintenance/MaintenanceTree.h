#pragma once

#include <QByteArray>
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

    [[nodiscard]] bool isValid() const { return m_valid; }
    [[nodiscard]] QString installFolder() const;
    [[nodiscard]] QString programFolder() const;
    // The install folder, the separator and the name.
    [[nodiscard]] QString path(const QString& name) const;
    [[nodiscard]] QString scratchPath() const;

    // A version of count records, 번호 1..count, 성경구절 "창 1:i", a text in most of them.
    [[nodiscard]] QString makeVersion(const QString& name, int count) const;
    // Rewrites the texts of every other record several times, so that the file holds free pages.
    static void churn(const QString& path);

    [[nodiscard]] QStringList installEntries() const; // files and folders of the install folder but "manager"
    [[nodiscard]] QStringList programEntries() const;

    // Every record, or nothing when the file does not open with the password.
    [[nodiscard]] static std::optional<Records> read(const QString& path);
    // SQLite's integrity check of a closed file.
    [[nodiscard]] static QString integrityOf(const QString& path);
    [[nodiscard]] static QByteArray bytes(const QString& path);
    static void write(const QString& path, const QByteArray& content);
    // Runs SQL on the file without the engine (to damage it).
    static void execRaw(const QString& path, const char* sql);
    [[nodiscard]] static qint64 queryRaw(const QString& path, const QString& sql);

private:
    QTemporaryDir m_root;
    bool m_valid = false;
};

} // namespace maintenancetest
