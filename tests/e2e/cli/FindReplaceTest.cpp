// byeorisol-data find and replace, run as a user runs them, against Python's re on the text files the version exports.

#include "editor/EditorMessages.h"
#include "support/InstallTreeTest.h"
#include "support/TestPaths.h"
#include "versiondb/ErrorNumbers.h"
#include "versiondb/VersionStore.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <csignal>

using namespace Qt::StringLiterals;

namespace {

using editor::EditorMessages;
using testsupport::console;

// The peer: the exported lines ("참조 본문") whose text re.search matches, in the order of the files.
const char* const kPeer = R"(
import os, re, sys; sys.stdout.reconfigure(encoding='utf-8')
pattern = re.compile(sys.argv[2], re.I if sys.argv[3] == '1' else 0)
for name in sorted(os.listdir(sys.argv[1])):
    for line in open(os.path.join(sys.argv[1], name), encoding='utf-8-sig').read().splitlines():
        if pattern.search(line.split(' ', 2)[2]): print(line)
)";

using FindReplaceCommands = testsupport::DataCommandTest;

TEST_F(FindReplaceCommands, findAgreesWithPythonReAndReplaceIsOneChangeThatADryRunLeavesUnmade)
{
    if (QStandardPaths::findExecutable(u"python3"_s).isEmpty()) {
        GTEST_SKIP() << "python3 is missing";
    }
    const QString samples = testsupport::sourceFolder() + u"/data/samples/genesis-"_s;
    ASSERT_EQ(run({u"build"_s, u"mine"_s, samples + u"1.txt"_s, samples + u"2.txt"_s}).exitCode, 0);
    const QString version = path(u"mine.DAT"_s);
    const QString exported = beside(u"exported"_s);
    ASSERT_EQ(run({u"export"_s, version, exported, u"--encoding"_s, u"utf-8"_s}).exitCode, 0);
    const std::pair<QString, bool> cases[] = {{u"LORD\\s+God"_s, false},
                                              {u"\\b(\\w)\\w* \\1\\w* \\1"_s, false},
                                              {u"^and .*earth\\.$"_s, true},
                                              {u"\\bunicorn"_s, true}};
    for (const auto& [pattern, ignoreCase] : cases) {
        SCOPED_TRACE(pattern.toStdString());
        const QString expected = testsupport::outputOf(
            u"python3"_s, {u"-c"_s, QString::fromUtf8(kPeer), exported, pattern, ignoreCase ? u"1"_s : u"0"_s});
        QStringList arguments{u"find"_s, version, pattern, u"--regex"_s};
        if (ignoreCase) {
            arguments << u"--ignore-case"_s;
        }
        const testsupport::CommandResult found = run(arguments);
        EXPECT_EQ(found.out, expected);
        EXPECT_EQ(found.exitCode, expected.isEmpty() ? 1 : 0);
    }
    EXPECT_EQ(run({u"find"_s, version, u"god"_s, u"--ignore-case"_s}).out.count(u'\n'), 39);

    const QByteArray before = testsupport::bytes(version);
    const testsupport::CommandResult dry =
        run({u"replace"_s, version, u"(God) (created)"_s, u"\\2 \\1"_s, u"--regex"_s, u"--dry-run"_s});
    EXPECT_TRUE(dry.out.startsWith(u"창 1:1\n  이전: In the beginning God created the heaven and the earth.\n"
                                   "  이후: In the beginning created God the heaven and the earth.\n창 1:21\n"_s));
    EXPECT_EQ(dry.out.count(u"  이후: "_s), 4);
    EXPECT_TRUE(dry.out.endsWith(console(EditorMessages::replacePreviewed(4, 0)))) << dry.out.toStdString();
    EXPECT_EQ(testsupport::bytes(version), before);
    const testsupport::CommandResult replaced = run({u"replace"_s, version, u"God created"_s, u"created"_s});
    EXPECT_EQ(replaced.out.section(u'\n', 0, -3),
              dry.out.section(u'\n', 0, -3).replace(u"created God"_s, u"created"_s));
    EXPECT_EQ(replaced.out.section(u'\n', -2) + QString::number(replaced.exitCode),
              console(EditorMessages::replaceApplied(4, 1, 0)) + u'0');
    EXPECT_EQ(run({u"replace"_s, version, u"God created"_s, u"x"_s}).exitCode, 1);
    EXPECT_EQ(run({u"undo"_s, version}).exitCode, 0);
    EXPECT_EQ(run({u"find"_s, version, u"God created"_s}).out.count(u'\n'), 4);

    // Refused: nothing changes, and the exit code is 2.
    const QByteArray undone = testsupport::bytes(version);
    const QString damaged = writeFile(u"damaged.DAT"_s, QByteArray(4096, 'x'));
    const auto held = versiondb::VersionStore::OpenDatabase(path(u"개역.DAT"_s));
    const std::pair<QStringList, QString> refusals[] = {
        {{u"find"_s, version, u"a(b"_s, u"--regex"_s},
         EditorMessages::invalidPattern(u"a(b"_s, 3, u"missing closing parenthesis"_s)},
        {{u"replace"_s, version, QString(), u"x"_s}, EditorMessages::emptyPattern()},
        {{u"replace"_s, damaged, u"a"_s, u"b"_s},
         u"damaged.DAT\n\n"_s + versiondb::errorDescription(versiondb::errorNumber::UnrecognizedFormat)},
        {{u"find"_s, path(u"개역.DAT"_s), u"a"_s},
         u"개역.DAT\n\n"_s + versiondb::errorDescription(versiondb::errorNumber::FileInUse)},
    };
    for (const auto& [arguments, message] : refusals) {
        const testsupport::CommandResult refused = run(arguments);
        EXPECT_EQ(refused.out + QString::number(refused.exitCode), console(message) + u'2');
    }
    EXPECT_EQ(testsupport::bytes(version), undone);
}

// Each undo takes back one more save, each redo brings the last one taken back; a save after undos ends the redos.
TEST_F(FindReplaceCommands, undoStepsBackAndRedoStepsForward)
{
    ASSERT_EQ(run({u"build"_s, u"mine"_s, testsupport::sourceFolder() + u"/data/samples/genesis-1.txt"_s}).exitCode, 0);
    const QString version = path(u"mine.DAT"_s);
    const QString genesis = u"창 1:1"_s;
    const auto shown = [&] { return run({u"show"_s, version, genesis}).out; };
    const QString built = shown();
    for (const QString& text : {u"하나"_s, u"둘"_s, u"셋"_s}) {
        ASSERT_EQ(run({u"save"_s, version, genesis, text}).exitCode, 0);
    }
    QString said;
    for (int i = 0; i < 3; ++i) {
        said += run({u"undo"_s, version, genesis}).out.section(u'\n', 0, 0) + u'\n';
    }
    EXPECT_EQ(said, u"변경 3번을 되돌렸습니다 (1개 구절).\n변경 2번을 되돌렸습니다 (1개 구절).\n"
                    "변경 1번을 되돌렸습니다 (1개 구절).\n"_s);
    EXPECT_EQ(shown(), built);
    EXPECT_EQ(run({u"redo"_s, version}).out, u"변경 1번을 다시 실행했습니다 (1개 구절).\n창 1:1  하나\n"_s);
    EXPECT_EQ(run({u"redo"_s, version, genesis}).exitCode, 0);
    EXPECT_EQ(shown(), genesis + u"\n둘\n"_s);
    ASSERT_EQ(run({u"save"_s, version, genesis, u"넷"_s}).exitCode, 0);
    const testsupport::CommandResult none = run({u"redo"_s, version});
    EXPECT_EQ(none.out + QString::number(none.exitCode), console(EditorMessages::nothingToRedo()) + u'1');
}

// Ctrl+C while a replacement stores its verses rolls it back: the file is as it was, byte for byte.
TEST_F(FindReplaceCommands, ctrlCCancelsAReplacementAndLeavesTheFileAsItWas)
{
    const QString version = makeVersion(u"big.DAT"_s, 31102, testsupport::Texts::Most);
    const QByteArray before = testsupport::bytes(version);
    QProcess replace;
    replace.start(testsupport::builtProgramFolder() + u"/byeorisol-data"_s,
                  {u"--program-folder"_s, programFolder(), u"replace"_s, version, u"하나님"_s, u"하느님"_s});
    ASSERT_TRUE(replace.waitForStarted());
    // The rollback journal is there from the first verse stored to the commit.
    QElapsedTimer waited;
    waited.start();
    while (!QFileInfo::exists(version + u"-journal"_s) && replace.state() == QProcess::Running &&
           waited.elapsed() < 60000) {
        QThread::usleep(200);
    }
    ASSERT_EQ(::kill(pid_t(replace.processId()), SIGINT), 0);
    ASSERT_TRUE(replace.waitForFinished(60000));
    EXPECT_EQ(QString::fromUtf8(replace.readAllStandardOutput()) + QString::number(replace.exitCode()),
              console(EditorMessages::replaceCancelled()) + u"130"_s);
    EXPECT_EQ(testsupport::bytes(version), before);
    EXPECT_FALSE(QFileInfo::exists(version + u"-journal"_s));
}

} // namespace
