#include "unit/editor/SmallVersions.h"

#include "support/TestPaths.h"
#include "versiondb/DBEngine.h"
#include "versiondb/Database.h"
#include "versiondb/Error.h"
#include "versiondb/Password.h"
#include "versiondb/Recordset.h"
#include "versiondb/Transaction.h"

#include <QDir>
#include <QFile>

namespace editortest {

namespace {

const QString kTable = QStringLiteral("본문");

std::unique_ptr<versiondb::Database> openVersion(const QString& path)
{
    return versiondb::DBEngine::instance().OpenDatabase(path, true, false, versiondb::passwordConnect());
}

} // namespace

QList<Verse> sampleVerses()
{
    return {
        {1, QStringLiteral("창 1:1"), QStringLiteral("태초에 하나님이 천지를 창조하시니라")},
        {2, QStringLiteral("창 1:2"), QVariant()},
        {3, QStringLiteral("창 1:3"), QStringLiteral("null")},
        {4, QStringLiteral("창 1:10"), QStringLiteral("하나님이 뭍을 땅이라 칭하시고")},
        {5, QStringLiteral("출 1:1"), QStringLiteral("야곱과 함께 각기 권속을 데리고 애굽에 이른")},
        {6, QStringLiteral("계 22:21"), QStringLiteral("주 예수의 은혜가 모든 자들에게 있을지어다 아멘")},
    };
}

VersionTree::VersionTree()
{
    if (!m_root.isValid() || !QDir(m_root.path()).mkpath(QStringLiteral("viewer/manager"))) {
        return;
    }
    m_valid = QFile::copy(testsupport::builtProgramFolder() + QStringLiteral("/null.mdb"),
                          m_root.filePath(QStringLiteral("viewer/manager/null.mdb")));
}

QString VersionTree::makeVersion(const QString& name, const QList<Verse>& verses) const
{
    const QString path = pathOf(name);
    if (!QFile::copy(programFolder() + QDir::separator() + QStringLiteral("null.mdb"), path)) {
        return {};
    }
    try {
        auto db = openVersion(path);
        auto rs = db->OpenRecordset(kTable);
        versiondb::Transaction transaction(*db);
        for (const Verse& v : verses) {
            rs->AddNew();
            rs->Fields(QStringLiteral("번호")).setValue(v.number);
            rs->Fields(QStringLiteral("권")).setValue(1);
            rs->Fields(QStringLiteral("장")).setValue(1);
            rs->Fields(QStringLiteral("절")).setValue(v.number);
            rs->Fields(QStringLiteral("성경구절")).setValue(v.reference);
            if (!v.text.isNull()) {
                rs->Fields(QStringLiteral("본문")).setValue(v.text);
            }
            rs->Update();
        }
        transaction.Commit();
        rs->Close();
        db->Close();
    } catch (const versiondb::Error&) {
        return {};
    }
    return path;
}

QString VersionTree::writeFile(const QString& name, const QByteArray& bytes) const
{
    const QString path = pathOf(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        return {};
    }
    return path;
}

QList<StoredRecord> storedRecords(const QString& path)
{
    QList<StoredRecord> records;
    auto db = openVersion(path);
    auto rs = db->OpenRecordset(kTable);
    rs->setIndex(QStringLiteral("번호"));
    const auto field = [&rs](const char* name) { return rs->Fields(QString::fromUtf8(name)).Value(); };
    if (rs->RecordCount() > 0) {
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
            records.append({field("번호"), field("권"), field("장"), field("절"), field("성경구절"), field("본문")});
        }
    }
    rs->Close();
    db->Close();
    return records;
}

std::optional<QVariant> storedText(const QString& path, const QString& reference)
{
    auto db = openVersion(path);
    auto rs = db->OpenRecordset(kTable);
    rs->setIndex(QStringLiteral("성경구절"));
    rs->Seek(QStringLiteral("="), reference);
    std::optional<QVariant> text;
    if (!rs->NoMatch()) {
        text = rs->Fields(QStringLiteral("본문")).Value();
    }
    rs->Close();
    db->Close();
    return text;
}

bool openable(const QString& path)
{
    try {
        auto db = openVersion(path);
        db->Close();
        return true;
    } catch (const versiondb::Error&) {
        return false;
    }
}

} // namespace editortest
