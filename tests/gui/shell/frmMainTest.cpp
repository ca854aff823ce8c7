#include "shell/gui/frmMain.h"

#include "support/ScriptedDialogs.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>

class frmMainTest : public QObject
{
    Q_OBJECT

private:
    QPushButton* button(QWidget& window, const char* name)
    {
        auto* found = window.findChild<QPushButton*>(QString::fromLatin1(name));
        if (found == nullptr) {
            qFatal("no button %s", name);
        }
        return found;
    }

private slots:
    void tabOrderFollowsTheColumnThenAboutThenExit()
    {
        testsupport::ScriptedDialogs dialogs;
        shell::frmMain window(dialogs, QStringLiteral("/nonexistent/manager"));
        const QStringList expected = {"Command3", "Command4", "Command5", "Command7", "Command6",
                                      "Command8", "Command9", "Command2", "Command1"};
        QWidget* current = button(window, "Command3");
        QStringList order;
        for (int i = 0; i < expected.size(); ++i) {
            order << current->objectName();
            current = current->nextInFocusChain();
            while (current != nullptr && qobject_cast<QPushButton*>(current) == nullptr) {
                current = current->nextInFocusChain();
            }
        }
        QCOMPARE(order, expected);
    }

    void exitEndsTheEventLoop()
    {
        testsupport::ScriptedDialogs dialogs;
        shell::frmMain window(dialogs, QStringLiteral("/nonexistent/manager"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTimer::singleShot(0, button(window, "Command1"),
                           [&] { QTest::mouseClick(button(window, "Command1"), Qt::LeftButton); });
        QTimer::singleShot(10000, [] { QCoreApplication::exit(99); });
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(dialogs.messages().isEmpty());
    }
};

QTEST_MAIN(frmMainTest)
#include "frmMainTest.moc"
