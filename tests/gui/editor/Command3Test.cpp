#include "editor/gui/frmHolyEdit.h"
#include "shell/gui/frmMain.h"
#include "support/InstallTree.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

// The main window's Command3 shows the verse editor modally over itself.
class Command3Test : public QObject
{
    Q_OBJECT

private slots:
    void command3ShowsTheVerseEditorModallyAndItsVersionIsClosedAfterwards()
    {
        testsupport::InstallTree tree{{QStringLiteral("null.mdb")}};
        QVERIFY(tree.isValid());
        const QString sample = tree.makeVersion(QStringLiteral("sample.dat"), testsupport::sampleVerses());
        testsupport::ScriptedDialogs dialogs;
        shell::frmMain main(dialogs, tree.programFolder());
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));

        // What the poll saw of the editor while it was shown.
        bool seen = false, parentIsMain = false, modal = false, heldWhileShown = false;
        QString shownReference;
        dialogs.queueFiles({sample});
        QTimer poll;
        poll.setInterval(10);
        int ticks = 0;
        connect(&poll, &QTimer::timeout, this, [&] {
            auto* editor = qobject_cast<editor::frmHolyEdit*>(QApplication::activeModalWidget());
            if (editor == nullptr) {
                // Never wait for ever: after five seconds whatever is modal goes.
                if (++ticks > 500 && QApplication::activeModalWidget() != nullptr) {
                    QApplication::activeModalWidget()->close();
                }
                return;
            }
            poll.stop();
            seen = true;
            parentIsMain = editor->parentWidget() == &main;
            modal = editor->isModal() && editor->isVisible();
            // The main window's dialogs serve the editor.
            QTest::mouseClick(editor->findChild<QPushButton*>(QStringLiteral("Command9")), Qt::LeftButton);
            shownReference = editor->findChild<QLineEdit*>(QStringLiteral("Text2"))->text();
            heldWhileShown = !testsupport::openable(sample);
            QTest::mouseClick(editor->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
        });
        poll.start();
        QTest::mouseClick(main.findChild<QPushButton*>(QStringLiteral("Command3")), Qt::LeftButton);
        QVERIFY(seen && parentIsMain && modal && heldWhileShown);
        QCOMPARE(shownReference, QStringLiteral("창 1:1"));
        QVERIFY(dialogs.allAnswersUsed());
        QVERIFY(testsupport::openable(sample));
        // The window was destroyed when it closed.
        QVERIFY(main.findChild<editor::frmHolyEdit*>() == nullptr);
    }
};

int runCommand3Test(int argc, char* argv[])
{
    Command3Test test;
    return QTest::qExec(&test, argc, argv);
}

#include "Command3Test.moc"
