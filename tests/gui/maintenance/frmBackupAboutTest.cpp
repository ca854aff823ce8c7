#include "maintenance/gui/frmAbout.h"
#include "maintenance/gui/frmBackup.h"
#include "platform/gui/ShellOpen.h"
#include "support/Controls.h"
#include "support/InstallTree.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QLabel>
#include <QTest>

using maintenance::frmAbout;
using maintenance::frmBackup;
using testsupport::click;
using testsupport::control;
using testsupport::InstallTree;

namespace {

const QString kHeading = QStringLiteral("☞ 백업파일 목록\r\n\r\n");
const QString kRemark = QStringLiteral("\r\n(만약 개역.dat, kjv.dat 역본을 수정하지 않았다면 백업할 필요는 없습니다)");

// A shown window with scripted dialogs and a desktop that refuses every "Open" it records.
template <typename Window> struct Shown
{
    testsupport::ScriptedDialogs dialogs;
    Window window;
    QStringList opened;
    explicit Shown(const QString& programFolder) : window(dialogs, programFolder)
    {
        window.setShellOpen([this](const QString& path) {
            opened << path;
            return false;
        });
        window.show();
        if (!QTest::qWaitForWindowExposed(&window)) {
            qFatal("window not shown");
        }
    }
    // The message a click on the control shows.
    QString messageOf(const char* name)
    {
        dialogs.queueAnswer(platform::MessageAnswer::Ok);
        QTest::mouseClick(control(window, name), Qt::LeftButton);
        return dialogs.messages().isEmpty() ? QString() : dialogs.messages().last().text;
    }
};

} // namespace

class frmBackupAboutTest : public QObject
{
    Q_OBJECT

private slots:
    void backupListsTheNormalDatFilesOfTheInstallFolderInNameOrderAndOpensIt()
    {
        InstallTree tree;
        for (const char* name : {"user.dat", "KJV.DAT", "개역.DAT", "a.txt", ".y.dat", "Zeta.Dat", "b.dat.bak"}) {
            tree.writeFile(QString::fromUtf8(name), {});
        }
        QDir(tree.installFolder()).mkdir(QStringLiteral("x.dat"));
        Shown<frmBackup> shown(tree.programFolder());
        const QString folder = tree.installFolder();
        const QString sep = folder + QDir::separator();
        // A file added later is not listed by the open window.
        tree.writeFile(QStringLiteral("new.dat"), {});
        QCOMPARE(shown.messageOf("Command3"), kHeading + sep + "KJV.DAT\r\n" + sep + "user.dat\r\n" + sep +
                                                  "Zeta.Dat\r\n" + sep + QStringLiteral("개역.DAT\r\n") + kRemark);
        QCOMPARE(shown.dialogs.messages().last().icon, platform::MessageIcon::Information);
        QCOMPARE(shown.messageOf("Command2"), platform::notOpenedMessage(folder));
        QCOMPARE(shown.opened, QStringList{folder});
        QCOMPARE(Shown<frmBackup>(tree.programFolder()).messageOf("Command3").count(QStringLiteral("new.dat")), 1);
        QCOMPARE(Shown<frmBackup>(QStringLiteral("/nonexistent/manager")).messageOf("Command3"), kHeading + kRemark);
    }

    void backupListLinesDoNotDoubleAFolderSeparator()
    {
        const QString sep = QDir::separator();
        for (const QString& folder : {sep + "bible", sep + "bible" + sep}) {
            QCOMPARE(frmBackup::backupListText(folder, {QStringLiteral("a.dat")}).split("\r\n").at(2),
                     sep + "bible" + sep + "a.dat");
        }
        QCOMPARE(frmBackup::backupListText(sep, {QStringLiteral("a.dat")}).split("\r\n").at(2), sep + "a.dat");
    }

    // The program's file version is 1.0.0.0 (the table of texts shows it); the third number shown is the fourth field.
    void aboutShowsTheFourthFieldOfTheVersionThird()
    {
        QCOMPARE(frmAbout::versionLine({2, 5, 7, 9}), QStringLiteral("버전 2.5.9"));
    }

    // Only Label3 opens anything, Shift+Ctrl+Alt on the icon included.
    void aboutOpensTheMakersWebSiteFromLabel3Alone()
    {
        Shown<frmAbout> shown(QStringLiteral("/nonexistent/manager"));
        const QWidgetList before = QApplication::topLevelWidgets();
        for (const char* name : {"Label1", "Label4", "picIcon"}) {
            QTest::mouseClick(control<QLabel>(shown.window, name), Qt::LeftButton);
        }
        const auto all = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
        QTest::mouseClick(control<QLabel>(shown.window, "picIcon"), Qt::LeftButton, all);
        QCoreApplication::processEvents();
        QCOMPARE(QApplication::topLevelWidgets(), before);
        QVERIFY(shown.opened.isEmpty());
        const QString address = QStringLiteral("https://byeorisol.example.org");
        QCOMPARE(shown.messageOf("Label3"), platform::notOpenedMessage(address));
        QCOMPARE(shown.opened, QStringList{address});
    }
};

QTEST_MAIN(frmBackupAboutTest)
#include "frmBackupAboutTest.moc"
