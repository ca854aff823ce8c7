#include "import/BuildPipeline.h"

#include "import/RunMessages.h"
#include "import/VersionName.h"
#include "support/InstallTreeTest.h"
#ifndef Q_OS_WIN // the folders are made read-only and small by mounting
#include "support/MountedFolders.h"
#endif
#include "versiondb/Names.h"

#include <QFile>
#include <sys/stat.h>

using importer::BuildPipeline;
using importer::Message;
namespace RunMessages = importer::RunMessages;
using importer::RunOutcome;
using importer::RunResult;
using platform::MessageIcon;
using testsupport::storedTexts;
using Texts = QList<std::pair<QString, QString>>;
using Messages = QList<Message>;
using namespace Qt::StringLiterals;

namespace {

const QString kBuildFailure = RunMessages::phase2Failure({}, true);
const QString kMissing = u"파일을 찾을 수 없습니다."_s;

QStringList texts(const RunOutcome& outcome)
{
    QStringList list;
    std::ranges::transform(outcome.messages, std::back_inserter(list), &Message::text);
    return list;
}

// An install tree whose reference version holds 창 1:1 to 1:3 and 출 1:1, made from the built template.
class BuildPipelineTest : public testsupport::InstallTreeTest
{
protected:
    BuildPipelineTest() : InstallTreeTest({u"null.mdb"_s}) {}
    void SetUp() override
    {
        InstallTreeTest::SetUp();
        ASSERT_FALSE(makeVersion(u"개역.DAT"_s, testsupport::smallReferenceVerses()).isEmpty());
    }

    QString errorLogPath() const { return programFile(u"err.txt"_s); }
    // A text file in code page 949 of these lines, given separated by LF.
    QString file(const QString& lines) { return textFile(u"%1.txt"_s.arg(++m_files), lines.split(u'\n')); }

    // A build run into the version of that name; m_name holds the name as the run completed it.
    RunOutcome build(const QString& name, const QStringList& files)
    {
        platform::RunControl control;
        RunOutcome outcome = BuildPipeline(programFolder(), control).runBuild(name, files);
        m_name = outcome.versionName;
        return outcome;
    }
    RunOutcome check(const QStringList& files)
    {
        platform::RunControl control;
        return BuildPipeline(programFolder(), control).runCheck(files);
    }

    QString m_name;
    int m_files = 0;
};

} // namespace

// The later of two lines for one verse wins, all counted; an empty text is stored as "null".
TEST_F(BuildPipelineTest, aBuildStoresEveryLineAndASecondOneOverwritesOnlySuppliedVerses)
{
    const QString first = file(u"창 1:1 first\n창 1:2 second\n창 1:3x"_s);
    const QString second = file(u"창 1:1 later\n"_s.repeated(4) + u"bad"_s);
    const RunOutcome outcome = build(u"mine"_s, {first, second});
    EXPECT_EQ(outcome.result, RunResult::LineErrors);
    EXPECT_EQ(m_name, u"mine.DAT"_s);
    EXPECT_EQ(outcome.messages,
              (Messages{{MessageIcon::Exclamation, RunMessages::buildFinishedWithErrors(u"mine.DAT"_s, 7)}}));
    EXPECT_EQ(outcome.errorLogPath, errorLogPath());
    ASSERT_EQ(outcome.findings.size(), 1);
    EXPECT_EQ(std::tuple(outcome.findings[0].file, outcome.findings[0].line, outcome.findings[0].reason),
              std::tuple(second, qint64(5), u"':'문자가 없어 '구절명'을 얻을 수 없음!"_s));
    const RunOutcome again = build(u"mine.DAT"_s, {file(u"창 1:2 changed"_s)});
    EXPECT_EQ(again.result, RunResult::Clean);
    EXPECT_TRUE(again.errorLogPath.isEmpty() && again.findings.isEmpty());
    EXPECT_EQ(storedTexts(path(m_name)), (Texts{{u"창 1:1"_s, u"later"_s},
                                                {u"창 1:2"_s, u"changed"_s},
                                                {u"창 1:3"_s, u"null"_s},
                                                {u"출 1:1"_s, u"<Null>"_s}}));
    EXPECT_EQ(installEntries(), (QStringList{u"mine.DAT"_s, u"개역.DAT"_s}));
}

// A missing file fails phase 1 and then phase 2 of a build, but only the check of a check run.
TEST_F(BuildPipelineTest, aFailureNamesTheFileItConcerns)
{
    const QString first = file(u"창 1:1 a\nbad"_s);
    const QString missing = beside(u"없음.txt"_s);
    const RunOutcome checked = check({first, missing, first});
    EXPECT_EQ(checked.result, RunResult::Failed);
    EXPECT_EQ(texts(checked), QStringList{RunMessages::phase2Failure(kMissing, false, missing)});
    EXPECT_FALSE(QFile::exists(errorLogPath())) << "the entries of the first file are dropped";
    QFile::remove(programFile(u"null.mdb"_s));
    const RunOutcome noTemplate = build(u"mine"_s, {first});
    EXPECT_EQ(noTemplate.result, RunResult::Failed);
    EXPECT_TRUE(noTemplate.messages.size() == 2 && noTemplate.messages[1].text.endsWith(kBuildFailure));
    EXPECT_EQ(installEntries(), QStringList{u"개역.DAT"_s});
    QFile::remove(path(u"개역.DAT"_s));
    const QString reference = versiondb::referenceVersionPath(programFolder());
    const RunOutcome building = build(u"mine"_s, {first});
    EXPECT_EQ(building.result, RunResult::Failed);
    EXPECT_EQ(building.messages,
              (Messages{{MessageIcon::None, RunMessages::phase1Failure(kMissing, reference)},
                        {MessageIcon::Exclamation, RunMessages::phase2Failure(kMissing, true, reference)}}));
}

// An existing target that lacks a verse: the run stops without a log but keeps what it stored.
TEST_F(BuildPipelineTest, aFailureMidRunKeepsWhatWasStored)
{
    ASSERT_FALSE(makeVersion(u"short.DAT"_s, testsupport::smallReferenceVerses().mid(0, 1)).isEmpty());
    const RunOutcome outcome = build(u"short.DAT"_s, {file(u"창 1:1 a\n창 1:2 b"_s)});
    EXPECT_EQ(outcome.result, RunResult::Failed);
    EXPECT_FALSE(QFile::exists(errorLogPath()));
    EXPECT_EQ(storedTexts(path(m_name)), (Texts{{u"창 1:1"_s, u"a"_s}}));
    EXPECT_TRUE(outcome.messages.size() == 1 && outcome.messages[0].text.endsWith(kBuildFailure));
}

TEST(VersionName, aNameThatWouldLeaveTheInstallFolderOrBeTakenForAWorkFileIsRefused)
{
    for (const char* bad :
         {"..", "a/b", "a\\b", "tab\there", "개역.DAT-journal", "a.dat.Compact-1f", "b.DAT.building"}) {
        EXPECT_TRUE(importer::versionNameProblem(QString::fromUtf8(bad)).has_value()) << bad;
    }
    EXPECT_FALSE(importer::versionNameProblem(u"공동 번역.v1"_s).has_value());
}

// Only regular files are read: a pipe, folder, device or database is refused by name before anything is done.
TEST_F(BuildPipelineTest, anythingButARegularFileIsRefusedBeforeAnythingIsTouched)
{
    writeFile(u"manager/err.txt"_s, "earlier\r\n");
#ifdef Q_OS_WIN
    const QString pipe = installFolder(); // no named pipe lies among the files
#else
    const QString pipe = beside(u"파이프"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
#endif
    const QString good = file(u"창 1:1 a\nbad"_s);
    const QString version = makeVersion(u"v.dat"_s, 3);
    const QStringList before = installEntries();
    const QString database = u"역본파일과 같은 데이터베이스 파일은 텍스트 파일로 읽을 수 없습니다."_s;
    const QString notText = u"텍스트 파일이 아닌 폴더나 장치, 파이프는 읽을 수 없습니다."_s;
    for (const QString& other : {pipe, installFolder(), version}) {
        for (const bool building : {false, true}) {
            const QStringList files = {good, other, good};
            const RunOutcome outcome = building ? build(u"mine"_s, files) : check(files);
            EXPECT_EQ(outcome.result, RunResult::Refused);
            EXPECT_EQ(texts(outcome), QStringList{other + u"\r\n\r\n"_s + (other == version ? database : notText) +
                                                  u" 목록에서 삭제하여 주십시오 !"_s});
        }
    }
    EXPECT_EQ(installEntries(), before) << "no version file made";
    EXPECT_EQ(testsupport::bytes(errorLogPath()), QByteArray("earlier\r\n")) << "the earlier log is not touched";
}

#ifndef Q_OS_WIN
// The program folder read-only: the earlier log cannot be deleted, nor a new one made, and the check says why.
TEST_F(BuildPipelineTest, aReadOnlyProgramFolderIsSaidToBeReadOnly)
{
    const QString text = file(u"창 1:1 a\nbad"_s);
    for (const bool earlier : {false, true}) {
        if (earlier) {
            writeFile(u"manager/err.txt"_s, "earlier\r\n");
        }
        const testsupport::ReadOnlyFolder readOnly(programFolder());
        if (!readOnly.isActive()) {
            GTEST_SKIP() << "no folder can be made read-only here";
        }
        const RunOutcome checking = check({text});
        EXPECT_EQ(checking.result, RunResult::Failed);
        EXPECT_EQ(texts(checking),
                  QStringList{RunMessages::phase2Failure(earlier ? u"읽기 전용 폴더여서 파일을 지울 수 없습니다."_s
                                                                 : u"읽기 전용 폴더여서 파일을 만들 수 없습니다."_s,
                                                         false, errorLogPath())});
    }
}

// On a full disk a build says so in both phases and leaves no version, a check leaves no log.
TEST_F(BuildPipelineTest, aFullDiskIsReportedAsAFullDisk)
{
    const QByteArray reference = testsupport::bytes(path(u"개역.DAT"_s));
    const QByteArray emptyVersion = testsupport::bytes(programFile(u"null.mdb"_s));
    const testsupport::SmallDisk disk(installFolder(), 512 * 1024);
    if (!disk.isActive()) {
        GTEST_SKIP() << "no file system can be mounted here";
    }
    ASSERT_TRUE(QDir().mkpath(programFolder()));
    writeFile(u"개역.DAT"_s, reference);
    writeFile(u"manager/null.mdb"_s, emptyVersion);
    QFile filler(path(u"filler"_s));
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
    while (filler.write(QByteArray(4096, 'x')) == 4096 && filler.flush()) {
    }
    const QString text = file(u"창 1:1 a\nbad"_s);
    const QString target = versiondb::versionPath(programFolder(), u"mine.DAT"_s);
    const QString diskFull = u"디스크 공간이 부족합니다."_s;
    const RunOutcome building = build(u"mine"_s, {text});
    EXPECT_EQ(building.result, RunResult::Failed);
    EXPECT_EQ(texts(building), (QStringList{RunMessages::phase1Failure(diskFull, target),
                                            RunMessages::phase2Failure(diskFull, true, target)}));
    EXPECT_FALSE(QFile::exists(target));
    const RunOutcome checking = check({text});
    EXPECT_EQ(checking.result, RunResult::Failed);
    EXPECT_EQ(texts(checking), QStringList{RunMessages::phase2Failure(diskFull, false, errorLogPath())});
    EXPECT_EQ(QDir(programFolder()).entryList(QDir::Files), QStringList{u"null.mdb"_s}) << "no log, no scratch";
}
#endif

// A build or check cancelled before it starts or halfway leaves every file as it was, err.txt included.
TEST(BuildPipelineCancel, aCancelledRunLeavesEveryFileAsItWas)
{
    testsupport::InstallTree tree({u"null.mdb"_s});
    ASSERT_TRUE(tree.isValid() && tree.addReference({u"mine.DAT"_s}));
    tree.writeFile(u"manager/err.txt"_s, "earlier\r\n");
    // A faulty file first, so that the new log has begun when the cancel comes.
    const QStringList files = QStringList{testsupport::sample("genesis-3-faulty.txt")} + testsupport::kjvBookFiles();
    ASSERT_EQ(files.size(), 67);
    const QHash<QString, QByteArray> before = tree.fileBytes();
    for (const char* name : {"", "mine", "fresh"}) {
        for (const bool halfway : {false, true}) {
            SCOPED_TRACE(std::string(name) + (halfway ? " halfway" : " at once"));
            platform::RunControl control;
            if (!halfway) {
                control.cancel();
            }
            BuildPipeline pipeline(tree.programFolder(), control);
            const RunOutcome outcome = testsupport::cancelledWhen(
                control,
                [&] { return control.stage() == 2 && control.total() != 0 && control.done() * 2 >= control.total(); },
                [&] { return *name ? pipeline.runBuild(QString::fromLatin1(name), files) : pipeline.runCheck(files); });
            EXPECT_EQ(outcome.result, RunResult::Cancelled);
            EXPECT_EQ(outcome.messages,
                      (Messages{{MessageIcon::Information, *name ? u"작업을 취소했습니다.\r\n\r\n역본파일은 "
                                                                   u"작업 전 그대로입니다."_s
                                                                 : u"작업을 취소했습니다."_s}}));
            if (halfway) {
                EXPECT_LT(control.done(), control.total()) << "cancelled before the end";
            }
            EXPECT_TRUE(tree.fileBytes() == before) << "every file as before";
        }
    }
}
