// The version store's lookups and stores, and the history of texts.

#include "versiondb/History.h"

#include "support/InstallTreeTest.h"
#include "versiondb/Repair.h"
#include "versiondb/Transaction.h"
#include "versiondb/VersionStore.h"
#include "versiondb/VersionSummary.h"

#include <QDataStream>
#include <zstd.h>

using namespace versiondb;
using namespace Qt::StringLiterals;
using namespace testsupport;

namespace {

using HistoryTest = InstallTreeTest;
using VersionStoreTest = InstallTreeTest;

QVariantList textsOf(const std::vector<VerseChange>& changes, bool before)
{
    QVariantList texts;
    std::ranges::transform(changes, std::back_inserter(texts), before ? &VerseChange::before : &VerseChange::after);
    return texts;
}

} // namespace

// A lookup finds the key as stored, the first of equal keys, never a Null; a transaction not committed stores nothing.
TEST_F(VersionStoreTest, lookupsFindTheFirstOfAKeyAndTheLastByNumber)
{
    auto version = VersionStore::openDatabase(makeVersion(u"v.dat"_s, 0));
    EXPECT_FALSE(version->lastRow());
    const auto add = [&](int number, const QVariant& reference, const QVariant& text = {}) {
        version->addRecord({number, 1, 1, number, reference, text});
    };
    add(3, u"나 1:1"_s, u"first"_s);
    add(1, u"다 1:1"_s);
    add(7, QVariant());
    add(5, u"나 1:1"_s, u"second"_s);
    add(7, u"가 1:1"_s);
    {
        Transaction uncommitted(*version);
        add(8, u"라 1:1"_s);
    }
    EXPECT_EQ(version->recordCount(), 5);
    const auto textAt = [&](std::optional<qint64> row) { return row ? version->record(*row)[kText] : u"-"_s; };
    EXPECT_EQ(textAt(version->seek(u"나 1:1"_s)), u"first"_s);
    EXPECT_EQ(textAt(version->seek(qint64(5))), u"second"_s);
    EXPECT_EQ(version->record(*version->lastRow())[kReference], u"가 1:1"_s);
    for (const QString& missing : {u"나 1:01"_s, u"라 1:1"_s, QString()}) {
        EXPECT_FALSE(version->seek(missing)) << qPrintable(missing);
    }
    EXPECT_FALSE(version->seek(qint64(8)));
}

// A text is stored as given into 본문 alone, given a record, an open store and a writable hold.
TEST_F(VersionStoreTest, storesChangeOnlyTheTextAndNeedARecordAndAWritableHold)
{
    const QString file = makeVersion(u"v.dat"_s, 3, Texts::EveryThird);
    auto version = VersionStore::openDatabase(file);
    const QStringList texts{u""_s, u"null"_s, u"본문"_s};
    for (int i = 0; i < 3; ++i) {
        version->setText(*version->seek(u"창 1:%1"_s.arg(i + 1)), texts[i]);
    }
    EXPECT_EQ(errorOf([&] { version->setText(99, u"x"_s); }), errorNumber::NoCurrentRecord);
    EXPECT_EQ(errorOf([&] { (void)version->record(99); }), errorNumber::NoCurrentRecord);
    version->close();
    EXPECT_EQ(errorOf([&] { (void)version->seek(qint64(1)); }), errorNumber::ObjectClosed);
    QStringList read; // the type of 번호, 성경구절 and 본문 of each record
    VersionStore::openDatabase(file, VersionStore::Hold::Unchanged)->readVerses([&](const VerseRecord& r) {
        const QString text = r[kText].isNull() ? u"<Null>"_s : r[kText].toString();
        read << QString::fromLatin1(r[kNumber].typeName()) + u'|' + r[kReference].toString() + u'|' + text;
    });
    EXPECT_EQ(read, (QStringList{u"int|창 1:1|"_s, u"int|창 1:2|null"_s, u"int|창 1:3|본문"_s}));
    EXPECT_EQ(errorOf([&] { VersionStore::openDatabase(file, VersionStore::Hold::Unchanged)->setText(1, u"x"_s); }),
              errorNumber::ReadOnly);
    for (const auto& [statement, error] : {std::pair("DROP INDEX \"번호\"", errorNumber::NoSuchIndex),
                                           std::pair("DROP TABLE \"본문\"", errorNumber::NoSuchTable)}) {
        (void)sql(file, QString::fromUtf8(statement));
        EXPECT_EQ(errorOf([&] { (void)VersionStore::openDatabase(file); }), error) << statement;
    }
}

// A change keeps each verse's text from before its first store; a verse's changes line up newest first; taking back
// a change, or a verse's last, is a change of its own.
TEST_F(HistoryTest, changesKeepTheTextsBeforeThemAndTakingBackIsAChangeToo)
{
    const QString file = makeVersion(u"v.dat"_s, 3, Texts::Most); // 1..3 with texts
    // A version of the earlier release has no history tables: the first change makes them.
    ASSERT_EQ(sql(file, u"DROP TABLE 변경; DROP TABLE 이전본문"_s), QString());
    auto version = VersionStore::openDatabase(file);
    History history(*version);
    EXPECT_TRUE(history.changes().empty());
    const auto row = [&](qint64 n) { return *version->seek(n); };
    const QVariant original2 = version->record(row(2))[kText];
    PendingChange build(ChangeSource::Build, u"a.txt"_s);
    qint64 buildId = 0;
    {
        Transaction transaction(*version);
        EXPECT_FALSE(history.setText(row(1), version->record(row(1))[kText].toString(), build)); // unchanged
        EXPECT_EQ(history.finish(build), 0);
        EXPECT_TRUE(history.setText(row(2), u"둘"_s, build));
        EXPECT_TRUE(history.setText(row(2), u"둘 다시"_s, build)); // the text before the change stays kept
        EXPECT_TRUE(history.setText(row(3), u"셋"_s, build));
        buildId = history.finish(build);
        transaction.commit();
    }
    PendingChange edit(ChangeSource::Editor);
    EXPECT_TRUE(history.setText(row(2), u"편집"_s, edit));
    const qint64 editId = history.finish(edit);
    const std::vector<Change> changes = history.changes();
    ASSERT_EQ(changes.size(), 2U);
    EXPECT_TRUE(changes[0].id == editId && changes[0].verses == 1 && changes[1].source == ChangeSource::Build &&
                changes[1].detail == u"a.txt"_s && changes[1].verses == 2);
    EXPECT_EQ(textsOf(history.verseChanges(2), true), (QVariantList{u"둘 다시"_s, original2}));
    EXPECT_EQ(textsOf(history.verseChanges(2), false), (QVariantList{u"편집"_s, u"둘 다시"_s}));

    const std::vector<VerseChange> undone = history.takeBack(buildId, std::nullopt, ChangeSource::Undo);
    ASSERT_EQ(undone.size(), 2U);
    EXPECT_EQ(version->record(row(2))[kText], original2);
    EXPECT_TRUE(undone[1].before == u"셋"_s && undone[1].after == version->record(row(3))[kText]);
    EXPECT_TRUE(undone[0].change.source == ChangeSource::Undo && undone[0].change.detail == QString::number(buildId));
    (void)history.takeBack(undone[0].change.id, 2, ChangeSource::Undo); // the undo of verse 2 undone
    EXPECT_EQ(version->record(row(2))[kText], u"편집"_s);
    EXPECT_TRUE(history.takeBack(undone[0].change.id, 2, ChangeSource::Undo).empty()); // nothing differs now
    EXPECT_EQ(history.changes().size(), 4U);
    // Undos written before redo existed read as any others.
    const UndoState whole = history.undoState(std::nullopt);
    const UndoState verse = history.undoState(2);
    const qint64 last = history.changes().front().id;
    EXPECT_TRUE(whole.undo->id == last && !whole.redo && verse.undo->id == editId && verse.redo->id == last);

    version->close();
    auto unchanged = VersionStore::openDatabase(file, VersionStore::Hold::Unchanged);
    EXPECT_EQ(History(*unchanged).changes().size(), 4U);
    EXPECT_EQ(errorOf([&] { (void)History(*unchanged).takeBack(buildId, std::nullopt, ChangeSource::Undo); }),
              errorNumber::ReadOnly);
    unchanged.reset();

    // A damaged row of kept texts makes the version unsound; a repair keeps every row that reads.
    ASSERT_EQ(sql(file, u"UPDATE 이전본문 SET 본문 = X'00' WHERE 열쇠 = (SELECT min(열쇠) FROM 이전본문)"_s),
              QString());
    auto damaged = VersionStore::openDatabase(file);
    EXPECT_TRUE(damaged->soundnessFault().has_value());
    EXPECT_EQ(errorOf([&] { (void)History(*damaged).verseChanges(2); }), errorNumber::DatabaseDamaged);
    damaged.reset();
    EXPECT_TRUE(repairDatabase(file).rewritten);
    auto repaired = VersionStore::openDatabase(file);
    EXPECT_FALSE(repaired->soundnessFault().has_value());
    EXPECT_EQ(History(*repaired).changes().size(), 4U);
    EXPECT_EQ(History(*repaired).verseChanges(2).size(), 3U); // the build's row is gone
}

// A change keeps its texts 64 번호 a row; coming back to a row keeps its first texts and counts each verse once, even
// one given back its text: taking the change back counts it too, and so is the undo of the whole change.
TEST_F(HistoryTest, aChangeThatComesBackToAGroupKeepsItsFirstTexts)
{
    const QString file = makeVersion(u"v.dat"_s, 130, Texts::Most);
    auto version = VersionStore::openDatabase(file);
    History history(*version);
    const auto row = [&](qint64 n) { return *version->seek(n); };
    const QVariant original2 = version->record(row(2))[kText], original3 = version->record(row(3))[kText];
    PendingChange build(ChangeSource::Build);
    Transaction transaction(*version);
    for (const auto& [n, text] :
         {std::pair{2, u"a"_s}, {70, u"b"_s}, {3, u"c"_s}, {2, original2.toString()}, {129, u"e"_s}}) {
        EXPECT_TRUE(history.setText(row(n), text, build));
    }
    (void)history.finish(build);
    transaction.commit();
    EXPECT_EQ(history.changes().at(0).verses, 4);
    EXPECT_EQ(textsOf(history.verseChanges(2), true), QVariantList{original2});
    EXPECT_EQ(textsOf(history.verseChanges(3), true), QVariantList{original3});
    EXPECT_EQ(history.takeBack(history.changes().at(0).id, std::nullopt, ChangeSource::Undo).size(), 3U);
    EXPECT_EQ(version->record(row(2))[kText], original2);
    EXPECT_TRUE(!history.undoState(std::nullopt).undo && history.undoState(std::nullopt).redo);
}

// A row of kept texts decodes as zstd wrote it; one cut short, in another form or holding a line break is refused.
TEST(KeptRows, decodeAsWrittenAndRefuseDamagedOnes)
{
    const auto packed = [](const QByteArray& first) {
        QByteArray payload;
        QDataStream out(&payload, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_6_0);
        out << quint32(2) << qint64(7) << true << first << qint64(9) << false << QByteArray();
        QByteArray zstd(static_cast<qsizetype>(ZSTD_compressBound(payload.size())), Qt::Uninitialized);
        zstd.truncate(
            static_cast<qsizetype>(ZSTD_compress(zstd.data(), zstd.size(), payload.data(), payload.size(), 1)));
        return zstd;
    };
    const QByteArray zstd = packed(u"태초에"_s.toUtf8());
    const History::KeptTexts texts{{7, u"태초에"_s}, {9, QVariant()}};
    const std::tuple<const char*, QByteArray, bool> cases[] = {
        {"zstd", zstd, true},
        {"zstd cut short", zstd.chopped(1), false},
        {"a line break", packed("\xED\x83\x9C\xEC\xB4\x88\n\xEC\x97\x90"), false},
        {"a carriage return", packed("a\rb"), false},
        {"broken UTF-8", packed("\xED\x83"), false},
        {"zlib's form", qCompress(u"태초에"_s.toUtf8()), false},
        {"neither", "\x00\x00\x00\x01\x00"_ba, false},
    };
    for (const auto& [name, row, whole] : cases) {
        EXPECT_EQ(History::decodeKept(row), whole ? std::optional(texts) : std::nullopt) << name;
    }
}

// A summary counts the verses with a text and gives its newest change's time, even of a file it cannot write.
TEST_F(HistoryTest, theSummaryCountsTextsAndGivesTheNewestChange)
{
    const QString file = makeVersion(u"v.dat"_s, 5, Texts::Most); // 1..4 with texts
    ASSERT_EQ(sql(file, u"UPDATE 본문 SET 본문 = '' WHERE 번호 = 1"_s), QString());
    EXPECT_EQ(summarizeVersion(file), (VersionSummary{5, 3, std::nullopt}));
    {
        auto version = VersionStore::openDatabase(file);
        PendingChange edit(ChangeSource::Editor);
        History history(*version);
        history.setText(*version->seek(qint64{1}), u"하나"_s, edit);
        history.finish(edit);
    }
    ASSERT_TRUE(QFile::setPermissions(file, QFileDevice::ReadOwner));
    const VersionSummary after = summarizeVersion(file);
    EXPECT_EQ(after.versesWithText, 4);
    EXPECT_LE(qAbs(after.changed.value().secsTo(QDateTime::currentDateTime())), 60);
}
