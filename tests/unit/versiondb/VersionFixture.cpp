#include "VersionFixture.h"

#include "versiondb/DBEngine.h"
#include "versiondb/Database.h"
#include "versiondb/Password.h"
#include "versiondb/Recordset.h"
#include "versiondb/VersionFile.h"
#include "versiondb/Transaction.h"

#include <QDir>
#include <QFile>
#include <sqlite3.h>

namespace versiondbtest {

QString VersionFixture::makeVersion(const QString& name, int count, bool withTexts) const
{
    const QString file = path(name);
    versiondb::VersionFile::create(file, versiondb::PasswordVerifier::forDatabasePassword());
    auto db = versiondb::DBEngine::instance().OpenDatabase(file, true, false, versiondb::passwordConnect());
    auto rs = db->OpenRecordset(QStringLiteral("본문"));
    versiondb::Transaction transaction(*db);
    for (int i = 1; i <= count; ++i) {
        rs->AddNew();
        rs->Fields(QStringLiteral("번호")).setValue(i);
        rs->Fields(QStringLiteral("권")).setValue(1 + (i - 1) / 100);
        rs->Fields(QStringLiteral("장")).setValue(1);
        rs->Fields(QStringLiteral("절")).setValue(i);
        rs->Fields(QStringLiteral("성경구절")).setValue(QStringLiteral("창 1:%1").arg(i));
        if (withTexts && i % 3 == 1) {
            rs->Fields(QStringLiteral("본문"))
                .setValue(i % 2 == 0
                              ? QStringLiteral("null")
                              : QStringLiteral("태초에 하나님이 천지를 창조하시니라 %1 ").arg(i).repeated(1 + i % 7));
        }
        rs->Update();
    }
    transaction.Commit();
    rs->Close();
    db->Close();
    return file;
}

QByteArray VersionFixture::bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList VersionFixture::entries() const
{
    return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

Records read(const QString& path)
{
    Records out;
    auto db = versiondb::DBEngine::instance().OpenDatabase(path, true, false, versiondb::passwordConnect());
    auto rs = db->OpenRecordset(QStringLiteral("본문"));
    rs->setIndex(QStringLiteral("번호"));
    if (rs->RecordCount() == 0) {
        return out;
    }
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
        out[rs->Fields(QStringLiteral("번호")).Value().toInt()] = {rs->Fields(QStringLiteral("성경구절")).Value(),
                                                                   rs->Fields(QStringLiteral("본문")).Value()};
    }
    return out;
}

QString sql(const QString& path, const QString& statements)
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

} // namespace versiondbtest
