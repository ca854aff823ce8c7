// The inspection of a version's texts: each kind found and switched off, silence on the King James text, the
// length against another version, the composition of decomposed Hangul as one change.

#include "exchange/VersionInspection.h"
#include "support/InstallTreeTest.h"
#include "support/TestPaths.h"
#include "versiondb/ErrorNumbers.h"
#include "versiondb/History.h"
#include "versiondb/Transaction.h"
#include "versiondb/VersionStore.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

using namespace Qt::StringLiterals;
using exchange::InspectionKind;
using Kind = InspectionKind;

namespace {

using Inspect = testsupport::InstallTreeTest;

// "kind 번호 성경구절: excerpt" of every finding.
QStringList listed(const exchange::InspectOutcome& outcome)
{
    QStringList lines;
    for (const exchange::Finding& f : outcome.findings) {
        lines << u"%1 %2 %3: %4"_s.arg(int(f.kind)).arg(f.number).arg(f.reference, f.excerpt);
    }
    return lines;
}

const QString kNfd = u"\u1112\u1161\u11AB\u1100\u1173\u11AF \uBCF8\uBB38"_s; // "한글 본문", its first word decomposed

} // namespace

TEST_F(Inspect, findsEachKindOnceAVerseAndSwitchesEachOff)
{
    const struct
    {
        const char16_t* text; // nullptr: Null
        int chapter;
        int kind; // -1: nothing
        const char16_t* excerpt;
    } rows[] = {
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
    for (const auto& row : rows) {
        const int number = int(verses.size()) + 1;
        verses.append({number, u"창 1:%1"_s.arg(number), row.text ? QVariant(QString::fromUtf16(row.text)) : QVariant(),
                       1, number, row.chapter});
        if (row.kind >= 0) {
            expected << u"%1 %2 창 1:%2: %3"_s.arg(row.kind).arg(number).arg(QString::fromUtf16(row.excerpt));
        }
    }
    std::sort(expected.begin(), expected.end(), [](const QString& a, const QString& b) {
        return std::pair(a.section(u' ', 0, 0).toInt(), a.section(u' ', 1, 1).toInt()) <
               std::pair(b.section(u' ', 0, 0).toInt(), b.section(u' ', 1, 1).toInt());
    });
    const QString file = makeVersion(u"a.dat"_s, verses);
    const exchange::InspectOutcome all = exchange::inspectVersion({file, {}, {}, {}});
    EXPECT_EQ(all.result, exchange::InspectResult::Found);
    EXPECT_EQ(listed(all), expected);
    EXPECT_EQ(all.verses, qsizetype(std::size(rows)) - 1);
    for (int kind = 0; kind < exchange::kInspectionKinds; ++kind) {
        SCOPED_TRACE(kind);
        const exchange::InspectOutcome without =
            exchange::inspectVersion({file, {}, exchange::InspectionKinds().set(kind), {}});
        std::array<int, exchange::kInspectionKinds> counts = all.counts;
        counts[kind] = 0;
        EXPECT_EQ(without.counts, counts);
    }
    EXPECT_EQ(exchange::inspectVersion({file, {}, exchange::InspectionKinds().set(), {}}).result,
              exchange::InspectResult::Clean);
}

// The lengths of verses against another version, whose verses hold about half the letters (the median ratio 2):
// a verse under 2/3 or over 6 is far, unless both are short.
TEST_F(Inspect, judgesLengthsAgainstTheMedianRatioOfTheOtherVersion)
{
    const struct
    {
        int letters, otherLetters;
        bool far;
    } rows[] = {{20, 10, false}, {40, 20, false}, {42, 20, false}, {14, 20, false}, {12, 20, true},
                {70, 10, true},  {2, 5, false},   {10, 1, false},  {0, 10, false},  {10, 0, false}};
    QList<testsupport::Verse> verses, others;
    QStringList expected;
    for (const auto& row : rows) {
        const int n = int(verses.size()) + 1;
        verses.append({n, u"창 1:%1"_s.arg(n), QString(row.letters, u'가') + u" "_s});
        others.append({n, u"창 1:%1"_s.arg(n), QString(row.otherLetters, u'a')});
        if (row.far) {
            expected << QString::number(n);
        }
    }
    others.append({99, u"창 2:1"_s, u"only in the other"_s});
    const QString a = makeVersion(u"a.dat"_s, verses);
    const QString b = makeVersion(u"b.dat"_s, others);
    const exchange::InspectionKinds kinds = exchange::InspectionKinds().set().reset(exchange::bit(Kind::Length));
    platform::RunControl control;
    const exchange::InspectOutcome outcome = exchange::inspectVersion({a, b, kinds, &control});
    QStringList found;
    for (const exchange::Finding& f : outcome.findings) {
        found << QString::number(f.number);
    }
    EXPECT_EQ(found, expected);
    EXPECT_DOUBLE_EQ(outcome.ratio, 2.0);
    EXPECT_EQ(std::pair(control.done(), control.total()), std::pair(qint64(10), qint64(10)));
    EXPECT_EQ(exchange::inspectVersion({a, {}, kinds, {}}).result, exchange::InspectResult::Clean);
    // A file that is missing is named as the version or as the other version.
    const exchange::InspectOutcome missing = exchange::inspectVersion({a, path(u"none.dat"_s), kinds, {}});
    EXPECT_EQ(std::tuple(missing.result, missing.file, missing.engineFailure.Number),
              std::tuple(exchange::InspectResult::EngineFailed, 1, versiondb::errorNumber::FileNotFound));
    EXPECT_EQ(exchange::inspectVersion({path(u"none.dat"_s), b, kinds, {}}).file, 0);
}

// The whole King James text: it has no fault of encoding, spaces, brackets or copying (it does repeat words).
TEST_F(Inspect, isSilentOnTheKingJamesText)
{
    const QString file = makeVersion(u"kjv.dat"_s, {});
    {
        const auto version = versiondb::VersionStore::OpenDatabase(file);
        versiondb::Transaction transaction(*version);
        const QStringList books = testsupport::kjvBookFiles();
        ASSERT_EQ(books.size(), 66);
        qint64 number = 0;
        for (qsizetype book = 0; book < books.size(); ++book) {
            QFile in(books[book]);
            ASSERT_TRUE(in.open(QIODevice::ReadOnly));
            for (const QString& line : QStringDecoder("windows-949")(in.readAll()).operator QString().split(u'\n')) {
                const QStringList parts = line.split(u' ');
                if (parts.size() > 2) {
                    const QStringList place = parts[1].split(u':');
                    version->addRecord({++number, int(book) + 1, place[0].toInt(), place[1].toInt(),
                                        parts[0] + u' ' + parts[1],
                                        line.section(u' ', 2).chopped(line.endsWith(u'\r') ? 1 : 0)});
                }
            }
        }
        ASSERT_EQ(number, 31102);
        transaction.Commit();
    }
    const exchange::InspectOutcome outcome =
        exchange::inspectVersion({file, file, exchange::InspectionKinds().set(exchange::bit(Kind::RepeatedWord)), {}});
    EXPECT_EQ(listed(outcome), QStringList());
    EXPECT_EQ(std::pair(outcome.verses, outcome.ratio), std::pair(qint64(31102), 1.0));
}

TEST_F(Inspect, composesDecomposedHangulAsOneChangeThatUndoTakesBack)
{
    const QString file =
        makeVersion(u"a.dat"_s, {{1, u"창 1:1"_s, kNfd}, {2, u"창 1:2"_s, u"ᄋᆞ 옛한글"_s}, {3, u"창 1:3"_s, {}}});
    const QByteArray before = testsupport::bytes(file);
    ASSERT_TRUE(QFile::setPermissions(file, QFileDevice::ReadOwner));
    const exchange::ComposeOutcome refused = exchange::composeDecomposed(file);
    EXPECT_EQ(std::pair(refused.done, refused.failure.Number), std::pair(false, versiondb::errorNumber::ReadOnly));
    EXPECT_EQ(testsupport::bytes(file), before);
    ASSERT_TRUE(QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner));

    const exchange::ComposeOutcome composed = exchange::composeDecomposed(file);
    EXPECT_TRUE(composed.done && composed.change > 0);
    EXPECT_EQ(composed.verses, 1);
    EXPECT_EQ(exchange::inspectVersion({file, {}, {}, {}}).result, exchange::InspectResult::Clean);
    EXPECT_EQ(exchange::composeDecomposed(file).change, 0);
    const auto version = versiondb::VersionStore::OpenDatabase(file);
    versiondb::History history(*version);
    const std::vector<versiondb::Change> changes = history.changes();
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(std::pair(changes[0].source, changes[0].verses), std::pair(versiondb::ChangeSource::Compose, qint64(1)));
    EXPECT_EQ(version->record(*version->Seek(1))[versiondb::kText].toString(), u"한글 본문"_s);
    history.takeBack(composed.change, std::nullopt, versiondb::ChangeSource::Undo);
    EXPECT_EQ(version->record(*version->Seek(1))[versiondb::kText].toString(), kNfd);
}
