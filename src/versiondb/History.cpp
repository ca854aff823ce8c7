#include "versiondb/History.h"

#include "platform/Utf8.h"
#include "versiondb/Error.h"
#include "versiondb/Sqlite.h"
#include "versiondb/Transaction.h"
#include "versiondb/VersionFile.h"
#include "versiondb/VersionStore.h"
#include "versiondb/VersionStoreStatements.h"

#include <QDataStream>
#include <QIODevice>
#include <QScopeGuard>
#include <algorithm>
#include <array>
#include <memory>
#include <zstd.h>

namespace versiondb {

namespace {

// The kept texts of one change are grouped by 번호 into rows of up to 64 verses, each row's key its
// change's number times 2^24 plus the first 번호 of its group (see History::schema).
constexpr int kGroupBits = 6;
constexpr qint64 kLargestNumber = (qint64(1) << 24) - 1;

qint64 groupOf(qint64 number)
{
    return number >> kGroupBits << kGroupBits;
}

qint64 keyOf(qint64 change, qint64 group)
{
    return (change << 24) + group;
}

const std::array<QString, 8> kSourceNames = {
    QStringLiteral("편집기"), QStringLiteral("저장 명령"), QStringLiteral("만들기"),    QStringLiteral("되돌리기"),
    QStringLiteral("복원"),   QStringLiteral("바꾸기"),    QStringLiteral("한글 조합"), QStringLiteral("다시 실행")};

ChangeSource sourceNamed(const QString& name)
{
    const auto found = std::ranges::find(kSourceNames, name);
    if (found == kSourceNames.end()) {
        raise(errorNumber::DatabaseDamaged);
    }
    return static_cast<ChangeSource>(found - kSourceNames.begin());
}

const QString kChangeColumns = QStringLiteral("c.\"번호\", c.\"시각\", c.\"출처\", c.\"내용\", c.\"구절수\"");

Change changeFrom(const sqlite::Statement& row)
{
    return {row.columnInt(0), QDateTime::fromString(row.columnText(1), Qt::ISODateWithMs).toLocalTime(),
            sourceNamed(row.columnText(2)), row.columnText(3), row.columnInt(4)};
}

// A row of kept texts is one zstd frame, which records its decoded size. Its fast level -1 packs a whole-Bible
// change into 60% of its texts' bytes at half the cost of zlib's Huffman coding alone, itself a fraction of the
// cost of zlib's default level.
constexpr int kKeptLevel = -1;
// The most a row of at most 64 verses may decode to: a damaged row that declares more is refused before anything
// is allocated.
constexpr unsigned long long kLargestKeptRow = 64ULL << 20;

// The decoded bytes of a row of kept texts; nothing for a row that is not whole.
std::optional<QByteArray> decompressed(const QByteArray& row)
{
    const unsigned long long size = ZSTD_getFrameContentSize(row.constData(), static_cast<std::size_t>(row.size()));
    if (size == ZSTD_CONTENTSIZE_ERROR || size == ZSTD_CONTENTSIZE_UNKNOWN || size == 0 || size > kLargestKeptRow) {
        return std::nullopt;
    }
    QByteArray bytes(static_cast<qsizetype>(size), Qt::Uninitialized);
    const std::size_t decoded = ZSTD_decompress(bytes.data(), static_cast<std::size_t>(bytes.size()), row.constData(),
                                                static_cast<std::size_t>(row.size()));
    if (ZSTD_isError(decoded) || decoded != size) {
        return std::nullopt;
    }
    return bytes;
}

// The kept texts of a row read back to be used: a row that does not read whole is damage.
History::KeptTexts keptOrDamaged(const QByteArray& row)
{
    std::optional<History::KeptTexts> texts = History::decodeKept(row);
    if (!texts) {
        raise(errorNumber::DatabaseDamaged);
    }
    return std::move(*texts);
}

// Stores text into 본문 of the record at row with one of the version's statements that do so.
void storeText(sqlite::Statement& statement, qint64 row, const QVariant& text)
{
    sqlite::ResetGuard guard(statement);
    statement.bind(1, text);
    statement.bindInt(2, row);
    (void)statement.step();
}

// A text as the pending change keeps it.
std::optional<QByteArray> utf8Of(const QVariant& text)
{
    return text.isNull() ? std::nullopt : std::optional(text.toString().toUtf8());
}

bool same(const QVariant& a, const QVariant& b)
{
    return a.isNull() == b.isNull() && (a.isNull() || a.toString() == b.toString());
}

// The record a store replaced, as SQLite's pre-update hook hands it over.
struct ReplacedText
{
    int numberColumn = 0;
    int textColumn = 0;
    bool seen = false;
    bool whole = true; // false when SQLite could not hand over a column
    qint64 number = 0;
    std::optional<QByteArray> text; // in UTF-8, as the version stores it; nothing for Null
};

void catchReplacedText(void* context, sqlite3* db, int operation, const char*, const char*, sqlite3_int64,
                       sqlite3_int64)
{
    auto& replaced = *static_cast<ReplacedText*>(context);
    if (operation != SQLITE_UPDATE || replaced.seen) {
        return;
    }
    replaced.seen = true;
    sqlite3_value* number = nullptr;
    sqlite3_value* text = nullptr;
    if (sqlite3_preupdate_old(db, replaced.numberColumn, &number) != SQLITE_OK ||
        sqlite3_preupdate_old(db, replaced.textColumn, &text) != SQLITE_OK) {
        replaced.whole = false;
        return;
    }
    replaced.number = sqlite3_value_int64(number);
    if (sqlite3_value_type(text) != SQLITE_NULL) {
        const auto* bytes = static_cast<const char*>(sqlite3_value_blob(text));
        replaced.text = QByteArray(bytes, sqlite3_value_bytes(text));
    }
}

} // namespace

// Encodes rows of kept texts, reusing one compression context.
class KeptEncoder
{
public:
    KeptEncoder() : m_context(ZSTD_createCCtx(), ZSTD_freeCCtx)
    {
        if (!m_context) {
            raise(errorNumber::EngineFailure);
        }
    }

    // One row: the count, then each verse's 번호, whether it had a text, and the text in UTF-8; compressed.
    template <typename Iterator> QByteArray encode(Iterator first, Iterator last)
    {
        m_bytes.clear();
        QDataStream out(&m_bytes, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_0);
        out << quint32(std::distance(first, last));
        for (; first != last; ++first) {
            const auto& [number, text] = *first;
            out << qint64(number) << text.has_value() << text.value_or(QByteArray());
        }
        QByteArray row(static_cast<qsizetype>(ZSTD_compressBound(static_cast<std::size_t>(m_bytes.size()))),
                       Qt::Uninitialized);
        const std::size_t size =
            ZSTD_compressCCtx(m_context.get(), row.data(), static_cast<std::size_t>(row.size()), m_bytes.constData(),
                              static_cast<std::size_t>(m_bytes.size()), kKeptLevel);
        if (ZSTD_isError(size)) {
            raise(errorNumber::EngineFailure);
        }
        row.truncate(static_cast<qsizetype>(size));
        return row;
    }

private:
    std::unique_ptr<ZSTD_CCtx, decltype(&ZSTD_freeCCtx)> m_context;
    QByteArray m_bytes;
};

History::History(VersionStore& version) : m_version(version) {}

History::~History() = default;

QString History::sourceName(ChangeSource source)
{
    return kSourceNames.at(static_cast<std::size_t>(source));
}

std::optional<History::KeptTexts> History::decodeKept(const QByteArray& row)
{
    const std::optional<QByteArray> bytes = decompressed(row);
    if (!bytes) {
        return std::nullopt;
    }
    QDataStream in(*bytes);
    in.setVersion(QDataStream::Qt_6_0);
    quint32 count = 0;
    in >> count;
    KeptTexts texts;
    for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        qint64 number = 0;
        bool hasText = false;
        QByteArray text;
        in >> number >> hasText >> text;
        if (text.contains('\n') || text.contains('\r') || !platform::isWellFormedUtf8(text)) {
            return std::nullopt;
        }
        texts.emplace_back(number, hasText ? QVariant(QString::fromUtf8(text)) : QVariant());
    }
    if (in.status() != QDataStream::Ok || !in.atEnd() || texts.size() != count) {
        return std::nullopt;
    }
    return texts;
}

const char* History::schema()
{
    // "이전본문" keeps the texts of one change in rows of up to 64 verses, each row keyed by its change's
    // number times 2^24 plus the first 번호 of its group, the texts compressed: a change's rows are one range
    // of the table's own key, and a version grows by less than the texts it replaced.
    return R"(
CREATE TABLE IF NOT EXISTS "변경" ("번호" INTEGER PRIMARY KEY, "시각" TEXT NOT NULL, "출처" TEXT NOT NULL,
                                 "내용" TEXT NOT NULL, "구절수" INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS "이전본문" ("열쇠" INTEGER PRIMARY KEY, "본문" BLOB NOT NULL);
)";
}

QString History::countTables()
{
    return QStringLiteral("SELECT count(*) FROM sqlite_schema WHERE type = 'table' AND name IN ('변경', '이전본문')");
}

QString History::allChanges()
{
    return QStringLiteral("SELECT \"번호\", \"시각\", \"출처\", \"내용\", \"구절수\" FROM \"변경\" ORDER BY \"번호\"");
}

QString History::allKeptRows()
{
    return QStringLiteral("SELECT \"열쇠\", \"본문\" FROM \"이전본문\" ORDER BY \"열쇠\"");
}

QString History::putBackChange()
{
    return QStringLiteral("INSERT OR IGNORE INTO \"변경\" VALUES (?1, ?2, ?3, ?4, ?5)");
}

QString History::putBackKeptRow()
{
    return QStringLiteral("INSERT OR IGNORE INTO \"이전본문\" VALUES (?1, ?2)");
}

void History::prepareStatements()
{
    sqlite3* db = m_version.handle();
    VersionStore::Statements& s = m_version.statements();
    if (s.keepRow.isPrepared()) {
        return;
    }
    s.addChange = sqlite::Statement(
        db, QStringLiteral("INSERT INTO \"변경\" (\"시각\", \"출처\", \"내용\", \"구절수\") VALUES ('', ?1, ?2, 0)"));
    s.finishChange =
        sqlite::Statement(db, QStringLiteral("UPDATE \"변경\" SET \"시각\" = ?1, \"구절수\" = ?2 WHERE \"번호\" = ?3"));
    s.findKeptRow = sqlite::Statement(db, QStringLiteral("SELECT \"본문\" FROM \"이전본문\" WHERE \"열쇠\" = ?1"));
    s.keepRow = sqlite::Statement(
        db, QStringLiteral("INSERT OR REPLACE INTO \"이전본문\" (\"열쇠\", \"본문\") VALUES (?1, ?2)"));
}

bool History::hasTables()
{
    sqlite::Statement find(m_version.handle(), countTables());
    return find.step() && find.columnInt(0) == 2;
}

bool History::setText(qint64 row, const QString& text, PendingChange& change)
{
    m_version.checkWritable();
    // A text equal to the stored one is not stored at all, and the text a store replaces is caught as SQLite
    // replaces it: a build stores every line of its run through here at the cost of one statement.
    sqlite::Statement& update = m_version.statements().setChangedText;
    if (!update.isPrepared()) {
        update =
            sqlite::Statement(m_version.handle(), QStringLiteral("UPDATE \"본문\" SET \"본문\" = ?1 WHERE rowid = ?2 "
                                                                 "AND \"본문\" IS NOT ?1"));
        findColumns();
    }
    ReplacedText replaced;
    replaced.numberColumn = m_numberColumn;
    replaced.textColumn = m_textColumn;
    {
        // The hook catches the record the one store replaces, and goes with it.
        sqlite3_preupdate_hook(m_version.handle(), catchReplacedText, &replaced);
        const auto unhook = qScopeGuard([&] { sqlite3_preupdate_hook(m_version.handle(), nullptr, nullptr); });
        storeText(update, row, text);
    }
    if (!replaced.seen) {
        (void)m_version.record(row); // raises when there is no such record
        return false;
    }
    if (!replaced.whole || replaced.number < 1 || replaced.number > kLargestNumber) {
        raise(errorNumber::DatabaseDamaged);
    }
    keep(replaced.number, std::move(replaced.text), change);
    return true;
}

void History::findColumns()
{
    sqlite::Statement columns(
        m_version.handle(),
        QStringLiteral("SELECT name, cid FROM pragma_table_info('본문') WHERE name IN ('번호', '본문')"));
    while (columns.step()) {
        (columns.columnText(0) == u"번호" ? m_numberColumn : m_textColumn) = static_cast<int>(columns.columnInt(1));
    }
    if (m_numberColumn < 0 || m_textColumn < 0) {
        raise(errorNumber::DatabaseDamaged);
    }
}

ExpectedStore History::setText(qint64 row, const QString& expected, const QString& text, PendingChange& change)
{
    m_version.checkWritable();
    const VerseRecord record = m_version.record(row);
    if (!same(record[kText], expected)) {
        return ExpectedStore::Stale;
    }
    if (expected == text) {
        return ExpectedStore::Same;
    }
    store(row, record[kNumber].toLongLong(), utf8Of(expected), text, change);
    return ExpectedStore::Stored;
}

void History::store(qint64 row, qint64 number, std::optional<QByteArray> before, const QString& text,
                    PendingChange& change)
{
    if (number < 1 || number > kLargestNumber) {
        raise(errorNumber::DatabaseDamaged);
    }
    keep(number, std::move(before), change);
    storeText(m_version.statements().setText, row, text);
}

void History::keep(qint64 number, std::optional<QByteArray> before, PendingChange& change)
{
    const qint64 group = groupOf(number);
    if (group != change.m_group) {
        VersionStore::Statements& s = m_version.statements();
        if (change.m_id == 0) {
            sqlite::exec(m_version.handle(), schema());
            prepareStatements();
            sqlite::ResetGuard guard(s.addChange);
            s.addChange.bind(1, sourceName(change.source));
            s.addChange.bind(2, change.detail);
            (void)s.addChange.step();
            change.m_id = sqlite3_last_insert_rowid(m_version.handle());
        } else {
            writeGroup(change);
        }
        change.m_group = group;
        // The group's row written before, when the change comes back to it: its texts are kept again, and they
        // stay the ones kept first.
        sqlite::ResetGuard guard(s.findKeptRow);
        s.findKeptRow.bindInt(1, keyOf(change.m_id, group));
        if (s.findKeptRow.step()) {
            for (const auto& [n, text] : keptOrDamaged(s.findKeptRow.columnBlob(0))) {
                change.m_kept.emplace(n, utf8Of(text));
            }
        }
    }
    if (change.m_kept.try_emplace(number, std::move(before)).second) {
        ++change.m_verses;
    }
}

void History::writeGroup(PendingChange& change)
{
    if (change.m_kept.empty()) {
        return;
    }
    if (!m_encoder) {
        m_encoder = std::make_unique<KeptEncoder>();
    }
    VersionStore::Statements& s = m_version.statements();
    sqlite::ResetGuard guard(s.keepRow);
    s.keepRow.bindInt(1, keyOf(change.m_id, change.m_group));
    s.keepRow.bind(2, m_encoder->encode(change.m_kept.begin(), change.m_kept.end()));
    (void)s.keepRow.step();
    change.m_kept.clear();
}

qint64 History::finish(PendingChange& change)
{
    m_version.checkWritable();
    if (change.m_id == 0) {
        return 0;
    }
    writeGroup(change);
    VersionStore::Statements& s = m_version.statements();
    sqlite::ResetGuard guard(s.finishChange);
    s.finishChange.bind(1, QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs));
    s.finishChange.bindInt(2, change.m_verses);
    s.finishChange.bindInt(3, change.m_id);
    (void)s.finishChange.step();
    const qint64 id = change.m_id;
    change = PendingChange(change.source, change.detail);
    return id;
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

std::vector<VerseChange> History::verseChanges(qint64 number)
{
    std::vector<VerseChange> changes;
    const std::optional<qint64> row = m_version.seek(number);
    if (!row || !hasTables()) {
        return changes;
    }
    const VerseRecord record = m_version.record(*row);
    // Each change's row of the verse's group, newest first; a change that kept no text of the verse has none
    // or one without it.
    sqlite::Statement of(m_version.handle(), QStringLiteral("SELECT %1, h.\"본문\" FROM \"변경\" c JOIN \"이전본문\" h "
                                                            "ON h.\"열쇠\" = (c.\"번호\" << 24) + ?1 "
                                                            "ORDER BY c.\"번호\" DESC")
                                                 .arg(kChangeColumns));
    of.bindInt(1, groupOf(number));
    QVariant after = record[kText];
    while (of.step()) {
        for (const auto& [n, before] : keptOrDamaged(of.columnBlob(5))) {
            if (n == number) {
                changes.push_back({changeFrom(of), number, record[kReference].toString(), before, after});
                after = before;
            }
        }
    }
    return changes;
}

History::KeptTexts History::kept(qint64 change, std::optional<qint64> group)
{
    sqlite::Statement rows(m_version.handle(),
                           QStringLiteral("SELECT \"본문\" FROM \"이전본문\" WHERE \"열쇠\" BETWEEN ?1 AND ?2"));
    rows.bindInt(1, keyOf(change, group.value_or(0)));
    rows.bindInt(2, keyOf(change, group.value_or(kLargestNumber)));
    KeptTexts all;
    while (rows.step()) {
        const KeptTexts texts = keptOrDamaged(rows.columnBlob(0));
        all.insert(all.end(), texts.begin(), texts.end());
    }
    return all;
}

std::vector<VerseChange> History::takeBack(qint64 change, std::optional<qint64> number, ChangeSource source)
{
    m_version.checkWritable();
    std::vector<VerseChange> restored;
    if (!hasTables()) {
        return restored;
    }
    VersionStore::Statements& s = m_version.statements();
    Transaction transaction(m_version);
    PendingChange undo(source, QString::number(change));
    std::vector<std::pair<qint64, std::optional<QByteArray>>> alreadyBack;
    for (const auto& [n, before] : kept(change, number ? std::optional(groupOf(*number)) : std::nullopt)) {
        const std::optional<qint64> row = number && n != *number ? std::nullopt : m_version.seek(n);
        if (!row) {
            continue;
        }
        const VerseRecord record = m_version.record(*row);
        if (same(record[kText], before)) {
            alreadyBack.emplace_back(n, utf8Of(record[kText]));
            continue;
        }
        keep(n, utf8Of(record[kText]), undo);
        storeText(s.setText, *row, before);
        restored.push_back({{}, n, record[kReference].toString(), record[kText], before});
    }
    // A change taken back at all counts every verse of it, those already as they were before it too (a verse's own
    // undo, a build that gave a verse twice): by that count the history knows that the whole change was taken back.
    if (!restored.empty()) {
        for (auto& [n, text] : alreadyBack) {
            keep(n, std::move(text), undo);
        }
    }
    const Change made{finish(undo), QDateTime::currentDateTime(), source, QString::number(change),
                      static_cast<qint64>(restored.size())};
    transaction.commit();
    for (VerseChange& verse : restored) {
        verse.change = made;
    }
    return restored;
}

UndoState History::undoState(std::optional<qint64> number)
{
    std::vector<Change> changes;
    if (number) {
        for (VerseChange& verse : verseChanges(*number)) {
            changes.push_back(std::move(verse.change));
        }
    } else {
        changes = this->changes();
    }
    // Oldest first: what is in effect, and the undos that can be redone, each a stack.
    std::vector<const Change*> inEffect;
    std::vector<const Change*> undone;
    const auto tookBack = [&](const Change& change, const std::vector<const Change*>& from) {
        bool ok = false;
        return !from.empty() && change.detail.toLongLong(&ok) == from.back()->id && ok &&
               (number || change.verses == from.back()->verses);
    };
    for (auto it = changes.rbegin(); it != changes.rend(); ++it) {
        if (it->source == ChangeSource::Undo && tookBack(*it, inEffect)) {
            inEffect.pop_back();
            undone.push_back(&*it);
        } else if (it->source == ChangeSource::Redo && tookBack(*it, undone)) {
            undone.pop_back();
            inEffect.push_back(&*it);
        } else {
            inEffect.push_back(&*it);
            undone.clear();
        }
    }
    UndoState state;
    if (!inEffect.empty()) {
        state.undo = *inEffect.back();
    }
    if (!undone.empty()) {
        state.redo = *undone.back();
    }
    return state;
}

} // namespace versiondb
