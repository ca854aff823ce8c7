// The main window's repair, compaction and deletion commands.

#include "maintenance/MaintenanceMessages.h"
#include "shell/gui/frmMain.h"
#include "support/Controls.h"
#include "support/InstallTree.h"
#include "support/ScriptedDialogs.h"
#include "versiondb/ErrorNumbers.h"

#include <QApplication>
#include <QFileInfo>
#include <QTest>

using maintenance::MaintenanceMessages;
using maintenance::Message;
using platform::MessageAnswer;
using platform::MessageIcon;
using testsupport::InstallTree;

Q_DECLARE_METATYPE(QList<Message>)

namespace {

// The main window over an install tree, its dialogs answering from the queue.
struct Session
{
    InstallTree tree;
    testsupport::ScriptedDialogs dialogs;
    shell::frmMain window{dialogs, tree.programFolder()};

    // Chooses the file in the command's dialog (or cancels it, for an empty path) and answers the boxes.
    void run(const QString& command, const QString& file, std::initializer_list<MessageAnswer> answers)
    {
        dialogs.queueFiles(file.isEmpty() ? QStringList() : QStringList{file});
        for (MessageAnswer answer : answers) {
            dialogs.queueAnswer(answer);
        }
        testsupport::click(window, command);
    }
    // The boxes shown, as messages.
    QList<Message> shown() const
    {
        QList<Message> shown;
        for (const auto& box : dialogs.messages()) {
            shown << Message{box.icon, box.text};
        }
        return shown;
    }
};

} // namespace

class frmMainMaintenanceTest : public QObject
{
    Q_OBJECT

private slots:
    // A cancelled file dialog ends the command silently; answering No to its question changes nothing.
    void cancelAndNoChangeNothing()
    {
        const std::pair<const char*, QString (*)(const QString&)> commands[] = {
            {"Command5", &MaintenanceMessages::repairConfirmation},
            {"Command7", &MaintenanceMessages::compactConfirmation},
            {"Command8", &MaintenanceMessages::deleteConfirmation},
        };
        for (const auto& [command, question] : commands) {
            Session s;
            const QString file = s.tree.makeVersion(QStringLiteral("my.dat"), 50, testsupport::Texts::Most);
            const QByteArray before = testsupport::bytes(file);
            s.run(command, {}, {});
            QVERIFY(s.window.dialogCancelled());
            s.run(command, file, {MessageAnswer::No});
            QVERIFY(!s.window.dialogCancelled());
            QCOMPARE(s.dialogs.messages().size(), 1);
            QCOMPARE(s.dialogs.messages()[0].buttons, platform::MessageButtons::YesNo);
            QCOMPARE(s.dialogs.messages()[0].text, question(QStringLiteral("my.dat")));
            QCOMPARE(testsupport::bytes(file), before);
        }
    }

    // Row: the command, whether the file is a version or text that is no database, the boxes after the question.
    void repairAndCompaction_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("version");
        QTest::addColumn<QList<Message>>("boxes");
        const auto failed = [](int number) {
            return MaintenanceMessages::repairFailed(number, versiondb::errorDescription(number));
        };
        const QString name = QStringLiteral("my.dat");
        QTest::newRow("repair") << "Command5" << true << QList<Message>{MaintenanceMessages::repairSucceeded(name)};
        QTest::newRow("repair of no database") << "Command5" << false
                                               << QList<Message>{failed(versiondb::errorNumber::UnrecognizedFormat),
                                                                 failed(versiondb::errorNumber::DatabaseDamaged)};
        QTest::newRow("compaction") << "Command7" << true
                                    << QList<Message>{MaintenanceMessages::compactSucceeded(name)};
        QTest::newRow("compaction of no database")
            << "Command7" << false << QList<Message>{MaintenanceMessages::compactFailed()};
    }

    // The file keeps its name, folder and records; the busy pointer is gone before every box.
    void repairAndCompaction()
    {
        QFETCH(QString, command);
        QFETCH(bool, version);
        QFETCH(QList<Message>, boxes);
        Session s;
        QDir(s.tree.installFolder()).mkdir(QStringLiteral("sub"));
        const QString file = s.tree.path(QStringLiteral("sub/my.dat"));
        if (version) {
            s.tree.makeVersion(QStringLiteral("sub/my.dat"), 400, testsupport::Texts::Most);
            testsupport::churn(file);
        } else {
            testsupport::write(file, QByteArray("창 1:1 태초에\r\n").repeated(300));
        }
        const auto before = testsupport::read(file);
        const QByteArray bytes = testsupport::bytes(file);
        testsupport::write(s.tree.scratchPath(), "old");
        s.run(command, file, {MessageAnswer::Yes, MessageAnswer::Ok, MessageAnswer::Ok});
        QCOMPARE(s.shown().mid(1), boxes);
        QVERIFY(!s.dialogs.busyAtMessages().contains(true));
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QVERIFY(version ? testsupport::read(file) == before : testsupport::bytes(file) == bytes);
        QCOMPARE(QDir(s.tree.installFolder() + QStringLiteral("/sub")).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("my.dat")});
        if (command == QStringLiteral("Command7")) {
            QVERIFY(s.tree.programEntries().isEmpty()); // the old scratch database is gone
        }
    }

    // A shipped name, from any folder: the refusal without a question. A deletion that fails: the file
    // system's description, without icon.
    void deletion()
    {
        Session s;
        QDir(s.tree.installFolder()).mkdir(QStringLiteral("elsewhere"));
        const QString shipped = s.tree.path(QStringLiteral("elsewhere/KJV.DAT"));
        const QString mine = s.tree.path(QStringLiteral("elsewhere/kjv2.dat"));
        testsupport::write(shipped, "x");
        testsupport::write(mine, "x");
        s.run(QStringLiteral("Command8"), shipped, {MessageAnswer::Ok});
        s.run(QStringLiteral("Command8"), mine, {MessageAnswer::Yes, MessageAnswer::Ok});
        s.run(QStringLiteral("Command8"), mine, {MessageAnswer::Yes, MessageAnswer::Ok});
        const Message question{MessageIcon::Question, MaintenanceMessages::deleteConfirmation("kjv2.dat")};
        QCOMPARE(s.shown(), (QList<Message>{MaintenanceMessages::shippedFileRefused("KJV.DAT"), question,
                                            MaintenanceMessages::deleted("kjv2.dat"), question,
                                            MaintenanceMessages::deleteFailed(MaintenanceMessages::fileNotFound())}));
        QVERIFY(QFileInfo::exists(shipped));
        QVERIFY(!QFileInfo::exists(mine));
    }
};

QTEST_MAIN(frmMainMaintenanceTest)
#include "frmMainMaintenanceTest.moc"
