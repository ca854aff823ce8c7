#include "MaintenanceTree.h"

#include "platform/ProgramFolders.h"
#include "versiondb/DBEngine.h"
#include "versiondb/Database.h"
#include "versiondb/Error.h"
#include "versiondb/Password.h"
#include "versiondb/Recordset.h"
#include "versiondb/VersionFile.h"
#include "versiondb/Transaction.h"

#include <QDir>
#include <QFile>
#include <sqlite3.h>

namespace maintenancetest {

namespace {

std::unique_ptr<versiondb::Recordset> openVersion(const QString& path, std::unique_ptr<versiondb::Database>& db)
{
    db = versiondb::DBEngine::instance().OpenDatabase(path, true, false, versiondb::passwordConnect());
    auto rs = db->OpenRecordset(QStringLiteral("본문"));
    rs->setIndex(QStringLiteral("번호"));
    return rs;
}

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

MaintenanceTree::MaintenanceTree()
{
    if (!m_root.isValid() || !QDir(m_root.path()).mkdir(QStringLiteral("manager"))) {
        qFatal("cannot make a temporary install tree");
    }
}

QString MaintenanceTree::installFolder() const
{
    return QDir::toNativeSeparators(m_root.path());
}

QString MaintenanceTree::path(const QString& name) const
{
    return installFolder() + platform::separator() + name;
}

QStringList MaintenanceTree::installEntries() const
{
    QStringList entries = entriesOf(m_root.path());
    entries.removeAll(QStringLiteral("manager"));
    return entries;
}

QStringList MaintenanceTree::programEntries() const
{
    return entriesOf(programFolder());
}

QString MaintenanceTree::makeVersion(const QString& name, int count) const
{
    const QString file = path(name);
    versiondb::VersionFile::create(file, versiondb::PasswordVerifier::forDatabasePassword());
    std::unique_ptr<versiondb::Database> db;
    auto rs = openVersion(file, db);
    versiondb::Transaction transaction(*db);
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
    transaction.Commit();
    return file;
}

void MaintenanceTree::churn(const QString& path)
{
    std::unique_ptr<versiondb::Database> db;
    auto rs = openVersion(path, db);
    const int count = rs->RecordCount();
    versiondb::Transaction transaction(*db);
    for (const QString& text : {QStringLiteral("길게 늘인 본문 %1 ").repeated(40), QStringLiteral("짧은 본문 %1")}) {
        for (int i = 1; i <= count; i += 2) {
            rs->Seek(QStringLiteral("="), i);
            rs->Edit();
            rs->Fields(QStringLiteral("본문")).setValue(text.arg(i));
            rs->Update();
        }
    }
    transaction.Commit();
}

std::optional<Records> MaintenanceTree::read(const QString& path)
{
    try {
        Records out;
        std::unique_ptr<versiondb::Database> db;
        auto rs = openVersion(path, db);
        if (rs->RecordCount() > 0) {
            for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
                out[rs->Fields(QStringLiteral("번호")).Value().toInt()] = {
                    rs->Fields(QStringLiteral("성경구절")).Value(), rs->Fields(QStringLiteral("본문")).Value()};
            }
        }
        return out;
    } catch (const versiondb::Error&) {
        return std::nullopt;
    }
}

QString MaintenanceTree::sql(const QString& path, const QString& statements)
{
    sqlite3* db = nullptr;
    QString result = QStringLiteral("cannot open");
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        result.clear();
        const auto collect = [](void* out, int, char** values, char**) {
            *static_cast<QString*>(out) += QString::fromUtf8(values[0] != nullptr ? values[0] : "");
            return 0;
        };
        char* error = nullptr;
        if (sqlite3_exec(db, statements.toUtf8().constData(), collect, &result, &error) != SQLITE_OK) {
            result = QString::fromUtf8(error);
        }
        sqlite3_free(error);
    }
    sqlite3_close_v2(db);
    return result;
}

QByteArray MaintenanceTree::bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void MaintenanceTree::write(const QString& path, const QByteArray& content)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(content) != content.size()) {
        qFatal("cannot write %s", qPrintable(path));
    }
}

} // namespace maintenancetest
