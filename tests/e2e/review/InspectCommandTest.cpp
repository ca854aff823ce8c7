// byeorisol-data inspect, run as a user runs it: its output, its exit codes and its refusals.

#include "support/InstallTreeTest.h"
#include "versiondb/VersionStore.h"

using namespace Qt::StringLiterals;

using InspectCommand = testsupport::DataCommandTest;

TEST_F(InspectCommand, listsFindingsByKindAndExitsOneZeroOrTwo)
{
    // Exit 1: the two verses the KJV lacks. The King James text has no fault of encoding, spaces, brackets or copying
    // (it does repeat words), and none of length against itself.
    ASSERT_EQ(run(QStringList{u"build"_s, u"whole"_s} + testsupport::kjvBookFiles()).exitCode, 1);
    const QString whole = path(u"whole.DAT"_s);
    expectRun({u"inspect"_s, whole, u"--against"_s, whole, u"--skip"_s, u"repeated-word"_s}, 0,
              u"본문 31,100개를 점검하였으나 이상한 곳을 찾지 못했습니다."_s);

    ASSERT_EQ(run({u"build"_s, u"mine"_s, testsupport::sample("genesis-1.txt")}).exitCode, 0);
    const QString mine = path(u"mine.DAT"_s);
    (void)testsupport::sql(mine, QString::fromUtf8(R"(
        UPDATE 본문 SET 본문 = 'null' WHERE 성경구절 = '창 1:3';
        UPDATE 본문 SET 본문 = replace(본문, 'God', 'God  (') WHERE 성경구절 = '창 1:5';
        UPDATE 본문 SET 본문 = 'x' WHERE 성경구절 = '창 1:9';)"));
    expectRun({u"inspect"_s, mine, u"--against"_s, whole, u"--skip"_s, u"brackets"_s}, 1, uR"(빈 본문 1
  창 1:3 "null"
겹친 공백 1
  창 1:5 "And God  ( called the lig…"
비교 역본과 길이가 크게 다름 1
  창 1:9 "x" (1자, 비교 역본 103자)
찾은 곳 3군데 (빈 본문 1, 겹친 공백 1, 비교 역본과 길이가 크게 다름 1))"_s);

    // Refusals name the file: missing, in use, an unknown kind.
    expectRun({u"inspect"_s, path(u"none.DAT"_s)}, 2, u"none.DAT\n\n파일을 찾을 수 없습니다."_s);
    const auto held = versiondb::VersionStore::openDatabase(whole);
    const testsupport::CommandResult inUse = run({u"inspect"_s, mine, u"--against"_s, whole});
    EXPECT_EQ(std::pair(inUse.exitCode, inUse.out.section(u'\n', 0, 1)), std::pair(2, u"whole.DAT\n"_s));
    EXPECT_EQ(run({u"inspect"_s, mine, u"--skip"_s, u"brackets,spaces"_s}).err.section(u'\n', 0, 0),
              u"byeorisol-data: 알 수 없는 종류입니다: spaces"_s);
}
