#include "maintenance/gui/frmBackup.h"

#include "platform/gui/ShellOpen.h"
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

namespace {

template <typename T> T* control(QWidget& window, const char* name)
{
    auto* found = window.findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) {
        qFatal("no control %s", name);
    }
    return found;
}

// A test's own install folder with the program folder "manager" inside it.
struct InstallTree
{
    QTemporaryDir root;
    InstallTree() { QDir(root.path()).mkdir(QStringLiteral("manager")); }
    [[nodiscard]] QString installFolder() const { return QDir::toNativeSeparators(root.path()); }
    [[nodiscard]] QString programFolder() const { return installFolder() + QDir::separator() + "manager"; }
    void addFile(const QString& name) const
    {
        QFile file(root.filePath(name));
        if (!file.open(QIODevice::WriteOnly)) {
            qFatal("cannot write %s", qPrintable(name));
        }
    }
};

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
    void textsLineForLine()
    {
        InstallTree tree;
        testsupport::ScriptedDialogs dialogs;
        frmBackup window(dialogs, tree.programFolder());
        QCOMPARE(window.windowTitle(), QStringLiteral("백업방법"));
        QCOMPARE(control<QLabel>(window, "Label1")->text(), QStringLiteral("벼리솔의 파일 백업에 대한 설명입니다."));
        QCOMPARE(control<QPushButton>(window, "Command3")->text(),
                 QStringLiteral("반드시 백업 해야할 파일목록을 살펴봅니다."));
        QCOMPARE(control<QPushButton>(window, "Command2")->text(), QStringLiteral("벼리솔 설치폴더를 열어봅니다"));
        QCOMPARE(control<QPushButton>(window, "Command1")->text(), QStringLiteral("확인"));
        QCOMPARE(control<QPlainTextEdit>(window, "Text1")->toPlainText(),
                 QStringLiteral("\n성경역본 자료 백업에 대한 설명입니다.\n\n"
                                "1. 벼리솔의 역본파일 위치는 벼리솔이 설치되어 있는 폴더에 같이 존재합니다. 사용자가 "
                                "별도 설치경로를 변경하지 않았다면 C:\\Program Files\\반트렐\\벼리솔 1.0 for Windows "
                                "폴더에 존재할 것입니다.\n\n"
                                "2. 탐색기로 벼리솔 설치 경로로 이동하여 확장자가 *.dat파일을 찾아 봅니다. "
                                "user.dat파일을 제외한 모든 파일이 성경역본 파일입니다.\n\n"
                                "3. 이 파일들을 선택하여 복사해 두시면 향후 벼리솔을 지우고 다시 설치해도 이전상태의 "
                                "성경역본을 그대로 불러볼 수 있게 됩니다. \n"));
    }

    void listsOnlyNormalDatFilesOfTheInstallFolderInNameOrderAndOpensIt()
    {
        InstallTree tree;
        for (const char* name :
             {"user.dat", "KJV.DAT", "개역.DAT", "a.txt", ".y.dat", "Zeta.Dat", "dat", "b.dat.bak"}) {
            tree.addFile(QString::fromUtf8(name));
        }
        QDir(tree.root.path()).mkdir(QStringLiteral("x.dat"));
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
        tree.addFile(QStringLiteral("readme.txt"));
        const QString added = tree.installFolder() + QDir::separator() + QStringLiteral("new.dat\r\n");
        {
            Shown shown(tree.programFolder());
            tree.addFile(QStringLiteral("new.dat"));
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
