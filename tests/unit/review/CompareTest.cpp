// The word difference of two texts and the comparison of two versions: its kinds, its order and its refusals.

#include "review/VersionCompare.h"
#include "support/InstallTreeTest.h"

#include <QRandomGenerator>
#include <vector>

using namespace Qt::StringLiterals;

using review::CompareResult;
using review::WordRun;

TEST(WordDiff, marksTheWordsOutsideALongestCommonSubsequence)
{
    const char* const rows[][3] = {
        {"", " ", ""},
        {"a b c", "a x c", "a [-b-]{+x+} c"},
        {"x a", "a", "[-x-] a"},
        {"a", "a  b c", "a {+b c+}"},
        {"a\tb  c", "a\tb  d", "a b [-c-]{+d+}"},
        {"p a q b r c s", "x a y b z c w", "[-p-]{+x+} a [-q-]{+y+} b [-r-]{+z+} c [-s-]{+w+}"},
        {"one two three four five", "zero one three four six five", "{+zero+} one [-two-] three four {+six+} five"},
        {"태초에 하나님이 천지를 창조하시니라", "태초에 하느님께서 하늘과 땅을 창조하시니라",
         "태초에 [-하나님이 천지를-]{+하느님께서 하늘과 땅을+} 창조하시니라"},
    };
    for (const auto& [before, after, marked] : rows) {
        const QList<WordRun> runs = review::diffWords(QString::fromUtf8(before), QString::fromUtf8(after));
        const QString expected = QString::fromUtf8(marked);
        EXPECT_EQ(review::markedWords(runs), expected) << before << " -> " << after;
        EXPECT_EQ(review::sameWords(runs), !expected.contains(u'[') && !expected.contains(u'{')) << before;
    }
}

// Against the textbook table of lengths, on lists of four words; each text is its same and its own words.
TEST(WordDiff, keepsACommonSubsequenceAsLongAsTheLongest)
{
    QRandomGenerator random(testsupport::testSeed());
    for (int trial = 0; trial < 300; ++trial) {
        SCOPED_TRACE("seed " + std::to_string(testsupport::testSeed()) + ", trial " + std::to_string(trial));
        QStringList a, b, same, fromA, fromB;
        for (QStringList* words : {&a, &b}) {
            for (int n = random.bounded(14); n > 0; --n) {
                *words << QString(QChar(u'a' + random.bounded(4)));
            }
        }
        const qsizetype width = b.size() + 1;
        std::vector<int> table((a.size() + 1) * width);
        for (qsizetype k = width + 1; k < qsizetype(table.size()); ++k) {
            const qsizetype i = k / width, j = k % width;
            table[k] = j == 0                 ? 0
                       : a[i - 1] == b[j - 1] ? table[k - width - 1] + 1
                                              : std::max(table[k - width], table[k - 1]);
        }
        for (const WordRun& run : review::diffWords(a.join(u' '), b.join(u' '))) {
            const QStringList words = run.words.split(u' ');
            same << (run.kind == WordRun::Kind::Same ? words : QStringList());
            fromA << (run.kind != WordRun::Kind::Added ? words : QStringList());
            fromB << (run.kind != WordRun::Kind::Removed ? words : QStringList());
        }
        ASSERT_EQ(same.size(), table.back());
        ASSERT_EQ(std::pair(fromA, fromB), std::pair(a, b));
    }
}

namespace {

// Verses "창 1:절" of these 번호, 절 and texts (nullptr: Null).
QList<testsupport::Verse> verses(std::initializer_list<std::tuple<int, int, const char*>> list)
{
    QList<testsupport::Verse> all;
    for (const auto& [number, verse, text] : list) {
        all.append({number, u"창 1:%1"_s.arg(verse), text ? QVariant(QString::fromUtf8(text)) : QVariant()});
    }
    return all;
}

// "번호 성경구절 kind: marked words" of every differing verse.
QStringList listed(const review::CompareOutcome& outcome)
{
    QStringList lines;
    for (const review::DifferingVerse& d : outcome.verses) {
        lines << u"%1 %2 %3: "_s.arg(d.number).arg(d.reference).arg(int(d.kind)) + review::markedWords(d.words());
    }
    return lines;
}

using CompareVersions = testsupport::InstallTreeTest;

} // namespace

// Texts that differ, Null ("" is a text) on one side, verses of one side, in the order of 번호 (A's first at one
// 번호); a version compared with itself is the same; neither file changes.
TEST_F(CompareVersions, listsEveryKindOfDifferenceInTheOrderOfNumbersAndWritesNothing)
{
    // clang-format off
    const QString a = makeVersion(u"a.dat"_s, verses({{1, 1, "a b c"}, {2, 2, nullptr}, {3, 3, "x"}, {4, 4, nullptr},
                                                      {5, 5, "only a"}, {7, 7, "q"}, {8, 8, ""}}));
    const QString b = makeVersion(u"b.dat"_s, verses({{1, 1, "a z c"}, {2, 2, "new"}, {3, 3, "x"}, {4, 4, nullptr},
                                                      {5, 6, nullptr}, {7, 7, nullptr}, {8, 8, nullptr}}));
    // clang-format on
    ASSERT_TRUE(QFile::setPermissions(b, QFileDevice::ReadOwner)); // read as it is, as from a backup medium
    const QByteArray bytes = testsupport::bytes(a) + testsupport::bytes(b);
    const review::CompareOutcome outcome = review::compareVersions(a, b);
    EXPECT_EQ(outcome.result, CompareResult::Different);
    EXPECT_EQ(listed(outcome),
              (QStringList{u"1 창 1:1 0: a [-b-]{+z+} c"_s, u"2 창 1:2 1: {+new+}"_s, u"5 창 1:5 3: [-only a-]"_s,
                           u"5 창 1:6 4: "_s, u"7 창 1:7 2: [-q-]"_s, u"8 창 1:8 2: "_s}));
    EXPECT_EQ(outcome.counts, (std::array<int, 5>{1, 1, 2, 1, 1}));
    EXPECT_EQ(review::compareVersions(a, a).result, CompareResult::Same);
    EXPECT_EQ(testsupport::bytes(a) + testsupport::bytes(b), bytes);
}

// A 번호 stored as bytes ("2", after every number in the file's order) still pairs with B's 2, in its place.
TEST_F(CompareVersions, linesUpANumberStoredAsBytes)
{
    const QString a = makeVersion(u"a.dat"_s, verses({{1, 1, "a"}, {2, 2, "b"}, {3, 3, "c"}}));
    const QString b = makeVersion(u"b.dat"_s, verses({{1, 1, "a"}, {2, 2, "B"}, {3, 3, "C"}}));
    (void)testsupport::sql(a, u"UPDATE 본문 SET 번호 = CAST('2' AS BLOB) WHERE 번호 = 2"_s);
    EXPECT_EQ(listed(review::compareVersions(a, b)),
              (QStringList{u"2 창 1:2 0: [-b-]{+B+}"_s, u"3 창 1:3 0: [-c-]{+C+}"_s}));
}

TEST_F(CompareVersions, refusesVersionsItCannotLineUpOrOpenNamingTheFile)
{
    const auto two = verses({{1, 1, "a"}, {2, 2, "b"}});
    // Verses of A and B (none: no file), then the outcome's result, file, reference, numberA and numberB.
    using Verses = QList<testsupport::Verse>;
    const std::tuple<Verses, Verses, CompareResult, int, QString, qint64, qint64> rows[] = {
        {two, verses({{1, 1, "a"}, {3, 2, "b"}}), CompareResult::DifferentSkeletons, 1, u"창 1:2"_s, 2, 3},
        {two, verses({{1, 9, "a"}}), CompareResult::DifferentSkeletons, 1, {}, 0, 0},
        {verses({{1, 1, "a"}, {2, 1, "b"}}), two, CompareResult::DuplicateReference, 0, u"창 1:1"_s, 0, 0},
        {two, verses({{2, 2, "b"}, {3, 2, "c"}}), CompareResult::DuplicateReference, 1, u"창 1:2"_s, 0, 0},
        {two, {}, CompareResult::EngineFailed, 1, {}, 0, 0},
    };
    int i = 0;
    for (const auto& [versesA, versesB, result, file, reference, numberA, numberB] : rows) {
        const QString a = makeVersion(u"a%1.dat"_s.arg(++i), versesA);
        const QString b = versesB.isEmpty() ? path(u"missing.dat"_s) : makeVersion(u"b%1.dat"_s.arg(i), versesB);
        const review::CompareOutcome o = review::compareVersions(a, b);
        EXPECT_EQ(std::tuple(o.result, o.file, o.reference, o.numberA, o.numberB, o.verses.size()),
                  std::tuple(result, file, reference, numberA, numberB, 0));
    }
}
