// The files that the build writes: the reference version 개역.DAT, the
// template null.mdb and the shipped user.dat. Each is read from a copy, so the
// runnable tree is never held.

#include "support/InstallTreeTest.h"
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

class BuiltFiles : public testsupport::InstallTreeTest
{
protected:
    std::unique_ptr<Recordset> openCopy(const QString& built, const QString& name)
    {
        EXPECT_TRUE(QFile::copy(built, path(name))) << built.toStdString();
        m_db = DBEngine::instance().OpenDatabase(path(name), true, false, passwordConnect());
        return m_db->OpenRecordset(QStringLiteral("본문"), dbOpenTable);
    }
    std::unique_ptr<Database> m_db;
};

} // namespace

// Every verse once, in canonical order, with the Korean versification where it differs from the KJV.
TEST_F(BuiltFiles, referenceVersionHoldsEveryVerseOnceInCanonicalOrder)
{
    auto rs = openCopy(referenceVersionPath(testsupport::builtProgramFolder()), QStringLiteral("개역.DAT"));
    EXPECT_EQ(rs->RecordCount(), 31102);
    rs->setIndex(QStringLiteral("번호"));
    int expected = 0;
    int last[3] = {0, 0, 0}; // book, chapter, verse
    QSet<QString> references;
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
        const auto value = [&](const char* name) { return rs->Fields(QString::fromUtf8(name)).Value(); };
        const int book = value("권").toInt();
        const int chapter = value("장").toInt();
        const int verse = value("절").toInt();
        const QString reference = value("성경구절").toString();
        ASSERT_EQ(value("번호").toInt(), ++expected);
        // The next verse, or the first of the next chapter or book.
        ASSERT_TRUE((book == last[0] && chapter == last[1] && verse == last[2] + 1) ||
                    (book == last[0] && chapter == last[1] + 1 && verse == 1) ||
                    (book == last[0] + 1 && chapter == 1 && verse == 1))
            << reference.toStdString();
        ASSERT_TRUE(reference.endsWith(QStringLiteral(" %1:%2").arg(chapter).arg(verse))) << reference.toStdString();
        ASSERT_FALSE(value("본문").isValid());
        references.insert(reference);
        last[0] = book;
        last[1] = chapter;
        last[2] = verse;
    }
    EXPECT_EQ(expected, 31102);
    EXPECT_EQ(last[0], 66);
    EXPECT_EQ(references.size(), 31102);

    rs->setIndex(QStringLiteral("성경구절"));
    const std::vector<std::pair<QString, bool>> cases = {
        {QStringLiteral("창 1:1"), true},     {QStringLiteral("계 22:21"), true},
        {QStringLiteral("삼상 30:30"), true}, {QStringLiteral("삼상 30:31"), false},
        {QStringLiteral("아 6:14"), true},    {QStringLiteral("아 6:15"), false},
        {QStringLiteral("고후 13:13"), true}, {QStringLiteral("고후 13:14"), false},
        {QStringLiteral("요삼 1:15"), true},  {QStringLiteral("요삼 1:16"), false},
    };
    for (const auto& [reference, found] : cases) {
        rs->Seek(QStringLiteral("="), reference);
        EXPECT_EQ(!rs->NoMatch(), found) << reference.toStdString();
    }
}

TEST_F(BuiltFiles, templateAndUserFileAreEmptyVersionDatabases)
{
    const std::vector<std::pair<QString, QString>> files = {
        {templatePath(testsupport::builtProgramFolder()), QStringLiteral("null.mdb")},
        {versionPath(testsupport::builtProgramFolder(), QStringLiteral("user.dat")), QStringLiteral("user.dat")},
    };
    for (const auto& [built, name] : files) {
        SCOPED_TRACE(name.toStdString());
        auto rs = openCopy(built, name);
        EXPECT_EQ(rs->RecordCount(), 0);
        rs->setIndex(QStringLiteral("번호"));
        rs->setIndex(QStringLiteral("성경구절"));
        for (const char* field : {"번호", "권", "장", "절", "성경구절", "본문"}) {
            EXPECT_NO_THROW((void)rs->Fields(QString::fromUtf8(field))) << field;
        }
    }
}
