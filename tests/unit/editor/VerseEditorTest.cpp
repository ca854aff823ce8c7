#include "editor/VerseEditor.h"

#include "editor/EditRules.h"
#include "editor/HangulComposition.h"
#include "editor/VersionSearch.h"
#include "support/InstallTreeTest.h"
#include "versiondb/History.h"
#include "versiondb/VersionStore.h"

#include <QFile>
#include <limits>

using namespace Qt::StringLiterals;
using editor::GoResult;
using editor::SaveResult;
using editor::StepResult;

const QString kNfd = u"\u1112\u1161\u11AB\u1100\u1173\u11AF \uBCF8\uBB38"_s; // "한글 본문", its first word decomposed
const QString kExodusText = u"야곱과 함께 각기 권속을 데리고 애굽에 이른"_s;

class VerseEditorTest : public testsupport::InstallTreeTest
{
protected:
    // A fresh copy of these verses (the sample verses unless given), open.
    QString openFresh(const QList<testsupport::Verse>& verses = testsupport::sampleVerses())
    {
        const QString path = makeVersion(u"v%1.dat"_s.arg(++m_made), verses);
        const auto failure = m_editor.open(path);
        EXPECT_FALSE(failure.has_value()) << failure->description.toStdString();
        return path;
    }
    void goTo(const QString& reference)
    {
        ASSERT_EQ(m_editor.go(reference).result, GoResult::Found) << reference.toStdString();
    }

    editor::VerseEditor m_editor;
    int m_made = 0;
};

// A file that is no version, or one without the reference index: the version open before is closed first.
TEST_F(VerseEditorTest, aFailedOpenLeavesNothingOpen)
{
    const QString noIndex = makeVersion(u"noindex.dat"_s, testsupport::sampleVerses());
    (void)testsupport::sql(noIndex, u"DROP INDEX \"성경구절\""_s);
    namespace number = versiondb::errorNumber;
    const std::pair<QString, int> cases[] = {
        {writeFile(u"text.dat"_s, "창 1:1 태초에\r\n"), number::UnrecognizedFormat}, {noIndex, number::NoSuchIndex}};
    for (const auto& [path, expected] : cases) {
        SCOPED_TRACE(path.toStdString());
        const QString before = openFresh();
        const auto failure = m_editor.open(path);
        EXPECT_EQ(failure ? failure->number : 0, expected);
        EXPECT_FALSE(m_editor.isOpen());
        EXPECT_TRUE(testsupport::openable(before));
        EXPECT_EQ((std::tuple{m_editor.go(u"창 1:1"_s).result, m_editor.previous().result,
                              m_editor.save(u"창 1:1"_s, u"x"_s).result}),
                  std::tuple(GoResult::Failed, StepResult::Failed, SaveResult::Failed));
    }
    // Let go: another open fails for the index, not as in use.
    EXPECT_EQ(testsupport::errorOf([&] { (void)versiondb::VersionStore::openDatabase(noIndex); }), number::NoSuchIndex);
}

// Steps follow 번호, from the verse last shown or saved into.
TEST_F(VerseEditorTest, stepsFollowTheNumbersRunAtBothEndsAndGoOnFromTheVerseLastShown)
{
    openFresh();
    EXPECT_EQ(m_editor.next().result, StepResult::NoVerseShown);
    QStringList walked;
    goTo(u"창 1:1"_s);
    for (auto step = m_editor.next(); step.result == StepResult::Neighbour; step = m_editor.next()) {
        walked << step.reference;
        goTo(step.reference);
    }
    EXPECT_EQ(walked, (QStringList{u"창 1:2"_s, u"창 1:3"_s, u"창 1:10"_s, u"출 1:1"_s, u"계 22:21"_s}));
    EXPECT_EQ(m_editor.last().reference, u"계 22:21"_s);
    goTo(u"창 1:10"_s);
    EXPECT_EQ(m_editor.go(u"창 99:1"_s).result, GoResult::NotFound);
    EXPECT_EQ(m_editor.go(u"Exod 1"_s).verse.reference, u"출 1:1"_s);
    goTo(u"창 1:10"_s);
    EXPECT_EQ(m_editor.previous().reference, u"창 1:3"_s);
    goTo(u"출 1:1"_s);
    EXPECT_EQ(m_editor.save(u"없는 1:1"_s, u"x"_s).result, SaveResult::ReferenceNotFound);
    EXPECT_EQ(m_editor.next().reference, u"계 22:21"_s);
    goTo(u"창 1:1"_s);
    ASSERT_EQ(m_editor.save(u"출애굽기1:1"_s, u"새 본문"_s).result, SaveResult::Stored);
    EXPECT_EQ(m_editor.previous().reference, u"창 1:10"_s);
}

// 번호 3 and 5 to 7 are missing, the last four hold no 32-bit 번호: steps skip the gaps and stop at the ends.
TEST_F(VerseEditorTest, stepsRefuseWhereTheNeighbourNumberIsMissingOrNoNumber)
{
    using limits = std::numeric_limits<qint32>;
    QList<testsupport::Verse> verses; // 창 1:1 to 1:8 of these 번호
    for (const QVariant& number : QVariantList{1, 2, 4, 8, {}, limits::max(), limits::min(), qint64(1) << 40}) {
        verses.append({number, u"창 1:%1"_s.arg(verses.size() + 1), u"본문"_s});
    }
    openFresh(verses);
    using enum StepResult;
    const std::pair<QString, std::pair<StepResult, StepResult>> cases[] = {
        {u"창 1:1"_s, {RunFirst, Neighbour}},        {u"창 1:2"_s, {Neighbour, NumberingGap}},
        {u"창 1:4"_s, {NumberingGap, RunLast}},      {u"창 1:5"_s, {NumberingGap, NumberingGap}},
        {u"창 1:6"_s, {NumberingGap, NumberingGap}}, {u"창 1:7"_s, {NumberingGap, NumberingGap}},
        {u"창 1:8"_s, {NumberingGap, NumberingGap}},
    };
    for (const auto& [from, steps] : cases) {
        goTo(from);
        const StepResult previous = m_editor.previous().result;
        goTo(from);
        EXPECT_EQ(std::pair(previous, m_editor.next().result), steps) << from.toStdString();
    }
    goTo(u"창 1:2"_s);
    EXPECT_EQ(m_editor.next().result, NumberingGap);
    EXPECT_EQ(m_editor.previous().reference, u"창 1:1"_s);
}

// The rules in their order, then the trimmed text is stored whole into that verse alone; one not shown if agreed.
TEST_F(VerseEditorTest, saveRulesInTheirOrderAndOnlyATrimmedTextIsStoredIntoThatVerse)
{
    const QString exodus = u"출 1:1"_s;
    const QString text = u"새 본문"_s;
    const QString longText = u"말씀"_s.repeated(512 * 1024);
    const struct
    {
        QString reference, text;
        std::optional<SaveResult> result; // nothing: declined
        QString stored;                   // 본문 of 출 1:1 afterwards
        std::optional<QString> shown = std::nullopt;
        bool agree = false;
        QStringList asked = {};
    } cases[] = {
        {{}, text, SaveResult::EmptyReference, kExodusText},
        {exodus, u"   "_s, SaveResult::EmptyText, kExodusText},
        {u"   "_s, text, SaveResult::ReferenceNotFound, kExodusText},
        {exodus, u"새\r\n본문"_s, SaveResult::LineBreak, kExodusText},
        {u"  출 1:1 "_s, longText + u"  "_s, SaveResult::Stored, longText},
        {u" 출 1:1 "_s, text, SaveResult::Stored, text, exodus},
        {exodus, text, SaveResult::Stored, text, u"창 1:1"_s, true, {exodus}},
        {exodus, text, std::nullopt, kExodusText, u"창 1:1"_s, false, {exodus}},
        {exodus, u"새\n본문"_s, SaveResult::LineBreak, kExodusText, u"창 1:1"_s, true},
    };
    const auto pristine = testsupport::storedRecords(makeVersion(u"expected.dat"_s, testsupport::sampleVerses()));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reference.toStdString() + " " + c.text.left(8).toStdString() + (c.agree ? " agreed" : ""));
        const QString path = openFresh();
        goTo(u"창 1:1"_s);
        QStringList asked;
        const auto ask = [&](const QString& reference) {
            asked << reference;
            return c.agree;
        };
        const auto outcome = c.shown ? m_editor.save(c.reference, c.text, *c.shown, ask)
                                     : std::optional(m_editor.save(c.reference, c.text));
        EXPECT_EQ(asked, c.asked);
        EXPECT_EQ(outcome ? std::optional(outcome->result) : std::nullopt, c.result);
        if (!outcome) {
            EXPECT_EQ(m_editor.next().reference, u"창 1:2"_s);
        }
        m_editor.close();
        auto expected = pristine;
        expected[4].text = c.stored;
        EXPECT_EQ(testsupport::storedRecords(path), expected);
    }
}

// Each undo takes back one more change in effect, each redo brings back the last taken back, a save ends the redos.
TEST_F(VerseEditorTest, undoStepsBackOneChangeAtATimeAndRedoStepsForward)
{
    const QString genesis = u"창 1:1"_s;
    for (const bool wholeVersion : {false, true}) {
        SCOPED_TRACE(wholeVersion ? "version" : "verse");
        openFresh();
        const QString built = m_editor.go(genesis).verse.text;
        const auto undo = [&] { return wholeVersion ? m_editor.undoLast() : *m_editor.undoLast(genesis); };
        const auto redo = [&] { return wholeVersion ? m_editor.redoLast() : *m_editor.redoLast(genesis); };
        const auto text = [&] { return m_editor.go(genesis).verse.text; };
        for (const QString& saved : {u"하나"_s, u"둘"_s, u"셋"_s}) {
            ASSERT_EQ(m_editor.save(genesis, saved).result, SaveResult::Stored);
        }
        QStringList undone;
        for (int i = 0; i < 3; ++i) {
            const editor::TakeBackOutcome outcome = undo();
            ASSERT_EQ(outcome.restored.size(), 1U);
            undone << outcome.restored.front().change.detail + u' ' + text();
        }
        EXPECT_EQ(undone, (QStringList{u"3 둘"_s, u"2 하나"_s, u"1 "_s + built}));
        EXPECT_TRUE(undo().restored.empty());
        const editor::TakeBackOutcome first = redo();
        const editor::TakeBackOutcome second = redo();
        EXPECT_EQ(std::tuple(first.redone, second.redone, text()), std::tuple(1, 2, u"둘"_s));
        EXPECT_EQ(second.restored.front().change.source, versiondb::ChangeSource::Redo);
        EXPECT_EQ(undo().restored.front().after, u"하나"_s); // the redo taken back
        ASSERT_EQ(m_editor.save(genesis, u"넷"_s).result, SaveResult::Stored);
        EXPECT_TRUE(redo().restored.empty());
        EXPECT_EQ(m_editor.changes().changes.size(), 10U);
        m_editor.close();
    }
}

// A verse's undo of a change of many is a change of its own, taken back first; redo follows the newer undo.
TEST_F(VerseEditorTest, anUndoOfOneVerseOfAWholeChangeIsAChangeOfTheVersion)
{
    const QString path = openFresh();
    auto search = m_editor.search();
    const editor::SearchRequest request{u"하나님"_s};
    const editor::ApplyOutcome replaced = search->apply(search->preview(request, u"하느님"_s).changed, u"r"_s);
    ASSERT_EQ(replaced.stored, 2);
    ASSERT_EQ(m_editor.undoLast(u"창 1:10"_s)->restored.size(), 1U);
    EXPECT_FALSE(m_editor.redoesTheVersion(u"창 1:1"_s) || m_editor.redoesTheVersion(u"창 1:10"_s));
    EXPECT_EQ(m_editor.undoLast().restored.front().change.detail, QString::number(replaced.change + 1));
    EXPECT_EQ(m_editor.go(u"창 1:10"_s).verse.text.left(3), u"하느님"_s);
    EXPECT_EQ(m_editor.undoLast().restored.size(), 2U);
    EXPECT_TRUE(m_editor.redoesTheVersion(u"창 1:1"_s));
    EXPECT_EQ(m_editor.redoLast().restored.size(), 2U);
    m_editor.close();
    EXPECT_EQ(testsupport::storedText(path, u"창 1:10"_s)->toString().left(3), u"하느님"_s);
}

// Decomposed Hangul composed as one change (old Hangul without a syllable stays; a read-only version is refused).
TEST_F(VerseEditorTest, composesDecomposedHangulAsOneChangeThatUndoTakesBack)
{
    const QString file =
        makeVersion(u"a.dat"_s, {{1, u"창 1:1"_s, kNfd}, {2, u"창 1:2"_s, u"ᄋᆞ 옛한글"_s}, {3, u"창 1:3"_s, {}}});
    const QByteArray before = testsupport::bytes(file);
    ASSERT_TRUE(QFile::setPermissions(file, QFileDevice::ReadOwner));
    const editor::ComposeOutcome refused = editor::composeDecomposed(file);
    EXPECT_EQ(std::pair(refused.done, refused.failure.number), std::pair(false, versiondb::errorNumber::ReadOnly));
    EXPECT_EQ(testsupport::bytes(file), before);
    ASSERT_TRUE(QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner));

    const editor::ComposeOutcome composed = editor::composeDecomposed(file);
    EXPECT_EQ(std::tuple(composed.done, composed.change > 0, composed.verses), std::tuple(true, true, 1));
    EXPECT_EQ(editor::composeDecomposed(file).change, 0);
    const auto version = versiondb::VersionStore::openDatabase(file);
    versiondb::History history(*version);
    const std::vector<versiondb::Change> changes = history.changes();
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(std::pair(changes[0].source, changes[0].verses), std::pair(versiondb::ChangeSource::Compose, qint64(1)));
    EXPECT_EQ(version->record(*version->seek(1))[versiondb::kText].toString(), u"한글 본문"_s);
    history.takeBack(composed.change, std::nullopt, versiondb::ChangeSource::Undo);
    EXPECT_EQ(version->record(*version->seek(1))[versiondb::kText].toString(), kNfd);
}

// Just after the first break: CR (of CR LF too), LF, or a text box's paragraph or line separator; a tab is none.
TEST(EditRules, lineBreakCaretIsJustAfterTheFirstBreakOfAnyKind)
{
    const std::pair<QString, std::optional<qsizetype>> cases[] = {
        {u"태초에\t하나님이"_s, std::nullopt},
        {u"태초에\u2029하나님이"_s, 4},
        {u"태초에\u2028하나님이"_s, 4},
        {u"ab\r\ncd\nef"_s, 3},
        {u"\nabc"_s, 1},
    };
    for (const auto& [text, caret] : cases) {
        EXPECT_EQ(editor::lineBreakCaret(text), caret) << text.toStdString();
    }
}
