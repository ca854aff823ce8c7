// byeorisol-data show and save, run as built on temporary install trees.

#include "support/TestPaths.h"
#include "unit/editor/SmallVersions.h"
#include "versiondb/DBEngine.h"
#include "versiondb/Database.h"
#include "versiondb/ErrorNumbers.h"
#include "versiondb/Password.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

const QString kGoEmpty = QStringLiteral("이동할 성경구절을 입력하여 주십시오 !");
const QString kGoNotFound = QStringLiteral("구절입력 형식에 오류가 있습니다. 확인하고 다시 입력하여 주십시오 !");
const QString kSaveEmptyReference = QStringLiteral("저장할 성경구절이 비여 있습니다 !");
const QString kSaveEmptyText = QStringLiteral("저장할 성경본문이 없습니다 !");
const QString kSaveNotFound = QStringLiteral("성경구절명 표기가 잘못되어 있습니다. 확인하여 주십시오 !");
const QString kLineBreak =
    QStringLiteral("라인분리(줄바꿈) 문자가 발견되어 저장할 수 없습니다. 줄바꿈 문자을 제거한후 저장하십시오!");

struct Outcome
{
    int exitCode = -1;
    QString out;
    QString err;
};

class EditorCommands : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_tree.isValid());
        m_sample = m_tree.makeVersion(QStringLiteral("sample.dat"), editortest::sampleVerses());
        ASSERT_FALSE(m_sample.isEmpty());
    }

    Outcome run(const QStringList& arguments) const
    {
        QProcess process;
        process.start(testsupport::builtProgramFolder() + QStringLiteral("/byeorisol-data"),
                      QStringList{QStringLiteral("--program-folder"), m_tree.programFolder()} + arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

    Outcome show(const QString& path, const QString& reference) const
    {
        return run({QStringLiteral("show"), path, reference});
    }

    Outcome save(const QString& path, const QString& reference, const QString& text) const
    {
        return run({QStringLiteral("save"), path, reference, text});
    }

    editortest::VersionTree m_tree;
    QString m_sample;
};

TEST_F(EditorCommands, showPrintsTheReferenceAndTheTextAsTheEditorShowsThem)
{
    const struct
    {
        QString typed;
        QString out;
    } cases[] = {
        {QStringLiteral("창 1:1"), QStringLiteral("창 1:1\n태초에 하나님이 천지를 창조하시니라\n")},
        {QStringLiteral("  계 22:21   "), QStringLiteral("계 22:21\n주 예수의 은혜가 모든 자들에게 있을지어다 아멘\n")},
        {QStringLiteral("창 1:2"), QStringLiteral("창 1:2\n  \n")},
        {QStringLiteral("창 1:3"), QStringLiteral("창 1:3\nnull\n")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        const Outcome result = show(m_sample, c.typed);
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(result.out, c.out);
        EXPECT_TRUE(result.err.isEmpty()) << result.err.toStdString();
    }
}

TEST_F(EditorCommands, showRefusesEmptyAndUnknownReferences)
{
    const struct
    {
        QString typed;
        QString message;
    } cases[] = {
        {QStringLiteral("창1:1"), kGoNotFound},
        {QStringLiteral("창 01:1"), kGoNotFound},
        {QStringLiteral("   "), kGoEmpty},
        {QString(), kGoEmpty},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        const Outcome result = show(m_sample, c.typed);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.out, c.message + QStringLiteral("\n"));
    }
}

TEST_F(EditorCommands, saveStoresTheTrimmedTextThatShowThenPrints)
{
    Outcome result = save(m_sample, QStringLiteral(" 창 1:10 "), QStringLiteral("  하나님이 뭍을  땅이라 칭하시고 "));
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_TRUE(result.out.isEmpty()) << result.out.toStdString();
    EXPECT_EQ(editortest::storedText(m_sample, QStringLiteral("창 1:10")),
              QVariant(QStringLiteral("하나님이 뭍을  땅이라 칭하시고")));
    result = show(m_sample, QStringLiteral("창 1:10"));
    EXPECT_EQ(result.out, QStringLiteral("창 1:10\n하나님이 뭍을  땅이라 칭하시고\n"));

    // A Null verse receives a text; every other record stays as it was.
    auto expected = editortest::storedRecords(m_sample);
    EXPECT_EQ(save(m_sample, QStringLiteral("창 1:2"), QStringLiteral("땅이 혼돈하고")).exitCode, 0);
    expected[1].text = QStringLiteral("땅이 혼돈하고");
    EXPECT_EQ(editortest::storedRecords(m_sample), expected);
}

TEST_F(EditorCommands, saveRefusesByTheEditorsRulesAndStoresNothing)
{
    const struct
    {
        const char* name;
        QString reference;
        QString text;
        QString message;
    } cases[] = {
        {"empty reference", QString(), QStringLiteral("본문"), kSaveEmptyReference},
        {"text of spaces", QStringLiteral("창 1:1"), QStringLiteral("    "), kSaveEmptyText},
        {"empty text", QStringLiteral("창 1:1"), QString(), kSaveEmptyText},
        {"reference of spaces", QStringLiteral("   "), QStringLiteral("본문"), kSaveNotFound},
        {"unknown reference", QStringLiteral("창1:1"), QStringLiteral("본문"), kSaveNotFound},
        {"line feed", QStringLiteral("창 1:1"), QStringLiteral("첫줄\n둘째줄"), kLineBreak},
        {"CR LF", QStringLiteral("창 1:1"), QStringLiteral("첫줄\r\n둘째줄"), kLineBreak},
        {"carriage return at the end", QStringLiteral("창 1:1"), QStringLiteral("첫줄\r"), kLineBreak},
    };
    const auto before = editortest::storedRecords(m_sample);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome result = save(m_sample, c.reference, c.text);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.out, c.message + QStringLiteral("\n"));
    }
    EXPECT_EQ(editortest::storedRecords(m_sample), before);
}

TEST_F(EditorCommands, filesThatAreNoVersionFailWithTheEnginesDescription)
{
    const QString text = m_tree.writeFile(QStringLiteral("notes.dat"), "창 1:1 태초에\r\n");
    const QString held = m_tree.makeVersion(QStringLiteral("held.dat"), editortest::sampleVerses());
    auto holder = versiondb::DBEngine::instance().OpenDatabase(held, true, false, versiondb::passwordConnect());
    const struct
    {
        QString path;
        QString name;
        int number;
    } cases[] = {
        {m_tree.pathOf(QStringLiteral("missing.dat")), QStringLiteral("missing.dat"),
         versiondb::errorNumber::FileNotFound},
        {text, QStringLiteral("notes.dat"), versiondb::errorNumber::UnrecognizedFormat},
        {held, QStringLiteral("held.dat"), versiondb::errorNumber::FileInUse},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const QString expected =
            c.name + QStringLiteral("\n\n") + versiondb::errorDescription(c.number) + QStringLiteral("\n");
        Outcome result = show(c.path, QStringLiteral("창 1:1"));
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.out, expected);
        result = save(c.path, QStringLiteral("창 1:1"), QStringLiteral("본문"));
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.out, expected);
    }
    holder->Close();
    EXPECT_EQ(editortest::storedText(held, QStringLiteral("창 1:1")),
              QVariant(QStringLiteral("태초에 하나님이 천지를 창조하시니라")));
}

TEST_F(EditorCommands, aRelativePathIsTheVersionInTheCurrentFolder)
{
    QProcess process;
    process.setWorkingDirectory(m_tree.installFolder());
    process.start(testsupport::builtProgramFolder() + QStringLiteral("/byeorisol-data"),
                  {QStringLiteral("show"), QStringLiteral("sample.dat"), QStringLiteral("출 1:1")});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_EQ(QString::fromUtf8(process.readAllStandardOutput()),
              QStringLiteral("출 1:1\n야곱과 함께 각기 권속을 데리고 애굽에 이른\n"));
}

TEST_F(EditorCommands, wrongArgumentCountsAreUsageErrors)
{
    const QList<QStringList> cases = {
        {QStringLiteral("show"), m_sample},
        {QStringLiteral("show"), m_sample, QStringLiteral("창 1:1"), QStringLiteral("x")},
        {QStringLiteral("save"), m_sample, QStringLiteral("창 1:1")},
        {QStringLiteral("save"), m_sample, QStringLiteral("창 1:1"), QStringLiteral("a"), QStringLiteral("b")},
    };
    const auto before = editortest::storedRecords(m_sample);
    for (const QStringList& arguments : cases) {
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        const Outcome result = run(arguments);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_TRUE(result.err.contains(QStringLiteral("usage: byeorisol-data")));
        EXPECT_TRUE(result.err.contains(QStringLiteral("show PATH REFERENCE")));
        EXPECT_TRUE(result.err.contains(QStringLiteral("save PATH REFERENCE TEXT")));
    }
    EXPECT_EQ(editortest::storedRecords(m_sample), before);
}

TEST_F(EditorCommands, theShippedReferenceVersionIsEditedLikeAnyOther)
{
    const QString reference = m_tree.pathOf(QStringLiteral("개역.DAT"));
    ASSERT_TRUE(QFile::copy(testsupport::builtInstallFolder() + QStringLiteral("/개역.DAT"), reference));
    Outcome result = show(reference, QStringLiteral("계 22:21"));
    ASSERT_EQ(result.exitCode, 0) << result.out.toStdString();
    EXPECT_TRUE(result.out.startsWith(QStringLiteral("계 22:21\n")));
    result =
        save(reference, QStringLiteral("계 22:21"), QStringLiteral("주 예수의 은혜가 모든 자들에게 있을지어다 아멘"));
    EXPECT_EQ(result.exitCode, 0) << result.out.toStdString();
    result = show(reference, QStringLiteral("계 22:21"));
    EXPECT_EQ(result.out, QStringLiteral("계 22:21\n주 예수의 은혜가 모든 자들에게 있을지어다 아멘\n"));
    EXPECT_EQ(editortest::storedRecords(reference).size(), 31102);
}

} // namespace
