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
    // Each command on a file in a folder of its own (a version, a damaged one that is a text file, or none):
    // the boxes it shows, and whether the file is still there as it was. The busy pointer is gone before every
    // box; a compaction removes an old scratch database.
    void eachCommandShowsItsOutcome()
    {
        using M = MaintenanceMessages;
        const auto failed = [](int number) { return M::repairFailed(number, versiondb::errorDescription(number)); };
        const QString my = u"my.dat"_s;
        const Message askRepair{platform::MessageIcon::Question, M::repairConfirmation(my)};
        const Message askCompact{platform::MessageIcon::Question, M::compactConfirmation(my)};
        const Message askDelete{platform::MessageIcon::Question, M::deleteConfirmation(my)};
        const MessageAnswer yes = MessageAnswer::Yes;
        const MessageAnswer no = MessageAnswer::No;
        const struct
        {
            QString command;
            QString name; // empty: the file dialog is cancelled
            char kind;    // 'v' a version, 'd' damaged, '-' missing
            MessageAnswer answer;
            QList<Message> boxes;
            bool kept;
        } cases[] = {
            // clang-format off
            {u"Command5"_s, QString(), 'v', yes, {}, true},
            {u"Command5"_s, my, 'v', no, {askRepair}, true},
            {u"Command5"_s, my, 'd', yes, {askRepair, failed(versiondb::errorNumber::UnrecognizedFormat),
                                           failed(versiondb::errorNumber::DatabaseDamaged)}, true},
            {u"Command7"_s, my, 'v', yes, {askCompact, M::compactSucceeded(my)}, true},
            {u"Command7"_s, my, 'd', yes, {askCompact, M::compactFailed()}, true},
            {u"Command8"_s, my, 'v', no, {askDelete}, true},
            {u"Command8"_s, my, 'd', yes, {askDelete, M::deleted(my)}, false},
            {u"Command8"_s, u"KJV.DAT"_s, 'v', yes, {M::shippedFileRefused(u"KJV.DAT"_s)}, true},
            {u"Command8"_s, my, '-', yes, {askDelete, M::deleteFailed(M::fileNotFound())}, false},
            // clang-format on
        };
        for (const auto& c : cases) {
            testsupport::InstallTree tree;
            QDir(tree.installFolder()).mkdir(u"sub"_s);
            const QString file = tree.path(u"sub/"_s + (c.name.isEmpty() ? my : c.name));
            if (c.kind == 'v') {
                tree.makeVersion(u"sub/"_s + QFileInfo(file).fileName(), 400, testsupport::Texts::Most);
                testsupport::churn(file);
            } else if (c.kind == 'd') {
                testsupport::write(file, QByteArray("창 1:1 태초에\r\n").repeated(300));
            }
            const auto records = testsupport::read(file);
            const QByteArray bytes = testsupport::bytes(file);
            testsupport::write(tree.scratchPath(), "old");
            testsupport::ScriptedDialogs dialogs;
            shell::frmMain window(dialogs, tree.programFolder());
            dialogs.queueFiles(c.name.isEmpty() ? QStringList() : QStringList{file});
            for (MessageAnswer answer : {c.answer, MessageAnswer::Ok, MessageAnswer::Ok, MessageAnswer::Ok}) {
                dialogs.queueAnswer(answer);
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
            QVERIFY(!c.kept ||
                    (c.kind == 'v' ? testsupport::read(file) == records : testsupport::bytes(file) == bytes));
            QCOMPARE(tree.programEntries().isEmpty(), c.command == u"Command7"_s);
        }
    }
};

QTEST_MAIN(frmMainMaintenanceTest)
#include "frmMainMaintenanceTest.moc"
