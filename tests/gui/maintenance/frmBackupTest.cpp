#include "maintenance/gui/frmBackup.h"

#include "support/ScriptedDialogs.h"

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

// An install folder with the program folder "manager" inside it.
class InstallTree
{
public:
    InstallTree()
    {
        if (!m_root.isValid() || !QDir(m_root.path()).mkdir(QStringLiteral("manager"))) {
            qFatal("cannot make a temporary install tree");
        }
    }
    [[nodiscard]] QString installFolder() const { return QDir::toNativeSeparators(m_root.path()); }
    [[nodiscard]] QString programFolder() const
    {
        return installFolder() + QDir::separator() + QStringLiteral("manager");
    }
    void addFile(const QString& name) const
    {
        QFile file(m_root.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write("x") != 1) {
            qFatal("cannot write %s", qPrintable(name));
        }
    }
    void addFolder(const QString& name) const { QDir(m_root.path()).mkdir(name); }

private:
    QTemporaryDir m_root;
};

template <typename T> T* control(QWidget& window, const char* name)
{
    auto* found = window.findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) {
        qFatal("no control %s", name);
    }
    return found;
}

QString joined(const QStringList& lines)
{
    return lines.join(QStringLiteral("\r\n"));
}

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
        QVERIFY(control<QLabel>(window, "Label2")->text().isEmpty());

        auto* text1 = control<QPlainTextEdit>(window, "Text1");
        QCOMPARE(text1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QVERIFY(!text1->isReadOnly());
        const QStringList lines = {
            QString(),
            QStringLiteral("성경역본 자료 백업에 대한 설명입니다."),
            QString(),
            QStringLiteral("1. 벼리솔의 역본파일 위치는 벼리솔이 설치되어 있는 폴더에 같이 존재합니다. 사용자가 별도 "
                           "설치경로를 변경하지 않았다면 C:\\Program Files\\반트렐\\벼리솔 1.0 for Windows 폴더에 "
                           "존재할 것입니다."),
            QString(),
            QStringLiteral("2. 탐색기로 벼리솔 설치 경로로 이동하여 확장자가 *.dat파일을 찾아 봅니다. user.dat파일을 "
                           "제외한 모든 파일이 성경역본 파일입니다."),
            QString(),
            QStringLiteral("3. 이 파일들을 선택하여 복사해 두시면 향후 벼리솔을 지우고 다시 설치해도 이전상태의 "
                           "성경역본을 그대로 불러볼 수 있게 됩니다. "),
            QString(), // every line ends with a line break
        };
        QCOMPARE(text1->toPlainText().split(QLatin1Char('\n')), lines);
    }

    void loadShowsTheFolderAndListsOnlyNormalDatFilesInNameOrder()
    {
        InstallTree tree;
        for (const char* name :
             {"user.dat", "KJV.DAT", "개역.DAT", "a.txt", ".y.dat", "Zeta.Dat", "dat", "b.dat.bak"}) {
            tree.addFile(QString::fromUtf8(name));
        }
        tree.addFolder(QStringLiteral("x.dat"));
        testsupport::ScriptedDialogs dialogs;
        frmBackup window(dialogs, tree.programFolder());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        const QString folder = tree.installFolder();
        QCOMPARE(control<QLabel>(window, "Label2")->text(), folder);
        QCOMPARE(control<QPushButton>(window, "Command2")->toolTip(), folder);
        auto* file1 = control<QListWidget>(window, "File1");
        QVERIFY(!file1->isVisible());
        QStringList listed;
        for (int i = 0; i < file1->count(); ++i) {
            listed << file1->item(i)->text();
        }
        QCOMPARE(listed, (QStringList{"KJV.DAT", "user.dat", "Zeta.Dat", "개역.DAT"}));

        dialogs.queueAnswer(platform::MessageAnswer::Ok);
        QTest::mouseClick(control<QPushButton>(window, "Command3"), Qt::LeftButton);
        QCOMPARE(dialogs.messages().size(), 1);
        QCOMPARE(dialogs.messages()[0].icon, platform::MessageIcon::Information);
        QCOMPARE(dialogs.messages()[0].buttons, platform::MessageButtons::Ok);
        const QString sep = QDir::separator();
        QCOMPARE(dialogs.messages()[0].text, joined({
                                                 QStringLiteral("☞ 백업파일 목록"),
                                                 QString(),
                                                 folder + sep + QStringLiteral("KJV.DAT"),
                                                 folder + sep + QStringLiteral("user.dat"),
                                                 folder + sep + QStringLiteral("Zeta.Dat"),
                                                 folder + sep + QStringLiteral("개역.DAT"),
                                                 QString(),
                                                 QStringLiteral("(만약 개역.dat, kjv.dat 역본을 수정하지 않았다면 "
                                                                "백업할 필요는 없습니다)"),
                                             }));
    }

    void anInstallFolderWithoutVersionFilesGivesTwoEmptyLines()
    {
        InstallTree tree;
        tree.addFile(QStringLiteral("readme.txt"));
        testsupport::ScriptedDialogs dialogs;
        frmBackup window(dialogs, tree.programFolder());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        dialogs.queueAnswer(platform::MessageAnswer::Ok);
        QTest::mouseClick(control<QPushButton>(window, "Command3"), Qt::LeftButton);
        QCOMPARE(dialogs.messages().size(), 1);
        QCOMPARE(dialogs.messages()[0].text,
                 QStringLiteral("☞ 백업파일 목록\r\n\r\n\r\n(만약 개역.dat, kjv.dat 역본을 수정하지 않았다면 백업할 "
                                "필요는 없습니다)"));
    }

    void aMissingInstallFolderListsNothing()
    {
        QTemporaryDir root;
        const QString programFolder = QDir::toNativeSeparators(root.filePath(QStringLiteral("gone/manager")));
        testsupport::ScriptedDialogs dialogs;
        frmBackup window(dialogs, programFolder);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(control<QLabel>(window, "Label2")->text(),
                 QDir::toNativeSeparators(root.filePath(QStringLiteral("gone"))));
        QCOMPARE(control<QListWidget>(window, "File1")->count(), 0);
        dialogs.queueAnswer(platform::MessageAnswer::Ok);
        QTest::mouseClick(control<QPushButton>(window, "Command3"), Qt::LeftButton);
        QCOMPARE(dialogs.messages().size(), 1);
        QVERIFY(dialogs.messages()[0].text.startsWith(QStringLiteral("☞ 백업파일 목록\r\n\r\n\r\n(")));
    }

    void theListIsLoadedOnceWhenTheWindowLoads()
    {
        InstallTree tree;
        tree.addFile(QStringLiteral("kjv.dat"));
        testsupport::ScriptedDialogs dialogs;
        {
            frmBackup window(dialogs, tree.programFolder());
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            tree.addFile(QStringLiteral("new.dat"));
            dialogs.queueAnswer(platform::MessageAnswer::Ok);
            QTest::mouseClick(control<QPushButton>(window, "Command3"), Qt::LeftButton);
            QVERIFY(!dialogs.messages().last().text.contains(QStringLiteral("new.dat")));
            window.hide();
            window.show();
            dialogs.queueAnswer(platform::MessageAnswer::Ok);
            QTest::mouseClick(control<QPushButton>(window, "Command3"), Qt::LeftButton);
            QVERIFY(!dialogs.messages().last().text.contains(QStringLiteral("new.dat")));
        }
        frmBackup again(dialogs, tree.programFolder());
        again.show();
        QVERIFY(QTest::qWaitForWindowExposed(&again));
        dialogs.queueAnswer(platform::MessageAnswer::Ok);
        QTest::mouseClick(control<QPushButton>(again, "Command3"), Qt::LeftButton);
        QVERIFY(dialogs.messages().last().text.contains(tree.installFolder() + QDir::separator() +
                                                        QStringLiteral("new.dat\r\n")));
    }

    void listLinesDoNotDoubleAFolderSeparator_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("line");
        const QString sep = QDir::separator();
        QTest::newRow("plain folder") << sep + QStringLiteral("bible") << sep + QStringLiteral("bible") + sep + "a.dat";
        QTest::newRow("folder ending in a separator")
            << sep + QStringLiteral("bible") + sep << sep + QStringLiteral("bible") + sep + "a.dat";
        QTest::newRow("root") << sep << sep + QStringLiteral("a.dat");
    }

    void listLinesDoNotDoubleAFolderSeparator()
    {
        QFETCH(QString, folder);
        QFETCH(QString, line);
        const QString text = frmBackup::backupListText(folder, {QStringLiteral("a.dat")});
        QCOMPARE(text.split(QStringLiteral("\r\n")).at(2), line);
    }

    void theFolderIsReportedWithItsParentStepResolved()
    {
        const QString sep = QDir::separator();
        QCOMPARE(frmBackup::listFolder(sep + "srv" + sep + "bible" + sep + "manager"), sep + "srv" + sep + "bible");
    }

    void command2OpensTheInstallFolderAndSaysNothingWhenThatFails()
    {
        InstallTree tree;
        testsupport::ScriptedDialogs dialogs;
        frmBackup window(dialogs, tree.programFolder());
        QStringList opened;
        window.setShellOpen([&](const QString& path) {
            opened << path;
            return false;
        });
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::mouseClick(control<QPushButton>(window, "Command2"), Qt::LeftButton);
        QCOMPARE(opened, QStringList{tree.installFolder()});
        QVERIFY(dialogs.messages().isEmpty());
        QVERIFY(window.isVisible());
    }

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
        QVERIFY(!window.isVisible());
        // It took its owner's icon when it loaded.
        QCOMPARE(window.windowIcon().pixmap(16, 16).toImage().pixel(8, 8), QColor(Qt::red).rgb());
        QVERIFY(dialogs.messages().isEmpty());
    }
};

int runFrmBackupTest(int argc, char* argv[])
{
    frmBackupTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "frmBackupTest.moc"
