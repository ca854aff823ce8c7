// The main window's repair, compaction and deletion commands, and its backup guide and About buttons.

#include "shell/gui/frmMain.h"
#include "support/Controls.h"
#include "support/InstallTree.h"
#include "support/ScriptedDialogs.h"
#include "versiondb/ErrorNumbers.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;
using testsupport::InstallTree;

using testsupport::click;
using testsupport::control;

namespace {

const QString kSep = QDir::separator();

} // namespace

class frmMainMaintenanceTest : public QObject
{
    Q_OBJECT

private slots:
    void dialogAndConfirmationOfEachCommand_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("question");
        QTest::newRow("repair") << "Command5"
                                << "치료할 파일선택"
                                << "치료"
                                << "선택된 파일을 치료하시겠습니까?";
        QTest::newRow("compaction") << "Command7"
                                    << "최적화시킬 파일선택"
                                    << "최적화"
                                    << "선택된 파일을 최척화하겠습니까?";
        QTest::newRow("deletion") << "Command8"
                                  << "파일선택(개역.dat, kjv.dat, user.dat는 삭제할 수 없습니다!)"
                                  << "삭제"
                                  << "선택하신 역본파일을 석제하시겠습니까?";
    }

    // Cancelling the file dialog ends the command silently; answering No changes nothing.
    void dialogAndConfirmationOfEachCommand()
    {
        QFETCH(QString, button);
        QFETCH(QString, title);
        QFETCH(QString, action);
        QFETCH(QString, question);
        InstallTree tree;
        const QString file = tree.makeVersion(QStringLiteral("my.dat"), 50, testsupport::Texts::Most);
        const QByteArray before = testsupport::bytes(file);
        testsupport::write(tree.scratchPath(), "old");
        testsupport::ScriptedDialogs dialogs;
        shell::frmMain window(dialogs, tree.programFolder());
        dialogs.queueFiles({});
        click(window, button);
        QCOMPARE(dialogs.fileRequests().size(), 1);
        const platform::FileDialogRequest& request = dialogs.fileRequests().first();
        QCOMPARE(request.title, title);
        QCOMPARE(request.acceptLabel, action);
        QCOMPARE(request.filter, QStringLiteral("역본파일 (*.dat)"));
        QCOMPARE(request.folder, tree.programFolder() + kSep + QStringLiteral(".."));
        QVERIFY(!request.multiple);
        QVERIFY(window.dialogCancelled());
        QVERIFY(dialogs.messages().isEmpty());

        dialogs.queueFiles({file});
        dialogs.queueAnswer(MessageAnswer::No);
        click(window, button);
        QVERIFY(!window.dialogCancelled());
        QCOMPARE(dialogs.messages().size(), 1);
        QCOMPARE(dialogs.messages()[0].icon, MessageIcon::Question);
        QCOMPARE(dialogs.messages()[0].buttons, MessageButtons::YesNo);
        QCOMPARE(dialogs.messages()[0].text, QStringLiteral("my.dat\r\n\r\n") + question);
        QCOMPARE(testsupport::bytes(file), before);
        QCOMPARE(testsupport::bytes(tree.scratchPath()), QByteArray("old"));
    }

    void repairAndCompaction_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("version"); // a version file, or text that is no database
        QTest::addColumn<int>("icon");
        QTest::addColumn<QStringList>("texts");
        const auto failed = [](int number) {
            return QStringLiteral("치료하지 못했습니다!\r오류 번호: %1\r").arg(number) +
                   versiondb::errorDescription(number);
        };
        QTest::newRow("repair") << "Command5" << true << int(MessageIcon::Information)
                                << QStringList{QStringLiteral("my.dat\r\n\r\n성공적으로 치료가 끝났습니다 !")};
        // One box per engine error, in the engine's order.
        QTest::newRow("repair of no database") << "Command5" << false << int(MessageIcon::None)
                                               << QStringList{failed(versiondb::errorNumber::UnrecognizedFormat),
                                                              failed(versiondb::errorNumber::DatabaseDamaged)};
        // Over an old temp.mdb, which is deleted first.
        QTest::newRow("compaction") << "Command7" << true << int(MessageIcon::Information)
                                    << QStringList{QStringLiteral("my.dat\r\n\r\n성공적으로 완료되었습니다.\r\n"
                                                                  "자료의 수정작업이 적으면 자주 최적화할 필요는 "
                                                                  "없습니다 !")};
        QTest::newRow("compaction of no database")
            << "Command7" << false << int(MessageIcon::Critical)
            << QStringList{QStringLiteral("예기치 못한 오류가 발행하여 더이상 작업을 진행할 수 없습니다 !")};
    }

    // The file keeps its name, folder and records; the busy pointer is gone before every box.
    void repairAndCompaction()
    {
        QFETCH(QString, button);
        QFETCH(bool, version);
        QFETCH(int, icon);
        QFETCH(QStringList, texts);
        InstallTree tree;
        QDir(tree.installFolder()).mkdir(QStringLiteral("sub"));
        const QString file = tree.path(QStringLiteral("sub") + kSep + QStringLiteral("my.dat"));
        const QByteArray text = QByteArray("창 1:1 태초에\r\n").repeated(300);
        if (version) {
            QCOMPARE(tree.makeVersion(QStringLiteral("sub") + kSep + QStringLiteral("my.dat"), 400,
                                      testsupport::Texts::Most),
                     file);
            testsupport::churn(file);
        } else {
            testsupport::write(file, text);
        }
        const auto before = testsupport::read(file);
        if (button == QStringLiteral("Command7")) {
            testsupport::write(tree.scratchPath(), "old");
        }
        testsupport::ScriptedDialogs dialogs;
        shell::frmMain window(dialogs, tree.programFolder());
        dialogs.queueFiles({file});
        for (int i = 0; i <= texts.size(); ++i) {
            dialogs.queueAnswer(i == 0 ? MessageAnswer::Yes : MessageAnswer::Ok);
        }
        click(window, button);
        const auto& shown = dialogs.messages();
        QCOMPARE(shown.size(), texts.size() + 1);
        for (int i = 0; i < texts.size(); ++i) {
            QCOMPARE(shown[i + 1].text, texts[i]);
            QCOMPARE(int(shown[i + 1].icon), icon);
            QCOMPARE(shown[i + 1].buttons, MessageButtons::Ok);
        }
        QCOMPARE(dialogs.busyAtMessages(), QList<bool>(texts.size() + 1, false));
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        if (version) {
            QVERIFY(testsupport::read(file) == before);
        } else {
            QCOMPARE(testsupport::bytes(file), text);
        }
        QVERIFY(tree.programEntries().isEmpty());
        QCOMPARE(QDir(tree.installFolder() + kSep + QStringLiteral("sub")).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("my.dat")});
    }

    // Shipped names in any letter case, from any folder: the warning and no confirmation. A deletion
    // that fails: the file system's description, without icon.
    void deletion()
    {
        const QString refused = QStringLiteral("\r\n\r\n선택하신 파일은 기본 제공파일로 삭제할 수 없습니다 !");
        const QString deleted = QStringLiteral("\r\n\r\n삭제되었습니다 !");
        const std::vector<std::tuple<QString, MessageIcon, QString>> cases = {
            {QStringLiteral("KJV.DAT"), MessageIcon::Exclamation, QStringLiteral("KJV.DAT") + refused},
            {QStringLiteral("User.dat"), MessageIcon::Exclamation, QStringLiteral("User.dat") + refused},
            {QStringLiteral("개역.DAT"), MessageIcon::Exclamation, QStringLiteral("개역.DAT") + refused},
            {QStringLiteral("kjv.dat"), MessageIcon::Exclamation, QStringLiteral("kjv.dat") + refused},
            {QStringLiteral("kjv.dat.bak"), MessageIcon::Information, QStringLiteral("kjv.dat.bak") + deleted},
            {QStringLiteral("kjv2.dat"), MessageIcon::Information, QStringLiteral("kjv2.dat") + deleted},
            {QStringLiteral("gone.dat"), MessageIcon::None, QStringLiteral("파일을 찾을 수 없습니다.")},
        };
        InstallTree tree;
        QDir(tree.installFolder()).mkdir(QStringLiteral("elsewhere"));
        for (const auto& [name, icon, last] : cases) {
            const QString file = tree.path(QStringLiteral("elsewhere") + kSep + name);
            if (name != QStringLiteral("gone.dat")) {
                testsupport::write(file, "x");
            }
            testsupport::ScriptedDialogs dialogs;
            shell::frmMain window(dialogs, tree.programFolder());
            dialogs.queueFiles({file});
            const bool isRefused = icon == MessageIcon::Exclamation;
            if (!isRefused) {
                dialogs.queueAnswer(MessageAnswer::Yes);
            }
            dialogs.queueAnswer(MessageAnswer::Ok);
            click(window, QStringLiteral("Command8"));
            QCOMPARE(dialogs.messages().size(), isRefused ? 1 : 2);
            QCOMPARE(dialogs.messages().last().text, last);
            QCOMPARE(dialogs.messages().last().icon, icon);
            QCOMPARE(dialogs.messages().last().buttons, MessageButtons::Ok);
            QCOMPARE(QFileInfo::exists(file), isRefused);
        }
    }
};

QTEST_MAIN(frmMainMaintenanceTest)
#include "frmMainMaintenanceTest.moc"
