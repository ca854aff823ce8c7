#include "VersionFixture.h"

#include "versiondb/DBEngine.h"
#include "versiondb/Database.h"
#include "versiondb/Password.h"
#include "versiondb/Recordset.h"
#include "versiondb/VersionFile.h"

#include <QDir>
#include <QFile>
#include <sqlite3.h>

namespace versiondbtest {

QString VersionFixture::makeVersion(const QString& name, int count) const
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
        rs->Update();
    }
    rs->Close();
    db->Close();
    return file;
}

QByteArray VersionFixture::bytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    return f.readAll();
}

QStringList VersionFixture::entries() const
{
    return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

void insertRaw(const QString& path, int number, const QString& reference, const QString& text)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    sqlite3_stmt* stmt = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, "INSERT INTO \"본문\" (\"번호\", \"성경구절\", \"본문\") VALUES (?1, ?2, ?3)", -1,
                                 &stmt, nullptr),
              SQLITE_OK);
    const QByteArray ref = reference.toUtf8();
    const QByteArray body = text.toUtf8();
    sqlite3_bind_int(stmt, 1, number);
    sqlite3_bind_text(stmt, 2, ref.constData(), static_cast<int>(ref.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(stmt, 3, body.constData(), static_cast<int>(body.size()), SQLITE_TRANSIENT);
    EXPECT_EQ(sqlite3_step(stmt), SQLITE_DONE);
    sqlite3_finalize(stmt);
    sqlite3_close(db);
}

QString integrityOf(const QString& path)
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

} // namespace versiondbtest
