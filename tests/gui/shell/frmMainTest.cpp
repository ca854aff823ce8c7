#include "shell/gui/frmMain.h"

#include "platform/gui/Twips.h"
#include "support/ScriptedDialogs.h"

#include <QLabel>
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
    void captionsAndTooltips_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("tooltip");
        QTest::newRow("Command3") << "Command3"
                                  << "성경본문 편집"
                                  << "설치된 성경역본의 본문을 편집(수정)합니다.";
        QTest::newRow("Command4") << "Command4"
                                  << "개인보유 역본 추가"
                                  << "개인이 워드나 텍스트 파일로 가지고 있는 역본을 벼리솔용으로 만듭니다.";
        QTest::newRow("Command5") << "Command5"
                                  << "손상된 역본파일 치료"
                                  << "불완전 종료에 따른 손상된 역본파일을 치료합니다.";
        QTest::newRow("Command7") << "Command7"
                                  << "역본파일 최적화"
                                  << "역본파일의 용량을 줄이고 실행속도를 높입니다.";
        QTest::newRow("Command6") << "Command6"
                                  << "자료파일 백업방법"
                                  << "백업설명";
        QTest::newRow("Command8") << "Command8"
                                  << "개인 추가역본 삭제"
                                  << "개인이 추가 사용하던 역본을 삭제합니다.";
        QTest::newRow("Command9") << "Command9"
                                  << "역본파일 내보내기"
                                  << "역본파일의 본문을 텍스트파일이나 IMP 파일로 내보냅니다.";
        QTest::newRow("Command2") << "Command2"
                                  << "&About"
                                  << "";
        QTest::newRow("Command1") << "Command1"
                                  << "종료"
                                  << "";
    }

    void captionsAndTooltips()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, tooltip);
        testsupport::ScriptedDialogs dialogs;
        shell::frmMain window(dialogs, QStringLiteral("/nonexistent/manager"));
        QCOMPARE(window.windowTitle(), QStringLiteral("벼리솔 성경자료 관리기"));
        QPushButton* b = button(window, name.toLatin1().constData());
        QCOMPARE(b->text(), caption);
        QCOMPARE(b->toolTip(), tooltip);
    }

    void makerLabels()
    {
        testsupport::ScriptedDialogs dialogs;
        shell::frmMain window(dialogs, QStringLiteral("/nonexistent/manager"));
        auto* label1 = window.findChild<QLabel*>(QStringLiteral("Label1"));
        auto* label2 = window.findChild<QLabel*>(QStringLiteral("Label2"));
        QVERIFY(label1 != nullptr && label2 != nullptr);
        QCOMPARE(label1->text(), QStringLiteral("Vantrel"));
        QCOMPARE(label2->text(), QStringLiteral("byeorisol.example.org"));
        auto* picture = window.findChild<QLabel*>(QStringLiteral("Picture1"));
        QVERIFY(picture != nullptr);
        QVERIFY(!picture->pixmap().isNull());
    }

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

    void geometryComesFromTwips()
    {
        testsupport::ScriptedDialogs dialogs;
        shell::frmMain window(dialogs, QStringLiteral("/nonexistent/manager"));
        const QStringList column = {"Command3", "Command4", "Command5", "Command7", "Command6", "Command8", "Command9"};
        const int tops[] = {390, 930, 1470, 2010, 2550, 3090, 3630};
        for (int i = 0; i < column.size(); ++i) {
            QPushButton* b = button(window, column[i].toLatin1().constData());
            QCOMPARE(b->geometry(), platform::twipsRect(3135, tops[i], 2280, 345, &window));
        }
        QCOMPARE(button(window, "Command2")->geometry().top(), platform::twipsToPixels(4215, &window));
        QCOMPARE(button(window, "Command1")->size(), platform::twipsRect(0, 0, 1080, 315, &window).size());
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
