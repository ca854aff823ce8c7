#include "platform/gui/QtDialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using platform::MessageAnswer;
using platform::MessageButtons;

class QtDialogsTest : public QObject
{
    Q_OBJECT

private slots:
    // Row: the buttons asked for; the default button's name, and what Enter answers.
    void enterAnswersTheDefaultButton_data()
    {
        QTest::addColumn<MessageButtons>("buttons");
        QTest::addColumn<QString>("defaultButton");
        QTest::addColumn<MessageAnswer>("answer");
        QTest::newRow("yes/no") << MessageButtons::YesNo << QStringLiteral("yes") << MessageAnswer::Yes;
        QTest::newRow("yes/no, no the default")
            << MessageButtons::YesNoDefaultNo << QStringLiteral("no") << MessageAnswer::No;
    }

    void enterAnswersTheDefaultButton()
    {
        QFETCH(MessageButtons, buttons);
        QFETCH(QString, defaultButton);
        QFETCH(MessageAnswer, answer);
        platform::QtDialogs dialogs;
        QString shownDefault;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                return;
            }
            shownDefault = box->defaultButton() != nullptr ? box->defaultButton()->objectName() : QString();
            QTest::keyClick(box, Qt::Key_Return);
        });
        QCOMPARE(dialogs.message(nullptr, platform::MessageIcon::Question, buttons, QStringLiteral("?")), answer);
        QCOMPARE(shownDefault, defaultButton);
    }
};

int runQtDialogsTest(int argc, char* argv[])
{
    QtDialogsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "QtDialogsTest.moc"
