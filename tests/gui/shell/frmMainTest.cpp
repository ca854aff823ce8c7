#include "shell/gui/frmMain.h"

#include "import/gui/frmAppend.h"
#include "maintenance/MaintenanceMessages.h"
#include "support/Controls.h"
#include "support/InstallTree.h"
#include "support/ScriptedDialogs.h"
#include "versiondb/ErrorNumbers.h"

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace Qt::StringLiterals;
using maintenance::MaintenanceMessages;
using maintenance::Message;
using platform::MessageAnswer;

class frmMainTest : public QObject
{
    Q_OBJECT

private slots:
    // Each button opens its window modally over the window clicked, with the main window's icon, until the
    // window's own close button closes it. The text format help opens from the import window.
    void eachButtonOpensItsWindowModally()
    {
        const QString folder = u"/nonexistent/manager"_s;
        const struct
        {
            QString button;
            QString window;
            QString closeButton;
        } cases[] = {
            {u"Command3"_s, u"frmHolyEdit"_s, u"Command1"_s}, {u"Command4"_s, u"frmAppend"_s, u"Command1"_s},
            {u"Command6"_s, u"frmBackup"_s, u"Command1"_s},   {u"Command9"_s, u"frmExport"_s, u"Command4"_s},
            {u"Command2"_s, u"frmAbout"_s, u"Command1"_s},    {u"Command5"_s, u"frmAppendForm"_s, u"Command3"_s}};
        for (const auto& c : cases) {
            testsupport::ScriptedDialogs dialogs;
            shell::frmMain main(dialogs, folder);
            QPixmap red(16, 16);
            red.fill(Qt::red);
            main.setWindowIcon(QIcon(red));
            std::unique_ptr<importer::frmAppend> import;
            if (c.window == u"frmAppendForm"_s) {
                import = std::make_unique<importer::frmAppend>(dialogs, folder, &main);
            }
            QWidget& opener = import ? *import : static_cast<QWidget&>(main);
            opener.show();
            QString seen;
            QTimer::singleShot(0, &main, [&] {
                if (QWidget* modal = QApplication::activeModalWidget()) {
                    seen = QString::fromLatin1(modal->metaObject()->className()).section(u"::"_s, -1);
                    seen += modal->parentWidget() == &opener ? u" over its opener"_s : QString();
                    const QRgb icon = modal->windowIcon().pixmap(16, 16).toImage().pixel(8, 8);
                    seen += icon == QColor(Qt::red).rgb() ? u" with the icon"_s : QString();
                    testsupport::click(*modal, c.closeButton);
                    seen += modal->isVisible() ? u", not closed by its button"_s : QString();
                    modal->close();
                }
            });
            testsupport::click(opener, c.button);
            QCOMPARE(seen, c.window + u" over its opener with the icon"_s);
            QVERIFY(opener.findChildren<QDialog*>().isEmpty());
            QVERIFY(dialogs.messages().isEmpty());
        }
    }

    void exitEndsTheEventLoop()
    {
        testsupport::ScriptedDialogs dialogs;
        shell::frmMain window(dialogs, u"/nonexistent/manager"_s);
        window.show();
        QTimer::singleShot(0, &window, [&] { testsupport::click(window, u"Command1"_s); });
        QTimer::singleShot(10000, [] { QCoreApplication::exit(99); });
        QCOMPARE(QCoreApplication::exec(), 0);
    }

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

QTEST_MAIN(frmMainTest)
#include "frmMainTest.moc"
