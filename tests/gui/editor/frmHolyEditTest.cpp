#include "editor/gui/frmHolyEdit.h"

#include "editor/EditorMessages.h"
#include "support/Controls.h"
#include "support/InstallTree.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <functional>

using namespace Qt::StringLiterals;
using editor::frmHolyEdit;
using platform::MessageAnswer;
using platform::MessageIcon;
using testsupport::control;

const QString kGenesis1 = u"태초에 하나님이 천지를 창조하시니라"_s;

// Every test starts with a window of its own over a sample version that no one holds.
class frmHolyEditTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<testsupport::InstallTree> m_tree;
    QString m_sample;
    testsupport::ScriptedDialogs m_dialogs;
    std::unique_ptr<frmHolyEdit> m_window;

    void newWindow() { m_window = std::make_unique<frmHolyEdit>(m_dialogs, m_tree->programFolder()); }
    void click(const char* name) { testsupport::click(*m_window, QString::fromLatin1(name)); }
    QLineEdit* text1() { return control<QLineEdit>(*m_window, u"Text1"_s); }
    QLineEdit* text2() { return control<QLineEdit>(*m_window, u"Text2"_s); }
    QPlainTextEdit* text3() { return control<QPlainTextEdit>(*m_window, u"Text3"_s); }
    void open(const QString& path)
    {
        m_dialogs.queueFiles({path});
        click("Command9");
    }
    // A new window, shown, active so that focus and keys reach its controls, over the sample.
    void showActiveOverTheSample()
    {
        newWindow();
        m_window->show();
        QApplication::setActiveWindow(m_window.get());
        static_cast<void>(QTest::qWaitForWindowActive(m_window.get()));
        open(m_sample);
    }
    void expectMessage(const std::function<void()>& action, MessageIcon icon, const QString& text)
    {
        m_dialogs.queueAnswer(MessageAnswer::Ok);
        action();
        QCOMPARE(m_dialogs.messages().size(), 1);
        QCOMPARE(m_dialogs.messages().first().icon, icon);
        QCOMPARE(m_dialogs.messages().first().text, text);
        m_dialogs.clear();
    }

private slots:
    void init()
    {
        m_tree = std::make_unique<testsupport::InstallTree>(QStringList{u"null.mdb"_s});
        m_sample = m_tree->makeVersion(u"sample.dat"_s, testsupport::sampleVerses());
        QVERIFY(!m_sample.isEmpty());
        m_dialogs.clear();
        newWindow();
    }

    void cleanup()
    {
        QVERIFY2(m_dialogs.allAnswersUsed(), "answers were left unused");
        m_window.reset();
        m_tree.reset();
    }

    // The version is held while open; a cancelled open keeps it, a failed one closes it.
    void theCommandsNeedAVersionAndTheTextBoxTakesTheFontChosen()
    {
        const auto enabled = [this] {
            int count = 0;
            for (const char* name : {"Text1", "Command2", "Command3", "Command4", "Command5", "Command6", "Text3"}) {
                count += control(*m_window, QString::fromLatin1(name))->isEnabled() ? 1 : 0;
            }
            return count;
        };
        m_window->show();
        QCOMPARE(enabled(), 0);
        expectMessage([&] { click("Command10"); }, MessageIcon::Critical,
                      u"①번 항목에서 편집할 성경역본을 먼저 선택하여 주십시오 !"_s);
        open(m_sample);
        QCOMPARE(enabled(), 7);
        QCOMPARE(m_window->windowTitle(), u"sample.dat"_s);
        QCOMPARE(text3()->toPlainText(), kGenesis1);
        QVERIFY(!testsupport::openable(m_sample));
        m_dialogs.queueFiles({});
        click("Command9");
        QCOMPARE(enabled(), 7);
        // A save into a verse the display box does not show asks first, No being the default answer.
        for (const MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Yes}) {
            text1()->setText(u"출 1:1"_s);
            text3()->setPlainText(u"새 본문"_s);
            m_dialogs.queueAnswer(answer);
            click("Command7");
            QCOMPARE(m_dialogs.messages().size(), 1);
            QCOMPARE(m_dialogs.messages()[0].buttons, platform::MessageButtons::YesNoDefaultNo);
            QVERIFY(m_dialogs.messages()[0].text.startsWith(u"출 1:1\r\n\r\n"_s));
            m_dialogs.clear();
            m_window->reject();
            QCOMPARE(testsupport::storedText(m_sample, u"출 1:1"_s),
                     QVariant(answer == MessageAnswer::Yes ? u"새 본문"_s
                                                           : u"야곱과 함께 각기 권속을 데리고 애굽에 이른"_s));
            open(m_sample);
        }
        open(m_tree->writeFile(u"notes.dat"_s, "창 1:1 태초에\r\n"));
        QCOMPARE(enabled(), 0);
        // A font and colour go to the text box alone, a cancelled choice keeping them, until the window closes.
        QFont chosen(u"DejaVu Serif"_s);
        chosen.setPointSizeF(17.5);
        chosen.setBold(true);
        const QColor red(0xC0, 0x10, 0x20);
        const QFont designed = text3()->font();
        const QFont text1Font = text1()->font();
        m_dialogs.queueFont(platform::FontChoice{chosen, red});
        m_dialogs.queueFont(std::nullopt);
        click("Command8");
        open(m_sample);
        click("Command8");
        QCOMPARE(text3()->font(), chosen);
        QCOMPARE(text3()->palette().color(QPalette::Active, QPalette::Text), red);
        QCOMPARE(text1()->font(), text1Font);
        QVERIFY(text1()->palette().color(QPalette::Active, QPalette::Text) != red);
        newWindow();
        QCOMPARE(text3()->font(), designed);
    }

    // A refused reference is selected for retyping; Enter in the reference box goes, in the verse box it does not
    // close the window. A pasted line break is refused with the caret after it.
    void theCaretAndEnterInTheReferenceBoxes()
    {
        showActiveOverTheSample();
        text1()->setText(u" 창 01:1 "_s);
        expectMessage([&] { click("Command2"); }, MessageIcon::Exclamation,
                      editor::EditorMessages::goReferenceNotFound());
        QVERIFY(text1()->hasFocus());
        QCOMPARE(text1()->selectedText(), u"창 01:1"_s);
        for (const auto& [key, reference] : {std::pair{Qt::Key_Return, u"출 1:1"_s}, {Qt::Key_Enter, u"창 1:10"_s}}) {
            text1()->setText(reference);
            QTest::keyClick(text1(), key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
            QCOMPARE(text2()->text(), reference);
        }
        text2()->setFocus();
        QTest::keyClick(text2(), Qt::Key_Return);
        QVERIFY(m_window->isVisible());
        text1()->clear();
        QVERIFY(text2()->text().isEmpty() && text3()->toPlainText().isEmpty());
        click("Command6");
        QApplication::clipboard()->setText(u"   첫째 줄\r\n둘째 줄"_s);
        text3()->setFocus();
        text3()->selectAll();
        text3()->paste();
        expectMessage([&] { click("Command7"); }, MessageIcon::Exclamation, editor::EditorMessages::saveLineBreak());
        QVERIFY(text3()->hasFocus());
        QCOMPARE(text3()->textCursor().position(), 5);
        QVERIFY(!text3()->textCursor().hasSelection());
    }

    // In each showing the first Enter warns; no Enter enters the text. However the window closes, the version
    // is closed.
    void enterInTheTextBoxIsSwallowedAndWarnsOncePerShowing()
    {
        const std::function<void()> closings[] = {
            [this] { click("Command1"); },
            [this] { QVERIFY(m_window->close()); },
            [this] { QTest::keyClick(m_window.get(), Qt::Key_Escape); },
        };
        for (const auto& close : closings) {
            showActiveOverTheSample();
            text3()->setFocus();
            text3()->moveCursor(QTextCursor::End);
            expectMessage(
                [&] { QTest::keyClick(text3(), Qt::Key_Return); }, MessageIcon::Exclamation,
                u"구절은 반드시 한줄로만 구성되어야 합니다.\r\n줄을 나누기 위한 'Enter'키는 사용할 수 없습니다 "
                u"!\r\n화면상에서 줄이 나누어진 것은 본문내용이 긴 경우에 자동 줄바꿈된 것일 뿐입니다."_s);
            QTest::keyClick(text3(), Qt::Key_Return, Qt::ShiftModifier);
            QTest::keyClick(text3(), Qt::Key_Enter, Qt::KeypadModifier);
            QTest::keyClick(text3(), Qt::Key_X);
            QCOMPARE(text3()->toPlainText(), kGenesis1 + u"x"_s);
            close();
            QVERIFY(!m_window->isVisible());
            QVERIFY(testsupport::openable(m_sample));
        }
    }
};

QTEST_MAIN(frmHolyEditTest)
#include "frmHolyEditTest.moc"
