// The word difference of two texts and the comparison of two versions: its kinds, its order and its refusals.

#include "exchange/CompareMessages.h"
#include "support/InstallTreeTest.h"
#include "versiondb/ErrorNumbers.h"
#include "versiondb/VersionStore.h"

#include <QRandomGenerator>
#include <vector>

using namespace Qt::StringLiterals;

using exchange::CompareResult;
using exchange::VerseDifference;
using exchange::WordRun;

TEST(WordDiff, marksTheWordsOutsideALongestCommonSubsequence)
{
    const char* const rows[][3] = {
        {"a b c", "a b c", "a b c"},
        {"", " ", ""},
        {"a  b", "a b", "a b"},
        {"a b c", "a x c", "a [-b-]{+x+} c"},
        {"x a", "a", "[-x-] a"},
        {"a", "a  b c", "a {+b c+}"},
        {"", "a b", "{+a b+}"},
        {"a\tb  c", "a\tb  d", "a b [-c-]{+d+}"},
        {"p a q b r c s", "x a y b z c w", "[-p-]{+x+} a [-q-]{+y+} b [-r-]{+z+} c [-s-]{+w+}"},
        {"one two three four five", "zero one three four six five", "{+zero+} one [-two-] three four {+six+} five"},
        {"태초에 하나님이 천지를 창조하시니라", "태초에 하느님께서 하늘과 땅을 창조하시니라",
         "태초에 [-하나님이 천지를-]{+하느님께서 하늘과 땅을+} 창조하시니라"},
    };
    for (const auto& [before, after, marked] : rows) {
        const QList<WordRun> runs = exchange::diffWords(QString::fromUtf8(before), QString::fromUtf8(after));
        const QString expected = QString::fromUtf8(marked);
        EXPECT_EQ(exchange::markedWords(runs), expected) << before << " -> " << after;
        EXPECT_EQ(exchange::sameWords(runs), !expected.contains(u'[') && !expected.contains(u'{')) << before;
    }
}

// Against the textbook table of lengths, on word lists of a four-word alphabet: the same words
// are a common subsequence as long as the longest, and each text is its same and its own words.
TEST(WordDiff, keepsACommonSubsequenceAsLongAsTheLongest)
{
    QRandomGenerator random(testsupport::testSeed());
    for (int trial = 0; trial < 300; ++trial) {
        QStringList a, b;
        for (QStringList* words : {&a, &b}) {
            for (int n = random.bounded(14); n > 0; --n) {
                *words << QString(QChar(u'a' + random.bounded(4)));
            }
        }
        std::vector<std::vector<int>> table(a.size() + 1, std::vector<int>(b.size() + 1));
        for (qsizetype i = 1; i <= a.size(); ++i) {
            for (qsizetype j = 1; j <= b.size(); ++j) {
                table[i][j] =
                    a[i - 1] == b[j - 1] ? table[i - 1][j - 1] + 1 : std::max(table[i - 1][j], table[i][j - 1]);
            }
        }
        QStringList same, fromA, fromB;
        for (const WordRun& run : exchange::diffWords(a.join(u' '), b.join(u' '))) {
            const QStringList words = run.words.split(u' ');
            same << (run.kind == WordRun::Kind::Same ? words : QStringList());
            fromA << (run.kind != WordRun::Kind::Added ? words : QStringList());
            fromB << (run.kind != WordRun::Kind::Removed ? words : QStringList());
        }
        const auto trace = [&] {
            return "seed " + std::to_string(testsupport::testSeed()) + ", trial " + std::to_string(trial);
        };
        ASSERT_EQ(same.size(), table[a.size()][b.size()]) << trace();
        ASSERT_EQ(fromA, a) << trace();
        ASSERT_EQ(fromB, b) << trace();
    }
}

namespace {

using Verses = QList<testsupport::Verse>;

class CompareVersions : public testsupport::InstallTreeTest
{
protected:
    // The differing verses as "번호 성경구절 kind: marked words".
    static QStringList listed(const exchange::CompareOutcome& outcome)
    {
        QStringList lines;
        for (const exchange::DifferingVerse& verse : outcome.verses) {
            lines << u"%1 %2 %3: %4"_s.arg(verse.number)
                         .arg(verse.reference)
                         .arg(int(verse.kind))
                         .arg(exchange::markedWords(verse.words()));
        }
        return lines;
    }
};

} // namespace

// Texts that differ, Null ("" is a text) on one side, verses of one side, in the order of 번호 (A's first at one
// 번호); a version compared with itself is the same; neither file changes.
TEST_F(CompareVersions, listsEveryKindOfDifferenceInTheOrderOfNumbersAndWritesNothing)
{
    const QString a = makeVersion(u"a.dat"_s, Verses{{1, u"창 1:1"_s, u"a b c"_s},
                                                     {2, u"창 1:2"_s, QVariant()},
                                                     {3, u"창 1:3"_s, u"x"_s},
                                                     {4, u"창 1:4"_s, QVariant()},
                                                     {5, u"창 1:5"_s, u"only a"_s},
                                                     {7, u"창 1:7"_s, u"q"_s},
                                                     {8, u"창 1:8"_s, u""_s}});
    const QString b = makeVersion(u"b.dat"_s, Verses{{1, u"창 1:1"_s, u"a z c"_s},
                                                     {2, u"창 1:2"_s, u"new"_s},
                                                     {3, u"창 1:3"_s, u"x"_s},
                                                     {4, u"창 1:4"_s, QVariant()},
                                                     {5, u"창 1:6"_s, QVariant()},
                                                     {7, u"창 1:7"_s, QVariant()},
                                                     {8, u"창 1:8"_s, QVariant()}});
    const QByteArray bytesA = testsupport::bytes(a);
    const QByteArray bytesB = testsupport::bytes(b);
    const exchange::CompareOutcome outcome = exchange::compareVersions(a, b);
    EXPECT_EQ(outcome.result, CompareResult::Different);
    EXPECT_EQ(listed(outcome),
              (QStringList{u"1 창 1:1 0: a [-b-]{+z+} c"_s, u"2 창 1:2 1: {+new+}"_s, u"5 창 1:5 3: [-only a-]"_s,
                           u"5 창 1:6 4: "_s, u"7 창 1:7 2: [-q-]"_s, u"8 창 1:8 2: "_s}));
    EXPECT_EQ(outcome.counts, (std::array<int, 5>{1, 1, 2, 1, 1}));
    EXPECT_EQ(exchange::compareVersions(a, a).result, CompareResult::Same);
    EXPECT_EQ(testsupport::bytes(a), bytesA);
    EXPECT_EQ(testsupport::bytes(b), bytesB);
    EXPECT_TRUE(testsupport::openable(a) && testsupport::openable(b));
}

TEST_F(CompareVersions, refusesVersionsItCannotLineUpOrOpenNamingTheFile)
{
    const Verses two{{1, u"창 1:1"_s, u"a"_s}, {2, u"창 1:2"_s, u"b"_s}};
    const Verses twice{{1, u"창 1:1"_s, u"a"_s}, {2, u"창 1:1"_s, u"b"_s}};
    const struct
    {
        Verses a, b; // no verses: no file
        CompareResult result;
        int file;
        QString reference;
        qint64 numberA, numberB;
    } rows[] = {
        {two,
         {{1, u"창 1:1"_s, u"a"_s}, {3, u"창 1:2"_s, u"b"_s}},
         CompareResult::DifferentSkeletons,
         1,
         u"창 1:2"_s,
         2,
         3},
        {two, {{1, u"출 1:1"_s, u"a"_s}}, CompareResult::DifferentSkeletons, 1, {}, 0, 0},
        {twice, two, CompareResult::DuplicateReference, 0, u"창 1:1"_s, 0, 0},
        {two,
         {{2, u"창 1:2"_s, u"b"_s}, {3, u"창 1:2"_s, u"c"_s}},
         CompareResult::DuplicateReference,
         1,
         u"창 1:2"_s,
         0,
         0},
        {two, {}, CompareResult::EngineFailed, 1, {}, 0, 0},
    };
    int i = 0;
    for (const auto& row : rows) {
        const QString a = makeVersion(u"a%1.dat"_s.arg(++i), row.a);
        const QString b = row.b.isEmpty() ? path(u"missing.dat"_s) : makeVersion(u"b%1.dat"_s.arg(i), row.b);
        const exchange::CompareOutcome outcome = exchange::compareVersions(a, b);
        EXPECT_EQ(outcome.result, row.result) << row.reference.toStdString();
        EXPECT_EQ(std::tie(outcome.file, outcome.reference, outcome.numberA, outcome.numberB),
                  std::tie(row.file, row.reference, row.numberA, row.numberB));
        EXPECT_TRUE(outcome.verses.isEmpty());
    }
    const exchange::CompareOutcome missing = exchange::compareVersions(path(u"missing.dat"_s), path(u"a1.dat"_s));
    EXPECT_EQ(std::pair(missing.file, missing.engineFailure.Number),
              std::pair(0, versiondb::errorNumber::FileNotFound));
    // A version held by another opener.
    const auto held = versiondb::VersionStore::OpenDatabase(path(u"b1.dat"_s));
    const exchange::CompareOutcome inUse = exchange::compareVersions(path(u"a1.dat"_s), path(u"b1.dat"_s));
    EXPECT_EQ(std::pair(inUse.file, inUse.engineFailure.Number), std::pair(1, versiondb::errorNumber::FileInUse));
}
