#include "support/InstallTree.h"

#include "books/BookAbbreviations.h"
#include "books/Versification.h"
#include "platform/CodePage949.h"
#include "support/TestPaths.h"
#include "versiondb/Transaction.h"
#include "versiondb/VersionFile.h"
#include "versiondb/VersionStore.h"

#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

namespace testsupport {

namespace {

using versiondb::VersionStore;

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

QVariant textOf(int i, Texts texts)
{
    if (texts == Texts::EveryThird && i % 3 == 1) {
        return i % 2 == 0 ? QStringLiteral("null")
                          : QStringLiteral("태초에 하나님이 천지를 창조하시니라 %1 ").arg(i).repeated(1 + i % 7);
    }
    if (texts == Texts::Most && i % 5 != 0) {
        return QStringLiteral("태초에 하나님이 천지를 창조하시니라 %1").arg(i).repeated(1 + i % 4);
    }
    return {};
}

} // namespace

InstallTree::InstallTree(const QStringList& builtProgramFiles)
    : m_install(QDir::toNativeSeparators(m_root.filePath(QStringLiteral("viewer"))))
{
    m_valid = m_root.isValid() && QDir().mkpath(programFolder());
    for (QString name : builtProgramFiles) {
#ifdef Q_OS_WIN
        if (QFileInfo(name).suffix().isEmpty()) {
            name += QStringLiteral(".exe"); // a program, which Windows starts by its name alone
        }
#endif
        m_valid = m_valid && QFile::copy(builtProgramFolder() + QDir::separator() + name, programFile(name));
    }
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

QHash<QString, QByteArray> InstallTree::fileBytes() const
{
    QHash<QString, QByteArray> files;
    for (const QString& folder : {m_install, programFolder()}) {
        for (const QString& name : QDir(folder).entryList(QDir::Files)) {
            files.insert(name, bytes(folder + QDir::separator() + name));
        }
    }
    return files;
}

bool InstallTree::addReference(const QStringList& copies) const
{
    const QString reference = path(QStringLiteral("개역.DAT"));
    bool copied = QFile::copy(builtInstallFolder() + QStringLiteral("/개역.DAT"), reference);
    for (const QString& name : copies) {
        copied = copied && QFile::copy(reference, path(name));
    }
    return copied;
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
        const auto version = VersionStore::openDatabase(file);
        versiondb::Transaction transaction(*version);
        for (const Verse& v : verses) {
            version->addRecord(
                {v.number, v.book, v.chapter, v.verse != 0 ? QVariant(v.verse) : v.number, v.reference, v.text});
        }
        transaction.commit();
    } catch (const versiondb::Error&) {
        return {};
    }
    return file;
}

QString InstallTree::writeFile(const QString& name, const QByteArray& content) const
{
    write(path(name), content);
    return path(name);
}

QString InstallTree::textFile(const QString& name, const QStringList& lines) const
{
    const QString file = QDir::toNativeSeparators(m_root.filePath(name));
    write(file, platform::CodePage949::encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).bytes);
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

QList<Verse> wholeBible()
{
    QList<Verse> verses;
    for (const books::SkeletonVerse& v : books::koreanVersification()) {
        verses.append({v.number, v.reference, QStringLiteral("본문 %1").arg(v.number), v.book, v.verse, v.chapter});
    }
    return verses;
}

QStringList kjvBookFiles()
{
    const QDir folder(dataFolder() + QStringLiteral("/kjv-ko"));
    QStringList files;
    for (const QString& name : folder.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
        files << QDir::toNativeSeparators(folder.filePath(name));
    }
    return files;
}

QList<StoredRecord> storedRecords(const QString& path)
{
    QList<StoredRecord> records;
    VersionStore::openDatabase(path)->readVerses([&](const versiondb::VerseRecord& r) {
        records.append({r.fields[0], r.fields[1], r.fields[2], r.fields[3], r.fields[4], r.fields[5]});
    });
    return records;
}

QList<std::pair<QString, QString>> storedTexts(const QString& path)
{
    QList<std::pair<QString, QString>> result;
    for (const StoredRecord& record : storedRecords(path)) {
        result.append(
            {record.reference.toString(), record.text.isNull() ? QStringLiteral("<Null>") : record.text.toString()});
    }
    return result;
}

std::optional<QVariant> storedText(const QString& path, const QString& reference)
{
    const auto version = VersionStore::openDatabase(path);
    const std::optional<qint64> row = version->seek(reference);
    if (!row) {
        return std::nullopt;
    }
    return version->record(*row)[versiondb::kText];
}

bool openable(const QString& path)
{
    return errorOf([&] { (void)VersionStore::openDatabase(path); }) == 0;
}

void churn(const QString& path)
{
    const auto version = VersionStore::openDatabase(path);
    const qint64 count = version->recordCount();
    versiondb::Transaction transaction(*version);
    for (const QString& text : {QStringLiteral("길게 늘인 본문 %1 ").repeated(40), QStringLiteral("짧은 본문 %1")}) {
        for (qint64 i = 1; i <= count; i += 2) {
            version->setText(version->seek(i).value_or(0), text.arg(i));
        }
    }
    transaction.commit();
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
