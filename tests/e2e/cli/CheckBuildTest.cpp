// byeorisol-data check and build, and its command line, run as a user runs them on temporary install trees.

#include "books/BookAbbreviations.h"
#include "books/SwordBookNames.h"
#include "cli/Usage.h"
#include "editor/EditorMessages.h"
#include "import/ErrorEntries.h"
#include "import/RunMessages.h"
#include "import/RunRequest.h"
#include "import/VersionName.h"
#include "support/DataCommand.h"
#include "support/InstallTreeTest.h"
#include "support/TestPaths.h"
#include "versiondb/Password.h"
#include "versiondb/VersionStore.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QThread>
#include <csignal>

using namespace Qt::StringLiterals;

namespace {

using editor::EditorMessages;
using importer::ErrorEntries;
using importer::LineOutcome;
using importer::RunMessages;
using testsupport::CommandResult;
using testsupport::console;
using testsupport::outputOf;
using testsupport::sample;

QString entry(qint64 line, LineOutcome outcome, const QString& reference = {}, const QString& book = {})
{
    return ErrorEntries::lineEntry(line, {outcome, reference, {}, book});
}

const QString kProgram = testsupport::builtProgramFolder() + u"/byeorisol-data"_s;

class DataCommand : public testsupport::DataCommandTest
{
protected:
    void expectRun(const QStringList& arguments, int exitCode, const QString& message) const
    {
        const CommandResult result = run(arguments);
        EXPECT_EQ(result.exitCode, exitCode) << arguments.join(u' ').toStdString();
        EXPECT_EQ(result.out, console(message));
    }

    // The log's lines after its header line and the empty line, in UTF-8 with LF line ends as on Linux.
    QStringList logEntries() const
    {
        QStringDecoder decoder(QStringConverter::Utf8);
        QStringList lines = QString(decoder.decode(testsupport::bytes(programFile(u"err.txt"_s)))).split(u"\n"_s);
        EXPECT_TRUE(lines.size() >= 3 && lines.first().endsWith(u" <편집오류 로그파일>"_s) && lines.at(1).isEmpty());
        return lines.mid(2, lines.size() - 3);
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
    EXPECT_EQ(testsupport::storedText(version, u"창 1:1"_s),
              QVariant(u"In the beginning God created the heaven and the earth."_s));
    EXPECT_EQ(testsupport::storedText(version, u"창 3:5"_s), QVariant()) << "its line had no colon";
    // Refused by the check's request, by the build's (a shipped name) and by the run (a name outside the install
    // folder): why, and nothing touched.
    QString name = u"KJV.DAT"_s;
    QString blank = u"  "_s;
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
    auto held = versiondb::VersionStore::OpenDatabase(version);
    const CommandResult result = run({u"build"_s, u"창세기"_s, sample("genesis-2.txt")});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.out.endsWith(console(RunMessages::phase2Failure({}, true)))) << result.out.toStdString();
    held->Close();
}

// A fresh build keeps no history; a build into the version is one change naming its file, a save one more; undo takes
// back the last change whole, history lists them newest first, and a verse's history its texts before and after.
TEST_F(DataCommand, aBuildIntoAVersionIsOneChangeThatUndoTakesBackWhole)
{
    const QString version = path(u"창세기.DAT"_s);
    ASSERT_EQ(run({u"build"_s, u"창세기"_s, sample("genesis-1.txt")}).exitCode, 0);
    expectRun({u"history"_s, version}, 0, EditorMessages::noHistory());
    expectRun({u"undo"_s, version}, 1, EditorMessages::nothingToTakeBack());
    const auto built = testsupport::storedRecords(version);
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
    const CommandResult undone = run({u"undo"_s, version, u"창 2:1"_s});
    EXPECT_EQ(undone.out, console(u"변경 1번을 되돌렸습니다 (1개 구절).\n창 2:1  (본문 없음)"_s));
    auto expected = built; // 창 1:1 as the build run left it; taking back its last change would bring "Then." back
    expected[0].text = u"In the beginning."_s;
    EXPECT_EQ(testsupport::storedRecords(version), expected);
}

// A command line that makes no sense says why on standard error, then the Korean help that names every command, before
// any file is touched.
TEST_F(DataCommand, badCommandLinesAreFailuresWithTheKoreanHelp)
{
    const CommandResult help = testsupport::runDataCommand({}, {u"--help"_s});
    EXPECT_TRUE(help.exitCode == 0 && help.err.isEmpty());
    EXPECT_EQ(help.out, cli::usageText());
    using cli::UsageErrors;
    const QString version = path(u"개역.DAT"_s);
    const QByteArray before = testsupport::bytes(version);
    const QString missing = beside(u"없는 폴더"_s);
    const std::pair<QStringList, QString> cases[] = {
        {{}, UsageErrors::noCommand()},
        {{u"--program-folder"_s}, UsageErrors::programFolderMissing()},
        {{u"--program-folder"_s, missing, u"check"_s}, UsageErrors::programFolderNotFound(missing)},
        {{u"--program-folder"_s, programFolder(), u"frobnicate"_s}, UsageErrors::unknownCommand(u"frobnicate"_s)},
        {{u"--program-folder"_s, programFolder(), u"build"_s}, UsageErrors::buildNeedsName()},
        {{u"repair"_s, version, version}, UsageErrors::needsOnePath(u"repair"_s)},
        {{u"export"_s, version}, UsageErrors::exportNeedsArguments()},
        {{u"export"_s, version, u"o"_s, u"--encoding"_s}, UsageErrors::exportEncodingValues()},
        {{u"export"_s, version, u"o"_s, u"--quiet"_s}, UsageErrors::unknownOption(u"--quiet"_s)},
        {{u"export"_s, version, u"o"_s, u"--format"_s, u"usfm"_s}, UsageErrors::exportFormatValues()},
        {{u"export"_s, version, u"o"_s, u"--format"_s, u"zefania"_s, u"--encoding"_s, u"cp949"_s},
         UsageErrors::exportFileIsUtf8()},
    };
    for (const auto& [arguments, why] : cases) {
        const CommandResult result = testsupport::runDataCommand({}, arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_EQ(result.err, u"byeorisol-data: "_s + why + u'\n' + help.out);
    }
    EXPECT_EQ(testsupport::bytes(version), before);
}

// show and save, each outcome with its exit code: shown or saved (0), refused (1), a file that is no version (2); a
// relative path is the version in the current folder.
TEST_F(DataCommand, showAndSaveSayWhatTheyDidWithTheirExitCode)
{
    const QString version = makeVersion(u"sample.dat"_s, testsupport::sampleVerses());
    const QString notes = writeFile(u"notes.dat"_s, "창 1:1 태초에\r\n");
    const QString stored = u"\t땅이\u00A0혼돈하고  \u3000'ㅎ'"_s; // only spaces are trimmed
    const std::tuple<QStringList, int, QString> cases[] = {
        {{u"show"_s, version, u"창 01:1"_s}, 1, console(EditorMessages::goReferenceNotFound())},
        {{u"save"_s, version, u"창 1:2"_s, u"a\nb"_s}, 1, console(EditorMessages::saveLineBreak())},
        {{u"show"_s, u"sample.dat"_s, u"창 1:2"_s}, 0, u"창 1:2\n  \n"_s},
        {{u"save"_s, version, u" 창 1:2 "_s, u"  "_s + stored + u' '}, 0, {}},
        {{u"show"_s, notes, u"창 1:1"_s}, 2, versiondb::errorDescription(versiondb::errorNumber::UnrecognizedFormat)},
    };
    for (const auto& [arguments, exitCode, out] : cases) {
        const CommandResult result = testsupport::runDataCommand({}, arguments, installFolder());
        EXPECT_EQ(result.exitCode, exitCode) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(result.out == out || (exitCode == 2 && result.out.contains(out))) << result.out.toStdString();
        EXPECT_TRUE(result.err.isEmpty()) << result.err.toStdString();
    }
    auto expected = testsupport::storedRecords(makeVersion(u"expected.dat"_s, testsupport::sampleVerses()));
    expected[1].text = stored;
    EXPECT_EQ(testsupport::storedRecords(version), expected);
}

// The error log is written as the check goes: a check of four times the bad lines peaks no higher, for text and for IMP
// files. The peak is the check's own (VmHWM of its process, read until it ends), not the rusage of a child, which
// starts from the peak of the process that spawned it.
TEST_F(DataCommand, aCheckOfManyBadLinesKeepsItsMemoryFlat)
{
    const QRegularExpression peakLine(u"VmHWM:\\s*(\\d+) kB"_s);
    const auto peakOfCheck = [&](const QByteArray& block, int lines) {
        const QString bad = beside(block.startsWith('$') ? u"bad.imp"_s : u"bad.txt"_s);
        testsupport::write(bad, block.repeated(lines));
        QProcess check;
        check.setStandardOutputFile(QProcess::nullDevice());
        check.start(kProgram, {u"--program-folder"_s, programFolder(), u"check"_s, bad});
        EXPECT_TRUE(check.waitForStarted());
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
        EXPECT_EQ(testsupport::bytes(programFile(u"err.txt"_s)).count('\n'), lines + 4);
        return peak;
    };
    for (const QByteArray& block : {QByteArray("x\r\n"), QByteArray("$$$x\nno verse\n")}) {
        SCOPED_TRACE(block.toStdString());
        const qint64 small = peakOfCheck(block, 200000);
        EXPECT_GT(small, 0);
        EXPECT_LT(peakOfCheck(block, 800000), small + 8 * 1024) << "peak resident KiB of the smaller check: " << small;
    }
}

// Only on a terminal is progress drawn, and by time: a long build is drawn a bounded number of times, with its stage.
TEST_F(DataCommand, progressIsDrawnOnlyOnATerminalAndByTime)
{
    const CommandResult piped = run({u"build"_s, u"piped"_s, sample("genesis-1.txt")});
    EXPECT_EQ(piped.exitCode, 0);
    EXPECT_FALSE(piped.err.contains(u"작업중"_s)) << piped.err.toStdString();
    const QString many = beside(u"many.txt"_s);
    testsupport::write(many, testsupport::bytes(sample("genesis-1.txt")).repeated(1330)); // 41,230 lines
    const QString terminal = outputOf(
        u"script"_s, {u"-qefc"_s, u"'%1' --program-folder '%2' build many '%3'"_s.arg(kProgram, programFolder(), many),
                      u"/dev/null"_s});
    const qsizetype redraws = terminal.count(u"2/2 작업중..."_s);
    EXPECT_TRUE(redraws > 0 && redraws < 1000) << redraws;
}

// Ctrl+C during a whole-Bible build into an existing version, into a new one, and during a check: the run says it was
// cancelled and exits with 130, the version, err.txt and the folders as they were.
TEST_F(DataCommand, ctrlCCancelsARunAndLeavesEveryFileAsItWas)
{
    // The whole Bible listed eight times over, so that the run lasts some seconds.
    QStringList bible;
    for (int time = 0; time < 8; ++time) {
        bible += testsupport::kjvBookFiles();
    }
    ASSERT_TRUE(QFile::copy(path(u"개역.DAT"_s), path(u"mine.DAT"_s)));
    testsupport::write(programFile(u"err.txt"_s), "earlier\r\n");
    const auto before = fileBytes();
    for (const QStringList& command : {QStringList{u"build"_s, u"mine"_s}, {u"build"_s, u"fresh"_s}, {u"check"_s}}) {
        SCOPED_TRACE(command.join(u' ').toStdString());
        QProcess process;
        process.start(kProgram, QStringList{u"--program-folder"_s, programFolder()} + command + bible);
        ASSERT_TRUE(process.waitForStarted());
        // Once the run has read some of its files: their verses are in the version's transaction.
        QThread::msleep(300 + testsupport::testSeed() % 100);
        ASSERT_EQ(process.state(), QProcess::Running) << "the run ended before the interrupt";
        ::kill(static_cast<pid_t>(process.processId()), SIGINT);
        ASSERT_TRUE(process.waitForFinished(10000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 130);
        const QString out = QString::fromUtf8(process.readAllStandardOutput());
        EXPECT_TRUE(out.startsWith(u"작업을 취소했습니다."_s)) << out.toStdString();
        EXPECT_TRUE(fileBytes() == before) << "every file as before";
    }
}

// A file cut off by malformed XML, and an XML file that is no Bible: the run says where reading stopped in each, in
// words of its own, and exits with 3; the log holds the faults.
TEST_F(DataCommand, aFileCutOffByMalformedXmlHasItsOwnStatusAndMessage)
{
    const QString cut = beside(u"cut.xml"_s);
    testsupport::write(cut, "<osis><verse osisID=\"Gen.1.1\">a</verse>\n<verse osisID=\"Gen.1.2\">b</vers>\n</osis>");
    const QString other = beside(u"other.xml"_s);
    testsupport::write(other, "<html><p>x</p></html>");
    for (const bool building : {false, true}) {
        const QStringList files = {cut, sample("genesis-1.txt"), other};
        const CommandResult result =
            run((building ? QStringList{u"build"_s, u"cut"_s} : QStringList{u"check"_s}) + files);
        EXPECT_EQ(result.exitCode, 3);
        const QString tail = u"\n\n"_s + cut + u"\n2줄에서 읽기를 멈추었습니다. 그 앞에서 읽은 절: 1절\n\n"_s + other +
                             u"\n1줄에서 읽기를 멈추었습니다. 그 앞에서 읽은 절: 0절\n\n"_s
                             u"읽지 못한 까닭은 오류목록파일('err.txt')에 있습니다."_s;
        EXPECT_EQ(result.out, building
                                  ? u"cut.DAT\n\n만들기 작업을 마쳤지만, 다음 파일은 끝까지 읽지 못했습니다!"_s + tail +
                                        u"\n\n역본에 넣은 절수는 모두 32절입니다. 파일을 고친 뒤 다시 만드십시오.\n"_s
                                  : u"테스트 작업을 마쳤지만, 다음 파일은 끝까지 읽지 못했습니다!"_s + tail + u"\n"_s);
        EXPECT_EQ(logEntries().size(), 6) << "the two lines of a heading and the fault of each file";
    }
}

// SWORD's own tools, as a user has them: the KJV module written out by `mod2imp -s` and built into a version holds in
// every verse KJV has the text that diatheke reads from the module; the two verses of KJV that the Korean numbering
// lacks are logged at their key lines, and the two verses that KJV lacks stay Null.
TEST_F(DataCommand, aVersionBuiltFromMod2impHoldsTheModulesText)
{
    const QString module = u"engKJV2006eb"_s;
    const QString mod2imp = QStandardPaths::findExecutable(u"mod2imp"_s);
    const QString diatheke = QStandardPaths::findExecutable(u"diatheke"_s);
    if (mod2imp.isEmpty() || diatheke.isEmpty() ||
        !outputOf(diatheke, {u"-b"_s, u"system"_s, u"-k"_s, u"modulelist"_s}).contains(module + u" : "_s)) {
        GTEST_SKIP() << "SWORD's mod2imp, diatheke or the module " << module.toStdString()
                     << " is missing (libsword-utils, diatheke, sword-text-kjv: scripts/setup installs them)";
    }
    const QString imp = beside(u"kjv.imp"_s);
    outputOf(mod2imp, {module, u"-s"_s}, imp);
    // diatheke's plain text: "Book C:V: text" lines, the books in canonical order, with headings between.
    const QString plain =
        outputOf(diatheke, {u"-b"_s, module, u"-f"_s, u"plain"_s, u"-k"_s, u"Genesis 1:1-Revelation of John 22:21"_s});
    const QRegularExpression verseLine(u"^\\s*(\\S.*?) (\\d+:\\d+): (.*)$"_s);
    QHash<QString, QString> kjv;
    for (const QString& line : plain.split(u'\n')) {
        if (const QRegularExpressionMatch match = verseLine.match(line); match.hasMatch()) {
            const int book = books::SwordBookNames::find(match.captured(1));
            kjv.insert(books::BookAbbreviations::at(book).toString() + u' ' + match.captured(2),
                       match.captured(3).trimmed());
        }
    }
    ASSERT_EQ(kjv.size(), 31102);
    expectRun({u"build"_s, u"sword-kjv"_s, imp}, 1, RunMessages::buildFinishedWithErrors(u"sword-kjv.DAT"_s, 31100));
    const QList<QByteArray> impLines = testsupport::bytes(imp).split('\n');
    const auto lineOf = [&](const char* key) { return impLines.indexOf(QByteArray("$$$") + key) + 1; };
    EXPECT_EQ(logEntries(),
              (ErrorEntries::fileHeading(imp) +
               QStringList{entry(lineOf("I Samuel 30:31"), LineOutcome::UnknownReference, u"삼상 30:31"_s),
                           entry(lineOf("II Corinthians 13:14"), LineOutcome::UnknownReference, u"고후 13:14"_s)}));
    kjv.remove(u"삼상 30:31"_s);
    kjv.remove(u"고후 13:14"_s);
    kjv.insert(u"아 6:14"_s, u"<Null>"_s);
    kjv.insert(u"요삼 1:15"_s, u"<Null>"_s);
    const auto stored = testsupport::storedTexts(path(u"sword-kjv.DAT"_s));
    EXPECT_EQ(stored.size(), 31102);
    EXPECT_TRUE((QHash<QString, QString>(stored.begin(), stored.end()) == kjv));
}

// OSIS and Zefania files, known by their content whatever their names, are checked and built in one run with a text
// file, their faults logged at their lines. osis2mod makes a module of the OSIS file (verses as containers and as
// milestones across lines and paragraphs), and diatheke reads from it each text that the build stored.
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
<VERS vnumber="5">x</VERSE></CHAPTER></BIBLEBOOK></XMLBIBLE>)"_ba);
    const QString text = textFile(u"레위기.txt"_s, {u"레 1:1 여호와께서 모세를 부르시고"_s, u"x"_s});
    const auto fault = [](qint64 line, importer::SourceFault kind, const QString& detail, qint64 column = 0) {
        return ErrorEntries::faultEntry({line, column, {}, {}, kind, detail});
    };
    // The Zefania file is cut off at its last verse, after two that are taken.
    const QList<importer::CutOffFile> cutOff = {{zefania, 5, 2}};
    expectRun({u"check"_s, osis, zefania, text}, 3, RunMessages::testCutOff(cutOff));
    const QStringList log =
        ErrorEntries::fileHeading(zefania) +
        QStringList{fault(3, importer::SourceFault::VerseRange, u"2-3"_s),
                    entry(4, LineOutcome::UnknownReference, u"출 1:23"_s),
                    fault(5, importer::SourceFault::MalformedXml, u"Opening and ending tag mismatch."_s, 27)} +
        ErrorEntries::fileHeading(text) + QStringList{entry(2, LineOutcome::MissingColon)};
    EXPECT_EQ(logEntries(), log);
    expectRun({u"build"_s, u"xml"_s, osis, zefania, text}, 3, RunMessages::buildCutOff(u"xml.DAT"_s, 6, cutOff));
    EXPECT_EQ(logEntries(), log);
    auto stored = testsupport::storedTexts(path(u"xml.DAT"_s));
    stored.removeIf([](const auto& verse) { return verse.second == u"<Null>"_s; });
    const QList<std::pair<QString, QString>> psalms = {
        {u"시 1:5"_s, u"그러므로 악인은 심판을 견디지 못하며 죄인이 의인의 회중에 들지 못하리로다"_s},
        {u"시 1:6"_s, u"대저 의인의 길은 여호와께서 인정하시나 악인의 길은 망하리로다"_s},
        {u"시 2:1"_s, u"어찌하여 열방이 분노하며"_s}};
    EXPECT_EQ(stored, (QList<std::pair<QString, QString>>{{u"출 1:1"_s, u"이스라엘의 아들들의 이름은 이러하니"_s},
                                                          {u"출 1:4"_s, u"단과 납달리"_s},
                                                          {u"레 1:1"_s, u"여호와께서 모세를 부르시고"_s}} +
                       psalms));
    const QString osis2mod = QStandardPaths::findExecutable(u"osis2mod"_s);
    const QString diatheke = QStandardPaths::findExecutable(u"diatheke"_s);
    if (osis2mod.isEmpty() || diatheke.isEmpty()) {
        GTEST_SKIP() << "SWORD's osis2mod or diatheke is missing (libsword-utils, diatheke: scripts/setup)";
    }
    const QString sword = beside(u"sword"_s);
    ASSERT_TRUE(QDir().mkpath(sword + u"/modules/xt"_s) && QDir().mkpath(sword + u"/mods.d"_s));
    testsupport::write(sword + u"/mods.d/xt.conf"_s,
                       "[XT]\nDataPath=./modules/xt/\nModDrv=zText\nEncoding=UTF-8\nSourceType=OSIS\nCompressType=ZIP\n"
                       "BlockType=BOOK\nVersification=KJV\nGlobalOptionFilter=OSISFootnotes\n"
                       "GlobalOptionFilter=OSISHeadings\nGlobalOptionFilter=OSISStrongs\n");
    outputOf(osis2mod, {sword + u"/modules/xt"_s, osis, u"-z"_s});
    qputenv("SWORD_PATH", sword.toLocal8Bit());
    qputenv("LANG", "C.UTF-8");
    for (const auto& [reference, verse] : psalms) {
        const QString key = u"Ps "_s + reference.section(u' ', 1);
        EXPECT_EQ(outputOf(diatheke, {u"-b"_s, u"XT"_s, u"-f"_s, u"plain"_s, u"-k"_s, key}).simplified(),
                  u"Psalms "_s + reference.section(u' ', 1) + u": "_s + verse + u" (XT)"_s);
    }
}

} // namespace
