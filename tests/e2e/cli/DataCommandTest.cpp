// byeorisol-data run on temporary install trees, what it stores and finds compared with SWORD's tools and Python's re.

#include "books/BookAbbreviations.h"
#include "books/SwordBookNames.h"
#include "cli/Usage.h"
#include "editor/EditorMessages.h"
#include "import/ErrorEntries.h"
#include "import/RunMessages.h"
#include "import/RunRequest.h"
#include "import/VersionName.h"
#include "platform/CodePage949.h"
#include "platform/SystemCodePage.h"
#include "support/InstallTreeTest.h"
#include "versiondb/ErrorNumbers.h"
#include "versiondb/VersionStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#ifndef Q_OS_WIN
#include <csignal>
#include <sys/resource.h>
#endif

using namespace Qt::StringLiterals;

namespace {

namespace EditorMessages = editor::EditorMessages;
namespace ErrorEntries = importer::ErrorEntries;
using importer::LineOutcome;
namespace RunMessages = importer::RunMessages;
using importer::SourceFault;
using namespace testsupport;

QString entry(qint64 line, LineOutcome outcome, const QString& reference = {}, const QString& book = {})
{
    return ErrorEntries::lineEntry(line, {outcome, reference, {}, book});
}

QString fault(qint64 line, SourceFault kind, const QString& detail = {}, qint64 column = 0, const QString& lost = {})
{
    return ErrorEntries::faultEntry({line, column, lost, {}, kind, detail});
}

// A text's letters, without white space, case (SWORD capitalises LORD) or the Strong's numbers SWORD shows.
QString letters(QString text)
{
    return text.remove(QRegularExpression(u"<[GH]\\d+>|\\s"_s)).toCaseFolded();
}

class DataCommand : public DataCommandTest
{
protected:
    // The log's lines after its header and empty line (code page 949 with CR LF, or UTF-8 with LF).
    QStringList logEntries(bool cp949 = platform::systemCodePageIs949()) const
    {
        const QByteArray bytes = testsupport::bytes(programFile(u"err.txt"_s));
        QStringList lines = (cp949 ? platform::CodePage949().decode(bytes) : QString::fromUtf8(bytes))
                                .split(cp949 ? u"\r\n"_s : u"\n"_s);
        EXPECT_TRUE(lines.size() >= 3 && lines.first().endsWith(u" <편집오류 로그파일>"_s) && lines.at(1).isEmpty());
        return lines.mid(2, lines.size() - 3);
    }

    QMap<QString, QString> storedVerses(const QString& version) const
    {
        auto texts = storedTexts(path(version));
        texts.removeIf([](const auto& verse) { return verse.second == u"<Null>"_s; });
        return QMap<QString, QString>(std::map<QString, QString>(texts.begin(), texts.end()));
    }

    // osis2mod's module of an OSIS file, for diatheke to read without notes, references, Strong's numbers or headings.
    void makeSwordModule(const QString& name, const QString& osis) const
    {
        const QString sword = beside(u"sword"_s);
        const QString data = u"/modules/texts/ztext/"_s + name.toLower();
        ASSERT_TRUE(QDir().mkpath(sword + data) && QDir().mkpath(sword + u"/mods.d"_s));
        write(sword + u"/mods.d/"_s + name.toLower() + u".conf"_s,
              u"[%1]\nDataPath=.%2/\nModDrv=zText\nEncoding=UTF-8\nSourceType=OSIS\nBlockType=BOOK\n"
              "CompressType=ZIP\nVersification=KJV\nGlobalOptionFilter=OSISFootnotes\n"
              "GlobalOptionFilter=OSISScripref\nGlobalOptionFilter=OSISStrongs\n"
              "GlobalOptionFilter=OSISHeadings\n"_s.arg(name, data)
                  .toUtf8());
        outputOf(u"osis2mod"_s, {sword + data, osis, u"-z"_s});
        qputenv("SWORD_PATH", sword.toLocal8Bit());
        qputenv("LANG", "C.UTF-8");
    }

    // Every verse diatheke reads from a module, by Korean reference: its line, then the lines up to the next verse's.
    static QMap<QString, QStringList> swordVerses(const QString& module)
    {
        const QString plain = outputOf(
            u"diatheke"_s, {u"-b"_s, module, u"-f"_s, u"plain"_s, u"-k"_s, u"Genesis 1:1-Revelation of John 22:21"_s});
        QMap<QString, QStringList> verses;
        QStringList* last = nullptr;
        static const QRegularExpression kVerse(u"^[ \\t]*(\\S.*?) (\\d+:\\d+): (.*)$"_s);
        for (const QString& line : plain.split(u'\n')) {
            if (const QRegularExpressionMatch match = kVerse.match(line); match.hasMatch()) {
                const int book = books::SwordBookNames::find(match.captured(1));
                const QString reference = books::BookAbbreviations::at(book).toString() + u' ' + match.captured(2);
                last = &verses.insert(reference, {match.captured(3).trimmed()}).value();
            } else if (last != nullptr && !line.trimmed().isEmpty()) {
                last->append(line.trimmed());
            }
        }
        return verses;
    }

    // What diatheke prints of one verse, between its key and the module's name.
    static QString swordText(const QString& module, const QString& reference)
    {
        const int book = books::BookAbbreviations::find(reference.section(u' ', 0, 0));
        const QString key = books::SwordBookNames::englishName(book).toString() + u' ' + reference.section(u' ', 1);
        const QString printed = outputOf(u"diatheke"_s, {u"-b"_s, module, u"-f"_s, u"plain"_s, u"-k"_s, key});
        const qsizetype begin = printed.indexOf(key + u": "_s);
        EXPECT_GE(begin, 0) << printed.toStdString();
        return printed.mid(begin + key.size() + 2).section(u'(' + module + u')', 0, 0).simplified();
    }
};

TEST_F(DataCommand, checkLogsTheFaultyLinesBuildStoresTheAcceptedVersesAndRefusalsAndHeldTargetsTouchNothing)
{
    const QString faulty = sample("genesis-3-faulty.txt");
    expectRun({u"check"_s, sample("genesis-1.txt"), sample("genesis-2.txt")}, 0,
              RunMessages::testFinishedWithoutErrors());
    EXPECT_FALSE(QFile::exists(programFile(u"err.txt"_s)));
    expectRun({u"check"_s, sample("genesis-1.txt"), faulty}, 1, RunMessages::testFinishedWithErrors());
    EXPECT_EQ(logEntries(),
              (ErrorEntries::fileHeading(faulty) +
               QStringList{entry(5, LineOutcome::MissingColon), entry(7, LineOutcome::UnknownBook, {}, u"창세기"_s),
                           entry(10, LineOutcome::UnknownReference, u"창 3:100"_s)}));
    EXPECT_EQ(QDir(installFolder()).entryList(QDir::Files), QStringList{u"개역.DAT"_s});
    expectRun({u"build"_s, u"창세기"_s, sample("genesis-1.txt"), sample("genesis-2.txt"), faulty}, 1,
              RunMessages::buildFinishedWithErrors(u"창세기.DAT"_s, 77));
    const QString version = path(u"창세기.DAT"_s);
    EXPECT_EQ(storedText(version, u"창 1:1"_s), QVariant(u"In the beginning God created the heaven and the earth."_s));
    EXPECT_EQ(storedText(version, u"창 3:5"_s), QVariant()) << "its line had no colon";
    // Refusals say why and touch nothing.
    QString name = u"KJV.DAT. "_s, blank = u"  "_s; // Windows drops the dot and space that end a name
    const QStringList file = {sample("genesis-1.txt")};
    constexpr auto commandLine = importer::Asker::CommandLine; // its texts are pinned in the window texts' table
    const std::pair<QStringList, QString> refusals[] = {
        {{u"check"_s}, *importer::checkRunRefusal({}, commandLine)},
        {QStringList{u"build"_s, name} + file, *importer::buildRunRefusal(file, name, commandLine)},
        {QStringList{u"build"_s, blank} + file, *importer::buildRunRefusal(file, blank, commandLine)},
        {QStringList{u"build"_s, u"../outside"_s} + file, *importer::versionNameProblem(u"../outside"_s)},
    };
    for (const auto& [arguments, refusal] : refusals) {
        expectRun(arguments, 1, refusal);
    }
    EXPECT_EQ(QDir(installFolder()).entryList(QDir::Files), (QStringList{u"개역.DAT"_s, u"창세기.DAT"_s}));
    EXPECT_FALSE(QFile::exists(beside(u"outside.DAT"_s)));
    // A target held by another process fails the run.
    auto held = versiondb::VersionStore::openDatabase(version);
    const CommandResult result = run({u"build"_s, u"창세기"_s, sample("genesis-2.txt")});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.out.endsWith(console(RunMessages::phase2Failure({}, true)))) << result.out.toStdString();
    held->close();
}

// A fresh build keeps no history; a build into it is one change, listed newest first, that undo takes back and redo
// brings back once.
TEST_F(DataCommand, aBuildIntoAVersionIsOneChangeThatUndoTakesBackWhole)
{
    const QString version = path(u"창세기.DAT"_s);
    ASSERT_EQ(run({u"build"_s, u"창세기"_s, sample("genesis-1.txt")}).exitCode, 0);
    expectRun({u"history"_s, version}, 0, EditorMessages::kNoHistory);
    expectRun({u"undo"_s, version}, 1, EditorMessages::kNothingToTakeBack);
    const auto built = storedRecords(version);
    const QString changes = textFile(u"changes.txt"_s, {u"창 1:1 In the beginning."_s, u"창 2:1 Thus."_s});
    ASSERT_EQ(run({u"build"_s, u"창세기"_s, changes}).exitCode, 0);
    ASSERT_EQ(run({u"save"_s, version, u"창 1:1"_s, u"Then."_s}).exitCode, 0);
    const QStringList lines = run({u"history"_s, version}).out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith(u"2  "_s) && lines[0].endsWith(u"  저장 명령  1개 구절"_s))
        << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith(u"1  "_s) && lines[1].endsWith(u"  만들기  2개 구절  changes.txt"_s));
    EXPECT_TRUE(run({u"history"_s, version, u"창 1:1"_s})
                    .out.endsWith(u"\n  이전: In the beginning God created the heaven and the earth.\n"
                                  u"  이후: In the beginning.\n"_s));
    expectRun({u"history"_s, version, u"창 9:99"_s}, 1,
              u"창세기 9장은 29절까지 있습니다. 확인하고 다시 입력하여 주십시오 !"_s);
    expectRun({u"undo"_s, version}, 0, u"변경 2번을 되돌렸습니다 (1개 구절).\n창 1:1  In the beginning."_s);
    expectRun({u"undo"_s, version, u"창 2:1"_s}, 0, u"변경 1번을 되돌렸습니다 (1개 구절).\n창 2:1  (본문 없음)"_s);
    expectRun({u"redo"_s, version, u"창 2:1"_s}, 0, u"변경 1번을 다시 실행했습니다 (1개 구절).\n창 2:1  Thus."_s);
    expectRun({u"redo"_s, version, u"창 2:1"_s}, 1, EditorMessages::kNothingToRedo);
    auto expected = built; // 창 1:1 as the build run left it; taking back its last change would bring "Then." back
    expected[0].text = u"In the beginning."_s;
    std::ranges::find(expected, QVariant(u"창 2:1"_s), &StoredRecord::reference)->text = u"Thus."_s;
    EXPECT_EQ(storedRecords(version), expected);
}

// A command line that makes no sense says why on standard error, then the help, and touches no file.
TEST_F(DataCommand, badCommandLinesAreFailuresWithTheKoreanHelp)
{
    const CommandResult help = runDataCommand({}, {u"--help"_s});
    EXPECT_TRUE(help.exitCode == 0 && help.err.isEmpty());
    EXPECT_EQ(help.out, cli::usageText());
    namespace UsageErrors = cli::UsageErrors;
    const QString version = path(u"개역.DAT"_s);
    const QByteArray before = bytes(version);
    const QString missing = beside(u"없는 폴더"_s);
    const std::pair<QStringList, QString> cases[] = {
        {{}, UsageErrors::kNoCommand},
        {{u"--program-folder"_s}, UsageErrors::kProgramFolderMissing},
        {{u"--program-folder"_s, missing, u"check"_s}, UsageErrors::programFolderNotFound(missing)},
        {{u"--program-folder"_s, programFolder(), u"frobnicate"_s}, UsageErrors::unknownCommand(u"frobnicate"_s)},
        {{u"--program-folder"_s, programFolder(), u"build"_s}, UsageErrors::kBuildNeedsName},
        {{u"repair"_s, version, version}, UsageErrors::needsOnePath(u"repair"_s)},
        {{u"export"_s, version}, UsageErrors::kExportNeedsArguments},
        {{u"export"_s, version, u"o"_s, u"--encoding"_s}, UsageErrors::kExportEncodingValues},
        {{u"export"_s, version, u"o"_s, u"--quiet"_s}, UsageErrors::unknownOption(u"--quiet"_s)},
        {{u"export"_s, version, u"o"_s, u"--format"_s, u"usfm"_s}, UsageErrors::kExportFormatValues},
        {{u"export"_s, version, u"o"_s, u"--format"_s, u"zefania"_s, u"--encoding"_s, u"cp949"_s},
         UsageErrors::kExportFileIsUtf8},
    };
    for (const auto& [arguments, why] : cases) {
        const CommandResult result = runDataCommand({}, arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_EQ(result.err, u"byeorisol-data: "_s + why + u'\n' + help.out);
    }
    EXPECT_EQ(bytes(version), before);
}

// show and save exit with 0 when done, 1 when refused, 2 for a file that is no version.
TEST_F(DataCommand, showAndSaveSayWhatTheyDidWithTheirExitCode)
{
    const QString version = makeVersion(u"sample.dat"_s, sampleVerses());
    const QString notes = writeFile(u"notes.dat"_s, "창 1:1 태초에\r\n");
    const QString stored = u"\t땅이\u00A0혼돈하고  \u3000'ㅎ'"_s; // only spaces are trimmed
    const std::tuple<QStringList, int, QString> cases[] = {
        {{u"show"_s, version, u"창 01:1"_s}, 1, console(EditorMessages::kGoReferenceNotFound)},
        {{u"save"_s, version, u"창 1:2"_s, u"a\nb"_s}, 1, console(EditorMessages::kSaveLineBreak)},
        {{u"show"_s, u"sample.dat"_s, u"창 1:2"_s}, 0, u"창 1:2\n  \n"_s},
        {{u"save"_s, version, u" 창 1:2 "_s, u"  "_s + stored + u' '}, 0, {}},
        {{u"show"_s, notes, u"창 1:1"_s}, 2, versiondb::errorDescription(versiondb::errorNumber::UnrecognizedFormat)},
    };
    for (const auto& [arguments, exitCode, out] : cases) {
        const CommandResult result = runDataCommand({}, arguments, installFolder());
        EXPECT_EQ(result.exitCode, exitCode) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(result.out == out || (exitCode == 2 && result.out.contains(out))) << result.out.toStdString();
        EXPECT_TRUE(result.err.isEmpty()) << result.err.toStdString();
    }
    auto expected = storedRecords(makeVersion(u"expected.dat"_s, sampleVerses()));
    expected[1].text = stored;
    EXPECT_EQ(storedRecords(version), expected);
}

#ifndef Q_OS_WIN // script(1) gives the program its terminal
// Only on a terminal is progress drawn, and by time: a long build is drawn a bounded number of times, with its stage.
TEST_F(DataCommand, progressIsDrawnOnlyOnATerminalAndByTime)
{
    const CommandResult piped = run({u"build"_s, u"piped"_s, sample("genesis-1.txt")});
    EXPECT_TRUE(piped.exitCode == 0 && !piped.err.contains(u"작업중"_s)) << piped.err.toStdString();
    const QString build = u"'%1/byeorisol-data' --program-folder '%2' build whole '%3'; true"_s.arg(
        builtProgramFolder(), programFolder(), kjvBookFiles().join(u"' '"_s));
    const QString terminal = outputOf(u"script"_s, {u"-qefc"_s, build, u"/dev/null"_s});
    const qsizetype redraws = terminal.count(u"2/2 작업중..."_s);
    EXPECT_TRUE(redraws > 0 && redraws < 1000) << redraws;
}
#endif

// KJV written out by `mod2imp -s` builds every verse as diatheke reads it; the two Korean numbering lacks are logged.
TEST_F(DataCommand, aVersionBuiltFromMod2impHoldsTheModulesText)
{
    const QString module = u"engKJV2006eb"_s;
    if (lacks({u"mod2imp"_s, u"diatheke"_s}) ||
        !outputOf(u"diatheke"_s, {u"-b"_s, u"system"_s, u"-k"_s, u"modulelist"_s}).contains(module + u" : "_s)) {
        GTEST_SKIP() << "SWORD's mod2imp, diatheke or the module " << module.toStdString()
                     << " is missing (libsword-utils, diatheke, sword-text-kjv: scripts/setup installs them)";
    }
    const QString imp = beside(u"kjv.imp"_s);
    outputOf(u"mod2imp"_s, {module, u"-s"_s}, imp);
    QMap<QString, QString> kjv;
    for (const auto& [reference, lines] : swordVerses(module).asKeyValueRange()) {
        kjv.insert(reference, lines.first());
    }
    ASSERT_EQ(kjv.size(), 31102);
    expectRun({u"build"_s, u"sword-kjv"_s, imp}, 1, RunMessages::buildFinishedWithErrors(u"sword-kjv.DAT"_s, 31100));
    const QList<QByteArray> impLines = bytes(imp).split('\n');
    const auto lineOf = [&](const char* key) { return impLines.indexOf(QByteArray("$$$") + key) + 1; };
    EXPECT_EQ(logEntries(),
              (ErrorEntries::fileHeading(imp) +
               QStringList{entry(lineOf("I Samuel 30:31"), LineOutcome::UnknownReference, u"삼상 30:31"_s),
                           entry(lineOf("II Corinthians 13:14"), LineOutcome::UnknownReference, u"고후 13:14"_s)}));
    kjv.remove(u"삼상 30:31"_s);
    kjv.remove(u"고후 13:14"_s);
    EXPECT_TRUE(storedVerses(u"sword-kjv.DAT"_s) == kjv) << "the other verses, 아 6:14 and 요삼 1:15, stay Null";
}

// OSIS and Zefania files, known by content, build beside a text file with their faults logged (malformed XML costs
// Zefania the verse, OSIS the rest of the file: exit 3), and diatheke reads the OSIS verses as stored.
TEST_F(DataCommand, osisAndZefaniaFilesAreBuiltBesideTextFilesAndAsSwordReadsThem)
{
    const QString osis = writeFile(u"시편.xml"_s, R"(<?xml version="1.0" encoding="UTF-8"?>
<osis xmlns="http://www.bibletechnologies.net/2003/OSIS/namespace"><osisText osisIDWork="XT" osisRefWork="Bible">
<header><work osisWork="XT"><title>시험</title></work></header>
<div type="book" osisID="Ps"><chapter sID="Ps.1" osisID="Ps.1"/><title type="psalm">복 있는 사람</title>
<lg><l><verse sID="Ps.1.5" osisID="Ps.1.5"/>그러므로 악인은 <w lemma="strong:H7563">심판을</w> 견디지 못하며</l>
<l>죄인이 의인의 회중에<note type="study">각주</note> 들지 못하리로다<verse eID="Ps.1.5"/></l>
<l><verse sID="Ps.1.6" osisID="Ps.1.6"/>대저 의인의 길은 <divineName>여호와</divineName>께서 인정하시나</l></lg>
<p>악인의 길은 망하리로다<verse eID="Ps.1.6"/></p><chapter eID="Ps.1"/>
<chapter sID="Ps.2" osisID="Ps.2"/><p><verse osisID="Ps.2.1">어찌하여 열방이 <transChange>분노하며</transChange></verse></p>
<chapter eID="Ps.2"/></div></osisText></osis>)"_ba);
    const QString zefania = writeFile(u"출애굽기"_s, R"(<XMLBIBLE><BIBLEBOOK bnumber="2"><CHAPTER cnumber="1">
<VERS vnumber="1">이스라엘의 <STYLE fs="bold">아들들의</STYLE> 이름은<NOTE>각주</NOTE> 이러하니</VERS>
<VERS vnumber="2-3">르우벤</VERS>
<VERS vnumber="23">없는 절</VERS><VERS vnumber="4">단과 납달리</VERS>
<VERS vnumber="5">x</VERSE>
<VERS vnumber="6">여섯째</VERS></CHAPTER></BIBLEBOOK></XMLBIBLE>)"_ba);
    const QString text = textFile(u"레위기.txt"_s, {u"레 1:1 여호와께서 모세를 부르시고"_s, u"x"_s});
    const QString cut = writeFile(
        u"cut.xml"_s, "<osis><verse osisID=\"Gen.1.1\">a</verse>\n<verse osisID=\"Gen.1.2\">b</vers>\n</osis>");
    const QString other = writeFile(u"other.xml"_s, "<html><p>x</p></html>");
    const QStringList files = {osis, zefania, text, cut, other};
    const QList<importer::PartlyReadFile> partlyRead = {{zefania, 1, 1}, {cut, 0, 0, 2, 1}, {other, 0, 0, 1, 0}};
    expectRun(QStringList{u"check"_s} + files, 3, RunMessages::testPartlyRead(partlyRead));
    const QStringList log =
        ErrorEntries::fileHeading(zefania) +
        QStringList{fault(3, SourceFault::VerseRange, u"2-3"_s), entry(4, LineOutcome::UnknownReference, u"출 1:23"_s),
                    fault(5, SourceFault::MalformedXml, u"Opening and ending tag mismatch."_s, 27, u"Exod 1:5"_s)} +
        ErrorEntries::fileHeading(text) + QStringList{entry(2, LineOutcome::MissingColon)} +
        ErrorEntries::fileHeading(cut) +
        QStringList{ErrorEntries::faultEntry(
            {2, 32, {}, {}, SourceFault::MalformedXml, u"Opening and ending tag mismatch."_s, true})} +
        ErrorEntries::fileHeading(other) + QStringList{fault(1, SourceFault::NotABible, u"html"_s)};
    EXPECT_EQ(logEntries(), log);
    expectRun(QStringList{u"build"_s, u"xml"_s} + files, 3, RunMessages::buildPartlyRead(u"xml.DAT"_s, 8, partlyRead));
    EXPECT_EQ(logEntries(), log);
    const QMap<QString, QString> psalms = {
        {u"시 1:5"_s, u"그러므로 악인은 심판을 견디지 못하며 죄인이 의인의 회중에 들지 못하리로다"_s},
        {u"시 1:6"_s, u"대저 의인의 길은 여호와께서 인정하시나 악인의 길은 망하리로다"_s},
        {u"시 2:1"_s, u"어찌하여 열방이 분노하며"_s}};
    QMap<QString, QString> expected = {{u"출 1:1"_s, u"이스라엘의 아들들의 이름은 이러하니"_s},
                                       {u"출 1:4"_s, u"단과 납달리"_s},
                                       {u"출 1:6"_s, u"여섯째"_s},
                                       {u"레 1:1"_s, u"여호와께서 모세를 부르시고"_s},
                                       {u"창 1:1"_s, u"a"_s}};
    expected.insert(psalms);
    EXPECT_EQ(storedVerses(u"xml.DAT"_s), expected);
    if (lacks({u"osis2mod"_s, u"diatheke"_s})) {
        GTEST_SKIP() << "SWORD's osis2mod or diatheke is missing (libsword-utils, diatheke: scripts/setup)";
    }
    makeSwordModule(u"XT"_s, osis);
    for (const auto& [reference, verse] : psalms.asKeyValueRange()) {
        EXPECT_EQ(swordText(u"XT"_s, reference), verse) << reference.toStdString();
    }
}

// mod2osis's OSIS builds every verse osis2mod stores but those the log names, with the same letters(); osis2mod files
// a malformed verse's text under the next one, which is therefore not compared.
TEST_F(DataCommand, osisFromSwordIsBuiltAsOsis2modReadsItButForTheVersesTheLogNames)
{
    if (lacks({u"mod2osis"_s, u"osis2mod"_s, u"diatheke"_s})) {
        GTEST_SKIP() << "SWORD's mod2osis, osis2mod or diatheke is missing (libsword-utils, diatheke: scripts/setup)";
    }
    const QString modules[] = {u"engKJV2006eb"_s, u"engWEB2015eb"_s, u"spaRV1909eb"_s};
    QStringList missing;
    for (const QString& module : modules) {
        SCOPED_TRACE(module.toStdString());
        const QString osis = beside(module + u".xml"_s);
        qunsetenv("SWORD_PATH"); // the modules installed, not the peer's
        outputOf(u"mod2osis"_s, {module}, osis);
        if (QFileInfo(osis).size() == 0) {
            missing << module;
            continue;
        }
        EXPECT_NE(run({u"build"_s, module, osis}).exitCode, 2);
        // The references the log names: malformed ("Exod 6:2") or lacking in the Korean numbering ('삼상 30:31').
        QSet<QString> logged;
        for (const QString& entry : logEntries()) {
            const auto key = QRegularExpression(u"읽지 못한 절: (\\S+) (\\S+)$"_s).match(entry);
            const auto reference = QRegularExpression(u"^\\d+줄▶ \\('([^']+)'\\)"_s).match(entry);
            if (key.hasMatch()) {
                logged << books::BookAbbreviations::at(books::SwordBookNames::find(key.captured(1))).toString() + u' ' +
                              key.captured(2);
            } else if (reference.hasMatch()) {
                logged << reference.captured(1);
            }
        }
        const QMap<QString, QString> stored = storedVerses(module + u".DAT"_s);
        makeSwordModule(u"P"_s + module, osis);
        int compared = 0;
        for (const auto& [reference, lines] : swordVerses(u"P"_s + module).asKeyValueRange()) {
            if (letters(lines.first()).isEmpty()) {
                continue;
            }
            if (!stored.contains(reference)) {
                EXPECT_TRUE(logged.contains(reference)) << reference.toStdString();
                continue;
            }
            const qsizetype colon = reference.lastIndexOf(u':');
            if (!logged.contains(reference.left(colon + 1) + QString::number(reference.mid(colon + 1).toInt() - 1))) {
                ++compared;
                QString peer; // the verse's line and as many of those after it as make the stored text
                for (qsizetype i = 0; i < lines.size() && letters(peer) != letters(stored[reference]); ++i) {
                    peer += lines[i];
                }
                EXPECT_EQ(letters(stored[reference]), letters(peer)) << reference.toStdString();
            }
        }
        EXPECT_GT(compared, 31000);
    }
    if (missing.size() == std::ssize(modules)) {
        GTEST_SKIP() << "no module of SWORD's is installed (sword-text-kjv, -web, -sparv: scripts/setup)";
    }
}

// A SWORD module built through --sword, mod2vpl's VPL and mod2imp's IMP gives the same verses and log; VPL exported
// and built back gives the same texts; a module not installed is refused.
TEST_F(DataCommand, aSwordModuleItsVplAndItsImpBuildTheSameVerses)
{
    if (lacks({u"mod2vpl"_s, u"mod2imp"_s})) {
        GTEST_SKIP() << "SWORD's mod2vpl or mod2imp is missing (libsword-utils: scripts/setup)";
    }
    int modules = 0;
    for (const QString& module : {u"engKJV2006eb"_s, u"engWEB2015eb"_s, u"spaRV1909eb"_s}) {
        SCOPED_TRACE(module.toStdString());
        const QString vpl = beside(module + u".vpl"_s), imp = beside(module + u".imp"_s);
        outputOf(u"mod2vpl"_s, {module, u"1"_s}, vpl);
        if (QFileInfo(vpl).size() == 0) {
            continue;
        }
        ++modules;
        outputOf(u"mod2imp"_s, {module, u"-s"_s}, imp);
        EXPECT_NE(run({u"build"_s, u"vpl"_s + module, vpl}).exitCode, 2);
        // The log's entries without their line numbers, which differ.
        const auto reasons = [this] {
            return logEntries().mid(2).replaceInStrings(QRegularExpression(u"^.*?▶ "_s), {});
        };
        const int impExit = run({u"build"_s, u"imp"_s + module, imp}).exitCode;
        const QStringList impReasons = reasons();
        EXPECT_EQ(run({u"build"_s, u"sword"_s + module, u"--sword"_s, module}).exitCode, impExit);
        EXPECT_EQ(reasons(), impReasons);
        const QMap<QString, QString> fromVpl = storedVerses(u"vpl"_s + module + u".DAT"_s);
        const QMap<QString, QString> fromImp = storedVerses(u"imp"_s + module + u".DAT"_s);
        const QMap<QString, QString> fromSword = storedVerses(u"sword"_s + module + u".DAT"_s);
        EXPECT_GT(fromVpl.size(), 31000);
        EXPECT_EQ(fromSword.keys(), fromImp.keys());
        for (const QString& reference : QSet<QString>(fromVpl.keyBegin(), fromVpl.keyEnd()) +
                                            QSet<QString>(fromImp.keyBegin(), fromImp.keyEnd())) {
            // (mod2vpl leaves out an empty verse that mod2imp writes, and the build stores as "Null")
            EXPECT_EQ(letters(fromVpl.value(reference, u"Null"_s)), letters(fromImp.value(reference, u"Null"_s)))
                << reference.toStdString();
            EXPECT_EQ(letters(fromSword.value(reference)), letters(fromImp.value(reference)))
                << reference.toStdString();
            EXPECT_EQ(fromSword.value(reference), fromVpl.value(reference, fromSword.value(reference)))
                << reference.toStdString();
        }
        const QString exported = beside(module + u"-back.vpl"_s);
        ASSERT_EQ(run({u"export"_s, path(u"vpl"_s + module + u".DAT"_s), exported, u"--format"_s, u"vpl"_s}).exitCode,
                  0);
        EXPECT_NE(run({u"build"_s, u"back"_s + module, exported}).exitCode, 2);
        EXPECT_EQ(storedVerses(u"back"_s + module + u".DAT"_s), fromVpl);
    }
    if (modules == 0) {
        GTEST_SKIP() << "no module of SWORD's is installed (sword-text-kjv, -web, -sparv: scripts/setup)";
    }
    QCoreApplication::addLibraryPath(builtProgramFolder());
    expectRun({u"check"_s, u"--sword"_s, u"없는모듈"_s}, 1,
              *importer::swordModuleRefusal(u"없는모듈"_s, importer::installedSwordBibles()));
}

// The peer: the exported lines ("참조 본문") whose text re.search matches, in the order of the files.
const char* const kPeer = R"(
import os, re, sys; sys.stdout.reconfigure(encoding='utf-8')
pattern = re.compile(sys.argv[2], re.I if sys.argv[3] == '1' else 0)
for name in sorted(os.listdir(sys.argv[1])):
    for line in open(os.path.join(sys.argv[1], name), encoding='utf-8-sig').read().splitlines():
        if pattern.search(line.split(' ', 2)[2]): print(line)
)";

TEST_F(DataCommand, findAgreesWithPythonReAndReplaceIsOneChangeThatADryRunLeavesUnmade)
{
    if (lacks({u"python3"_s})) {
        GTEST_SKIP() << "python3 is missing";
    }
    ASSERT_EQ(run({u"build"_s, u"mine"_s, sample("genesis-1.txt"), sample("genesis-2.txt")}).exitCode, 0);
    const QString version = path(u"mine.DAT"_s), exported = beside(u"exported"_s);
    ASSERT_EQ(run({u"export"_s, version, exported, u"--encoding"_s, u"utf-8"_s}).exitCode, 0);
    const std::pair<QString, bool> cases[] = {{u"LORD\\s+God"_s, false},
                                              {u"\\b(\\w)\\w* \\1\\w* \\1"_s, false},
                                              {u"^and .*earth\\.$"_s, true},
                                              {u"\\bunicorn"_s, true}};
    for (const auto& [pattern, ignoreCase] : cases) {
        SCOPED_TRACE(pattern.toStdString());
        const QString expected = outputOf(
            u"python3"_s, {u"-c"_s, QString::fromUtf8(kPeer), exported, pattern, ignoreCase ? u"1"_s : u"0"_s});
        const CommandResult found = run(QStringList{u"find"_s, version, pattern, u"--regex"_s} +
                                        (ignoreCase ? QStringList{u"--ignore-case"_s} : QStringList()));
        EXPECT_EQ(found.out, expected);
        EXPECT_EQ(found.exitCode, expected.isEmpty() ? 1 : 0);
    }
    EXPECT_EQ(run({u"find"_s, version, u"god"_s, u"--ignore-case"_s}).out.count(u'\n'), 39);

    const QByteArray before = bytes(version);
    const CommandResult dry =
        run({u"replace"_s, version, u"(God) (created)"_s, u"\\2 \\1"_s, u"--regex"_s, u"--dry-run"_s});
    EXPECT_TRUE(dry.out.startsWith(u"창 1:1\n  이전: In the beginning God created the heaven and the earth.\n"
                                   "  이후: In the beginning created God the heaven and the earth.\n창 1:21\n"_s));
    EXPECT_EQ(dry.out.count(u"  이후: "_s), 4);
    EXPECT_TRUE(dry.out.endsWith(console(EditorMessages::replacePreviewed(4, 0)))) << dry.out.toStdString();
    EXPECT_EQ(bytes(version), before);
    // Matches that each leave their text as it was change nothing, and say so as when nothing matches.
    for (const QStringList& same : {QStringList{u"God"_s, u"God"_s}, QStringList{u"(God)"_s, u"\\1"_s, u"--regex"_s}}) {
        expectRun(QStringList{u"replace"_s, version} + same, 1, EditorMessages::kNothingFound);
    }
    EXPECT_EQ(bytes(version), before);
    const CommandResult replaced = run({u"replace"_s, version, u"God created"_s, u"created"_s});
    EXPECT_EQ(replaced.out.section(u'\n', 0, -3),
              dry.out.section(u'\n', 0, -3).replace(u"created God"_s, u"created"_s));
    EXPECT_EQ(replaced.out.section(u'\n', -2) + QString::number(replaced.exitCode),
              console(EditorMessages::replaceApplied(4, 1, 0)) + u'0');
    EXPECT_EQ(run({u"replace"_s, version, u"God created"_s, u"x"_s}).exitCode, 1);
    EXPECT_EQ(run({u"undo"_s, version}).exitCode, 0);
    EXPECT_EQ(run({u"find"_s, version, u"God created"_s}).out.count(u'\n'), 4);

    // Refused: nothing changes, and the exit code is 2.
    const QByteArray undone = bytes(version);
    const QString damaged = writeFile(u"damaged.DAT"_s, QByteArray(4096, 'x'));
    const auto held = versiondb::VersionStore::openDatabase(path(u"개역.DAT"_s));
    const std::pair<QStringList, QString> refusals[] = {
        {{u"find"_s, version, u"a(b"_s, u"--regex"_s},
         EditorMessages::invalidPattern(u"a(b"_s, 3, u"missing closing parenthesis"_s)},
        {{u"replace"_s, version, QString(), u"x"_s}, EditorMessages::kEmptyPattern},
        {{u"replace"_s, damaged, u"a"_s, u"b"_s},
         u"damaged.DAT\n\n"_s + versiondb::errorDescription(versiondb::errorNumber::UnrecognizedFormat)},
        {{u"find"_s, path(u"개역.DAT"_s), u"a"_s},
         u"개역.DAT\n\n"_s + versiondb::errorDescription(versiondb::errorNumber::FileInUse)},
    };
    for (const auto& [arguments, message] : refusals) {
        expectRun(arguments, 2, message);
    }
    EXPECT_EQ(bytes(version), undone);
}

// Genesis and Psalms in one file, John in another: headings, paragraphs, poetry, notes and character markers.
const QString kBible = uR"(\id GEN 벼리솔 시험
\h Genesis
\mt1 The First Book of Moses
\c 1
\s1 The Creation
\p
\v 1 In the beginning\f + \fr 1:1 \ft Or, \fq at first\f* God created the heaven
and the earth.
\v 2 And the earth was without form\x - \xo 1:2 \xt Jer 4:23\x*, and void; and the \nd LORD\nd*'s
spirit \add moved\add* upon the face of the waters.
\p
\v 3 And God said, \wj Let there be light.\wj* And there was \w light|strong="H216"\w*.
\id PSA
\h Psalms
\mt1 The Psalms
\c 3
\d A Psalm of David, when he fled from Absalom his son.
\q1
\v 1 \nd LORD\nd*, how are they increased that trouble me!
\q2 many are they that rise up against me.
\q1
\v 2 Many there be which say of my soul,
\q2 There is no help for him in God. \qs Selah.\qs*
\b
\q1
\v 3 But thou, O \nd LORD\nd*, art a shield for me;
)"_s;
const QString kJohn = uR"(\id JHN
\h 요한복음
\mt1 요한복음
\c 3
\p
\v 16 하나님이 세상을 이처럼 사랑하사\f + \ft 헬, 독생자\f* 독생자를 주셨으니
\v 17 하나님이 그 아들을 세상에 보내신 것은
)"_s;

TEST_F(DataCommand, storesEveryVerseAsSwordReadsItFromTheSameFiles)
{
    const QStringList files = {writeFile(u"bible.usfm"_s, kBible.toUtf8()), writeFile(u"john.sfm"_s, kJohn.toUtf8())};
    ASSERT_EQ(run(QStringList{u"build"_s, u"usfm"_s} + files).exitCode, 0);
    const QMap<QString, QString> stored = storedVerses(u"usfm.DAT"_s);
    EXPECT_EQ(stored.keys(), (QStringList{u"시 3:1"_s, u"시 3:2"_s, u"시 3:3"_s, u"요 3:16"_s, u"요 3:17"_s,
                                          u"창 1:1"_s, u"창 1:2"_s, u"창 1:3"_s}));
    EXPECT_EQ(stored.value(u"요 3:16"_s), u"하나님이 세상을 이처럼 사랑하사 독생자를 주셨으니"_s);
    if (lacks({u"u2o"_s, u"osis2mod"_s, u"diatheke"_s})) {
        GTEST_SKIP() << "u2o, osis2mod or diatheke is missing (u2o, libsword-utils, diatheke; scripts/setup)";
    }
    // u2o reads one book a file: the books of the first file go to it one by one.
    QStringList books;
    for (const QString& book : (kBible + kJohn).split(u"\\id "_s, Qt::SkipEmptyParts)) {
        books << writeFile(u"book%1.usfm"_s.arg(books.size()), (u"\\id "_s + book).toUtf8());
    }
    const QString osis = beside(u"usfm.osis.xml"_s);
    outputOf(u"u2o"_s, QStringList{u"-l"_s, u"ko"_s, u"-o"_s, osis, u"usfmtest"_s} + books);
    makeSwordModule(u"USFMTEST"_s, osis);
    for (const auto& [reference, text] : stored.asKeyValueRange()) {
        EXPECT_EQ(swordText(u"USFMTEST"_s, reference), text) << reference.toStdString();
    }
}

#ifndef Q_OS_WIN // a process's peak memory, Ctrl+C as a signal, a limit of its address space
// The error log is written as the check goes: four times the bad lines peak no higher (VmHWM of the check's process;
// a child's rusage starts from its parent's peak).
TEST_F(DataCommand, aCheckOfManyBadLinesKeepsItsMemoryFlat)
{
    const QRegularExpression peakLine(u"VmHWM:\\s*(\\d+) kB"_s);
    const auto peakOfCheck = [&](const QByteArray& block, int lines) {
        const QString bad = beside(block.startsWith('$') ? u"bad.imp"_s : u"bad.txt"_s);
        write(bad, block.repeated(lines));
        QProcess check;
        check.setStandardOutputFile(QProcess::nullDevice());
        start(check, {u"check"_s, bad});
        QFile status(u"/proc/%1/status"_s.arg(check.processId()));
        qint64 peak = 0;
        while (!check.waitForFinished(5)) {
            if (status.open(QIODevice::ReadOnly)) {
                peak = std::max(peak, peakLine.match(QString::fromLatin1(status.readAll())).captured(1).toLongLong());
                status.close();
            }
        }
        EXPECT_EQ(check.exitCode(), 1);
        // The header, the empty line, the heading's two and one per bad line or entry.
        EXPECT_EQ(bytes(programFile(u"err.txt"_s)).count('\n'), lines + 4);
        return peak;
    };
    for (const QByteArray& block : {QByteArray("x\r\n"), QByteArray("$$$x\nno verse\n")}) {
        SCOPED_TRACE(block.toStdString());
        const qint64 small = peakOfCheck(block, 200000);
        EXPECT_GT(small, 0);
        EXPECT_LT(peakOfCheck(block, 800000), small + 8 * 1024) << "peak resident KiB of the smaller check: " << small;
    }
}

// Ctrl+C during a build into an existing or a new version, or while a replacement stores its verses, exits with 130
// and leaves every file as it was, byte for byte.
TEST_F(DataCommand, ctrlCCancelsARunAndLeavesEveryFileAsItWas)
{
    QStringList bible = kjvBookFiles(); // eight times over, so that the run lasts some seconds
    bible = bible + bible + bible + bible + bible + bible + bible + bible;
    ASSERT_TRUE(QFile::copy(path(u"개역.DAT"_s), path(u"mine.DAT"_s)));
    const QString big = makeVersion(u"big.DAT"_s, 31102, Texts::Most);
    write(programFile(u"err.txt"_s), "earlier\r\n");
    const auto before = fileBytes();
    // The arguments, the journal that shows the run storing, and what the run says when it is cancelled.
    const std::tuple<QStringList, QString, QString> runs[] = {
        {QStringList{u"build"_s, u"mine"_s} + bible, path(u"mine.DAT-journal"_s), RunMessages::cancelled(true)},
        {QStringList{u"build"_s, u"fresh"_s} + bible, path(u"fresh.DAT-journal"_s), RunMessages::cancelled(true)},
        {{u"replace"_s, big, u"하나님"_s, u"하느님"_s}, big + u"-journal"_s, EditorMessages::kReplaceCancelled},
    };
    for (const auto& [arguments, journal, said] : runs) {
        SCOPED_TRACE(arguments.first().toStdString());
        QProcess process;
        start(process, arguments);
        // Ctrl+C once the journal is there (waiting up to a minute), while the run is still going.
        QElapsedTimer waited;
        waited.start();
        while (!QFileInfo::exists(journal) && process.state() == QProcess::Running && waited.elapsed() < 60000) {
            QThread::usleep(200);
        }
        ASSERT_TRUE(process.state() == QProcess::Running && ::kill(pid_t(process.processId()), SIGINT) == 0);
        ASSERT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(std::pair(process.exitStatus(), process.exitCode()), std::pair(QProcess::NormalExit, 130));
        EXPECT_EQ(QString::fromUtf8(process.readAllStandardOutput()), console(said));
        EXPECT_TRUE(fileBytes() == before) << "every file as before";
    }
}

// A file without "\id", a book not among the 66, a verse range and a 200 MB line are logged at their lines, the verses
// around them stored, and the long line is never held (in 256 MiB of address space).
TEST_F(DataCommand, faultsAreListedAtTheirLinesAndAHugeLineIsNotHeld)
{
    const QStringList files = {
        writeFile(u"none.usfm"_s, "\\c 1\n\\v 1 x\n"), writeFile(u"tobit.usfm"_s, "\\id TOB\n\\c 1\n\\v 1 x\n"),
        writeFile(u"range.usfm"_s, "\\id EXO\n\\c 1\n\\v 1-2 x\n\\v 3 Now Joseph was in Egypt already.\n"),
        writeFile(u"huge.usfm"_s, "\\id GEN\n\\c 1\n\\v 1 In the beginning.\n\\v 2\n")};
    {
        QFile huge(files.last());
        ASSERT_TRUE(huge.open(QIODevice::ReadWrite) && huge.seek(200 * 1024 * 1024) &&
                    huge.write("\n\\v 3 And God said.\n") > 0);
    }
    QProcess process;
    process.setChildProcessModifier([] {
        constexpr rlim_t kAddressSpace = 256 * 1024 * 1024;
        const rlimit limit{kAddressSpace, kAddressSpace};
        ::setrlimit(RLIMIT_AS, &limit);
    });
    start(process, QStringList{u"build"_s, u"--encoding"_s, u"cp949"_s, u"usfm"_s} + files);
    ASSERT_TRUE(process.waitForFinished(300000));
    EXPECT_EQ(std::pair(process.exitStatus(), process.exitCode()), std::pair(QProcess::NormalExit, 1));
    EXPECT_TRUE(QFile::remove(files.last()));
    EXPECT_EQ(storedVerses(u"usfm.DAT"_s),
              (QMap<QString, QString>{{u"창 1:1"_s, u"In the beginning."_s},
                                      {u"창 1:3"_s, u"And God said."_s},
                                      {u"출 1:3"_s, u"Now Joseph was in Egypt already."_s}}));
    EXPECT_EQ(logEntries(true),
              ErrorEntries::fileHeading(files[0]) + QStringList{fault(1, SourceFault::MissingBookId)} +
                  ErrorEntries::fileHeading(files[1]) + QStringList{fault(1, SourceFault::UnknownBookId, u"TOB"_s)} +
                  ErrorEntries::fileHeading(files[2]) + QStringList{fault(3, SourceFault::VerseRange, u"1-2"_s)} +
                  ErrorEntries::fileHeading(files[3]) + QStringList{fault(5, SourceFault::TooLong)});
}
#endif

} // namespace
