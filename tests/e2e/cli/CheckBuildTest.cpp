// byeorisol-data check and build, run as a user runs them, on temporary install trees.

#include "import/BookAbbreviations.h"
#include "import/RunMessages.h"
#include "import/RunRequest.h"
#include "support/DataCommand.h"
#include "support/InstallTree.h"
#include "support/TestPaths.h"
#include "versiondb/DBEngine.h"
#include "versiondb/Database.h"
#include "versiondb/Password.h"
#include "versiondb/Recordset.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <algorithm>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A message of the core as the console shows it: LF line ends and a final one.
QString console(QString message)
{
    return message.replace(QStringLiteral("\r\n"), QStringLiteral("\n")) + QLatin1Char('\n');
}

using testsupport::CommandResult;

class DataCommand : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_tree.isValid() && m_tree.copyBuiltReference());
        m_install = m_tree.installFolder();
        m_program = m_tree.programFolder();
    }

    QString referencePath() const { return m_install + QStringLiteral("/개역.DAT"); }
    QString errorLog() const { return m_program + QStringLiteral("/err.txt"); }
    static QString sample(const char* name)
    {
        return testsupport::sourceFolder() + QStringLiteral("/data/samples/") + QString::fromLatin1(name);
    }

    static QString program() { return testsupport::builtProgramFolder() + QStringLiteral("/byeorisol-data"); }

    CommandResult run(const QStringList& arguments) const { return testsupport::runDataCommand(m_program, arguments); }
    // Without a program folder of the test's own.
    static CommandResult runExactly(const QStringList& arguments) { return testsupport::runDataCommand({}, arguments); }

    // The log's lines after its header line and the empty line, decoded from code page 949.
    QStringList logEntries() const
    {
        QFile file(errorLog());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        QStringDecoder decoder("windows-949");
        QStringList lines = QString(decoder.decode(file.readAll())).split(QStringLiteral("\r\n"));
        EXPECT_TRUE(lines.size() >= 3 && lines.last().isEmpty() && lines.at(1).isEmpty());
        EXPECT_TRUE(lines.first().endsWith(QStringLiteral(" <편집오류 로그파일>")));
        return lines.mid(2, lines.size() - 3);
    }

    // The 본문 of one verse, "<Null>" for Null.
    static QString verseText(const QString& path, const QString& reference)
    {
        auto db = versiondb::DBEngine::instance().OpenDatabase(path, true, false, versiondb::passwordConnect());
        auto rs = db->OpenRecordset(QStringLiteral("본문"));
        rs->setIndex(QStringLiteral("성경구절"));
        rs->Seek(QStringLiteral("="), reference);
        QString text = QStringLiteral("<missing>");
        if (!rs->NoMatch()) {
            const QVariant value = rs->Fields(QStringLiteral("본문")).Value();
            text = value.isNull() ? QStringLiteral("<Null>") : value.toString();
        }
        rs->Close();
        db->Close();
        return text;
    }

    // An err.txt as an earlier run left it.
    void earlierLog() const
    {
        QFile log(errorLog());
        ASSERT_TRUE(log.open(QIODevice::WriteOnly));
        log.write("earlier\r\n");
    }

    testsupport::InstallTree m_tree{{QStringLiteral("null.mdb")}};
    QString m_install;
    QString m_program;
};

TEST_F(DataCommand, checkOfTheSamplesReportsTheFaultyLinesInTheLog)
{
    const QString faulty = sample("genesis-3-faulty.txt");
    const CommandResult result = run({QStringLiteral("check"), sample("genesis-1.txt"), faulty});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, console(importer::RunMessages::testFinishedWithErrors()));
    const QStringList expected = {
        QStringLiteral(" "),
        QDir::toNativeSeparators(faulty) + QStringLiteral("파일에서..."),
        QStringLiteral("5줄▶ ':'문자가 없어 '구절명'을 얻을 수 없음!"),
        QStringLiteral("7줄▶ ('창세기')약자명을 가진 성경책은 없습니다! 편집상태 확인!"),
        QStringLiteral("10줄▶ ('창 3:100') 성경구절 표시에 오류가 있습니다! 편집상태 확인!"),
    };
    EXPECT_EQ(logEntries(), expected);
    EXPECT_EQ(QDir(m_install).entryList(QDir::Files), QStringList{QStringLiteral("개역.DAT")});
}

TEST_F(DataCommand, checkOfCleanFilesSaysSoAndLeavesNoLog)
{
    const CommandResult result = run({QStringLiteral("check"), sample("genesis-1.txt"), sample("genesis-2.txt")});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, console(importer::RunMessages::testFinishedWithoutErrors()));
    EXPECT_FALSE(QFile::exists(errorLog()));
}

TEST_F(DataCommand, buildStoresTheAcceptedVersesAndCountsThem)
{
    const CommandResult result = run({QStringLiteral("build"), QStringLiteral("창세기"), sample("genesis-1.txt"),
                                      sample("genesis-2.txt"), sample("genesis-3-faulty.txt")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.out.startsWith(QStringLiteral("창세기.DAT\n\n만들기 작업이 완료되었습니다.\n"
                                                     "텍스트파일에서 추가된 절수는 총: 77절입니다\n\n")))
        << result.out.toStdString();
    const QString version = m_install + QStringLiteral("/창세기.DAT");
    EXPECT_EQ(verseText(version, QStringLiteral("창 1:1")),
              QStringLiteral("In the beginning God created the heaven and the earth."));
    EXPECT_EQ(verseText(version, QStringLiteral("창 3:5")), QStringLiteral("<Null>")) << "its line had no colon";
    EXPECT_EQ(verseText(version, QStringLiteral("창 3:24")).left(16), QStringLiteral("So he drove out "));
    EXPECT_EQ(verseText(version, QStringLiteral("창 4:1")), QStringLiteral("<Null>"));
}

TEST_F(DataCommand, refusedRequestsTouchNothing)
{
    struct Case
    {
        QStringList arguments;
        QString message;
    };
    const QString file = sample("genesis-1.txt");
    const Case cases[] = {
        {{QStringLiteral("build"), QStringLiteral("KJV.DAT"), file},
         QStringLiteral("KJV.DAT\n\n선택하신 파일은 기본 제공파일로 '성경본문 편집'만을 지원합니다.\n")},
        {{QStringLiteral("build"), QStringLiteral("  개역  "), file},
         QStringLiteral("개역\n\n선택하신 파일은 기본 제공파일로 '성경본문 편집'만을 지원합니다.\n")},
        {{QStringLiteral("build"), QStringLiteral("   "), file},
         QStringLiteral("역본명을 2번[탭]에서 설정하여 주십시오 !\n")},
        {{QStringLiteral("build"), QStringLiteral("mine")},
         QStringLiteral("1번[탭]의 파일목록이 비여있습니다. 역본원문이 있는 텍스트 파일을 추가하십시오 !\n")},
        {{QStringLiteral("check")}, QStringLiteral("성경원문이 들어있는 텍스트파일을 목록에 추가하십시오 !\n")},
        {{QStringLiteral("build"), QStringLiteral("../outside"), file},
         QStringLiteral(
             "역본명에는 폴더 구분 기호(\\ /), '..', 그리고 파일 이름에 쓸 수 없는 문자(: * ? \" < > |)를 넣을 수 "
             "없습니다 !\n")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const CommandResult result = run(c.arguments);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.out, c.message);
    }
    EXPECT_EQ(QDir(m_install).entryList(QDir::Files), QStringList{QStringLiteral("개역.DAT")});
    EXPECT_FALSE(QFile::exists(m_tree.beside(QStringLiteral("outside.DAT"))));
}

TEST_F(DataCommand, aTargetHeldByAnotherProcessFailsTheRun)
{
    ASSERT_EQ(run({QStringLiteral("build"), QStringLiteral("held"), sample("genesis-1.txt")}).exitCode, 0);
    const QString version = m_install + QStringLiteral("/held.DAT");
    auto held = versiondb::DBEngine::instance().OpenDatabase(version, true, false, versiondb::passwordConnect());
    const CommandResult result = run({QStringLiteral("build"), QStringLiteral("held"), sample("genesis-2.txt")});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(result.out.endsWith(QStringLiteral("\n\n위와 같은 예상치 않은 오류가 발생하여 작업을 중단합니다 !\n"
                                                   "실패한 역본파일은 삭제하십시오 !\n")))
        << result.out.toStdString();
    held->Close();
    EXPECT_EQ(verseText(version, QStringLiteral("창 2:1")), QStringLiteral("<Null>"));
}

// The help is Korean like every other text, the same for --help and after a command line that
// makes no sense, and says which commands ask nothing before they act.
TEST_F(DataCommand, badCommandLinesAreFailuresWithTheKoreanHelp)
{
    const CommandResult help = runExactly({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.err.isEmpty());
    const QStringList lines = help.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_GT(lines.size(), 8);
    EXPECT_EQ(lines.first(), QStringLiteral("사용법: byeorisol-data [--program-folder 폴더] 명령 ..."));
    for (const QString& line : lines) {
        EXPECT_TRUE(std::any_of(line.begin(), line.end(), [](QChar c) { return c.script() == QChar::Script_Hangul; }))
            << "every line is Korean: " << line.toStdString();
    }
    for (const char* command :
         {"check 파일...", "build 역본명 파일...", "show 역본파일 구절", "save 역본파일 구절 본문", "compact 역본파일",
          "repair 역본파일", "delete 역본파일", "export 역본파일 폴더", "report 역본파일"}) {
        EXPECT_TRUE(help.out.contains(QStringLiteral("\n  ") + QString::fromUtf8(command) + QLatin1Char(' ')))
            << command;
    }
    const auto lineOf = [&lines](const QString& command) {
        return *std::find_if(lines.begin(), lines.end(), [&](const QString& l) { return l.startsWith(command); });
    };
    EXPECT_TRUE(lineOf(QStringLiteral("  delete ")).contains(QStringLiteral("묻지 않고 바로 삭제합니다")));
    EXPECT_TRUE(lineOf(QStringLiteral("  compact ")).contains(QStringLiteral("묻지 않고")));

    const QString missing = m_tree.beside(QStringLiteral("없는 폴더"));
    struct Case
    {
        QStringList arguments;
        QString why;
    };
    const Case cases[] = {
        {{}, QStringLiteral("명령을 적어 주십시오.")},
        {{QStringLiteral("--program-folder"), m_program, QStringLiteral("frobnicate")},
         QStringLiteral("알 수 없는 명령입니다: frobnicate")},
        {{QStringLiteral("--program-folder"), m_program, QStringLiteral("build")},
         QStringLiteral("build 다음에 역본명을 적어 주십시오.")},
        {{QStringLiteral("--program-folder")},
         QStringLiteral("--program-folder 다음에 프로그램 폴더를 적어 주십시오.")},
        {{QStringLiteral("--program-folder"), missing, QStringLiteral("check"), sample("genesis-1.txt")},
         QStringLiteral("--program-folder의 폴더를 찾을 수 없습니다.\n") + missing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const CommandResult result = runExactly(c.arguments);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_EQ(result.err, QStringLiteral("byeorisol-data: ") + c.why + QLatin1Char('\n') + help.out);
    }
    // Every other command with arguments that make no sense: a usage error before any file is touched.
    const QString version = QDir(m_install).filePath(QStringLiteral("개역.DAT"));
    const QByteArray before = testsupport::bytes(version);
    const QList<QStringList> misuses = {
        {QStringLiteral("show"), version},
        {QStringLiteral("save"), version, QStringLiteral("창 1:1"), QStringLiteral("a"), QStringLiteral("b")},
        {QStringLiteral("compact")},
        {QStringLiteral("repair"), QStringLiteral("a"), QStringLiteral("b")},
        {QStringLiteral("delete")},
        {QStringLiteral("export"), version},
        {QStringLiteral("export"), version, QStringLiteral("out"), QStringLiteral("--format"), QStringLiteral("sword")},
        {QStringLiteral("export"), version, QStringLiteral("out"), QStringLiteral("--encoding")},
        {QStringLiteral("export"), version, QStringLiteral("out.imp"), QStringLiteral("--format"),
         QStringLiteral("imp"), QStringLiteral("--encoding"), QStringLiteral("cp949")},
        {QStringLiteral("report")},
    };
    for (const QStringList& arguments : misuses) {
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        const CommandResult result = run(arguments);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_TRUE(result.err.startsWith(QStringLiteral("byeorisol-data: ")));
        EXPECT_TRUE(result.err.endsWith(help.out));
    }
    EXPECT_EQ(testsupport::bytes(version), before);
}

// The error log is written as the check goes: the memory of a check does not grow with its errors
// (kept in memory, the entries of these lines alone would take well over 100 MB), nor with the
// entries of an IMP file.
TEST_F(DataCommand, aCheckOfManyBadLinesKeepsItsMemoryFlat)
{
    struct Case
    {
        const char* name;
        QByteArray block; // a thousand bad lines or entries
        qint64 logLines;  // the header, the empty line, the heading's two and one per bad line or entry
    };
    constexpr int kBlocks = 800;
    const Case cases[] = {
        {"bad.txt", QByteArray("x\r\n").repeated(1000), 800000 + 4},
        {"bad.imp", QByteArray("$$$x\ntext of an entry without a verse\n").repeated(1000), 800000 + 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString bad = m_tree.beside(QString::fromLatin1(c.name));
        {
            QFile out(bad);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            for (int i = 0; i < kBlocks; ++i) {
                ASSERT_EQ(out.write(c.block), c.block.size());
            }
        }
        const QByteArray executable = QFile::encodeName(program());
        const QByteArray folder = QFile::encodeName(m_program);
        const QByteArray file = QFile::encodeName(bad);
        char* const argv[] = {const_cast<char*>(executable.constData()), const_cast<char*>("--program-folder"),
                              const_cast<char*>(folder.constData()),     const_cast<char*>("check"),
                              const_cast<char*>(file.constData()),       nullptr};
        posix_spawn_file_actions_t quiet;
        posix_spawn_file_actions_init(&quiet);
        posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
        pid_t child = 0;
        ASSERT_EQ(posix_spawn(&child, executable.constData(), &quiet, nullptr, argv, environ), 0);
        posix_spawn_file_actions_destroy(&quiet);
        int status = 0;
        rusage usage{};
        ASSERT_EQ(wait4(child, &status, 0, &usage), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 1);
        EXPECT_LT(usage.ru_maxrss, 50 * 1024) << "peak resident KiB";
        QFile log(errorLog());
        ASSERT_TRUE(log.open(QIODevice::ReadOnly));
        qint64 lines = 0;
        while (!log.atEnd()) {
            lines += log.read(1 << 20).count('\n');
        }
        EXPECT_EQ(lines, c.logLines);
        ASSERT_TRUE(QFile::remove(bad));
    }
}

TEST_F(DataCommand, progressIsDrawnOnlyOnATerminal)
{
    const CommandResult piped = run({QStringLiteral("build"), QStringLiteral("piped"), sample("genesis-1.txt")});
    EXPECT_FALSE(piped.err.contains(QStringLiteral("작업중"))) << piped.err.toStdString();

    // script(1) gives the command a terminal of its own.
    QProcess process;
    const QString command = QStringLiteral("'%1' --program-folder '%2' build onterminal '%3'")
                                .arg(testsupport::builtProgramFolder() + QStringLiteral("/byeorisol-data"), m_program,
                                     sample("genesis-1.txt"));
    process.start(QStringLiteral("script"), {QStringLiteral("-qefc"), command, QStringLiteral("/dev/null")});
    ASSERT_TRUE(process.waitForFinished(120000));
    const QString terminal = QString::fromUtf8(process.readAllStandardOutput());
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_TRUE(terminal.contains(QStringLiteral("1/2 작업중...")));
    EXPECT_TRUE(terminal.contains(QStringLiteral("2/2 작업중...")));
    EXPECT_TRUE(terminal.contains(QStringLiteral("만들기 작업이 완료되었습니다.")));
}

// More lines than the reference has verses hold the bar at its end: it is still redrawn by time,
// not once for every line (ten thousand lines here past the end).
TEST_F(DataCommand, progressOnATerminalIsRedrawnByTimeEvenAtItsEnd)
{
    QFile one(sample("genesis-1.txt"));
    ASSERT_TRUE(one.open(QIODevice::ReadOnly));
    const QByteArray chapter = one.readAll();
    const QString many = m_tree.beside(QStringLiteral("many.txt"));
    QFile out(many);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    ASSERT_EQ(chapter.count('\n'), 31);
    for (int i = 0; i < 1330; ++i) { // 41,230 lines, 31,102 verses in the reference
        ASSERT_EQ(out.write(chapter), chapter.size());
    }
    out.close();
    QProcess process;
    const QString command =
        QStringLiteral("'%1' --program-folder '%2' build many '%3'").arg(program(), m_program, many);
    process.start(QStringLiteral("script"), {QStringLiteral("-qefc"), command, QStringLiteral("/dev/null")});
    ASSERT_TRUE(process.waitForFinished(300000));
    EXPECT_EQ(process.exitCode(), 0);
    const QString terminal = QString::fromUtf8(process.readAllStandardOutput());
    const qsizetype redraws = terminal.count(QStringLiteral("2/2 작업중..."));
    EXPECT_GT(redraws, 0);
    EXPECT_LT(redraws, 1000);
}

// SWORD's own tools, as a user has them: the KJV module written out by `mod2imp -s` and built into a
// version holds in every verse KJV has the text that diatheke reads from the module; the two verses
// of KJV that the Korean numbering lacks are logged at their key lines, and the two verses that KJV
// lacks stay Null.
TEST_F(DataCommand, aVersionBuiltFromMod2impHoldsTheModulesText)
{
    const QString module = QStringLiteral("engKJV2006eb");
    const QString mod2imp = QStandardPaths::findExecutable(QStringLiteral("mod2imp"));
    const QString diatheke = QStandardPaths::findExecutable(QStringLiteral("diatheke"));
    const auto output = [](const QString& executable, const QStringList& arguments) {
        QProcess process;
        process.start(executable, arguments);
        EXPECT_TRUE(process.waitForFinished(120000));
        EXPECT_EQ(process.exitCode(), 0);
        return QString::fromUtf8(process.readAllStandardOutput());
    };
    if (mod2imp.isEmpty() || diatheke.isEmpty() ||
        !output(diatheke,
                {QStringLiteral("-b"), QStringLiteral("system"), QStringLiteral("-k"), QStringLiteral("modulelist")})
             .contains(module + QStringLiteral(" : "))) {
        GTEST_SKIP() << "SWORD's mod2imp, diatheke or the module " << module.toStdString()
                     << " is missing (Debian packages libsword-utils, diatheke and sword-text-kjv; "
                        "scripts/setup installs them)";
    }

    const QString imp = m_tree.beside(QStringLiteral("kjv.imp"));
    {
        QProcess process;
        process.setStandardOutputFile(imp);
        process.start(mod2imp, {module, QStringLiteral("-s")});
        ASSERT_TRUE(process.waitForFinished(120000));
        ASSERT_EQ(process.exitCode(), 0);
    }

    // diatheke's plain text: "Book C:V: text" lines, the books in canonical order, with headings between.
    const QString plain =
        output(diatheke, {QStringLiteral("-b"), module, QStringLiteral("-f"), QStringLiteral("plain"),
                          QStringLiteral("-k"), QStringLiteral("Genesis 1:1-Revelation of John 22:21")});
    const QRegularExpression verseLine(QStringLiteral("^\\s*(\\S.*?) (\\d+):(\\d+): (.*)$"));
    QStringList bookNames;
    QHash<QString, QString> kjv;
    for (const QString& line : plain.split(u'\n')) {
        const QRegularExpressionMatch match = verseLine.match(line);
        if (!match.hasMatch()) {
            continue;
        }
        if (bookNames.isEmpty() || bookNames.last() != match.captured(1)) {
            bookNames << match.captured(1);
        }
        const QString reference = importer::BookAbbreviations::at(static_cast<int>(bookNames.size())).toString() +
                                  QLatin1Char(' ') + match.captured(2) + QLatin1Char(':') + match.captured(3);
        kjv.insert(reference, match.captured(4).trimmed());
    }
    ASSERT_EQ(bookNames.size(), 66);
    ASSERT_EQ(kjv.size(), 31102);

    const CommandResult result = run({QStringLiteral("build"), QStringLiteral("sword-kjv"), imp});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.out.startsWith(QStringLiteral("sword-kjv.DAT\n\n만들기 작업이 완료되었습니다.\n"
                                                     "텍스트파일에서 추가된 절수는 총: 31100절입니다\n\n")))
        << result.out.toStdString();

    // The key lines of the two verses the Korean numbering lacks.
    QFile impFile(imp);
    ASSERT_TRUE(impFile.open(QIODevice::ReadOnly));
    QHash<QByteArray, qint64> keyLines;
    for (qint64 number = 1; !impFile.atEnd(); ++number) {
        keyLines.insert(impFile.readLine().trimmed(), number);
    }
    EXPECT_EQ(logEntries(),
              (QStringList{QStringLiteral(" "), imp + QStringLiteral("파일에서..."),
                           QString::number(keyLines.value("$$$I Samuel 30:31")) +
                               QStringLiteral("줄▶ ('삼상 30:31') 성경구절 표시에 오류가 있습니다! 편집상태 확인!"),
                           QString::number(keyLines.value("$$$II Corinthians 13:14")) +
                               QStringLiteral("줄▶ ('고후 13:14') 성경구절 표시에 오류가 있습니다! 편집상태 확인!")}));

    auto db = versiondb::DBEngine::instance().OpenDatabase(m_install + QStringLiteral("/sword-kjv.DAT"), true, false,
                                                           versiondb::passwordConnect());
    auto rs = db->OpenRecordset(QStringLiteral("본문"));
    rs->setIndex(QStringLiteral("번호"));
    QStringList nulls;
    QStringList different;
    int records = 0;
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
        ++records;
        const QString reference = rs->Fields(QStringLiteral("성경구절")).Value().toString();
        const QVariant text = rs->Fields(QStringLiteral("본문")).Value();
        if (text.isNull()) {
            nulls << reference;
        } else if (text.toString() != kjv.value(reference)) {
            different << reference;
        }
    }
    rs->Close();
    db->Close();
    EXPECT_EQ(records, 31102);
    EXPECT_EQ(nulls, (QStringList{QStringLiteral("아 6:14"), QStringLiteral("요삼 1:15")}));
    EXPECT_EQ(different.size(), 0) << different.mid(0, 5).join(u' ').toStdString();
}

} // namespace
