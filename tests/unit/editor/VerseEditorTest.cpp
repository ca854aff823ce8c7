#include "editor/VerseEditor.h"

#include "support/InstallTree.h"
#include "versiondb/DBEngine.h"
#include "versiondb/Database.h"
#include "versiondb/ErrorNumbers.h"
#include "versiondb/Password.h"

#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <sqlite3.h>

using editor::GoResult;
using editor::SaveResult;
using editor::StepResult;
using editor::VerseEditor;

// What the window shows is tested with the window; these are the rules it cannot reach.
namespace {

class VerseEditorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_tree.isValid());
        m_sample = m_tree.makeVersion(QStringLiteral("sample.dat"), testsupport::sampleVerses());
        ASSERT_FALSE(m_sample.isEmpty());
    }

    void open(const QString& path)
    {
        const auto failure = m_editor.open(path);
        ASSERT_FALSE(failure.has_value()) << failure->description.toStdString();
    }

    void goTo(const QString& reference)
    {
        ASSERT_EQ(m_editor.go(reference).result, GoResult::Found) << reference.toStdString();
    }

    // Previous and next, each from the verse of this reference.
    void expectSteps(const QString& from, StepResult previous, StepResult next)
    {
        SCOPED_TRACE(from.toStdString());
        goTo(from);
        EXPECT_EQ(m_editor.previous().result, previous);
        goTo(from);
        EXPECT_EQ(m_editor.next().result, next);
    }

    testsupport::InstallTree m_tree{{QStringLiteral("null.mdb")}};
    QString m_sample;
    VerseEditor m_editor;
};

TEST_F(VerseEditorTest, aFailedOpenLeavesNothingOpen)
{
    const QString notADatabase = m_tree.writeFile(QStringLiteral("text.dat"), "창 1:1 태초에\r\n");
    const QString held = m_tree.makeVersion(QStringLiteral("held.dat"), testsupport::sampleVerses());
    auto holder = versiondb::DBEngine::instance().OpenDatabase(held, true, false, versiondb::passwordConnect());
    // Without the reference index, dropped with SQLite itself: the engine never changes a schema.
    const QString noIndex = m_tree.makeVersion(QStringLiteral("noindex.dat"), testsupport::sampleVerses());
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(noIndex.toUtf8().constData(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, "DROP INDEX \"성경구절\"", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close_v2(db);

    const struct
    {
        const char* name;
        QString path;
        int number;
    } cases[] = {
        {"missing", m_tree.path(QStringLiteral("missing.dat")), versiondb::errorNumber::FileNotFound},
        {"not a database", notADatabase, versiondb::errorNumber::UnrecognizedFormat},
        {"held by someone else", held, versiondb::errorNumber::FileInUse},
        {"no reference index", noIndex, versiondb::errorNumber::NoSuchIndex},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        open(m_sample);
        const auto failure = m_editor.open(c.path);
        ASSERT_TRUE(failure.has_value());
        EXPECT_EQ(failure->number, c.number);
        EXPECT_FALSE(failure->description.isEmpty());
        EXPECT_FALSE(m_editor.isOpen());
        // The version open before was closed first, and nothing works on it.
        EXPECT_TRUE(testsupport::openable(m_sample));
        EXPECT_EQ(m_editor.go(QStringLiteral("창 1:1")).result, GoResult::Failed);
        EXPECT_EQ(m_editor.previous().result, StepResult::Failed);
        EXPECT_EQ(m_editor.save(QStringLiteral("창 1:1"), QStringLiteral("x")).result, SaveResult::Failed);
    }
    holder->Close();
    EXPECT_TRUE(testsupport::openable(noIndex));
    EXPECT_EQ(testsupport::storedRecords(m_sample),
              testsupport::storedRecords(m_tree.makeVersion(QStringLiteral("fresh.dat"), testsupport::sampleVerses())));
}

TEST_F(VerseEditorTest, afterASaveStepsGoFromTheSavedVerseAndATextOfAnySizeIsStoredWhole)
{
    open(m_sample);
    goTo(QStringLiteral("출 1:1"));
    EXPECT_EQ(m_editor.save(QStringLiteral("없는 1:1"), QStringLiteral("x")).result, SaveResult::ReferenceNotFound);
    EXPECT_EQ(m_editor.next().reference, QStringLiteral("계 22:21"));
    goTo(QStringLiteral("창 1:1"));
    ASSERT_EQ(m_editor.save(QStringLiteral("출 1:1"), QStringLiteral("새 본문")).result, SaveResult::Stored);
    EXPECT_EQ(m_editor.previous().reference, QStringLiteral("창 1:10"));
    // A text of any size: 1 MB stores and reads back whole.
    const QString longText = QStringLiteral("말씀").repeated(512 * 1024);
    ASSERT_EQ(m_editor.save(QStringLiteral("창 1:10"), longText).result, SaveResult::Stored);
    m_editor.close();
    EXPECT_EQ(testsupport::storedText(m_sample, QStringLiteral("창 1:10")), QVariant(longText));
}

// The window's save keeps to the verse on display: another verse only when the user agrees, and
// only once every rule has passed.
TEST_F(VerseEditorTest, aSaveIntoAVerseNotOnDisplayIsAskedForAndDeclinedStoresNothing)
{
    const QString genesis = QStringLiteral("창 1:1");
    const QString exodus = QStringLiteral("출 1:1");
    const QString text = QStringLiteral("새 본문");
    const struct
    {
        const char* name;
        QString reference;
        QString text;
        QString shown;
        bool agree;
        QStringList asked;
        std::optional<SaveResult> result; // nothing: declined
    } cases[] = {
        {"the verse on display", QStringLiteral(" 출 1:1 "), text, exodus, false, {}, SaveResult::Stored},
        {"another verse, agreed", exodus, text, genesis, true, {exodus}, SaveResult::Stored},
        {"another verse, declined", exodus, text, genesis, false, {exodus}, std::nullopt},
        {"an empty display box", exodus, text, QString(), false, {exodus}, std::nullopt},
        {"an unknown reference", QStringLiteral("출 01:1"), text, genesis, true, {}, SaveResult::ReferenceNotFound},
        {"a line break", exodus, QStringLiteral("새\n본문"), genesis, true, {}, SaveResult::LineBreak},
    };
    int made = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = m_tree.makeVersion(QStringLiteral("v%1.dat").arg(++made), testsupport::sampleVerses());
        open(path);
        goTo(genesis);
        QStringList asked;
        const auto outcome = m_editor.save(c.reference, c.text, c.shown, [&](const QString& reference) {
            asked << reference;
            return c.agree;
        });
        EXPECT_EQ(asked, c.asked);
        EXPECT_EQ(outcome.has_value(), c.result.has_value());
        if (outcome && c.result) {
            EXPECT_EQ(outcome->result, *c.result);
        }
        const bool stored = c.result == SaveResult::Stored;
        if (!c.result) {
            // Declined: steps still go from the verse on display, not from the one the save looked up.
            EXPECT_EQ(m_editor.next().reference, QStringLiteral("창 1:2"));
        }
        m_editor.close();
        EXPECT_EQ(testsupport::storedText(path, exodus),
                  QVariant(stored ? c.text : QStringLiteral("야곱과 함께 각기 권속을 데리고 애굽에 이른")));
    }
}

TEST_F(VerseEditorTest, goTrimsTheReferenceFindsOnlyThatSpellingAndShowsNullAsTwoSpaces)
{
    open(m_sample);
    const struct
    {
        const char* typed;
        GoResult result;
        const char* reference;
        const char* text;
    } cases[] = {
        {"  창 1:10 ", GoResult::Found, "창 1:10", "하나님이 뭍을 땅이라 칭하시고"},
        {"창 1:2", GoResult::Found, "창 1:2", "  "},
        {"창 1:3", GoResult::Found, "창 1:3", "null"},
        {"창1:1", GoResult::NotFound, "창1:1", ""},
        {"창 01:1", GoResult::NotFound, "창 01:1", ""},
        {"   ", GoResult::EmptyReference, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        const auto outcome = m_editor.go(QString::fromUtf8(c.typed));
        EXPECT_EQ(outcome.result, c.result);
        EXPECT_EQ(outcome.reference, QString::fromUtf8(c.reference));
        if (c.result == GoResult::Found) {
            EXPECT_EQ(outcome.verse.text, QString::fromUtf8(c.text));
        }
    }
}

TEST_F(VerseEditorTest, stepsFollowTheNumbersRunAtBothEndsAndGoOnFromTheVerseLastShown)
{
    open(m_sample);
    EXPECT_EQ(m_editor.next().result, StepResult::NoVerseShown);
    expectSteps(QStringLiteral("창 1:1"), StepResult::RunFirst, StepResult::Neighbour);
    expectSteps(QStringLiteral("출 1:1"), StepResult::Neighbour, StepResult::Neighbour);
    expectSteps(QStringLiteral("계 22:21"), StepResult::Neighbour, StepResult::RunLast);
    QStringList walked;
    goTo(QStringLiteral("창 1:1"));
    for (auto step = m_editor.next(); step.result == StepResult::Neighbour; step = m_editor.next()) {
        walked << step.reference;
        goTo(step.reference);
    }
    EXPECT_EQ(walked, (QStringList{"창 1:2", "창 1:3", "창 1:10", "출 1:1", "계 22:21"}));
    EXPECT_EQ(m_editor.last().reference, QStringLiteral("계 22:21"));
    // After a go that found nothing, steps go from the verse shown before it.
    goTo(QStringLiteral("창 1:10"));
    EXPECT_EQ(m_editor.go(QStringLiteral("창 99:1")).result, GoResult::NotFound);
    EXPECT_EQ(m_editor.next().reference, QStringLiteral("출 1:1"));
    EXPECT_EQ(m_editor.go(QStringLiteral("창1:1")).result, GoResult::NotFound);
    EXPECT_EQ(m_editor.previous().reference, QStringLiteral("창 1:3"));
}

TEST_F(VerseEditorTest, saveRulesInTheirOrderAndOnlyATrimmedTextIsStored)
{
    const struct
    {
        const char* reference;
        const char* text;
        SaveResult result;
        const char* stored; // 본문 of 창 1:10 afterwards
    } cases[] = {
        {"", "새 본문", SaveResult::EmptyReference, "하나님이 뭍을 땅이라 칭하시고"},
        {"창 1:10", "   ", SaveResult::EmptyText, "하나님이 뭍을 땅이라 칭하시고"},
        {"   ", "새 본문", SaveResult::ReferenceNotFound, "하나님이 뭍을 땅이라 칭하시고"},
        {" 창 01:10 ", "새 본문", SaveResult::ReferenceNotFound, "하나님이 뭍을 땅이라 칭하시고"},
        {"창 1:10", "새\r\n본문", SaveResult::LineBreak, "하나님이 뭍을 땅이라 칭하시고"},
        {"  창 1:10 ", "   하나님이 뭍을 땅이라  ", SaveResult::Stored, "하나님이 뭍을 땅이라"},
    };
    int made = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const QString path = m_tree.makeVersion(QStringLiteral("s%1.dat").arg(++made), testsupport::sampleVerses());
        open(path);
        goTo(QStringLiteral("창 1:10"));
        EXPECT_EQ(m_editor.save(QString::fromUtf8(c.reference), QString::fromUtf8(c.text)).result, c.result);
        m_editor.close();
        EXPECT_EQ(testsupport::storedText(path, QStringLiteral("창 1:10")), QVariant(QString::fromUtf8(c.stored)));
        EXPECT_EQ(testsupport::storedText(path, QStringLiteral("창 1:2")), QVariant()) << "other verses stay";
    }
}

TEST_F(VerseEditorTest, stepsRefuseWhereTheNeighbourNumberIsMissingOrNoNumber)
{
    // Eight records: 번호 3 and 5 to 7 are missing; the last four hold no 32-bit 번호.
    open(m_tree.makeVersion(QStringLiteral("gaps.dat"),
                            {
                                {1, QStringLiteral("창 1:1"), QStringLiteral("a")},
                                {2, QStringLiteral("창 1:2"), QStringLiteral("b")},
                                {4, QStringLiteral("창 1:3"), QStringLiteral("c")},
                                {8, QStringLiteral("창 1:4"), QStringLiteral("d")},
                                {QVariant(), QStringLiteral("창 1:5"), QStringLiteral("Null 번호")},
                                {std::numeric_limits<qint32>::max(), QStringLiteral("창 1:6"), QStringLiteral("max")},
                                {std::numeric_limits<qint32>::min(), QStringLiteral("창 1:7"), QStringLiteral("min")},
                                {qint64(1) << 40, QStringLiteral("창 1:8"), QStringLiteral("too big")},
                            }));
    expectSteps(QStringLiteral("창 1:1"), StepResult::RunFirst, StepResult::Neighbour);
    expectSteps(QStringLiteral("창 1:2"), StepResult::Neighbour, StepResult::NumberingGap);
    expectSteps(QStringLiteral("창 1:3"), StepResult::NumberingGap, StepResult::NumberingGap);
    // 번호 8 equals the record count: next runs last, as at the end of any version.
    expectSteps(QStringLiteral("창 1:4"), StepResult::NumberingGap, StepResult::RunLast);
    for (const char* reference : {"창 1:5", "창 1:6", "창 1:7", "창 1:8"}) {
        expectSteps(QString::fromUtf8(reference), StepResult::NumberingGap, StepResult::NumberingGap);
    }
    // A refused step leaves the verse on display to step from, and the reference index in place.
    goTo(QStringLiteral("창 1:2"));
    EXPECT_EQ(m_editor.next().result, StepResult::NumberingGap);
    EXPECT_EQ(m_editor.previous().reference, QStringLiteral("창 1:1"));
    goTo(QStringLiteral("창 1:4"));
}

} // namespace
