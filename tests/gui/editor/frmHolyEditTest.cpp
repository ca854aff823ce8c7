#include "editor/gui/frmHolyEdit.h"

#include "editor/EditorMessages.h"
#include "support/Controls.h"
#include "support/InstallTree.h"
#include "support/ScriptedDialogs.h"
#include "versiondb/ErrorNumbers.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>
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
    // Clicks the history button and runs checks on the window it opens, closing it if they leave it open.
    void inHistory(const std::function<void(QWidget&)>& checks)
    {
        inModal(checks);
        click("Command12");
    }
    // Runs checks on the modal window that the next action opens, closing it if they leave it open.
    static void inModal(const std::function<void(QWidget&)>& checks)
    {
        QTimer::singleShot(0, [checks] {
            auto* history = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(history != nullptr);
            const auto close = qScopeGuard([history] { history->isVisible() ? history->reject() : void(); });
            checks(*history);
        });
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

    // Undo and restore act on the verse shown, each a change of its own, and show it again. The history lists
    // the verse's changes newest first; Enter restores the selection after a question, Esc closes.
    void changesOfTheVerseShownAreTakenBack()
    {
        expectMessage([&] { click("Command11"); }, MessageIcon::Critical,
                      u"①번 항목에서 편집할 성경역본을 먼저 선택하여 주십시오 !"_s);
        open(m_sample);
        text1()->clear();
        expectMessage([&] { click("Command12"); }, MessageIcon::Exclamation,
                      editor::EditorMessages::stepWithoutVerse());
        click("Command3");
        for (const QString& text : {u"첫째"_s, u"둘째"_s}) {
            text3()->setPlainText(text);
            click("Command7");
        }
        expectMessage([&] { click("Command11"); }, MessageIcon::Information,
                      u"sample.dat\r\n\r\n변경 2번을 되돌렸습니다 (1개 구절)."_s);
        QCOMPARE(text3()->toPlainText(), u"첫째"_s);
        m_dialogs.queueAnswer(MessageAnswer::Yes);
        m_dialogs.queueAnswer(MessageAnswer::Ok);
        inHistory([](QWidget& history) {
            auto* list = control<QTreeWidget>(history, u"List1"_s);
            QCOMPARE(list->topLevelItemCount(), 3);
            for (const auto& [row, texts] :
                 {std::pair{0, u"되돌리기 둘째 첫째"_s}, {2, u"편집기 "_s + kGenesis1 + u" 첫째"_s}}) {
                const QTreeWidgetItem* item = list->topLevelItem(row);
                QCOMPARE(QStringList({item->text(2), item->text(3), item->text(4)}).join(u" "_s), texts);
            }
            list->setCurrentItem(list->topLevelItem(2));
            QVERIFY(control<QPlainTextEdit>(history, u"Text1"_s)
                        ->toPlainText()
                        .endsWith(u"  이전: "_s + kGenesis1 + u"\n  이후: 첫째"_s));
            QTest::keyClick(list, Qt::Key_Return);
        });
        QCOMPARE(m_dialogs.busyAtMessages(), QList<bool>({false, false}));
        QCOMPARE(m_dialogs.messages()[0].text,
                 u"창 1:1\r\n\r\n이 구절의 본문을 변경 1번 이전의 본문으로 되돌리시겠습니까?\r\n\r\n"_s + kGenesis1);
        QCOMPARE(m_dialogs.messages()[1].text, u"sample.dat\r\n\r\n변경 1번을 되돌렸습니다 (1개 구절)."_s);
        QCOMPARE(text3()->toPlainText(), kGenesis1);
        m_dialogs.clear();
        // A verse without changes: nothing to take back, and an empty history.
        text1()->setText(u"출 1:1"_s);
        click("Command2");
        expectMessage([&] { click("Command11"); }, MessageIcon::Exclamation,
                      u"sample.dat\r\n\r\n되돌릴 변경이 없습니다 !"_s);
        inHistory([](QWidget& history) {
            QCOMPARE(control<QTreeWidget>(history, u"List1"_s)->topLevelItemCount(), 0);
            QVERIFY(!control(history, u"Command1"_s)->isEnabled());
            QCOMPARE(control<QPlainTextEdit>(history, u"Text1"_s)->toPlainText(), editor::EditorMessages::noHistory());
            QTest::keyClick(&history, Qt::Key_Escape);
        });
        m_window->reject();
        QCOMPARE(testsupport::storedText(m_sample, u"출 1:1"_s),
                 QVariant(u"야곱과 함께 각기 권속을 데리고 애굽에 이른"_s));
        // A damaged history is the engine's failure on the file, and nothing changes.
        QCOMPARE(testsupport::sql(m_sample, u"UPDATE \"변경\" SET \"출처\" = '?'"_s), QString());
        const auto before = testsupport::storedTexts(m_sample);
        open(m_sample);
        expectMessage([&] { click("Command11"); }, MessageIcon::None,
                      editor::EditorMessages::fileFailure(
                          u"sample.dat"_s, versiondb::errorDescription(versiondb::errorNumber::DatabaseDamaged)));
        m_window->reject();
        QCOMPARE(testsupport::storedTexts(m_sample), before);
        QCOMPARE(before.first().second, kGenesis1);
    }

    // Ctrl+F: find with the matches marked, a refused pattern, a preview with one verse unticked, the apply as one
    // change; a verse chosen in the list is shown in the editor.
    void findAndReplaceOverTheVersionFromTheEditor()
    {
        showActiveOverTheSample();
        m_dialogs.queueAnswer(MessageAnswer::Ok);
        m_dialogs.queueAnswer(MessageAnswer::Yes);
        m_dialogs.queueAnswer(MessageAnswer::Ok);
        inModal([this](QWidget& window) {
            QCOMPARE(window.objectName(), u"frmFindReplace"_s);
            auto* list = control<QTreeWidget>(window, u"List1"_s);
            auto* pattern = control<QLineEdit>(window, u"Text1"_s);
            QApplication::setActiveWindow(&window);
            QVERIFY(QTest::qWaitForWindowActive(&window) && pattern->hasFocus());
            pattern->setText(u"하나님"_s);
            QTest::keyClick(pattern, Qt::Key_Return);
            QCOMPARE(control<QLabel>(window, u"Label3"_s)->text(), u"2개 구절에서 2곳을 찾았습니다."_s);
            list->setCurrentItem(list->topLevelItem(1));
            QCOMPARE(text2()->text(), u"창 1:10"_s);
            QVERIFY(control<QTextBrowser>(window, u"Text3"_s)->toHtml().contains(u"#ffe08a"_s));
            control<QCheckBox>(window, u"Check1"_s)->setChecked(true);
            pattern->setText(u"(하나(님"_s);
            testsupport::click(window, u"Command1"_s);
            QCOMPARE(list->topLevelItemCount(), 0);
            pattern->setText(u"(하나)님"_s);
            control<QLineEdit>(window, u"Text2"_s)->setText(u"\\1 님"_s);
            testsupport::click(window, u"Command2"_s);
            QCOMPARE(list->topLevelItemCount(), 2);
            list->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
            list->setCurrentItem(list->topLevelItem(0));
            QCOMPARE(text2()->text(), u"창 1:1"_s);
            testsupport::click(window, u"Command3"_s);
            QCOMPARE(list->topLevelItemCount(), 0);
            QTest::keyClick(&window, Qt::Key_Escape);
        });
        QTest::keyClick(m_window.get(), Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(m_dialogs.busyAtMessages(), QList<bool>({false, false, false}));
        QCOMPARE(m_dialogs.messages()[0].text,
                 editor::EditorMessages::invalidPattern(u"(하나(님"_s, 5, u"missing closing parenthesis"_s));
        QCOMPARE(m_dialogs.messages()[2].text,
                 u"sample.dat\r\n\r\n"_s + editor::EditorMessages::replaceApplied(1, 1, 0));
        QCOMPARE(text3()->toPlainText(), u"태초에 하나 님이 천지를 창조하시니라"_s);
        m_window->reject();
        QCOMPARE(testsupport::storedText(m_sample, u"창 1:10"_s), QVariant(u"하나님이 뭍을 땅이라 칭하시고"_s));
    }
};

QTEST_MAIN(frmHolyEditTest)
#include "frmHolyEditTest.moc"
