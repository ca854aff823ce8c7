#include "editor/VersionSearch.h"

#include "support/InstallTreeTest.h"

using namespace Qt::StringLiterals;
using editor::PatternFault;
using editor::ReplacedKind;
using editor::SearchRequest;

class VersionSearchTest : public testsupport::InstallTreeTest
{
protected:
    void SetUp() override
    {
        m_path = makeVersion(u"v.dat"_s, {{1, u"창 1:1"_s, u"God said a.c, and GOD saw abc "_s},
                                          {2, u"창 1:2"_s, QVariant()},
                                          {3, u"창 1:3"_s, u"하나님이 땅을 땅이라"_s},
                                          {4, u"창 1:4"_s, u"땅"_s},
                                          {5, u"창 1:5"_s, u"god 빛이 있으라"_s}});
        m_before = testsupport::storedTexts(m_path);
        ASSERT_FALSE(m_editor.open(m_path).has_value());
        m_search = m_editor.search();
    }
    QString textOf(const QString& reference) { return m_editor.go(reference).verse.text; }
    QString m_path;
    QList<std::pair<QString, QString>> m_before; // the stored texts
    editor::VerseEditor m_editor;
    std::unique_ptr<editor::VersionSearch> m_search;
};

// Plain text is taken as it is, a regular expression reads Unicode classes, ignoring case folds Latin letters; a Null
// text matches nothing, not even an empty match.
TEST_F(VersionSearchTest, findsEveryMatchOfPlainTextOrARegularExpressionInTheOrderOfNumbers)
{
    const std::tuple<SearchRequest, QStringList, qint64> cases[] = {
        {{u"a.c"_s, false, false}, {u"창 1:1"_s}, 1},
        {{u"a.c"_s, true, false}, {u"창 1:1"_s}, 2},
        {{u"god"_s, false, false}, {u"창 1:5"_s}, 1},
        {{u"god"_s, false, true}, {u"창 1:1"_s, u"창 1:5"_s}, 3},
        {{u"땅"_s, false, false}, {u"창 1:3"_s, u"창 1:4"_s}, 3},
        {{u"^\\w+이 "_s, true, false}, {u"창 1:3"_s}, 1},
        {{u"x*"_s, true, false}, {u"창 1:1"_s, u"창 1:3"_s, u"창 1:4"_s, u"창 1:5"_s}, 56},
        {{u"없는말"_s, false, false}, {}, 0},
    };
    for (const auto& [request, references, matches] : cases) {
        SCOPED_TRACE(request.pattern.toStdString());
        const editor::FindOutcome found = m_search->find(request);
        QStringList listed;
        std::ranges::transform(found.verses, std::back_inserter(listed), &editor::FoundVerse::reference);
        EXPECT_EQ(std::tuple(found.pattern.fault, listed, found.matches, found.failure.has_value()),
                  std::tuple(PatternFault::None, references, matches, false));
    }
    const editor::FindOutcome ground = m_search->find({u"땅"_s, false, false});
    EXPECT_EQ(ground.verses.front().spans, (QList<editor::MatchSpan>{{5, 1}, {8, 1}}));
    EXPECT_EQ(ground.verses.front().text, u"하나님이 땅을 땅이라"_s);
}

// An empty pattern and a regular expression that does not compile are refused with where; the same text as plain
// text is no fault. A refused pattern never reaches the file (which the editor holds: an open fails as in use).
TEST_F(VersionSearchTest, refusesAnEmptyPatternAndNamesWhereARegularExpressionIsFaulty)
{
    const std::tuple<SearchRequest, PatternFault, qsizetype> cases[] = {
        {{QString(), true, false}, PatternFault::Empty, 0},
        {{u"하나(님"_s, true, false}, PatternFault::Invalid, 4},
        {{u"a)b"_s, true, true}, PatternFault::Invalid, 1},
        {{u"하나(님"_s, false, false}, PatternFault::None, 0},
    };
    for (const auto& [request, fault, offset] : cases) {
        SCOPED_TRACE(request.pattern.toStdString());
        const editor::CompiledSearch compiled = editor::compileSearch(request);
        EXPECT_EQ(std::tuple(compiled.fault, compiled.offset, compiled.error.isEmpty()),
                  std::tuple(fault, offset, fault != PatternFault::Invalid));
        editor::ApplyOutcome applied;
        const editor::ReplaceOutcome outcome =
            editor::VersionSearch::replaceIn(m_path, request, u"x"_s, false, applied);
        EXPECT_EQ(std::pair(outcome.pattern.fault, outcome.failure.has_value()),
                  std::pair(fault, fault == PatternFault::None));
    }
}

// \1 stands for a group, $1 is taken as it is, and with plain text so is \1. The replaced text is trimmed as a save
// trims it; a text left empty or with a line break is listed apart and never stored.
TEST_F(VersionSearchTest, previewsCaptureGroupsAndListsTextsTheSaveRulesWouldRefuse)
{
    // The changed verses, then those left unchanged.
    using Verses = std::vector<std::tuple<QString, QString, ReplacedKind>>;
    using enum ReplacedKind;
    // clang-format off
    const std::tuple<SearchRequest, QString, Verses> cases[] = {
        {{u"(\\w+) (said)"_s, true, false}, u"\\2 \\1 $1"_s, {{u"창 1:1"_s, u"said God $1 a.c, and GOD saw abc"_s, Changed}}},
        {{u"a.c"_s, false, false}, u"\\1"_s, {{u"창 1:1"_s, u"God said \\1, and GOD saw abc"_s, Changed}}},
        {{u"땅"_s, false, false}, u" "_s, {{u"창 1:3"_s, u"하나님이  을  이라"_s, Changed}, {u"창 1:4"_s, QString(), LeftEmpty}}},
        {{u"GOD"_s, false, true}, u"\u2028"_s, {{u"창 1:1"_s, u"\u2028 said a.c, and \u2028 saw abc"_s, LineBreak},
                                                {u"창 1:5"_s, u"\u2028 빛이 있으라"_s, LineBreak}}},
    };
    // clang-format on
    for (const auto& [request, replacement, expected] : cases) {
        SCOPED_TRACE(request.pattern.toStdString());
        const editor::ReplaceOutcome outcome = m_search->preview(request, replacement);
        Verses listed;
        for (const auto* verses : {&outcome.changed, &outcome.refused}) {
            for (const editor::ReplacedVerse& verse : *verses) {
                listed.emplace_back(verse.reference, verse.after, verse.kind);
            }
        }
        EXPECT_EQ(listed, expected);
    }
    EXPECT_EQ(textOf(u"창 1:4"_s), u"땅"_s);
}

// The ticked verses are stored as one change that names the replacement; a verse changed since the preview is left
// alone; one undo takes the whole change back, and nothing else.
TEST_F(VersionSearchTest, appliesTheChosenVersesAsOneChangeThatAnUndoTakesBack)
{
    const SearchRequest request{u"(땅|god)"_s, true, true};
    editor::ReplaceOutcome preview = m_search->preview(request, u"[\\1]"_s);
    ASSERT_EQ(preview.changed.size(), 4u);
    preview.changed.erase(preview.changed.begin() + 1); // 창 1:3 not ticked
    ASSERT_EQ(m_editor.save(u"창 1:5"_s, u"god 다시"_s).result, editor::SaveResult::Stored);
    const editor::ApplyOutcome applied =
        m_search->apply(preview.changed, editor::VersionSearch::detailOf(request, u"[\\1]"_s));
    ASSERT_TRUE(!applied.failure && applied.stale.size() == 1);
    EXPECT_EQ(std::pair(applied.stored, applied.stale.front().reference), std::pair(qint64(2), u"창 1:5"_s));
    const versiondb::Change change = m_editor.changes().changes.front();
    EXPECT_EQ(std::tuple(change.id, change.source, change.detail),
              std::tuple(applied.change, versiondb::ChangeSource::Replace,
                         u"정규식 \"(땅|god)\" → \"[\\1]\" (대소문자 무시)"_s));
    EXPECT_EQ(textOf(u"창 1:1"_s) + textOf(u"창 1:3"_s) + textOf(u"창 1:4"_s),
              u"[God] said a.c, and [GOD] saw abc하나님이 땅을 땅이라[땅]"_s);
    EXPECT_EQ(m_editor.undoLast().restored.size(), 2u);
    m_editor.close();
    QList<std::pair<QString, QString>> expected = m_before;
    expected.back().second = u"god 다시"_s;
    EXPECT_EQ(testsupport::storedTexts(m_path), expected);
}

// A search or preview cancelled before it starts finds nothing and stages nothing.
TEST_F(VersionSearchTest, aCancelledSearchOrPreviewFindsNothing)
{
    platform::RunControl cancelled;
    cancelled.cancel();
    const editor::FindOutcome found = m_search->find({u"하나님"_s}, &cancelled);
    const editor::ReplaceOutcome previewed = m_search->preview({u"하나님"_s}, u"x"_s, &cancelled);
    EXPECT_TRUE(found.cancelled && found.verses.empty() && previewed.cancelled && previewed.changed.empty());
    EXPECT_TRUE(m_editor.changes().changes.empty());
}
