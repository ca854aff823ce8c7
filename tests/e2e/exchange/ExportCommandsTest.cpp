// byeorisol-data export and report, and the exported files read by SWORD's own tools.

#include "books/BookAbbreviations.h"
#include "books/SwordBookNames.h"
#include "exchange/ExportMessages.h"
#include "exchange/VersionExport.h"
#include "platform/SystemCodePage.h"
#include "support/InstallTreeTest.h"
#include "versiondb/ErrorNumbers.h"
#include "versiondb/VersionStore.h"

#include <QDir>
#include <QHash>
#include <QRegularExpression>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

using namespace testsupport;

class ExportCommand : public DataCommandTest
{
protected:
    // Builds the version NAME.DAT from the files; the build's exit code must be the one given.
    void build(const QString& name, const QStringList& files, int exitCode = 0) const
    {
        const CommandResult result = run(QStringList{u"build"_s, name} + files);
        EXPECT_EQ(result.exitCode, exitCode) << result.out.toStdString();
    }

    // Exports into a folder and builds the export into a new version of the same texts; the export's output.
    QString expectRoundTrip(const QString& version, const QStringList& encodingOption) const
    {
        const QString exported = beside(u"exported"_s), second = path(u"second.DAT"_s);
        CommandResult result = run(QStringList{u"export"_s, version, exported} + encodingOption);
        EXPECT_EQ(result.exitCode, 0);
        EXPECT_EQ(QDir(exported).entryList(QDir::Files).size(), 66);
        EXPECT_EQ(bytes(exported + u"/01-창.txt"_s).startsWith("\xEF\xBB\xBF"),
                  encodingOption.isEmpty() && !platform::systemCodePageIs949());
        QStringList files = QDir(exported).entryList(QDir::Files, QDir::Name);
        build(u"second"_s, files.replaceInStrings(QRegularExpression(u"^"_s), exported + u'/'));
        EXPECT_EQ(storedTexts(version), storedTexts(second));
        QDir(exported).removeRecursively();
        EXPECT_TRUE(QFile::remove(second));
        return result.out.replace(QDir::toNativeSeparators(exported), u"<folder>"_s);
    }
};

TEST_F(ExportCommand, roundTripsInBothEncodingsGiveTheSameTextsAndTheReportCounts)
{
    // 출 1:1 has an empty text, stored as "null"; 출 1:2 is Korean.
    const QString extra = textFile(u"extra.txt"_s, {u"출 1:1"_s, u"출 1:2 이스라엘의 아들들의 이름은 이러하니"_s});
    build(u"first"_s, {sample("genesis-1.txt"), sample("genesis-2.txt"), extra});
    const QString first = path(u"first.DAT"_s);
    ASSERT_EQ(run({u"save"_s, first, u"계 22:19"_s, u"누구든지 이 책의 예언의 말씀에서 제하여 버리면"_s}).exitCode, 0);
    ASSERT_EQ(run({u"save"_s, first, u"계 22:21"_s, u"주 예수의 은혜가 모든 자들에게 있을지어다 아멘"_s}).exitCode, 0);
    for (const QStringList& option : {QStringList{u"--encoding"_s, u"cp949"_s}, QStringList{}}) {
        EXPECT_EQ(expectRoundTrip(first, option),
                  u"first.DAT\n\n60개 구절을 텍스트 파일로 내보냈습니다.\n<folder>\n"_s);
    }
    // The report: four counts, then the verses without text as ranges within a chapter, one verse without a dash.
    const CommandResult counted = run({u"report"_s, first});
    EXPECT_EQ(counted.exitCode, 0);
    const QStringList lines = counted.out.split(u'\n');
    EXPECT_EQ(lines.mid(0, 4).join(u'|').remove(QRegularExpression(u"[^0-9|]"_s)), u"31102|59|1|31042"_s);
    EXPECT_EQ(lines.mid(4, 2), (QStringList{u"창 3:1-24"_s, u"창 4:1-26"_s}));
    EXPECT_TRUE(counted.out.contains(u"\n출 1:3-22\n"_s) && counted.out.endsWith(u"\n계 22:1-18\n계 22:20\n"_s));
}

TEST_F(ExportCommand, aVersionInUseOrWithAnUnreadableReferenceIsRefused)
{
    build(u"held"_s, {sample("genesis-1.txt")});
    const QString held = path(u"held.DAT"_s);
    auto database = versiondb::VersionStore::openDatabase(held);
    const QString out = beside(u"out"_s);
    for (const QStringList& arguments : {QStringList{u"export"_s, held, out}, QStringList{u"report"_s, held}}) {
        expectRun(arguments, 2, u"held.DAT\n\n"_s + versiondb::errorDescription(versiondb::errorNumber::FileInUse));
    }
    EXPECT_FALSE(QFileInfo::exists(out));
    database->close();
    // Verses are read in the order of their 번호; a reference that is not canonical is named, and nothing else.
    const QString odd = makeVersion(
        u"odd.dat"_s, {{3, u"출 1:1"_s, QVariant()}, {1, u"창 1:1"_s, QVariant()}, {2, u"창 1:2"_s, QVariant()}});
    EXPECT_TRUE(run({u"report"_s, odd}).out.endsWith(u"\n창 1:1-2\n출 1:1\n"_s));
    (void)sql(odd, u"UPDATE \"본문\" SET \"성경구절\" = '창 01:2' WHERE \"번호\" = 2"_s);
    expectRun({u"report"_s, odd}, 1, u"odd.dat\n\n"_s + exchange::ExportMessages::unreadableReference(2, u"창 01:2"_s));
}

// Files already there refuse an export (exit 1, nothing written); --force replaces them, but never a version.
TEST_F(ExportCommand, refusesToReplaceFilesUnlessForcedAndVersionsAlways)
{
    build(u"first"_s, {sample("genesis-1.txt")});
    const QString first = path(u"first.DAT"_s);
    const QString file = beside(u"first.vpl"_s), folder = beside(u"texts"_s);
    write(file, "earlier");
    ASSERT_EQ(run({u"export"_s, first, folder}).exitCode, 0);
    write(folder + u"/01-창.txt"_s, "earlier");
    const QString refused = u"\n내보내지 않았습니다. 바꾸려면 --force를 붙이십시오."_s;
    const std::tuple<QStringList, QString, QString> cases[] = {
        {{file, u"--format"_s, u"vpl"_s}, u"'"_s + QDir::toNativeSeparators(file) + u"' 파일이 이미 있습니다."_s, file},
        {{folder}, u"내보낼 폴더에 같은 이름의 파일이 66개 있습니다."_s, folder + u"/01-창.txt"_s},
    };
    for (const auto& [arguments, existing, earlier] : cases) {
        expectRun(QStringList{u"export"_s, first} + arguments, 1, u"first.DAT\n\n"_s + existing + refused);
        EXPECT_EQ(bytes(earlier), "earlier");
        EXPECT_EQ(run(QStringList{u"export"_s, first, u"--force"_s} + arguments).exitCode, 0);
    }
    const QByteArray version = bytes(first);
    expectRun({u"export"_s, first, first, u"--format"_s, u"vpl"_s, u"--force"_s}, 1,
              u"first.DAT\n\n'"_s + QDir::toNativeSeparators(first) +
                  u"' 파일은 역본파일(데이터베이스)이므로 내보낸 파일로 바꾸지 않았습니다."_s);
    EXPECT_EQ(bytes(first), version);
    EXPECT_TRUE(bytes(file).startsWith("Gen 1:1 "));
    EXPECT_TRUE(bytes(folder + u"/01-창.txt"_s)
                    .startsWith(platform::systemCodePageIs949() ? "\xC3\xA2 1:1 " : "\xEF\xBB\xBF\xEC\xB0\xBD 1:1 "));
}

// Every verse diatheke reads from a KJV module, key ("Genesis 1:1") to text, spaces normalised, empty ones left out.
QMap<QString, QString> moduleTexts(const QString& module, bool osis)
{
    const QStringList arguments = {
        u"-b"_s, module, u"-f"_s, osis ? u"plain"_s : u"internal"_s, u"-k"_s, u"Gen 1:1-Rev 22:21"_s};
    static const QRegularExpression verse(u"^(.+ \\d+:\\d+): (.*)$"_s);
    QMap<QString, QString> texts;
    for (const QString& line : outputOf(u"diatheke"_s, arguments).split(u'\n')) {
        const QRegularExpressionMatch match = verse.match(line);
        if (match.hasMatch() && !match.captured(2).simplified().isEmpty()) {
            texts.insert(match.captured(1), match.captured(2).simplified());
        }
    }
    return texts;
}

// The whole Bible exported as IMP, OSIS and VPL, made modules by imp2vs, osis2mod and vpl2mod, reads back in
// diatheke verse for verse; Zefania and OSIS build back as stored.
TEST_F(ExportCommand, theWholeBibleGoesThroughSwordsToolsAndComesBackFromTheirModules)
{
    if (lacks({u"imp2vs"_s, u"osis2mod"_s, u"vpl2mod"_s, u"diatheke"_s})) {
        GTEST_SKIP() << "imp2vs, osis2mod, vpl2mod or diatheke is missing (libsword-utils and diatheke; scripts/setup)";
    }
    // The Korean reference lacks 삼상 30:31 and 고후 13:14; KJV lacks 아 6:14 and 요삼 1:15, filled here.
    build(u"kjv-ko"_s, kjvBookFiles(), 1);
    const QString kjv = path(u"kjv-ko.DAT"_s);
    // (osis2mod drops a space that follows an entity reference preceded by a space; no space follows one here.)
    const QString marked = u"Not in KJV: \"A\"&'B' <C>"_s;
    ASSERT_EQ(run({u"save"_s, kjv, u"아 6:14"_s, marked}).exitCode, 0);
    ASSERT_EQ(run({u"save"_s, kjv, u"요삼 1:15"_s, u"평강이 너에게 있을지어다"_s}).exitCode, 0);
    (void)expectRoundTrip(kjv, {});
    const QList<std::pair<QString, QString>> stored = storedTexts(kjv);
    // Where KJV lacks a verse, its text comes back after the verse before, the verse itself Null.
    QHash<QString, QString> kjvTexts(stored.begin(), stored.end());
    kjvTexts[u"아 6:13"_s] += u' ' + std::exchange(kjvTexts[u"아 6:14"_s], u"<Null>"_s);
    kjvTexts[u"요삼 1:14"_s] += u' ' + std::exchange(kjvTexts[u"요삼 1:15"_s], u"<Null>"_s);
    QMap<QString, QString> expected;
    for (const auto& [reference, text] : kjvTexts.asKeyValueRange()) {
        if (text != u"<Null>"_s) {
            const int book = books::BookAbbreviations::find(reference.section(u' ', 0, 0));
            expected.insert(books::SwordBookNames::englishName(book).toString() + u' ' + reference.section(u' ', 1),
                            text.simplified());
        }
    }
    exchange::ExportOutcome moved;
    moved.moved = {{u"아 6:14"_s, u"아 6:13"_s}, {u"요삼 1:15"_s, u"요삼 1:14"_s}};
    const QString sword = beside(u"sword"_s);
    qputenv("SWORD_PATH", sword.toLocal8Bit());
    qputenv("LANG", "C.UTF-8");
    // Each format, what the export calls its file, and the tool that makes a module of it with its arguments.
    const std::tuple<QString, QString, QString, QStringList> formats[] = {
        {u"imp"_s, u"IMP"_s, u"imp2vs"_s, {u"FILE"_s, u"-o"_s, u"DATA"_s, u"-l"_s, u"ko"_s}},
        {u"osis"_s, u"OSIS"_s, u"osis2mod"_s, {u"DATA"_s, u"FILE"_s}},
        {u"vpl"_s, u"VPL"_s, u"vpl2mod"_s, {u"FILE"_s, u"DATA"_s, u"1"_s}},
    };
    for (auto [format, name, tool, arguments] : formats) {
        SCOPED_TRACE(format.toStdString());
        const QString file = beside(u"kjv-ko."_s + format);
        const CommandResult exported = run({u"export"_s, kjv, file, u"--format"_s, format});
        ASSERT_EQ(exported.exitCode, 0);
        EXPECT_EQ(exported.out, u"kjv-ko.DAT\n\n31102개 구절을 "_s + name + u" 파일로 내보냈습니다.\n"_s +
                                    QDir::toNativeSeparators(file) +
                                    console(exchange::ExportMessages::movedVerses(moved)));
        const QString module = format.toUpper() + u"KO"_s;
        const QString data = u"/modules/texts/rawtext/"_s + format + u'/';
        ASSERT_TRUE(QDir().mkpath(sword + data) && QDir().mkpath(sword + u"/mods.d"_s));
        write(sword + u"/mods.d/"_s + format + u".conf"_s,
              u"[%1]\nDataPath=.%2\nModDrv=RawText\nEncoding=UTF-8\nSourceType=%3\nLang=ko\n"
              u"Versification=KJV\n"_s.arg(module, data, format == u"osis"_s ? u"OSIS"_s : u"Plain"_s)
                  .toUtf8());
        arguments.replaceInStrings(u"FILE"_s, file).replaceInStrings(u"DATA"_s, sword + data);
        const QString log = outputOf(tool, arguments, {}, QProcess::MergedChannels);
        EXPECT_FALSE(log.toLower().contains(QRegularExpression(u"error|warning|not a valid"_s))) << log.toStdString();
        const QMap<QString, QString> texts = moduleTexts(module, format == u"osis"_s);
        EXPECT_TRUE(texts == expected) << texts.size();
    }
    // Zefania builds back as stored; OSIS too, but for the two verses KJV lacks, which come back in the verse before.
    const QString zefania = beside(u"kjv-ko.xml"_s);
    ASSERT_EQ(run({u"export"_s, kjv, zefania, u"--format"_s, u"zefania"_s}).exitCode, 0);
    build(u"zefania"_s, {zefania});
    EXPECT_TRUE(storedTexts(path(u"zefania.DAT"_s)) == stored);
    build(u"osis"_s, {beside(u"kjv-ko.osis"_s)});
    const auto built = storedTexts(path(u"osis.DAT"_s));
    EXPECT_TRUE((QHash<QString, QString>(built.begin(), built.end()) == kjvTexts));
}

} // namespace
