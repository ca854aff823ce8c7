#include "support/InstallTree.h"

#include "books/BookAbbreviations.h"
#include "books/Versification.h"
#include "support/TestPaths.h"
#include "versiondb/DBEngine.h"
#include "versiondb/Database.h"
#include "versiondb/Password.h"
#include "versiondb/Recordset.h"
#include "versiondb/Transaction.h"
#include "versiondb/VersionFile.h"

#include <QFile>
#include <QStringEncoder>
#include <sqlite3.h>

namespace testsupport {

namespace {

const QString kTable = QStringLiteral("본문");

// A version opened exclusively with the password; its records in the order of the index.
struct OpenVersion
{
    explicit OpenVersion(const QString& path, const QString& index = QStringLiteral("번호"))
        : db(versiondb::DBEngine::instance().OpenDatabase(path, true, false, versiondb::passwordConnect())),
          rs(db->OpenRecordset(kTable))
    {
        rs->setIndex(index);
    }
    QVariant field(const char* name) const { return rs->Fields(QString::fromUtf8(name)).Value(); }

    std::unique_ptr<versiondb::Database> db;
    std::unique_ptr<versiondb::Recordset> rs;
};

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

QVariant textOf(int i, Texts texts)
{
    switch (texts) {
    case Texts::None:
        return {};
    case Texts::EveryThird:
        if (i % 3 != 1) {
            return {};
        }
        return i % 2 == 0 ? QStringLiteral("null")
                          : QStringLiteral("태초에 하나님이 천지를 창조하시니라 %1 ").arg(i).repeated(1 + i % 7);
    case Texts::Most:
        if (i % 5 == 0) {
            return {};
        }
        return QStringLiteral("태초에 하나님이 천지를 창조하시니라 %1").arg(i).repeated(1 + i % 4);
    }
    return {};
}

} // namespace

InstallTree::InstallTree(const QStringList& builtProgramFiles)
    : m_install(QDir::toNativeSeparators(m_root.filePath(QStringLiteral("viewer"))))
{
    m_valid = m_root.isValid() && QDir().mkpath(programFolder());
    for (const QString& name : builtProgramFiles) {
        m_valid = m_valid && QFile::copy(builtProgramFolder() + QDir::separator() + name, programFile(name));
    }
}

bool InstallTree::copyBuiltReference() const
{
    return QFile::copy(builtInstallFolder() + QDir::separator() + QStringLiteral("개역.DAT"),
                       path(QStringLiteral("개역.DAT")));
}

QStringList InstallTree::installEntries() const
{
    QStringList entries = entriesOf(m_install);
    entries.removeAll(QStringLiteral("manager"));
    return entries;
}

QStringList InstallTree::programEntries() const
{
    return entriesOf(programFolder());
}

QString InstallTree::makeVersion(const QString& name, int count, Texts texts) const
{
    QList<Verse> verses;
    for (int i = 1; i <= count; ++i) {
        const int book = 1 + (i - 1) / 100;
        verses.append(
            {i, books::canonicalReference(books::BookAbbreviations::at(book), 1, i), textOf(i, texts), book, i});
    }
    return makeVersion(name, verses);
}

QString InstallTree::makeVersion(const QString& name, const QList<Verse>& verses) const
{
    const QString file = path(name);
    try {
        versiondb::VersionFile::create(file, versiondb::PasswordVerifier::forDatabasePassword());
        OpenVersion version(file);
        versiondb::Transaction transaction(*version.db);
        for (const Verse& v : verses) {
            version.rs->AddNew();
            version.rs->Fields(QStringLiteral("번호")).setValue(v.number);
            version.rs->Fields(QStringLiteral("권")).setValue(v.book);
            version.rs->Fields(QStringLiteral("장")).setValue(v.chapter);
            version.rs->Fields(QStringLiteral("절")).setValue(v.verse != 0 ? QVariant(v.verse) : v.number);
            version.rs->Fields(QStringLiteral("성경구절")).setValue(v.reference);
            if (!v.text.isNull()) {
                version.rs->Fields(QStringLiteral("본문")).setValue(v.text);
            }
            version.rs->Update();
        }
        transaction.Commit();
        version.rs->Close();
        version.db->Close();
    } catch (const versiondb::Error&) {
        return {};
    }
    return file;
}

QString InstallTree::makeSmallReference() const
{
    return makeVersion(QStringLiteral("개역.DAT"), smallReferenceVerses());
}

QString InstallTree::writeFile(const QString& name, const QByteArray& content) const
{
    write(path(name), content);
    return path(name);
}

QString InstallTree::textFile(const QString& name, const QStringList& lines) const
{
    const QString file = QDir::toNativeSeparators(m_root.filePath(name));
    write(file, QStringEncoder("windows-949").encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
    return file;
}

QList<Verse> smallReferenceVerses()
{
    return {{1, QStringLiteral("창 1:1"), {}},
            {2, QStringLiteral("창 1:2"), {}},
            {3, QStringLiteral("창 1:3"), {}},
            {4, QStringLiteral("출 1:1"), {}, 2, 1}};
}

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

std::optional<Records> read(const QString& path)
{
    try {
        Records out;
        OpenVersion version(path);
        if (version.rs->RecordCount() > 0) {
            for (version.rs->MoveFirst(); !version.rs->Eof(); version.rs->MoveNext()) {
                out[version.field("번호").toInt()] = {version.field("성경구절"), version.field("본문")};
            }
        }
        return out;
    } catch (const versiondb::Error&) {
        return std::nullopt;
    }
}

QList<StoredRecord> storedRecords(const QString& path)
{
    QList<StoredRecord> records;
    OpenVersion v(path);
    if (v.rs->RecordCount() > 0) {
        for (v.rs->MoveFirst(); !v.rs->Eof(); v.rs->MoveNext()) {
            records.append(
                {v.field("번호"), v.field("권"), v.field("장"), v.field("절"), v.field("성경구절"), v.field("본문")});
        }
    }
    return records;
}

QList<std::pair<QString, QString>> storedTexts(const QString& path)
{
    QList<std::pair<QString, QString>> result;
    try {
        for (const StoredRecord& record : storedRecords(path)) {
            result.append({record.reference.toString(),
                           record.text.isNull() ? QStringLiteral("<Null>") : record.text.toString()});
        }
    } catch (const versiondb::Error&) {
        result.append({QStringLiteral("<cannot open>"), path});
    }
    return result;
}

std::optional<QVariant> storedText(const QString& path, const QString& reference)
{
    OpenVersion version(path, QStringLiteral("성경구절"));
    version.rs->Seek(QStringLiteral("="), reference);
    if (version.rs->NoMatch()) {
        return std::nullopt;
    }
    return version.field("본문");
}

bool openable(const QString& path)
{
    try {
        OpenVersion version(path);
        return true;
    } catch (const versiondb::Error&) {
        return false;
    }
}

void churn(const QString& path)
{
    OpenVersion version(path);
    const int count = version.rs->RecordCount();
    versiondb::Transaction transaction(*version.db);
    for (const QString& text : {QStringLiteral("길게 늘인 본문 %1 ").repeated(40), QStringLiteral("짧은 본문 %1")}) {
        for (int i = 1; i <= count; i += 2) {
            version.rs->Seek(QStringLiteral("="), i);
            version.rs->Edit();
            version.rs->Fields(QStringLiteral("본문")).setValue(text.arg(i));
            version.rs->Update();
        }
    }
    transaction.Commit();
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

QByteArray bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& content)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(content) != content.size()) {
        qFatal("cannot write %s", qPrintable(path));
    }
}

} // namespace testsupport
