// The inspection of a version's texts: each kind found and switched off, the length against another version.

#include "review/VersionInspection.h"
#include "support/InstallTreeTest.h"

using namespace Qt::StringLiterals;
using Kind = review::InspectionKind;
using Inspect = testsupport::InstallTreeTest;

TEST_F(Inspect, findsEachKindOnceAVerseAndSwitchesEachOff)
{
    // The text (nullptr: Null), its chapter, the kind found (-1: none) and the excerpt shown.
    const std::tuple<const char16_t*, int, int, const char16_t*> rows[] = {
        {u"In the beginning God created the heaven.", 1, -1, nullptr},
        {u"In the beginning God created the heaven.", 1, int(Kind::SameAsPrevious), u"In the beginning…"},
        {nullptr, 1, -1, nullptr},
        {u"", 1, int(Kind::Empty), u""},
        {u"  ", 1, int(Kind::Empty), u"  "},
        {u" Null", 1, int(Kind::Empty), u" Null"},
        {u"깨진 \uFFFD 글자", 1, int(Kind::Replacement), u"깨진 \uFFFD 글자"},
        {u"탭\t글자", 1, int(Kind::Control), u"탭<U+0009>글자"},
        {u"UTF-8 as Latin-1: í•œê¸€", 1, int(Kind::Mojibake), u"…F-8 as Latin-1: í•œê¸€"},
        {u"949 as Latin-1: ÇÑ±Û", 1, int(Kind::Mojibake), u"949 as Latin-1: ÇÑ±Û"},
        {u"UTF-8을 949로 蹂몃Ц 읽음", 1, int(Kind::Mojibake), u"UTF-8을 949로 蹂몃Ц 읽음"},
        {u"\u1112\u1161\u11AB\u1100\u1173\u11AF \uBCF8\uBB38", 1, int(Kind::Decomposed),
         u"\u1112\u1161\u11AB\u1100\u1173\u11AF \uBCF8\uBB38"},
        {u"끝에 공백 ", 1, int(Kind::EdgeSpaces), u"끝에 공백 "},
        {u"안에  겹친 공백", 1, int(Kind::DoubleSpaces), u"안에  겹친 공백"},
        {u"The the word twice, yea, yea.", 1, int(Kind::RepeatedWord), u"The the word twice, yea…"},
        {u"the LORD’s word and the brethren’ sake; Cæsar, ‘a’ 「b」 『c』 “d”", 1, -1, nullptr},
        {u"(an aside that opens here", 2, -1, nullptr},
        {u"[and closes] in the next verse)", 2, -1, nullptr},
        {u"“열린 따옴표 (괄호", 3, int(Kind::Brackets), u"“열린 따옴표 (괄호"},
        {u"닫힌 괄호만) ]", 4, int(Kind::Brackets), u"닫힌 괄호만) ]"},
        {u"‘어긋남)’", 5, int(Kind::Brackets), u"‘어긋남)’"},
    };
    QList<testsupport::Verse> verses;
    QStringList expected;
    for (const auto& [text, chapter, kind, excerpt] : rows) {
        const int number = int(verses.size()) + 1;
        verses.append({number, u"창 1:%1"_s.arg(number), text ? QVariant(QString::fromUtf16(text)) : QVariant(), 1,
                       number, chapter});
        if (kind >= 0) {
            expected << u"%1 %2 창 1:%2: %3"_s.arg(kind).arg(number).arg(QString::fromUtf16(excerpt));
        }
    }
    // By kind, then by 번호 (the order of the rows).
    std::stable_sort(expected.begin(), expected.end(), [](const QString& a, const QString& b) {
        return a.section(u' ', 0, 0).toInt() < b.section(u' ', 0, 0).toInt();
    });
    const QString file = makeVersion(u"a.dat"_s, verses);
    const review::InspectOutcome all = review::inspectVersion({file, {}, {}, {}});
    EXPECT_EQ(all.result, review::InspectResult::Found);
    QStringList listed; // "kind 번호 성경구절: excerpt" of every finding
    for (const review::Finding& f : all.findings) {
        listed << u"%1 %2 %3: %4"_s.arg(int(f.kind)).arg(f.number).arg(f.reference, f.excerpt);
    }
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(all.verses, qsizetype(std::size(rows)) - 1);
    for (int kind = 0; kind < review::kInspectionKinds; ++kind) {
        SCOPED_TRACE(kind);
        const review::InspectOutcome without =
            review::inspectVersion({file, {}, review::InspectionKinds().set(kind), {}});
        std::array<int, review::kInspectionKinds> counts = all.counts;
        counts[kind] = 0;
        EXPECT_EQ(without.counts, counts);
    }
    EXPECT_EQ(review::inspectVersion({file, {}, review::InspectionKinds().set(), {}}).result,
              review::InspectResult::Clean);
}

// The lengths of verses against another version, whose verses hold about half the letters (the median ratio 2):
// a verse under 2/3 or over 6 is far, unless both are short.
TEST_F(Inspect, judgesLengthsAgainstTheMedianRatioOfTheOtherVersion)
{
    // The letters of a verse and of the other version's verse; only the fifth and the sixth are far.
    const std::pair<int, int> rows[] = {{20, 10}, {40, 20}, {42, 20}, {14, 20}, {12, 20},
                                        {70, 10}, {2, 5},   {10, 1},  {0, 10},  {10, 0}};
    QList<testsupport::Verse> verses, others;
    for (const auto& [letters, otherLetters] : rows) {
        const int n = int(verses.size()) + 1;
        verses.append({n, u"창 1:%1"_s.arg(n), QString(letters, u'가') + u" "_s});
        others.append({n, u"창 1:%1"_s.arg(n), QString(otherLetters, u'a')});
    }
    others.append({99, u"창 2:1"_s, u"only in the other"_s});
    const QString a = makeVersion(u"a.dat"_s, verses);
    const QString b = makeVersion(u"b.dat"_s, others);
    const review::InspectionKinds kinds = review::InspectionKinds().set().reset(review::bit(Kind::Length));
    platform::RunControl control;
    const review::InspectOutcome outcome = review::inspectVersion({a, b, kinds, &control});
    QStringList found;
    for (const review::Finding& f : outcome.findings) {
        found << QString::number(f.number);
    }
    EXPECT_EQ(found, (QStringList{u"5"_s, u"6"_s}));
    EXPECT_DOUBLE_EQ(outcome.ratio, 2.0);
    EXPECT_EQ(std::pair(control.done(), control.total()), std::pair(qint64(10), qint64(10)));
    EXPECT_EQ(review::inspectVersion({a, {}, kinds, {}}).result, review::InspectResult::Clean);
}
