#include "import/BuildPipeline.h"

#include "RecordingObserver.h"
#include "support/TestPaths.h"
#include "versiondb/DBEngine.h"
#include "versiondb/Database.h"
#include "versiondb/Error.h"
#include "versiondb/Password.h"
#include "versiondb/Recordset.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using importer::BuildPipeline;
using importer::RunOutcome;
using platform::MessageIcon;
using testsupport::RecordingObserver;

namespace {

const QString kPhase1Failure =
    QStringLiteral("\r\n\r\n위와 같이 예상치 않은 오류가 발생하여 작업을 중지합니다! 전문가와 상의하십시오.");
const QString kPhase2Failure = QStringLiteral("\r\n\r\n위와 같은 예상치 않은 오류가 발생하여 작업을 중단합니다 !");
const QString kDeleteFailedVersion = QStringLiteral("\r\n실패한 역본파일은 삭제하십시오 !");

struct Verse
{
    int number;
    int book;
    int chapter;
    int verse;
    QString reference;
};

// The verses of a small reference version: 창 1:1 to 1:3 and 출 1:1.
const QList<Verse> kSmallReference = {
    {1, 1, 1, 1, QStringLiteral("창 1:1")},
    {2, 1, 1, 2, QStringLiteral("창 1:2")},
    {3, 1, 1, 3, QStringLiteral("창 1:3")},
    {4, 2, 1, 1, QStringLiteral("출 1:1")},
};

class BuildPipelineTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_root.isValid());
        m_install = m_root.filePath(QStringLiteral("viewer"));
        m_program = m_install + QStringLiteral("/manager");
        ASSERT_TRUE(QDir().mkpath(m_program));
        ASSERT_TRUE(QFile::copy(testsupport::builtProgramFolder() + QStringLiteral("/null.mdb"), templatePath()));
        makeVersion(referencePath(), kSmallReference);
    }

    QString templatePath() const { return m_program + QStringLiteral("/null.mdb"); }
    QString referencePath() const { return m_install + QStringLiteral("/개역.DAT"); }
    QString versionPath(const QString& name) const { return m_install + QStringLiteral("/") + name; }
    QString errorLogPath() const { return m_program + QStringLiteral("/err.txt"); }

    void useFullReference()
    {
        QFile::remove(referencePath());
        ASSERT_TRUE(QFile::copy(testsupport::builtInstallFolder() + QStringLiteral("/개역.DAT"), referencePath()));
    }

    // A version file holding exactly these verses, made from the template.
    void makeVersion(const QString& path, const QList<Verse>& verses)
    {
        ASSERT_TRUE(QFile::copy(templatePath(), path));
        auto db = versiondb::DBEngine::instance().OpenDatabase(path, true, false, versiondb::passwordConnect());
        auto rs = db->OpenRecordset(QStringLiteral("본문"));
        for (const Verse& v : verses) {
            rs->AddNew();
            rs->Fields(QStringLiteral("번호")).setValue(v.number);
            rs->Fields(QStringLiteral("권")).setValue(v.book);
            rs->Fields(QStringLiteral("장")).setValue(v.chapter);
            rs->Fields(QStringLiteral("절")).setValue(v.verse);
            rs->Fields(QStringLiteral("성경구절")).setValue(v.reference);
            rs->Update();
        }
        rs->Close();
        db->Close();
    }

    // A text file in code page 949 with CR LF line ends.
    QString textFile(const QString& name, const QStringList& lines)
    {
        const QString path = m_root.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        QStringEncoder encoder("windows-949");
        file.write(encoder.encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
        return path;
    }

    // The texts of every verse of a version, by reference, in 번호 order; Null as "<Null>".
    QList<std::pair<QString, QString>> texts(const QString& path)
    {
        QList<std::pair<QString, QString>> result;
        auto db = versiondb::DBEngine::instance().OpenDatabase(path, true, false, versiondb::passwordConnect());
        auto rs = db->OpenRecordset(QStringLiteral("본문"));
        rs->setIndex(QStringLiteral("번호"));
        int expectedNumber = 1;
        for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
            EXPECT_EQ(rs->Fields(QStringLiteral("번호")).Value().toInt(), expectedNumber++);
            const QVariant text = rs->Fields(QStringLiteral("본문")).Value();
            result.append({rs->Fields(QStringLiteral("성경구절")).Value().toString(),
                           text.isNull() ? QStringLiteral("<Null>") : text.toString()});
        }
        rs->Close();
        db->Close();
        return result;
    }

    // Opening the file exclusively works: no run left it open.
    static bool openable(const QString& path)
    {
        try {
            auto db = versiondb::DBEngine::instance().OpenDatabase(path, true, false, versiondb::passwordConnect());
            db->Close();
            return true;
        } catch (const versiondb::Error&) {
            return false;
        }
    }

    QStringList installListing() const
    {
        return QDir(m_install).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    QByteArray fileHash(const QString& path) const
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
    }

    QTemporaryDir m_root;
    QString m_install;
    QString m_program;
    RecordingObserver m_observer;
};

QString builtMessage(const QString& name)
{
    return name +
           QStringLiteral("\r\n\r\n만들기 작업이 완료되었습니다.\r\n\r\n관리기 프로그램을 종료하시고 벼리솔을 실행하면 "
                          "만든역본이 추가되어 있을 것입니다.");
}

QString builtWithErrorsMessage(const QString& name, int count)
{
    return name + QStringLiteral("\r\n\r\n만들기 작업이 완료되었습니다.\r\n텍스트파일에서 추가된 절수는 총: ") +
           QString::number(count) +
           QStringLiteral("절입니다\r\n\r\n그러나 텍스트파일에서 편집오류가 발견되어 일부 구절을 추가하지 못했습니다. "
                          "오류목록파일('err.txt')을 열고 올바르게 편집후 다시 재작업하십시오.\r\n('err.txt'파일의 "
                          "참조가 완료되면 삭제하십시오)");
}

} // namespace

TEST_F(BuildPipelineTest, buildsANewVersionWithTheWholeReferenceSkeleton)
{
    useFullReference();
    const QString file = textFile(QStringLiteral("a.txt"),
                                  {QStringLiteral("창 1:1 In the beginning"), QStringLiteral("계 22:21 Amen.")});
    BuildPipeline pipeline(QDir::toNativeSeparators(m_program), m_observer);
    QString name = QStringLiteral("새번역");
    EXPECT_EQ(pipeline.runBuild(name, {file}), RunOutcome::Clean);

    EXPECT_EQ(name, QStringLiteral("새번역.DAT"));
    EXPECT_TRUE(m_observer.log().contains(QStringLiteral("name 새번역.DAT")));
    EXPECT_TRUE(m_observer.log().contains(QStringLiteral("status 1/2 작업중...")));
    EXPECT_TRUE(m_observer.log().contains(QStringLiteral("status 2/2 작업중...")));
    EXPECT_EQ(m_observer.messages(), QStringList{builtMessage(QStringLiteral("새번역.DAT"))});
    EXPECT_EQ(m_observer.icons(), QList<MessageIcon>{MessageIcon::Information});
    EXPECT_FALSE(QFile::exists(errorLogPath()));

    const auto stored = texts(versionPath(QStringLiteral("새번역.DAT")));
    ASSERT_EQ(stored.size(), 31102);
    EXPECT_EQ(stored.first(), std::make_pair(QStringLiteral("창 1:1"), QStringLiteral("In the beginning")));
    EXPECT_EQ(stored.last(), std::make_pair(QStringLiteral("계 22:21"), QStringLiteral("Amen.")));
    const auto supplied = std::count_if(stored.begin(), stored.end(),
                                        [](const auto& verse) { return verse.second != QStringLiteral("<Null>"); });
    EXPECT_EQ(supplied, 2);
    EXPECT_EQ(texts(referencePath()).size(), 31102) << "the reference version keeps its records";
}

TEST_F(BuildPipelineTest, aNameWithAFullStopIsUsedUnchanged)
{
    const QString file = textFile(QStringLiteral("a.txt"), {QStringLiteral("창 1:1 a")});
    BuildPipeline pipeline(m_program, m_observer);
    QString name = QStringLiteral("my.ver");
    EXPECT_EQ(pipeline.runBuild(name, {file}), RunOutcome::Clean);
    EXPECT_EQ(name, QStringLiteral("my.ver"));
    EXPECT_TRUE(QFileInfo(versionPath(QStringLiteral("my.ver"))).isFile());
    EXPECT_FALSE(QFile::exists(versionPath(QStringLiteral("my.ver.DAT"))));
    for (const QString& line : m_observer.log()) {
        EXPECT_FALSE(line.startsWith(QStringLiteral("name "))) << line.toStdString();
    }
}

TEST_F(BuildPipelineTest, aSecondBuildSkipsPhaseOneAndOverwritesOnlySuppliedVerses)
{
    {
        RecordingObserver first;
        BuildPipeline pipeline(m_program, first);
        QString name = QStringLiteral("mine");
        pipeline.runBuild(name, {textFile(QStringLiteral("1.txt"),
                                          {QStringLiteral("창 1:1 first"), QStringLiteral("창 1:2 second")})});
    }
    BuildPipeline pipeline(m_program, m_observer);
    QString name = QStringLiteral("mine.DAT");
    EXPECT_EQ(pipeline.runBuild(name, {textFile(QStringLiteral("2.txt"), {QStringLiteral("창 1:1 changed")})}),
              RunOutcome::Clean);
    EXPECT_FALSE(m_observer.log().contains(QStringLiteral("status 1/2 작업중...")));
    const auto stored = texts(versionPath(QStringLiteral("mine.DAT")));
    ASSERT_EQ(stored.size(), 4);
    EXPECT_EQ(stored[0].second, QStringLiteral("changed"));
    EXPECT_EQ(stored[1].second, QStringLiteral("second"));
    EXPECT_EQ(stored[2].second, QStringLiteral("<Null>"));
}

TEST_F(BuildPipelineTest, anEmptyTextIsStoredAsTheFourLettersNull)
{
    BuildPipeline pipeline(m_program, m_observer);
    QString name = QStringLiteral("mine");
    const QString file = textFile(QStringLiteral("a.txt"),
                                  {QStringLiteral("창 1:1x"), QStringLiteral("창 1:2"), QStringLiteral("창 1:3   ")});
    EXPECT_EQ(pipeline.runBuild(name, {file}), RunOutcome::Clean);
    const auto stored = texts(versionPath(QStringLiteral("mine.DAT")));
    EXPECT_EQ(stored[0].second, QStringLiteral("null"));
    EXPECT_EQ(stored[1].second, QStringLiteral("null"));
    EXPECT_EQ(stored[2].second, QStringLiteral("null"));
}

TEST_F(BuildPipelineTest, theLaterOfTwoLinesForOneVerseWinsAndBothAreCounted)
{
    BuildPipeline pipeline(m_program, m_observer);
    QString name = QStringLiteral("mine");
    const QString first = textFile(QStringLiteral("a.txt"), {QStringLiteral("창 1:1 earlier")});
    const QString second = textFile(QStringLiteral("b.txt"), {QStringLiteral("창 1:1 later"), QStringLiteral("bad")});
    EXPECT_EQ(pipeline.runBuild(name, {first, second}), RunOutcome::LineErrors);
    EXPECT_EQ(texts(versionPath(QStringLiteral("mine.DAT")))[0].second, QStringLiteral("later"));
    EXPECT_EQ(m_observer.messages(), QStringList{builtWithErrorsMessage(QStringLiteral("mine.DAT"), 2)});
    EXPECT_EQ(m_observer.icons(), QList<MessageIcon>{MessageIcon::Exclamation});
    EXPECT_TRUE(QFileInfo(errorLogPath()).isFile());
    EXPECT_EQ(m_observer.log().last(2).first(), QStringLiteral("open ") + errorLogPath());
}

TEST_F(BuildPipelineTest, theProgressValueNeverPassesTheMaximum)
{
    BuildPipeline pipeline(m_program, m_observer);
    QString name = QStringLiteral("mine");
    const QStringList lines(10, QStringLiteral("창 1:1 again"));
    EXPECT_EQ(pipeline.runBuild(name, {textFile(QStringLiteral("a.txt"), lines)}), RunOutcome::Clean);
    EXPECT_EQ(pipeline.acceptedCount(), 10);
    EXPECT_EQ(m_observer.highestValue(), 4);
    EXPECT_FALSE(m_observer.valueAboveMaximum());
}

TEST_F(BuildPipelineTest, aCheckRunOnlyReadsTheReferenceVersion)
{
    const QStringList before = installListing();
    const QByteArray referenceBefore = fileHash(referencePath());
    BuildPipeline pipeline(m_program, m_observer);
    const QString file = textFile(QStringLiteral("a.txt"), {QStringLiteral("창 1:1 a"), QStringLiteral("창 9:9 b")});
    EXPECT_EQ(pipeline.runCheck({file}), RunOutcome::LineErrors);
    EXPECT_EQ(installListing(), before);
    EXPECT_EQ(fileHash(referencePath()), referenceBefore);
    for (const QString& line : m_observer.log()) {
        EXPECT_FALSE(line.startsWith(QStringLiteral("status")) || line.startsWith(QStringLiteral("progress")))
            << line.toStdString();
    }
    EXPECT_EQ(m_observer.icons(), QList<MessageIcon>{MessageIcon::Exclamation});
    EXPECT_TRUE(
        m_observer.messages().first().startsWith(QStringLiteral("테스트 작업이 완료되었습니다.\r\n\r\n그러나")));
    EXPECT_TRUE(m_observer.log().contains(QStringLiteral("open ") + errorLogPath()));
}

TEST_F(BuildPipelineTest, aCleanRunRemovesTheLogOfAnEarlierRun)
{
    BuildPipeline pipeline(m_program, m_observer);
    EXPECT_EQ(pipeline.runCheck({textFile(QStringLiteral("bad.txt"), {QStringLiteral("x")})}), RunOutcome::LineErrors);
    ASSERT_TRUE(QFile::exists(errorLogPath()));
    EXPECT_EQ(pipeline.runCheck({textFile(QStringLiteral("good.txt"), {QStringLiteral("창 1:1 a")})}),
              RunOutcome::Clean);
    EXPECT_FALSE(QFile::exists(errorLogPath()));
    EXPECT_EQ(m_observer.messages().last(), QStringLiteral("테스트 작업이 완료되었습니다.\r\n\r\n지금 목록에 있는 "
                                                           "텍스트파일은 편집오류가 발견되지 않았습니다."));
    EXPECT_EQ(m_observer.icons().last(), MessageIcon::Information);
}

TEST_F(BuildPipelineTest, aMissingReferenceFailsBothPhasesOfABuildButOnlyTheCheckOfACheckRun)
{
    QFile::remove(referencePath());
    const QString file = textFile(QStringLiteral("a.txt"), {QStringLiteral("창 1:1 a")});
    {
        BuildPipeline pipeline(m_program, m_observer);
        QString name = QStringLiteral("mine");
        EXPECT_EQ(pipeline.runBuild(name, {file}), RunOutcome::Failed);
        ASSERT_EQ(m_observer.messages().size(), 2);
        EXPECT_TRUE(m_observer.messages()[0].endsWith(kPhase1Failure));
        EXPECT_FALSE(m_observer.messages()[0].startsWith(QStringLiteral("\r\n"))) << "it starts with the description";
        EXPECT_TRUE(m_observer.messages()[1].endsWith(kPhase2Failure + kDeleteFailedVersion));
        EXPECT_EQ(m_observer.icons(), (QList<MessageIcon>{MessageIcon::None, MessageIcon::Exclamation}));
    }
    RecordingObserver check;
    BuildPipeline pipeline(m_program, check);
    EXPECT_EQ(pipeline.runCheck({file}), RunOutcome::Failed);
    ASSERT_EQ(check.messages().size(), 1);
    EXPECT_TRUE(check.messages()[0].endsWith(kPhase2Failure));
    EXPECT_FALSE(QFile::exists(errorLogPath()));
}

TEST_F(BuildPipelineTest, aMissingTemplateFailsTheCopyAndThenTheOpenOfTheTarget)
{
    QFile::remove(templatePath());
    BuildPipeline pipeline(m_program, m_observer);
    QString name = QStringLiteral("mine");
    EXPECT_EQ(pipeline.runBuild(name, {textFile(QStringLiteral("a.txt"), {QStringLiteral("창 1:1 a")})}),
              RunOutcome::Failed);
    ASSERT_EQ(m_observer.messages().size(), 2);
    EXPECT_TRUE(m_observer.messages()[0].endsWith(kPhase1Failure));
    EXPECT_TRUE(m_observer.messages()[1].endsWith(kPhase2Failure + kDeleteFailedVersion));
    EXPECT_FALSE(QFile::exists(versionPath(QStringLiteral("mine.DAT"))));
    EXPECT_TRUE(openable(referencePath()));
}

TEST_F(BuildPipelineTest, aTextFileThatVanishesMidRunStopsItWithoutALog)
{
    const QString first = textFile(QStringLiteral("a.txt"), {QStringLiteral("bad line"), QStringLiteral("창 1:1 a")});
    const QString second = textFile(QStringLiteral("b.txt"), {QStringLiteral("창 1:2 b")});
    m_observer.onEvents = [&](int) { QFile::remove(second); };
    BuildPipeline pipeline(m_program, m_observer);
    QString name = QStringLiteral("mine");
    EXPECT_EQ(pipeline.runBuild(name, {first, second}), RunOutcome::Failed);
    EXPECT_FALSE(QFile::exists(errorLogPath()));
    EXPECT_TRUE(m_observer.messages().last().endsWith(kPhase2Failure + kDeleteFailedVersion));
    EXPECT_TRUE(openable(versionPath(QStringLiteral("mine.DAT"))));
    EXPECT_TRUE(openable(referencePath()));
    EXPECT_EQ(texts(versionPath(QStringLiteral("mine.DAT")))[0].second, QStringLiteral("a"))
        << "verses written before the failure stay written";
}

TEST_F(BuildPipelineTest, aTargetHeldOpenFailsPhaseTwoAndEverythingIsReleased)
{
    makeVersion(versionPath(QStringLiteral("held.DAT")), kSmallReference);
    auto held = versiondb::DBEngine::instance().OpenDatabase(versionPath(QStringLiteral("held.DAT")), true, false,
                                                             versiondb::passwordConnect());
    BuildPipeline pipeline(m_program, m_observer);
    QString name = QStringLiteral("held");
    EXPECT_EQ(pipeline.runBuild(name, {textFile(QStringLiteral("a.txt"), {QStringLiteral("창 1:1 a")})}),
              RunOutcome::Failed);
    ASSERT_EQ(m_observer.messages().size(), 1);
    EXPECT_TRUE(m_observer.messages()[0].endsWith(kPhase2Failure + kDeleteFailedVersion));
    EXPECT_TRUE(openable(referencePath()));
    held->Close();
    EXPECT_EQ(texts(versionPath(QStringLiteral("held.DAT")))[0].second, QStringLiteral("<Null>"));
}

TEST_F(BuildPipelineTest, anExistingTargetWithoutTheVerseFailsWithNoCurrentRecord)
{
    makeVersion(versionPath(QStringLiteral("short.DAT")), kSmallReference.mid(0, 1));
    BuildPipeline pipeline(m_program, m_observer);
    QString name = QStringLiteral("short.DAT");
    const QString file = textFile(QStringLiteral("a.txt"), {QStringLiteral("창 1:1 a"), QStringLiteral("창 1:2 b")});
    EXPECT_EQ(pipeline.runBuild(name, {file}), RunOutcome::Failed);
    ASSERT_EQ(m_observer.messages().size(), 1);
    EXPECT_TRUE(m_observer.messages()[0].endsWith(kPhase2Failure + kDeleteFailedVersion));
    const auto stored = texts(versionPath(QStringLiteral("short.DAT")));
    ASSERT_EQ(stored.size(), 1);
    EXPECT_EQ(stored[0].second, QStringLiteral("a"));
}

TEST_F(BuildPipelineTest, phaseOneClosesTheReferenceInEveryCase)
{
    makeVersion(versionPath(QStringLiteral("there.DAT")), kSmallReference);
    for (const QString& start : {QStringLiteral("there"), QStringLiteral("new")}) {
        SCOPED_TRACE(start.toStdString());
        BuildPipeline pipeline(m_program, m_observer);
        QString name = start;
        EXPECT_TRUE(pipeline.PrepareTargetVersion(name));
        EXPECT_TRUE(openable(referencePath()));
        EXPECT_TRUE(openable(versionPath(name)));
    }
}

TEST_F(BuildPipelineTest, aVersionNameThatLeavesTheInstallFolderIsRefusedBeforeAnythingIsTouched)
{
    QFile earlierLog(errorLogPath());
    ASSERT_TRUE(earlierLog.open(QIODevice::WriteOnly));
    earlierLog.close();
    const QString file = textFile(QStringLiteral("a.txt"), {QStringLiteral("창 1:1 a")});
    const QStringList before = installListing();
    const QString names[] = {QStringLiteral("../evil"), QStringLiteral("a/b"),      QStringLiteral("a\\b"),
                             QStringLiteral(".."),      QStringLiteral("x:y"),      QStringLiteral("what?"),
                             QStringLiteral("a*"),      QStringLiteral("a|b"),      QStringLiteral("<a>"),
                             QStringLiteral("\"q\""),   QStringLiteral("tab\there")};
    for (const QString& bad : names) {
        SCOPED_TRACE(bad.toStdString());
        RecordingObserver observer;
        BuildPipeline pipeline(m_program, observer);
        QString name = bad;
        EXPECT_EQ(pipeline.runBuild(name, {file}), RunOutcome::Refused);
        ASSERT_EQ(observer.messages().size(), 1);
        EXPECT_EQ(
            observer.messages()[0],
            QStringLiteral("역본명에는 폴더 구분 기호(\\ /), '..', 그리고 파일 이름에 쓸 수 없는 문자(: * ? \" < > "
                           "|)를 넣을 수 없습니다 !"));
        EXPECT_EQ(observer.icons(), QList<MessageIcon>{MessageIcon::Exclamation});
        EXPECT_EQ(name, bad);
    }
    EXPECT_EQ(installListing(), before);
    EXPECT_TRUE(QFile::exists(errorLogPath())) << "a refused run deletes nothing";
    EXPECT_FALSE(QFile::exists(m_root.filePath(QStringLiteral("evil.DAT"))));
}
