#include "import/BuildPipeline.h"

#include "RecordingObserver.h"
#include "support/InstallTreeTest.h"
#include "support/MountedFolders.h"
#include "support/TestPaths.h"
#include "versiondb/DBEngine.h"
#include "versiondb/Database.h"
#include "versiondb/Error.h"
#include "versiondb/Names.h"
#include "versiondb/Password.h"
#include "versiondb/Recordset.h"
#include "versiondb/Transaction.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <sys/stat.h>

using importer::BuildPipeline;
using importer::RunOutcome;
using platform::MessageIcon;
using testsupport::RecordingObserver;

namespace {

const QString kPhase1Failure =
    QStringLiteral("\r\n\r\n위와 같이 예상치 않은 오류가 발생하여 작업을 중지합니다! 전문가와 상의하십시오.");
const QString kPhase2Failure = QStringLiteral("\r\n\r\n위와 같은 예상치 않은 오류가 발생하여 작업을 중단합니다 !");
const QString kBuildFailure = kPhase2Failure + QStringLiteral("\r\n실패한 역본파일은 삭제하십시오 !");
const QString kPhase1Status = QStringLiteral("status 1/2 작업중...");
const QString kNotRegular =
    QStringLiteral("\r\n\r\n텍스트파일이 아닌 폴더나 장치, 파이프는 읽을 수 없습니다. 목록에서 삭제하여 주십시오 !");
const QString kDiskFull = QStringLiteral("디스크 공간이 부족합니다.\r\n");

std::unique_ptr<versiondb::Database> open(const QString& path)
{
    return versiondb::DBEngine::instance().OpenDatabase(path, true, false, versiondb::passwordConnect());
}

// An install tree whose reference version holds 창 1:1 to 1:3 and 출 1:1, made from the built template.
class BuildPipelineTest : public testsupport::InstallTreeTest
{
protected:
    BuildPipelineTest() : InstallTreeTest({QStringLiteral("null.mdb")}) {}
    void SetUp() override
    {
        InstallTreeTest::SetUp();
        ASSERT_FALSE(makeSmallReference().isEmpty());
    }

    QString templatePath() const { return programFile(QStringLiteral("null.mdb")); }
    QString referencePath() const { return path(QStringLiteral("개역.DAT")); }
    QString errorLogPath() const { return programFile(QStringLiteral("err.txt")); }
    QString beside(const QString& name) const { return QDir(installFolder()).absoluteFilePath("../" + name); }

    // A version file holding the first verses of 창 1:1, 1:2, 1:3, 출 1:1.
    void makeSmall(const QString& version, int verses)
    {
        ASSERT_FALSE(makeVersion(version, testsupport::smallReferenceVerses().mid(0, verses)).isEmpty());
    }

    // A text file in code page 949 of these lines, given separated by LF, each ended by CR LF.
    QString file(const QString& lines) { return textFile(QStringLiteral("%1.txt").arg(++m_files), lines.split(u'\n')); }

    // A build run into the version of that name; m_name holds the name as the run left it.
    RunOutcome build(const QString& name, const QStringList& files, RecordingObserver* observer = nullptr)
    {
        BuildPipeline pipeline(programFolder(), observer != nullptr ? *observer : m_observer);
        m_name = name;
        return pipeline.runBuild(m_name, files);
    }

    RunOutcome check(const QStringList& files) { return BuildPipeline(programFolder(), m_observer).runCheck(files); }

    // The texts of every verse of a version by reference, in 번호 order (checked to run 1, 2, ...); Null as "<Null>".
    static QList<std::pair<QString, QString>> texts(const QString& versionPath)
    {
        const auto records = testsupport::storedRecords(versionPath);
        for (int i = 0; i < records.size(); ++i) {
            EXPECT_EQ(records[i].number.toInt(), i + 1);
        }
        return testsupport::storedTexts(versionPath);
    }

    // An err.txt as an earlier run left it.
    void earlierLog() const
    {
        QFile log(errorLogPath());
        ASSERT_TRUE(log.open(QIODevice::WriteOnly));
        log.write("earlier\r\n");
    }

    RecordingObserver m_observer;
    QString m_name;
    int m_files = 0;
};

} // namespace

TEST_F(BuildPipelineTest, buildsANewVersionWithTheWholeReferenceSkeleton)
{
    QFile::remove(referencePath());
    ASSERT_TRUE(QFile::copy(testsupport::builtInstallFolder() + QStringLiteral("/개역.DAT"), referencePath()));
    EXPECT_EQ(build(QStringLiteral("새번역"), {file(QStringLiteral("창 1:1 In the beginning\n계 22:21 Amen."))}),
              RunOutcome::Clean);
    EXPECT_EQ(m_name, QStringLiteral("새번역.DAT"));
    for (const QString& line :
         {QStringLiteral("name 새번역.DAT"), kPhase1Status, QStringLiteral("status 2/2 작업중...")}) {
        EXPECT_TRUE(m_observer.log().contains(line)) << line.toStdString();
    }
    EXPECT_EQ(m_observer.messages(),
              QStringList{QStringLiteral("새번역.DAT\r\n\r\n만들기 작업이 완료되었습니다.\r\n\r\n관리기 프로그램을 "
                                         "종료하시고 벼리솔을 실행하면 만든역본이 추가되어 있을 것입니다.")});
    EXPECT_EQ(m_observer.icons(), QList<MessageIcon>{MessageIcon::Information});
    EXPECT_FALSE(QFile::exists(errorLogPath()));
    const auto stored = texts(path(m_name));
    ASSERT_EQ(stored.size(), 31102);
    EXPECT_EQ(stored.first(), std::make_pair(QStringLiteral("창 1:1"), QStringLiteral("In the beginning")));
    EXPECT_EQ(stored.last(), std::make_pair(QStringLiteral("계 22:21"), QStringLiteral("Amen.")));
    EXPECT_EQ(std::count_if(stored.begin(), stored.end(), [](const auto& v) { return v.second != "<Null>"; }), 2);
    EXPECT_EQ(texts(referencePath()).size(), 31102) << "the reference version keeps its records";
}

TEST_F(BuildPipelineTest, aNameWithAFullStopIsUsedUnchanged)
{
    EXPECT_EQ(build(QStringLiteral("my.ver"), {file(QStringLiteral("창 1:1 a"))}), RunOutcome::Clean);
    EXPECT_EQ(m_name, QStringLiteral("my.ver"));
    EXPECT_EQ(installEntries(), (QStringList{QStringLiteral("my.ver"), QStringLiteral("개역.DAT")}));
    EXPECT_FALSE(m_observer.log().join('\n').contains(QStringLiteral("name ")));
}

TEST_F(BuildPipelineTest, aSecondBuildSkipsPhaseOneAndOverwritesOnlySuppliedVerses)
{
    RecordingObserver first;
    build(QStringLiteral("mine"), {file(QStringLiteral("창 1:1 first\n창 1:2 second"))}, &first);
    EXPECT_EQ(build(QStringLiteral("mine.DAT"), {file(QStringLiteral("창 1:1 changed"))}), RunOutcome::Clean);
    EXPECT_FALSE(m_observer.log().contains(kPhase1Status));
    const auto stored = texts(path(QStringLiteral("mine.DAT")));
    ASSERT_EQ(stored.size(), 4);
    EXPECT_EQ(stored[0].second, QStringLiteral("changed"));
    EXPECT_EQ(stored[1].second, QStringLiteral("second"));
    EXPECT_EQ(stored[2].second, QStringLiteral("<Null>"));
}

TEST_F(BuildPipelineTest, anEmptyTextIsStoredAsTheFourLettersNull)
{
    EXPECT_EQ(build(QStringLiteral("mine"), {file(QStringLiteral("창 1:1x\n창 1:2\n창 1:3   "))}), RunOutcome::Clean);
    const auto stored = texts(path(m_name));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(stored[i].second, QStringLiteral("null")) << stored[i].first.toStdString();
    }
}

TEST_F(BuildPipelineTest, theLaterOfTwoLinesForOneVerseWinsAndBothAreCounted)
{
    EXPECT_EQ(build(QStringLiteral("mine"),
                    {file(QStringLiteral("창 1:1 earlier")), file(QStringLiteral("창 1:1 later\nbad"))}),
              RunOutcome::LineErrors);
    EXPECT_EQ(texts(path(m_name))[0].second, QStringLiteral("later"));
    EXPECT_EQ(
        m_observer.messages(),
        QStringList{QStringLiteral(
            "mine.DAT\r\n\r\n만들기 작업이 완료되었습니다.\r\n텍스트파일에서 추가된 절수는 총: 2절입니다\r\n\r\n"
            "그러나 텍스트파일에서 편집오류가 발견되어 일부 구절을 추가하지 못했습니다. 오류목록파일('err.txt')을 "
            "열고 올바르게 편집후 다시 재작업하십시오.\r\n('err.txt'파일의 참조가 완료되면 삭제하십시오)")});
    EXPECT_EQ(m_observer.icons(), QList<MessageIcon>{MessageIcon::Exclamation});
    EXPECT_TRUE(QFileInfo(errorLogPath()).isFile());
    EXPECT_EQ(m_observer.log().last(2).first(), QStringLiteral("open ") + errorLogPath()) << "after the message";
    // The busy pointer and the animation are put away before the message.
    const QStringList& log = m_observer.log();
    EXPECT_TRUE(log.indexOf(QStringLiteral("not busy")) >= 0 && log.indexOf(QStringLiteral("hide animation")) >= 0);
    EXPECT_GT(log.indexOf(QStringLiteral("message")), log.lastIndexOf(QStringLiteral("not busy")));
    EXPECT_GT(log.indexOf(QStringLiteral("message")), log.lastIndexOf(QStringLiteral("hide animation")));
}

TEST_F(BuildPipelineTest, theProgressValueNeverPassesTheMaximum)
{
    BuildPipeline pipeline(programFolder(), m_observer);
    QString name = QStringLiteral("mine");
    EXPECT_EQ(pipeline.runBuild(name, {file(QStringList(10, QStringLiteral("창 1:1 again")).join(u'\n'))}),
              RunOutcome::Clean);
    EXPECT_EQ(pipeline.acceptedCount(), 10);
    EXPECT_EQ(m_observer.highestValue(), 4);
    EXPECT_FALSE(m_observer.valueAboveMaximum());
}

TEST_F(BuildPipelineTest, aCheckRunOnlyReadsTheReferenceVersion)
{
    const QStringList before = installEntries();
    const auto hash = [this] {
        QFile reference(referencePath());
        EXPECT_TRUE(reference.open(QIODevice::ReadOnly));
        return QCryptographicHash::hash(reference.readAll(), QCryptographicHash::Sha256);
    };
    const QByteArray referenceBefore = hash();
    EXPECT_EQ(check({file(QStringLiteral("창 1:1 a\n창 9:9 b"))}), RunOutcome::LineErrors);
    EXPECT_EQ(installEntries(), before);
    EXPECT_EQ(hash(), referenceBefore);
    for (const QString& line : m_observer.log()) {
        EXPECT_FALSE(line.startsWith(QStringLiteral("status")) || line.startsWith(QStringLiteral("progress")))
            << line.toStdString();
    }
    EXPECT_EQ(m_observer.icons(), QList<MessageIcon>{MessageIcon::Exclamation});
    EXPECT_TRUE(m_observer.messages()[0].startsWith(QStringLiteral("테스트 작업이 완료되었습니다.\r\n\r\n그러나")));
    EXPECT_TRUE(m_observer.log().contains(QStringLiteral("open ") + errorLogPath()));
}

TEST_F(BuildPipelineTest, aCleanRunRemovesTheLogOfAnEarlierRun)
{
    EXPECT_EQ(check({file(QStringLiteral("x"))}), RunOutcome::LineErrors);
    ASSERT_TRUE(QFile::exists(errorLogPath()));
    EXPECT_EQ(check({file(QStringLiteral("창 1:1 a"))}), RunOutcome::Clean);
    EXPECT_FALSE(QFile::exists(errorLogPath()));
    EXPECT_EQ(m_observer.messages().last(), QStringLiteral("테스트 작업이 완료되었습니다.\r\n\r\n지금 목록에 있는 "
                                                           "텍스트파일은 편집오류가 발견되지 않았습니다."));
    EXPECT_EQ(m_observer.icons().last(), MessageIcon::Information);
}

TEST_F(BuildPipelineTest, aMissingReferenceFailsBothPhasesOfABuildButOnlyTheCheckOfACheckRun)
{
    QFile::remove(referencePath());
    const QString text = file(QStringLiteral("창 1:1 a"));
    RecordingObserver building;
    EXPECT_EQ(build(QStringLiteral("mine"), {text}, &building), RunOutcome::Failed);
    ASSERT_EQ(building.messages().size(), 2);
    EXPECT_TRUE(building.messages()[0].endsWith(kPhase1Failure));
    EXPECT_FALSE(building.messages()[0].startsWith(QStringLiteral("\r\n"))) << "it starts with the description";
    EXPECT_TRUE(building.messages()[1].endsWith(kBuildFailure));
    EXPECT_EQ(building.icons(), (QList<MessageIcon>{MessageIcon::None, MessageIcon::Exclamation}));
    EXPECT_EQ(check({text}), RunOutcome::Failed);
    ASSERT_EQ(m_observer.messages().size(), 1);
    EXPECT_TRUE(m_observer.messages()[0].endsWith(kPhase2Failure));
    EXPECT_FALSE(QFile::exists(errorLogPath()));
}

TEST_F(BuildPipelineTest, aMissingTemplateFailsTheCopyAndThenTheOpenOfTheTarget)
{
    QFile::remove(templatePath());
    EXPECT_EQ(build(QStringLiteral("mine"), {file(QStringLiteral("창 1:1 a"))}), RunOutcome::Failed);
    ASSERT_EQ(m_observer.messages().size(), 2);
    EXPECT_TRUE(m_observer.messages()[0].endsWith(kPhase1Failure));
    EXPECT_TRUE(m_observer.messages()[1].endsWith(kBuildFailure));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("mine.DAT"))));
    EXPECT_TRUE(testsupport::openable(referencePath()));
}

TEST_F(BuildPipelineTest, aTextFileThatVanishesMidRunStopsItWithoutALog)
{
    const QString first = file(QStringLiteral("bad line\n창 1:1 a"));
    const QString second = file(QStringLiteral("창 1:2 b"));
    m_observer.onEvents = [&](int) { QFile::remove(second); };
    EXPECT_EQ(build(QStringLiteral("mine"), {first, second}), RunOutcome::Failed);
    EXPECT_FALSE(QFile::exists(errorLogPath()));
    EXPECT_TRUE(m_observer.messages().last().endsWith(kBuildFailure));
    EXPECT_TRUE(testsupport::openable(referencePath()));
    EXPECT_EQ(texts(path(m_name))[0].second, QStringLiteral("a")) << "verses written before the failure stay";
}

TEST_F(BuildPipelineTest, aTargetHeldOpenFailsPhaseTwoAndEverythingIsReleased)
{
    makeSmall(QStringLiteral("held.DAT"), 4);
    auto held = open(path(QStringLiteral("held.DAT")));
    EXPECT_EQ(build(QStringLiteral("held"), {file(QStringLiteral("창 1:1 a"))}), RunOutcome::Failed);
    ASSERT_EQ(m_observer.messages().size(), 1);
    EXPECT_TRUE(m_observer.messages()[0].endsWith(kBuildFailure));
    EXPECT_TRUE(testsupport::openable(referencePath()));
    held->Close();
    EXPECT_EQ(texts(path(m_name))[0].second, QStringLiteral("<Null>"));
}

TEST_F(BuildPipelineTest, anExistingTargetWithoutTheVerseFailsWithNoCurrentRecord)
{
    makeSmall(QStringLiteral("short.DAT"), 1);
    EXPECT_EQ(build(QStringLiteral("short.DAT"), {file(QStringLiteral("창 1:1 a\n창 1:2 b"))}), RunOutcome::Failed);
    ASSERT_EQ(m_observer.messages().size(), 1);
    EXPECT_TRUE(m_observer.messages()[0].endsWith(kBuildFailure));
    EXPECT_EQ(texts(path(m_name)), (QList<std::pair<QString, QString>>{{QStringLiteral("창 1:1"), "a"}}));
}

TEST_F(BuildPipelineTest, phaseOneClosesTheReferenceInEveryCase)
{
    makeSmall(QStringLiteral("there.DAT"), 4);
    for (QString name : {QStringLiteral("there"), QStringLiteral("new")}) {
        SCOPED_TRACE(name.toStdString());
        BuildPipeline pipeline(programFolder(), m_observer);
        EXPECT_TRUE(pipeline.PrepareTargetVersion(name));
        EXPECT_TRUE(testsupport::openable(referencePath()));
        EXPECT_TRUE(testsupport::openable(path(name)));
    }
}

TEST_F(BuildPipelineTest, aVersionNameThatLeavesTheInstallFolderIsRefusedBeforeAnythingIsTouched)
{
    earlierLog();
    const QString text = file(QStringLiteral("창 1:1 a"));
    const QStringList before = installEntries();
    for (const char* bad : {"../evil", "a/b", "a\\b", "..", "x:y", "what?", "a*", "a|b", "<a>", "\"q\"", "tab\there"}) {
        SCOPED_TRACE(bad);
        RecordingObserver observer;
        EXPECT_EQ(build(QString::fromUtf8(bad), {text}, &observer), RunOutcome::Refused);
        EXPECT_EQ(observer.messages(),
                  QStringList{QStringLiteral("역본명에는 폴더 구분 기호(\\ /), '..', 그리고 파일 이름에 쓸 수 없는 "
                                             "문자(: * ? \" < > |)를 넣을 수 없습니다 !")});
        EXPECT_EQ(observer.icons(), QList<MessageIcon>{MessageIcon::Exclamation});
        EXPECT_EQ(m_name, QString::fromUtf8(bad));
    }
    EXPECT_EQ(installEntries(), before);
    EXPECT_TRUE(QFile::exists(errorLogPath())) << "a refused run deletes nothing";
    EXPECT_FALSE(QFile::exists(beside(QStringLiteral("evil.DAT"))));
}

// A pipe would hold the run in open() for ever and a device would fill the memory: only regular
// files (or links to them) are read, and anything else is refused, by name, before a thing is done.
TEST_F(BuildPipelineTest, anythingButARegularFileIsRefusedBeforeAnythingIsTouched)
{
    earlierLog();
    const QString pipe = beside(QStringLiteral("파이프"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString linkToPipe = beside(QStringLiteral("파이프.txt"));
    ASSERT_TRUE(QFile::link(pipe, linkToPipe));
    const QString good = file(QStringLiteral("창 1:1 a\nbad"));
    const QStringList before = installEntries();
    for (const QString& other :
         {pipe, linkToPipe, QStringLiteral("/dev/zero"), QStringLiteral("/dev/urandom"), installFolder()}) {
        for (const bool building : {false, true}) {
            SCOPED_TRACE(other.toStdString() + (building ? " build" : " check"));
            RecordingObserver observer;
            BuildPipeline pipeline(programFolder(), observer);
            QString name = QStringLiteral("mine");
            const QStringList files = {good, other, good};
            EXPECT_EQ(building ? pipeline.runBuild(name, files) : pipeline.runCheck(files), RunOutcome::Refused);
            EXPECT_EQ(observer.messages(), QStringList{other + kNotRegular});
            EXPECT_EQ(observer.icons(), QList<MessageIcon>{MessageIcon::Exclamation});
            EXPECT_EQ(observer.log(), QStringList{QStringLiteral("message")}) << "nothing shown but the refusal";
        }
    }
    EXPECT_EQ(installEntries(), before) << "no version file made";
    QFile log(errorLogPath());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(log.readAll(), QByteArray("earlier\r\n")) << "the earlier log is not touched";
}

// When several files are listed, the failure says which one failed, on the line after the description.
TEST_F(BuildPipelineTest, aFailureNamesTheFileItConcerns)
{
    const QString first = file(QStringLiteral("창 1:1 a\nbad"));
    const QString missing = beside(QStringLiteral("없음.txt"));
    EXPECT_EQ(check({first, missing, first}), RunOutcome::Failed);
    EXPECT_EQ(m_observer.messages(),
              QStringList{QStringLiteral("파일을 찾을 수 없습니다.\r\n") + missing + kPhase2Failure});
    EXPECT_FALSE(QFile::exists(errorLogPath())) << "the entries of the first file are dropped";

    // The reference version, in both phases of a build.
    QFile::remove(referencePath());
    const QString reference = versiondb::referenceVersionPath(programFolder());
    RecordingObserver building;
    EXPECT_EQ(build(QStringLiteral("mine"), {first}, &building), RunOutcome::Failed);
    ASSERT_EQ(building.messages().size(), 2);
    EXPECT_EQ(building.messages()[0], QStringLiteral("파일을 찾을 수 없습니다.\r\n") + reference + kPhase1Failure);
    EXPECT_EQ(building.messages()[1], QStringLiteral("파일을 찾을 수 없습니다.\r\n") + reference + kBuildFailure);
}

// The program folder read-only: the earlier log cannot be deleted, and the check says why.
TEST_F(BuildPipelineTest, aReadOnlyProgramFolderIsSaidToBeReadOnly)
{
    earlierLog();
    const testsupport::ReadOnlyFolder readOnly(programFolder());
    if (!readOnly.isActive()) {
        GTEST_SKIP() << "no folder can be made read-only here";
    }
    EXPECT_EQ(check({file(QStringLiteral("창 1:1 a"))}), RunOutcome::Failed);
    EXPECT_EQ(m_observer.messages(), QStringList{QStringLiteral("읽기 전용 폴더여서 파일을 지울 수 없습니다.\r\n") +
                                                 errorLogPath() + kPhase2Failure});
}

// The install and program folders on a disk that is full: a build says so in both phases and
// leaves no version behind; a check that finds errors says so and leaves no log behind.
TEST_F(BuildPipelineTest, aFullDiskIsReportedAsAFullDisk)
{
    const auto bytesOf = [](const QString& path) {
        QFile in(path);
        EXPECT_TRUE(in.open(QIODevice::ReadOnly));
        return in.readAll();
    };
    const QByteArray reference = bytesOf(referencePath());
    const QByteArray emptyVersion = bytesOf(templatePath());
    const testsupport::SmallDisk disk(installFolder(), 512 * 1024);
    if (!disk.isActive()) {
        GTEST_SKIP() << "no file system can be mounted here";
    }
    ASSERT_TRUE(QDir().mkpath(programFolder()));
    for (const auto& [path, bytes] : {std::pair{referencePath(), reference}, std::pair{templatePath(), emptyVersion}}) {
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        ASSERT_EQ(out.write(bytes), bytes.size());
    }
    {
        QFile filler(installFolder() + QStringLiteral("/filler"));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
    }
    const QString text = file(QStringLiteral("창 1:1 a\nbad"));
    const QString target = versiondb::versionPath(programFolder(), QStringLiteral("mine.DAT"));
    RecordingObserver building;
    EXPECT_EQ(build(QStringLiteral("mine"), {text}, &building), RunOutcome::Failed);
    EXPECT_EQ(building.messages(),
              (QStringList{kDiskFull + target + kPhase1Failure, kDiskFull + target + kBuildFailure}));
    EXPECT_FALSE(QFile::exists(target));

    EXPECT_EQ(check({text}), RunOutcome::Failed);
    EXPECT_EQ(m_observer.messages(), QStringList{kDiskFull + errorLogPath() + kPhase2Failure});
    EXPECT_EQ(QDir(programFolder()).entryList(QDir::Files), QStringList{QStringLiteral("null.mdb")})
        << "no log, no scratch";
}
