#include "versiondb/History.h"

#include "versiondb/Error.h"
#include "versiondb/Sqlite.h"
#include "versiondb/Transaction.h"
#include "versiondb/VersionFile.h"
#include "versiondb/VersionStore.h"
#include "versiondb/VersionStoreStatements.h"

#include <array>

namespace versiondb {

namespace {

// The largest 번호 that a kept text's key holds (24 bits).
constexpr qint64 kLargestNumber = (qint64(1) << 24) - 1;

const std::array<QString, 5> kSourceNames = {QStringLiteral("편집기"), QStringLiteral("저장 명령"),
                                             QStringLiteral("만들기"), QStringLiteral("되돌리기"),
                                             QStringLiteral("복원")};

ChangeSource sourceNamed(const QString& name)
{
    for (std::size_t i = 0; i < kSourceNames.size(); ++i) {
        if (kSourceNames[i] == name) {
            return static_cast<ChangeSource>(i);
        }
    }
    raise(errorNumber::DatabaseDamaged);
}

// A change from the columns id, time, source, detail and verse count from column first on.
Change changeFrom(const sqlite::Statement& row, int first = 0)
{
    Change change;
    change.id = row.columnInt(first);
    change.time = QDateTime::fromString(row.columnText(first + 1), Qt::ISODateWithMs).toLocalTime();
    change.source = sourceNamed(row.columnText(first + 2));
    change.detail = row.columnText(first + 3);
    change.verses = row.columnInt(first + 4);
    return change;
}

const QString kChangeColumns = QStringLiteral("c.\"번호\", c.\"시각\", c.\"출처\", c.\"내용\", (SELECT count(*) FROM "
                                              "\"이전본문\" WHERE \"열쇠\" >> 24 = c.\"번호\")");

} // namespace

History::History(VersionStore& version) : m_version(version) {}

QString History::sourceName(ChangeSource source)
{
    return kSourceNames.at(static_cast<std::size_t>(source));
}

bool History::hasTables()
{
    sqlite::Statement find(m_version.handle(),
                           QStringLiteral("SELECT count(*) FROM sqlite_schema WHERE type = 'table' AND name IN "
                                          "('변경', '이전본문')"));
    return find.step() && find.columnInt(0) == 2;
}

void History::makeTables()
{
    sqlite3* db = m_version.handle();
    sqlite::exec(db, VersionFile::historySchema());
    m_version.statements().keep = sqlite::Statement(
        db, QStringLiteral("INSERT OR IGNORE INTO \"이전본문\" (\"열쇠\", \"본문\") VALUES ((?1 << 24) + ?2, ?3)"));
    m_version.statements().newChange = sqlite::Statement(
        db, QStringLiteral("INSERT INTO \"변경\" (\"시각\", \"출처\", \"내용\") VALUES (?1, ?2, ?3)"));
}

void History::checkWritable() const
{
    if (m_version.m_hold != VersionStore::Hold::Write) {
        raise(errorNumber::ReadOnly);
    }
}

bool History::setText(qint64 row, const QString& text, PendingChange& change)
{
    checkWritable();
    VersionStore::Statements& s = m_version.statements();
    QVariant number;
    QVariant before;
    {
        sqlite::ResetGuard guard(s.byRow);
        s.byRow.bindInt(1, row);
        if (!s.byRow.step()) {
            raise(errorNumber::NoCurrentRecord);
        }
        number = s.byRow.column(1 + kNumber);
        before = s.byRow.column(1 + kText);
    }
    if (!before.isNull() && before.toString() == text) {
        return false;
    }
    // A kept text is keyed by its change and 번호 together (see VersionFile::historySchema).
    if (number.toLongLong() < 1 || number.toLongLong() > kLargestNumber) {
        raise(errorNumber::DatabaseDamaged);
    }
    if (!s.keep.isPrepared()) {
        makeTables();
    }
    if (change.id == 0) {
        sqlite::ResetGuard guard(s.newChange);
        s.newChange.bind(1, QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs));
        s.newChange.bind(2, sourceName(change.source));
        s.newChange.bind(3, change.detail);
        (void)s.newChange.step();
        change.id = sqlite3_last_insert_rowid(m_version.handle());
    }
    {
        sqlite::ResetGuard guard(s.keep);
        s.keep.bindInt(1, change.id);
        s.keep.bind(2, number);
        s.keep.bind(3, before);
        (void)s.keep.step();
    }
    sqlite::ResetGuard guard(s.setText);
    s.setText.bind(1, text);
    s.setText.bindInt(2, row);
    (void)s.setText.step();
    return true;
}

std::vector<Change> History::changes()
{
    std::vector<Change> changes;
    if (!hasTables()) {
        return changes;
    }
    sqlite::Statement all(m_version.handle(),
                          QStringLiteral("SELECT %1 FROM \"변경\" c ORDER BY c.\"번호\" DESC").arg(kChangeColumns));
    while (all.step()) {
        changes.push_back(changeFrom(all));
    }
    return changes;
}

Change History::changeOf(qint64 id)
{
    sqlite::Statement one(m_version.handle(),
                          QStringLiteral("SELECT %1 FROM \"변경\" c WHERE c.\"번호\" = ?1").arg(kChangeColumns));
    one.bindInt(1, id);
    if (!one.step()) {
        raise(errorNumber::NoCurrentRecord);
    }
    return changeFrom(one);
}

std::vector<VerseChange> History::verseChanges(qint64 number)
{
    std::vector<VerseChange> changes;
    const std::optional<qint64> row = m_version.Seek(number);
    if (!row || !hasTables()) {
        return changes;
    }
    const VerseRecord record = m_version.record(*row);
    sqlite::Statement of(m_version.handle(), QStringLiteral("SELECT %1, h.\"본문\" FROM \"이전본문\" h "
                                                            "JOIN \"변경\" c ON c.\"번호\" = h.\"열쇠\" >> 24 "
                                                            "WHERE h.\"열쇠\" & 16777215 = ?1 ORDER BY h.\"열쇠\" DESC")
                                                 .arg(kChangeColumns));
    of.bindInt(1, number);
    QVariant after = record[kText];
    while (of.step()) {
        VerseChange change{changeFrom(of), number, record[kReference].toString(), of.column(5), after};
        after = change.before;
        changes.push_back(std::move(change));
    }
    return changes;
}

std::vector<VerseChange> History::takeBack(qint64 change, std::optional<qint64> number, ChangeSource source)
{
    checkWritable();
    if (!hasTables()) {
        raise(errorNumber::NoCurrentRecord);
    }
    sqlite3* db = m_version.handle();
    const Change taken = changeOf(change);
    // The verses of the change (or the one asked for) whose text now differs from the one before it.
    const QString verses = QStringLiteral("FROM \"이전본문\" h JOIN \"본문\" b ON b.\"번호\" = h.\"열쇠\" & 16777215 "
                                          "WHERE h.\"열쇠\" BETWEEN ?1 << 24 AND (?1 << 24) + 16777215 "
                                          "AND (?2 IS NULL OR h.\"열쇠\" = (?1 << 24) + ?2) "
                                          "AND b.\"본문\" IS NOT h.\"본문\"");
    Transaction transaction(m_version);
    makeTables();
    std::vector<VerseChange> restored;
    {
        sqlite::Statement read(db, QStringLiteral("SELECT b.\"번호\", b.\"성경구절\", b.\"본문\", h.\"본문\" ") +
                                       verses + QStringLiteral(" ORDER BY h.\"열쇠\""));
        read.bindInt(1, change);
        read.bind(2, number ? QVariant(*number) : QVariant());
        while (read.step()) {
            restored.push_back({{}, read.columnInt(0), read.columnText(1), read.column(2), read.column(3)});
        }
    }
    if (restored.empty()) {
        return restored;
    }
    Change made{0, QDateTime::currentDateTime(), source, QString::number(taken.id),
                static_cast<qint64>(restored.size())};
    sqlite::Statement newChange(
        db, QStringLiteral("INSERT INTO \"변경\" (\"시각\", \"출처\", \"내용\") VALUES (?1, ?2, ?3)"));
    newChange.bind(1, made.time.toUTC().toString(Qt::ISODateWithMs));
    newChange.bind(2, sourceName(source));
    newChange.bind(3, made.detail);
    (void)newChange.step();
    made.id = sqlite3_last_insert_rowid(db);
    // The texts now stored are kept under the new change, then the ones before the change taken back return.
    const QStringList steps = {
        QStringLiteral("INSERT INTO \"이전본문\" (\"열쇠\", \"본문\") SELECT (?3 << 24) + b.\"번호\", b.\"본문\" ") +
            verses,
        QStringLiteral(
            "UPDATE \"본문\" SET \"본문\" = (SELECT h.\"본문\" FROM \"이전본문\" h WHERE h.\"열쇠\" = (?1 << 24) + "
            "\"본문\".\"번호\") WHERE \"번호\" IN (SELECT \"열쇠\" & 16777215 FROM \"이전본문\" WHERE "
            "\"열쇠\" BETWEEN ?3 << 24 AND (?3 << 24) + 16777215) AND (?2 IS NULL OR \"번호\" = ?2)")};
    for (const QString& sql : steps) {
        sqlite::Statement step(db, sql);
        step.bindInt(1, change);
        step.bind(2, number ? QVariant(*number) : QVariant());
        step.bindInt(3, made.id);
        (void)step.step();
    }
    transaction.Commit();
    for (VerseChange& verse : restored) {
        verse.change = made;
    }
    return restored;
}

} // namespace versiondb
