#include "MaintenanceTree.h"

#include "platform/ProgramFolders.h"
#include "versiondb/DBEngine.h"
#include "versiondb/Database.h"
#include "versiondb/Error.h"
#include "versiondb/Password.h"
#include "versiondb/Recordset.h"
#include "versiondb/VersionFile.h"

#include <QDir>
#include <QFile>
#include <sqlite3.h>

namespace maintenancetest {

MaintenanceTree::MaintenanceTree()
{
    m_valid = m_root.isValid() && QDir(m_root.path()).mkdir(QStringLiteral("manager"));
}

QString MaintenanceTree::installFolder() const
{
    return QDir::toNativeSeparators(m_root.path());
}

QString MaintenanceTree::programFolder() const
{
    return installFolder() + platform::separator() + QStringLiteral("manager");
}

QString MaintenanceTree::path(const QString& name) const
{
    return installFolder() + platform::separator() + name;
}

QString MaintenanceTree::scratchPath() const
{
    return programFolder() + platform::separator() + QStringLiteral("temp.mdb");
}

QString MaintenanceTree::makeVersion(const QString& name, int count) const
{
    const QString file = path(name);
    versiondb::VersionFile::create(file, versiondb::PasswordVerifier::forDatabasePassword());
    auto db = versiondb::DBEngine::instance().OpenDatabase(file, true, false, versiondb::passwordConnect());
    auto rs = db->OpenRecordset(QStringLiteral("본문"));
    for (int i = 1; i <= count; ++i) {
        rs->AddNew();
        rs->Fields(QStringLiteral("번호")).setValue(i);
        rs->Fields(QStringLiteral("권")).setValue(1 + (i - 1) / 100);
        rs->Fields(QStringLiteral("장")).setValue(1);
        rs->Fields(QStringLiteral("절")).setValue(i);
        rs->Fields(QStringLiteral("성경구절")).setValue(QStringLiteral("창 1:%1").arg(i));
        if (i % 5 != 0) {
            rs->Fields(QStringLiteral("본문"))
                .setValue(QStringLiteral("태초에 하나님이 천지를 창조하시니라 %1").arg(i).repeated(1 + i % 4));
        }
        rs->Update();
    }
    rs->Close();
    db->Close();
    return file;
}

void MaintenanceTree::churn(const QString& path)
{
    auto db = versiondb::DBEngine::instance().OpenDatabase(path, true, false, versiondb::passwordConnect());
    auto rs = db->OpenRecordset(QStringLiteral("본문"));
    rs->setIndex(QStringLiteral("번호"));
    const int count = rs->RecordCount();
    for (int round = 0; round < 2; ++round) {
        for (int i = 1; i <= count; i += 2) {
            rs->Seek(QStringLiteral("="), i);
            rs->Edit();
            rs->Fields(QStringLiteral("본문"))
                .setValue(round == 0 ? QStringLiteral("길게 늘인 본문 %1 ").arg(i).repeated(40)
                                     : QStringLiteral("짧은 본문 %1").arg(i));
            rs->Update();
        }
    }
    rs->Close();
    db->Close();
}

QStringList MaintenanceTree::installEntries() const
{
    QStringList entries =
        QDir(m_root.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    entries.removeAll(QStringLiteral("manager"));
    return entries;
}

QStringList MaintenanceTree::programEntries() const
{
    return QDir(programFolder())
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

std::optional<Records> MaintenanceTree::read(const QString& path)
{
    try {
        Records out;
        auto db = versiondb::DBEngine::instance().OpenDatabase(path, true, false, versiondb::passwordConnect());
        auto rs = db->OpenRecordset(QStringLiteral("본문"));
        rs->setIndex(QStringLiteral("번호"));
        if (rs->RecordCount() > 0) {
            rs->MoveFirst();
            while (!rs->Eof()) {
                out[rs->Fields(QStringLiteral("번호")).Value().toInt()] = {
                    rs->Fields(QStringLiteral("성경구절")).Value(), rs->Fields(QStringLiteral("본문")).Value()};
                rs->MoveNext();
            }
        }
        rs->Close();
        db->Close();
        return out;
    } catch (const versiondb::Error&) {
        return std::nullopt;
    }
}

QString MaintenanceTree::integrityOf(const QString& path)
{
    sqlite3* db = nullptr;
    QString result;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &stmt, nullptr) == SQLITE_OK) {
            while (sqlite3_step(stmt) == SQLITE_ROW) {
                result += QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
            }
        } else {
            result = QString::fromUtf8(sqlite3_errmsg(db));
        }
        sqlite3_finalize(stmt);
    } else {
        result = QStringLiteral("cannot open");
    }
    sqlite3_close_v2(db);
    return result;
}

QByteArray MaintenanceTree::bytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    return f.readAll();
}

void MaintenanceTree::write(const QString& path, const QByteArray& content)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(content) != content.size()) {
        qFatal("cannot write %s", qPrintable(path));
    }
}

void MaintenanceTree::execRaw(const QString& path, const char* sql)
{
    sqlite3* db = nullptr;
    if (sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK ||
        sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
        qFatal("raw SQL failed: %s", sqlite3_errmsg(db));
    }
    sqlite3_close(db);
}

qint64 MaintenanceTree::queryRaw(const QString& path, const QString& sql)
{
    sqlite3* db = nullptr;
    qint64 result = -1;
    sqlite3_open(path.toUtf8().constData(), &db);
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW) {
        result = sqlite3_column_int64(stmt, 0);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return result;
}

} // namespace maintenancetest
