// The main window's repair, compaction and deletion commands, and its backup guide and About buttons.

#include "../../unit/maintenance/MaintenanceTree.h"
#include "shell/gui/frmMain.h"
#include "support/ScriptedDialogs.h"
#include "versiondb/ErrorNumbers.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using maintenancetest::MaintenanceTree;
using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;

namespace {

// Scripted dialogs that also note whether the busy pointer was still up when a box opened.
class PointerWatchingDialogs final : public platform::Dialogs
{
public:
    testsupport::ScriptedDialogs script;
    QList<bool> busyAtMessage;

    MessageAnswer message(QWidget* parent, MessageIcon icon, MessageButtons buttons, const QString& text) override
    {
        busyAtMessage << (QApplication::overrideCursor() != nullptr);
        return script.message(parent, icon, buttons, text);
    }
    QStringList chooseFiles(QWidget* parent, const platform::FileDialogRequest& request) override
    {
        return script.chooseFiles(parent, request);
    }
    std::optional<platform::FontChoice> chooseFont(QWidget* parent, const platform::FontChoice& current) override
    {
        return script.chooseFont(parent, current);
    }
};

void click(QWidget& window, const char* name)
{
    auto* button = window.findChild<QPushButton*>(QString::fromLatin1(name));
    if (button == nullptr) {
        qFatal("no button %s", name);
    }
    QTest::mouseClick(button, Qt::LeftButton);
}

QString sep()
{
    return QDir::separator();
}

} // namespace

class frmMainMaintenanceTest : public QObject
{
    Q_OBJECT

private slots:
    void theFileDialogOfEachCommand_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("action");
        QTest::newRow("repair") << "Command5"
                                << "치료할 파일선택"
                                << "치료";
        QTest::newRow("compaction") << "Command7"
                                    << "최적화시킬 파일선택"
                                    << "최적화";
        QTest::newRow("deletion") << "Command8"
                                  << "파일선택(개역.dat, kjv.dat, user.dat는 삭제할 수 없습니다!)"
                                  << "삭제";
    }

    // Cancelling ends the command silently, with no confirmation box.
    void theFileDialogOfEachCommand()
    {
        QFETCH(QString, button);
        QFETCH(QString, title);
        QFETCH(QString, action);
        MaintenanceTree tree;
        testsupport::ScriptedDialogs dialogs;
        shell::frmMain window(dialogs, tree.programFolder());
        dialogs.queueFiles({});
        click(window, button.toLatin1().constData());
        QCOMPARE(dialogs.fileRequests().size(), 1);
        const platform::FileDialogRequest& request = dialogs.fileRequests().first();
        QCOMPARE(request.title, title);
        QCOMPARE(request.acceptLabel, action);
        QCOMPARE(request.filter, QStringLiteral("역본파일 (*.dat)"));
        QCOMPARE(request.folder, tree.programFolder() + sep() + QStringLiteral(".."));
        QVERIFY(!request.multiple);
        QVERIFY(window.dialogCancelled());
        QVERIFY(dialogs.messages().isEmpty());
    }

    void answeringNoChangesNothing_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("question");
        QTest::newRow("repair") << "Command5"
                                << "선택된 파일을 치료하시겠습니까?";
        QTest::newRow("compaction") << "Command7"
                                    << "선택된 파일을 최척화하겠습니까?";
        QTest::newRow("deletion") << "Command8"
                                  << "선택하신 역본파일을 석제하시겠습니까?";
    }

    void answeringNoChangesNothing()
    {
        QFETCH(QString, button);
        QFETCH(QString, question);
        MaintenanceTree tree;
        const QString file = tree.makeVersion(QStringLiteral("my.dat"), 50);
        const QByteArray before = MaintenanceTree::bytes(file);
        MaintenanceTree::write(tree.scratchPath(), "old");
        testsupport::ScriptedDialogs dialogs;
        shell::frmMain window(dialogs, tree.programFolder());
        dialogs.queueFiles({file});
        dialogs.queueAnswer(MessageAnswer::No);
        click(window, button.toLatin1().constData());
        QVERIFY(!window.dialogCancelled());
        QCOMPARE(dialogs.messages().size(), 1);
        QCOMPARE(dialogs.messages()[0].icon, MessageIcon::Question);
        QCOMPARE(dialogs.messages()[0].buttons, MessageButtons::YesNo);
        QCOMPARE(dialogs.messages()[0].text, QStringLiteral("my.dat\r\n\r\n") + question);
        QCOMPARE(MaintenanceTree::bytes(file), before);
        QCOMPARE(MaintenanceTree::bytes(tree.scratchPath()), QByteArray("old"));
    }

    void repairOfASoundFileSucceeds()
    {
        MaintenanceTree tree;
        QDir(tree.installFolder()).mkdir(QStringLiteral("sub"));
        const QString file = tree.makeVersion(QStringLiteral("sub") + sep() + QStringLiteral("my.dat"), 40);
        const auto before = MaintenanceTree::read(file);
        PointerWatchingDialogs dialogs;
        shell::frmMain window(dialogs, tree.programFolder());
        dialogs.script.queueFiles({file});
        dialogs.script.queueAnswer(MessageAnswer::Yes);
        dialogs.script.queueAnswer(MessageAnswer::Ok);
        click(window, "Command5");
        const auto& shown = dialogs.script.messages();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[1].icon, MessageIcon::Information);
        QCOMPARE(shown[1].buttons, MessageButtons::Ok);
        QCOMPARE(shown[1].text, QStringLiteral("my.dat\r\n\r\n성공적으로 치료가 끝났습니다 !"));
        QCOMPARE(dialogs.busyAtMessage, (QList<bool>{false, false}));
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QVERIFY(MaintenanceTree::read(file) == before);
    }

    // Two engine errors give two boxes, in the engine's order, each with its number and description.
    void aFailedRepairShowsOneBoxPerEngineError()
    {
        MaintenanceTree tree;
        const QString file = tree.path(QStringLiteral("broken.dat"));
        const QByteArray content = QByteArray("창 1:1 태초에\r\n").repeated(300);
        MaintenanceTree::write(file, content);
        PointerWatchingDialogs dialogs;
        shell::frmMain window(dialogs, tree.programFolder());
        dialogs.script.queueFiles({file});
        dialogs.script.queueAnswer(MessageAnswer::Yes);
        dialogs.script.queueAnswer(MessageAnswer::Ok);
        dialogs.script.queueAnswer(MessageAnswer::Ok);
        click(window, "Command5");
        const auto& shown = dialogs.script.messages();
        QCOMPARE(shown.size(), 3);
        QCOMPARE(shown[1].text, QStringLiteral("치료하지 못했습니다!\r오류 번호: 3343\r") +
                                    versiondb::errorDescription(versiondb::errorNumber::UnrecognizedFormat));
        QCOMPARE(shown[2].text, QStringLiteral("치료하지 못했습니다!\r오류 번호: 3049\r") +
                                    versiondb::errorDescription(versiondb::errorNumber::DatabaseDamaged));
        for (int i : {1, 2}) {
            QCOMPARE(shown[i].icon, MessageIcon::None);
            QCOMPARE(shown[i].buttons, MessageButtons::Ok);
        }
        QCOMPARE(dialogs.busyAtMessage, (QList<bool>{false, false, false}));
        QCOMPARE(MaintenanceTree::bytes(file), content);
    }

    // An old temp.mdb is deleted first; the file keeps its name and folder and opens as before.
    void compactionSucceedsOverAnOldScratchDatabase()
    {
        MaintenanceTree tree;
        QDir(tree.installFolder()).mkdir(QStringLiteral("sub"));
        const QString file = tree.makeVersion(QStringLiteral("sub") + sep() + QStringLiteral("my.dat"), 400);
        MaintenanceTree::churn(file);
        const auto before = MaintenanceTree::read(file);
        MaintenanceTree::write(tree.scratchPath(), "old");
        PointerWatchingDialogs dialogs;
        shell::frmMain window(dialogs, tree.programFolder());
        dialogs.script.queueFiles({file});
        dialogs.script.queueAnswer(MessageAnswer::Yes);
        dialogs.script.queueAnswer(MessageAnswer::Ok);
        click(window, "Command7");
        const auto& shown = dialogs.script.messages();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[1].icon, MessageIcon::Information);
        QCOMPARE(shown[1].text, QStringLiteral("my.dat\r\n\r\n성공적으로 완료되었습니다.\r\n"
                                               "자료의 수정작업이 적으면 자주 최적화할 필요는 없습니다 !"));
        QCOMPARE(dialogs.busyAtMessage, (QList<bool>{false, false}));
        QVERIFY(MaintenanceTree::read(file) == before);
        QVERIFY(tree.programEntries().isEmpty());
        QCOMPARE(QDir(tree.installFolder() + sep() + QStringLiteral("sub")).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("my.dat")});
    }

    void aFailedCompactionShowsTheStopMessageAndKeepsTheFile()
    {
        MaintenanceTree tree;
        const QString file = tree.path(QStringLiteral("text.dat"));
        const QByteArray content = QByteArray("not a database");
        MaintenanceTree::write(file, content);
        PointerWatchingDialogs dialogs;
        shell::frmMain window(dialogs, tree.programFolder());
        dialogs.script.queueFiles({file});
        dialogs.script.queueAnswer(MessageAnswer::Yes);
        dialogs.script.queueAnswer(MessageAnswer::Ok);
        click(window, "Command7");
        const auto& shown = dialogs.script.messages();
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown[1].icon, MessageIcon::Critical);
        QCOMPARE(shown[1].buttons, MessageButtons::Ok);
        QCOMPARE(shown[1].text, QStringLiteral("예기치 못한 오류가 발행하여 더이상 작업을 진행할 수 없습니다 !"));
        QCOMPARE(dialogs.busyAtMessage, (QList<bool>{false, false}));
        QCOMPARE(MaintenanceTree::bytes(file), content);
        QVERIFY(tree.programEntries().isEmpty());
    }

    void shippedNamesAreNeverDeleted_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("KJV.DAT") << "KJV.DAT";
        QTest::newRow("User.dat") << "User.dat";
        QTest::newRow("개역.DAT") << "개역.DAT";
        QTest::newRow("kjv.dat") << "kjv.dat";
    }

    // From any folder, in any letter case: the warning, no confirmation, nothing deleted.
    void shippedNamesAreNeverDeleted()
    {
        QFETCH(QString, name);
        MaintenanceTree tree;
        QDir(tree.installFolder()).mkdir(QStringLiteral("elsewhere"));
        const QString file = tree.path(QStringLiteral("elsewhere") + sep() + name);
        MaintenanceTree::write(file, "x");
        testsupport::ScriptedDialogs dialogs;
        shell::frmMain window(dialogs, tree.programFolder());
        dialogs.queueFiles({file});
        dialogs.queueAnswer(MessageAnswer::Ok);
        click(window, "Command8");
        QCOMPARE(dialogs.messages().size(), 1);
        QCOMPARE(dialogs.messages()[0].icon, MessageIcon::Exclamation);
        QCOMPARE(dialogs.messages()[0].buttons, MessageButtons::Ok);
        QCOMPARE(dialogs.messages()[0].text,
                 name + QStringLiteral("\r\n\r\n선택하신 파일은 기본 제공파일로 삭제할 수 없습니다 !"));
        QVERIFY(QFileInfo::exists(file));
    }

    void otherNamesAreDeleted_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("kjv.dat.bak") << "kjv.dat.bak";
        QTest::newRow("kjv2.dat") << "kjv2.dat";
    }

    void otherNamesAreDeleted()
    {
        QFETCH(QString, name);
        MaintenanceTree tree;
        const QString file = tree.path(name);
        MaintenanceTree::write(file, "x");
        testsupport::ScriptedDialogs dialogs;
        shell::frmMain window(dialogs, tree.programFolder());
        dialogs.queueFiles({file});
        dialogs.queueAnswer(MessageAnswer::Yes);
        dialogs.queueAnswer(MessageAnswer::Ok);
        click(window, "Command8");
        QCOMPARE(dialogs.messages().size(), 2);
        QCOMPARE(dialogs.messages()[0].text, name + QStringLiteral("\r\n\r\n선택하신 역본파일을 석제하시겠습니까?"));
        QCOMPARE(dialogs.messages()[1].icon, MessageIcon::Information);
        QCOMPARE(dialogs.messages()[1].text, name + QStringLiteral("\r\n\r\n삭제되었습니다 !"));
        QVERIFY(!QFileInfo::exists(file));
    }

    void aDeletionThatFailsShowsTheDescriptionWithoutIcon()
    {
        MaintenanceTree tree;
        const QString file = tree.path(QStringLiteral("gone.dat"));
        testsupport::ScriptedDialogs dialogs;
        shell::frmMain window(dialogs, tree.programFolder());
        dialogs.queueFiles({file});
        dialogs.queueAnswer(MessageAnswer::Yes);
        dialogs.queueAnswer(MessageAnswer::Ok);
        click(window, "Command8");
        QCOMPARE(dialogs.messages().size(), 2);
        QCOMPARE(dialogs.messages()[1].icon, MessageIcon::None);
        QCOMPARE(dialogs.messages()[1].buttons, MessageButtons::Ok);
        QCOMPARE(dialogs.messages()[1].text, QStringLiteral("파일을 찾을 수 없습니다."));
    }

    void theBackupGuideAndAboutOpenModally_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("title");
        QTest::newRow("backup") << "Command6"
                                << "frmBackup"
                                << "백업방법";
        QTest::newRow("about") << "Command2"
                               << "frmAbout"
                               << "벼리솔 성경자료 관리기";
    }

    void theBackupGuideAndAboutOpenModally()
    {
        QFETCH(QString, button);
        QFETCH(QString, window);
        QFETCH(QString, title);
        MaintenanceTree tree;
        testsupport::ScriptedDialogs dialogs;
        shell::frmMain main(dialogs, tree.programFolder());
        main.show();
        QString seenName;
        QString seenTitle;
        QWidget* seenParent = nullptr;
        QTimer::singleShot(0, &main, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal != nullptr) {
                seenName = modal->objectName();
                seenTitle = modal->windowTitle();
                seenParent = modal->parentWidget();
                if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                    dialog->reject();
                }
            }
        });
        click(main, button.toLatin1().constData());
        QCOMPARE(seenName, window);
        QCOMPARE(seenTitle, title);
        QCOMPARE(seenParent, &main);
        // Destroyed when closed.
        QVERIFY(main.findChild<QDialog*>() == nullptr);
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }
};

int runFrmMainMaintenanceTest(int argc, char* argv[])
{
    frmMainMaintenanceTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "frmMainMaintenanceTest.moc"
