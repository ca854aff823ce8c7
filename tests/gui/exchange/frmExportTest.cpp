// The export window: choosing the version and the folder, exporting each format,
// its refusals, and the main window's button that opens it.

#include "exchange/gui/frmExport.h"

#include "support/Controls.h"
#include "support/InstallTree.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using platform::MessageAnswer;
using platform::MessageButtons;
using platform::MessageIcon;

using testsupport::click;
using testsupport::control;

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class frmExportTest : public QObject
{
    Q_OBJECT

private slots:
    void theVersionAndTheFolderAreChosenInTheirDialogs()
    {
        testsupport::InstallTree tree{{QStringLiteral("null.mdb")}};
        QVERIFY(tree.isValid());
        testsupport::ScriptedDialogs dialogs;
        exchange::frmExport window(dialogs, tree.programFolder());
        QCOMPARE(window.windowTitle(), QStringLiteral("역본파일 내보내기"));
        const QString version = tree.path(QStringLiteral("mine.dat"));
        const QString folder = tree.path(QStringLiteral("out"));
        dialogs.queueFiles({version});
        click(window, "Command1");
        dialogs.queueFiles({folder});
        click(window, "Command2");
        QCOMPARE(control<QLineEdit>(window, "Text1")->text(), version);
        QCOMPARE(control<QLineEdit>(window, "Text2")->text(), folder);
        // Cancelled dialogs leave the choices as they were.
        dialogs.queueFiles({});
        click(window, "Command1");
        dialogs.queueFiles({});
        click(window, "Command2");
        QCOMPARE(control<QLineEdit>(window, "Text1")->text(), version);
        QCOMPARE(control<QLineEdit>(window, "Text2")->text(), folder);

        const QList<platform::FileDialogRequest> requests = dialogs.fileRequests();
        QCOMPARE(requests.size(), 4);
        QCOMPARE(requests[0].title, QStringLiteral("내보낼 역본파일 선택"));
        QCOMPARE(requests[0].folder, tree.programFolder() + QDir::separator() + QStringLiteral(".."));
        QCOMPARE(requests[0].filter, QStringLiteral("역본파일 (*.dat)"));
        QCOMPARE(requests[0].acceptLabel, QStringLiteral("선택"));
        QCOMPARE(requests[1].title, QStringLiteral("내보낼 폴더 선택"));
        QCOMPARE(requests[3].folder, folder);
    }

    void exportsTheChosenFormatAndSaysHowManyVersesWentWhere_data()
    {
        QTest::addColumn<bool>("imp");
        QTest::addColumn<int>("encoding");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("start");
        // 창 is C3 A2 in code page 949, EC B0 BD in UTF-8.
        QTest::newRow("code page 949") << false << 0 << "01-창.txt" << QByteArray("\xC3\xA2 1:1 ");
        QTest::newRow("UTF-8") << false << 1 << "01-창.txt" << QByteArray("\xEF\xBB\xBF\xEC\xB0\xBD 1:1 ");
        QTest::newRow("IMP") << true << 0 << "sample.imp" << QByteArray("$$$Gen 1:1\n");
    }

    void exportsTheChosenFormatAndSaysHowManyVersesWentWhere()
    {
        QFETCH(bool, imp);
        QFETCH(int, encoding);
        QFETCH(QString, file);
        QFETCH(QByteArray, start);
        testsupport::InstallTree tree{{QStringLiteral("null.mdb")}};
        const QString version = tree.makeVersion(QStringLiteral("sample.dat"), testsupport::sampleVerses());
        QVERIFY(!version.isEmpty());
        const QString folder = tree.path(QStringLiteral("out"));
        testsupport::ScriptedDialogs dialogs;
        exchange::frmExport window(dialogs, tree.programFolder());
        control<QLineEdit>(window, "Text1")->setText(version);
        control<QLineEdit>(window, "Text2")->setText(folder);
        control<QComboBox>(window, "Combo1")->setCurrentIndex(encoding);
        control<QRadioButton>(window, imp ? "Option2" : "Option1")->setChecked(true);
        QCOMPARE(control<QComboBox>(window, "Combo1")->isEnabled(), !imp);

        dialogs.queueAnswer(MessageAnswer::Ok);
        click(window, "Command3");
        QCOMPARE(dialogs.messages().size(), 1);
        QCOMPARE(dialogs.busyAtMessages(), QList<bool>{false});
        const auto shown = dialogs.messages().first();
        QCOMPARE(shown.icon, MessageIcon::Information);
        const QString where = imp ? folder + QDir::separator() + file : folder;
        QCOMPARE(shown.text, QStringLiteral("sample.dat\r\n\r\n5개 구절을 내보냈습니다.\r\n") + where);
        QVERIFY(readAll(folder + QDir::separator() + file).startsWith(start));
        QCOMPARE(QDir(folder).entryList(QDir::Files).size(), imp ? 1 : 66);
        // An IMP file is UTF-8 whatever was chosen; the choice for text files comes back with them.
        control<QRadioButton>(window, "Option2")->setChecked(true);
        QCOMPARE(control<QComboBox>(window, "Combo1")->currentText(), QStringLiteral("UTF-8"));
        control<QRadioButton>(window, "Option1")->setChecked(true);
        QCOMPARE(control<QComboBox>(window, "Combo1")->currentIndex(), encoding);
        QVERIFY(control<QComboBox>(window, "Combo1")->isEnabled());
    }

    void missingChoicesAndUnwritableTextsAreRefused()
    {
        testsupport::InstallTree tree{{QStringLiteral("null.mdb")}};
        QList<testsupport::Verse> verses = testsupport::sampleVerses();
        verses[3].text = QStringLiteral("빛이 있으라—");
        const QString version = tree.makeVersion(QStringLiteral("dash.dat"), verses);
        QVERIFY(!version.isEmpty());
        const QString folder = tree.path(QStringLiteral("out"));
        testsupport::ScriptedDialogs dialogs;
        exchange::frmExport window(dialogs, tree.programFolder());
        auto* text1 = control<QLineEdit>(window, "Text1");
        auto* text2 = control<QLineEdit>(window, "Text2");
        const auto refusalOf = [&](const QString& path, const QString& destination) {
            text1->setText(path);
            text2->setText(destination);
            dialogs.queueAnswer(MessageAnswer::Ok);
            click(window, "Command3");
            return dialogs.messages().last();
        };
        auto shown = refusalOf(QString(), folder);
        QCOMPARE(shown.icon, MessageIcon::Exclamation);
        QCOMPARE(shown.text, QStringLiteral("내보낼 역본파일을 선택하여 주십시오 !"));
        shown = refusalOf(version, QString());
        QCOMPARE(shown.icon, MessageIcon::Exclamation);
        QCOMPARE(shown.text, QStringLiteral("내보낼 폴더를 선택하여 주십시오 !"));
        shown = refusalOf(version, folder);
        QCOMPARE(shown.icon, MessageIcon::Exclamation);
        QCOMPARE(shown.text, QStringLiteral("dash.dat\r\n\r\n'창 1:10' 구절의 본문에 코드 페이지 949로 쓸 수 없는 "
                                            "문자가 있어 내보내지 않았습니다.\r\n인코딩을 UTF-8로 바꾸어 "
                                            "내보내십시오."));
        QVERIFY(!QFileInfo::exists(folder));
        // A file that is no version: the engine's own text, without an icon.
        shown = refusalOf(tree.writeFile(QStringLiteral("plain.dat"), "not a database"), folder);
        QCOMPARE(shown.icon, MessageIcon::None);
        QVERIFY(shown.text.startsWith(QStringLiteral("plain.dat\r\n\r\n")));
        QVERIFY(shown.text.size() > QStringLiteral("plain.dat\r\n\r\n").size());
        QVERIFY(!dialogs.busyAtMessages().contains(true));
        QVERIFY(!QFileInfo::exists(folder));
    }
};

QTEST_MAIN(frmExportTest)
#include "frmExportTest.moc"
