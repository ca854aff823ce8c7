#include "maintenance/gui/frmAbout.h"

#include "platform/gui/ShellOpen.h"
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
    void textsLineForLineAndTheProgramsVersionOnceLoaded()
    {
        testsupport::ScriptedDialogs dialogs;
        frmAbout window(dialogs, kProgramFolder);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.windowTitle(), QStringLiteral("벼리솔 성경자료 관리기"));
        QCOMPARE(control<QLabel>(window, "Label4")->text(), QStringLiteral("벼리솔 성경자료 관리기"));
        QCOMPARE(control<QLabel>(window, "Label3")->text(), QStringLiteral("반트렐"));
        QCOMPARE(control<QLabel>(window, "Label3")->toolTip(), QStringLiteral("웹사이트"));
        QCOMPARE(control<QPushButton>(window, "Command1")->text(), QStringLiteral("확인"));
        QCOMPARE(control<QPlainTextEdit>(window, "Text1")->toPlainText(),
                 QStringLiteral("※프로그램에 대한 설명※\n\n"
                                "본 프로그램은 개인이 가지고 있는 텍스트, 워드파일 형태의 역본자료를 벼리솔에서 불러볼 "
                                "수 있도록  제작된 프로그램입니다.\n\n"
                                "원어성경(히브리어,헬라어)은 현재 버전에서는 지원하지 않습니다. 기본적으로 "
                                "영문/한글(한자포함)만 지원됩니다.\n\n"
                                "이 프로그램은 아직 베타버전이며 벼리솔 2.0버전에 정식으로 포함될 예정입니다. 그러나 "
                                "일반적 사용에는 큰 불편함이 없습니다.\n"));
        // The program's file version is 1.0.0.0; the third number shown is the fourth field.
        QCOMPARE(control<QLabel>(window, "Label1")->text(), QStringLiteral("버전 1.0.0"));
        QCOMPARE(frmAbout::versionLine({2, 5, 7, 9}), QStringLiteral("버전 2.5.9"));
    }

    // Only Label3 opens anything; Shift+Ctrl+Alt on the icon (shift state 7) does nothing. When the
    // desktop refuses, the message gives the address.
    void label3OpensTheMakersWebSiteAndNothingElseDoes()
    {
        testsupport::ScriptedDialogs dialogs;
        frmAbout window(dialogs, kProgramFolder);
        QStringList opened;
        bool desktopRefuses = false;
        window.setShellOpen([&](const QString& address) {
            opened << address;
            return !desktopRefuses;
        });
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QWidgetList before = QApplication::topLevelWidgets();
        for (const char* name : {"Label1", "Label4", "picIcon"}) {
            QTest::mouseClick(control<QLabel>(window, name), Qt::LeftButton);
        }
        const auto all = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
        QTest::mouseClick(control<QLabel>(window, "picIcon"), Qt::LeftButton, all);
        QCoreApplication::processEvents();
        QCOMPARE(QApplication::topLevelWidgets(), before);
        QVERIFY(opened.isEmpty());
        const QString address = QStringLiteral("https://byeorisol.example.org");
        QTest::mouseClick(control<QLabel>(window, "Label3"), Qt::LeftButton);
        QCOMPARE(opened, QStringList{address});
        QVERIFY(dialogs.messages().isEmpty());
        desktopRefuses = true;
        dialogs.queueAnswer(platform::MessageAnswer::Ok);
        QTest::mouseClick(control<QLabel>(window, "Label3"), Qt::LeftButton);
        QCOMPARE(opened, (QStringList{address, address}));
        QCOMPARE(dialogs.messages().size(), 1);
        QCOMPARE(dialogs.messages()[0].text, platform::notOpenedMessage(address));
        QVERIFY(dialogs.messages()[0].text.startsWith(address + QStringLiteral("\r\n\r\n")));
        QCOMPARE(dialogs.messages()[0].icon, platform::MessageIcon::Exclamation);
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
    }
};

int runFrmAboutTest(int argc, char* argv[])
{
    frmAboutTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "frmAboutTest.moc"
