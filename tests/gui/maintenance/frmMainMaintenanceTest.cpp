// The main window's repair, compaction and deletion commands.

#include "maintenance/MaintenanceMessages.h"
#include "shell/gui/frmMain.h"
#include "support/Controls.h"
#include "support/InstallTree.h"
#include "support/ScriptedDialogs.h"
#include "versiondb/ErrorNumbers.h"

#include <QApplication>
#include <QTest>

using namespace Qt::StringLiterals;
using maintenance::MaintenanceMessages;
using maintenance::Message;
using platform::MessageAnswer;

class frmMainMaintenanceTest : public QObject
{
    Q_OBJECT

private slots:
    // Each command on a file in a folder of its own: the boxes it shows, and whether the file is still there
    // as it was. The busy pointer is gone before every box; a compaction removes an old scratch database.
    void eachCommandShowsItsOutcome()
    {
        enum Kind
        {
            Version,
            NoDatabase,
            Missing
        };
        const auto failed = [](int number) {
            return MaintenanceMessages::repairFailed(number, versiondb::errorDescription(number));
        };
        const auto asked = [](QString (*question)(const QString&), const QString& name) {
            return Message{platform::MessageIcon::Question, question(name)};
        };
        const QString my = u"my.dat"_s;
        const struct
        {
            QString command;
            QString name; // empty: the file dialog is cancelled
            Kind kind;
            MessageAnswer answer;
            QList<Message> boxes;
            bool kept;
        } cases[] = {
            {u"Command5"_s, QString(), Version, MessageAnswer::Yes, {}, true},
            {u"Command5"_s,
             my,
             Version,
             MessageAnswer::No,
             {asked(&MaintenanceMessages::repairConfirmation, my)},
             true},
            {u"Command5"_s,
             my,
             Version,
             MessageAnswer::Yes,
             {asked(&MaintenanceMessages::repairConfirmation, my), MaintenanceMessages::repairSucceeded(my)},
             true},
            {u"Command5"_s,
             my,
             NoDatabase,
             MessageAnswer::Yes,
             {asked(&MaintenanceMessages::repairConfirmation, my), failed(versiondb::errorNumber::UnrecognizedFormat),
              failed(versiondb::errorNumber::DatabaseDamaged)},
             true},
            {u"Command7"_s,
             my,
             Version,
             MessageAnswer::Yes,
             {asked(&MaintenanceMessages::compactConfirmation, my), MaintenanceMessages::compactSucceeded(my)},
             true},
            {u"Command7"_s,
             my,
             NoDatabase,
             MessageAnswer::Yes,
             {asked(&MaintenanceMessages::compactConfirmation, my), MaintenanceMessages::compactFailed()},
             true},
            {u"Command8"_s,
             my,
             Version,
             MessageAnswer::No,
             {asked(&MaintenanceMessages::deleteConfirmation, my)},
             true},
            {u"Command8"_s,
             my,
             NoDatabase,
             MessageAnswer::Yes,
             {asked(&MaintenanceMessages::deleteConfirmation, my), MaintenanceMessages::deleted(my)},
             false},
            {u"Command8"_s,
             u"KJV.DAT"_s,
             Version,
             MessageAnswer::Yes,
             {MaintenanceMessages::shippedFileRefused(u"KJV.DAT"_s)},
             true},
            {u"Command8"_s,
             my,
             Missing,
             MessageAnswer::Yes,
             {asked(&MaintenanceMessages::deleteConfirmation, my),
              MaintenanceMessages::deleteFailed(MaintenanceMessages::fileNotFound())},
             false},
        };
        for (const auto& c : cases) {
            testsupport::InstallTree tree;
            QDir(tree.installFolder()).mkdir(u"sub"_s);
            const QString file = tree.path(u"sub/"_s + (c.name.isEmpty() ? my : c.name));
            if (c.kind == Version) {
                tree.makeVersion(u"sub/"_s + QFileInfo(file).fileName(), 400, testsupport::Texts::Most);
                testsupport::churn(file);
            } else if (c.kind == NoDatabase) {
                testsupport::write(file, QByteArray("창 1:1 태초에\r\n").repeated(300));
            }
            const auto records = testsupport::read(file);
            const QByteArray bytes = testsupport::bytes(file);
            testsupport::write(tree.scratchPath(), "old");
            testsupport::ScriptedDialogs dialogs;
            shell::frmMain window(dialogs, tree.programFolder());
            dialogs.queueFiles(c.name.isEmpty() ? QStringList() : QStringList{file});
            dialogs.queueAnswer(c.answer);
            for (int i = 0; i < 3; ++i) {
                dialogs.queueAnswer(MessageAnswer::Ok);
            }
            testsupport::click(window, c.command);
            QList<Message> shown;
            for (const auto& box : dialogs.messages()) {
                shown << Message{box.icon, box.text};
            }
            QCOMPARE(shown, c.boxes);
            QCOMPARE(window.dialogCancelled(), c.name.isEmpty());
            QVERIFY(!dialogs.busyAtMessages().contains(true));
            QCOMPARE(QApplication::overrideCursor(), nullptr);
            QCOMPARE(QDir(tree.installFolder() + u"/sub"_s).entryList(QDir::Files | QDir::Hidden),
                     c.kept ? QStringList{QFileInfo(file).fileName()} : QStringList());
            if (c.kept) {
                QVERIFY(c.kind == Version ? testsupport::read(file) == records : testsupport::bytes(file) == bytes);
            }
            const bool compacted = c.command == u"Command7"_s && c.answer == MessageAnswer::Yes;
            QCOMPARE(tree.programEntries().isEmpty(), compacted);
        }
    }
};

QTEST_MAIN(frmMainMaintenanceTest)
#include "frmMainMaintenanceTest.moc"
