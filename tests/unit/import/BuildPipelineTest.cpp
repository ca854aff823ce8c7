#include "import/BuildPipeline.h"

#include "import/RunMessages.h"
#include "import/RunObserver.h"
#include "import/VersionName.h"
#include "support/InstallTreeTest.h"
#include "support/MountedFolders.h"
#include "support/TestPaths.h"
#include "versiondb/Names.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

using importer::BuildPipeline;
using importer::RunMessages;
using importer::RunOutcome;
using platform::MessageIcon;
using testsupport::storedTexts;
using Texts = QList<std::pair<QString, QString>>;
using namespace Qt::StringLiterals;

namespace {

const QString kBuildFailure = RunMessages::phase2Failure({}, true);
const QString kMissing = u"파일을 찾을 수 없습니다."_s;

// Records what a run shows as short lines ("status 1/2 작업중...", "message"), the messages and their
// icons, and the highest progress value; onEvents acts at each chance for events.
struct Observer final : importer::RunObserver
{
    void showStatus(const QString& text) override { log << u"status "_s + text; }
    void hideStatus() override { log << u"hide status"_s; }
    void showProgress(int, int) override {}
    void setProgressValue(int value) override { highest = std::max(highest, value); }
    void hideProgress() override {}
    void setBusy(bool busy) override { log << (busy ? u"busy"_s : u"not busy"_s); }
    void processEvents() override { onEvents(); }
    void versionNameCompleted(const QString& name) override { log << u"name "_s + name; }
    void showMessage(MessageIcon icon, const QString& text) override
    {
        log << u"message"_s;
        messages << text;
        icons << icon;
    }
    void openErrorLog(const QString& path) override { log << u"open "_s + path; }

    QStringList log, messages;
    QList<MessageIcon> icons;
    int highest = 0;
    std::function<void()> onEvents = [] {};
};

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

    QString referencePath() const { return path(u"개역.DAT"_s); }
    QString errorLogPath() const { return programFile(u"err.txt"_s); }
    // A text file in code page 949 of these lines, given separated by LF.
    QString file(const QString& lines) { return textFile(u"%1.txt"_s.arg(++m_files), lines.split(u'\n')); }
    void earlierLog() const { writeFile(u"manager/err.txt"_s, "earlier\r\n"); }

    // A build run into the version of that name; m_name holds the name as the run left it.
    RunOutcome build(const QString& name, const QStringList& files, Observer* observer = nullptr)
    {
        m_name = name;
        return BuildPipeline(programFolder(), observer ? *observer : m_observer).runBuild(m_name, files);
    }
    RunOutcome check(const QStringList& files) { return BuildPipeline(programFolder(), m_observer).runCheck(files); }

    Observer m_observer;
    QString m_name;
    int m_files = 0;
};

} // namespace

// The later of two lines for one verse wins, and all are counted; a name with a full stop is used
// unchanged, and an empty text is stored as the four letters "null".
TEST_F(BuildPipelineTest, aBuildStoresEveryLineAndASecondOneOverwritesOnlySuppliedVerses)
{
    const QString repeated = QString(u"창 1:1 later\n"_s).repeated(4) + u"bad"_s;
    EXPECT_EQ(build(u"mine"_s, {file(u"창 1:1 first\n창 1:2 second\n창 1:3x"_s), file(repeated)}),
              RunOutcome::LineErrors);
    EXPECT_TRUE(m_observer.log.contains(u"name mine.DAT"_s) && m_observer.log.contains(u"status 1/2 작업중..."_s));
    EXPECT_EQ(m_observer.messages, QStringList{RunMessages::buildFinishedWithErrors(u"mine.DAT"_s, 7)});
    EXPECT_EQ(m_observer.icons, QList<MessageIcon>{MessageIcon::Exclamation});
    EXPECT_EQ(m_observer.highest, 4) << "seven verses stored, but the reference has four";
    EXPECT_EQ(m_observer.log.last(), u"open "_s + errorLogPath());
    Observer second;
    EXPECT_EQ(build(u"mine.DAT"_s, {file(u"창 1:2 changed"_s)}, &second), RunOutcome::Clean);
    EXPECT_FALSE(second.log.contains(u"status 1/2 작업중..."_s) || second.log.join(',').contains(u"name"_s));
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
    EXPECT_EQ(check({first, missing, first}), RunOutcome::Failed);
    EXPECT_EQ(m_observer.messages, QStringList{RunMessages::phase2Failure(kMissing, false, missing)});
    EXPECT_FALSE(QFile::exists(errorLogPath())) << "the entries of the first file are dropped";
    QFile::remove(programFile(u"null.mdb"_s));
    Observer noTemplate;
    EXPECT_EQ(build(u"mine"_s, {first}, &noTemplate), RunOutcome::Failed);
    EXPECT_TRUE(noTemplate.messages.size() == 2 && noTemplate.messages[1].endsWith(kBuildFailure));
    EXPECT_EQ(installEntries(), QStringList{u"개역.DAT"_s});
    QFile::remove(referencePath());
    const QString reference = versiondb::referenceVersionPath(programFolder());
    Observer building;
    EXPECT_EQ(build(u"mine"_s, {first}, &building), RunOutcome::Failed);
    EXPECT_EQ(building.messages, (QStringList{RunMessages::phase1Failure(kMissing, reference),
                                              RunMessages::phase2Failure(kMissing, true, reference)}));
    EXPECT_EQ(building.icons, (QList<MessageIcon>{MessageIcon::None, MessageIcon::Exclamation}));
}

// A text file that vanishes mid-run, and an existing target that lacks a verse: the run stops
// without a log but keeps what it stored.
TEST_F(BuildPipelineTest, aFailureMidRunKeepsWhatWasStored)
{
    const QString second = file(u"창 1:2 b"_s);
    m_observer.onEvents = [&] { QFile::remove(second); };
    EXPECT_EQ(build(u"mine"_s, {file(u"bad line\n창 1:1 a"_s), second}), RunOutcome::Failed);
    EXPECT_FALSE(QFile::exists(errorLogPath()));
    EXPECT_TRUE(testsupport::openable(referencePath()));
    EXPECT_EQ(storedTexts(path(m_name))[0].second, u"a"_s);
    ASSERT_FALSE(makeVersion(u"short.DAT"_s, testsupport::smallReferenceVerses().mid(0, 1)).isEmpty());
    Observer shortTarget;
    EXPECT_EQ(build(u"short.DAT"_s, {file(u"창 1:1 a\n창 1:2 b"_s)}, &shortTarget), RunOutcome::Failed);
    EXPECT_EQ(storedTexts(path(m_name)), (Texts{{u"창 1:1"_s, u"a"_s}}));
    for (const Observer& run : {m_observer, shortTarget}) {
        ASSERT_EQ(run.messages.size(), 1);
        EXPECT_TRUE(run.messages[0].endsWith(kBuildFailure));
    }
}

TEST(VersionName, aNameThatWouldLeaveTheInstallFolderIsRefused)
{
    for (const char* bad : {"..", "a/b", "a\\b", "tab\there"}) {
        EXPECT_TRUE(importer::versionNameProblem(QString::fromUtf8(bad)).has_value()) << bad;
    }
    EXPECT_FALSE(importer::versionNameProblem(u"공동 번역.v1"_s).has_value());
}

// A pipe would hold the run in open() for ever and a device would fill the memory: only regular
// files (or links to them) are read, and anything else is refused, by name, before a thing is done;
// so is a database, which may be the very version the run holds.
TEST_F(BuildPipelineTest, anythingButARegularFileIsRefusedBeforeAnythingIsTouched)
{
    earlierLog();
    const QString pipe = beside(u"파이프"_s);
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString good = file(u"창 1:1 a\nbad"_s);
    const QString version = makeVersion(u"v.dat"_s, 3);
    const QStringList before = installEntries();
    for (const QString& other : {pipe, installFolder(), version}) {
        for (const bool building : {false, true}) {
            Observer observer;
            BuildPipeline pipeline(programFolder(), observer);
            QString name = u"mine"_s;
            const QStringList files = {good, other, good};
            EXPECT_EQ(building ? pipeline.runBuild(name, files) : pipeline.runCheck(files), RunOutcome::Refused);
            EXPECT_EQ(
                observer.messages,
                QStringList{other + (other == version ? u"\r\n\r\n역본파일과 같은 데이터베이스 파일은 텍스트파일로 "
                                                        "읽을 수 없습니다. 목록에서 삭제하여 주십시오 !"_s
                                                      : u"\r\n\r\n텍스트파일이 아닌 폴더나 장치, 파이프는 읽을 "
                                                        "수 없습니다. 목록에서 삭제하여 주십시오 !"_s)});
            EXPECT_EQ(observer.log, QStringList{u"message"_s}) << "nothing shown but the refusal";
        }
    }
    EXPECT_EQ(installEntries(), before) << "no version file made";
    EXPECT_EQ(testsupport::bytes(errorLogPath()), QByteArray("earlier\r\n")) << "the earlier log is not touched";
}

// The program folder read-only: the earlier log cannot be deleted, nor a new one made, and the check says why.
TEST_F(BuildPipelineTest, aReadOnlyProgramFolderIsSaidToBeReadOnly)
{
    const QString text = file(u"창 1:1 a\nbad"_s);
    for (const bool earlier : {false, true}) {
        if (earlier) {
            earlierLog();
        }
        const testsupport::ReadOnlyFolder readOnly(programFolder());
        if (!readOnly.isActive()) {
            GTEST_SKIP() << "no folder can be made read-only here";
        }
        Observer checking;
        EXPECT_EQ(BuildPipeline(programFolder(), checking).runCheck({text}), RunOutcome::Failed);
        EXPECT_EQ(checking.messages,
                  QStringList{RunMessages::phase2Failure(earlier ? u"읽기 전용 폴더여서 파일을 지울 수 없습니다."_s
                                                                 : u"읽기 전용 폴더여서 파일을 만들 수 없습니다."_s,
                                                         false, errorLogPath())});
    }
}

// The install and program folders on a disk that is full: a build says so in both phases and
// leaves no version behind; a check that finds errors says so and leaves no log behind.
TEST_F(BuildPipelineTest, aFullDiskIsReportedAsAFullDisk)
{
    const QByteArray reference = testsupport::bytes(referencePath());
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
    Observer building;
    EXPECT_EQ(build(u"mine"_s, {text}, &building), RunOutcome::Failed);
    EXPECT_EQ(building.messages, (QStringList{RunMessages::phase1Failure(diskFull, target),
                                              RunMessages::phase2Failure(diskFull, true, target)}));
    EXPECT_FALSE(QFile::exists(target));
    EXPECT_EQ(check({text}), RunOutcome::Failed);
    EXPECT_EQ(m_observer.messages, QStringList{RunMessages::phase2Failure(diskFull, false, errorLogPath())});
    EXPECT_EQ(QDir(programFolder()).entryList(QDir::Files), QStringList{u"null.mdb"_s}) << "no log, no scratch";
}
