#include "maintenance/gui/frmAbout.h"

#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using maintenance::frmAbout;

namespace {

template <typename T> T* control(QWidget& window, const char* name)
{
    auto* found = window.findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) {
        qFatal("no control %s", name);
    }
    return found;
}

const QString kProgramFolder = QStringLiteral("/nonexistent/manager");

} // namespace

class frmAboutTest : public QObject
{
    Q_OBJECT

private slots:
    void textsLineForLine()
    {
        testsupport::ScriptedDialogs dialogs;
        frmAbout window(dialogs, kProgramFolder);
        QCOMPARE(window.windowTitle(), QStringLiteral("벼리솔 성경자료 관리기"));
        QCOMPARE(control<QLabel>(window, "Label4")->text(), QStringLiteral("벼리솔 성경자료 관리기"));
        auto* label3 = control<QLabel>(window, "Label3");
        QCOMPARE(label3->text(), QStringLiteral("반트렐"));
        QCOMPARE(label3->toolTip(), QStringLiteral("웹사이트"));
        QCOMPARE(label3->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(control<QPushButton>(window, "Command1")->text(), QStringLiteral("확인"));
        QVERIFY(!control<QLabel>(window, "picIcon")->pixmap().isNull());

        auto* text1 = control<QPlainTextEdit>(window, "Text1");
        QCOMPARE(text1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        const QStringList lines = {
            QStringLiteral("※프로그램에 대한 설명※"),
            QString(),
            QStringLiteral("본 프로그램은 개인이 가지고 있는 텍스트, 워드파일 형태의 역본자료를 벼리솔에서 불러볼 수 "
                           "있도록  제작된 프로그램입니다."),
            QString(),
            QStringLiteral("원어성경(히브리어,헬라어)은 현재 버전에서는 지원하지 않습니다. 기본적으로 "
                           "영문/한글(한자포함)만 지원됩니다."),
            QString(),
            QStringLiteral("이 프로그램은 아직 베타버전이며 벼리솔 2.0버전에 정식으로 포함될 예정입니다. 그러나 "
                           "일반적 사용에는 큰 불편함이 없습니다."),
            QString(), // every line ends with a line break
        };
        QCOMPARE(text1->toPlainText().split(QLatin1Char('\n')), lines);
    }

    void theVersionLineIsTheProgramsOwnOnceLoaded()
    {
        testsupport::ScriptedDialogs dialogs;
        frmAbout window(dialogs, kProgramFolder);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // The program's file version is 1.0.0.0.
        QCOMPARE(control<QLabel>(window, "Label1")->text(), QStringLiteral("버전 1.0.0"));
    }

    void versionLine_data()
    {
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<int>("third");
        QTest::addColumn<int>("fourth");
        QTest::addColumn<QString>("line");
        QTest::newRow("1.0.0.0") << 1 << 0 << 0 << 0 << QStringLiteral("버전 1.0.0");
        QTest::newRow("revision is the fourth field") << 2 << 5 << 7 << 9 << QStringLiteral("버전 2.5.9");
        QTest::newRow("no leading zeros") << 10 << 20 << 30 << 400 << QStringLiteral("버전 10.20.400");
    }

    void versionLine()
    {
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(int, third);
        QFETCH(int, fourth);
        QFETCH(QString, line);
        QCOMPARE(frmAbout::versionLine({major, minor, third, fourth}), line);
    }

    void label3OpensTheMakersWebSiteAndNothingElseDoes()
    {
        testsupport::ScriptedDialogs dialogs;
        frmAbout window(dialogs, kProgramFolder);
        QStringList opened;
        window.setShellOpen([&](const QString& address) {
            opened << address;
            return false;
        });
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (const char* name : {"Label1", "Label4", "picIcon"}) {
            QTest::mouseClick(control<QLabel>(window, name), Qt::LeftButton);
        }
        QTest::mouseClick(control<QPlainTextEdit>(window, "Text1")->viewport(), Qt::LeftButton);
        QVERIFY(opened.isEmpty());
        QTest::mouseClick(control<QLabel>(window, "Label3"), Qt::LeftButton);
        QCOMPARE(opened, QStringList{QStringLiteral("https://byeorisol.example.org")});
        QCOMPARE(frmAbout::webAddress(), QStringLiteral("https://byeorisol.example.org"));
        QVERIFY(dialogs.messages().isEmpty());
        QVERIFY(window.isVisible());
    }

    void shiftCtrlAltOnTheIconDoesNothing()
    {
        testsupport::ScriptedDialogs dialogs;
        frmAbout window(dialogs, kProgramFolder);
        QStringList opened;
        window.setShellOpen([&](const QString& address) {
            opened << address;
            return true;
        });
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QWidgetList before = QApplication::topLevelWidgets();
        QTest::mousePress(control<QLabel>(window, "picIcon"), Qt::LeftButton,
                          Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
        QTest::mouseRelease(control<QLabel>(window, "picIcon"), Qt::LeftButton,
                            Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
        QCoreApplication::processEvents();
        QCOMPARE(QApplication::topLevelWidgets(), before);
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
        QVERIFY(opened.isEmpty());
        QVERIFY(dialogs.messages().isEmpty());
        QVERIFY(window.isVisible());
    }

    void command1ClosesTheModalWindow()
    {
        testsupport::ScriptedDialogs dialogs;
        frmAbout window(dialogs, kProgramFolder);
        bool wasModal = false;
        QTimer::singleShot(0, &window, [&] {
            wasModal = QApplication::activeModalWidget() == &window;
            QTest::mouseClick(control<QPushButton>(window, "Command1"), Qt::LeftButton);
        });
        QCOMPARE(window.exec(), int(QDialog::Accepted));
        QVERIFY(wasModal);
        QVERIFY(!window.isVisible());
    }
};

int runFrmAboutTest(int argc, char* argv[])
{
    frmAboutTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "frmAboutTest.moc"
