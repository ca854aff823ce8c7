// The files that the build writes: the reference version 개역.DAT, the
// template null.mdb and the shipped user.dat. Each is read from a copy, so the
// runnable tree is never held.

#include "VersionFixture.h"
#include "support/TestPaths.h"
#include "versiondb/DBEngine.h"
#include "versiondb/Database.h"
#include "versiondb/Names.h"
#include "versiondb/Password.h"
#include "versiondb/Recordset.h"

#include <QFile>
#include <QSet>

using namespace versiondb;

namespace {

class BuiltFiles : public versiondbtest::VersionFixture
{
protected:
    QString copyOf(const QString& built, const QString& name)
    {
        const QString copy = path(name);
        EXPECT_TRUE(QFile::copy(built, copy)) << built.toStdString();
        return copy;
    }
};

} // namespace

TEST_F(BuiltFiles, referenceVersionHoldsEveryVerseOnceInCanonicalOrder)
{
    const QString built = referenceVersionPath(testsupport::builtProgramFolder());
    ASSERT_TRUE(QFile::exists(built)) << built.toStdString();
    const QString file = copyOf(built, QStringLiteral("개역.DAT"));
    auto db = DBEngine::instance().OpenDatabase(file, true, false, passwordConnect());
    auto rs = db->OpenRecordset(QStringLiteral("본문"), dbOpenTable);
    EXPECT_EQ(rs->RecordCount(), 31102);

    rs->setIndex(QStringLiteral("번호"));
    rs->MoveFirst();
    int expected = 0;
    int lastBook = 0;
    int lastChapter = 0;
    int lastVerse = 0;
    QSet<int> books;
    QSet<QString> references;
    while (!rs->Eof()) {
        const int number = rs->Fields(QStringLiteral("번호")).Value().toInt();
        const int book = rs->Fields(QStringLiteral("권")).Value().toInt();
        const int chapter = rs->Fields(QStringLiteral("장")).Value().toInt();
        const int verse = rs->Fields(QStringLiteral("절")).Value().toInt();
        const QString reference = rs->Fields(QStringLiteral("성경구절")).Value().toString();
        ++expected;
        ASSERT_EQ(number, expected);
        // Each verse follows the one before it: the next verse, the first of the next chapter or book.
        const bool next = (book == lastBook && chapter == lastChapter && verse == lastVerse + 1) ||
                          (book == lastBook && chapter == lastChapter + 1 && verse == 1) ||
                          (book == lastBook + 1 && chapter == 1 && verse == 1);
        ASSERT_TRUE(next) << reference.toStdString();
        ASSERT_TRUE(reference.endsWith(QStringLiteral(" %1:%2").arg(chapter).arg(verse))) << reference.toStdString();
        ASSERT_FALSE(rs->Fields(QStringLiteral("본문")).Value().isValid());
        references.insert(reference);
        books.insert(book);
        lastBook = book;
        lastChapter = chapter;
        lastVerse = verse;
        rs->MoveNext();
    }
    EXPECT_EQ(expected, 31102);
    EXPECT_EQ(books.size(), 66);
    EXPECT_EQ(lastBook, 66);
    EXPECT_EQ(references.size(), 31102);
}

TEST_F(BuiltFiles, referenceVersionHasTheKoreanVersification)
{
    const QString file = copyOf(referenceVersionPath(testsupport::builtProgramFolder()), QStringLiteral("ref.dat"));
    auto db = DBEngine::instance().OpenDatabase(file, true, false, passwordConnect());
    auto rs = db->OpenRecordset(QStringLiteral("본문"));
    rs->setIndex(QStringLiteral("성경구절"));
    const std::vector<std::pair<QString, bool>> cases = {
        {QStringLiteral("창 1:1"), true},     {QStringLiteral("계 22:21"), true},
        {QStringLiteral("삼상 30:30"), true}, {QStringLiteral("삼상 30:31"), false},
        {QStringLiteral("아 6:14"), true},    {QStringLiteral("아 6:15"), false},
        {QStringLiteral("고후 13:13"), true}, {QStringLiteral("고후 13:14"), false},
        {QStringLiteral("요삼 1:15"), true},  {QStringLiteral("요삼 1:16"), false},
        {QStringLiteral("창 1:01"), false},   {QStringLiteral("창1:1"), false},
    };
    for (const auto& [reference, found] : cases) {
        SCOPED_TRACE(reference.toStdString());
        rs->Seek(QStringLiteral("="), reference);
        EXPECT_EQ(!rs->NoMatch(), found);
    }
    rs->Seek(QStringLiteral("="), QStringLiteral("창 1:1"));
    EXPECT_EQ(rs->Fields(QStringLiteral("권")).Value(), QVariant(1));
    EXPECT_EQ(rs->Fields(QStringLiteral("번호")).Value(), QVariant(1));
    rs->Seek(QStringLiteral("="), QStringLiteral("계 22:21"));
    EXPECT_EQ(rs->Fields(QStringLiteral("번호")).Value(), QVariant(31102));
    EXPECT_EQ(rs->Fields(QStringLiteral("권")).Value(), QVariant(66));
}

TEST_F(BuiltFiles, templateAndUserFileAreEmptyVersionDatabases)
{
    const std::vector<std::pair<QString, QString>> files = {
        {templatePath(testsupport::builtProgramFolder()), QStringLiteral("null.mdb")},
        {versionPath(testsupport::builtProgramFolder(), QStringLiteral("user.dat")), QStringLiteral("user.dat")},
    };
    for (const auto& [built, name] : files) {
        SCOPED_TRACE(name.toStdString());
        const QString file = copyOf(built, name);
        auto db = DBEngine::instance().OpenDatabase(file, true, false, passwordConnect());
        auto rs = db->OpenRecordset(QStringLiteral("본문"));
        EXPECT_EQ(rs->RecordCount(), 0);
        EXPECT_TRUE(rs->Eof());
        rs->setIndex(QStringLiteral("번호"));
        rs->setIndex(QStringLiteral("성경구절"));
        for (const char* field : {"번호", "권", "장", "절", "성경구절", "본문"}) {
            EXPECT_NO_THROW((void)rs->Fields(QString::fromUtf8(field))) << field;
        }
    }
}
