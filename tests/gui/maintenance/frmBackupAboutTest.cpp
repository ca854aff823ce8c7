#include "maintenance/gui/frmAbout.h"
#include "maintenance/gui/frmBackup.h"
#include "platform/gui/ShellOpen.h"
#include "support/Controls.h"
#include "support/InstallTree.h"
#include "support/ScriptedDialogs.h"

#include <QTest>

using namespace Qt::StringLiterals;
using maintenance::frmBackup;

namespace {

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
    // The one message a click on the control shows.
    QString messageOf(const QString& name)
    {
        dialogs.queueAnswer(platform::MessageAnswer::Ok);
        QTest::mouseClick(testsupport::control(window, name), Qt::LeftButton);
        return dialogs.allAnswersUsed() ? dialogs.messages().last().text : QString();
    }
};

} // namespace

class frmBackupAboutTest : public QObject
{
    Q_OBJECT

private slots:
    // The list is read when the window loads: a file added later is not in it.
    void backupListsTheNormalDatFilesOfTheInstallFolderInNameOrderAndOpensIt()
    {
        testsupport::InstallTree tree;
        for (const char* name : {"user.dat", "KJV.DAT", "개역.DAT", "a.txt", ".y.dat", "Zeta.Dat", "b.dat.bak"}) {
            tree.writeFile(QString::fromUtf8(name), {});
        }
        QDir(tree.installFolder()).mkdir(u"x.dat"_s);
        Shown<frmBackup> shown(tree.programFolder());
        tree.writeFile(u"new.dat"_s, {});
        const QString sep = tree.installFolder() + QDir::separator();
        QCOMPARE(shown.messageOf(u"Command3"_s), u"☞ 백업파일 목록\r\n\r\n"_s + sep + "KJV.DAT\r\n" + sep +
                                                     "user.dat\r\n" + sep + "Zeta.Dat\r\n" + sep +
                                                     u"개역.DAT\r\n\r\n(만약 개역.dat, kjv.dat 역본을 수정하지 "
                                                     u"않았다면 백업할 필요는 없습니다)"_s);
        QCOMPARE(shown.dialogs.messages().last().icon, platform::MessageIcon::Information);
        QCOMPARE(shown.messageOf(u"Command2"_s), platform::notOpenedMessage(tree.installFolder()));
        QCOMPARE(shown.opened, QStringList{tree.installFolder()});
        QVERIFY(Shown<frmBackup>(tree.programFolder()).messageOf(u"Command3"_s).contains(u"new.dat"_s));
    }

    // The third number shown is the version's fourth field.
    void aboutShowsTheFourthVersionFieldThirdAndOpensTheWebSite()
    {
        QCOMPARE(maintenance::frmAbout::versionLine({2, 5, 7, 9}), u"버전 2.5.9"_s);
        Shown<maintenance::frmAbout> shown(u"/nonexistent/manager"_s);
        const QString address = u"https://byeorisol.example.org"_s;
        QCOMPARE(shown.messageOf(u"Label3"_s), platform::notOpenedMessage(address));
        QCOMPARE(shown.opened, QStringList{address});
    }
};

QTEST_MAIN(frmBackupAboutTest)
#include "frmBackupAboutTest.moc"
