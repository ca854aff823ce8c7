#include "versiondb/Repair.h"

#include "books/BookAbbreviations.h"
#include "platform/FileMove.h"
#include "platform/Utf8.h"
#include "versiondb/Cancelled.h"
#include "versiondb/Error.h"
#include "versiondb/ExclusiveOpen.h"
#include "versiondb/History.h"
#include "versiondb/PageSalvage.h"
#include "versiondb/RawFile.h"
#include "versiondb/SideFiles.h"
#include "versiondb/Soundness.h"
#include "versiondb/Sqlite.h"
#include "versiondb/Transaction.h"
#include "versiondb/VersionFile.h"
#include "versiondb/VersionStore.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <array>
#include <filesystem>
#include <functional>
#include <tuple>

namespace versiondb {

using books::SkeletonVerse;

namespace {

// True when the file is shorter than its pages: its last page is incomplete or missing.
bool lostPages(sqlite3* db, const QString& path)
{
    try {
        sqlite::Statement pages(db, QStringLiteral("SELECT page_count * page_size FROM pragma_page_count(), "
                                                   "pragma_page_size()"));
        return pages.step() && pages.columnInt(0) > QFileInfo(path).size();
    } catch (const Error&) {
        return true;
    }
}

std::optional<int> intOf(const QVariant& value)
{
    if (value.typeId() == QMetaType::Int) {
        return value.toInt();
    }
    return std::nullopt;
}

// True when the record's 성경구절 is the canonical reference of its own 권, 장 and 절.
bool selfConsistent(const std::vector<QVariant>& v)
{
    const std::optional<int> book = intOf(v[kBook]);
    const std::optional<int> chapter = intOf(v[kChapter]);
    const std::optional<int> verse = intOf(v[kVerse]);
    return book && chapter && verse && v[kReference].typeId() == QMetaType::QString &&
           v[kReference].toString() == books::canonicalReference(books::BookAbbreviations::at(*book), *chapter, *verse);
}

SkeletonVerse verseOf(qint64 rowid, const std::vector<QVariant>& v)
{
    return {intOf(v[kNumber]).value_or(static_cast<int>(rowid)), intOf(v[kBook]).value_or(0),
            intOf(v[kChapter]).value_or(0), intOf(v[kVerse]).value_or(0), v[kReference].toString()};
}

// True when work runs without an engine error.
template <typename Work> bool succeeds(Work&& work)
{
    try {
        work();
        return true;
    } catch (const Error&) {
        return false;
    }
}

// How many records a loop of the repair handles between two looks at its control.
constexpr qint64 kRecordsBetweenChecks = 1024;

} // namespace

void Repair::step(qint64 done, qint64 total) const
{
    if (m_control != nullptr && done % kRecordsBetweenChecks == 0) {
        m_control->report(done, total);
        stopIfCancelled(m_control);
    }
}

void Repair::nothingToSalvage() const
{
    QList<ErrorItem> items{ErrorItem::of(m_lack)};
    if (m_lack != errorNumber::DatabaseDamaged) {
        items << ErrorItem::of(errorNumber::DatabaseDamaged);
    }
    raise(Error(items));
}

void Repair::markLineBreaks(Found& found)
{
    // No text the program stores holds a line break: one in a salvaged text is damage, shown as U+FFFD.
    QVariant& text = found.values[kText];
    if (text.typeId() == QMetaType::QString) {
        QString mended = text.toString();
        if (mended.contains(u'\n') || mended.contains(u'\r')) {
            mended.replace(u'\n', u'\uFFFD').replace(u'\r', u'\uFFFD');
            text = mended;
            found.damagedText = true;
        }
    }
}

void Repair::keepVerifier(const std::optional<PasswordVerifier>& verifier)
{
    // Every version carries the same password: a verifier of another one is damaged.
    if (!m_verifier && verifier && verifier->matches(passwordOf(passwordConnect()))) {
        m_verifier = verifier;
    }
}

void Repair::readThroughTable(sqlite3* db)
{
    std::ignore = succeeds([&] { keepVerifier(VersionFile::readVerifier(db)); });
    qint64 total = 0;
    std::ignore = succeeds([&] {
        sqlite::Statement last(db,
                               QStringLiteral("SELECT max(rowid) FROM ") + sqlite::quoted(VersionFile::tableName()));
        total = last.step() ? last.columnInt(0) : 0;
    });
    try {
        sqlite::Statement all(db, QStringLiteral("SELECT rowid, ") + VersionFile::quotedFieldList() +
                                      QStringLiteral(" FROM ") + sqlite::quoted(VersionFile::tableName()) +
                                      QStringLiteral(" ORDER BY rowid"));
        // Read until the first damaged page; the pages give the rest.
        while (all.step()) {
            step(static_cast<qint64>(m_records.size()), total);
            Found found;
            for (int i = 0; i < kFieldCount; ++i) {
                if (all.columnType(i + 1) == SQLITE_TEXT) {
                    // Bytes that are not text come back as U+FFFD, and say so.
                    const QByteArray bytes = all.columnBlob(i + 1);
                    found.values.emplace_back(QString::fromUtf8(bytes));
                    if (i == kText) {
                        found.damagedText = !platform::isWellFormedUtf8(bytes);
                        markLineBreaks(found);
                    }
                } else {
                    found.values.push_back(all.column(i + 1));
                }
            }
            m_records.emplace(all.columnInt(0), std::move(found));
        }
        m_tableReadThrough = true;
    } catch (const Error&) {
    }
    readHistory(db);
}

void Repair::readHistory(sqlite3* db)
{
    // Every change and every row of kept texts that reads, up to the first damaged page; a row that does
    // not read whole, or keeps a text the program never stores, is left out, so that taking a change
    // back stores no damage. What is left out is lost; a version without a history (or whose list of tables
    // cannot be read) loses none of it here.
    const auto read = [this, db](const QString& sql, int columns, std::vector<std::vector<QVariant>>& rows,
                                 const std::function<bool(const sqlite::Statement&)>& keep) {
        std::optional<sqlite::Statement> all;
        try {
            all.emplace(db, sql);
        } catch (const Error&) {
            return;
        }
        try {
            while (all->step()) {
                if (!keep(*all)) {
                    m_historyLost = true;
                    continue;
                }
                std::vector<QVariant>& row = rows.emplace_back();
                for (int i = 0; i < columns; ++i) {
                    row.push_back(all->column(i));
                }
            }
        } catch (const Error&) {
            m_historyLost = true;
        }
    };
    read(History::allChanges(), 5, m_changes, [](const sqlite::Statement&) { return true; });
    read(History::allKeptRows(), 2, m_keptTexts,
         [](const sqlite::Statement& row) { return History::decodeKept(row.columnBlob(1)).has_value(); });
}

void Repair::readPages(sqlite3* held)
{
    // Through SQLite's own file layer: a descriptor of our own, once closed, would end the hold.
    const PageSalvage pages(held != nullptr ? RawFile(held).readAll() : RawFile(m_path).readAll());
    const auto known = [this](qint64 rowid) { return m_records.contains(rowid); };
    for (PageSalvage::Record& r : pages.records(kFieldCount, known)) {
        if (r.values.empty()) { // read through the table, but its length of a value was damaged
            m_records.at(r.rowid).damagedText = true;
            continue;
        }
        const std::vector<QVariant>& v = r.values;
        const auto isIntOrNull = [](const QVariant& x) {
            return !x.isValid() || x.typeId() == QMetaType::Int || x.typeId() == QMetaType::LongLong;
        };
        const auto isTextOrNull = [](const QVariant& x) { return !x.isValid() || x.typeId() == QMetaType::QString; };
        // Only records of the shape of the version table: four numbers and two texts.
        if (!isIntOrNull(v[kNumber]) || !isIntOrNull(v[kBook]) || !isIntOrNull(v[kChapter]) ||
            !isIntOrNull(v[kVerse]) || !isTextOrNull(v[kReference]) || !isTextOrNull(v[kText])) {
            continue;
        }
        Found found{std::move(r.values), r.invalidText.at(kText) || !r.whole};
        markLineBreaks(found);
        m_records.emplace(r.rowid, std::move(found));
    }
    // The first record of the verifier's shape is the verifier; it is kept when it matches.
    for (const PageSalvage::Record& r : pages.records(4)) {
        const std::vector<QVariant>& v = r.values;
        if (v[0].typeId() == QMetaType::Int && v[1].typeId() == QMetaType::QByteArray &&
            v[2].typeId() == QMetaType::Int && v[3].typeId() == QMetaType::QByteArray) {
            keepVerifier(PasswordVerifier{v[1].toByteArray(), v[2].toInt(), v[3].toByteArray()});
            break;
        }
    }
}

std::vector<SkeletonVerse> Repair::skeleton() const
{
    const QString source = VersionFile::resolvedPath(m_skeletonSource);
    if (source.isEmpty() || QFileInfo(source).canonicalFilePath() == QFileInfo(m_path).canonicalFilePath()) {
        return books::koreanVersification();
    }
    // The reference's records, when they read whole and are numbered from 1 without a gap, each
    // with the reference of its 권, 장 and 절; otherwise the built-in numbering stands in.
    try {
        VersionFile::checkPath(source, false);
        if (!VersionFile::hasSqliteHeader(source)) {
            return books::koreanVersification();
        }
        const sqlite::Connection db = openExclusive(source, true);
        VersionFile::checkOpenable(db.get(), source, passwordConnect(), false);
        std::vector<SkeletonVerse> verses;
        sqlite::Statement all(db.get(), QStringLiteral("SELECT ") + VersionFile::quotedFieldList() +
                                            QStringLiteral(" FROM ") + sqlite::quoted(VersionFile::tableName()) +
                                            QStringLiteral(" ORDER BY ") +
                                            sqlite::quoted(VersionFile::fieldNames()[kNumber]));
        while (all.step()) {
            std::vector<QVariant> values;
            for (int i = 0; i < kFieldCount; ++i) {
                values.push_back(all.column(i));
            }
            if (intOf(values[kNumber]) != static_cast<int>(verses.size()) + 1 || !selfConsistent(values)) {
                return books::koreanVersification();
            }
            verses.push_back(verseOf(0, values));
        }
        return verses.empty() ? books::koreanVersification() : verses;
    } catch (const Error&) {
        return books::koreanVersification();
    }
}

Repair::Composed Repair::compose() const
{
    const std::vector<SkeletonVerse> verses = skeleton();
    const auto count = static_cast<qint64>(verses.size());
    const auto place = [](qint64 book, qint64 chapter, qint64 verse) { return (book << 40) | (chapter << 20) | verse; };
    // The skeleton by reference and by 권, 장 and 절, made when a record first needs them.
    std::optional<std::pair<QHash<QString, int>, QHash<qint64, int>>> lookUps;
    const auto lookUp = [&]() -> const std::pair<QHash<QString, int>, QHash<qint64, int>>& {
        if (!lookUps) {
            lookUps.emplace();
            for (int i = 0; i < static_cast<int>(verses.size()); ++i) {
                lookUps->first.insert(verses[i].reference, i);
                lookUps->second.insert(place(verses[i].book, verses[i].chapter, verses[i].verse), i);
            }
        }
        return *lookUps;
    };

    // Each record's place on the skeleton by the majority of its 번호, its 성경구절 and its 권, 장 and 절
    // (a tie goes to the first of them that has a place), and whether the file follows the skeleton at all:
    // a record whose reference is its own and stands at its 번호 agrees, one with another reference there does not.
    struct Placed
    {
        qint64 rowid = 0;
        int votes = 0;
    };
    std::vector<std::optional<Placed>> placedAt(verses.size());
    std::vector<qint64> unplaced;
    int agree = 0;
    int disagree = 0;
    for (const auto& [rowid, found] : m_records) {
        const std::vector<QVariant>& v = found.values;
        const std::optional<int> number = intOf(v[kNumber]);
        const int byNumber = number && *number >= 1 && *number <= count ? *number - 1 : -1;
        const bool ownReferenceAtNumber = byNumber >= 0 && selfConsistent(v);
        // Most records are whole: their three witnesses agree without a look-up.
        const bool whole = ownReferenceAtNumber && v[kReference].toString() == verses[byNumber].reference;
        if (ownReferenceAtNumber) {
            (whole ? agree : disagree) += 1;
        }
        const std::array<int, 3> witnesses =
            whole ? std::array<int, 3>{byNumber, byNumber, byNumber}
                  : std::array<int, 3>{
                        byNumber, lookUp().first.value(v[kReference].toString(), -1),
                        lookUp().second.value(place(intOf(v[kBook]).value_or(-1), intOf(v[kChapter]).value_or(-1),
                                                    intOf(v[kVerse]).value_or(-1)),
                                              -1)};
        int best = -1;
        int votes = 0;
        for (const int candidate : witnesses) {
            const auto n = static_cast<int>(std::count(witnesses.begin(), witnesses.end(), candidate));
            if (candidate >= 0 && n > votes) {
                best = candidate;
                votes = n;
            }
        }
        if (best < 0) {
            unplaced.push_back(rowid);
            continue;
        }
        // Of two records for one verse the better witnessed one wins, then the one with a whole text.
        std::optional<Placed>& slot = placedAt[best];
        if (!slot || votes > slot->votes ||
            (votes == slot->votes && m_records.at(slot->rowid).damagedText && !found.damagedText)) {
            slot = Placed{rowid, votes};
        }
    }

    Composed composed;
    composed.onSkeleton = agree > disagree;
    RepairReport& report = composed.report;
    report.asFound = !composed.onSkeleton;
    if (!composed.onSkeleton) {
        for (const auto& [rowid, found] : m_records) {
            composed.records.emplace(rowid, found.values);
            if (found.damagedText) {
                report.damaged.push_back(verseOf(rowid, found.values));
            }
        }
        return composed;
    }
    for (int i = 0; i < static_cast<int>(verses.size()); ++i) {
        const SkeletonVerse& verse = verses[i];
        QVariant text;
        if (!placedAt[i]) {
            report.lost.push_back(verse);
        } else {
            const Found& found = m_records.at(placedAt[i]->rowid);
            text = found.values[kText];
            if (found.damagedText) {
                report.damaged.push_back(verse);
            }
        }
        composed.records.emplace(verse.number, std::vector<QVariant>{verse.number, verse.book, verse.chapter,
                                                                     verse.verse, verse.reference, text});
    }
    // Records the skeleton lacks are kept as found, as long as they go on numbering after it.
    std::map<int, qint64> extras;
    for (const qint64 rowid : unplaced) {
        const std::vector<QVariant>& v = m_records.at(rowid).values;
        if (selfConsistent(v) && intOf(v[kNumber]).value_or(0) > count) {
            extras.emplace(*intOf(v[kNumber]), rowid);
        }
    }
    qint64 next = count + 1;
    for (const auto& [number, rowid] : extras) {
        if (number != next) {
            break;
        }
        const Found& found = m_records.at(rowid);
        composed.records.emplace(next++, found.values);
        if (found.damagedText) {
            report.damaged.push_back(verseOf(rowid, found.values));
        }
    }
    return composed;
}

void Repair::fill(const QString& fresh, const Composed& composed) const
{
    VersionFile::create(fresh, m_verifier ? *m_verifier : PasswordVerifier::forDatabasePassword());
    sqlite::Connection db = sqlite::open(fresh, SQLITE_OPEN_READWRITE | SQLITE_OPEN_EXRESCODE);
    sqlite::exec(db.get(), "PRAGMA locking_mode=EXCLUSIVE");
    sqlite::exec(db.get(), "PRAGMA synchronous=FULL");
    Transaction transaction(db.get(), Transaction::Lock::Exclusive);
    sqlite::Statement insert(db.get(),
                             QStringLiteral("INSERT INTO %1 (rowid, %2) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)")
                                 .arg(sqlite::quoted(VersionFile::tableName()), VersionFile::quotedFieldList()));
    if (m_control != nullptr) {
        m_control->setStage(1);
    }
    qint64 done = 0;
    for (const auto& [rowid, values] : composed.records) {
        step(done++, static_cast<qint64>(composed.records.size()));
        sqlite::ResetGuard guard(insert);
        insert.bindInt(1, rowid);
        for (int i = 0; i < kFieldCount; ++i) {
            insert.bind(i + 2, values[i]);
        }
        (void)insert.step();
    }
    for (const auto& [table, rows] :
         {std::pair(History::putBackChange(), &m_changes), std::pair(History::putBackKeptRow(), &m_keptTexts)}) {
        sqlite::Statement keep(db.get(), table);
        for (const std::vector<QVariant>& row : *rows) {
            sqlite::ResetGuard guard(keep);
            for (std::size_t i = 0; i < row.size(); ++i) {
                keep.bind(static_cast<int>(i) + 1, row[i]);
            }
            (void)keep.step();
        }
    }
    transaction.commit();
}

void Repair::checkFresh(const QString& fresh, bool onSkeleton)
{
    {
        const sqlite::Connection db = openExclusive(fresh, false);
        // A file rewritten as found keeps what it held; only one on the skeleton is whole in its numbering.
        if (onSkeleton ? versionFault(db.get()) : storageFault(db.get())) {
            raise(errorNumber::DatabaseDamaged);
        }
    }
    // It opens as every user opens it, with the program's connect string.
    VersionStore::openDatabase(fresh)->close();
}

QString Repair::keepOriginal(sqlite3* held) const
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString kept = m_path + QStringLiteral(".damaged-") + stamp;
    for (int n = 2; QFileInfo::exists(kept) || QFileInfo(kept).isSymLink(); ++n) {
        kept = m_path + QStringLiteral(".damaged-") + stamp + u'-' + QString::number(n);
    }
    const RawFile original = held != nullptr ? RawFile(held) : RawFile(m_path);
    // The copy has the version's permissions while it is written, so that a private version's is never open to
    // others, and its owner once it has its name.
    QSaveFile file(kept);
    bool written = file.open(QIODevice::WriteOnly) && file.setPermissions(QFile::permissions(m_path));
    constexpr qint64 kChunk = 1 << 20;
    for (qint64 at = 0; written && at < original.size(); at += kChunk) {
        stopIfCancelled(m_control);
        const QByteArray chunk = original.read(at, kChunk);
        written = !chunk.isEmpty() && file.write(chunk) == chunk.size();
    }
    if (!written || !file.commit() || !platform::takeAccessOf(kept, m_path)) {
        QFile::remove(kept);
        raise(errorNumber::DiskError);
    }
    return kept;
}

void Repair::replace(sqlite::Connection& held, const Composed& composed, RepairReport& report)
{
    const QString fresh = newWorkFilePath(m_path, WorkKind::Repair);
    try {
        fill(fresh, composed);
        checkFresh(fresh, composed.onSkeleton);
        // The fresh file takes the damaged one's access: a private version stays private, a user's stays theirs.
        if (!platform::takeAccessOf(fresh, m_path)) {
            raise(errorNumber::DiskError);
        }
        if (!report.whole() || report.historyLost) {
            report.keptOriginal = keepOriginal(held.get());
        }
        // The last moment to stop: from here on the fresh file takes the damaged one's place.
        stopIfCancelled(m_control);
    } catch (...) {
        removeWithSideFiles(fresh);
        if (!report.keptOriginal.isEmpty()) {
            QFile::remove(report.keptOriginal);
            report.keptOriginal.clear();
        }
        throw;
    }
    // Nothing of the damaged file may be replayed onto the fresh one.
    if (held) {
        removeStaleSideFiles(held.get(), m_path);
    } else {
        removeSideFiles(m_path);
    }
    if (!platform::kOpenFilesCanGo) {
        held.reset();
    }
    std::error_code ec;
    std::filesystem::rename(std::filesystem::path(fresh.toStdU16String()),
                            std::filesystem::path(m_path.toStdU16String()), ec);
    if (ec) {
        removeWithSideFiles(fresh);
        if (!report.keptOriginal.isEmpty()) {
            QFile::remove(report.keptOriginal);
        }
        raise(errorNumber::DiskError);
    }
    platform::flushFolder(QFileInfo(m_path).absolutePath());
    report.rewritten = true;
}

RepairReport Repair::run()
{
    // Work on a link is work on the file it points to; the link stays.
    m_path = VersionFile::resolvedPath(m_path);
    VersionFile::checkPath(m_path, true);
    m_records.clear();
    m_changes.clear();
    m_keptTexts.clear();
    m_tableReadThrough = false;
    m_verifier.reset();
    m_lack = errorNumber::UnrecognizedFormat;

    // The hold on the damaged file lasts until the fresh file has taken its place.
    sqlite::Connection db;
    if (VersionFile::hasSqliteHeader(m_path)) {
        try {
            db = openHeldUnchanged(m_path);
        } catch (const Error& error) {
            // A file too damaged to be locked can be opened by nobody else either.
            if (error.number() == errorNumber::FileInUse) {
                throw;
            }
        }
    }
    removeWorkFileLeftovers(m_path);

    if (db) {
        bool ours = false;
        const bool readable = succeeds([&] {
            sqlite::Statement table(db.get(), QStringLiteral("SELECT count(*) FROM sqlite_schema WHERE "
                                                             "type = 'table' AND name = ?1"));
            table.bind(1, VersionFile::tableName());
            const bool hasTable = table.step() && table.columnInt(0) == 1;
            ours = hasTable || VersionFile::hasMarks(db.get());
            m_lack = hasTable ? errorNumber::DatabaseDamaged : errorNumber::NoSuchTable;
        });
        if (readable && !ours) {
            m_lack = errorNumber::UnrecognizedFormat;
            nothingToSalvage();
        }
        if (readable) {
            // Nothing of the file has changed yet.
            stopIfCancelled(m_control);
            if (!succeeds([&] { convertToRollbackJournal(db.get(), m_path); })) {
                // The pages are read with the log written back into the file, while the lock is still held.
                (void)sqlite3_exec(db.get(), "PRAGMA wal_checkpoint(TRUNCATE)", nullptr, nullptr, nullptr);
            }
            const bool opens =
                succeeds([&] { VersionFile::checkOpenable(db.get(), m_path, passwordConnect(), false); });
            // A value whose length was damaged to a shorter one reads well, shorter: only the pages show it.
            const auto everyRecordWhole = [&] {
                const auto all = [](qint64) { return true; };
                return PageSalvage(RawFile(db.get()).readAll()).records(kFieldCount, all).empty();
            };
            if (opens && !versionFault(db.get()) && everyRecordWhole()) {
                return {};
            }
            // SQLite reads the missing part of an incomplete last page as zeros, not as the records
            // that stood there: those are taken from the pages alone, and only the whole ones.
            stopIfCancelled(m_control);
            if (!lostPages(db.get(), m_path)) {
                readThroughTable(db.get());
            }
        }
    }
    stopIfCancelled(m_control);
    // The pages give what the table could not: records past a damaged page, or under a damaged interior page.
    readPages(db.get());
    stopIfCancelled(m_control);
    if (m_records.empty() && !m_tableReadThrough) {
        nothingToSalvage();
    }
    const Composed composed = compose();
    stopIfCancelled(m_control);
    RepairReport report = composed.report;
    report.historyLost = m_historyLost;
    replace(db, composed, report);
    return report;
}

RepairReport repairDatabase(const QString& name, const QString& skeletonSource, platform::RunControl* control)
{
    return Repair(name, skeletonSource, control).run();
}

} // namespace versiondb
