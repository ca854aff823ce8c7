#include "maintenance/gui/AboutDialog.h"
#include "maintenance/gui/BackupGuideDialog.h"
#include "platform/gui/ShellOpen.h"
#include "support/Controls.h"
#include "support/InstallTree.h"
#include "support/ScriptedDialogs.h"

#include <QLabel>

using namespace Qt::StringLiterals;
using platform::MessageAnswer;

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
    }
    QString messageOf(const QString& name)
    {
        dialogs.queueAnswer(MessageAnswer::Ok);
        testsupport::click(window, name);
        return dialogs.allAnswersUsed() ? dialogs.messages().last().text : QString();
    }
};

} // namespace

class MaintenanceDialogsTest : public QObject
{
    Q_OBJECT

private slots:
    // The backup list names the normal .dat files of the install folder in name order, as read at opening.
    void backupListsTheVersionFilesAndOpensTheirFolder()
    {
        testsupport::InstallTree tree;
        for (const char* name : {"user.dat", "KJV.DAT", "개역.DAT", "a.txt", ".y.dat", "Zeta.Dat", "b.dat.bak"}) {
            tree.writeFile(QString::fromUtf8(name), {});
        }
        QDir(tree.installFolder()).mkdir(u"x.dat"_s);
        Shown<maintenance::BackupGuideDialog> shown(tree.programFolder());
        tree.writeFile(u"new.dat"_s, {});
        QCOMPARE(shown.messageOf(u"backupListButton"_s),
                 u"☞ 백업파일 목록\r\n\r\n%1KJV.DAT\r\n%1user.dat\r\n%1Zeta.Dat\r\n%1개역.DAT\r\n\r\n"
                 u"(만약 개역.dat, kjv.dat 역본을 수정하지 않았다면 백업할 필요는 없습니다)"_s.arg(
                     tree.installFolder() + QDir::separator()));
        QCOMPARE(shown.dialogs.messages().last().icon, platform::MessageIcon::Information);
        QCOMPARE(testsupport::control<QLabel>(shown.window, u"folderLabel"_s)->text(), tree.installFolder());
        QCOMPARE(shown.messageOf(u"openFolderButton"_s), platform::notOpenedMessage(tree.installFolder()));
        QCOMPARE(shown.opened, QStringList{tree.installFolder()});
        QVERIFY(Shown<maintenance::BackupGuideDialog>(tree.programFolder())
                    .messageOf(u"backupListButton"_s)
                    .contains(u"new.dat"_s));
    }

    // The third number shown is the version's fourth field; Enter closes; the maker's name opens the web site.
    void aboutShowsTheFourthVersionFieldThirdAndOpensTheWebSite()
    {
        QCOMPARE(maintenance::AboutDialog::versionLine({2, 5, 7, 9}), u"버전 2.5.9"_s);
        Shown<maintenance::AboutDialog> shown(u"/nonexistent/manager"_s);
        QCOMPARE(shown.window.focusWidget(), testsupport::control(shown.window, u"okButton"_s));
        const QString address = u"https://byeorisol.example.org"_s;
        QCOMPARE(shown.messageOf(u"websiteButton"_s), platform::notOpenedMessage(address));
        QCOMPARE(shown.opened, QStringList{address});
    }
};

QTEST_MAIN(MaintenanceDialogsTest)
#include "MaintenanceDialogsTest.moc"
