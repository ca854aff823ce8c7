#include "shell/gui/frmMain.h"

#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QDialog>
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

    // Each command's window opens modally over the main window and is destroyed when closed.
    void eachButtonOpensItsWindowModally_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("window");
        QTest::newRow("edit") << "Command3"
                              << "frmHolyEdit";
        QTest::newRow("import") << "Command4"
                                << "frmAppend";
        QTest::newRow("backup guide") << "Command6"
                                      << "frmBackup";
        QTest::newRow("export") << "Command9"
                                << "frmExport";
        QTest::newRow("about") << "Command2"
                               << "frmAbout";
    }

    void eachButtonOpensItsWindowModally()
    {
        QFETCH(QString, button);
        QFETCH(QString, window);
        testsupport::ScriptedDialogs dialogs;
        shell::frmMain main(dialogs, QStringLiteral("/nonexistent/manager"));
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        QString seen;
        QTimer::singleShot(0, &main, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                seen = QString::fromLatin1(modal->metaObject()->className()).section(QStringLiteral("::"), -1) +
                       (modal->parentWidget() == &main ? QStringLiteral(" over the main window") : QString());
                modal->close();
            }
        });
        QTest::mouseClick(this->button(main, button.toLatin1().constData()), Qt::LeftButton);
        QCOMPARE(seen, window + QStringLiteral(" over the main window"));
        QVERIFY(main.findChildren<QDialog*>().isEmpty());
        QVERIFY(dialogs.messages().isEmpty());
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
