#include "editor/VerseEditor.h"

#include "unit/editor/SmallVersions.h"
#include "versiondb/DBEngine.h"
#include "versiondb/Database.h"
#include "versiondb/ErrorNumbers.h"
#include "versiondb/Password.h"
#include "versiondb/VersionFile.h"

#include <QFile>
#include <gtest/gtest.h>
#include <limits>

using editor::GoResult;
using editor::SaveResult;
using editor::StepResult;
using editor::VerseEditor;
using editortest::Verse;

namespace {

class VerseEditorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_tree.isValid());
        m_sample = m_tree.makeVersion(QStringLiteral("sample.dat"), editortest::sampleVerses());
        ASSERT_FALSE(m_sample.isEmpty());
    }

    void openSample()
    {
        const auto failure = m_editor.open(m_sample);
        ASSERT_FALSE(failure.has_value()) << failure->description.toStdString();
    }

    void goTo(const QString& reference)
    {
        ASSERT_EQ(m_editor.go(reference).result, GoResult::Found) << reference.toStdString();
    }

    editortest::VersionTree m_tree;
    QString m_sample;
    VerseEditor m_editor;
};

TEST_F(VerseEditorTest, openHoldsTheVersionExclusivelyUntilClosed)
{
    openSample();
    EXPECT_TRUE(m_editor.isOpen());
    EXPECT_FALSE(editortest::openable(m_sample));
    m_editor.close();
    EXPECT_FALSE(m_editor.isOpen());
    EXPECT_TRUE(editortest::openable(m_sample));
    m_editor.close(); // closing again is no error
    EXPECT_FALSE(m_editor.isOpen());
}

TEST_F(VerseEditorTest, openingAnotherVersionClosesTheFirst)
{
    const QString other =
        m_tree.makeVersion(QStringLiteral("other.dat"), {{1, QStringLiteral("창 1:1"), QStringLiteral("다른")}});
    openSample();
    ASSERT_FALSE(m_editor.open(other).has_value());
    EXPECT_TRUE(editortest::openable(m_sample));
    EXPECT_FALSE(editortest::openable(other));
    const auto shown = m_editor.go(QStringLiteral("창 1:1"));
    EXPECT_EQ(shown.verse.text, QStringLiteral("다른"));
}

TEST_F(VerseEditorTest, theSameVersionCanBeOpenedAgain)
{
    openSample();
    EXPECT_FALSE(m_editor.open(m_sample).has_value());
    EXPECT_EQ(m_editor.go(QStringLiteral("창 1:1")).result, GoResult::Found);
}

TEST_F(VerseEditorTest, aFailedOpenLeavesNothingOpen)
{
    const QString notADatabase = m_tree.writeFile(QStringLiteral("text.dat"), "창 1:1 태초에\r\n");
    versiondb::PasswordVerifier otherPassword;
    otherPassword.salt = "0123456789abcdef";
    otherPassword.iterations = 1000;
    otherPassword.key = versiondb::deriveKey("another", otherPassword.salt, otherPassword.iterations, 32);
    const QString locked = m_tree.pathOf(QStringLiteral("locked.dat"));
    versiondb::VersionFile::create(locked, otherPassword);
    const QString held = m_tree.makeVersion(QStringLiteral("held.dat"), editortest::sampleVerses());
    auto holder = versiondb::DBEngine::instance().OpenDatabase(held, true, false, versiondb::passwordConnect());

    const struct
    {
        const char* name;
        QString path;
        int number;
    } cases[] = {
        {"missing", m_tree.pathOf(QStringLiteral("missing.dat")), versiondb::errorNumber::FileNotFound},
        {"not a database", notADatabase, versiondb::errorNumber::UnrecognizedFormat},
        {"another password", locked, versiondb::errorNumber::InvalidPassword},
        {"held by someone else", held, versiondb::errorNumber::FileInUse},
        {"a folder", m_tree.installFolder(), versiondb::errorNumber::InvalidPath},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        openSample();
        const auto failure = m_editor.open(c.path);
        ASSERT_TRUE(failure.has_value());
        EXPECT_EQ(failure->number, c.number);
        EXPECT_FALSE(failure->description.isEmpty());
        EXPECT_FALSE(m_editor.isOpen());
        // The version open before was closed first.
        EXPECT_TRUE(editortest::openable(m_sample));
        EXPECT_EQ(m_editor.go(QStringLiteral("창 1:1")).result, GoResult::Failed);
        EXPECT_EQ(m_editor.previous().result, StepResult::Failed);
        EXPECT_EQ(m_editor.save(QStringLiteral("창 1:1"), QStringLiteral("x")).result, SaveResult::Failed);
    }
    holder->Close();
    EXPECT_EQ(editortest::storedText(m_sample, QStringLiteral("창 1:1")),
              QVariant(QStringLiteral("태초에 하나님이 천지를 창조하시니라")));
}

TEST_F(VerseEditorTest, aVersionWithoutTheReferenceIndexDoesNotOpen)
{
    const QString path = m_tree.makeVersion(QStringLiteral("noindex.dat"), editortest::sampleVerses());
    {
        // Drop the index with SQLite itself: the engine never changes a schema.
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, "DROP INDEX \"성경구절\"", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close_v2(db);
    }
    const auto failure = m_editor.open(path);
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(failure->number, versiondb::errorNumber::NoSuchIndex);
    EXPECT_FALSE(m_editor.isOpen());
    EXPECT_TRUE(editortest::openable(path));
}

TEST_F(VerseEditorTest, goLooksTheTrimmedReferenceUpExactly)
{
    openSample();
    const struct
    {
        QString typed;
        GoResult result;
        QString reference;
    } cases[] = {
        {QStringLiteral("창 1:1"), GoResult::Found, QStringLiteral("창 1:1")},
        {QStringLiteral("   창 1:1  "), GoResult::Found, QStringLiteral("창 1:1")},
        {QStringLiteral("창1:1"), GoResult::NotFound, QStringLiteral("창1:1")},
        {QStringLiteral("창 01:1"), GoResult::NotFound, QStringLiteral("창 01:1")},
        {QStringLiteral("창  1:1"), GoResult::NotFound, QStringLiteral("창  1:1")},
        {QStringLiteral("\t창 1:1"), GoResult::NotFound, QStringLiteral("\t창 1:1")},
        {QStringLiteral("    "), GoResult::EmptyReference, QString()},
        {QString(), GoResult::EmptyReference, QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        const auto outcome = m_editor.go(c.typed);
        EXPECT_EQ(outcome.result, c.result);
        EXPECT_EQ(outcome.reference, c.reference);
    }
}

TEST_F(VerseEditorTest, goShowsNullAsTwoSpacesAndTheLettersNullAsThey)
{
    openSample();
    const struct
    {
        QString reference;
        QString text;
    } cases[] = {
        {QStringLiteral("창 1:1"), QStringLiteral("태초에 하나님이 천지를 창조하시니라")},
        {QStringLiteral("창 1:2"), QStringLiteral("  ")},
        {QStringLiteral("창 1:3"), QStringLiteral("null")},
    };
    for (const auto& c : cases) {
        const auto outcome = m_editor.go(c.reference);
        ASSERT_EQ(outcome.result, GoResult::Found);
        EXPECT_EQ(outcome.verse.reference, c.reference);
        EXPECT_EQ(outcome.verse.text, c.text);
    }
}

TEST_F(VerseEditorTest, stepsFollowTheNumbersNotTheReferences)
{
    openSample();
    goTo(QStringLiteral("창 1:3"));
    auto outcome = m_editor.next();
    ASSERT_EQ(outcome.result, StepResult::Neighbour);
    EXPECT_EQ(outcome.reference, QStringLiteral("창 1:10"));

    goTo(QStringLiteral("출 1:1"));
    outcome = m_editor.previous();
    ASSERT_EQ(outcome.result, StepResult::Neighbour);
    EXPECT_EQ(outcome.reference, QStringLiteral("창 1:10"));

    outcome = m_editor.last();
    ASSERT_EQ(outcome.result, StepResult::Neighbour);
    EXPECT_EQ(outcome.reference, QStringLiteral("계 22:21"));

    // Each step leaves the reference index in place: go still looks up references.
    goTo(QStringLiteral("창 1:2"));
}

TEST_F(VerseEditorTest, previousOnTheFirstNumberAndNextOnTheLastRunFirstAndLast)
{
    openSample();
    goTo(QStringLiteral("창 1:1"));
    EXPECT_EQ(m_editor.previous().result, StepResult::RunFirst);
    goTo(QStringLiteral("계 22:21"));
    EXPECT_EQ(m_editor.next().result, StepResult::RunLast);
}

TEST_F(VerseEditorTest, afterAGoThatFoundNothingStepsGoFromTheVerseLastShown)
{
    openSample();
    goTo(QStringLiteral("창 1:10"));
    EXPECT_EQ(m_editor.go(QStringLiteral("창 9:99")).result, GoResult::NotFound);
    auto outcome = m_editor.next();
    ASSERT_EQ(outcome.result, StepResult::Neighbour);
    EXPECT_EQ(outcome.reference, QStringLiteral("출 1:1"));

    goTo(QStringLiteral("창 1:10"));
    EXPECT_EQ(m_editor.go(QStringLiteral("창1:1")).result, GoResult::NotFound);
    outcome = m_editor.previous();
    ASSERT_EQ(outcome.result, StepResult::Neighbour);
    EXPECT_EQ(outcome.reference, QStringLiteral("창 1:3"));
}

TEST_F(VerseEditorTest, afterASaveUnderAnUnknownReferenceStepsGoFromTheVerseLastShown)
{
    openSample();
    goTo(QStringLiteral("출 1:1"));
    EXPECT_EQ(m_editor.save(QStringLiteral("없는 1:1"), QStringLiteral("x")).result, SaveResult::ReferenceNotFound);
    const auto outcome = m_editor.next();
    ASSERT_EQ(outcome.result, StepResult::Neighbour);
    EXPECT_EQ(outcome.reference, QStringLiteral("계 22:21"));
}

TEST_F(VerseEditorTest, afterASaveUnderATypedReferenceStepsGoFromTheSavedVerse)
{
    openSample();
    goTo(QStringLiteral("창 1:1"));
    ASSERT_EQ(m_editor.save(QStringLiteral("출 1:1"), QStringLiteral("새 본문")).result, SaveResult::Stored);
    const auto outcome = m_editor.previous();
    ASSERT_EQ(outcome.result, StepResult::Neighbour);
    EXPECT_EQ(outcome.reference, QStringLiteral("창 1:10"));
}

TEST_F(VerseEditorTest, stepsBeforeAnyVerseWasShownAreRefused)
{
    const QString path =
        m_tree.makeVersion(QStringLiteral("nogenesis.dat"), {{1, QStringLiteral("출 1:1"), QStringLiteral("a")}});
    ASSERT_FALSE(m_editor.open(path).has_value());
    EXPECT_EQ(m_editor.go(QStringLiteral("창 1:1")).result, GoResult::NotFound);
    EXPECT_EQ(m_editor.previous().result, StepResult::NoVerseShown);
    EXPECT_EQ(m_editor.next().result, StepResult::NoVerseShown);
    // Last needs no verse to step from.
    EXPECT_EQ(m_editor.last().reference, QStringLiteral("출 1:1"));
}

TEST_F(VerseEditorTest, numbersWithGapsRefuseTheStepsThatFindNoNeighbour)
{
    const QString path =
        m_tree.makeVersion(QStringLiteral("gaps.dat"), {
                                                           {1, QStringLiteral("창 1:1"), QStringLiteral("a")},
                                                           {2, QStringLiteral("창 1:2"), QStringLiteral("b")},
                                                           {4, QStringLiteral("창 1:3"), QStringLiteral("c")},
                                                           {5, QStringLiteral("창 1:4"), QStringLiteral("d")},
                                                       });
    ASSERT_FALSE(m_editor.open(path).has_value());
    const struct
    {
        QString from;
        StepResult previous;
        StepResult next;
    } cases[] = {
        {QStringLiteral("창 1:1"), StepResult::RunFirst, StepResult::Neighbour},
        {QStringLiteral("창 1:2"), StepResult::Neighbour, StepResult::NumberingGap},
        // 번호 4 equals the record count: next runs last, as at the end of any version.
        {QStringLiteral("창 1:3"), StepResult::NumberingGap, StepResult::RunLast},
        // 번호 5 of four records: no 6 after it.
        {QStringLiteral("창 1:4"), StepResult::Neighbour, StepResult::NumberingGap},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.from.toStdString());
        goTo(c.from);
        EXPECT_EQ(m_editor.previous().result, c.previous);
        goTo(c.from);
        EXPECT_EQ(m_editor.next().result, c.next);
    }
    // A refused step leaves the verse on display to step from, and the reference index in place.
    goTo(QStringLiteral("창 1:2"));
    EXPECT_EQ(m_editor.next().result, StepResult::NumberingGap);
    EXPECT_EQ(m_editor.previous().reference, QStringLiteral("창 1:1"));
    goTo(QStringLiteral("창 1:4"));
}

TEST_F(VerseEditorTest, numbersThatAreNotThirtyTwoBitIntegersAreRefusedWithoutOverflow)
{
    const QString path =
        m_tree.makeVersion(QStringLiteral("odd.dat"),
                           {
                               {QVariant(), QStringLiteral("창 1:1"), QStringLiteral("Null 번호")},
                               {std::numeric_limits<qint32>::max(), QStringLiteral("창 1:2"), QStringLiteral("max")},
                               {std::numeric_limits<qint32>::min(), QStringLiteral("창 1:3"), QStringLiteral("min")},
                               {qint64(1) << 40, QStringLiteral("창 1:4"), QStringLiteral("too big")},
                           });
    ASSERT_FALSE(m_editor.open(path).has_value());
    for (const QString& reference :
         {QStringLiteral("창 1:1"), QStringLiteral("창 1:2"), QStringLiteral("창 1:3"), QStringLiteral("창 1:4")}) {
        SCOPED_TRACE(reference.toStdString());
        goTo(reference);
        EXPECT_EQ(m_editor.previous().result, StepResult::NumberingGap);
        goTo(reference);
        EXPECT_EQ(m_editor.next().result, StepResult::NumberingGap);
    }
}

TEST_F(VerseEditorTest, lastOfAnEmptyVersionIsAnEngineFailure)
{
    const QString path = m_tree.makeVersion(QStringLiteral("empty.dat"), {});
    ASSERT_FALSE(m_editor.open(path).has_value());
    const auto outcome = m_editor.last();
    EXPECT_EQ(outcome.result, StepResult::Failed);
    EXPECT_EQ(outcome.failure.number, versiondb::errorNumber::NoCurrentRecord);
    EXPECT_EQ(m_editor.go(QStringLiteral("창 1:1")).result, GoResult::NotFound);
}

TEST_F(VerseEditorTest, saveRefusesInTheOrderOfItsRules)
{
    const auto before = editortest::storedRecords(m_sample);
    openSample();
    const struct
    {
        const char* name;
        QString reference;
        QString text;
        SaveResult result;
        std::optional<QString> trimmedText;
        std::optional<QString> trimmedReference;
        qsizetype caret;
    } cases[] = {
        {"empty reference before anything", QString(), QStringLiteral("  "), SaveResult::EmptyReference, std::nullopt,
         std::nullopt, 0},
        {"empty text after trimming", QStringLiteral("x"), QStringLiteral("   "), SaveResult::EmptyText, QString(),
         std::nullopt, 0},
        {"Null verse unchanged", QStringLiteral("창 1:2"), QStringLiteral("  "), SaveResult::EmptyText, QString(),
         std::nullopt, 0},
        {"reference of spaces", QStringLiteral("   "), QStringLiteral("말씀"), SaveResult::ReferenceNotFound,
         QStringLiteral("말씀"), QString(), 0},
        {"unknown reference", QStringLiteral(" 창1:1 "), QStringLiteral("말씀"), SaveResult::ReferenceNotFound,
         QStringLiteral("말씀"), QStringLiteral("창1:1"), 0},
        {"unknown reference before a line break", QStringLiteral("창 01:1"), QStringLiteral("a\rb"),
         SaveResult::ReferenceNotFound, QStringLiteral("a\rb"), QStringLiteral("창 01:1"), 0},
        {"carriage return", QStringLiteral("창 1:1"), QStringLiteral(" 첫줄\r\n둘째줄 "), SaveResult::LineBreak,
         QStringLiteral("첫줄\r\n둘째줄"), QStringLiteral("창 1:1"), 3},
        {"line feed", QStringLiteral("창 1:1"), QStringLiteral("첫\n둘"), SaveResult::LineBreak,
         QStringLiteral("첫\n둘"), QStringLiteral("창 1:1"), 2},
        {"paragraph separator", QStringLiteral("창 1:1"), QStringLiteral("첫줄\u2029"), SaveResult::LineBreak,
         QStringLiteral("첫줄\u2029"), QStringLiteral("창 1:1"), 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_editor.close();
        openSample();
        const auto outcome = m_editor.save(c.reference, c.text);
        EXPECT_EQ(outcome.result, c.result);
        EXPECT_EQ(outcome.text, c.trimmedText);
        EXPECT_EQ(outcome.reference, c.trimmedReference);
        if (c.result == SaveResult::LineBreak) {
            EXPECT_EQ(outcome.caret, c.caret);
        }
    }
    m_editor.close();
    EXPECT_EQ(editortest::storedRecords(m_sample), before);
}

TEST_F(VerseEditorTest, saveStoresTheTrimmedTextIntoTheNamedVerseAndNothingElse)
{
    openSample();
    goTo(QStringLiteral("창 1:1"));
    const auto outcome = m_editor.save(QStringLiteral("  창 1:2 "), QStringLiteral("  땅이 혼돈하고  공허하며 "));
    ASSERT_EQ(outcome.result, SaveResult::Stored);
    EXPECT_EQ(outcome.text, QStringLiteral("땅이 혼돈하고  공허하며"));
    EXPECT_EQ(outcome.reference, QStringLiteral("창 1:2"));
    EXPECT_EQ(m_editor.go(QStringLiteral("창 1:2")).verse.text, QStringLiteral("땅이 혼돈하고  공허하며"));
    m_editor.close();

    auto expected =
        editortest::storedRecords(m_tree.makeVersion(QStringLiteral("fresh.dat"), editortest::sampleVerses()));
    expected[1].text = QStringLiteral("땅이 혼돈하고  공허하며");
    EXPECT_EQ(editortest::storedRecords(m_sample), expected);
}

TEST_F(VerseEditorTest, savedTextsSurviveClosingAndKeepEveryOtherCharacter)
{
    const QString text = QStringLiteral("\t탭과\u00A0고정공백과 \u3000전각공백 \"인용\" 'ㅎ' ");
    openSample();
    ASSERT_EQ(m_editor.save(QStringLiteral("계 22:21"), text).result, SaveResult::Stored);
    m_editor.close();
    EXPECT_EQ(editortest::storedText(m_sample, QStringLiteral("계 22:21")),
              QVariant(QStringLiteral("\t탭과\u00A0고정공백과 \u3000전각공백 \"인용\" 'ㅎ'")));
}

} // namespace
