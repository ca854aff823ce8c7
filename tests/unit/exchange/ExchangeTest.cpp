// The export's plans of text, IMP, VPL, OSIS and Zefania files, and the verses it reads.

#include "exchange/VersionExport.h"
#include "support/InstallTreeTest.h"

#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

using exchange::ExportFormat;
using exchange::ExportPlan;
using exchange::ExportResult;
using exchange::TextEncoding;
using versiondb::Verse;

namespace {

// Verses of these references, numbered from 1; a text of nothing is Null.
QList<Verse> verses(std::initializer_list<std::pair<const char*, std::optional<const char*>>> list)
{
    QList<Verse> all;
    for (const auto& [reference, text] : list) {
        Verse& v = all.emplace_back();
        v.reference = QString::fromUtf8(reference);
        EXPECT_TRUE(books::splitReference(v.reference, v)) << reference;
        v.number = all.size();
        v.text = text ? std::optional(QString::fromUtf8(*text)) : std::nullopt;
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

// The same verses for every format: "null", Null, and the verses KJV lacks (아 6:14, 요삼 1:15).
// clang-format off
const QList<Verse> kKjvCases = verses({{"창 1:1", "In the beginning"}, {"창 1:2", "null"}, {"창 1:3", std::nullopt},
                                       {"아 6:13", "Return"}, {"아 6:14", "더 있음"}, {"요삼 1:14", std::nullopt},
                                       {"요삼 1:15", "Peace"}, {"계 22:21", "Amen"}});
// clang-format on

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
    }
}

// OSIS in KJV versification, Zefania in the version's own, texts escaped to read back as they were.
TEST(XmlFiles, wellFormedWithKoreanBookNamesAndTextsThatReadBackAsTheyWere)
{
    QList<Verse> cases = kKjvCases;
    const QString marked = u"a & b <c> \"d\" 'e'\r\nf"_s;
    cases[0].text = marked;
    const QString name = u"my \"version\" & co\x01"_s;
    const ExportPlan osis = exchange::planOsisFile(cases, u"my.osis.xml"_s, name);
    const ExportPlan zefania = exchange::planZefaniaFile(cases, u"my.xml"_s, name);
    const QStringList osisFragments = {
        u"<osisText osisIDWork=\"my__version____co_\""_s, u"<title>my \"version\" &amp; co_</title>"_s,
        u"<div type=\"book\" osisID=\"Gen\">\n<title>창세기</title>\n<chapter osisID=\"Gen.1\">\n"
        u"<verse osisID=\"Gen.1.1\">a &amp; b &lt;c&gt; \"d\" 'e'&#13;&#10;f</verse>\n"
        u"<verse osisID=\"Gen.1.2\"></verse>\n</chapter>\n</div>\n<div type=\"book\" osisID=\"Song\">"_s,
        u"<verse osisID=\"Song.6.13\">Return 더 있음</verse>"_s, u"<verse osisID=\"3John.1.14\">Peace</verse>"_s};
    const QStringList zefaniaFragments = {
        u"biblename=\"my &quot;version&quot; &amp; co_\""_s,
        u"<BIBLEBOOK bnumber=\"22\" bname=\"아가\" bsname=\"아\">\n<CHAPTER cnumber=\"6\">\n"
        u"<VERS vnumber=\"13\">Return</VERS>\n<VERS vnumber=\"14\">더 있음</VERS>\n"_s,
        u"<VERS vnumber=\"2\"></VERS>\n</CHAPTER>"_s, u"<BIBLEBOOK bnumber=\"66\" bname=\"요한계시록\""_s};
    const std::tuple<const ExportPlan&, const char*, int, const QStringList&> rows[] = {
        {osis, "verse", 5, osisFragments}, {zefania, "VERS", 6, zefaniaFragments}};
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
        EXPECT_EQ(std::pair(texts.size(), texts.value(0)), std::pair(qsizetype(count), marked));
    }
    EXPECT_EQ(osis.moved, exchange::planImpFile(kKjvCases, {}).moved);
    EXPECT_TRUE(zefania.moved.isEmpty());
}

// A plan is refused whole, naming the first verse that cannot be written: not in code page 949 (똠 is), a line break
// in a line format, a control character in XML.
TEST(ExportPlans, refuseWholeForTheFirstVerseThatCannotBeWritten)
{
    using enum ExportResult;
    const QList<Verse> crlf = verses({{"창 1:1", "a"}, {"창 1:2", "b\r\nc"}});
    QList<Verse> control = kKjvCases;
    control[7].text = u"\uFFFF"_s;
    control[2].text = u"bell \x07"_s;
    const std::tuple<ExportPlan, ExportResult, const char*> rows[] = {
        {exchange::planTextFiles(verses({{"창 1:1", "똠"}, {"출 32:32", "sin—; and if not"}, {"계 1:1", "😀"}}),
                                 TextEncoding::Cp949),
         Unencodable, "출 32:32"},
        {exchange::planTextFiles(verses({{"창 1:1", "a"}, {"창 1:2", "b\nc"}}), TextEncoding::Utf8), LineBreak,
         "창 1:2"},
        {exchange::planTextFiles(verses({{"창 1:1", "a\rb"}, {"창 1:2", "😀"}}), TextEncoding::Cp949), LineBreak,
         "창 1:1"},
        {exchange::planImpFile(crlf, {}), LineBreak, "창 1:2"},
        {exchange::planVplFile(crlf, {}), LineBreak, "창 1:2"},
        {exchange::planOsisFile(control, {}, {}), NotXmlText, "창 1:3"},
        {exchange::planZefaniaFile(control, {}, {}), NotXmlText, "창 1:3"},
    };
    for (const auto& [plan, result, refused] : rows) {
        EXPECT_EQ(std::tuple(plan.result, plan.refused.reference, plan.files.size()),
                  std::tuple(result, QString::fromUtf8(refused), 0));
    }
}

// An export cancelled halfway writes nothing: a file there keeps its bytes, a folder made for it and temporaries go.
// So does one whose last file cannot take its place (a folder holds its name) after the others were put in place.
TEST(ExportVersion, aCancelOrAFailureHalfwayLeavesEveryFileAsItWas)
{
    testsupport::InstallTree tree;
    const QString version = tree.makeVersion(u"whole.dat"_s, testsupport::wholeBible());
    const QString folder = tree.beside(u"out"_s);
    ASSERT_TRUE(QDir().mkpath(folder + u"/66-계.txt/in the way"_s));
    const QString genesis = QDir::toNativeSeparators(folder + u"/01-창.txt"_s);
    testsupport::write(genesis, "earlier export");
    for (const QString& into : {folder, tree.beside(u"fresh"_s)}) {
        SCOPED_TRACE(into.toStdString());
        platform::RunControl control;
        exchange::ExportRequest request{version, into, ExportFormat::Text, TextEncoding::Utf8, true, &control};
        const exchange::ExportOutcome outcome = testsupport::cancelledWhen(
            control, [&] { return control.total() != 0 && control.done() >= control.total() / 2; },
            [&] { return exchange::exportVersion(request); });
        EXPECT_EQ(outcome.result, ExportResult::Cancelled);
        EXPECT_GE(control.done(), control.total() / 2);
    }
    EXPECT_FALSE(QFileInfo::exists(tree.beside(u"fresh"_s)));
    const exchange::ExportRequest blocked{version, folder, ExportFormat::Text, TextEncoding::Utf8, true, nullptr};
    EXPECT_EQ(exchange::exportVersion(blocked).result, ExportResult::WriteFailed);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{u"01-창.txt"_s});
    EXPECT_EQ(testsupport::bytes(genesis), "earlier export");
}
