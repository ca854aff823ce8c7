#include "maintenance/gui/frmBackup.h"

#include "platform/gui/ShellOpen.h"
#include "support/Controls.h"
#include "support/InstallTree.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using maintenance::frmBackup;

using testsupport::click;
using testsupport::control;
using testsupport::InstallTree;

namespace {

// The window, shown as the user opens it.
struct Shown
{
    testsupport::ScriptedDialogs dialogs;
    frmBackup window;
    explicit Shown(const QString& programFolder) : window(dialogs, programFolder)
    {
        window.show();
        if (!QTest::qWaitForWindowExposed(&window)) {
            qFatal("window not shown");
        }
    }
    // Clicks Command3 and returns the list message.
    QString backupList()
    {
        dialogs.queueAnswer(platform::MessageAnswer::Ok);
        QTest::mouseClick(control<QPushButton>(window, "Command3"), Qt::LeftButton);
        return dialogs.messages().isEmpty() ? QString() : dialogs.messages().last().text;
    }
};

const QString kHeading = QStringLiteral("☞ 백업파일 목록\r\n\r\n");
const QString kRemark = QStringLiteral("\r\n(만약 개역.dat, kjv.dat 역본을 수정하지 않았다면 백업할 필요는 없습니다)");

} // namespace

class frmBackupTest : public QObject
{
    Q_OBJECT

private slots:
    void listsOnlyNormalDatFilesOfTheInstallFolderInNameOrderAndOpensIt()
    {
        InstallTree tree;
        for (const char* name :
             {"user.dat", "KJV.DAT", "개역.DAT", "a.txt", ".y.dat", "Zeta.Dat", "dat", "b.dat.bak"}) {
            tree.writeFile(QString::fromUtf8(name), {});
        }
        QDir(tree.installFolder()).mkdir(QStringLiteral("x.dat"));
        Shown shown(tree.programFolder());
        const QString folder = tree.installFolder();
        QCOMPARE(control<QLabel>(shown.window, "Label2")->text(), folder);
        QCOMPARE(control<QPushButton>(shown.window, "Command2")->toolTip(), folder);
        QVERIFY(!control<QListWidget>(shown.window, "File1")->isVisible());
        const QString sep = folder + QDir::separator();
        QCOMPARE(shown.backupList(), kHeading + sep + "KJV.DAT\r\n" + sep + "user.dat\r\n" + sep + "Zeta.Dat\r\n" +
                                         sep + QStringLiteral("개역.DAT\r\n") + kRemark);
        QCOMPARE(shown.dialogs.messages().last().icon, platform::MessageIcon::Information);
        QCOMPARE(shown.dialogs.messages().last().buttons, platform::MessageButtons::Ok);

        // Command2 opens the install folder; when the desktop refuses, the message names the folder.
        QStringList opened;
        bool desktopRefuses = false;
        shown.window.setShellOpen([&](const QString& path) {
            opened << path;
            return !desktopRefuses;
        });
        QTest::mouseClick(control<QPushButton>(shown.window, "Command2"), Qt::LeftButton);
        QCOMPARE(opened, QStringList{folder});
        QCOMPARE(shown.dialogs.messages().size(), 1);
        desktopRefuses = true;
        shown.dialogs.queueAnswer(platform::MessageAnswer::Ok);
        QTest::mouseClick(control<QPushButton>(shown.window, "Command2"), Qt::LeftButton);
        QCOMPARE(opened, (QStringList{folder, folder}));
        QCOMPARE(shown.dialogs.messages().size(), 2);
        QCOMPARE(shown.dialogs.messages()[1].text, platform::notOpenedMessage(folder));
        QVERIFY(shown.dialogs.messages()[1].text.startsWith(folder + QStringLiteral("\r\n\r\n")));
        QCOMPARE(shown.dialogs.messages()[1].icon, platform::MessageIcon::Exclamation);
        QVERIFY(shown.window.isVisible());
    }

    // An install folder without version files gives two empty lines. A file added later is not
    // listed by the open window, not even after it is shown again.
    void theListIsLoadedOnceWhenTheWindowLoads()
    {
        InstallTree tree;
        tree.writeFile(QStringLiteral("readme.txt"), {});
        const QString added = tree.installFolder() + QDir::separator() + QStringLiteral("new.dat\r\n");
        {
            Shown shown(tree.programFolder());
            tree.writeFile(QStringLiteral("new.dat"), {});
            QCOMPARE(shown.backupList(), kHeading + kRemark);
            shown.window.hide();
            shown.window.show();
            QCOMPARE(shown.backupList(), kHeading + kRemark);
        }
        QCOMPARE(Shown(tree.programFolder()).backupList(), kHeading + added + kRemark);
    }

    void listLinesDoNotDoubleAFolderSeparator()
    {
        const QString sep = QDir::separator();
        for (const QString& folder : {sep + "bible", sep + "bible" + sep}) {
            QCOMPARE(frmBackup::backupListText(folder, {QStringLiteral("a.dat")}).split("\r\n").at(2),
                     sep + "bible" + sep + "a.dat");
        }
        QCOMPARE(frmBackup::backupListText(sep, {QStringLiteral("a.dat")}).split("\r\n").at(2), sep + "a.dat");
    }

    // A modal window that takes its owner's icon when it loads.
    void command1ClosesTheModalWindow()
    {
        InstallTree tree;
        testsupport::ScriptedDialogs dialogs;
        QWidget owner;
        QPixmap red(16, 16);
        red.fill(Qt::red);
        owner.setWindowIcon(QIcon(red));
        frmBackup window(dialogs, tree.programFolder(), &owner);
        bool wasModal = false;
        QTimer::singleShot(0, &window, [&] {
            wasModal = QApplication::activeModalWidget() == &window;
            QTest::mouseClick(control<QPushButton>(window, "Command1"), Qt::LeftButton);
        });
        QCOMPARE(window.exec(), int(QDialog::Accepted));
        QVERIFY(wasModal);
        QCOMPARE(window.windowIcon().pixmap(16, 16).toImage().pixel(8, 8), QColor(Qt::red).rgb());
    }
};

int runFrmBackupTest(int argc, char* argv[])
{
    frmBackupTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "frmBackupTest.moc"
