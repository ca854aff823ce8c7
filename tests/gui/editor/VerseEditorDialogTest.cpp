#include "editor/gui/VerseEditorDialog.h"

#include "editor/EditorMessages.h"
#include "support/Controls.h"
#include "support/InstallTree.h"
#include "support/ScriptedDialogs.h"

#include <QAccessible>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
namespace EditorMessages = editor::EditorMessages;
using editor::VerseEditorDialog;
using platform::MessageIcon;
using enum platform::MessageAnswer;
using enum platform::MessageIcon;
using testsupport::control;

const QString kGenesis1 = u"태초에 하나님이 천지를 창조하시니라"_s;
const QString kExodus1 = u"야곱과 함께 각기 권속을 데리고 애굽에 이른"_s;
const QString kUndone = u"sample.dat\r\n\r\n변경 %1번을 되돌렸습니다 (1개 구절)."_s;
const QString kNoVersion = u"①번 항목에서 편집할 성경역본을 먼저 선택하여 주십시오 !"_s;

// Every test starts with a window of its own over a sample version that no one holds.
class VerseEditorDialogTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<testsupport::InstallTree> m_tree;
    QString m_sample;
    testsupport::ScriptedDialogs m_dialogs;
    std::unique_ptr<VerseEditorDialog> m_window;

    void newWindow() { m_window = std::make_unique<VerseEditorDialog>(m_dialogs, m_tree->programFolder()); }
    void click(const char* name) { testsupport::click(*m_window, QString::fromLatin1(name)); }
    QLineEdit* referenceBox() { return control<QLineEdit>(*m_window, u"referenceEdit"_s); }
    QLineEdit* shownBox() { return control<QLineEdit>(*m_window, u"shownReferenceEdit"_s); }
    QPlainTextEdit* verseBox() { return control<QPlainTextEdit>(*m_window, u"verseTextEdit"_s); }
    void open(const QString& path)
    {
        m_dialogs.queueFiles({path});
        click("openVersionButton");
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
        m_dialogs.queueAnswer(Ok);
        action();
        QCOMPARE(m_dialogs.messages().value(0).icon, icon); // a second box fails the test at once
        QCOMPARE(m_dialogs.messages().value(0).text, text);
        m_dialogs.clear();
    }
    void expectMessage(const char* button, MessageIcon icon, const QString& text)
    {
        expectMessage([&] { click(button); }, icon, text);
    }
    // Runs checks on the modal window the next action opens, then closes it.
    void inModal(const char* opener, const std::function<void(QWidget&)>& checks)
    {
        QTimer::singleShot(0, [checks] {
            auto* window = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(window != nullptr);
            const auto close = qScopeGuard([window] { window->isVisible() ? window->reject() : void(); });
            checks(*window);
        });
        opener != nullptr ? click(opener) : void();
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
            const QStringList names{u"referenceEdit"_s, u"goButton"_s,   u"firstButton"_s,  u"previousButton"_s,
                                    u"nextButton"_s,    u"lastButton"_s, u"verseTextEdit"_s};
            return std::ranges::count_if(names,
                                         [this](const QString& name) { return control(*m_window, name)->isEnabled(); });
        };
        m_window->show();
        QCOMPARE(enabled(), 0);
        expectMessage("reloadButton", Critical, kNoVersion);
        open(m_sample);
        QCOMPARE(enabled(), 7);
        QCOMPARE(m_window->windowTitle(), u"sample.dat"_s);
        QCOMPARE(verseBox()->toPlainText(), kGenesis1);
        // Another version without 창 1:1 shows nothing of this one, which would count as an edit of it.
        const QString without = m_tree->makeVersion(u"without.dat"_s, testsupport::sampleVerses().mid(1));
        expectMessage([&] { open(without); }, Exclamation, EditorMessages::kGoReferenceNotFound);
        QVERIFY(verseBox()->toPlainText().isEmpty() && m_window->windowTitle() == u"without.dat"_s);
        open(m_sample);
        QVERIFY(!testsupport::openable(m_sample));
        m_dialogs.queueFiles({});
        click("openVersionButton");
        QCOMPARE(enabled(), 7);
        // The next choice starts in the folder of the version chosen last; a screen reader names the three boxes.
        QCOMPARE(m_dialogs.fileRequests().last().folder, QDir::toNativeSeparators(QFileInfo(m_sample).path()));
        const auto named = [](QWidget* box) {
            return QAccessible::queryAccessibleInterface(box)->text(QAccessible::Name);
        };
        QCOMPARE(QStringList({named(referenceBox()), named(shownBox()), named(verseBox())}),
                 QStringList({u"② 편집할 성경구절로 이동하세요."_s, u"성경구절"_s, u"성경본문"_s}));
        // A save into a verse the display box does not show asks first, No being the default answer.
        for (const auto answer : {No, Yes}) {
            referenceBox()->setText(u"출 1:1"_s);
            verseBox()->setPlainText(u"새 본문"_s);
            m_dialogs.queueAnswer(answer);
            click("saveButton");
            QCOMPARE(m_dialogs.messages().value(0).buttons, platform::MessageButtons::YesNoDefaultNo);
            QVERIFY(m_dialogs.messages().value(0).text.startsWith(u"출 1:1\r\n\r\n"_s));
            answer == No ? m_dialogs.queueAnswer(Discard) : void(); // the edit, not stored, is asked about
            m_window->reject();
            m_dialogs.clear();
            QCOMPARE(testsupport::storedText(m_sample, u"출 1:1"_s), QVariant(answer == Yes ? u"새 본문"_s : kExodus1));
            open(m_sample);
        }
        open(m_tree->writeFile(u"notes.dat"_s, "창 1:1 태초에\r\n"));
        QCOMPARE(enabled(), 0);
        // A font and colour go to the text box alone, a cancelled choice keeping them, until the window closes.
        QFont chosen(u"DejaVu Serif"_s, -1, QFont::Bold);
        chosen.setPointSizeF(17.5);
        const QColor red(0xC0, 0x10, 0x20);
        const QFont designed = verseBox()->font();
        const QFont referenceFont = referenceBox()->font();
        m_dialogs.queueFont(platform::FontChoice{chosen, red});
        m_dialogs.queueFont(std::nullopt);
        click("fontButton");
        open(m_sample);
        click("fontButton");
        QCOMPARE(verseBox()->font(), chosen);
        QCOMPARE(verseBox()->palette().color(QPalette::Active, QPalette::Text), red);
        QCOMPARE(referenceBox()->font(), referenceFont);
        QVERIFY(referenceBox()->palette().color(QPalette::Active, QPalette::Text) != red);
        newWindow();
        QCOMPARE(verseBox()->font(), designed);
    }

    // A reference goes as typed, a mistake says which and is selected for retyping; the picker follows the verse.
    void typedReferencesThePickerTheCaretAndEnter()
    {
        showActiveOverTheSample();
        referenceBox()->setText(u"Exod 1"_s);
        click("goButton");
        QCOMPARE(shownBox()->text(), u"출 1:1"_s);
        QCOMPARE(control<QComboBox>(*m_window, u"bookCombo"_s)->currentText(), u"출애굽기"_s);
        referenceBox()->setText(u"창 1:100"_s);
        expectMessage("goButton", Exclamation, u"창세기 1장은 31절까지 있습니다. 확인하고 다시 입력하여 주십시오 !"_s);
        control<QComboBox>(*m_window, u"bookCombo"_s)->setCurrentIndex(0);
        emit control<QComboBox>(*m_window, u"bookCombo"_s)->activated(0);
        control<QComboBox>(*m_window, u"verseCombo"_s)->setCurrentIndex(9);
        emit control<QComboBox>(*m_window, u"verseCombo"_s)->activated(9);
        QCOMPARE(referenceBox()->text() + shownBox()->text(), u"창 1:10창 1:10"_s);
        referenceBox()->setText(u" 창 01:1 "_s);
        expectMessage("goButton", Exclamation, EditorMessages::kGoReferenceNotFound);
        QVERIFY(referenceBox()->hasFocus());
        QCOMPARE(referenceBox()->selectedText(), u"창 01:1"_s);
        for (const auto& [key, reference] : {std::pair{Qt::Key_Return, u"출 1:1"_s}, {Qt::Key_Enter, u"창 1:10"_s}}) {
            referenceBox()->setText(reference);
            QTest::keyClick(referenceBox(), key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
            QCOMPARE(shownBox()->text(), reference);
        }
        shownBox()->setFocus();
        QTest::keyClick(shownBox(), Qt::Key_Return);
        QVERIFY(m_window->isVisible());
        referenceBox()->clear();
        QVERIFY(shownBox()->text().isEmpty() && verseBox()->toPlainText().isEmpty());
        click("lastButton");
        QApplication::clipboard()->setText(u"   첫째 줄\r\n둘째 줄"_s);
        verseBox()->setFocus();
        verseBox()->selectAll();
        verseBox()->paste();
        expectMessage("saveButton", Exclamation, EditorMessages::kSaveLineBreak);
        QVERIFY(verseBox()->hasFocus());
        QCOMPARE(verseBox()->textCursor().position(), 5);
        QVERIFY(!verseBox()->textCursor().hasSelection());
    }

    // Undo and restore act on the verse shown, each a change of its own; the history lists its changes newest first.
    void changesOfTheVerseShownAreTakenBack()
    {
        expectMessage("undoButton", Critical, kNoVersion);
        open(m_sample);
        referenceBox()->clear();
        expectMessage("historyButton", Exclamation, EditorMessages::kStepWithoutVerse);
        click("firstButton");
        for (const QString& text : {u"첫째"_s, u"둘째"_s}) {
            verseBox()->setPlainText(text);
            click("saveButton");
        }
        expectMessage("undoButton", Information, kUndone.arg(2));
        QCOMPARE(verseBox()->toPlainText(), u"첫째"_s);
        m_dialogs.queueAnswers({Yes, Ok});
        inModal("historyButton", [](QWidget& history) {
            auto* list = control<QTreeWidget>(history, u"changeList"_s);
            QCOMPARE(list->topLevelItemCount(), 3);
            for (const auto& [row, texts] :
                 {std::pair{0, u"되돌리기 둘째 첫째"_s}, {2, u"편집기 "_s + kGenesis1 + u" 첫째"_s}}) {
                const QTreeWidgetItem* item = list->topLevelItem(row);
                QCOMPARE(QStringList({item->text(2), item->text(3), item->text(4)}).join(u" "_s), texts);
            }
            list->setCurrentItem(list->topLevelItem(2));
            const QString detail = control<QPlainTextEdit>(history, u"detailText"_s)->toPlainText();
            QVERIFY(detail.endsWith(u"  이전: "_s + kGenesis1 + u"\n  이후: 첫째"_s));
            QTest::keyClick(list, Qt::Key_Return);
        });
        QVERIFY(!m_dialogs.busyAtAnyMessage());
        QCOMPARE(m_dialogs.messages()[0].text,
                 u"창 1:1\r\n\r\n이 구절의 본문을 변경 1번 이전의 본문으로 되돌리시겠습니까?\r\n\r\n"_s + kGenesis1);
        QCOMPARE(m_dialogs.messages()[1].text, kUndone.arg(1));
        QCOMPARE(verseBox()->toPlainText(), kGenesis1);
        m_dialogs.clear();
        // A verse without changes: nothing to take back, and an empty history.
        referenceBox()->setText(u"출 1:1"_s);
        click("goButton");
        expectMessage("undoButton", Exclamation, u"sample.dat\r\n\r\n되돌릴 변경이 없습니다 !"_s);
        inModal("historyButton", [](QWidget& history) {
            QCOMPARE(control<QTreeWidget>(history, u"changeList"_s)->topLevelItemCount(), 0);
            QVERIFY(!control(history, u"restoreButton"_s)->isEnabled());
            QCOMPARE(control<QPlainTextEdit>(history, u"detailText"_s)->toPlainText(), EditorMessages::kNoHistory);
            QTest::keyClick(&history, Qt::Key_Escape);
        });
    }

    // Ctrl+F finds and marks, previews, and applies one change that the version's undo takes back and redo brings back.
    void findAndReplaceOverTheVersionFromTheEditor()
    {
        showActiveOverTheSample();
        m_dialogs.queueAnswers({Ok, Yes, Ok});
        inModal(nullptr, [this](QWidget& window) {
            QCOMPARE(window.objectName(), u"FindReplaceDialog"_s);
            auto* list = control<QTreeWidget>(window, u"verseList"_s);
            auto* pattern = control<QLineEdit>(window, u"patternEdit"_s);
            QApplication::setActiveWindow(&window);
            QVERIFY(QTest::qWaitForWindowActive(&window) && pattern->hasFocus());
            pattern->setText(u"하나님"_s);
            QTest::keyClick(pattern, Qt::Key_Return);
            QCOMPARE(control<QLabel>(window, u"summaryLabel"_s)->text(), u"2개 구절에서 2곳을 찾았습니다."_s);
            list->setCurrentItem(list->topLevelItem(1));
            QCOMPARE(shownBox()->text(), u"창 1:10"_s);
            QVERIFY(control<QTextBrowser>(window, u"verseView"_s)->toHtml().contains(u"#ffe08a"_s));
            control<QCheckBox>(window, u"regularExpressionCheck"_s)->setChecked(true);
            pattern->setText(u"(하나(님"_s);
            testsupport::click(window, u"findButton"_s);
            QCOMPARE(list->topLevelItemCount(), 0);
            pattern->setText(u"(하나)님"_s);
            control<QLineEdit>(window, u"replacementEdit"_s)->setText(u"\\1 님"_s);
            testsupport::click(window, u"previewButton"_s);
            QCOMPARE(list->topLevelItemCount(), 2);
            list->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
            list->setCurrentItem(list->topLevelItem(0));
            QCOMPARE(shownBox()->text(), u"창 1:1"_s);
            testsupport::click(window, u"applyButton"_s);
            QCOMPARE(list->topLevelItemCount(), 0);
            pattern->setText(u"없는 말"_s);
            testsupport::click(window, u"findButton"_s);
            QCOMPARE(control<QLabel>(window, u"summaryLabel"_s)->text(), EditorMessages::kNothingFound);
            QTest::keyClick(&window, Qt::Key_Escape);
        });
        QTest::keyClick(m_window.get(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(!m_dialogs.busyAtAnyMessage());
        QCOMPARE(m_dialogs.messages()[0].text,
                 EditorMessages::invalidPattern(u"(하나(님"_s, 5, u"missing closing parenthesis"_s));
        QCOMPARE(m_dialogs.messages()[2].text, u"sample.dat\r\n\r\n"_s + EditorMessages::replaceApplied(1, 1, 0));
        QCOMPARE(verseBox()->toPlainText(), u"태초에 하나 님이 천지를 창조하시니라"_s);
        m_dialogs.clear();
        expectMessage("undoVersionButton", Information, kUndone.arg(1));
        QCOMPARE(verseBox()->toPlainText(), kGenesis1);
        expectMessage("redoButton", Information, u"sample.dat\r\n\r\n변경 1번을 다시 실행했습니다 (1개 구절)."_s);
        m_window->reject();
        QCOMPARE(testsupport::storedText(m_sample, u"창 1:1"_s), QVariant(u"태초에 하나 님이 천지를 창조하시니라"_s));
        QCOMPARE(testsupport::storedText(m_sample, u"창 1:10"_s), QVariant(u"하나님이 뭍을 땅이라 칭하시고"_s));
    }

    // Enter never enters the text; an unsaved edit is marked and asked about (취소, 저장, 저장 안 함) before anything
    // drops it; however the window closes, the version is closed.
    void enterIsSwallowedAndAnUnsavedEditIsAskedAboutBeforeAnythingDropsIt()
    {
        const QString other = m_tree->makeVersion(u"other.dat"_s, testsupport::sampleVerses());
        // What drops the edit, and the verse shown after it (none: the window closed).
        const std::tuple<const char*, std::function<void()>, QString> cases[] = {
            {"go",
             [this] {
                 referenceBox()->setFocus();
                 referenceBox()->setText(u"창 1:10"_s);
                 QTest::keyClick(referenceBox(), Qt::Key_Return);
             },
             u"창 1:10"_s},
            {"first", [this] { click("firstButton"); }, u"창 1:1"_s},
            {"previous", [this] { click("previousButton"); }, u"창 1:1"_s},
            {"next", [this] { click("nextButton"); }, u"창 1:3"_s},
            {"last", [this] { click("lastButton"); }, u"계 22:21"_s},
            {"reload", [this] { click("reloadButton"); }, u"창 1:2"_s},
            {"another version", [this, other] { open(other); }, u"창 1:1"_s},
            {"from the main window", [this] { QVERIFY(!m_window->showVerse(m_sample, u"출 1:1"_s)); }, u"출 1:1"_s},
            {"close button", [this] { click("closeButton"); }, {}},
            {"Escape", [this] { QTest::keyClick(m_window.get(), Qt::Key_Escape); }, {}},
            {"close box", [this] { m_window->close(); }, {}},
        };
        int i = 0;
        for (const auto& [name, act, shownAfter] : cases) {
            const auto answer = i++ % 2 == 0 ? Save : Discard;
            const QByteArray trace = QByteArray(name) + (answer == Save ? " 저장" : " 저장 안 함");
            showActiveOverTheSample();
            click("nextButton");
            const QString stored = verseBox()->toPlainText();
            const QString edit = u"고친 본문 %1x"_s.arg(i);
            QVERIFY(!control(*m_window, u"saveButton"_s)->isEnabled());
            verseBox()->setPlainText(edit.chopped(1));
            verseBox()->setFocus();
            verseBox()->moveCursor(QTextCursor::End);
            expectMessage(
                [&] { QTest::keyClick(verseBox(), Qt::Key_Return); }, Exclamation,
                u"구절은 반드시 한줄로만 구성되어야 합니다.\r\n줄을 나누기 위한 'Enter'키는 사용할 수 없습니다 "
                u"!\r\n화면상에서 줄이 나누어진 것은 본문내용이 긴 경우에 자동 줄바꿈된 것일 뿐입니다."_s);
            QTest::keyClick(verseBox(), Qt::Key_Return, Qt::ShiftModifier);
            QTest::keyClick(verseBox(), Qt::Key_Enter, Qt::KeypadModifier);
            QTest::keyClick(verseBox(), Qt::Key_X);
            m_dialogs.queueAnswer(Cancel);
            act();
            QVERIFY2(m_window->isVisible() && shownBox()->text() == u"창 1:2"_s && verseBox()->toPlainText() == edit &&
                         m_window->windowTitle() == u"* sample.dat"_s &&
                         control(*m_window, u"saveButton"_s)->isEnabled(),
                     trace);
            m_dialogs.queueAnswer(answer);
            act();
            QVERIFY2(shownAfter.isEmpty() ? !m_window->isVisible() && testsupport::openable(m_sample)
                                          : shownBox()->text() == shownAfter,
                     trace);
            QCOMPARE(m_dialogs.messages().size(), 2);
            for (const auto& asked : m_dialogs.messages()) {
                QVERIFY2(asked.icon == Question && asked.buttons == platform::MessageButtons::SaveDiscardCancel &&
                             asked.text == u"편집한 본문을 저장하지 않았습니다.\r\n저장하시겠습니까?"_s,
                         trace);
            }
            m_dialogs.clear();
            m_window->reject();
            QVERIFY2(!m_window->isVisible(), trace);
            QCOMPARE(testsupport::storedText(m_sample, u"창 1:2"_s), QVariant(answer == Save ? edit : stored));
        }
        showActiveOverTheSample();
        verseBox()->setPlainText(u"  "_s);
        m_dialogs.queueAnswers({Save, Ok});
        click("nextButton");
        QCOMPARE(m_dialogs.messages().last().text, EditorMessages::kSaveEmptyText);
        QCOMPARE(shownBox()->text(), u"창 1:1"_s);
    }
};

QTEST_MAIN(VerseEditorDialogTest)
#include "VerseEditorDialogTest.moc"
