// byeorisol-data compact, repair and delete as a user runs them, and killed at random moments and raced by other
// processes: a version file is always whole, loses no save that returned, and is one file at rest.

#include "maintenance/MaintenanceMessages.h"
#include "maintenance/VersionMaintenance.h"
#include "support/InstallTreeTest.h"
#include "versiondb/ErrorNumbers.h"
#include "versiondb/SideFiles.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <map>
#include <numeric>
#include <set>

using namespace Qt::StringLiterals;
namespace MaintenanceMessages = maintenance::MaintenanceMessages;
using maintenance::Message;
using namespace testsupport;

namespace {

const QString kVersion = u"새역본.DAT"_s;
const QString kInUse = versiondb::errorDescription(versiondb::errorNumber::FileInUse);

// The file passes the integrity check, nothing lies beside it after, and it keeps a rollback journal (bytes 18, 19: 1).
void expectSoundOneFile(const QString& file)
{
    SCOPED_TRACE(file.toStdString());
    EXPECT_EQ(sql(file, u"PRAGMA integrity_check"_s), u"ok"_s);
    EXPECT_NO_THROW((void)storedRecords(file));
    for (const QString& side : versiondb::sideFilePaths(file)) {
        EXPECT_FALSE(QFileInfo::exists(side)) << side.toStdString();
    }
    EXPECT_EQ(bytes(file).mid(18, 2), QByteArray("\x01\x01", 2));
}

class CrashAndRace : public DataCommandTest
{
protected:
    void waitUpTo(qint64 duration) { QThread::usleep(static_cast<unsigned long>(random.bounded(duration))); }
    // Kills a command after a random part of duration (µs); true when it had succeeded before.
    bool runAndKill(const QStringList& arguments, qint64 duration)
    {
        QProcess process;
        start(process, arguments);
        waitUpTo(duration);
        process.kill();
        process.waitForFinished(10000);
        return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    }
    qint64 durationOf(const QStringList& arguments) const
    {
        QElapsedTimer timer;
        timer.start();
        EXPECT_EQ(run(arguments).exitCode, 0);
        return timer.nsecsElapsed() / 1000;
    }
    QString textFileFor(const QString& prefix, const QString& extra = {}) const
    {
        static const QList<StoredRecord> reference = storedRecords(path(u"개역.DAT"_s));
        QByteArray text = "\xef\xbb\xbf";
        for (const StoredRecord& record : reference) {
            text += u"%1 %2 %1\r\n"_s.arg(record.reference.toString(), prefix).toUtf8();
        }
        return writeFile(prefix + u".txt"_s, text + extra.toUtf8());
    }
    // Every wait and kill comes from one seed, 0 unless BYEORISOL_TEST_SEED gives another; failures show it.
    const quint32 seed = testSeed();
    const ::testing::ScopedTrace seedTrace{__FILE__, __LINE__, "BYEORISOL_TEST_SEED=" + std::to_string(seed)};
    QRandomGenerator random{seed};
};

// A build killed at any moment leaves every text of the run or none; delete takes its journal along, and the next
// build, a save and a compaction each leave one sound file.
TEST_F(CrashAndRace, aKilledBuildLeavesAllOfItsTextsOrNoneAndItsVersionIsDeletedWhole)
{
    const QString target = path(kVersion);
    const QString first = textFileFor(u"첫째"_s), second = textFileFor(u"둘째"_s);
    const qint64 duration = durationOf({u"build"_s, kVersion, first});
    std::set<QString> previous = {u"첫째"_s};
    int killedInFirstPhase = 0;
    for (int round = 0; round < 16; ++round) {
        SCOPED_TRACE(round);
        // Every other round starts without the version, so that the first phase (short) is killed too.
        if (round % 2 == 0 && QFileInfo::exists(target)) {
            ASSERT_EQ(run({u"delete"_s, target}).exitCode, 0);
            previous = {u"Null"_s};
        }
        const QString file = round % 4 < 2 ? second : first;
        const bool finished =
            runAndKill({u"build"_s, kVersion, file}, round % 2 == 0 ? duration / 6 : duration * 5 / 4);
        if (!QFileInfo::exists(target)) {
            ++killedInFirstPhase;
            EXPECT_FALSE(finished);
            continue;
        }
        const QList<StoredRecord> records = storedRecords(target);
        EXPECT_EQ(records.size(), 31102);
        std::set<QString> texts;
        for (const StoredRecord& r : records) {
            texts.insert(r.text.isNull() ? u"Null"_s : r.text.toString().left(2));
        }
        EXPECT_TRUE(texts == std::set{file == first ? u"첫째"_s : u"둘째"_s} || (!finished && texts == previous))
            << texts.begin()->toStdString();
        previous = texts;
        expectSoundOneFile(target);
    }
    EXPECT_GT(killedInFirstPhase, 0);
    const QString longText = u"말씀"_s.repeated(512 * 1024);
    const QString texts = textFileFor(u"본문"_s, u"창 1:2 "_s + longText + "\r\n");
    QFile::remove(target);
    QProcess build;
    start(build, {u"build"_s, kVersion, texts});
    // The version takes its name once its skeleton is complete; the journal appears once its texts are being stored.
    while (!QFileInfo::exists(versiondb::journalPath(target)) && !build.waitForFinished(0)) {
        QThread::usleep(200);
    }
    build.kill();
    build.waitForFinished(10000);
    ASSERT_TRUE(QFileInfo::exists(versiondb::journalPath(target))) << "the build ended before it was killed";
    EXPECT_EQ(run({u"delete"_s, target}).exitCode, 0);
    EXPECT_EQ(installEntries(), (QStringList{u"개역.DAT"_s, u"둘째.txt"_s, u"본문.txt"_s, u"첫째.txt"_s}));
    for (const QStringList& arguments :
         {QStringList{u"build"_s, kVersion, texts}, QStringList{u"save"_s, target, u"창 1:3"_s, u"저장"_s},
          QStringList{u"compact"_s, target}}) {
        ASSERT_EQ(run(arguments).exitCode, 0) << arguments.first().toStdString();
        expectSoundOneFile(target);
    }
    EXPECT_EQ(storedText(target, u"창 1:1"_s), QVariant(u"본문 창 1:1"_s));
    EXPECT_EQ(storedText(target, u"창 1:2"_s), QVariant(longText));
}

TEST_F(CrashAndRace, aKilledSaveLosesNoSaveThatReturned)
{
    const QString file = makeVersion(u"mine.dat"_s, 200, Texts::Most);
    const qint64 duration = durationOf({u"save"_s, file, u"창 1:1"_s, u"시험"_s});
    std::map<int, QString> returned;
    int returnedSaves = 0;
    for (int round = 0; round < 40; ++round) {
        const int verse = 1 + round % 7;
        const QString text = u"저장 %1"_s.arg(round);
        // Kills fall anywhere from the start to well after the end of a save as long as the first.
        if (runAndKill({u"save"_s, file, u"창 1:%1"_s.arg(verse), text}, duration * 2)) {
            returned[verse] = text;
            ++returnedSaves;
        } else {
            returned.erase(verse); // it may or may not be in the file; the next save decides
        }
        for (const auto& [v, t] : returned) {
            EXPECT_EQ(storedText(file, u"창 1:%1"_s.arg(v)), QVariant(t)) << round;
        }
    }
    EXPECT_GT(returnedSaves, 0) << "every save was killed: the test proved nothing";
    expectSoundOneFile(file);
}

// Compaction and repair killed at random leave the original or the checked replacement, the next run cleaning up;
// raced by saves from other processes, a save either finds the file in use or is kept.
TEST_F(CrashAndRace, aKilledOrRacedCompactionOrRepairLosesNothing)
{
    const QString file = makeVersion(u"mine.dat"_s, 3000, Texts::Most);
    churn(file);
    const QList<StoredRecord> before = storedRecords(file);
    const QByteArray original = bytes(file);
    // The schema page damaged: the repair salvages every record into a fresh file.
    const QByteArray damaged = QByteArray(original).replace(100, 300, QByteArray(300, '\x33'));
    const QString version = path(kVersion);
    ASSERT_EQ(run({u"build"_s, kVersion, textFileFor(u"본문"_s)}).exitCode, 0);
    const QByteArray whole = bytes(version);
    const qsizetype page = (static_cast<uchar>(whole[16]) << 8) | static_cast<uchar>(whole[17]);
    const QByteArray torn =
        QByteArray(whole).replace(whole.size() / page / 2 * page, 16 * page, QByteArray(16 * page, '\x33'));
    const auto verse = [](int n) { return u"창 1:%1"_s.arg(1 + n % 31); };
    const auto textOf = [&](const QString& v) { return storedText(version, v).value_or(QVariant()).toString(); };
    write(version, torn);
    for (int n = 0; n < 31; ++n) {
        ASSERT_EQ(run({u"save"_s, version, verse(n), u"손상 %1"_s.arg(n)}).exitCode, 0) << n;
    }
    const QByteArray saved = bytes(version);
    (void)run({u"repair"_s, version});
    ASSERT_NE(bytes(version), saved) << "the repair did not rewrite the damaged file";
    for (int n = 0; n < 31; ++n) {
        EXPECT_EQ(textOf(verse(n)), u"손상 %1"_s.arg(n));
    }
    for (const QString& command : {u"compact"_s, u"repair"_s}) {
        SCOPED_TRACE(command.toStdString());
        const QByteArray initial = command == u"repair"_s ? damaged : original;
        write(file, initial);
        const qint64 duration = durationOf({command, file});
        for (int round = 0; round < 10; ++round) {
            write(file, initial);
            (void)runAndKill({command, file}, duration * 5 / 4);
            if (bytes(file) != initial) {
                EXPECT_EQ(storedRecords(file), before) << round;
                expectSoundOneFile(file);
            }
        }
        write(file, initial);
        EXPECT_EQ(run({command, file}).exitCode, 0);
        EXPECT_EQ(storedRecords(file), before);
        expectSoundOneFile(file);
        for (const QString& earlier : installEntries().filter(kVersion + u".damaged-"_s)) {
            QFile::remove(path(earlier));
        }
        int inUseSaves = 0, saveNumber = 0, finished = 0, keptOriginals = 0;
        for (int round = 0; round < 40 && (finished < 4 || inUseSaves == 0); ++round) {
            SCOPED_TRACE(round);
            write(version, command == u"repair"_s ? torn : whole);
            std::map<QString, QString> kept;
            QProcess maintenance;
            start(maintenance, {command, version});
            // Without an event loop, only a wait on the process itself notices that it has ended.
            while (!maintenance.waitForFinished(0)) {
                waitUpTo(20000);
                const QString text = u"경주 %1"_s.arg(saveNumber);
                const auto save = runDataCommand({}, {u"save"_s, version, verse(saveNumber), text});
                if (save.exitCode == 0) {
                    kept[verse(saveNumber)] = text;
                } else {
                    ++inUseSaves;
                    EXPECT_TRUE(save.out.contains(kInUse)) << save.out.toStdString();
                }
                ++saveNumber;
            }
            // Failed (2) on a held file: as it was; done (1 with losses): one sound file.
            if (maintenance.exitCode() < 2) {
                ++finished;
                keptOriginals += maintenance.exitCode();
                expectSoundOneFile(version);
            }
            for (const auto& [reference, text] : kept) {
                EXPECT_EQ(textOf(reference), text) << reference.toStdString();
            }
        }
        EXPECT_GE(finished, 4);
        EXPECT_GT(inUseSaves, 0) << "no save ever met the maintenance command";
        // Beside the version only the damaged files that repairs with losses kept.
        const QStringList kept = installEntries().filter(kVersion + u".damaged-"_s);
        EXPECT_EQ(installEntries().size() - kept.size(), 4);
        EXPECT_EQ(kept.size(), keptOriginals);
    }
}

using MaintenanceCommands = InstallTreeTest;

// Each outcome of each command: its output, exit code and whether the file is there after, unchanged when it failed.
TEST_F(MaintenanceCommands, eachCommandSaysWhatItDidWithItsExitCodeAndAFileInUseIsNotDeleted)
{
    const QString sound = makeVersion(u"sound.dat"_s, 30, Texts::Most), held = makeVersion(u"held.dat"_s, 3);
    QProcess holder; // another process: a close of the file in this one would drop its locks
    holder.start(testBinFolder() + u"/versiondb-test-child"_s, {u"hold"_s, held});
    ASSERT_TRUE(holder.waitForReadyRead(10000));
    write(versiondb::journalPath(path(u"kjv.dat.bak"_s)), "left by a killed writer");
    namespace number = versiondb::errorNumber;
    const auto failed = [](int n) { return MaintenanceMessages::repairFailed(n, versiondb::errorDescription(n)); };
    const std::tuple<QString, QString, int, QList<Message>, bool> cases[] = {
        {"compact", sound, 0, {MaintenanceMessages::compactSucceeded("sound.dat")}, true},
        {"repair", sound, 0, {MaintenanceMessages::repairSucceeded("sound.dat")}, true},
        {"repair", path("broken.dat"), 2, {failed(number::UnrecognizedFormat), failed(number::DatabaseDamaged)}, true},
        {"delete", path("KJV.DAT"), 1, {MaintenanceMessages::shippedFileRefused("KJV.DAT")}, true},
        {"delete", "kjv.dat.bak", 0, {MaintenanceMessages::deleted("kjv.dat.bak")}, false},
        {"delete", held, 2, {{{}, kInUse}}, true},
    };
    for (const auto& [command, name, exitCode, messages, kept] : cases) {
        const QString file = QDir(installFolder()).filePath(name);
        SCOPED_TRACE(file.toStdString());
        if (!QFileInfo::exists(file)) {
            write(file, "창 1:1 태초에\r\n");
        }
        const QByteArray before = bytes(file);
        const CommandResult result = runDataCommand(programFolder(), {command, name}, installFolder());
        EXPECT_EQ(result.exitCode, exitCode) << result.err.toStdString();
        EXPECT_EQ(result.out,
                  std::accumulate(messages.begin(), messages.end(), QString(),
                                  [](const QString& out, const Message& m) { return out + console(m.text); }));
        EXPECT_EQ(QFileInfo::exists(file) || QFileInfo::exists(versiondb::journalPath(file)), kept);
        if (kept && exitCode != 0) {
            EXPECT_EQ(bytes(file), before);
        }
        EXPECT_TRUE(programEntries().isEmpty()) << programEntries().join(u' ').toStdString();
    }
}

using DamagedVersion = DataCommandTest;

// A damaged version: compaction refuses it untouched; repair gives every verse back, names the losses (exit 1) in
// repair.txt and keeps the damaged file beside it under a name that is no version's; the result compacts.
TEST_F(DamagedVersion, compactionRefusesADamagedVersionAndRepairBringsBackWhatItCan)
{
    const QString file = path(u"새역본.DAT"_s);
    const QString texts = textFile(u"t.txt"_s, {u"창 1:1 태초에"_s, u"창 1:2 땅이"_s, u"창 1:3 빛이"_s});
    ASSERT_EQ(run({u"build"_s, u"새역본"_s, texts}).exitCode, 0);
    // 창 1:2's text gets bytes that are not UTF-8; 창 1:3's record is gone (the reference's 번호 2 and 3).
    (void)sql(file,
              u"UPDATE 본문 SET 본문 = CAST(x'eab080ff' AS TEXT) WHERE 번호 = 2; DELETE FROM 본문 WHERE 번호 = 3"_s);
    // Its header's page count no longer agrees with its change counter: a write lock would rewrite the count.
    QByteArray damaged = bytes(file);
    damaged[27] = static_cast<char>(damaged[27] ^ 1);
    damaged[31] = static_cast<char>(damaged[31] ^ 1);
    write(file, damaged);
    expectRun({u"compact"_s, file}, 1, MaintenanceMessages::compactRefusedDamaged(u"새역본.DAT"_s).text);
    EXPECT_EQ(bytes(file), damaged);

    const auto repair = run({u"repair"_s, file});
    EXPECT_EQ(repair.exitCode, 1);
    const QStringList kept = installEntries().filter(u"새역본.DAT.damaged-"_s);
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(bytes(path(kept[0])), damaged);
    maintenance::RepairOutcome outcome;
    outcome.repaired = true;
    outcome.lostVerses = outcome.damagedTexts = 1;
    outcome.keptOriginal = path(kept[0]);
    outcome.listPath = maintenance::VersionMaintenance::repairListPath(programFolder());
    const QString heading = MaintenanceMessages::forOutcome(u"새역본.DAT"_s, outcome, 0).at(0).text;
    EXPECT_EQ(repair.out, console(heading) + MaintenanceMessages::lostVersesHeading(1) + u"\n창 1:3\n"_s +
                              MaintenanceMessages::damagedTextsHeading(1) + u"\n창 1:2\n"_s);
    const QString list = QString::fromUtf8(bytes(outcome.listPath));
    EXPECT_TRUE(bytes(outcome.listPath).startsWith("\xef\xbb\xbf") &&
                list.contains(MaintenanceMessages::lostVersesHeading(1) + u"\r\n창 1:3\r\n"_s) &&
                list.contains(u"\r\n창 1:2\r\n"_s) && list.contains(outcome.keptOriginal))
        << list.toStdString();
    const auto stored = storedTexts(file);
    EXPECT_EQ(stored.mid(0, 3),
              (decltype(stored){{u"창 1:1"_s, u"태초에"_s}, {u"창 1:2"_s, u"가\uFFFD"_s}, {u"창 1:3"_s, u"<Null>"_s}}));
    EXPECT_EQ(stored.size(), 31102);
    EXPECT_EQ(run({u"compact"_s, file}).exitCode, 0);
    // The reference cut short: every verse comes back, in its place.
    const QString reference = path(u"개역.DAT"_s);
    const QList<StoredRecord> before = storedRecords(reference);
    ASSERT_TRUE(QFile(reference).resize(QFileInfo(reference).size() * 2 / 3));
    EXPECT_EQ(run({u"repair"_s, reference}).exitCode, 1); // the records of the lost pages are listed
    EXPECT_EQ(storedRecords(reference), before);
}

} // namespace
