// The version store: lookups by reference and number, stores, and what each needs.

#include "versiondb/VersionStore.h"

#include "support/InstallTreeTest.h"
#include "versiondb/Transaction.h"

using namespace versiondb;
using namespace Qt::StringLiterals;
using testsupport::errorOf;

namespace {

using VersionStoreTest = testsupport::InstallTreeTest;

std::unique_ptr<VersionStore> open(const QString& file, VersionStore::Hold hold = VersionStore::Hold::Write)
{
    return VersionStore::OpenDatabase(file, hold);
}

} // namespace

// A lookup finds the key exactly as stored, the first of equal keys in the order they were added, never a
// Null; the last record is the one of the greatest 번호; a transaction left without Commit stores nothing.
TEST_F(VersionStoreTest, lookupsFindTheFirstOfAKeyAndTheLastByNumber)
{
    auto version = open(makeVersion(QStringLiteral("v.dat"), 0));
    EXPECT_FALSE(version->lastRow());
    const auto add = [&](int number, const QVariant& reference, const QVariant& text = {}) {
        version->addRecord({number, 1, 1, number, reference, text});
    };
    add(3, QStringLiteral("나 1:1"), QStringLiteral("first"));
    add(1, QStringLiteral("다 1:1"));
    add(7, QVariant());
    add(5, QStringLiteral("나 1:1"), QStringLiteral("second"));
    add(7, QStringLiteral("가 1:1"));
    {
        Transaction uncommitted(*version);
        add(8, QStringLiteral("라 1:1"));
    }
    EXPECT_EQ(version->RecordCount(), 5);
    const auto textAt = [&](std::optional<qint64> row) { return row ? version->record(*row)[kText] : u"-"_s; };
    EXPECT_EQ(textAt(version->Seek(QStringLiteral("나 1:1"))), u"first"_s);
    EXPECT_EQ(textAt(version->Seek(qint64(5))), u"second"_s);
    EXPECT_EQ(version->record(*version->lastRow())[kReference], u"가 1:1"_s);
    for (const QString& missing : {QStringLiteral("나 1:01"), QStringLiteral("라 1:1"), QString()}) {
        EXPECT_FALSE(version->Seek(missing)) << qPrintable(missing);
    }
    EXPECT_FALSE(version->Seek(qint64(8)));
}

// A text is stored as given ("" and "null" as themselves) into 본문 alone; numbers come back as ints.
// Storing needs a record, an open store and a writable hold; a file without the table or an index opens
// with its error.
TEST_F(VersionStoreTest, storesChangeOnlyTheTextAndNeedARecordAndAWritableHold)
{
    const QString file = makeVersion(QStringLiteral("v.dat"), 3, testsupport::Texts::EveryThird);
    auto version = open(file);
    const QStringList texts{u""_s, QStringLiteral("null"), QStringLiteral("본문")};
    for (int i = 0; i < 3; ++i) {
        version->setText(*version->Seek(QStringLiteral("창 1:%1").arg(i + 1)), texts[i]);
    }
    EXPECT_EQ(errorOf([&] { version->setText(99, u"x"_s); }), errorNumber::NoCurrentRecord);
    EXPECT_EQ(errorOf([&] { (void)version->record(99); }), errorNumber::NoCurrentRecord);
    version->Close();
    EXPECT_EQ(errorOf([&] { (void)version->Seek(qint64(1)); }), errorNumber::ObjectClosed);
    int n = 0;
    open(file, VersionStore::Hold::Unchanged)->readVerses([&](const VerseRecord& r) {
        ++n;
        EXPECT_EQ(r[kNumber].typeId(), QMetaType::Int);
        EXPECT_EQ(r[kReference], QStringLiteral("창 1:%1").arg(n));
        EXPECT_EQ(r[kText], QVariant(texts[n - 1])) << n;
    });
    EXPECT_EQ(n, 3);
    auto unchanged = open(file, VersionStore::Hold::Unchanged);
    EXPECT_EQ(errorOf([&] { unchanged->setText(1, u"x"_s); }), errorNumber::ReadOnly);
    unchanged.reset();
    for (const auto& [statement, error] : {std::pair("DROP INDEX \"번호\"", errorNumber::NoSuchIndex),
                                           std::pair("DROP TABLE \"본문\"", errorNumber::NoSuchTable)}) {
        (void)testsupport::sql(file, QString::fromUtf8(statement));
        EXPECT_EQ(errorOf([&] { (void)open(file); }), error) << statement;
    }
}
