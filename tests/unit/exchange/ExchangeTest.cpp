// The export's plans of text, IMP, VPL, OSIS and Zefania files, and the verses it reads.

#include "exchange/VersionExport.h"
#include "support/InstallTree.h"
#include "support/TestPaths.h"

#include <QXmlStreamReader>
#include <atomic>
#include <gtest/gtest.h>
#include <optional>
#include <thread>

using namespace Qt::StringLiterals;

using exchange::ExportFormat;
using exchange::ExportPlan;
using exchange::ExportResult;
using exchange::TextEncoding;
using exchange::Verse;

namespace {

// Verses of these references, numbered from 1; a text of nothing is Null.
QList<Verse> verses(std::initializer_list<std::pair<const char*, std::optional<const char*>>> list)
{
    QList<Verse> all;
    for (const auto& [reference, text] : list) {
        Verse v;
        v.reference = QString::fromUtf8(reference);
        EXPECT_TRUE(books::splitReference(v.reference, v)) << reference;
        v.number = all.size() + 1;
        if (text) {
            v.text = QString::fromUtf8(*text);
        }
        all << v;
    }
    return all;
}

} // namespace

// One file per book of the reference, in the order of the verses; "null" is a text, Null none, spaces are kept.
TEST(TextFiles, oneFilePerBookOfReferenceAndTextLinesInTheOrderOfTheVerses)
{
    const ExportPlan plan = exchange::planTextFiles(
        verses({{"창 1:1", "태초에"}, {"창 1:2", std::nullopt}, {"창 1:3", "null"}, {"창 1:4", " 앞뒤 공백 "}}),
        TextEncoding::Utf8);
    ASSERT_EQ(plan.files.size(), 66);
    EXPECT_EQ(plan.files.first().bytes,
              "\xEF\xBB\xBF"_ba + u"창 1:1 태초에\n창 1:3 null\n창 1:4  앞뒤 공백 \n"_s.toUtf8());
    EXPECT_EQ(plan.files.last().bytes, "\xEF\xBB\xBF"_ba);
}

// U+2014 (EM DASH) and U+1F600 are not in code page 949; 똠 is, in Windows' table.
TEST(TextFiles, refuseAWholePlanForTheFirstTextThatCannotBeOneLineOfTheEncoding)
{
    const std::tuple<TextEncoding, QList<Verse>, ExportResult, const char*> rows[] = {
        {TextEncoding::Cp949, verses({{"창 1:1", "똠"}, {"출 32:32", "sin—; and if not"}, {"계 1:1", "😀"}}),
         ExportResult::Unencodable, "출 32:32"},
        {TextEncoding::Utf8, verses({{"창 1:1", "a"}, {"창 1:2", "b\nc"}}), ExportResult::LineBreak, "창 1:2"},
        {TextEncoding::Cp949, verses({{"창 1:1", "a\rb"}, {"창 1:2", "😀"}}), ExportResult::LineBreak, "창 1:1"},
    };
    for (const auto& [encoding, rowVerses, result, refused] : rows) {
        const ExportPlan plan = exchange::planTextFiles(rowVerses, encoding);
        EXPECT_EQ(plan.result, result) << refused;
        EXPECT_EQ(plan.refused.reference, QString::fromUtf8(refused));
        EXPECT_TRUE(plan.files.isEmpty());
    }
}

// The same verses for every format: "null", Null, and the verses KJV lacks (아 6:14, 요삼 1:15).
const QList<Verse> kKjvCases = verses({{"창 1:1", "In the beginning"},
                                       {"창 1:2", "null"},
                                       {"창 1:3", std::nullopt},
                                       {"아 6:13", "Return"},
                                       {"아 6:14", "더 있음"},
                                       {"요삼 1:14", std::nullopt},
                                       {"요삼 1:15", "Peace"},
                                       {"계 22:21", "Amen"}});

TEST(ImpFile, keysInKjvVersificationWithTheVersesItLacksAppendedToTheVerseBefore)
{
    using Plan = ExportPlan (*)(const QList<Verse>&, const QString&);
    const std::pair<Plan, const char*> rows[] = {
        {exchange::planImpFile, "$$$Gen 1:1\nIn the beginning\n$$$Gen 1:2\n\n"
                                "$$$Song 6:13\nReturn 더 있음\n$$$3John 1:14\nPeace\n$$$Rev 22:21\nAmen\n"},
        {exchange::planVplFile,
         "Gen 1:1 In the beginning\nGen 1:2\nSong 6:13 Return 더 있음\n3John 1:14 Peace\nRev 22:21 Amen\n"},
    };
    for (const auto& [planOf, expected] : rows) {
        const ExportPlan plan = planOf(kKjvCases, u"my.imp"_s);
        ASSERT_EQ(plan.files.size(), 1);
        EXPECT_EQ(plan.files.first().bytes, QByteArray(expected));
        EXPECT_EQ(plan.versesWritten, 6);
        EXPECT_EQ(plan.moved,
                  (QList<exchange::MovedVerse>{{u"아 6:14"_s, u"아 6:13"_s}, {u"요삼 1:15"_s, u"요삼 1:14"_s}}));
        const ExportPlan refused = planOf(verses({{"창 1:1", "a"}, {"창 1:2", "b\r\nc"}}), u"x.imp"_s);
        EXPECT_EQ(refused.result, ExportResult::LineBreak);
        EXPECT_EQ(refused.refused.reference, u"창 1:2"_s);
        EXPECT_TRUE(refused.files.isEmpty());
    }
}

// OSIS in KJV versification, Zefania in the version's own: Korean book names, escaped texts that read back as they
// were (line breaks included) and the version's name; a control character XML cannot hold refuses the plan.
TEST(XmlFiles, wellFormedWithKoreanBookNamesAndTextsThatReadBackAsTheyWere)
{
    QList<Verse> cases = kKjvCases;
    const QString marked = u"a & b <c> \"d\" 'e'\r\nf"_s;
    cases[0].text = marked;
    const QString name = u"my \"version\" & co\x01"_s;
    const ExportPlan osis = exchange::planOsisFile(cases, u"my.osis.xml"_s, name);
    const ExportPlan zefania = exchange::planZefaniaFile(cases, u"my.xml"_s, name);
    const std::tuple<const ExportPlan&, const char*, int, QStringList> rows[] = {
        {osis,
         "verse",
         5,
         {u"<osisText osisIDWork=\"my__version____co_\""_s, u"<title>my \"version\" &amp; co_</title>"_s,
          u"<div type=\"book\" osisID=\"Gen\">\n<title>창세기</title>\n<chapter osisID=\"Gen.1\">\n"
          u"<verse osisID=\"Gen.1.1\">a &amp; b &lt;c&gt; \"d\" 'e'&#13;&#10;f</verse>\n"
          u"<verse osisID=\"Gen.1.2\"></verse>\n</chapter>\n</div>\n<div type=\"book\" osisID=\"Song\">"_s,
          u"<verse osisID=\"Song.6.13\">Return 더 있음</verse>"_s, u"<verse osisID=\"3John.1.14\">Peace</verse>"_s}},
        {zefania,
         "VERS",
         6,
         {u"biblename=\"my &quot;version&quot; &amp; co_\""_s,
          u"<BIBLEBOOK bnumber=\"22\" bname=\"아가\" bsname=\"아\">\n<CHAPTER cnumber=\"6\">\n"
          u"<VERS vnumber=\"13\">Return</VERS>\n<VERS vnumber=\"14\">더 있음</VERS>\n"_s,
          u"<VERS vnumber=\"2\"></VERS>\n</CHAPTER>"_s, u"<BIBLEBOOK bnumber=\"66\" bname=\"요한계시록\""_s}},
    };
    for (const auto& [plan, verseElement, count, fragments] : rows) {
        SCOPED_TRACE(verseElement);
        ASSERT_EQ(plan.files.size(), 1);
        const QString text = QString::fromUtf8(plan.files.first().bytes);
        for (const QString& fragment : fragments) {
            EXPECT_TRUE(text.contains(fragment)) << fragment.toStdString();
        }
        EXPECT_EQ(plan.versesWritten, 6);
        QXmlStreamReader xml(plan.files.first().bytes);
        QStringList texts;
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1StringView(verseElement)) {
                texts << xml.readElementText();
            }
        }
        EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
        EXPECT_EQ(texts.size(), count);
        EXPECT_EQ(texts.value(0), marked);
    }
    // The first such verse in the version's order is named (창 1:3, Null in the cases, gets one).
    cases[7].text = u"\uFFFF"_s;
    cases[2].text = u"bell \x07"_s;
    for (const ExportPlan& refused :
         {exchange::planOsisFile(cases, {}, {}), exchange::planZefaniaFile(cases, {}, {})}) {
        EXPECT_EQ(refused.result, ExportResult::NotXmlText);
        EXPECT_EQ(refused.refused.reference, u"창 1:3"_s);
        EXPECT_TRUE(refused.files.isEmpty());
    }
    EXPECT_EQ(osis.moved, exchange::planImpFile(kKjvCases, {}).moved);
    EXPECT_TRUE(zefania.moved.isEmpty());
}

// Files of the names to write refuse an export unless it replaces them. An export cancelled from another thread once
// half of the verses are read writes nothing: a file that was there keeps its bytes, a folder made for it goes, and
// no temporary file stays.
TEST(ExportVersion, replacesOnlyWhenAskedAndACancelHalfwayLeavesEveryFileAsItWas)
{
    testsupport::InstallTree tree;
    const QString version = tree.makeVersion(u"whole.dat"_s, testsupport::wholeBible());
    const QString folder = tree.beside(u"out"_s);
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString genesis = QDir::toNativeSeparators(folder + u"/01-창.txt"_s);
    testsupport::write(genesis, "earlier export");
    exchange::ExportRequest request{version, folder};
    exchange::ExportOutcome outcome = exchange::exportVersion(request);
    EXPECT_EQ(outcome.result, ExportResult::WouldReplace);
    EXPECT_EQ(outcome.existing, QStringList{genesis});
    for (const QString& into : {folder, tree.beside(u"fresh"_s)}) {
        SCOPED_TRACE(into.toStdString());
        platform::RunControl control;
        std::atomic<bool> ended = false;
        std::thread canceller([&] {
            while (!ended && (control.total() == 0 || control.done() < control.total() / 2)) {
                std::this_thread::yield();
            }
            control.cancel();
        });
        request = {version, into, ExportFormat::Text, TextEncoding::Utf8, true, &control};
        outcome = exchange::exportVersion(request);
        ended = true;
        canceller.join();
        EXPECT_EQ(outcome.result, ExportResult::Cancelled);
        EXPECT_GE(control.done(), control.total() / 2);
    }
    EXPECT_FALSE(QFileInfo::exists(tree.beside(u"fresh"_s)));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{u"01-창.txt"_s});
    EXPECT_EQ(testsupport::bytes(genesis), "earlier export");
    request = {version, folder, ExportFormat::Text, TextEncoding::Utf8, true};
    EXPECT_EQ(exchange::exportVersion(request).result, ExportResult::Written);
    EXPECT_TRUE(testsupport::bytes(genesis).startsWith("\xEF\xBB\xBF\xEC\xB0\xBD 1:1 "));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 66);
}
