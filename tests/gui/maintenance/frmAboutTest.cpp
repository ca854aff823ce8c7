#include "maintenance/gui/frmAbout.h"

#include "platform/gui/ShellOpen.h"
#include "support/Controls.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using maintenance::frmAbout;

using testsupport::click;
using testsupport::control;

namespace {

const QString kProgramFolder = QStringLiteral("/nonexistent/manager");

} // namespace

class frmAboutTest : public QObject
{
    Q_OBJECT

private slots:
    // The program's file version is 1.0.0.0 (the table of texts shows it); the third number shown is the fourth field.
    void versionLineShowsTheFourthFieldThird()
    {
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
