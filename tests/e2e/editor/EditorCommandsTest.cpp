// byeorisol-data show and save, run as built on temporary install trees.

#include "support/DataCommand.h"
#include "support/InstallTree.h"
#include "support/TestPaths.h"
#include "versiondb/ErrorNumbers.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

const QString kGoEmpty = QStringLiteral("이동할 성경구절을 입력하여 주십시오 !");
const QString kGoNotFound = QStringLiteral("구절입력 형식에 오류가 있습니다. 확인하고 다시 입력하여 주십시오 !");
const QString kSaveEmptyReference = QStringLiteral("저장할 성경구절이 비여 있습니다 !");
const QString kSaveEmptyText = QStringLiteral("저장할 성경본문이 없습니다 !");
const QString kSaveNotFound = QStringLiteral("성경구절명 표기가 잘못되어 있습니다. 확인하여 주십시오 !");
const QString kLineBreak =
    QStringLiteral("라인분리(줄바꿈) 문자가 발견되어 저장할 수 없습니다. 줄바꿈 문자을 제거한후 저장하십시오!");

using Outcome = testsupport::CommandResult;

class EditorCommands : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_tree.isValid());
        m_sample = m_tree.makeVersion(QStringLiteral("sample.dat"), testsupport::sampleVerses());
        ASSERT_FALSE(m_sample.isEmpty());
    }

    // Without a working folder the program folder is given; with one, the program finds its own.
    Outcome run(const QStringList& arguments, const QString& workingFolder = QString()) const
    {
        return testsupport::runDataCommand(workingFolder.isEmpty() ? m_tree.programFolder() : QString(), arguments,
                                           workingFolder);
    }

    Outcome show(const QString& path, const QString& reference) const
    {
        return run({QStringLiteral("show"), path, reference});
    }

    Outcome save(const QString& path, const QString& reference, const QString& text) const
    {
        return run({QStringLiteral("save"), path, reference, text});
    }

    testsupport::InstallTree m_tree{{QStringLiteral("null.mdb")}};
    QString m_sample;
};

TEST_F(EditorCommands, showPrintsWhatGoShowsOrRefusesWithItsMessage)
{
    const struct
    {
        QString typed;
        int exitCode;
        QString out;
    } cases[] = {
        {QStringLiteral("  계 22:21   "), 0,
         QStringLiteral("계 22:21\n주 예수의 은혜가 모든 자들에게 있을지어다 아멘\n")},
        {QStringLiteral("창 1:2"), 0, QStringLiteral("창 1:2\n  \n")},
        {QStringLiteral("창 1:3"), 0, QStringLiteral("창 1:3\nnull\n")},
        {QStringLiteral("창 01:1"), 1, kGoNotFound + QStringLiteral("\n")},
        {QStringLiteral("   "), 1, kGoEmpty + QStringLiteral("\n")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        const Outcome result = show(m_sample, c.typed);
        EXPECT_EQ(result.exitCode, c.exitCode);
        EXPECT_EQ(result.out, c.out);
        EXPECT_TRUE(result.err.isEmpty()) << result.err.toStdString();
    }
}

TEST_F(EditorCommands, saveStoresTheTrimmedTextIntoThatVerseAlone)
{
    // Only spaces are trimmed; every other character is stored as given.
    const QString stored = QStringLiteral("\t땅이\u00A0혼돈하고  \u3000\"공허\" 'ㅎ'");
    auto expected = testsupport::storedRecords(m_sample);
    expected[1].text = stored;
    const Outcome result =
        save(m_sample, QStringLiteral(" 창 1:2 "), QStringLiteral("  ") + stored + QStringLiteral(" "));
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.out.isEmpty()) << result.out.toStdString();
    EXPECT_EQ(testsupport::storedRecords(m_sample), expected);
    // A relative path is the version in the current folder.
    const QStringList arguments = {QStringLiteral("show"), QStringLiteral("sample.dat"), QStringLiteral("창 1:2")};
    EXPECT_EQ(run(arguments, m_tree.installFolder()).out, QStringLiteral("창 1:2\n") + stored + QLatin1Char('\n'));
}

TEST_F(EditorCommands, aFileThatIsNoVersionFailsWithTheEnginesDescription)
{
    const QString notes = m_tree.writeFile(QStringLiteral("notes.dat"), "창 1:1 태초에\r\n");
    const QString expected = QStringLiteral("notes.dat\n\n") +
                             versiondb::errorDescription(versiondb::errorNumber::UnrecognizedFormat) +
                             QLatin1Char('\n');
    for (const Outcome& result :
         {show(notes, QStringLiteral("창 1:1")), save(notes, QStringLiteral("창 1:1"), QStringLiteral("본문"))}) {
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.out, expected);
    }
}

TEST_F(EditorCommands, theShippedReferenceVersionIsEditedLikeAnyOther)
{
    const QString reference = m_tree.path(QStringLiteral("개역.DAT"));
    ASSERT_TRUE(QFile::copy(testsupport::builtInstallFolder() + QStringLiteral("/개역.DAT"), reference));
    const QString amen = QStringLiteral("주 예수의 은혜가 모든 자들에게 있을지어다 아멘");
    const Outcome result = save(reference, QStringLiteral("계 22:21"), amen);
    EXPECT_EQ(result.exitCode, 0) << result.out.toStdString();
    EXPECT_EQ(show(reference, QStringLiteral("계 22:21")).out, QStringLiteral("계 22:21\n") + amen + QLatin1Char('\n'));
    EXPECT_EQ(testsupport::storedRecords(reference).size(), 31102);
}

} // namespace
